// The conversion table of the patch editor: per element id, how a patch record's bytes turn
// into editor values and back, as programs of the expression evaluator read from the XML
// resource of type "Xfer". An id without an entry converts each byte to one value unchanged.
// UI thread only.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/WinTypes.h"
#include "firmware/XferConversion.h"

#include <cstddef>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class IResourceSource;

class CXferTable {
public:
    static constexpr const char* kResourceType = "Xfer";

    // An empty table.
    CXferTable() = default;
    // Parses the "Xfer" resource of that id; a missing or empty resource gives an empty
    // table. A program that does not parse raises its ExprEval exception.
    CXferTable(UINT resourceId, const IResourceSource& resources);
    CXferTable(const CXferTable&) = delete;
    CXferTable& operator=(const CXferTable&) = delete;

    // Adds the entries of an XML text (at most `length` bytes); malformed XML adds none.
    // A program that does not parse raises its ExprEval exception; the entries before it stay.
    void Parse(const char* text, std::size_t length);

    // Empties `bytes` and fills it from the values; returns the number of bytes. Missing
    // values count as 0. An evaluation error propagates with `bytes` empty.
    INT_PTR ValuesToBytes(DWORD id, const CArray<double, double>& values, CByteArray& bytes);
    // Empties `values` and fills it from the bytes. Missing bytes count as 0. An evaluation
    // error propagates with `values` empty.
    void BytesToValues(DWORD id, const CByteArray& bytes, CArray<double, double>& values);

private:
    XferConversion* Find(DWORD id) const;

    // Every entry in document order; the map names the later entry of an id given twice.
    std::vector<std::pair<DWORD, std::unique_ptr<XferConversion>>> m_entries;
    std::map<DWORD, XferConversion*> m_byId;
};
