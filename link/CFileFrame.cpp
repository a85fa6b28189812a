// Reading and writing the common frame of the program's files.
#include "link/CFileFrame.h"

#include "link/CalcCrc32.h"

#include <cstring>

CFileFrame::CFileFrame(const char* magic,
                       std::size_t lengthOffset,
                       std::size_t minBytesExclusive,
                       std::size_t maxBytes)
    : m_magic(magic),
      m_lengthOffset(lengthOffset),
      m_minBytesExclusive(minBytesExclusive),
      m_maxBytes(maxBytes) {}

bool CFileFrame::FitsSize(std::size_t size) const {
    return size > m_minBytesExclusive && size <= m_maxBytes;
}

bool CFileFrame::HasMagic(const BYTE* file, std::size_t size) const {
    return size >= m_magic.size() && std::memcmp(file, m_magic.data(), m_magic.size()) == 0;
}

bool CFileFrame::HasMatchingLength(const BYTE* file, std::size_t size) const {
    return size >= m_lengthOffset + 4 && ReadDword(file + m_lengthOffset) == size;
}

bool CFileFrame::HasMatchingCrc(const BYTE* file, std::size_t size) const {
    if (size < kCrcBytes || size - kCrcBytes > m_maxBytes) {
        return false;
    }
    const int covered = static_cast<int>(size - kCrcBytes);
    return CalcCrc32(file, covered, nullptr) == ReadDword(file + covered);
}

CFileFrame::Fault CFileFrame::Check(const BYTE* file, std::size_t size) const {
    if (!HasMagic(file, size)) {
        return Fault::BadMagic;
    }
    if (!HasMatchingLength(file, size)) {
        return Fault::BadLength;
    }
    if (!HasMatchingCrc(file, size)) {
        return Fault::BadCrc;
    }
    return Fault::None;
}

bool CFileFrame::IsIntact(const BYTE* file, std::size_t size) const {
    return FitsSize(size) && Check(file, size) == Fault::None;
}

std::vector<BYTE> CFileFrame::Begin() const {
    std::vector<BYTE> file(m_magic.begin(), m_magic.end());
    file.resize(m_lengthOffset + 4, 0);
    return file;
}

void CFileFrame::Finish(std::vector<BYTE>& file) const {
    const std::size_t total = file.size() + kCrcBytes;
    StoreDword(file.data() + m_lengthOffset, static_cast<DWORD>(total));
    AppendDword(file, CalcCrc32(file.data(), static_cast<int>(file.size()), nullptr));
}

bool CFileFrame::FinishWithinSize(std::vector<BYTE>& file) const {
    if (!FitsSize(file.size() + kCrcBytes)) {
        return false;
    }
    Finish(file);
    return true;
}

WORD CFileFrame::ReadWord(const BYTE* at) {
    return static_cast<WORD>(at[0] | (at[1] << 8));
}

DWORD CFileFrame::ReadDword(const BYTE* at) {
    return static_cast<DWORD>(at[0]) | (static_cast<DWORD>(at[1]) << 8) | (static_cast<DWORD>(at[2]) << 16) |
           (static_cast<DWORD>(at[3]) << 24);
}

void CFileFrame::StoreDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<BYTE>(value >> (8 * i));
    }
}

void CFileFrame::AppendWord(std::vector<BYTE>& file, WORD value) {
    file.push_back(static_cast<BYTE>(value));
    file.push_back(static_cast<BYTE>(value >> 8));
}

void CFileFrame::AppendDword(std::vector<BYTE>& file, DWORD value) {
    AppendWord(file, static_cast<WORD>(value));
    AppendWord(file, static_cast<WORD>(value >> 16));
}
