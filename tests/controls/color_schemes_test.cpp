#include "controls/color_schemes.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(Skins, EachSkinLinksItsSchemesAndTint) {
    struct Expected {
        PanelScheme panel;
        ButtonScheme button;
        QRgb tint;
        int buttonIndex; // one distinctive button color of the skin's scheme
        QRgb buttonColor;
    };
    const Expected expected[SkinCount] = {
        {PanelScheme::csDesert, ButtonScheme::csNeoDesert, 0xFFE1A4, 1, 0xFFBE37},
        {PanelScheme::csGrass, ButtonScheme::csNeoGrass, 0xCBF2B0, 10, 0x3D7917},
        {PanelScheme::csRose, ButtonScheme::csNeoRose, 0xFFCCCC, 15, 0xFF5E5E},
        {PanelScheme::csSilver, ButtonScheme::csNeoSilver, 0xDEE0DA, 24, 0xADADAD},
        {PanelScheme::csSky, ButtonScheme::csNeoSky, 0xC1E0FF, 2, 0x51A8FF},
        {PanelScheme::csSun, ButtonScheme::csNeoSun, 0xFFFFBF, 13, 0xFBF066},
    };
    for (int i = 0; i < SkinCount; ++i) {
        SCOPED_TRACE(i);
        const Skin s = skin(i);
        const Expected& e = expected[i];
        EXPECT_EQ(s.panel, e.panel);
        EXPECT_EQ(s.button, e.button);
        EXPECT_EQ(s.tint, QColor(e.tint));
        // The tint is the gradient color of the skin's panel scheme.
        EXPECT_EQ(panelSchemeColors(s.panel).grad, s.tint);
        EXPECT_EQ(panelSchemeColors(s.panel).face, QColor(0xFFFFFF));
        const ButtonSchemeColors b = buttonSchemeColors(s.button);
        EXPECT_TRUE(b.gradient);
        EXPECT_EQ(b.colors[static_cast<size_t>(e.buttonIndex)], QColor(e.buttonColor));
        EXPECT_EQ(b.colors[19], QColor(0xFFFFFF)); // DisabledColorGrad
        for (const QColor& c : b.colors)
            EXPECT_TRUE(c.isValid());
    }
}

TEST(Skins, IndicesOutsideTheTableFallBackToSilver) {
    for (int index : {-1, 6, 100, INT_MIN, INT_MAX}) {
        const Skin s = skin(index);
        EXPECT_EQ(s.panel, PanelScheme::csSilver) << index;
        EXPECT_EQ(s.button, ButtonScheme::csNeoSilver) << index;
        EXPECT_EQ(s.tint, QColor(222, 224, 218)) << index;
    }
}

TEST(Skins, PanelSchemeColorsAndTheFlatButtonFamily) {
    const PanelColors rose = panelSchemeColors(PanelScheme::csRose);
    EXPECT_EQ(rose.light, QColor(0xCC5106));
    EXPECT_EQ(rose.dark, QColor(0x9D0000));
    EXPECT_FALSE(panelSchemeColors(PanelScheme::csCustom).face.isValid());

    // The flat family carries no gradient colors (indices 1, 7, 13, 19).
    const ButtonSchemeColors sky = buttonSchemeColors(ButtonScheme::csSky);
    EXPECT_FALSE(sky.gradient);
    for (size_t i : {1u, 7u, 13u, 19u})
        EXPECT_FALSE(sky.colors[i].isValid()) << i;
    EXPECT_EQ(sky.colors[0], QColor(0xC1E0FF));
    EXPECT_EQ(sky.colors[16], QColor(0x0059B3)); // DownColorBorder
    EXPECT_EQ(sky.colors[24], QColor(0x149BDC));
    EXPECT_EQ(buttonSchemeColors(ButtonScheme::csSilver).colors[8], QColor(0x797979));
}
