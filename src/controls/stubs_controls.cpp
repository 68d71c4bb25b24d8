// Placeholder implementations; replaced by the real controls.
#include "controls/color_schemes.h"
#include "controls/gradient.h"
#include "controls/gradient_bar.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"

#include <QPainter>

namespace controls {

ButtonSchemeColors buttonSchemeColors(ButtonScheme) { return {{}, true}; }
PanelColors panelSchemeColors(PanelScheme) { return {Qt::white, Qt::lightGray, Qt::gray, Qt::darkGray}; }
Skin skin(int) { return {PanelScheme::csSilver, ButtonScheme::csNeoSilver, QColor(0xDEE0DA)}; }

void drawLine(QImage&, int, int, int, int, const QColor&) {}
void drawPolyline(QImage&, const QList<QPoint>&, const QColor&) {}
void frameRect(QImage&, int, int, int, int, const QColor&) {}
int roundChannel(double v) { return qRound(v); }
void verticalGradient(QImage&, const QColor&, const QColor&) {}

GradientBar::GradientBar(QWidget* parent) : QWidget(parent) {}
void GradientBar::setGradientStartColor(const QColor& c) { start_ = c; update(); }
void GradientBar::setGradientEndColor(const QColor& c) { end_ = c; update(); }
QImage GradientBar::renderImage() const { return QImage(); }
void GradientBar::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), end_); }
void GradientBar::mousePressEvent(QMouseEvent*) {}
void GradientBar::mouseMoveEvent(QMouseEvent*) {}
void GradientBar::mouseReleaseEvent(QMouseEvent*) {}

TXiButton::TXiButton(QWidget* parent) : QWidget(parent) { resize(75, 25); }
void TXiButton::setCaption(const QString& c) { caption_ = c; update(); }
QColor TXiButton::colorByIndex(int i) const { return colors_[static_cast<size_t>(i)]; }
void TXiButton::setColorByIndex(int i, const QColor& c) { colors_[static_cast<size_t>(i)] = c; }
void TXiButton::setColorScheme(ButtonScheme s) { scheme_ = s; }
void TXiButton::setCtl3D(bool on) { ctl3D_ = on; }
void TXiButton::setGradient(bool on) { gradient_ = on; }
void TXiButton::setSpacing(int s) { spacing_ = s; }
void TXiButton::setTransparentGlyph(bool on) { transparentGlyph_ = on; }
void TXiButton::setLayout(Layout l) { layout_ = l; }
void TXiButton::setGlyph(const QImage& g) { glyph_ = g; }
QImage TXiButton::renderFace() const { return QImage(); }
void TXiButton::paintEvent(QPaintEvent*) { QPainter p(this); p.drawText(rect(), Qt::AlignCenter, caption_); }
void TXiButton::enterEvent(QEnterEvent*) {}
void TXiButton::leaveEvent(QEvent*) {}
void TXiButton::mousePressEvent(QMouseEvent*) {}
void TXiButton::mouseReleaseEvent(QMouseEvent*) { if (isEnabled()) emit clicked(); }
void TXiButton::focusInEvent(QFocusEvent*) {}
void TXiButton::focusOutEvent(QFocusEvent*) {}
void TXiButton::keyPressEvent(QKeyEvent*) {}
void TXiButton::keyReleaseEvent(QKeyEvent*) {}
void TXiButton::changeEvent(QEvent* e) { QWidget::changeEvent(e); }
bool TXiButton::event(QEvent* e) { return QWidget::event(e); }
void TXiButton::click() { emit clicked(); }
void TXiButton::repaintNow() {}

TXiPanel::TXiPanel(QWidget* parent) : QWidget(parent) {}
void TXiPanel::setCaption(const QString& c) { caption_ = c; }
QColor TXiPanel::colorByIndex(int i) const { return colors_[i]; }
void TXiPanel::setColorByIndex(int i, const QColor& c) { colors_[i] = c; }
void TXiPanel::setColorScheme(PanelScheme s) { scheme_ = s; }
void TXiPanel::setFillDirection(FillDirection f) { fill_ = f; }
void TXiPanel::setBevelInner(Bevel b) { bevelInner_ = b; }
void TXiPanel::setBevelOuter(Bevel b) { bevelOuter_ = b; }
void TXiPanel::setBevelWidth(int w) { bevelWidth_ = w; }
void TXiPanel::setAlignment(Alignment a) { alignment_ = a; }
QImage TXiPanel::renderImage() const { return QImage(); }
void TXiPanel::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), QColor(0xDEE0DA)); }

TXiPanel* makeSkinPanel(QWidget* parent, const QString& objectName, const QRect& geometry) {
    auto* panel = new TXiPanel(parent);
    panel->setObjectName(objectName);
    panel->setGeometry(geometry);
    panel->setFillDirection(TXiPanel::FillDirection::fdHorizontal);
    panel->setBevelOuter(TXiPanel::Bevel::bvNone);
    panel->setBevelInner(TXiPanel::Bevel::bvLowered);
    panel->setColorScheme(PanelScheme::csSilver);
    return panel;
}

} // namespace controls
