#include "controls/gradient.h"
#include "controls/xi_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace controls;
using Layout = TXiButton::Layout;
using State = TXiButton::VisualState;

namespace {

constexpr size_t Face = 0, Grad = 1, Dark = 2, Light = 3, Border = 4;
constexpr size_t Over = 6, Down = 12, Disabled = 18, FocusRect = 24;

// A shown window holding one button, so that input takes the real delivery path.
struct Window {
    QWidget window;
    TXiButton* button;
    Window() : button(new TXiButton(&window)) {
        window.resize(200, 100);
        button->move(50, 30);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(55, 35), QPointF(55, 35));
        QApplication::sendEvent(button, &event);
    }
    void leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(button, &event);
    }
};

QRgb color(const TXiButton& b, size_t index) {
    return b.colorByIndex(int(index)).rgb();
}

} // namespace

TEST(XiButton, ConstructionDefaults) {
    TXiButton b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    EXPECT_EQ(b.colorScheme(), ButtonScheme::csNeoDesert);
    EXPECT_TRUE(b.focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(b.gradient());
    EXPECT_TRUE(b.ctl3D());
    EXPECT_TRUE(b.hotTrack());
    EXPECT_TRUE(b.transparentGlyph());
    EXPECT_EQ(b.spacing(), 4);
    EXPECT_EQ(b.layout(), Layout::blGlyphLeft);
    EXPECT_EQ(b.colorByIndex(Face), QColor(0xFFECC6));
    EXPECT_EQ(b.colorByIndex(Over + Grad), QColor(0xFFFFFF)); // not the scheme's F0A300
    EXPECT_EQ(b.colorByIndex(Down + Grad), QColor(0xFFFFFF));
    EXPECT_EQ(b.colorByIndex(FocusRect), QColor(0xFF8040));
    EXPECT_EQ(b.font().pixelSize(), 11);
}

TEST(XiButton, SchemeAndColorSetterRules) {
    TXiButton b;
    b.setColorScheme(ButtonScheme::csNeoSky);
    EXPECT_EQ(b.colorScheme(), ButtonScheme::csNeoSky);
    EXPECT_EQ(b.colorByIndex(Over + Grad), QColor(0x46A3FF));

    // A color set after a scheme makes it csCustom; csCustom writes no color.
    b.setColorByIndex(int(Border), QColor(1, 2, 3));
    EXPECT_EQ(b.colorScheme(), ButtonScheme::csCustom);
    b.setColorScheme(ButtonScheme::csCustom);
    EXPECT_EQ(b.colorByIndex(Border), QColor(1, 2, 3));
    EXPECT_EQ(b.colorByIndex(Face), QColor(0xDDEEFF));

    // A flat scheme keeps the gradient colors it has none of, and turns the gradient off.
    b.setColorScheme(ButtonScheme::csRose);
    EXPECT_EQ(b.colorScheme(), ButtonScheme::csRose);
    EXPECT_FALSE(b.gradient());
    EXPECT_EQ(b.colorByIndex(Face), QColor(0xFFC6C6));
    EXPECT_EQ(b.colorByIndex(Border), QColor(0x9D0000));
    EXPECT_EQ(b.colorByIndex(Grad), QColor(0x6CB6FF));
    EXPECT_EQ(b.colorByIndex(Down + Grad), QColor(0x9DCEFF));
    EXPECT_EQ(b.colorByIndex(Disabled + Grad), QColor(0xFFFFFF));

    // A gradient scheme replaces every color and turns it back on.
    b.setColorScheme(ButtonScheme::csNeoSun);
    EXPECT_TRUE(b.gradient());
    EXPECT_EQ(b.colorByIndex(Grad), QColor(0xF9D820));

    b.setColorByIndex(25, Qt::red); // out of range: ignored
    b.setColorByIndex(-1, Qt::red);
    EXPECT_EQ(b.colorScheme(), ButtonScheme::csNeoSun);
}

TEST(XiButton, FaceGradientBorderAndBevel) {
    TXiButton b;
    b.setColorScheme(ButtonScheme::csNeoSilver);
    const QImage face = b.renderFace();
    ASSERT_EQ(face.size(), QSize(75, 25));
    const QList<QRgb> rows = gradientLineColors(QColor(0xF3F3F3), QColor(0xBCBCBC), 25);
    EXPECT_EQ(face.pixel(10, 2), rows[2]);
    EXPECT_EQ(face.pixel(60, 22), rows[22]);
    // The border is the outline of (0, 0, 75, 25).
    for (QPoint p : {QPoint(0, 0), QPoint(74, 0), QPoint(0, 24), QPoint(74, 24), QPoint(30, 24)})
        EXPECT_EQ(face.pixel(p), color(b, Border)) << p.x() << "," << p.y();
    // Light from (1, 23) up to (1, 1) and on to (74, 1) excluded; dark from (73, 1) down and
    // back to (1, 23) excluded.
    EXPECT_EQ(face.pixel(1, 23), color(b, Light));
    EXPECT_EQ(face.pixel(1, 1), color(b, Light));
    EXPECT_EQ(face.pixel(72, 1), color(b, Light));
    EXPECT_EQ(face.pixel(73, 1), color(b, Dark));
    EXPECT_EQ(face.pixel(73, 23), color(b, Dark));
    EXPECT_EQ(face.pixel(2, 23), color(b, Dark));
    EXPECT_EQ(face.pixel(2, 2), rows[2]);

    b.setCtl3D(false);
    b.setGradient(false);
    const QImage flat = b.renderFace();
    EXPECT_EQ(flat.pixel(1, 1), color(b, Face));
    EXPECT_EQ(flat.pixel(73, 23), color(b, Face));
    EXPECT_EQ(flat.pixel(0, 0), color(b, Border));
}

TEST(XiButton, GlyphPlacementFollowsTheLayoutRules) {
    const QSize face(75, 25);
    const QSize text(30, 13);
    const QSize glyph(7, 5); // odd both ways
    struct Case {
        Layout layout;
        QPoint glyphAt, captionAt, glyphAlone;
    };
    const Case cases[] = {
        {Layout::blGlyphLeft, {16, 10}, {27, 6}, {34, 10}},
        {Layout::blGlyphRight, {52, 10}, {17, 6}, {34, 10}},
        {Layout::blGlyphTop, {34, 0}, {22, 10}, {34, 9}},
        {Layout::blGlyphBottom, {34, 20}, {22, 2}, {34, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.layout));
        ButtonFaceLayout l = buttonFaceLayout(face, text, true, glyph, c.layout, 5, false);
        EXPECT_EQ(l.glyph, c.glyphAt);
        EXPECT_EQ(l.caption, QRect(c.captionAt, text));
        // Pressed: both move one pixel right and down.
        l = buttonFaceLayout(face, text, true, glyph, c.layout, 5, true);
        EXPECT_EQ(l.glyph, c.glyphAt + QPoint(1, 1));
        EXPECT_EQ(l.caption.topLeft(), c.captionAt + QPoint(1, 1));
        // Without a caption the spacing is not applied.
        l = buttonFaceLayout(face, QSize(0, 0), false, glyph, c.layout, 5, false);
        EXPECT_EQ(l.glyph, c.glyphAlone);
    }
    // Left layout, odd glyph, no spacing: the glyph's last column is the caption's first.
    const ButtonFaceLayout l =
        buttonFaceLayout(face, text, true, glyph, Layout::blGlyphLeft, 0, false);
    EXPECT_EQ(l.glyph.x() + glyph.width() - 1, l.caption.left());
    // A caption wider than the face: division truncates toward zero.
    EXPECT_EQ(
        buttonFaceLayout(QSize(10, 10), QSize(15, 13), true, QSize(), Layout::blGlyphLeft, 4, false)
            .caption.topLeft(),
        QPoint(-2, -1));
}

TEST(XiButton, GlyphIsDrawnWithItsCornerColorTransparent) {
    TXiButton b;
    b.setGradient(false);
    QImage glyph(7, 5, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 0, 255));
    glyph.setPixel(0, 0, qRgb(255, 0, 255));
    glyph.setPixel(6, 4, qRgb(255, 0, 255)); // the key color anywhere is transparent
    b.setGlyph(glyph);
    b.setLayout(Layout::blGlyphTop);
    QImage face = b.renderFace();
    // No caption: the glyph sits at (34, 9).
    EXPECT_EQ(face.pixel(34, 9), color(b, Face));
    EXPECT_EQ(face.pixel(35, 9), qRgb(0, 0, 255));
    EXPECT_EQ(face.pixel(40, 13), color(b, Face));
    EXPECT_EQ(face.pixel(39, 13), qRgb(0, 0, 255));
    EXPECT_NE(face.pixel(41, 12), qRgb(0, 0, 255));

    b.setTransparentGlyph(false);
    face = b.renderFace();
    EXPECT_EQ(face.pixel(34, 9), qRgb(255, 0, 255));
}

TEST(XiButton, StatesPickTheirColorsAndDisabledWinsInAnyState) {
    Window w;
    TXiButton& b = *w.button;
    b.setGradient(false);
    EXPECT_EQ(b.renderFace().pixel(10, 10), color(b, Face));
    w.enter();
    ASSERT_EQ(b.visualState(), State::Hot);
    EXPECT_EQ(b.renderFace().pixel(10, 10), color(b, Over + Face));
    EXPECT_EQ(b.renderFace().pixel(0, 0), color(b, Over + Border));
    w.leave();

    // The mouse still makes a disabled button hot, but it keeps the Disabled colors.
    b.setEnabled(false);
    w.enter();
    ASSERT_EQ(b.visualState(), State::Hot);
    QImage face = b.renderFace();
    EXPECT_EQ(face.pixel(10, 10), color(b, Disabled + Face));
    EXPECT_EQ(face.pixel(0, 0), color(b, Disabled + Border));
    EXPECT_EQ(face.pixel(1, 1), color(b, Disabled + Light));
    b.setGradient(true);
    face = b.renderFace();
    EXPECT_EQ(face.pixel(10, 2), gradientLineColors(b.colorByIndex(Disabled + Face),
                                                    b.colorByIndex(Disabled + Grad), 25)[2]);

    // The screen shows exactly the rendered face.
    EXPECT_EQ(b.grab().toImage().convertToFormat(QImage::Format_RGB32), b.renderFace());
}

TEST(XiButton, PressedFaceAndFocusRectangle) {
    Window w;
    TXiButton& b = *w.button;
    b.setCaption("Launch");
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(b.visualState(), State::Pressed);
    ASSERT_TRUE(b.focusShown());
    const QImage face = b.renderFace();
    EXPECT_EQ(face.pixel(0, 0), color(b, Down + Border));
    EXPECT_EQ(face.pixel(1, 1), color(b, Down + Light)); // the pressed "light" is the dark shade
    // The focus rectangle is the outline of (3, 3, 72, 22).
    for (QPoint p : {QPoint(3, 3), QPoint(71, 3), QPoint(3, 21), QPoint(71, 21), QPoint(40, 21)})
        EXPECT_EQ(face.pixel(p), color(b, FocusRect)) << p.x() << "," << p.y();
    EXPECT_NE(face.pixel(72, 22), color(b, FocusRect));
    EXPECT_NE(face.pixel(4, 4), color(b, FocusRect));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));

    b.clearFocus();
    EXPECT_FALSE(b.focusShown());
    EXPECT_NE(b.renderFace().pixel(3, 3), color(b, FocusRect));
}

TEST(XiButton, MouseStateTransitionsAndClicks) {
    Window w;
    TXiButton& b = *w.button;
    QSignalSpy clicks(&b, &TXiButton::clicked);

    w.enter();
    EXPECT_EQ(b.visualState(), State::Hot);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b.visualState(), State::Pressed);
    EXPECT_TRUE(b.mouseHeld());
    EXPECT_TRUE(b.hasFocus());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b.visualState(), State::Hot);
    EXPECT_FALSE(b.mouseHeld());

    // Held and dragged out and back in: normal, then pressed again.
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    w.leave();
    EXPECT_EQ(b.visualState(), State::Normal);
    w.enter();
    EXPECT_EQ(b.visualState(), State::Pressed);
    w.leave();
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(-20, 10)); // outside: no click
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b.visualState(), State::Normal);

    // A release on column 0 or row 0 clicks, but counts as outside for the state.
    for (QPoint edge : {QPoint(0, 10), QPoint(10, 0)}) {
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&b, Qt::LeftButton, {}, edge);
        EXPECT_EQ(b.visualState(), State::Normal);
    }
    EXPECT_EQ(clicks.count(), 3);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(b.visualState(), State::Hot);
    EXPECT_EQ(clicks.count(), 4);

    // Other buttons do not press; without hot tracking the mouse leaves no mark.
    QTest::mousePress(&b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b.mouseHeld());
    EXPECT_EQ(b.visualState(), State::Hot);
    QTest::mouseRelease(&b, Qt::RightButton, {}, QPoint(10, 10));
    w.leave();
    b.setHotTrack(false);
    w.enter();
    EXPECT_EQ(b.visualState(), State::Normal);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b.visualState(), State::Normal);
    EXPECT_EQ(clicks.count(), 5);

    // A disabled button ignores the mouse.
    b.setEnabled(false);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 5);
    EXPECT_FALSE(b.mouseHeld());
}

TEST(XiButton, KeyboardAndFocusTransitions) {
    Window w;
    TXiButton& b = *w.button;
    QSignalSpy clicks(&b, &TXiButton::clicked);
    b.setFocus();
    ASSERT_TRUE(b.focusShown());

    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_EQ(b.visualState(), State::Pressed);
    // Holding the key repeats presses, not clicks.
    QTest::keyRelease(&b, Qt::Key_Space, {}, -1);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(&b, &repeat);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b.visualState(), State::Normal);

    QTest::keyClick(&b, Qt::Key_Return);
    QTest::keyClick(&b, Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(&b, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 3);

    // Losing the focus ends the pressed look and hides the focus rectangle.
    QTest::keyPress(&b, Qt::Key_Space);
    ASSERT_EQ(b.visualState(), State::Pressed);
    b.clearFocus();
    EXPECT_EQ(b.visualState(), State::Normal);
    EXPECT_FALSE(b.focusShown());
}

TEST(XiButton, AcceleratorClicksOnlyAnEnabledButton) {
    Window w;
    TXiButton& b = *w.button;
    QSignalSpy clicks(&b, &TXiButton::clicked);
    b.setCaption("&Launch");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(&w.window, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&w.window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);

    b.setCaption("&Close"); // the accelerator follows the caption
    QTest::keyClick(&w.window, Qt::Key_L, Qt::AltModifier);
    QTest::keyClick(&w.window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);

    b.setEnabled(false);
    QTest::keyClick(&w.window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(XiButton, AClickHandlerMayDeleteTheButton) {
    Window w;
    QPointer<TXiButton> b = w.button;
    QObject::connect(b, &TXiButton::clicked, b, [&] { delete b.data(); });
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b.isNull());

    auto* other = new TXiButton(&w.window);
    other->show();
    other->setFocus();
    QObject::connect(other, &TXiButton::clicked, other, [other] { delete other; });
    QTest::keyClick(other, Qt::Key_Return);
}

TEST(XiButton, ZeroSizedButtonPaintsNothing) {
    TXiButton b;
    for (QSize size : {QSize(0, 25), QSize(75, 0), QSize(1, 1), QSize(2, 2)}) {
        b.resize(size);
        const QImage face = b.renderFace();
        EXPECT_EQ(face.isNull(), size.isEmpty());
        if (!size.isEmpty()) {
            EXPECT_EQ(face.size(), size);
        }
        b.grab();
    }
}

TEST(XiButtonMouse, PressedFaceFollowsThePointerOffAndBackOnTheButton) {
    TXiButton button;
    button.resize(80, 24);
    button.show();
    int clicks = 0;
    QObject::connect(&button, &TXiButton::clicked, [&] { ++clicks; });
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(button.visualState(), TXiButton::VisualState::Pressed);
    const auto move = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    };
    move(QPoint(200, 10));
    EXPECT_EQ(button.visualState(), TXiButton::VisualState::Normal);
    move(QPoint(20, 12));
    EXPECT_EQ(button.visualState(), TXiButton::VisualState::Pressed);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 12));
    EXPECT_EQ(clicks, 1);
}

TEST(XiButtonScale, FaceIsBuiltInDevicePixelsAtHigherRatios) {
    TXiButton button;
    button.resize(40, 20);
    const QImage one = button.renderFace(1);
    const QImage two = button.renderFace(2);
    ASSERT_EQ(two.size(), QSize(80, 40));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    // Each pixel of the face's border and bevel covers its 2 x 2 block of device pixels.
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(39, 19)})
        EXPECT_EQ(two.pixel(2 * p.x() + 1, 2 * p.y() + 1), one.pixel(p)) << p.x() << "," << p.y();
    EXPECT_EQ(two.pixel(2, 2), one.pixel(1, 1));
    EXPECT_EQ(button.renderFace(1.5).size(), QSize(60, 30));
}
