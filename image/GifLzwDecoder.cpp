// GIF LZW decoding. The string table is bounded at 4096 entries and strings are
// expanded through a fixed stack, so hostile code streams cannot overrun anything.
#include "image/GifLzwDecoder.h"

#include "image/ImageStream.h"

#include <array>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;
constexpr int kMinCodeSize = 2;
constexpr int kMaxCodeSize = 9;

}  // namespace

int GifLzwDecoder::ReadByte() {
    while (m_blockLeft == 0) {
        if (m_ended) {
            return -1;
        }
        const long length = m_stream->GetC();
        if (length <= 0) {
            m_ended = true;
            return -1;
        }
        m_blockLeft = static_cast<int>(length);
    }
    const long value = m_stream->GetC();
    if (value < 0) {
        m_ended = true;
        m_blockLeft = 0;
        return -1;
    }
    m_blockLeft--;
    return static_cast<int>(value);
}

int GifLzwDecoder::ReadCode(int bits) {
    while (m_bitCount < bits) {
        const int value = ReadByte();
        if (value < 0) {
            return -1;
        }
        m_bitBuffer |= static_cast<unsigned long>(value) << m_bitCount;
        m_bitCount += 8;
    }
    const int code = static_cast<int>(m_bitBuffer & ((1ul << bits) - 1));
    m_bitBuffer >>= bits;
    m_bitCount -= bits;
    return code;
}

// Stops at the terminator or at the end of the stream, whichever comes first.
void GifLzwDecoder::SkipRemainingBlocks() {
    while (!m_ended) {
        if (m_blockLeft > 0) {
            m_stream->Seek(m_blockLeft, 1);
            m_blockLeft = 0;
            if (m_stream->Eof()) {
                m_ended = true;
            }
            continue;
        }
        const long length = m_stream->GetC();
        if (length <= 0) {
            m_ended = true;
        } else {
            m_blockLeft = static_cast<int>(length);
        }
    }
}

bool GifLzwDecoder::Decode(int minimumCodeSize, std::vector<BYTE>& pixels) {
    if (minimumCodeSize < kMinCodeSize || minimumCodeSize > kMaxCodeSize) {
        return false;
    }
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    std::array<int, kMaxCodes> prefix{};
    std::array<BYTE, kMaxCodes> suffix{};
    std::array<BYTE, kMaxCodes> stack{};
    for (int i = 0; i < clear; i++) {
        suffix[i] = static_cast<BYTE>(i);
    }
    int codeSize = minimumCodeSize + 1;
    int nextFree = clear + 2;
    int previous = -1;
    BYTE firstChar = 0;
    std::size_t out = 0;
    while (out < pixels.size()) {
        const int code = ReadCode(codeSize);
        if (code < 0 || code == end) {
            break;
        }
        if (code == clear) {
            codeSize = minimumCodeSize + 1;
            nextFree = clear + 2;
            previous = -1;
            continue;
        }
        int current = code;
        int depth = 0;
        if (code >= nextFree || (previous < 0 && code >= clear)) {
            // Undefined code: taken as the previous string plus its own first character.
            m_badCodes += code > nextFree || previous < 0 ? 1 : 0;
            if (previous < 0) {
                continue;
            }
            stack[depth++] = firstChar;
            current = previous;
        }
        while (current >= clear && depth < kMaxCodes) {
            stack[depth++] = suffix[current];
            current = prefix[current];
        }
        if (depth >= kMaxCodes) {
            break;
        }
        stack[depth++] = static_cast<BYTE>(current);
        firstChar = static_cast<BYTE>(current);
        while (depth > 0 && out < pixels.size()) {
            pixels[out++] = stack[--depth];
        }
        if (previous >= 0 && nextFree < kMaxCodes) {
            prefix[nextFree] = previous;
            suffix[nextFree] = firstChar;
            nextFree++;
            if (nextFree >= (1 << codeSize) && codeSize < kMaxCodeBits) {
                codeSize++;
            }
        }
        previous = code;
    }
    SkipRemainingBlocks();
    return true;
}
