// The per-language description entries that end the payload of zipped update and patch files:
// a 32-bit entry size (key length + text length + 2), the key and its NUL, the text and its NUL.
// Key and text are 8-bit strings in the ANSI code page.
#pragma once

#include "classlib/core/CMap.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CDescriptionEntries {
public:
    // Bytes that the entries of `descriptions` take in a payload.
    static std::size_t GetPayloadBytes(const CMapStringToString& descriptions);

    // Appends one entry per key, in the map's iteration order, so that the same map always
    // gives the same bytes.
    static void Append(const CMapStringToString& descriptions, std::vector<BYTE>& payload);

    // Key and text of each entry, in file order.
    using Entries = std::vector<std::pair<std::string, std::string>>;

    // Reads the entries from `begin` to the end of `payload`. The entry size is not relied on.
    // False when an entry runs past the end.
    static bool Parse(const std::vector<BYTE>& payload, std::size_t begin, Entries& entries);

    // Sets each entry's key to its text, in order, so that a later entry of a key wins.
    static void Store(const Entries& entries, CMapStringToString& descriptions);

    // Makes `copy` hold exactly the descriptions of `descriptions`.
    static void Copy(const CMapStringToString& descriptions, CMapStringToString& copy);
};
