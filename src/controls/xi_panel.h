#pragma once

#include "controls/color_schemes.h"

#include <QImage>
#include <QWidget>

namespace controls {

// The self-drawn panel: a two-color gradient in one of three directions, the standard panel
// bevels in two colors of its own, and a caption. Children are laid on top of it.
class TXiPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    enum class FillDirection { fdHorizontal, fdVertical, fdDiagonal };
    enum class Bevel { bvNone, bvLowered, bvRaised, bvSpace };
    enum class Alignment { taLeftJustify, taRightJustify, taCenter };

    explicit TXiPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // 0 ColorFace, 1 ColorGrad, 2 ColorLight, 3 ColorDark; never changes the scheme.
    QColor colorByIndex(int index) const;
    void setColorByIndex(int index, const QColor& color);
    PanelScheme colorScheme() const { return scheme_; }
    void setColorScheme(PanelScheme scheme);
    FillDirection fillDirection() const { return fill_; }
    void setFillDirection(FillDirection fill);

    Bevel bevelInner() const { return bevelInner_; }
    void setBevelInner(Bevel bevel);
    Bevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(Bevel bevel);
    // The bevel width is kept within 1..MaxBevelWidth.
    static constexpr int MaxBevelWidth = 1000;
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);

    // Builds the image exactly as it is copied to the screen.
    QImage renderImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor colors_[4];
    PanelScheme scheme_ = PanelScheme::csDesert;
    FillDirection fill_ = FillDirection::fdVertical;
    Bevel bevelInner_ = Bevel::bvNone;
    Bevel bevelOuter_ = Bevel::bvRaised;
    int bevelWidth_ = 1;
    Alignment alignment_ = Alignment::taCenter;
};

// The panel every window of the launcher uses: horizontal gradient from white to the skin's
// tint, a lowered inner bevel and no outer bevel, no caption.
TXiPanel* makeSkinPanel(QWidget* parent, const QString& objectName, const QRect& geometry);

} // namespace controls
