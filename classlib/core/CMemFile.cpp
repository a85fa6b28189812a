#include "classlib/core/CMemFile.h"

#include "classlib/core/CMemoryException.h"
#include "classlib/core/CNotSupportedException.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes) {
    m_storage.reserve(growBytes);
}

CMemFile::CMemFile(BYTE* buffer, UINT size) {
    Attach(buffer, size);
}

void CMemFile::Attach(BYTE* buffer, UINT size) {
    Close();
    m_attached = buffer;
    m_attachedSize = buffer == nullptr ? 0 : size;
    m_length = m_attachedSize;
}

BOOL CMemFile::Open(LPCSTR, UINT, CFileException*) {
    AfxThrowNotSupportedException();
}

BYTE* CMemFile::Data() {
    return m_attached != nullptr ? m_attached : m_storage.data();
}

void CMemFile::EnsureCapacity(DWORD bytes) {
    if (m_attached != nullptr) {
        if (bytes > m_attachedSize) {
            AfxThrowMemoryException();
        }
        return;
    }
    if (bytes > m_storage.size()) {
        m_storage.resize(bytes);
    }
}

UINT CMemFile::Read(void* buffer, UINT count) {
    const DWORD available = m_position < m_length ? m_length - m_position : 0;
    const UINT got = std::min<DWORD>(count, available);
    if (got > 0) {
        std::memcpy(buffer, Data() + m_position, got);
    }
    m_position += got;
    return got;
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    if (count > 0xFFFFFFFFu - m_position) {
        AfxThrowMemoryException();
    }
    const DWORD newEnd = m_position + count;
    EnsureCapacity(newEnd);
    if (m_position > m_length) {
        // A write after a seek past the end leaves zeros in the gap.
        std::memset(Data() + m_length, 0, m_position - m_length);
    }
    std::memcpy(Data() + m_position, buffer, count);
    m_position = newEnd;
    m_length = std::max(m_length, newEnd);
}

LONG CMemFile::Seek(LONG offset, UINT from) {
    LONGLONG base = 0;
    if (from == current) {
        base = m_position;
    } else if (from == end) {
        base = m_length;
    } else if (from != begin) {
        ThrowCause(CFileException::badSeek);
    }
    const LONGLONG target = base + offset;
    if (target < 0 || target > 0x7FFFFFFF) {
        ThrowCause(CFileException::badSeek);
    }
    m_position = static_cast<DWORD>(target);
    return static_cast<LONG>(target);
}

void CMemFile::SetLength(DWORD newLength) {
    EnsureCapacity(newLength);
    if (newLength > m_length) {
        std::memset(Data() + m_length, 0, newLength - m_length);
    }
    m_length = newLength;
    m_position = std::min(m_position, newLength);
}

void CMemFile::Close() {
    m_storage.clear();
    m_attached = nullptr;
    m_attachedSize = 0;
    m_length = 0;
    m_position = 0;
}
