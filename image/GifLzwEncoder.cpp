// GIF code writers. The size bookkeeping mirrors what a decoder does with its own
// table, so every coder's output decodes with any standard GIF reader.
#include "image/GifLzwEncoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 4096;
constexpr int kHashSize = 5003;
constexpr std::size_t kLzwBlockBytes = 254;
constexpr std::size_t kRunLengthBlockBytes = 255;

}  // namespace

GifLzwEncoder::GifLzwEncoder(std::vector<BYTE>& out, int minimumCodeSize, Coder coder)
    : m_out(out),
      m_blockLimit(coder == Coder::RunLength ? kRunLengthBlockBytes : kLzwBlockBytes),
      m_coder(coder),
      m_initialBits(minimumCodeSize + 1),
      m_clear(1 << minimumCodeSize),
      m_end((1 << minimumCodeSize) + 1),
      m_bits(minimumCodeSize + 1),
      m_maxCode((1 << (minimumCodeSize + 1)) - 1),
      m_nextFree((1 << minimumCodeSize) + 2) {}

void GifLzwEncoder::Encode(const std::vector<BYTE>& pixels) {
    switch (m_coder) {
    case Coder::Uncompressed:
        EncodeUncompressed(pixels);
        break;
    case Coder::RunLength:
        EncodeRunLength(pixels);
        break;
    default:
        EncodeLzw(pixels);
        break;
    }
    FlushBits();
    FlushBlock();
    m_out.push_back(0);
}

void GifLzwEncoder::PutByte(BYTE value) {
    m_block.push_back(value);
    if (m_block.size() >= m_blockLimit) {
        FlushBlock();
    }
}

void GifLzwEncoder::FlushBlock() {
    if (m_block.empty()) {
        return;
    }
    m_out.push_back(static_cast<BYTE>(m_block.size()));
    m_out.insert(m_out.end(), m_block.begin(), m_block.end());
    m_block.clear();
}

void GifLzwEncoder::FlushBits() {
    while (m_accumulatedBits > 0) {
        PutByte(static_cast<BYTE>(m_accumulator & 0xFF));
        m_accumulator >>= 8;
        m_accumulatedBits -= 8;
    }
    m_accumulator = 0;
    m_accumulatedBits = 0;
}

void GifLzwEncoder::Output(int code) {
    WriteCode(code);
    if (m_clearRequested) {
        m_bits = m_initialBits;
        m_maxCode = (1 << m_bits) - 1;
        m_clearRequested = false;
    } else if (m_nextFree > m_maxCode) {
        m_bits++;
        m_maxCode = m_bits == kMaxCodeBits ? kMaxCodes : (1 << m_bits) - 1;
    }
}

void GifLzwEncoder::WriteCode(int code) {
    m_accumulator |= static_cast<unsigned long>(code) << m_accumulatedBits;
    m_accumulatedBits += m_bits;
    while (m_accumulatedBits >= 8) {
        PutByte(static_cast<BYTE>(m_accumulator & 0xFF));
        m_accumulator >>= 8;
        m_accumulatedBits -= 8;
    }
}

// Hash-table LZW: the key of a string is its prefix code plus the next pixel x 4096;
// collisions step down by the distance to the table's end.
void GifLzwEncoder::EncodeLzw(const std::vector<BYTE>& pixels) {
    std::vector<long> keys(kHashSize, -1);
    std::vector<int> codes(kHashSize, 0);
    Output(m_clear);
    if (pixels.empty()) {
        Output(m_end);
        return;
    }
    int prefix = pixels[0];
    for (std::size_t n = 1; n < pixels.size(); n++) {
        const int pixel = pixels[n];
        const long key = (static_cast<long>(pixel) << 12) + prefix;
        int i = (pixel << 4) ^ prefix;
        bool found = keys[i] == key;
        if (!found && keys[i] >= 0) {
            const int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0) {
                    i += kHashSize;
                }
                found = keys[i] == key;
            } while (!found && keys[i] >= 0);
        }
        if (found) {
            prefix = codes[i];
            continue;
        }
        Output(prefix);
        prefix = pixel;
        if (m_nextFree < kMaxCodes) {
            codes[i] = m_nextFree++;
            keys[i] = key;
        } else {
            std::fill(keys.begin(), keys.end(), -1);
            m_nextFree = m_clear + 2;
            m_clearRequested = true;
            Output(m_clear);
        }
    }
    Output(prefix);
    Output(m_end);
}

// Every pixel is its own code; a clear comes before the decoder's table would make
// the codes grow past what the pixels need.
void GifLzwEncoder::EncodeUncompressed(const std::vector<BYTE>& pixels) {
    Output(m_clear);
    for (BYTE pixel : pixels) {
        Output(pixel);
        m_nextFree++;
        if (m_nextFree > kMaxCodes - 1) {
            m_nextFree = m_clear + 2;
            m_clearRequested = true;
            Output(m_clear);
        }
    }
    Output(m_end);
}

namespace {

// Codes needed for a run coded right after a clear: the pixel, then one new code per
// run length 2, 3, ... r (r codes cover r(r + 1) / 2 pixels), plus one for the rest.
std::size_t TriangleCost(std::size_t length) {
    std::size_t r = static_cast<std::size_t>(std::sqrt(2.0 * static_cast<double>(length)));
    while (r > 0 && r * (r + 1) / 2 > length) {
        r--;
    }
    while ((r + 1) * (r + 2) / 2 <= length) {
        r++;
    }
    return r + (length > r * (r + 1) / 2 ? 1 : 0);
}

}  // namespace

// Every code the decoder reads after the first since a clear adds a table entry. Right
// after a clear, the pixel followed by the free codes clear + 2, clear + 3, ... teaches
// it runs of that pixel of lengths 2, 3, ...; later runs reuse those codes.
void GifLzwEncoder::EncodeRunLength(const std::vector<BYTE>& pixels) {
    RunClear();
    std::size_t i = 0;
    while (i < pixels.size()) {
        std::size_t j = i;
        while (j < pixels.size() && pixels[j] == pixels[i]) {
            j++;
        }
        CodeRun(pixels[i], j - i);
        i = j;
    }
    WriteCode(m_end);
}

void GifLzwEncoder::RunEmit(int code) {
    WriteCode(code);
    m_runCodes++;
    if (m_runCodes >= m_bumpLimit && m_bits < kMaxCodeBits) {
        m_bumpLimit += 1 << m_bits;
        m_bits++;
    }
}

void GifLzwEncoder::RunClear() {
    WriteCode(m_clear);
    m_bits = m_initialBits;
    m_runCodes = 0;
    m_bumpLimit = (1 << (m_initialBits - 1)) - 1;
    m_runPixel = -1;
    m_runMax = 0;
}

// Plain pixels clear before the code size grows (small sizes may grow a little); once
// the table holds runs it is kept until its codes are nearly used up.
int GifLzwEncoder::RunClearLimit() const {
    if (m_runMax >= 2) {
        return kMaxCodes - 3 - m_clear;
    }
    return m_initialBits > 3 ? (1 << (m_initialBits - 1)) - 2 : 9;
}

void GifLzwEncoder::CodeRun(int pixel, std::size_t length) {
    constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    while (length > 0) {
        if (m_runCodes >= RunClearLimit()) {
            RunClear();
        }
        const std::size_t run = static_cast<std::size_t>(m_runMax);
        const std::size_t table =
            m_runPixel == pixel && run >= 2 ? length / run + (length % run != 0 ? 1 : 0) : kNever;
        const std::size_t fresh = (m_runCodes == 0 ? 0 : 1) + TriangleCost(length);
        if (length <= table && length <= fresh) {
            RunEmit(pixel);
            length--;
            continue;
        }
        if (table <= fresh) {
            const std::size_t k = std::min(length, run);
            RunEmit(k == 1 ? pixel : m_clear + static_cast<int>(k));
            length -= k;
            continue;
        }
        if (m_runCodes != 0) {
            RunClear();
        }
        RunEmit(pixel);
        length--;
        m_runPixel = pixel;
        m_runMax = 1;
        for (std::size_t k = 2; length >= k && m_runCodes < kMaxCodes - 3 - m_clear; k++) {
            RunEmit(m_clear + static_cast<int>(k));
            length -= k;
            m_runMax = static_cast<int>(k);
        }
    }
}
