// GIF codec of the image library (format id 2): GIF87a and GIF89a files. Decodes one
// frame of a possibly animated file (the frame to decode) and writes GIF89a files of
// one image, of several images, or of a 24-bit image cut into tiles.
#pragma once

#include "image/CxImage.h"

#include <string>
#include <vector>

class GifCodec : public CxImage {
public:
    GifCodec() : CxImage(kImageFormatGif) {}

    // Decoding failures leave no text; encoding failures do.
    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);
    // images are not owned; with local tables each image carries its own palette.
    bool EncodeFrames(ImageStream* stream, CxImage** images, int count, bool localColourTables);

private:
    struct Screen;
    struct Frame;
    enum class FrameRead {
        kFailed,
        kSkipped,
        kRead
    };
    long CountFrames(ImageStream* stream, const Screen& screen);
    bool ReadExtension(ImageStream* stream, Frame& frame);
    FrameRead ReadFrame(ImageStream* stream, const Screen& screen, Frame& frame);
    void ComposePalette(const Frame& frame, CxImage& canvas);
    void ComposeColour(const Frame& frame, CxImage& canvas);
    bool FinishPalette(const Frame& frame, CxImage& canvas);

    void AppendScreen(std::vector<BYTE>& out, const CxImage& first) const;
    void AppendControl(std::vector<BYTE>& out, const CxImage& image) const;
    void AppendComment(std::vector<BYTE>& out) const;
    void AppendImage(std::vector<BYTE>& out, CxImage& image, bool localTable) const;
    void AppendTiles(std::vector<BYTE>& out);
    bool WriteOut(ImageStream* stream, const std::vector<BYTE>& out);
};
