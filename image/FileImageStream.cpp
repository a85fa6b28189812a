// Image byte stream over a runtime-library FILE. The 64-bit seek and tell live in
// FileImageStream_win.cpp and FileImageStream_posix.cpp.
#include "image/FileImageStream.h"

FileImageStream::FileImageStream(std::FILE* file, bool closeOnDestroy)
    : m_file(file), m_closeOnDestroy(closeOnDestroy) {}

FileImageStream::~FileImageStream() {
    // A failing fclose cannot be reported from a destructor; Close() reports it.
    Close();
}

bool FileImageStream::Close() {
    if (m_file == nullptr || !m_closeOnDestroy) {
        return true;
    }
    const int result = std::fclose(m_file);
    m_file = nullptr;
    return result == 0;
}

std::size_t FileImageStream::Read(void* buffer, std::size_t itemSize, std::size_t count) {
    if (m_file == nullptr) {
        return 0;
    }
    return std::fread(buffer, itemSize, count, m_file);
}

std::size_t FileImageStream::Write(const void* buffer, std::size_t itemSize, std::size_t count) {
    if (m_file == nullptr) {
        return 0;
    }
    return std::fwrite(buffer, itemSize, count, m_file);
}

bool FileImageStream::Seek(std::int64_t offset, int origin) {
    if (m_file == nullptr) {
        return false;
    }
    return SeekFile(m_file, offset, origin) == 0;
}

std::int64_t FileImageStream::Tell() {
    if (m_file == nullptr) {
        return -1;
    }
    return TellFile(m_file);
}

std::int64_t FileImageStream::Size() {
    if (m_file == nullptr) {
        return -1;
    }
    const std::int64_t position = TellFile(m_file);
    SeekFile(m_file, 0, SEEK_END);
    const std::int64_t size = TellFile(m_file);
    SeekFile(m_file, position, SEEK_SET);
    return size;
}

bool FileImageStream::Flush() {
    if (m_file == nullptr) {
        return false;
    }
    return std::fflush(m_file) == 0;
}

bool FileImageStream::Eof() {
    if (m_file == nullptr) {
        return true;
    }
    return std::feof(m_file) != 0;
}

long FileImageStream::Error() {
    if (m_file == nullptr) {
        return -1;
    }
    return std::ferror(m_file);
}

bool FileImageStream::PutC(unsigned char byte) {
    if (m_file == nullptr) {
        return false;
    }
    return std::fputc(byte, m_file) == byte;
}

long FileImageStream::GetC() {
    if (m_file == nullptr) {
        return -1;
    }
    return std::fgetc(m_file);
}
