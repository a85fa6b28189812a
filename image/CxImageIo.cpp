// Decoding and encoding of images: the dispatch by format id to the codec classes and
// the wrappers for file names, open files and memory. A codec is a CxImage of its own
// made on the stack for one call; a decoded result replaces this image wholesale.
#include "image/BmpCodec.h"
#include "image/CxImage.h"
#include "image/FileImageStream.h"
#include "image/GifCodec.h"
#include "image/IcoCodec.h"
#include "image/MemoryImageStream.h"
#include "image/PcxCodec.h"
#include "image/PngCodec.h"
#include "image/TgaCodec.h"
#include "image/WbmpCodec.h"
#include "image/WmfCodec.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>

namespace {

// The order in which format 0 tries the codecs: strict signatures first.
constexpr DWORD kProbeOrder[] = {kImageFormatBmp, kImageFormatIco, kImageFormatGif,  kImageFormatPng,
                                 kImageFormatTga, kImageFormatPcx, kImageFormatWbmp, kImageFormatWmf};

const char kUnknownDecodeFormat[] = "Decode: Unknown or wrong format";
const char kUnknownEncodeFormat[] = "Encode: Unknown format";
const char kBufferNotEmpty[] = "the buffer must be empty";
const char kOutOfMemory[] = "Can't allocate memory";

template <class Codec>
struct CodecOf {
    using Type = Codec;
};

// Hands action the codec class of a format; nothing when no codec has that format.
template <class Action>
std::optional<bool> WithCodecOf(DWORD format, Action action) {
    switch (format) {
    case kImageFormatBmp:
        return action(CodecOf<BmpCodec>{});
    case kImageFormatGif:
        return action(CodecOf<GifCodec>{});
    case kImageFormatPng:
        return action(CodecOf<PngCodec>{});
    case kImageFormatIco:
        return action(CodecOf<IcoCodec>{});
    case kImageFormatTga:
        return action(CodecOf<TgaCodec>{});
    case kImageFormatPcx:
        return action(CodecOf<PcxCodec>{});
    case kImageFormatWbmp:
        return action(CodecOf<WbmpCodec>{});
    case kImageFormatWmf:
        return action(CodecOf<WmfCodec>{});
    default:
        return std::nullopt;
    }
}

}  // namespace

// Runs the codec of one format; a format whose codec this build lacks fails like an
// unknown one. Codecs start from this image's settings so that options reach them.
bool CxImage::DecodeImage(ImageStream* stream, DWORD format) {
    if (format == kImageFormatNone) {
        const std::int64_t start = stream != nullptr ? stream->Tell() : 0;
        for (DWORD candidate : kProbeOrder) {
            if (DecodeImage(stream, candidate)) {
                return true;
            }
            if (stream != nullptr) {
                stream->Seek(start, 0);
            }
        }
        SetLastError(kUnknownDecodeFormat);
        return false;
    }
    const std::optional<bool> decoded = WithCodecOf(
        format, [&](auto codec) { return DecodeWith<typename decltype(codec)::Type>(stream); });
    if (!decoded) {
        SetLastError(kUnknownDecodeFormat);
        return false;
    }
    return *decoded;
}

// The GIF and icon codecs count frames even when the wanted one fails, so that a
// caller can learn how many there are. A codec's working buffers may still fail to
// allocate; that is a failed decode, never an exception out of the library.
template <class Codec>
bool CxImage::DecodeWith(ImageStream* stream) {
    Codec codec;
    codec.CopySettings(*this);
    if (CallCodec(codec, [&] { return codec.Decode(stream) && TakeOver(codec); })) {
        return true;
    }
    // Codecs without frames leave the count they were primed with, so this is a no-op for them.
    m_info.frameCount = static_cast<std::int32_t>(codec.GetNumFrames());
    return false;
}

template <class Codec>
bool CxImage::EncodeWith(ImageStream* stream) {
    Codec codec;
    codec.AttachView(this);
    return CallCodec(codec, [&] { return codec.Encode(stream); });
}

template <class Call>
bool CxImage::CallCodec(CxImage& codec, Call call) {
    try {
        if (call()) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        codec.SetLastError(kOutOfMemory);
    }
    CopyLastError(codec);
    return false;
}

bool CxImage::LoadFile(const char* fileName, DWORD format) {
    if (fileName == nullptr) {
        return false;
    }
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return false;
    }
    FileImageStream stream(file, true);
    if (format >= kImageFormatBmp && format <= static_cast<DWORD>(kImageFormatMax)) {
        if (DecodeImage(&stream, format)) {
            return true;
        }
        stream.Seek(0, 0);
    }
    // Any codec may still read the file when the asked one cannot, but the caller
    // hears why the asked one failed.
    const std::string askedFormatError = m_info.lastError;
    if (DecodeImage(&stream, kImageFormatNone)) {
        return true;
    }
    if (format != kImageFormatNone) {
        SetLastError(askedFormatError.c_str());
    }
    return false;
}

bool CxImage::DecodeFile(std::FILE* file, DWORD format) {
    FileImageStream stream(file, false);
    return DecodeImage(&stream, format);
}

bool CxImage::DecodeMemory(const BYTE* buffer, DWORD size, DWORD format) {
    // The stream only reads, so the caller's bytes are never written through it.
    MemoryImageStream stream(const_cast<BYTE*>(buffer), size);
    return DecodeImage(&stream, format);
}

bool CxImage::EncodeCheck(ImageStream* stream) {
    if (stream == nullptr) {
        SetLastError("null file handler");
        return false;
    }
    if (!IsValid()) {
        SetLastError("null image!!!");
        return false;
    }
    return true;
}

// The codec becomes a view of this image, so it shares the pixels and frees nothing.
bool CxImage::EncodeImage(ImageStream* stream, DWORD format) {
    const std::optional<bool> encoded = WithCodecOf(
        format, [&](auto codec) { return EncodeWith<typename decltype(codec)::Type>(stream); });
    if (!encoded) {
        SetLastError(kUnknownEncodeFormat);
        return false;
    }
    return *encoded;
}

bool CxImage::SaveFile(const char* fileName, DWORD format) {
    if (fileName == nullptr) {
        return false;
    }
    std::FILE* file = std::fopen(fileName, "wb");
    if (file == nullptr) {
        return false;
    }
    FileImageStream stream(file, true);
    const bool encoded = EncodeImage(&stream, format);
    return stream.Close() && encoded;
}

bool CxImage::EncodeFile(std::FILE* file, DWORD format) {
    FileImageStream stream(file, false);
    return EncodeImage(&stream, format);
}

bool CxImage::EncodeMemory(BYTE** buffer, long* size, DWORD format) {
    return EncodeToMemory(buffer, size, [&](ImageStream* stream) { return EncodeImage(stream, format); });
}

template <class Encode>
bool CxImage::EncodeToMemory(BYTE** buffer, long* size, Encode encode) {
    if (buffer == nullptr || size == nullptr) {
        return false;
    }
    if (*buffer != nullptr) {
        SetLastError(kBufferNotEmpty);
        return false;
    }
    MemoryImageStream stream;
    if (!stream.Open() || !encode(&stream)) {
        return false;
    }
    *size = static_cast<long>(stream.Size());
    *buffer = stream.GetBuffer(true);
    return true;
}

bool CxImage::EncodeFrames(ImageStream* stream, CxImage** images, int count, DWORD format) {
    if (format != kImageFormatGif) {
        SetLastError("Multipage Encode, Unsupported operation for this format");
        return false;
    }
    // Every frame gets its own colour table: frames rarely share one palette.
    GifCodec codec;
    codec.AttachView(this);
    return CallCodec(codec, [&] { return codec.EncodeFrames(stream, images, count, true); });
}

bool CxImage::EncodeFrames(std::FILE* file, CxImage** images, int count, DWORD format) {
    FileImageStream stream(file, false);
    return EncodeFrames(file != nullptr ? &stream : nullptr, images, count, format);
}

bool CxImage::EncodeRgba(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            const RgbQuad color = GetPixelColorUnchecked(x, y);
            if (!stream->PutC(color.red) || !stream->PutC(color.green) || !stream->PutC(color.blue) ||
                !stream->PutC(color.alpha)) {
                return false;
            }
        }
    }
    return true;
}

bool CxImage::EncodeRgbaMemory(BYTE** buffer, long* size) {
    return EncodeToMemory(buffer, size, [&](ImageStream* stream) { return EncodeRgba(stream); });
}
