// Abstract byte stream that every codec reads from and writes to. The slot order of
// the operations is fixed; the file and memory implementations fill all of them.
#pragma once

#include <cstddef>
#include <cstdint>

class ImageStream {
public:
    ImageStream() = default;
    ImageStream(const ImageStream&) = delete;
    ImageStream& operator=(const ImageStream&) = delete;
    virtual ~ImageStream() = default;

    virtual bool Close() = 0;
    // Returns the number of whole items of itemSize bytes read or written.
    virtual std::size_t Read(void* buffer, std::size_t itemSize, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t itemSize, std::size_t count) = 0;
    // origin: 0 from the start, 1 from the current position, 2 from the end.
    virtual bool Seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t Tell() = 0;
    virtual std::int64_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual long Error() = 0;
    virtual bool PutC(unsigned char byte);
    // The next byte (0-255), or -1 at the end.
    virtual long GetC() = 0;
};
