#pragma once

#include "controls/color_schemes.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace controls {

// The self-drawn push button: a vertical two-color gradient face, a one-pixel border, an
// optional 3-D bevel, an optional glyph and a focus rectangle, in the normal, hot and pressed
// states plus a disabled look. Every paint builds the face in an off-screen image and copies
// it to the screen in one operation.
class TXiButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Ctl3D READ ctl3D WRITE setCtl3D)
    Q_PROPERTY(bool Gradient READ gradient WRITE setGradient)
    Q_PROPERTY(bool HotTrack READ hotTrack WRITE setHotTrack)
    Q_PROPERTY(int Spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(bool TransparentGlyph READ transparentGlyph WRITE setTransparentGlyph)

public:
    enum class Layout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    enum class VisualState { Normal, Hot, Pressed };
    Q_ENUM(Layout)

    explicit TXiButton(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // The 25 colors by setter index (see ButtonColors); setting one makes the scheme csCustom.
    QColor colorByIndex(int index) const;
    void setColorByIndex(int index, const QColor& color);

    ButtonScheme colorScheme() const { return scheme_; }
    void setColorScheme(ButtonScheme scheme);

    bool ctl3D() const { return ctl3D_; }
    void setCtl3D(bool on);
    bool gradient() const { return gradient_; }
    void setGradient(bool on);
    bool hotTrack() const { return hotTrack_; }
    void setHotTrack(bool on) { hotTrack_ = on; }
    int spacing() const { return spacing_; }
    void setSpacing(int spacing);
    bool transparentGlyph() const { return transparentGlyph_; }
    void setTransparentGlyph(bool on);
    Layout layout() const { return layout_; }
    void setLayout(Layout layout);
    QImage glyph() const { return glyph_; }
    void setGlyph(const QImage& glyph);

    VisualState visualState() const { return state_; }
    bool mouseHeld() const { return mouseHeld_; }
    // Set while the button holds the keyboard focus; the face then shows the focus rectangle.
    bool focusShown() const { return focused_; }

    // Builds the face exactly as it is copied to the screen, at the screen's device pixel ratio
    // (or the one given).
    QImage renderFace(qreal devicePixelRatio = 0) const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void click();
    void repaintNow();
    void updateAccelerator();

    QString caption_;
    ButtonColors colors_{};
    ButtonScheme scheme_ = ButtonScheme::csNeoDesert;
    bool ctl3D_ = true;
    bool gradient_ = true;
    bool hotTrack_ = true;
    int spacing_ = 4;
    bool transparentGlyph_ = true;
    Layout layout_ = Layout::blGlyphLeft;
    QImage glyph_;
    VisualState state_ = VisualState::Normal;
    bool focused_ = false;
    bool mouseHeld_ = false;
    bool clickArmed_ = false; // a left press on the button waits for its release
    int acceleratorId_ = 0;
};

// Where the glyph's top-left corner and the caption's box go on a face of the given size, for a
// caption measuring `text` (its width as written, ampersands included; its height is 0 when
// there is no caption) and a glyph of the given size. Integer division truncates toward zero.
struct ButtonFaceLayout {
    QPoint glyph;
    QRect caption;
};
ButtonFaceLayout buttonFaceLayout(QSize face, QSize text, bool hasCaption, QSize glyph,
                                  TXiButton::Layout layout, int spacing, bool pressed);

} // namespace controls
