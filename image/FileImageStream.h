// Image byte stream over a runtime-library FILE. The stream closes the FILE only
// when told to own it; wrappers that receive a caller's FILE leave it open.
#pragma once

#include "image/ImageStream.h"

#include <cstdio>

class FileImageStream : public ImageStream {
public:
    // file may be null (every operation then fails); closeOnDestroy makes the stream own it.
    FileImageStream(std::FILE* file, bool closeOnDestroy);
    ~FileImageStream() override;

    bool Close() override;
    std::size_t Read(void* buffer, std::size_t itemSize, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t itemSize, std::size_t count) override;
    bool Seek(std::int64_t offset, int origin) override;
    std::int64_t Tell() override;
    std::int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(unsigned char byte) override;
    long GetC() override;

private:
    // 64-bit positions on both platforms (long is 32-bit on Windows), so large files
    // behave alike everywhere; each platform's file supplies its own runtime calls.
    static int SeekFile(std::FILE* file, std::int64_t offset, int origin);
    static std::int64_t TellFile(std::FILE* file);

    std::FILE* m_file;
    bool m_closeOnDestroy;
};
