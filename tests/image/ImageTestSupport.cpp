// Helpers shared by the image library's tests.
#include "tests/image/ImageTestSupport.h"

#include "tests/support/TestTrees.h"

#include <cstdio>
#include <cstdlib>

std::string FixturePath(const std::string& name) {
    return SourceTreePath("tests/image/fixtures/" + name);
}

std::vector<BYTE> ReadFixture(const std::string& name) {
    std::vector<BYTE> bytes;
    std::FILE* file = std::fopen(FixturePath(name).c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    BYTE buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    std::fclose(file);
    return bytes;
}

std::vector<BYTE> EffectiveRgba(const CxImage& image) {
    std::vector<BYTE> out;
    const long width = static_cast<long>(image.GetWidth());
    const long height = static_cast<long>(image.GetHeight());
    for (long row = 0; row < height; row++) {
        const long y = height - 1 - row;
        for (long x = 0; x < width; x++) {
            const RgbQuad color = image.GetPixelColor(x, y, false);
            BYTE alpha = 255;
            if (image.AlphaIsValid()) {
                alpha = image.AlphaGet(x, y);
            } else if (image.IsIndexed() && image.AlphaPaletteIsEnabled()) {
                alpha = color.alpha;
            } else if (image.IsIndexed() && image.IsTransparent() &&
                       image.GetPixelIndex(x, y) == image.GetTransIndex()) {
                alpha = 0;
            }
            out.insert(out.end(), {color.red, color.green, color.blue, alpha});
        }
    }
    return out;
}

CxImage MakeImage(DWORD width, DWORD height, RgbQuad (*color)(long x, long y), bool withAlpha) {
    CxImage image(width, height, 24);
    if (withAlpha) {
        image.AlphaCreate();
    }
    for (long y = 0; y < static_cast<long>(height); y++) {
        for (long x = 0; x < static_cast<long>(width); x++) {
            image.SetPixelColor(x, y, color(x, y), withAlpha);
        }
    }
    return image;
}

RgbQuad Quad(BYTE red, BYTE green, BYTE blue, BYTE alpha) {
    return RgbQuad{blue, green, red, alpha};
}
