// Image byte stream over memory. Owned blocks come from malloc, because callers of
// the encode-to-memory wrappers free what they are handed with free().
#include "image/MemoryImageStream.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kGrowStepBytes = 4096;

}  // namespace

MemoryImageStream::MemoryImageStream(unsigned char* buffer, std::size_t size)
    : m_buffer(buffer), m_size(size), m_owns(buffer == nullptr), m_position(0), m_capacity(size) {}

MemoryImageStream::~MemoryImageStream() {
    Close();
}

bool MemoryImageStream::Open() {
    if (m_buffer != nullptr) {
        return false;
    }
    m_buffer = static_cast<unsigned char*>(std::malloc(1));
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
    m_owns = true;
    return m_buffer != nullptr;
}

unsigned char* MemoryImageStream::GetBuffer(bool detach) {
    m_owns = !detach;
    return m_buffer;
}

bool MemoryImageStream::Close() {
    if (m_buffer != nullptr && m_owns) {
        std::free(m_buffer);
        m_buffer = nullptr;
        m_size = 0;
        m_capacity = 0;
    }
    return true;
}

// A block grows once a write reaches its end. A caller's block may be read-only memory (a program resource)
// or not come from malloc at all, so it is copied into a block of our own rather than reallocated.
bool MemoryImageStream::Grow(std::size_t needed) {
    if (needed < m_capacity) {
        return true;
    }
    const std::size_t rounded = needed & ~(kGrowStepBytes - 1);
    if (rounded > std::numeric_limits<std::size_t>::max() - kGrowStepBytes) {
        return false;
    }
    const std::size_t capacity = rounded + kGrowStepBytes;
    unsigned char* block = nullptr;
    if (m_owns) {
        block = static_cast<unsigned char*>(std::realloc(m_buffer, capacity));
    } else {
        block = static_cast<unsigned char*>(std::malloc(capacity));
        if (block != nullptr && m_buffer != nullptr) {
            std::memcpy(block, m_buffer, m_size);
        }
    }
    if (block == nullptr) {
        return false;
    }
    m_buffer = block;
    m_capacity = capacity;
    m_owns = true;
    return true;
}

// Makes room for bytes at the position; a gap left by a seek past the end is zeroed
// so that no uninitialised memory ever reaches an encoded file.
bool MemoryImageStream::PrepareWrite(std::size_t bytes) {
    if (m_position > std::numeric_limits<std::size_t>::max() - bytes) {
        return false;
    }
    if (!Grow(m_position + bytes)) {
        return false;
    }
    if (m_position > m_size) {
        std::memset(m_buffer + m_size, 0, m_position - m_size);
    }
    return true;
}

std::size_t MemoryImageStream::Read(void* buffer, std::size_t itemSize, std::size_t count) {
    if (buffer == nullptr || m_buffer == nullptr || m_position >= m_size || itemSize == 0 || count == 0) {
        return 0;
    }
    if (count > std::numeric_limits<std::size_t>::max() / itemSize) {
        return 0;
    }
    const std::size_t wanted = itemSize * count;
    const std::size_t available = m_size - m_position;
    const std::size_t bytes = wanted < available ? wanted : available;
    std::memcpy(buffer, m_buffer + m_position, bytes);
    m_position += bytes;
    return bytes / itemSize;
}

std::size_t MemoryImageStream::Write(const void* buffer, std::size_t itemSize, std::size_t count) {
    if (m_buffer == nullptr || buffer == nullptr || itemSize == 0 || count == 0) {
        return 0;
    }
    if (count > std::numeric_limits<std::size_t>::max() / itemSize) {
        return 0;
    }
    const std::size_t bytes = itemSize * count;
    if (!PrepareWrite(bytes)) {
        return 0;
    }
    std::memcpy(m_buffer + m_position, buffer, bytes);
    m_position += bytes;
    if (m_position > m_size) {
        m_size = m_position;
    }
    return count;
}

bool MemoryImageStream::Seek(std::int64_t offset, int origin) {
    if (m_buffer == nullptr) {
        return false;
    }
    std::int64_t base = 0;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = static_cast<std::int64_t>(m_position);
        break;
    case 2:
        base = static_cast<std::int64_t>(m_size);
        break;
    default:
        return false;
    }
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target)) {
        return false;
    }
    m_position = target < 0 ? 0 : static_cast<std::size_t>(target);
    return true;
}

std::int64_t MemoryImageStream::Tell() {
    return m_buffer == nullptr ? -1 : static_cast<std::int64_t>(m_position);
}

std::int64_t MemoryImageStream::Size() {
    return m_buffer == nullptr ? -1 : static_cast<std::int64_t>(m_size);
}

bool MemoryImageStream::Flush() {
    return m_buffer != nullptr;
}

bool MemoryImageStream::Eof() {
    return m_buffer == nullptr || m_position >= m_size;
}

long MemoryImageStream::Error() {
    if (m_buffer == nullptr) {
        return -1;
    }
    return m_position > m_size ? 1 : 0;
}

bool MemoryImageStream::PutC(unsigned char byte) {
    if (m_buffer == nullptr || !PrepareWrite(1)) {
        return false;
    }
    m_buffer[m_position++] = byte;
    if (m_position > m_size) {
        m_size = m_position;
    }
    return true;
}

long MemoryImageStream::GetC() {
    if (Eof()) {
        return -1;
    }
    return m_buffer[m_position++];
}
