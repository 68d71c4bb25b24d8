#include "controls/gradient.h"
#include "controls/xi_panel.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace controls;
using Bevel = TXiPanel::Bevel;

namespace {

QRgb rgb(const QColor& c) {
    return c.rgb();
}

// A panel with a plain gradient and no bevel, so every pixel is the fill's.
void bare(TXiPanel& panel, int w, int h) {
    panel.resize(w, h);
    panel.setBevelOuter(Bevel::bvNone);
    panel.setBevelInner(Bevel::bvNone);
}

} // namespace

TEST(XiPanel, ConstructionAndSchemeRules) {
    TXiPanel panel;
    EXPECT_EQ(panel.colorScheme(), PanelScheme::csDesert);
    EXPECT_EQ(panel.colorByIndex(0), QColor(0xFFFFFF));
    EXPECT_EQ(panel.colorByIndex(1), QColor(0xFFE1A4));
    EXPECT_EQ(panel.colorByIndex(2), QColor(0xD58F00));
    EXPECT_EQ(panel.colorByIndex(3), QColor(0x9B6900));
    EXPECT_EQ(panel.fillDirection(), TXiPanel::FillDirection::fdVertical);
    EXPECT_EQ(panel.bevelOuter(), Bevel::bvRaised);
    EXPECT_EQ(panel.bevelInner(), Bevel::bvNone);
    EXPECT_EQ(panel.bevelWidth(), 1);
    EXPECT_EQ(panel.alignment(), TXiPanel::Alignment::taCenter);

    // Setting a color never changes the scheme; csCustom keeps whatever is set.
    panel.setColorByIndex(1, QColor(1, 2, 3));
    EXPECT_EQ(panel.colorScheme(), PanelScheme::csDesert);
    panel.setColorScheme(PanelScheme::csCustom);
    EXPECT_EQ(panel.colorByIndex(1), QColor(1, 2, 3));
    EXPECT_EQ(panel.colorByIndex(2), QColor(0xD58F00));
    panel.setColorScheme(PanelScheme::csSky);
    EXPECT_EQ(panel.colorByIndex(1), QColor(0xC1E0FF));
    EXPECT_EQ(panel.colorByIndex(3), QColor(0x0059B3));
    panel.setColorByIndex(7, Qt::red); // out of range: ignored
    EXPECT_FALSE(panel.colorByIndex(7).isValid());
}

TEST(XiPanel, FillDirections) {
    TXiPanel panel;
    panel.setColorScheme(PanelScheme::csCustom);
    panel.setColorByIndex(0, QColor(0, 0, 0));
    panel.setColorByIndex(1, QColor(200, 50, 0));

    bare(panel, 100, 20);
    panel.setFillDirection(TXiPanel::FillDirection::fdHorizontal);
    QImage image = panel.renderImage();
    ASSERT_EQ(image.size(), QSize(100, 20));
    EXPECT_EQ(image.pixel(0, 10), qRgb(0, 0, 0));    // exactly the start color
    EXPECT_EQ(image.pixel(5, 19), qRgb(10, 2, 0));   // 2.5 -> 2
    EXPECT_EQ(image.pixel(99, 0), qRgb(198, 50, 0)); // one step short of 200

    bare(panel, 20, 50);
    panel.setFillDirection(TXiPanel::FillDirection::fdVertical);
    image = panel.renderImage();
    EXPECT_EQ(image.pixel(7, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(19, 49), qRgb(196, 49, 0));

    bare(panel, 30, 20);
    panel.setFillDirection(TXiPanel::FillDirection::fdDiagonal);
    image = panel.renderImage();
    const QList<QRgb> colors = gradientLineColors(QColor(0, 0, 0), QColor(200, 50, 0), 50);
    EXPECT_EQ(image.pixel(0, 5), qRgb(255, 255, 255)); // column 0 is never filled
    EXPECT_EQ(image.pixel(1, 0), colors[1]);
    EXPECT_EQ(image.pixel(29, 19), colors[48]);
    EXPECT_EQ(image.pixel(10, 7), image.pixel(7, 10));
}

TEST(XiPanel, TheLaunchersPanelHasOneLoweredRingAtTheEdge) {
    QWidget parent;
    TXiPanel* panel = makeSkinPanel(&parent, "Xpanel15", QRect(3, 4, 40, 30));
    EXPECT_EQ(panel->objectName(), "Xpanel15");
    EXPECT_EQ(panel->geometry(), QRect(3, 4, 40, 30));
    EXPECT_EQ(panel->fillDirection(), TXiPanel::FillDirection::fdHorizontal);
    EXPECT_TRUE(panel->caption().isEmpty());
    panel->setColorScheme(PanelScheme::csGrass);
    const QRgb dark = 0x376F15 | 0xFF000000u;
    const QRgb light = 0x6AB53E | 0xFF000000u;
    const QImage image = panel->renderImage();
    EXPECT_EQ(image.pixel(0, 0), dark);
    EXPECT_EQ(image.pixel(20, 0), dark);
    EXPECT_EQ(image.pixel(0, 15), dark);
    EXPECT_EQ(image.pixel(0, 29), dark);  // bottom-left corner: the top-left color's
    EXPECT_EQ(image.pixel(39, 0), light); // top-right corner: the bottom-right color's
    EXPECT_EQ(image.pixel(39, 29), light);
    EXPECT_EQ(image.pixel(20, 29), light);
    // Inside the ring: white on the left to the tint on the right.
    EXPECT_EQ(image.pixel(1, 1), gradientLineColors(Qt::white, QColor(0xCBF2B0), 40)[1]);
    EXPECT_EQ(image.pixel(38, 28), gradientLineColors(Qt::white, QColor(0xCBF2B0), 40)[38]);
}

TEST(XiPanel, RaisedOuterAndLoweredInnerOfWidthTwo) {
    TXiPanel panel;
    panel.resize(50, 30);
    panel.setBevelWidth(2);
    panel.setBevelOuter(Bevel::bvRaised);
    panel.setBevelInner(Bevel::bvLowered);
    panel.setColorByIndex(2, QColor(0xEEEEEE)); // light
    panel.setColorByIndex(3, QColor(0x111111)); // dark
    const QRgb light = rgb(QColor(0xEEEEEE));
    const QRgb dark = rgb(QColor(0x111111));
    const QImage image = panel.renderImage();
    for (int ring : {0, 1}) {
        SCOPED_TRACE(ring);
        EXPECT_EQ(image.pixel(ring, ring), light);
        EXPECT_EQ(image.pixel(ring, 29 - ring), light);
        EXPECT_EQ(image.pixel(49 - ring, ring), dark);
        EXPECT_EQ(image.pixel(49 - ring, 29 - ring), dark);
    }
    for (int ring : {2, 3}) {
        SCOPED_TRACE(ring);
        EXPECT_EQ(image.pixel(ring, ring), dark);
        EXPECT_EQ(image.pixel(ring, 29 - ring), dark);
        EXPECT_EQ(image.pixel(49 - ring, ring), light);
        EXPECT_EQ(image.pixel(25, 29 - ring), light);
    }
    EXPECT_NE(image.pixel(4, 4), dark);
    EXPECT_NE(image.pixel(4, 4), light);

    // Both bevels: a left-justified caption starts at 2 + 2 + 2, a right-justified one ends
    // as far from the right edge.
    panel.setCaption("Wg");
    const int tw = QFontMetrics(panel.font()).horizontalAdvance("Wg");
    panel.setAlignment(TXiPanel::Alignment::taLeftJustify);
    EXPECT_EQ(panel.captionOrigin().x(), 6);
    panel.setAlignment(TXiPanel::Alignment::taRightJustify);
    EXPECT_EQ(panel.captionOrigin().x(), 50 - 6 - tw);
    panel.setBevelOuter(Bevel::bvNone);
    EXPECT_EQ(panel.captionOrigin().x(), 50 - 4 - tw);
    panel.setAlignment(TXiPanel::Alignment::taCenter);
    EXPECT_EQ(panel.captionOrigin().x(), (50 - tw) / 2);
    EXPECT_EQ(panel.captionOrigin().y(), (30 - QFontMetrics(panel.font()).height()) / 2);
}

TEST(XiPanel, CaptionIsDrawnAtItsOriginInTheWindowTextColor) {
    TXiPanel panel;
    bare(panel, 80, 30);
    panel.setColorScheme(PanelScheme::csCustom);
    panel.setColorByIndex(1, Qt::white); // a plain white face
    QPalette palette = panel.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    panel.setPalette(palette);
    panel.setCaption("HH");
    panel.setAlignment(TXiPanel::Alignment::taLeftJustify);
    const QImage image = panel.renderImage();
    int left = 80;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                left = std::min(left, x);
    // The text box starts at 1 + 2; the letter's own side bearing is at most a few pixels.
    EXPECT_GE(left, 3);
    EXPECT_LE(left, 6);
}

TEST(XiPanel, ScreenShowsTheRenderedImageAndZeroSizesAreSafe) {
    TXiPanel panel;
    panel.resize(33, 17);
    panel.setFillDirection(TXiPanel::FillDirection::fdDiagonal);
    panel.setBevelInner(Bevel::bvLowered);
    const QImage expected = panel.renderImage();
    EXPECT_EQ(panel.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);

    for (QSize size : {QSize(0, 10), QSize(10, 0), QSize(0, 0)}) {
        for (auto fill :
             {TXiPanel::FillDirection::fdHorizontal, TXiPanel::FillDirection::fdVertical,
              TXiPanel::FillDirection::fdDiagonal}) {
            panel.resize(size);
            panel.setFillDirection(fill);
            EXPECT_TRUE(panel.renderImage().isNull());
            panel.grab(); // paints without dividing by zero
        }
    }
    // A one-pixel panel is a single bevel pixel.
    panel.resize(1, 1);
    EXPECT_EQ(panel.renderImage().size(), QSize(1, 1));
}
