// WBMP decoding and encoding. Sizes are single bytes here; standard readers take them
// as multi-byte integers, which agree with this layout only below 128.
#include "image/WbmpCodec.h"

#include "image/CodecError.h"
#include "image/ImageStream.h"

#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = 4;
constexpr DWORD kMaxSide = 255;

}  // namespace

bool WbmpCodec::Decode(ImageStream* stream) {
    try {
        BYTE header[kHeaderBytes];
        if (stream == nullptr || stream->Read(header, 1, kHeaderBytes) != kHeaderBytes) {
            throw CodecError{"Not a WBMP"};
        }
        if (header[0] != 0) {
            throw CodecError{"Unsupported WBMP type"};
        }
        if (header[2] == 0 || header[3] == 0) {
            throw CodecError{"Corrupted WBMP"};
        }
        if (Create(header[2], header[3], 1, kImageFormatWbmp) == nullptr) {
            throw CodecError{"WBMP Create failed"};
        }
        SetGrayPalette();
        const std::size_t rowBytes = (header[2] + 7) / 8;
        for (long y = header[3] - 1; y >= 0; y--) {
            // A truncated file is refused rather than shown with invented black rows.
            if (stream->Read(RowPointer(y), 1, rowBytes) != rowBytes) {
                throw CodecError{"Corrupted WBMP"};
            }
        }
        return true;
    } catch (const CodecError& error) {
        SetLastError(error.text);
        return false;
    }
}

bool WbmpCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    if (GetBpp() != 1 || GetWidth() > kMaxSide || GetHeight() > kMaxSide) {
        SetLastError("Can't save this image as WBMP");
        return false;
    }
    std::vector<BYTE> out = {0, 0, static_cast<BYTE>(GetWidth()), static_cast<BYTE>(GetHeight())};
    const std::size_t rowBytes = (GetWidth() + 7) / 8;
    for (long y = static_cast<long>(GetHeight()) - 1; y >= 0; y--) {
        const BYTE* row = RowPointer(y);
        out.insert(out.end(), row, row + rowBytes);
    }
    if (stream->Write(out.data(), 1, out.size()) != out.size()) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}
