#pragma once

#include "controls/drag.h"

#include <QPointer>
#include <QWidget>

class QEventLoop;

namespace controls {

class GradientBar;

// What the three borderless windows share: the frame (face in the button color with a black
// one-pixel border), dragging by a title bar with a drag state of their own, the activation
// hook, and, for the two small windows, a modal showing centred over the main window.
class BorderlessWindow : public QWidget {
    Q_OBJECT

public:
    BorderlessWindow(QWidget* owner, Qt::WindowFlags kind);

protected:
    // Presses, moves and releases on the bar drag the window. Where windows cannot be placed by
    // position (Wayland), the system moves the window instead.
    void connectTitleBar(GradientBar* bar);
    void titleBarPressed(QPoint globalPos);
    void titleBarMoved(QPoint globalPos);
    void titleBarReleased();

    // Shows the window modally, centred over the owner (or the screen when the owner is not
    // shown), and returns once it is hidden or closed.
    void execModal();

    // Places the window at the centre of an area of the screen.
    void centreIn(const QRect& area);

    // Runs every time the window becomes the active window.
    virtual void activated() {}

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPointer<QWidget> owner_;
    DragState drag_;
    QEventLoop* modalLoop_ = nullptr;
};

} // namespace controls
