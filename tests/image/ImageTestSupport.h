// Helpers shared by the image library's tests: fixture files and pixel views.
#pragma once

#include "image/CxImage.h"

#include <string>
#include <vector>

// Path of a file in tests/image/fixtures (in the source tree).
std::string FixturePath(const std::string& name);
std::vector<BYTE> ReadFixture(const std::string& name);

// The picture as top-down RGBA bytes, alpha as drawing would use it: the alpha
// plane, else palette alpha when enabled, else 0 for the transparent index, else 255.
std::vector<BYTE> EffectiveRgba(const CxImage& image);

// A 24-bit image of the given size whose pixel (x, y) is colour(x, y).
CxImage MakeImage(DWORD width, DWORD height, RgbQuad (*color)(long x, long y), bool withAlpha = false);

RgbQuad Quad(BYTE red, BYTE green, BYTE blue, BYTE alpha = 0);
