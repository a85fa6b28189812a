// GIF encoding: one palette image, several images with a loop count, or a 24-bit
// image cut into 17 x 15 tiles that each carry a palette of their own colours.
#include "image/ByteOrder.h"
#include "image/GifCodec.h"
#include "image/GifLzwEncoder.h"
#include "image/ImageStream.h"

#include <algorithm>

namespace {

constexpr BYTE kExtension = 0x21;
constexpr BYTE kImageSeparator = 0x2C;
constexpr BYTE kTrailer = 0x3B;
constexpr BYTE kTableFlag = 0x80;
constexpr BYTE kNoTableScreenFlags = 0x11;
constexpr long kTileWidth = 17;
constexpr long kTileHeight = 15;

GifLzwEncoder::Coder CoderFor(DWORD option) {
    switch (option) {
    case 1:
        return GifLzwEncoder::Coder::Uncompressed;
    case 2:
        return GifLzwEncoder::Coder::RunLength;
    default:
        return GifLzwEncoder::Coder::Lzw;
    }
}

void AppendTable(std::vector<BYTE>& out, const CxImage& image) {
    for (DWORD i = 0; i < image.GetNumColors(); i++) {
        const RgbQuad c = image.GetPaletteColor(static_cast<BYTE>(i));
        out.insert(out.end(), {c.red, c.green, c.blue});
    }
}

void AppendHeader(std::vector<BYTE>& out) {
    const char signature[] = "GIF89a";
    out.insert(out.end(), signature, signature + 6);
}

}  // namespace

void GifCodec::AppendScreen(std::vector<BYTE>& out, const CxImage& first) const {
    AppendHeader(out);
    AppendLe16(out, first.GetWidth());
    AppendLe16(out, first.GetHeight());
    const int bpp = first.GetBpp();
    if (first.IsIndexed()) {
        out.push_back(static_cast<BYTE>(kTableFlag | (((bpp + 7) << 5) & 0xFF) | (bpp - 1)));
    } else {
        out.push_back(kNoTableScreenFlags);
    }
    out.push_back(0);
    out.push_back(0);
    if (first.IsIndexed()) {
        AppendTable(out, first);
    }
}

void GifCodec::AppendControl(std::vector<BYTE>& out, const CxImage& image) const {
    out.insert(out.end(), {kExtension, 0xF9, 4});
    out.push_back(static_cast<BYTE>(((image.GetDisposal() & 7) << 2) | (image.IsTransparent() ? 1 : 0)));
    AppendLe16(out, static_cast<DWORD>(image.GetFrameDelay()));
    out.push_back(static_cast<BYTE>(image.IsTransparent() ? image.GetTransIndex() : 0));
    out.push_back(0);
}

void GifCodec::AppendComment(std::vector<BYTE>& out) const {
    if (m_gif.comment.empty()) {
        return;
    }
    out.insert(out.end(), {kExtension, 0xFE, static_cast<BYTE>(m_gif.comment.size())});
    out.insert(out.end(), m_gif.comment.begin(), m_gif.comment.end());
    out.push_back(0);
}

void GifCodec::AppendImage(std::vector<BYTE>& out, CxImage& image, bool localTable) const {
    long x = 0;
    long y = 0;
    image.GetOffset(&x, &y);
    out.push_back(kImageSeparator);
    AppendLe16(out, static_cast<DWORD>(x));
    AppendLe16(out, static_cast<DWORD>(y));
    AppendLe16(out, image.GetWidth());
    AppendLe16(out, image.GetHeight());
    const int bpp = image.GetBpp();
    out.push_back(localTable ? static_cast<BYTE>(kTableFlag | (bpp - 1)) : 0);
    if (localTable) {
        AppendTable(out, image);
    }
    const int minimumCodeSize = std::max(bpp, 2);
    out.push_back(static_cast<BYTE>(minimumCodeSize));
    std::vector<BYTE> pixels;
    pixels.reserve(static_cast<std::size_t>(image.GetWidth()) * image.GetHeight());
    for (long row = static_cast<long>(image.GetHeight()) - 1; row >= 0; row--) {
        for (long column = 0; column < static_cast<long>(image.GetWidth()); column++) {
            pixels.push_back(image.GetPixelIndex(column, row));
        }
    }
    GifLzwEncoder encoder(out, minimumCodeSize, CoderFor(GetCodecOption(kImageFormatGif)));
    encoder.Encode(pixels);
}

// Each tile is an 8-bit frame whose entry 1 + 17 x row + column holds that pixel's
// colour; entry 0 stays free for the transparent colour.
void GifCodec::AppendTiles(std::vector<BYTE>& out) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    for (long top = 0; top < height; top += kTileHeight) {
        for (long left = 0; left < width; left += kTileWidth) {
            const long tileWidth = std::min(kTileWidth, width - left);
            const long tileHeight = std::min(kTileHeight, height - top);
            CxImage tile(static_cast<DWORD>(tileWidth), static_cast<DWORD>(tileHeight), 8, kImageFormatGif);
            if (IsTransparent()) {
                tile.SetPaletteEntry(0, GetTransColor());
                tile.SetTransIndex(0);
            }
            for (long row = 0; row < tileHeight; row++) {
                for (long column = 0; column < tileWidth; column++) {
                    const BYTE entry = static_cast<BYTE>(1 + kTileWidth * row + column);
                    const long imageRow = height - 1 - (top + row);
                    tile.SetPaletteEntry(entry, GetPixelColor(left + column, imageRow, false));
                    tile.SetPixelIndex(column, tileHeight - 1 - row, entry);
                }
            }
            tile.SetOffset(left, top);
            tile.SetDisposal(GetDisposal());
            AppendControl(out, tile);
            AppendImage(out, tile, true);
        }
    }
}

bool GifCodec::WriteOut(ImageStream* stream, const std::vector<BYTE>& out) {
    if (stream->Write(out.data(), 1, out.size()) != out.size() || !stream->Flush()) {
        SetLastError("Write Error in GIF file");
        return false;
    }
    return true;
}

bool GifCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    std::vector<BYTE> out;
    AppendScreen(out, *this);
    if (GetBpp() > 8) {
        AppendComment(out);
        AppendTiles(out);
    } else {
        AppendControl(out, *this);
        AppendComment(out);
        AppendImage(out, *this, false);
    }
    out.push_back(kTrailer);
    return WriteOut(stream, out);
}

bool GifCodec::EncodeFrames(ImageStream* stream, CxImage** images, int count, bool localColourTables) {
    if (stream == nullptr) {
        SetLastError("invalid file pointer");
        return false;
    }
    if (images == nullptr || count <= 0) {
        SetLastError("multipage GIF, no images!");
        return false;
    }
    for (int i = 0; i < count; i++) {
        // Every frame is written with a palette; a true-colour frame has none to give.
        if (images[i] == nullptr || !images[i]->IsValid() || !images[i]->IsIndexed()) {
            SetLastError("Bad image pointer");
            return false;
        }
    }
    std::vector<BYTE> out;
    AppendScreen(out, *images[0]);
    if (m_gif.loops != 1) {
        const char application[] = "NETSCAPE2.0";
        out.insert(out.end(), {kExtension, 0xFF, 11});
        out.insert(out.end(), application, application + 11);
        out.insert(out.end(), {3, 1});
        AppendLe16(out, static_cast<DWORD>(std::max(m_gif.loops - 1, 0)));
        out.push_back(0);
    }
    AppendComment(out);
    for (int i = 0; i < count; i++) {
        AppendControl(out, *images[i]);
        AppendImage(out, *images[i], localColourTables);
    }
    out.push_back(kTrailer);
    return WriteOut(stream, out);
}
