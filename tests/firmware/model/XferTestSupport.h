// Helpers of the conversion-table tests: the shipped table read from the source tree, and
// conversions with plain vectors.
#pragma once

#include "firmware/CXferTable.h"

#include <string>
#include <vector>

// The path of a file given relative to the source tree.
std::string SourcePath(const std::string& relativePath);

// The table built from res/xfer.xml, as the program builds it from its resource.
CXferTable& ShippedTable();

// A table built from an XML text.
void ParseText(CXferTable& table, const std::string& xml);

std::vector<BYTE> ToBytes(CXferTable& table, DWORD id, const std::vector<double>& values);
std::vector<double> ToValues(CXferTable& table, DWORD id, const std::vector<BYTE>& bytes);
