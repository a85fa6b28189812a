// LZW decoder for the image data of one GIF image: reads the code stream from the
// stream's sub-blocks and leaves the stream just behind the block terminator.
#pragma once

#include "image/DibTypes.h"

#include <cstddef>
#include <vector>

class ImageStream;

class GifLzwDecoder {
public:
    // stream is not owned and must outlive the decoder.
    explicit GifLzwDecoder(ImageStream* stream) : m_stream(stream) {}

    // Fills pixels (already sized to the image) in coding order; pixels the data does
    // not reach keep their value. False for a minimum code size outside 2 to 9.
    bool Decode(int minimumCodeSize, std::vector<BYTE>& pixels);

    // Codes that referred to entries not yet defined.
    int BadCodes() const { return m_badCodes; }

private:
    // The next code of size bits, or -1 when the data ends.
    int ReadCode(int bits);
    int ReadByte();
    void SkipRemainingBlocks();

    ImageStream* m_stream;
    int m_blockLeft = 0;
    bool m_ended = false;
    unsigned long m_bitBuffer = 0;
    int m_bitCount = 0;
    int m_badCodes = 0;
};
