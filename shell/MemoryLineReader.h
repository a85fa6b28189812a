#pragma once
// Reads the entries of a MAP text table from bytes in memory. Each line holds a key, a run of
// blanks and a text; a line whose first non-blank character is "/" is a comment. The reader
// does not own the bytes: they must outlive it.

#include "classlib/core/CString.h"

#include <cstddef>

class MemoryLineReader {
public:
    MemoryLineReader() = default;

    MemoryLineReader(const char* data, size_t size) { Init(data, size); }

    // Starts reading at the first byte; a null pointer gives a reader without entries.
    void Init(const char* data, size_t size);

    // The next entry, whose text is empty for a line that holds only a key. False when no
    // entry is left; key and text are then empty.
    bool ReadLine(CString& key, CString& text);

private:
    enum class State {
        BetweenLines,
        Comment,
        Key,
        Gap,
        Text,
    };

    CString Slice(size_t start, size_t end) const;

    const char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_position = 0;
};
