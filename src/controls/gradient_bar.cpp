#include "controls/gradient_bar.h"

#include "controls/gradient.h"

#include <QMouseEvent>
#include <QPainter>

namespace controls {

GradientBar::GradientBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientBar::setGradientStartColor(const QColor& color) {
    start_ = color;
    update();
}

void GradientBar::setGradientEndColor(const QColor& color) {
    end_ = color;
    update();
}

QImage GradientBar::renderImage() const {
    if (width() <= 0 || height() <= 0)
        return {};
    QImage image(width(), height(), QImage::Format_RGB32);
    image.fill(start_);
    verticalGradient(image, start_, end_);
    return image;
}

void GradientBar::paintEvent(QPaintEvent*) {
    const QImage image = renderImage();
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

// Presses on disabled children (the title icon and text) and on children transparent for mouse
// events arrive here too: Qt hands them to the bar.
void GradientBar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed(event->globalPosition().toPoint());
}

void GradientBar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit moved(event->globalPosition().toPoint());
}

void GradientBar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit released(event->globalPosition().toPoint());
}

} // namespace controls
