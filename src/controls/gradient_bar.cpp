#include "controls/gradient_bar.h"

#include "controls/gradient.h"

#include <QChildEvent>
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
    QImage image = faceImage(size(), devicePixelRatioF());
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

// Children transparent for mouse events are passed over by Qt, so their presses arrive here
// directly. A disabled child (the title icon and the title text) swallows them in some widget
// kinds, so every child is watched and its mouse events count as the bar's while it is disabled.
bool GradientBar::event(QEvent* event) {
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) {
            if (event->type() == QEvent::ChildAdded)
                child->installEventFilter(this);
            else
                child->removeEventFilter(this);
        }
    }
    return QWidget::event(event);
}

bool GradientBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* child = qobject_cast<QWidget*>(watched);
    if (child == nullptr || child->parentWidget() != this || child->isEnabled())
        return false;
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (type == QEvent::MouseMove)
        emit moved(global);
    else if (type == QEvent::MouseButtonRelease)
        emit released(global);
    else
        emit pressed(global);
    return true;
}

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
