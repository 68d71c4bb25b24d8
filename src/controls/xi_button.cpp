#include "controls/xi_button.h"

#include "controls/design_font.h"
#include "controls/gradient.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>

#include <algorithm>

namespace controls {

namespace {

constexpr int OverBase = 6;
constexpr int DownBase = 12;
constexpr int DisabledBase = 18;
constexpr int FocusRectIndex = 24;

// The glyph as drawn: with a transparent glyph, every pixel of its top-left pixel's color
// lets the face show through.
QImage glyphToDraw(const QImage& glyph, bool transparent) {
    if (!transparent)
        return glyph;
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key =
        qRgb(qRed(image.pixel(0, 0)), qGreen(image.pixel(0, 0)), qBlue(image.pixel(0, 0)));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return image;
}

} // namespace

TXiButton::TXiButton(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFont(designFont(11));
    setColorScheme(ButtonScheme::csNeoDesert);
    colors_[OverBase + 1] = QColor(0xFFFFFF);
    colors_[DownBase + 1] = QColor(0xFFFFFF);
    scheme_ = ButtonScheme::csNeoDesert;
    resize(75, 25);
}

void TXiButton::setCaption(const QString& caption) {
    caption_ = caption;
    updateAccelerator();
    update();
}

void TXiButton::updateAccelerator() {
    if (acceleratorId_ != 0) {
        releaseShortcut(acceleratorId_);
        acceleratorId_ = 0;
    }
    const QKeySequence accelerator = QKeySequence::mnemonic(caption_);
    if (!accelerator.isEmpty())
        acceleratorId_ = grabShortcut(accelerator);
}

QColor TXiButton::colorByIndex(int index) const {
    if (index < 0 || index >= ButtonColorCount)
        return {};
    return colors_[static_cast<size_t>(index)];
}

void TXiButton::setColorByIndex(int index, const QColor& color) {
    if (index < 0 || index >= ButtonColorCount)
        return;
    colors_[static_cast<size_t>(index)] = color;
    scheme_ = ButtonScheme::csCustom;
    update();
}

void TXiButton::setColorScheme(ButtonScheme scheme) {
    if (scheme != ButtonScheme::csCustom) {
        const ButtonSchemeColors set = buttonSchemeColors(scheme);
        for (int i = 0; i < ButtonColorCount; ++i) {
            const QColor& color = set.colors[static_cast<size_t>(i)];
            if (color.isValid()) // the flat family has no gradient colors
                colors_[static_cast<size_t>(i)] = color;
        }
        gradient_ = set.gradient;
    }
    update();
    scheme_ = scheme;
}

void TXiButton::setCtl3D(bool on) {
    ctl3D_ = on;
    update();
}

void TXiButton::setGradient(bool on) {
    gradient_ = on;
    update();
}

void TXiButton::setSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

void TXiButton::setTransparentGlyph(bool on) {
    transparentGlyph_ = on;
    update();
}

void TXiButton::setLayout(Layout layout) {
    layout_ = layout;
    update();
}

void TXiButton::setGlyph(const QImage& glyph) {
    glyph_ = glyph.copy();
    update();
}

QImage TXiButton::renderFace(qreal devicePixelRatio) const {
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return {};

    int base = 0;
    if (!isEnabled())
        base = DisabledBase;
    else if (state_ == VisualState::Hot)
        base = OverBase;
    else if (state_ == VisualState::Pressed)
        base = DownBase;
    auto working = [&](int offset) { return colors_[static_cast<size_t>(base + offset)]; };
    const QColor face = working(0);
    const QColor grad = working(1);
    const QColor dark = working(2);
    const QColor light = working(3);
    const QColor border = working(4);
    const QColor text = working(5);
    const bool pressed = state_ == VisualState::Pressed;

    QImage image = faceImage(size(), devicePixelRatio > 0 ? devicePixelRatio : devicePixelRatioF());
    image.fill(face);
    if (gradient_)
        verticalGradient(image, face, grad);

    {
        QPainter painter(&image);
        painter.setFont(font());
        painter.setPen(text);
        const QFontMetrics metrics(font());
        const bool hasCaption = !caption_.isEmpty();
        // The caption is measured as written, ampersands included, and drawn centred in that box.
        const int tw = metrics.horizontalAdvance(caption_);
        const int th = hasCaption ? metrics.height() : 0;
        const ButtonFaceLayout where = buttonFaceLayout(QSize(w, h), QSize(tw, th), hasCaption,
                                                        glyph_.size(), layout_, spacing_, pressed);
        if (!glyph_.isNull())
            painter.drawImage(where.glyph, glyphToDraw(glyph_, transparentGlyph_));
        if (hasCaption) {
            // A caption taller than a low button (the 16-pixel "About" button) would lose the
            // top of its marks (the dots of "Ü") under the frame: its ink moves inside it.
            QRect caption = where.caption;
            const QRect ink = metrics.tightBoundingRect(caption_).translated(
                0, caption.top() + (caption.height() - th) / 2 + metrics.ascent());
            const int inside = ctl3D_ ? 2 : 1;
            if (ink.top() < inside && ink.height() <= h - 2 * inside)
                caption.translate(0, std::min(inside - ink.top(), h - inside - 1 - ink.bottom()));
            painter.drawText(caption,
                             Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip |
                                 Qt::TextShowMnemonic,
                             caption_);
        }
    }

    frameRect(image, 0, 0, w, h, border);
    if (ctl3D_) {
        drawPolyline(image, {QPoint(1, h - 2), QPoint(1, 1), QPoint(w - 1, 1)}, light);
        drawPolyline(image, {QPoint(w - 2, 1), QPoint(w - 2, h - 2), QPoint(1, h - 2)}, dark);
    }
    if (focused_)
        frameRect(image, 3, 3, w - 3, h - 3, colors_[FocusRectIndex]);
    return image;
}

void TXiButton::paintEvent(QPaintEvent*) {
    const QImage face = renderFace();
    if (face.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

void TXiButton::repaintNow() {
    // Hot and pressed feedback shows at once, not at the next event-loop turn.
    if (isVisible())
        repaint();
    else
        update();
}

void TXiButton::click() {
    state_ = VisualState::Normal;
    repaintNow();
    emit clicked();
}

void TXiButton::enterEvent(QEnterEvent*) {
    if (!hotTrack_)
        return;
    state_ = mouseHeld_ ? VisualState::Pressed : VisualState::Hot;
    repaintNow();
}

void TXiButton::leaveEvent(QEvent*) {
    state_ = VisualState::Normal;
    repaintNow();
}

void TXiButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    mouseHeld_ = true;
    clickArmed_ = true;
    state_ = VisualState::Pressed;
    if (focusPolicy() & Qt::TabFocus)
        setFocus(Qt::MouseFocusReason);
    repaintNow();
}

void TXiButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    const bool isLeft = event->button() == Qt::LeftButton;
    const bool completesClick = isLeft && clickArmed_ && rect().contains(pos);
    if (isLeft)
        clickArmed_ = false;
    mouseHeld_ = false;
    if (completesClick) {
        // The click's handler may close the window or delete the button.
        const QPointer<TXiButton> alive(this);
        click();
        if (!alive)
            return;
    }
    // Column 0 and row 0 count as outside here: the state does not change there.
    if (pos.x() > 0 && pos.x() < width() && pos.y() > 0 && pos.y() < height())
        state_ = hotTrack_ ? VisualState::Hot : VisualState::Normal;
    repaintNow();
}

// While the left button is held after a press on the face, the pointer grab keeps enter and
// leave events away: the face follows the pointer here instead, normal outside and pressed
// inside, as the release there will or will not click.
void TXiButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!clickArmed_)
        return;
    const VisualState wanted =
        rect().contains(event->position().toPoint()) ? VisualState::Pressed : VisualState::Normal;
    if (wanted != state_) {
        state_ = wanted;
        repaintNow();
    }
}

void TXiButton::focusInEvent(QFocusEvent*) {
    focused_ = true;
    repaintNow();
}

void TXiButton::focusOutEvent(QFocusEvent*) {
    focused_ = false;
    state_ = VisualState::Normal;
    repaintNow();
}

void TXiButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool space = key == Qt::Key_Space;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (space) {
        state_ = VisualState::Pressed;
    } else if (enter) {
        const QPointer<TXiButton> alive(this);
        click();
        if (!alive)
            return;
    }
    repaintNow();
    if (space || enter)
        event->accept();
    else
        QWidget::keyPressEvent(event); // other keys go on to the window (Escape, shortcuts)
}

void TXiButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // Holding Space repeats key presses, not clicks: only the real release clicks.
    if (event->isAutoRepeat())
        return;
    state_ = VisualState::Normal;
    repaintNow();
    click();
}

void TXiButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

bool TXiButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == acceleratorId_ && acceleratorId_ != 0) {
            if (isEnabled())
                click();
            return true;
        }
    }
    return QWidget::event(event);
}

ButtonFaceLayout buttonFaceLayout(QSize face, QSize text, bool hasCaption, QSize glyph,
                                  TXiButton::Layout layout, int spacing, bool pressed) {
    const int w = face.width();
    const int h = face.height();
    const int tw = text.width();
    const int th = text.height();
    int tx = (w - tw) / 2;
    int ty = (h - th) / 2;
    int gx = 0;
    int gy = 0;
    if (!glyph.isEmpty()) {
        const int gw = glyph.width();
        const int gh = glyph.height();
        const int s = spacing;
        switch (layout) {
        case TXiButton::Layout::blGlyphLeft:
            gy = (h - gh) / 2;
            gx = tx - gw / 2;
            tx = tx + gw / 2;
            if (hasCaption) {
                gx = gx - s / 2 - s % 2;
                tx = tx + s / 2;
            }
            break;
        case TXiButton::Layout::blGlyphRight:
            gy = (h - gh) / 2;
            gx = tx + tw - gw / 2;
            tx = tx + (-gw) / 2;
            if (hasCaption) {
                gx = gx + s / 2 + s % 2;
                tx = tx + (-s) / 2;
            }
            break;
        case TXiButton::Layout::blGlyphTop:
            gx = (w - gw) / 2;
            gy = ty - gh / 2 - gh % 2;
            ty = ty + gh / 2;
            if (hasCaption) {
                gy = gy - s / 2 - s % 2;
                ty = ty + s / 2;
            }
            break;
        case TXiButton::Layout::blGlyphBottom:
            gx = (w - gw) / 2;
            gy = ty + th - gh / 2;
            ty = ty + (-gh) / 2;
            if (hasCaption) {
                gy = gy + s / 2 + s % 2;
                ty = ty + (-s) / 2;
            }
            break;
        }
    }
    if (pressed) {
        ++gx;
        ++gy;
        ++tx;
        ++ty;
    }
    return {QPoint(gx, gy), QRect(tx, ty, tw, th)};
}

} // namespace controls
