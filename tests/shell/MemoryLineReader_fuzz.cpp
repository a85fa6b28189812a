// Fuzz target of the MAP line reader and the text-table loader: arbitrary bytes must read
// without faults, and every entry must be a clean slice of one line.
#include "shell/MemoryLineReader.h"

#include "shell/CObdTextTables.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool HasAny(const CString& text, const char* characters) {
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text.GetAt(i) != '\0' && std::strchr(characters, text.GetAt(i)) != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    MemoryLineReader reader(bytes, size);
    CString key;
    CString text;
    size_t entries = 0;
    while (reader.ReadLine(key, text)) {
        Require(++entries <= size);
        Require(!key.IsEmpty() && key.GetAt(0) != '/');
        Require(!HasAny(key, "\t\v\f \r\n"));
        Require(!HasAny(text, "\r\n"));
        Require(text.IsEmpty() || !HasAny(text.Left(1), "\t\v\f "));
    }
    Require(!reader.ReadLine(key, text));

    CObdTextTables tables;
    tables.LoadDtcTexts(bytes, size);
    tables.LoadObdPidTexts(bytes, size);
    Require(tables.DtcTexts().GetCount() <= static_cast<INT_PTR>(entries));
    Require(tables.ObdPidTexts().GetCount() <= static_cast<INT_PTR>(entries));
    return 0;
}
