#include "controls/xi_panel.h"

#include "controls/gradient.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace controls {

namespace {

// One bevel ring: `a` on the left column and the top row, `b` on the right column and the
// bottom row; the top-right corner is b's, the bottom-left one a's.
void drawRing(QImage& image, QSize size, int i, const QColor& a, const QColor& b) {
    const int right = size.width() - 1 - i;
    const int bottom = size.height() - 1 - i;
    drawPolyline(image, {QPoint(i, bottom), QPoint(i, i), QPoint(right, i)}, a);
    drawPolyline(image, {QPoint(right, i), QPoint(right, bottom), QPoint(i, bottom)}, b);
}

} // namespace

TXiPanel::TXiPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setColorScheme(PanelScheme::csDesert);
}

void TXiPanel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

QColor TXiPanel::colorByIndex(int index) const {
    if (index < 0 || index > 3)
        return {};
    return colors_[index];
}

void TXiPanel::setColorByIndex(int index, const QColor& color) {
    if (index < 0 || index > 3)
        return;
    colors_[index] = color;
    update();
}

void TXiPanel::setColorScheme(PanelScheme scheme) {
    scheme_ = scheme;
    if (scheme != PanelScheme::csCustom) {
        const PanelColors c = panelSchemeColors(scheme);
        colors_[0] = c.face;
        colors_[1] = c.grad;
        colors_[2] = c.light;
        colors_[3] = c.dark;
    }
    update();
}

void TXiPanel::setFillDirection(FillDirection fill) {
    fill_ = fill;
    update();
}

void TXiPanel::setBevelInner(Bevel bevel) {
    bevelInner_ = bevel;
    update();
}

void TXiPanel::setBevelOuter(Bevel bevel) {
    bevelOuter_ = bevel;
    update();
}

void TXiPanel::setBevelWidth(int width) {
    bevelWidth_ = std::clamp(width, 1, MaxBevelWidth);
    update();
}

void TXiPanel::setAlignment(Alignment alignment) {
    alignment_ = alignment;
    update();
}

QPoint TXiPanel::captionOrigin() const {
    const QFontMetrics metrics(font());
    const int cw = width();
    const int ch = height();
    const int bw = bevelWidth_;
    const int tw = metrics.horizontalAdvance(caption_);
    const bool bothBevels = bevelInner_ != Bevel::bvNone && bevelOuter_ != Bevel::bvNone;
    int x = (cw - tw) / 2;
    if (alignment_ == Alignment::taLeftJustify)
        x = bw + 2 + (bothBevels ? bw : 0);
    else if (alignment_ == Alignment::taRightJustify)
        x = cw - bw - 2 - tw - (bothBevels ? bw : 0);
    // Every caption is placed by the height of one line of the font, whatever its letters.
    const int h = metrics.height();
    return {x, (ch - h) / 2};
}

QImage TXiPanel::renderImage() const {
    const int cw = width();
    const int ch = height();
    if (cw <= 0 || ch <= 0)
        return {};
    QImage image = faceImage(size(), devicePixelRatioF());
    image.fill(Qt::white); // a fresh bitmap is white; the diagonal fill leaves column 0 so

    const GradientDirection direction =
        fill_ == FillDirection::fdHorizontal ? GradientDirection::Horizontal
        : fill_ == FillDirection::fdVertical ? GradientDirection::Vertical
                                             : GradientDirection::Diagonal;
    gradientFill(image, colors_[0], colors_[1], direction);

    if (!caption_.isEmpty()) {
        QPainter painter(&image);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        painter.drawText(
            QRect(captionOrigin(), QSize(metrics.horizontalAdvance(caption_), metrics.height())),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, caption_);
    }

    const int bw = bevelWidth_;
    const QColor& light = colors_[2];
    const QColor& dark = colors_[3];
    auto drawBevel = [&](Bevel kind, int firstRing) {
        if (kind == Bevel::bvNone)
            return;
        const bool lowered = kind == Bevel::bvLowered;
        // Rings past the middle of the panel would only redraw it; stop there.
        const int lastRing = std::min(firstRing + bw, std::max(cw, ch));
        for (int i = firstRing; i < lastRing; ++i)
            drawRing(image, size(), i, lowered ? dark : light, lowered ? light : dark);
    };
    drawBevel(bevelOuter_, 0);
    drawBevel(bevelInner_, bevelOuter_ != Bevel::bvNone ? bw : 0);
    return image;
}

void TXiPanel::paintEvent(QPaintEvent*) {
    const QImage image = renderImage();
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

TXiPanel* makeSkinPanel(QWidget* parent, const QString& objectName, const QRect& geometry) {
    auto* panel = new TXiPanel(parent);
    panel->setObjectName(objectName);
    panel->setGeometry(geometry);
    panel->setFillDirection(TXiPanel::FillDirection::fdHorizontal);
    panel->setBevelOuter(TXiPanel::Bevel::bvNone);
    panel->setBevelInner(TXiPanel::Bevel::bvLowered);
    panel->setBevelWidth(1);
    panel->setColorScheme(PanelScheme::csSilver);
    return panel;
}

} // namespace controls
