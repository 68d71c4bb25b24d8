#include "controls/borderless_window.h"

#include "controls/design_font.h"
#include "controls/gradient_bar.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace controls {

BorderlessWindow::BorderlessWindow(QWidget* owner, Qt::WindowFlags kind)
    : QWidget(owner, kind | Qt::FramelessWindowHint), owner_(owner) {
    setFont(designFont(11));
}

void BorderlessWindow::connectTitleBar(GradientBar* bar) {
    connect(bar, &GradientBar::pressed, this, &BorderlessWindow::titleBarPressed);
    connect(bar, &GradientBar::moved, this, &BorderlessWindow::titleBarMoved);
    connect(bar, &GradientBar::released, this, [this](QPoint) { titleBarReleased(); });
}

void BorderlessWindow::titleBarPressed(QPoint globalPos) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && windowHandle() &&
        windowHandle()->startSystemMove())
        return;
    drag_.press(globalPos, pos());
}

void BorderlessWindow::titleBarMoved(QPoint globalPos) {
    QPoint topLeft;
    if (drag_.move(globalPos, &topLeft))
        move(topLeft);
}

void BorderlessWindow::titleBarReleased() {
    drag_.release();
}

void BorderlessWindow::execModal() {
    drag_.release();
    QRect area;
    if (owner_ && owner_->isVisible())
        area = owner_->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    centreIn(area);

    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    activateWindow();
    if (isVisible())
        loop.exec();
    modalLoop_ = nullptr;
}

void BorderlessWindow::centreIn(const QRect& area) {
    // A window larger than the area (a large scale factor on a small screen) keeps its title bar
    // and left edge in it, where the user can reach them.
    if (area.isValid())
        move(std::max(area.x(), area.x() + (area.width() - width()) / 2),
             std::max(area.y(), area.y() + (area.height() - height()) / 2));
}

void BorderlessWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), palette().color(QPalette::Button));
}

void BorderlessWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (modalLoop_)
        modalLoop_->quit();
}

void BorderlessWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    drag_.release();
    if (modalLoop_)
        modalLoop_->quit();
}

void BorderlessWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && isActiveWindow())
        activated();
}

} // namespace controls
