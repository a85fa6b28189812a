// GIF decoding: the frames are counted first, then the blocks are walked and each
// frame is drawn onto a screen-sized canvas until the wanted one is reached. Every
// loop over blocks ends at the end of the stream, so truncated files cannot hang it.
#include "image/GifCodec.h"

#include "image/ByteOrder.h"
#include "image/DecodeBudget.h"
#include "image/GifLzwDecoder.h"
#include "image/ImageStream.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kScreenBytes = 13;
constexpr std::size_t kDescriptorBytes = 9;
constexpr int kExtension = 0x21;
constexpr int kImageSeparator = 0x2C;
constexpr int kTrailer = 0x3B;
constexpr int kGraphicControl = 0xF9;
constexpr int kComment = 0xFE;
constexpr int kApplication = 0xFF;
constexpr BYTE kTableFlag = 0x80;
constexpr BYTE kInterlaceFlag = 0x40;
constexpr std::size_t kMaxCommentChars = 255;
// A 12-bit code stands for at most 4096 pixels: no code stream expands further.
constexpr std::uint64_t kLzwLargestExpansion = 4096 * 8 / 12 + 1;

bool ReadExact(ImageStream* stream, BYTE* buffer, std::size_t bytes) {
    return bytes == 0 || stream->Read(buffer, 1, bytes) == bytes;
}

// Reads one data sub-block into data (room for 255 bytes): its length byte, then that
// many bytes. A length of 0 is the terminator.
bool ReadSubBlock(ImageStream* stream, BYTE* data, long& length) {
    length = stream->GetC();
    return length >= 0 && ReadExact(stream, data, static_cast<std::size_t>(length));
}

bool StartsBlock(BYTE value) {
    return value == kExtension || value == kImageSeparator || value == kTrailer;
}

// Skips bytes up to and including the next 0 byte, a chunk at a time rather than byte
// by byte; at the end of the stream it stops there.
void SkipPastZero(ImageStream* stream) {
    BYTE chunk[4096];
    for (;;) {
        const std::size_t got = stream->Read(chunk, 1, sizeof(chunk));
        const BYTE* begin = chunk;
        const BYTE* end = begin + got;
        const BYTE* zero = std::find(begin, end, BYTE{0});
        if (zero != end) {
            stream->Seek(zero + 1 - end, 1);
            return;
        }
        if (got < sizeof(chunk)) {
            return;
        }
    }
}

// Reads the next block's first byte, or -1 at the end. A byte that starts no block is
// taken for the rest of a damaged block's sub-blocks: it is skipped with everything up to
// the next 0 byte, their terminator, so that a block-start value inside that data is
// not read as a block. A 0 byte there is a terminator on its own and goes alone.
long NextBlock(ImageStream* stream) {
    for (;;) {
        const long value = stream->GetC();
        if (value < 0 || StartsBlock(static_cast<BYTE>(value))) {
            return value;
        }
        if (value != 0) {
            SkipPastZero(stream);
        }
    }
}

// Skips data sub-blocks up to and including the terminator; false at the end of the stream.
bool SkipSubBlocks(ImageStream* stream) {
    for (;;) {
        const long length = stream->GetC();
        if (length < 0) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (!stream->Seek(length, 1) || stream->Eof()) {
            return false;
        }
    }
}

bool ReadTable(ImageStream* stream, int entries, std::vector<RgbQuad>& table) {
    std::vector<BYTE> raw(static_cast<std::size_t>(entries) * 3);
    if (!ReadExact(stream, raw.data(), raw.size())) {
        return false;
    }
    table.resize(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; i++) {
        table[i] = RgbQuad{raw[3 * i + 2], raw[3 * i + 1], raw[3 * i], 0};
    }
    return true;
}

// The row each coded row lands on: interlaced images send every 8th row from 0, every
// 8th from 4, every 4th from 2, then every 2nd from 1.
std::vector<long> RowOrder(long height, bool interlaced) {
    std::vector<long> order;
    if (!interlaced) {
        for (long y = 0; y < height; y++) {
            order.push_back(y);
        }
        return order;
    }
    const long starts[] = {0, 4, 2, 1};
    const long steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; pass++) {
        for (long y = starts[pass]; y < height; y += steps[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

int DepthForEntries(std::size_t entries) {
    return entries <= 2 ? 1 : (entries <= 16 ? 4 : 8);
}

bool FitsInside(const BYTE* descriptor, long screenWidth, long screenHeight) {
    const long left = ReadLe16(descriptor);
    const long top = ReadLe16(descriptor + 2);
    const long width = ReadLe16(descriptor + 4);
    const long height = ReadLe16(descriptor + 6);
    return width > 0 && height > 0 && left + width <= screenWidth && top + height <= screenHeight;
}

// After bad codes the data's block structure cannot be trusted: the next image starts
// at the first separator that follows a 0 byte, and the stream is left on it.
void SeekNextSeparator(ImageStream* stream, std::int64_t dataStart) {
    stream->Seek(dataStart, 0);
    long previous = -1;
    for (;;) {
        const long value = stream->GetC();
        if (value < 0) {
            return;
        }
        if (value == kImageSeparator && previous == 0) {
            stream->Seek(-1, 1);
            return;
        }
        previous = value;
    }
}

}  // namespace

struct GifCodec::Screen {
    long width = 0;
    long height = 0;
    int background = 0;
    std::vector<RgbQuad> globalTable;
    bool firstCoversScreen = false;
};

struct GifCodec::Frame {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    int transIndex = -1;
    int delay = 0;
    int disposal = 0;
    std::vector<RgbQuad> palette;
    std::vector<BYTE> pixels;  // top row first
};

// Counts the image descriptors that fit inside the screen; the walk in Decode uses the
// same rule, so frame N of the count is frame N of the walk.
long GifCodec::CountFrames(ImageStream* stream, const Screen& screen) {
    long count = 0;
    for (;;) {
        const long block = NextBlock(stream);
        if (block < 0 || block == kTrailer) {
            return count;
        }
        if (block == kExtension) {
            if (stream->GetC() < 0 || !SkipSubBlocks(stream)) {
                return count;
            }
            continue;
        }
        BYTE descriptor[kDescriptorBytes];
        if (!ReadExact(stream, descriptor, sizeof(descriptor))) {
            return count;
        }
        if ((descriptor[8] & kTableFlag) != 0) {
            stream->Seek(3 * (2 << (descriptor[8] & 7)), 1);
        }
        if (stream->GetC() < 0 || !SkipSubBlocks(stream)) {
            return count;
        }
        count += FitsInside(descriptor, screen.width, screen.height) ? 1 : 0;
    }
}

bool GifCodec::ReadExtension(ImageStream* stream, Frame& frame) {
    const long label = stream->GetC();
    if (label < 0) {
        return false;
    }
    BYTE block[256];
    long length = 0;
    if (!ReadSubBlock(stream, block, length)) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    if (label == kGraphicControl && length >= 4) {
        frame.transIndex = (block[0] & 1) != 0 ? block[3] : -1;
        frame.delay = ReadLe16(block + 1);
        frame.disposal = (block[0] >> 2) & 7;
    } else if (label == kComment) {
        m_gif.comment.assign(reinterpret_cast<const char*>(block),
                             std::min<std::size_t>(static_cast<std::size_t>(length), kMaxCommentChars));
    } else if (label == kApplication && length == 11) {
        BYTE data[256];
        long dataLength = 0;
        if (!ReadSubBlock(stream, data, dataLength)) {
            return false;
        }
        if (dataLength == 0) {
            return true;
        }
        if (dataLength > 2) {
            m_gif.loops = ReadLe16(data + 1);
        }
    }
    return SkipSubBlocks(stream);
}

// Frames that do not fit inside the screen are skipped, as the count skips them, so that
// no frame can ask for more memory than the screen.
GifCodec::FrameRead GifCodec::ReadFrame(ImageStream* stream, const Screen& screen, Frame& frame) {
    BYTE descriptor[kDescriptorBytes];
    if (!ReadExact(stream, descriptor, sizeof(descriptor))) {
        return FrameRead::kFailed;
    }
    frame.left = ReadLe16(descriptor);
    frame.top = ReadLe16(descriptor + 2);
    frame.width = ReadLe16(descriptor + 4);
    frame.height = ReadLe16(descriptor + 6);
    if ((descriptor[8] & kTableFlag) != 0) {
        if (!ReadTable(stream, 2 << (descriptor[8] & 7), frame.palette)) {
            return FrameRead::kFailed;
        }
    } else {
        frame.palette = screen.globalTable;
    }
    if (frame.palette.empty()) {
        frame.palette.resize(2, RgbQuad{0, 0, 0, 0});
    }
    const long minimumCodeSize = stream->GetC();
    if (minimumCodeSize < 0) {
        return FrameRead::kFailed;
    }
    if (!FitsInside(descriptor, screen.width, screen.height)) {
        return SkipSubBlocks(stream) ? FrameRead::kSkipped : FrameRead::kFailed;
    }
    const std::int64_t dataStart = stream->Tell();
    std::vector<BYTE> coded(static_cast<std::size_t>(frame.width) * frame.height,
                            static_cast<BYTE>(frame.transIndex >= 0 ? frame.transIndex : 0));
    GifLzwDecoder decoder(stream);
    if (!decoder.Decode(static_cast<int>(minimumCodeSize), coded)) {
        return FrameRead::kFailed;
    }
    if (decoder.BadCodes() > 0) {
        SeekNextSeparator(stream, dataStart);
    }
    const std::vector<long> order = RowOrder(frame.height, (descriptor[8] & kInterlaceFlag) != 0);
    frame.pixels.assign(coded.size(), 0);
    for (std::size_t row = 0; row < order.size(); row++) {
        std::memcpy(&frame.pixels[static_cast<std::size_t>(order[row]) * frame.width],
                    &coded[row * frame.width], static_cast<std::size_t>(frame.width));
    }
    return FrameRead::kRead;
}

// Frame pixels outside the screen are dropped; rows are counted from the screen's top.
void GifCodec::ComposePalette(const Frame& frame, CxImage& canvas) {
    const long screenHeight = static_cast<long>(canvas.GetHeight());
    for (long y = 0; y < frame.height; y++) {
        for (long x = 0; x < frame.width; x++) {
            const BYTE index = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
            if (index == frame.transIndex) {
                continue;
            }
            canvas.SetPixelIndex(frame.left + x, screenHeight - 1 - (frame.top + y), index);
        }
    }
}

void GifCodec::ComposeColour(const Frame& frame, CxImage& canvas) {
    const long screenHeight = static_cast<long>(canvas.GetHeight());
    for (long y = 0; y < frame.height; y++) {
        for (long x = 0; x < frame.width; x++) {
            const BYTE index = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
            if (index == frame.transIndex || index >= frame.palette.size()) {
                continue;
            }
            canvas.SetPixelColor(frame.left + x, screenHeight - 1 - (frame.top + y), frame.palette[index]);
        }
    }
}

// The canvas's indices become an image of the frame's own depth and palette.
bool GifCodec::FinishPalette(const Frame& frame, CxImage& canvas) {
    const int depth = frame.transIndex >= 0 ? 8 : DepthForEntries(frame.palette.size());
    if (Create(canvas.GetWidth(), canvas.GetHeight(), depth, kImageFormatGif) == nullptr) {
        return false;
    }
    std::vector<RgbQuad> palette = frame.palette;
    if (frame.transIndex >= 0) {
        palette.resize(256, RgbQuad{255, 255, 255, 0});
    }
    SetPalette(palette.data(), static_cast<DWORD>(palette.size()));
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            SetPixelIndex(x, y, canvas.GetPixelIndex(x, y));
        }
    }
    SetTransIndex(frame.transIndex);
    SetFrameDelay(frame.delay);
    m_gif.disposal = frame.disposal;
    return true;
}

bool GifCodec::Decode(ImageStream* stream) {
    BYTE head[kScreenBytes];
    if (stream == nullptr || !ReadExact(stream, head, sizeof(head)) || std::memcmp(head, "GIF8", 4) != 0) {
        return false;
    }
    Screen screen;
    screen.width = ReadLe16(head + 6);
    screen.height = ReadLe16(head + 8);
    screen.background = head[11];
    if (GetEscape() == -1) {
        m_header.biWidth = screen.width;
        m_header.biHeight = screen.height;
        return true;
    }
    m_gif = GifState{};
    if ((head[10] & kTableFlag) != 0 && !ReadTable(stream, 2 << (head[10] & 7), screen.globalTable)) {
        return false;
    }
    const std::int64_t blocksStart = stream->Tell();
    m_info.frameCount = CountFrames(stream, screen);
    stream->Seek(blocksStart, 0);
    const long wanted = GetFrame();
    const std::uint64_t screenPixels = static_cast<std::uint64_t>(screen.width) * screen.height;
    if (wanted < 0 || wanted >= m_info.frameCount ||
        !StreamCanFill(stream, screenPixels, kLzwLargestExpansion)) {
        return false;
    }
    CxImage canvas;
    bool colourMode = screen.globalTable.empty();
    Frame pending;
    long frameIndex = 0;
    bool composed = false;
    for (;;) {
        if (GetEscape() > 0) {
            return false;
        }
        const long block = NextBlock(stream);
        if (block < 0 || block == kTrailer) {
            break;
        }
        if (block == kExtension) {
            if (!ReadExtension(stream, pending)) {
                break;
            }
            continue;
        }
        Frame frame = pending;
        pending = Frame{};
        const FrameRead read = ReadFrame(stream, screen, frame);
        if (read == FrameRead::kFailed) {
            break;
        }
        if (read == FrameRead::kSkipped) {
            continue;
        }
        if (!composed) {
            colourMode = colourMode || frame.left != 0 || frame.top != 0 || frame.width < screen.width ||
                         frame.height < screen.height;
            canvas.CopySettings(*this);
            if (canvas.Create(screen.width, screen.height, colourMode ? 24 : 8, kImageFormatGif) == nullptr) {
                return false;
            }
            if (colourMode) {
                const RgbQuad clear =
                    frame.transIndex >= 0 && frame.transIndex < static_cast<int>(frame.palette.size())
                        ? frame.palette[frame.transIndex]
                        : RgbQuad{0, 0, 0, 0};
                for (long y = 0; y < screen.height; y++) {
                    for (long x = 0; x < screen.width; x++) {
                        canvas.SetPixelColor(x, y, clear);
                    }
                }
                if (frame.transIndex >= 0) {
                    canvas.SetTransColor(clear);
                    canvas.SetTransIndex(0);
                }
            } else {
                canvas.FillBytes(
                    static_cast<BYTE>(frame.transIndex >= 0 ? frame.transIndex : screen.background));
            }
            composed = true;
        }
        if (colourMode) {
            ComposeColour(frame, canvas);
        } else {
            ComposePalette(frame, canvas);
            if (frameIndex == wanted) {
                return FinishPalette(frame, canvas);
            }
            if (frame.disposal == 2) {
                canvas.FillBytes(
                    static_cast<BYTE>(frame.transIndex >= 0 ? frame.transIndex : screen.background));
            }
        }
        SetFrameDelay(frame.delay);
        m_gif.disposal = frame.disposal;
        frameIndex++;
    }
    if (!colourMode || !composed) {
        return false;
    }
    // Several frames composed onto a colour canvas: the result is the whole animation's last picture.
    canvas.SetFrameDelay(GetFrameDelay());
    canvas.SetDisposal(GetDisposal());
    canvas.SetLoops(GetLoops());
    canvas.SetComment(GetComment());
    const long frames = m_info.frameCount;
    canvas.SetFrame(frames - 1);
    const bool taken = TakeOver(canvas);
    m_info.frameCount = frames;
    m_info.format = kImageFormatGif;
    return taken;
}
