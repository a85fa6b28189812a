// Fuzz target: decoding arbitrary bytes with the GIF codec, then encoding what
// decoded and decoding that again.
#include "image/CxImage.h"
#include "tests/image/ImageFuzzLimits.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (DeclaresHugeImage(data, size, kImageFormatGif)) {
        return 0;
    }
    CxImage image;
    // The first byte picks the frame, so multi-frame paths are reached too.
    image.SetFrame(size > 0 ? data[0] % 4 : 0);
    // Re-encoding is checked on small pictures only: large ones just cost time.
    constexpr std::uint64_t kMaxEncodedPixels = 1u << 16;
    if (!image.DecodeMemory(data, static_cast<DWORD>(size), kImageFormatGif) ||
        static_cast<std::uint64_t>(image.GetWidth()) * image.GetHeight() > kMaxEncodedPixels) {
        return 0;
    }
    BYTE* buffer = nullptr;
    long encodedSize = 0;
    if (image.EncodeMemory(&buffer, &encodedSize, kImageFormatGif)) {
        CxImage again;
        again.DecodeMemory(buffer, static_cast<DWORD>(encodedSize), kImageFormatGif);
        std::free(buffer);
    }
    return 0;
}
