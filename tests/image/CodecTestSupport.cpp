// Helpers for the codec tests.
#include "tests/image/CodecTestSupport.h"

#include "image/ByteOrder.h"
#include "tests/image/ImageTestSupport.h"

#include <cstdlib>

namespace {

BYTE EffectiveAlpha(const CxImage& image, long x, long y) {
    const RgbQuad colour = image.GetPixelColor(x, y, false);
    if (image.AlphaIsValid()) {
        return image.AlphaGet(x, y);
    }
    if (image.IsIndexed() && image.AlphaPaletteIsEnabled()) {
        return colour.alpha;
    }
    if (!image.IsTransparent()) {
        return 255;
    }
    if (image.IsIndexed()) {
        return image.GetPixelIndex(x, y) == image.GetTransIndex() ? 0 : 255;
    }
    const RgbQuad key = image.GetTransColor();
    return colour.blue == key.blue && colour.green == key.green && colour.red == key.red ? 0 : 255;
}

}  // namespace

std::vector<BYTE> ReadCodecFixture(const std::string& name) {
    return ReadFixture("codecs/" + name);
}

CxImage DecodeCodecFixture(const std::string& name, DWORD format, long frame) {
    const std::vector<BYTE> bytes = ReadCodecFixture(name);
    CxImage image;
    image.SetFrame(frame);
    if (bytes.empty() || !image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), format)) {
        ADD_FAILURE() << name << ": " << image.GetLastError();
    }
    return image;
}

::testing::AssertionResult MatchesReference(const CxImage& image,
                                            const std::string& referenceName,
                                            int tolerance) {
    const std::vector<BYTE> expected = ReadCodecFixture(referenceName);
    const long width = static_cast<long>(image.GetWidth());
    const long height = static_cast<long>(image.GetHeight());
    if (expected.size() != static_cast<std::size_t>(width) * height * 4 || expected.empty()) {
        return ::testing::AssertionFailure() << "size " << width << "x" << height << " does not match "
                                             << expected.size() << " reference bytes";
    }
    for (long row = 0; row < height; row++) {
        for (long x = 0; x < width; x++) {
            const BYTE* want = &expected[4 * (static_cast<std::size_t>(row) * width + x)];
            const long y = height - 1 - row;
            const RgbQuad got = image.GetPixelColor(x, y, false);
            const BYTE alpha = EffectiveAlpha(image, x, y);
            const bool colourDiffers = want[3] != 0 && (std::abs(got.red - want[0]) > tolerance ||
                                                        std::abs(got.green - want[1]) > tolerance ||
                                                        std::abs(got.blue - want[2]) > tolerance);
            if (alpha != want[3] || colourDiffers) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << row << " from the top): got " << int(got.red) << ","
                       << int(got.green) << "," << int(got.blue) << "," << int(alpha) << " want "
                       << int(want[0]) << "," << int(want[1]) << "," << int(want[2]) << "," << int(want[3]);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<BYTE> BitmapInfoHeader(std::int32_t width,
                                   std::int32_t height,
                                   WORD bits,
                                   DWORD compression,
                                   DWORD imageBytes,
                                   DWORD coloursUsed) {
    std::vector<BYTE> out;
    AppendLe32(out, 40);
    AppendLe32(out, static_cast<DWORD>(width));
    AppendLe32(out, static_cast<DWORD>(height));
    AppendLe16(out, 1);
    AppendLe16(out, bits);
    AppendLe32(out, compression);
    AppendLe32(out, imageBytes);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    AppendLe32(out, coloursUsed);
    AppendLe32(out, 0);
    return out;
}

std::vector<BYTE> EncodeToBytes(CxImage& image, DWORD format) {
    BYTE* buffer = nullptr;
    long size = 0;
    if (!image.EncodeMemory(&buffer, &size, format)) {
        ADD_FAILURE() << image.GetLastError();
        return {};
    }
    std::vector<BYTE> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

CxImage DecodeBytes(const std::vector<BYTE>& bytes, DWORD format) {
    CxImage image;
    if (bytes.empty() || !image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), format)) {
        ADD_FAILURE() << "decode: " << image.GetLastError();
    }
    return image;
}
