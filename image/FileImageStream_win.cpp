// 64-bit seek and tell of the file stream with the Windows runtime's calls.
#include "image/FileImageStream.h"

#include <cstdio>

int FileImageStream::SeekFile(std::FILE* file, std::int64_t offset, int origin) {
    return _fseeki64(file, offset, origin);
}

std::int64_t FileImageStream::TellFile(std::FILE* file) {
    return _ftelli64(file);
}
