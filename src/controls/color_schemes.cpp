#include "controls/color_schemes.h"

#include <QRgb>

namespace controls {

namespace {

using Row = std::array<QRgb, 6>;

// One row per color in setter-index order; columns csNeoDesert, csNeoSky, csNeoGrass,
// csNeoSilver, csNeoRose, csNeoSun (the ordinal order of the gradient family).
constexpr std::array<Row, ButtonColorCount> GradientFamily{{
    {{0xFFECC6, 0xDDEEFF, 0xE8F9DD, 0xF3F3F3, 0xFFE8E8, 0xFFFFF0}}, // ColorFace
    {{0xFFBE37, 0x6CB6FF, 0x8EDF5E, 0xBCBCBC, 0xFF9595, 0xF9D820}}, // ColorGrad
    {{0xE89C00, 0x51A8FF, 0x5CB924, 0xA7A7A7, 0xFF8282, 0xBBBB00}}, // ColorDark
    {{0xFFE7B9, 0xD9ECFF, 0xDBF5CB, 0xF7F7F7, 0xFFDDDD, 0xFFFFF2}}, // ColorLight
    {{0x805600, 0x0059B3, 0x376F15, 0x626262, 0x9D0000, 0x646400}}, // ColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // ColorText
    {{0xFFE7B3, 0xD7EBFF, 0xD2F2BF, 0xF0F0F0, 0xFFDFDF, 0xFFFCD5}}, // OverColorFace
    {{0xF0A300, 0x46A3FF, 0x77D83D, 0xA6A6A6, 0xFF7777, 0xDCBC05}}, // OverColorGrad
    {{0xD28E00, 0x3E9EFF, 0x59B423, 0xA2A2A2, 0xFF6A6A, 0xA6A600}}, // OverColorDark
    {{0xFFDA95, 0xCAE4FF, 0xCBF0B5, 0xEEEEEE, 0xFFD7D7, 0xFFFFCC}}, // OverColorLight
    {{0x805600, 0x0059B3, 0x3D7917, 0x757575, 0x9D0000, 0x646400}}, // OverColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // OverColorText
    {{0xFFBA2B, 0x66B3FF, 0x83DC4E, 0xCACACA, 0xFFA6A6, 0xF5D105}}, // DownColorFace
    {{0xFFD277, 0x9DCEFF, 0xA6E680, 0xDADADA, 0xFFB9B9, 0xFBF066}}, // DownColorGrad
    {{0xFFD98A, 0xA8D3FF, 0xACE789, 0xE9E9E9, 0xFFCECE, 0xFFF366}}, // DownColorDark
    {{0xB77700, 0x3E9EFF, 0x3E7D17, 0x7C7C7C, 0xFF5E5E, 0x848400}}, // DownColorLight
    {{0xA67000, 0x0059B3, 0x397416, 0x4E4E4E, 0x9D0000, 0x646400}}, // DownColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // DownColorText
    {{0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE}}, // DisabledColorFace
    {{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}}, // DisabledColorGrad
    {{0xD2D2D2, 0xD2D2D2, 0xD2D2D2, 0xD2D2D2, 0xD2D2D2, 0xD2D2D2}}, // DisabledColorDark
    {{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}}, // DisabledColorLight
    {{0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}}, // DisabledColorBorder
    {{0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}}, // DisabledColorText
    {{0xFF8040, 0x53A9FF, 0x5CB924, 0xADADAD, 0xFF5E5E, 0xBBBB00}}, // ColorFocusRect
}};

// The flat family writes every color but the four gradient ones (indices 1, 7, 13, 19).
// Columns csDesert, csGrass, csSky, csSun, csRose, csSilver (their ordinal order).
constexpr std::array<int, 21> FlatIndices{0,  2,  3,  4,  5,  6,  8,  9,  10, 11, 12,
                                          14, 15, 16, 17, 18, 20, 21, 22, 23, 24};
constexpr std::array<Row, 21> FlatFamily{{
    {{0xFFDD95, 0xB7EB98, 0xC1E0FF, 0xFFFFA8, 0xFFC6C6, 0xE0E0E0}}, // ColorFace
    {{0xE89C00, 0x5CB924, 0x53A9FF, 0xBBBB00, 0xFF8282, 0xAEAEAE}}, // ColorDark
    {{0xFFE7B9, 0xDBF5CB, 0xD9ECFF, 0xFFFFF2, 0xFFDDDD, 0xF7F7F7}}, // ColorLight
    {{0x805600, 0x376F15, 0x0059B3, 0x646400, 0x9D0000, 0x626262}}, // ColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // ColorText
    {{0xFFD06F, 0x96E168, 0x9BCDFF, 0xFFF366, 0xFFB0B0, 0xCFCFCF}}, // OverColorFace
    {{0xD28E00, 0x59B423, 0x64B1FF, 0xA6A600, 0xFF6A6A, 0x797979}}, // OverColorDark
    {{0xFFDA95, 0xCBF0B5, 0xCAE4FF, 0xFFFFCC, 0xFFD7D7, 0xEEEEEE}}, // OverColorLight
    {{0x805600, 0x3D7917, 0x0059B3, 0x646400, 0x9D0000, 0x757575}}, // OverColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // OverColorText
    {{0xFFD06F, 0x83DC4E, 0x82C0FF, 0xFFEE22, 0xFF9F9F, 0xD3D3D3}}, // DownColorFace
    {{0xFFD98A, 0xACE789, 0xA8D3FF, 0xFFF366, 0xFF8888, 0xE9E9E9}}, // DownColorDark
    {{0xB77700, 0x3E7D17, 0x2291FF, 0x848400, 0xFF5E5E, 0x7C7C7C}}, // DownColorLight
    {{0xA67000, 0x397416, 0x0059B3, 0x646400, 0x9D0000, 0x4E4E4E}}, // DownColorBorder
    {{0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}}, // DownColorText
    {{0xE2E2E2, 0xE2E2E2, 0xE2E2E2, 0xE2E2E2, 0xE2E2E2, 0xE2E2E2}}, // DisabledColorFace
    {{0xD8D8D8, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}}, // DisabledColorDark
    {{0xEAEAEA, 0xEAEAEA, 0xEAEAEA, 0xEAEAEA, 0xEAEAEA, 0xEAEAEA}}, // DisabledColorLight
    {{0xC4C4C4, 0xC4C4C4, 0xC4C4C4, 0xC4C4C4, 0xC4C4C4, 0xC4C4C4}}, // DisabledColorBorder
    {{0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}}, // DisabledColorText
    {{0xFF8040, 0x21A400, 0x149BDC, 0xF48C00, 0xFF5E5E, 0x8A8A8A}}, // ColorFocusRect
}};

struct PanelRow {
    QRgb face, grad, light, dark;
};

// Indexed by the panel scheme's ordinal minus one (csCustom has no colors).
constexpr std::array<PanelRow, 6> PanelTable{{
    {0xFFFFFF, 0xFFE1A4, 0xD58F00, 0x9B6900}, // csDesert
    {0xFFFFFF, 0xCBF2B0, 0x6AB53E, 0x376F15}, // csGrass
    {0xFFFFFF, 0xDEE0DA, 0x7D7D7D, 0x626262}, // csSilver
    {0xFFFFFF, 0xC1E0FF, 0x4D96F0, 0x0059B3}, // csSky
    {0xFFFFFF, 0xFFCCCC, 0xCC5106, 0x9D0000}, // csRose
    {0xFFFFFF, 0xFFFFBF, 0x959500, 0x646400}, // csSun
}};

struct SkinRow {
    PanelScheme panel;
    ButtonScheme button;
    QRgb tint;
};

constexpr std::array<SkinRow, SkinCount> SkinTable{{
    {PanelScheme::csDesert, ButtonScheme::csNeoDesert, 0xFFE1A4},
    {PanelScheme::csGrass, ButtonScheme::csNeoGrass, 0xCBF2B0},
    {PanelScheme::csRose, ButtonScheme::csNeoRose, 0xFFCCCC},
    {PanelScheme::csSilver, ButtonScheme::csNeoSilver, 0xDEE0DA},
    {PanelScheme::csSky, ButtonScheme::csNeoSky, 0xC1E0FF},
    {PanelScheme::csSun, ButtonScheme::csNeoSun, 0xFFFFBF},
}};

} // namespace

ButtonSchemeColors buttonSchemeColors(ButtonScheme scheme) {
    ButtonSchemeColors result{{}, true};
    const int ordinal = static_cast<int>(scheme);
    if (ordinal >= 0 && ordinal <= static_cast<int>(ButtonScheme::csNeoSun)) {
        for (size_t i = 0; i < GradientFamily.size(); ++i)
            result.colors[i] = QColor(GradientFamily[i][static_cast<size_t>(ordinal)]);
        return result;
    }
    result.gradient = false;
    if (scheme == ButtonScheme::csCustom)
        return result; // no colors at all: every entry stays invalid
    const auto column = static_cast<size_t>(ordinal - static_cast<int>(ButtonScheme::csDesert));
    for (size_t row = 0; row < FlatIndices.size(); ++row)
        result.colors[static_cast<size_t>(FlatIndices[row])] = QColor(FlatFamily[row][column]);
    return result; // the four gradient entries stay invalid: the flat family leaves them alone
}

PanelColors panelSchemeColors(PanelScheme scheme) {
    const int ordinal = static_cast<int>(scheme);
    if (ordinal < 1 || ordinal > static_cast<int>(PanelTable.size()))
        return {};
    const PanelRow& row = PanelTable[static_cast<size_t>(ordinal - 1)];
    return {QColor(row.face), QColor(row.grad), QColor(row.light), QColor(row.dark)};
}

Skin skin(int index) {
    if (index < 0 || index >= SkinCount)
        index = DefaultSkin;
    const SkinRow& row = SkinTable[static_cast<size_t>(index)];
    return {row.panel, row.button, QColor(row.tint)};
}

} // namespace controls
