// Code writers for GIF image data: packs codes least significant bit first into
// sub-blocks and offers the three coders of the GIF codec option (hash-table LZW,
// uncompressed codes, and a run-length coder that stays inside the LZW code space).
#pragma once

#include "image/DibTypes.h"

#include <cstddef>
#include <vector>

class ImageStream;

class GifLzwEncoder {
public:
    enum class Coder {
        Lzw,
        Uncompressed,
        RunLength,
    };

    // out is not owned; the sub-blocks and the closing 0 byte are appended to it.
    GifLzwEncoder(std::vector<BYTE>& out, int minimumCodeSize, Coder coder);

    // pixels are palette indices in the order they are coded (top row first).
    void Encode(const std::vector<BYTE>& pixels);

private:
    void EncodeLzw(const std::vector<BYTE>& pixels);
    void EncodeUncompressed(const std::vector<BYTE>& pixels);
    void EncodeRunLength(const std::vector<BYTE>& pixels);
    // Writes a code at the current size, then grows or resets the size.
    void Output(int code);
    void WriteCode(int code);
    // Run-length coder: codes counted since the last clear drive the size, as the
    // decoder's table growth does.
    void CodeRun(int pixel, std::size_t length);
    void RunEmit(int code);
    void RunClear();
    int RunClearLimit() const;
    void FlushBits();
    void PutByte(BYTE value);
    void FlushBlock();

    std::vector<BYTE>& m_out;
    std::vector<BYTE> m_block;
    std::size_t m_blockLimit;
    Coder m_coder;
    int m_initialBits;
    int m_clear;
    int m_end;
    int m_bits;
    int m_maxCode;
    int m_nextFree;
    bool m_clearRequested = false;
    int m_runCodes = 0;   // codes written since the last clear
    int m_bumpLimit = 0;  // m_runCodes at which the code size grows
    int m_runPixel = -1;  // the pixel whose runs the decoder's table holds
    int m_runMax = 0;     // the longest run of m_runPixel in the table (clear + length)
    unsigned long m_accumulator = 0;
    int m_accumulatedBits = 0;
};
