// The layout that configuration, update, zipped update and patch files share: a magic text,
// a 32-bit total length, header fields, a body and a closing CRC-32 of every byte before it.
// All numbers are little-endian. One reader and writer of that layout for all four kinds.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

class CFileFrame {
public:
    // Largest firmware file (update, zipped update, patch) that is read or written.
    static constexpr std::size_t kMaxFirmwareFileBytes = 0x100000;
    static constexpr std::size_t kCrcBytes = 4;

    enum class Fault {
        None,
        BadMagic,
        BadLength,  // the length field differs from the file's size
        BadCrc,
    };

    // `magic` is stored without terminator; the 32-bit total length sits at `lengthOffset`.
    // A file must hold more than `minBytesExclusive` and at most `maxBytes` bytes.
    CFileFrame(const char* magic,
               std::size_t lengthOffset,
               std::size_t minBytesExclusive,
               std::size_t maxBytes);

    // The size test, made before a file is read into memory.
    bool FitsSize(std::size_t size) const;
    bool HasMagic(const BYTE* file, std::size_t size) const;
    bool HasMatchingLength(const BYTE* file, std::size_t size) const;
    bool HasMatchingCrc(const BYTE* file, std::size_t size) const;
    // Magic, length field and CRC-32, in this order; the first that fails is the result.
    // The caller has made the size test.
    Fault Check(const BYTE* file, std::size_t size) const;
    // The size test and every check of Check passed.
    bool IsIntact(const BYTE* file, std::size_t size) const;

    // Starts a file: the magic, then zeros up to the end of the length field.
    std::vector<BYTE> Begin() const;
    // Stores the final size in the length field and appends the CRC-32.
    void Finish(std::vector<BYTE>& file) const;
    // Finish, for a file that must pass the size test when read back: false, with `file`
    // unchanged, when the finished file would not, since no reader would accept it.
    bool FinishWithinSize(std::vector<BYTE>& file) const;

    std::size_t GetMinBytesExclusive() const { return m_minBytesExclusive; }

    std::size_t GetMaxBytes() const { return m_maxBytes; }

    static WORD ReadWord(const BYTE* at);
    static DWORD ReadDword(const BYTE* at);
    static void StoreDword(BYTE* at, DWORD value);
    static void AppendWord(std::vector<BYTE>& file, WORD value);
    static void AppendDword(std::vector<BYTE>& file, DWORD value);

private:
    std::string m_magic;
    std::size_t m_lengthOffset;
    std::size_t m_minBytesExclusive;
    std::size_t m_maxBytes;
};
