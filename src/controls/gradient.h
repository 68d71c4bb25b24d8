#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>

namespace controls {

// An off-screen image for a face of the given size on a screen with the given device pixel
// ratio: as many pixels as the screen shows there, so the face stays sharp when scaled.
QImage faceImage(QSize size, qreal devicePixelRatio);

// Pixel routines over an off-screen image with the original's rules: a line includes its start
// point and excludes its end point; a rectangle (L, T, R, B) covers columns L..R-1 and rows
// T..B-1. Pixels outside the image are clipped. Coordinates are the face's own pixels; on an
// image with a device pixel ratio above 1 each covers its block of device pixels.
void drawLine(QImage& image, int x1, int y1, int x2, int y2, const QColor& color);
// Consecutive lines through the points; each excludes its end point, which the next one starts
// on, so only the last point stays undrawn.
void drawPolyline(QImage& image, const QList<QPoint>& points, const QColor& color);
void frameRect(QImage& image, int left, int top, int right, int bottom, const QColor& color);

// Rounds a channel value to the nearest integer, ties to even.
int roundChannel(double value);

enum class GradientDirection { Horizontal, Vertical, Diagonal };

// The pen colors of a gradient of n steps: n + 1 colors, starting at `from`, each channel
// advanced by (to - from) / n per line, rounded ties-to-even. With n <= 0 there is nothing to
// divide by: a single line in `from`.
QList<QRgb> gradientLineColors(const QColor& from, const QColor& to, int n);

// The gradient fill over the whole image (0, 0, W, H) from `from` to `to`, in device pixels:
// - Horizontal: n = W; line i is the column i from the top to the bottom edge;
// - Vertical: n = H; line i is the row i from the left to the right edge;
// - Diagonal: n = W + H; line i runs from (i, 0) towards (0, i), end excluded, so column 0 is
//   left as it was.
// Line n lies outside the image.
void gradientFill(QImage& image, const QColor& from, const QColor& to, GradientDirection direction);

// The vertical gradient from `from` at the top to `to` at the bottom over the rectangle
// (0, 0, width, height): height + 1 lines with per-line steps of (to - from) / height.
// A zero height draws a single line in `from` (no division by zero).
void verticalGradient(QImage& image, const QColor& from, const QColor& to);

} // namespace controls
