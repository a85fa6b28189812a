// Image byte stream over a block of memory: a caller's bytes to decode, or a block
// that grows in steps of 4096 bytes while an encoder writes into it.
#pragma once

#include "image/ImageStream.h"

class MemoryImageStream : public ImageStream {
public:
    // With a buffer the stream reads and writes the caller's bytes and does not own
    // them (until it has to grow); without one it owns whatever it allocates.
    MemoryImageStream(unsigned char* buffer = nullptr, std::size_t size = 0);
    ~MemoryImageStream() override;

    bool Open();
    // Returns the block; with detach the caller becomes its owner and frees it with free().
    unsigned char* GetBuffer(bool detach = true);

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

    std::size_t Capacity() const { return m_capacity; }

private:
    bool Grow(std::size_t needed);
    bool PrepareWrite(std::size_t bytes);

    unsigned char* m_buffer;
    std::size_t m_size;
    bool m_owns;
    std::size_t m_position;
    std::size_t m_capacity;
};
