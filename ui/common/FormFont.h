#pragma once

#include <QFont>

// The forms' typeface at a character height in pixels; a system without Tahoma substitutes
// its nearest sans-serif face.
inline QFont tahoma(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
