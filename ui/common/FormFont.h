#pragma once

#include <QFont>

// The forms' typeface, Tahoma (or the system's stand-in), with its character height in
// pixels: 11 pixels is the forms' 8 points.
inline QFont tahoma(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
