#include "controls/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace controls {

namespace {

void setDevicePixel(QImage& image, int x, int y, QRgb rgb) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    image.setPixel(x, y, rgb);
}

void setPixel(QImage& image, int x, int y, QRgb rgb) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0) {
        setDevicePixel(image, x, y, rgb);
        return;
    }
    const int left = static_cast<int>(std::floor(x * ratio));
    const int right = static_cast<int>(std::floor((x + 1) * ratio));
    const int top = static_cast<int>(std::floor(y * ratio));
    const int bottom = static_cast<int>(std::floor((y + 1) * ratio));
    for (int dy = top; dy < bottom; ++dy) {
        for (int dx = left; dx < right; ++dx)
            setDevicePixel(image, dx, dy, rgb);
    }
}

} // namespace

QImage faceImage(QSize size, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage image(static_cast<int>(std::ceil(size.width() * ratio)),
                 static_cast<int>(std::ceil(size.height() * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

void drawLine(QImage& image, int x1, int y1, int x2, int y2, const QColor& color) {
    const QRgb rgb = color.rgb();
    // Bresenham from the start point; the end point itself is never drawn.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        setPixel(image, x, y, rgb);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void drawPolyline(QImage& image, const QList<QPoint>& points, const QColor& color) {
    for (qsizetype i = 1; i < points.size(); ++i)
        drawLine(image, points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), color);
}

void frameRect(QImage& image, int left, int top, int right, int bottom, const QColor& color) {
    if (right <= left || bottom <= top)
        return;
    const QRgb rgb = color.rgb();
    for (int x = left; x < right; ++x) {
        setPixel(image, x, top, rgb);
        setPixel(image, x, bottom - 1, rgb);
    }
    for (int y = top; y < bottom; ++y) {
        setPixel(image, left, y, rgb);
        setPixel(image, right - 1, y, rgb);
    }
}

int roundChannel(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5)
        result = floor + 1;
    else if (fraction == 0.5)
        result = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    return static_cast<int>(std::clamp(result, -1.0e9, 1.0e9));
}

QList<QRgb> gradientLineColors(const QColor& from, const QColor& to, int n) {
    const int steps = std::max(n, 0);
    const double start[3] = {double(from.red()), double(from.green()), double(from.blue())};
    const double end[3] = {double(to.red()), double(to.green()), double(to.blue())};
    double step[3] = {0, 0, 0};
    if (steps > 0) {
        for (int c = 0; c < 3; ++c)
            step[c] = (end[c] - start[c]) / steps;
    }
    double current[3] = {start[0], start[1], start[2]};
    QList<QRgb> colors;
    colors.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c) {
            channel[c] = std::clamp(roundChannel(current[c]), 0, 255);
            current[c] += step[c];
        }
        colors.append(qRgb(channel[0], channel[1], channel[2]));
    }
    return colors;
}

void gradientFill(QImage& image, const QColor& from, const QColor& to,
                  GradientDirection direction) {
    const int w = image.width();
    const int h = image.height();
    if (image.isNull() || w <= 0 || h <= 0)
        return;
    const int n = direction == GradientDirection::Horizontal ? w
                  : direction == GradientDirection::Vertical ? h
                                                             : w + h;
    const QList<QRgb> colors = gradientLineColors(from, to, n);
    if (image.depth() != 32)
        image = image.convertToFormat(QImage::Format_RGB32);
    // Pixel (x, y) takes line x, line y or line x + y; rows are written whole.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (direction) {
        case GradientDirection::Horizontal:
            std::copy(colors.cbegin(), colors.cbegin() + w, row);
            break;
        case GradientDirection::Vertical:
            std::fill(row, row + w, colors[y]);
            break;
        case GradientDirection::Diagonal:
            // Column 0 is the excluded end point of every line and keeps its pixel.
            std::copy(colors.cbegin() + y + 1, colors.cbegin() + y + w, row + 1);
            break;
        }
    }
}

void verticalGradient(QImage& image, const QColor& from, const QColor& to) {
    gradientFill(image, from, to, GradientDirection::Vertical);
}

} // namespace controls
