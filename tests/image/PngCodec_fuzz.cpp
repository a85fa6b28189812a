// Fuzz target: decoding arbitrary bytes, by the PNG codec and by probing every format.
#include "image/CxImage.h"
#include "tests/image/ImageFuzzLimits.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CxImage png;
    png.DecodeMemory(data, static_cast<DWORD>(size), kImageFormatPng);
    if (DeclaresHugeImage(data, size, kImageFormatNone)) {
        return 0;
    }
    CxImage probed;
    if (probed.DecodeMemory(data, static_cast<DWORD>(size), kImageFormatNone)) {
        BYTE* buffer = nullptr;
        long encodedSize = 0;
        if (probed.EncodeMemory(&buffer, &encodedSize, kImageFormatPng)) {
            std::free(buffer);
        }
    }
    return 0;
}
