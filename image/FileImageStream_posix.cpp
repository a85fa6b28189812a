// 64-bit seek and tell of the file stream with POSIX calls (off_t is 64-bit on our
// 64-bit targets).
#include "image/FileImageStream.h"

#include <cstdio>
#include <sys/types.h>

int FileImageStream::SeekFile(std::FILE* file, std::int64_t offset, int origin) {
    return fseeko(file, static_cast<off_t>(offset), origin);
}

std::int64_t FileImageStream::TellFile(std::FILE* file) {
    return static_cast<std::int64_t>(ftello(file));
}
