// The line reader of the MAP text tables: a small state machine over the bytes, so that any
// line ending (CR LF, LF or CR) and a last line without one read alike.
#include "shell/MemoryLineReader.h"

namespace {

// Blanks between a key and its text. Bytes of 0x80 and above are ordinary characters.
bool IsBlank(char c) {
    return c == '\t' || c == '\v' || c == '\f' || c == ' ';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

}  // namespace

void MemoryLineReader::Init(const char* data, size_t size) {
    m_data = data;
    m_size = data != nullptr ? size : 0;
    m_position = 0;
}

CString MemoryLineReader::Slice(size_t start, size_t end) const {
    return CString(m_data + start, static_cast<int>(end - start));
}

bool MemoryLineReader::ReadLine(CString& key, CString& text) {
    key.Empty();
    text.Empty();
    State state = State::BetweenLines;
    size_t start = 0;
    for (; m_position < m_size; ++m_position) {
        const char c = m_data[m_position];
        switch (state) {
        case State::BetweenLines:
            if (c == '/') {
                state = State::Comment;
            } else if (!IsBlank(c) && !IsLineEnd(c)) {
                state = State::Key;
                start = m_position;
            }
            break;
        case State::Comment:
            if (IsLineEnd(c)) {
                state = State::BetweenLines;
            }
            break;
        case State::Key:
            if (IsLineEnd(c)) {
                key = Slice(start, m_position++);
                return true;
            }
            if (IsBlank(c)) {
                key = Slice(start, m_position);
                state = State::Gap;
            }
            break;
        case State::Gap:
            if (IsLineEnd(c)) {
                ++m_position;
                return true;
            }
            if (!IsBlank(c)) {
                state = State::Text;
                start = m_position;
            }
            break;
        case State::Text:
            if (IsLineEnd(c)) {
                text = Slice(start, m_position++);
                return true;
            }
            break;
        }
    }
    // The last line may end without a line end.
    switch (state) {
    case State::Key:
        key = Slice(start, m_size);
        return true;
    case State::Gap:
        return true;
    case State::Text:
        text = Slice(start, m_size);
        return true;
    default:
        return false;
    }
}
