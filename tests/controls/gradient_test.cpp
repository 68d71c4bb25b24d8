#include "controls/gradient.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int countColor(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color ? 1 : 0;
    return n;
}

const QRgb Red = qRgb(255, 0, 0);

} // namespace

TEST(PixelRoutines, LinesIncludeTheirStartAndExcludeTheirEnd) {
    QImage image = blank(10, 10);
    drawLine(image, 2, 3, 6, 3, Qt::red);
    EXPECT_EQ(image.pixel(2, 3), Red);
    EXPECT_EQ(image.pixel(5, 3), Red);
    EXPECT_NE(image.pixel(6, 3), Red);
    EXPECT_EQ(countColor(image, Red), 4);

    // Upwards and leftwards the same way round.
    image = blank(10, 10);
    drawLine(image, 4, 8, 4, 2, Qt::red);
    EXPECT_EQ(image.pixel(4, 8), Red);
    EXPECT_NE(image.pixel(4, 2), Red);
    EXPECT_EQ(countColor(image, Red), 6);

    // A 45-degree line hits exactly one pixel per row.
    image = blank(10, 10);
    drawLine(image, 5, 0, 0, 5, Qt::red);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(image.pixel(5 - k, k), Red) << k;
    EXPECT_EQ(countColor(image, Red), 5);

    // A zero-length line draws nothing; lines leaving the image are clipped.
    image = blank(10, 10);
    drawLine(image, 3, 3, 3, 3, Qt::red);
    drawLine(image, -5, 9, 20, 9, Qt::red);
    EXPECT_EQ(countColor(image, Red), 10);
}

TEST(PixelRoutines, PolylineLeavesOnlyItsLastPointAndFrameCoversLeftToRightMinusOne) {
    QImage image = blank(10, 10);
    drawPolyline(image, {QPoint(1, 5), QPoint(1, 1), QPoint(5, 1)}, Qt::red);
    EXPECT_EQ(image.pixel(1, 5), Red);
    EXPECT_EQ(image.pixel(1, 1), Red);
    EXPECT_EQ(image.pixel(4, 1), Red);
    EXPECT_NE(image.pixel(5, 1), Red);
    EXPECT_EQ(countColor(image, Red), 8);

    image = blank(10, 10);
    frameRect(image, 2, 3, 7, 6, Qt::red); // columns 2..6, rows 3..5
    EXPECT_EQ(image.pixel(2, 3), Red);
    EXPECT_EQ(image.pixel(6, 5), Red);
    EXPECT_NE(image.pixel(7, 5), Red);
    EXPECT_NE(image.pixel(6, 6), Red);
    EXPECT_NE(image.pixel(4, 4), Red); // interior untouched
    EXPECT_EQ(countColor(image, Red), 12);

    image = blank(10, 10);
    frameRect(image, 5, 5, 5, 8, Qt::red); // empty rectangle
    frameRect(image, 5, 5, 2, 2, Qt::red); // inverted rectangle
    EXPECT_EQ(countColor(image, Red), 0);
}

TEST(Gradient, ChannelsRoundHalfwayValuesToEven) {
    EXPECT_EQ(roundChannel(0.5), 0);
    EXPECT_EQ(roundChannel(1.5), 2);
    EXPECT_EQ(roundChannel(2.5), 2);
    EXPECT_EQ(roundChannel(2.5000001), 3);
    EXPECT_EQ(roundChannel(254.49), 254);
    EXPECT_EQ(roundChannel(-0.5), 0);

    // 0 -> 3 in two steps: 0, 1.5, 3; 0 -> 5: 0, 2.5, 5.
    EXPECT_EQ(gradientLineColors(QColor(0, 0, 0), QColor(3, 5, 1), 2),
              (QList<QRgb>{qRgb(0, 0, 0), qRgb(2, 2, 0), qRgb(3, 5, 1)}));
}

TEST(Gradient, ZeroStepsGiveOneLineInTheStartColor) {
    EXPECT_EQ(gradientLineColors(QColor(10, 20, 30), QColor(200, 0, 0), 0),
              QList<QRgb>{qRgb(10, 20, 30)});
    EXPECT_EQ(gradientLineColors(QColor(10, 20, 30), QColor(200, 0, 0), -3),
              QList<QRgb>{qRgb(10, 20, 30)});

    QImage empty;
    verticalGradient(empty, Qt::white, Qt::black); // nothing to fill, nothing to divide by
    QImage flat(5, 0, QImage::Format_RGB32);
    gradientFill(flat, Qt::white, Qt::black, GradientDirection::Diagonal);
    EXPECT_TRUE(flat.isNull());
}

TEST(Gradient, FillsRunFromStartToOneStepShortOfTheEnd) {
    const QColor from(0, 0, 0);
    const QColor to(200, 50, 0);

    QImage image = blank(100, 3);
    gradientFill(image, from, to, GradientDirection::Horizontal);
    EXPECT_EQ(image.pixel(0, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 1), qRgb(10, 2, 0)); // 2.5 rounds down to even
    EXPECT_EQ(image.pixel(7, 0), qRgb(14, 4, 0)); // 3.5 rounds up to even
    EXPECT_EQ(image.pixel(99, 0), qRgb(198, 50, 0));

    image = blank(3, 10);
    verticalGradient(image, from, QColor(0, 0, 100));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 9), qRgb(0, 0, 90));

    // Diagonal: constant along x + y, from the top-left to the bottom-right corner; column 0 is
    // the end point of every line and stays as it was.
    image = blank(6, 4);
    gradientFill(image, from, QColor(100, 0, 0), GradientDirection::Diagonal);
    const QList<QRgb> colors = gradientLineColors(from, QColor(100, 0, 0), 10);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(image.pixel(0, y), qRgb(255, 255, 255)) << y;
        for (int x = 1; x < 6; ++x)
            EXPECT_EQ(image.pixel(x, y), colors[x + y]) << x << "," << y;
    }
}
