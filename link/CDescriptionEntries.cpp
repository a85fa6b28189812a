// Writing and reading description entries.
#include "link/CDescriptionEntries.h"

#include "link/CFileFrame.h"

#include <cstring>

namespace {

constexpr std::size_t kEntrySizeBytes = 4;

// Reads a NUL-terminated string at `offset`; false when no NUL comes before the end.
bool ReadTerminated(const std::vector<BYTE>& payload, std::size_t& offset, std::string& text) {
    const BYTE* const start = payload.data() + offset;
    const void* const nul = std::memchr(start, 0, payload.size() - offset);
    if (nul == nullptr) {
        return false;
    }
    const std::size_t length = static_cast<const BYTE*>(nul) - start;
    text.assign(reinterpret_cast<const char*>(start), length);
    offset += length + 1;
    return true;
}

}  // namespace

std::size_t CDescriptionEntries::GetPayloadBytes(const CMapStringToString& descriptions) {
    std::size_t bytes = 0;
    CString key;
    CString text;
    for (POSITION pos = descriptions.GetStartPosition(); pos != nullptr;) {
        descriptions.GetNextAssoc(pos, key, text);
        bytes += kEntrySizeBytes + key.GetLength() + 1 + text.GetLength() + 1;
    }
    return bytes;
}

void CDescriptionEntries::Append(const CMapStringToString& descriptions, std::vector<BYTE>& payload) {
    CString key;
    CString text;
    for (POSITION pos = descriptions.GetStartPosition(); pos != nullptr;) {
        descriptions.GetNextAssoc(pos, key, text);
        CFileFrame::AppendDword(payload, static_cast<DWORD>(key.GetLength() + text.GetLength() + 2));
        const char* keyBytes = key.GetString();
        payload.insert(payload.end(), keyBytes, keyBytes + key.GetLength() + 1);
        const char* textBytes = text.GetString();
        payload.insert(payload.end(), textBytes, textBytes + text.GetLength() + 1);
    }
}

bool CDescriptionEntries::Parse(const std::vector<BYTE>& payload, std::size_t begin, Entries& entries) {
    std::size_t offset = begin;
    while (offset < payload.size()) {
        if (payload.size() - offset < kEntrySizeBytes) {
            return false;
        }
        offset += kEntrySizeBytes;
        std::string key;
        std::string text;
        if (!ReadTerminated(payload, offset, key) || !ReadTerminated(payload, offset, text)) {
            return false;
        }
        entries.emplace_back(std::move(key), std::move(text));
    }
    return true;
}

void CDescriptionEntries::Store(const Entries& entries, CMapStringToString& descriptions) {
    for (const auto& entry : entries) {
        descriptions.SetAt(entry.first.c_str(), entry.second.c_str());
    }
}

void CDescriptionEntries::Copy(const CMapStringToString& descriptions, CMapStringToString& copy) {
    copy.RemoveAll();
    CString key;
    CString text;
    for (POSITION pos = descriptions.GetStartPosition(); pos != nullptr;) {
        descriptions.GetNextAssoc(pos, key, text);
        copy.SetAt(key, text);
    }
}
