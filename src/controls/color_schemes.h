#pragma once

#include <QColor>
#include <array>

namespace controls {

// Named color sets of the gradient button, in ordinal order.
enum class ButtonScheme {
    csNeoDesert,
    csNeoSky,
    csNeoGrass,
    csNeoSilver,
    csNeoRose,
    csNeoSun,
    csDesert,
    csGrass,
    csSky,
    csSun,
    csRose,
    csSilver,
    csCustom
};

// Named color sets of the gradient panel, in ordinal order.
enum class PanelScheme { csCustom, csDesert, csGrass, csSilver, csSky, csRose, csSun };

// The 25 colors of a button, in setter-index order: 0 ColorFace, 1 ColorGrad, 2 ColorDark,
// 3 ColorLight, 4 ColorBorder, 5 ColorText, 6..11 Over*, 12..17 Down*, 18..23 Disabled*,
// 24 ColorFocusRect.
constexpr int ButtonColorCount = 25;
using ButtonColors = std::array<QColor, ButtonColorCount>;

struct ButtonSchemeColors {
    ButtonColors colors;
    bool gradient; // the gradient family; the flat family leaves indices 1, 7, 13, 19 untouched
};

// Colors of a button scheme (not csCustom).
ButtonSchemeColors buttonSchemeColors(ButtonScheme scheme);

struct PanelColors {
    QColor face, grad, light, dark;
};

// Colors of a panel scheme (not csCustom).
PanelColors panelSchemeColors(PanelScheme scheme);

// The six skins of the skins selector: 0 Desert, 1 Grass, 2 Rose, 3 Silver, 4 Sky, 5 Sun.
constexpr int SkinCount = 6;
constexpr int DefaultSkin = 3;

struct Skin {
    PanelScheme panel;
    ButtonScheme button;
    QColor tint; // the title bar's gradient end color and the tint of every other list row
};

// The skin of an index; an index outside 0..5 gives the default skin (Silver).
Skin skin(int index);

} // namespace controls
