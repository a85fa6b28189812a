// The settings record of CxImage::StampTextBox (Windows only: it holds a LOGFONT).
// CxImage::InitTextSettings fills it with the defaults.
#pragma once

#include <windows.h>

constexpr int kTextSettingsChars = 4096;

struct TextSettings {
    char text[kTextSettingsChars];  // zero-terminated; lines separated by carriage returns
    LOGFONTA font;
    COLORREF textColor;
    LONG alignment;  // 0 left, 1 centre, 2 right
    BYTE box;        // non-zero: draw a background box
    COLORREF boxColor;
    float boxOpacity;   // 0-1
    BYTE cornerRadius;  // percent of the line height
};
