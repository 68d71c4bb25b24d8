#include "controls/gradient.h"
#include "controls/gradient_bar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

using namespace controls;

TEST(GradientBar, VerticalGradientFromStartToEndColor) {
    GradientBar bar;
    EXPECT_EQ(bar.gradientStartColor(), QColor(255, 255, 255));
    bar.resize(50, 27);
    bar.setGradientEndColor(QColor(0xC1E0FF));
    const QImage image = bar.renderImage();
    const QList<QRgb> rows = gradientLineColors(Qt::white, QColor(0xC1E0FF), 27);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(49, 13), rows[13]);
    EXPECT_EQ(image.pixel(20, 26), rows[26]);
    EXPECT_NE(rows[26], QColor(0xC1E0FF).rgb()); // one step short of the end color
    EXPECT_EQ(bar.grab().toImage().convertToFormat(QImage::Format_RGB32), image);

    bar.resize(50, 0);
    EXPECT_TRUE(bar.renderImage().isNull());
    bar.grab();
}

TEST(GradientBar, PressesOnTheTitleIconAndTextCountAsPressesOnTheBar) {
    QWidget window;
    window.resize(300, 60);
    auto* bar = new GradientBar(&window);
    bar->setGeometry(1, 1, 298, 27);
    auto* icon = new QToolButton(bar); // the title icon: a disabled button
    icon->setGeometry(2, 2, 22, 22);
    icon->setEnabled(false);
    auto* title = new QToolButton(bar); // the title text: a disabled text button
    title->setGeometry(30, 2, 120, 22);
    title->setEnabled(false);
    auto* label = new QLabel("Varnix", bar); // a text that lets the mouse through
    label->setGeometry(160, 2, 60, 22);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* caption = new QLabel("v1.7", bar); // a disabled label
    caption->setGeometry(222, 2, 16, 22);
    caption->setEnabled(false);
    auto* live = new QToolButton(bar); // an enabled child keeps its presses
    live->setGeometry(240, 2, 22, 22);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QWindow* handle = window.windowHandle();
    QSignalSpy pressed(bar, &GradientBar::pressed);
    QSignalSpy moved(bar, &GradientBar::moved);
    QSignalSpy released(bar, &GradientBar::released);

    for (QWidget* target :
         {static_cast<QWidget*>(bar), static_cast<QWidget*>(icon), static_cast<QWidget*>(title),
          static_cast<QWidget*>(label), static_cast<QWidget*>(caption)}) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            SCOPED_TRACE(target->metaObject()->className());
            pressed.clear();
            moved.clear();
            released.clear();
            // Through the window, as the platform delivers it: the widget under the cursor
            // is found first.
            const QPoint at = target->mapTo(&window, QPoint(5, 5));
            QTest::mousePress(handle, button, {}, at);
            ASSERT_EQ(pressed.count(), 1);
            EXPECT_EQ(pressed.at(0).at(0).toPoint(), window.mapToGlobal(at));
            QTest::mouseMove(handle, at + QPoint(3, 4));
            ASSERT_EQ(moved.count(), 1);
            EXPECT_EQ(moved.at(0).at(0).toPoint(), window.mapToGlobal(at + QPoint(3, 4)));
            QTest::mouseRelease(handle, button, {}, at + QPoint(3, 4));
            EXPECT_EQ(released.count(), 1);
        }
    }

    // A double click is a press too.
    pressed.clear();
    QTest::mouseDClick(handle, Qt::LeftButton, {}, icon->mapTo(&window, QPoint(5, 5)));
    EXPECT_GE(pressed.count(), 1);

    pressed.clear();
    QTest::mouseClick(handle, Qt::LeftButton, {}, live->mapTo(&window, QPoint(5, 5)));
    EXPECT_EQ(pressed.count(), 0);
}
