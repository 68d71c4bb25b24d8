#pragma once

#include <QColor>
#include <QImage>

namespace controls {

// Pixel routines over an off-screen image with the original's rules: a line includes its start
// point and excludes its end point; a rectangle (L, T, R, B) covers columns L..R-1 and rows
// T..B-1. Pixels outside the image are clipped.
void drawLine(QImage& image, int x1, int y1, int x2, int y2, const QColor& color);
void drawPolyline(QImage& image, const QList<QPoint>& points, const QColor& color);
void frameRect(QImage& image, int left, int top, int right, int bottom, const QColor& color);

// Rounds a channel value to the nearest integer, ties to even.
int roundChannel(double value);

// The vertical gradient from `from` at the top to `to` at the bottom over the rectangle
// (0, 0, width, height): height + 1 lines with per-line steps of (to - from) / height.
// A zero height draws a single line in `from` (no division by zero).
void verticalGradient(QImage& image, const QColor& from, const QColor& to);

} // namespace controls
