#pragma once

#include <QFont>

namespace controls {

// The windows' font: Tahoma where installed, else the platform's sans-serif font, at a pixel
// size.
inline QFont designFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace controls
