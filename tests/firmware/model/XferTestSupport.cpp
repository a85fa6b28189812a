// Helpers of the conversion-table tests.
#include "XferTestSupport.h"

#include "firmware/CFileResourceSource.h"
#include "res/ResourceIds.h"
#include "tests/support/TestTrees.h"

#include <cstdlib>

#include <gtest/gtest.h>

std::string SourcePath(const std::string& relativePath) {
    return SourceTreePath(relativePath);
}

CXferTable& ShippedTable() {
    static const CFileResourceSource files = [] {
        CFileResourceSource source;
        source.SetFile(CXferTable::kResourceType, IDR_XFER, SourcePath("res/xfer.xml"));
        return source;
    }();
    static CXferTable table(IDR_XFER, files);
    return table;
}

void ParseText(CXferTable& table, const std::string& xml) {
    table.Parse(xml.data(), xml.size());
}

std::vector<BYTE> ToBytes(CXferTable& table, DWORD id, const std::vector<double>& values) {
    CArray<double, double> in;
    for (const double v : values) {
        in.Add(v);
    }
    CByteArray out;
    const INT_PTR count = table.ValuesToBytes(id, in, out);
    EXPECT_EQ(count, out.GetSize());
    return std::vector<BYTE>(out.GetData(), out.GetData() + out.GetSize());
}

std::vector<double> ToValues(CXferTable& table, DWORD id, const std::vector<BYTE>& bytes) {
    CByteArray in;
    for (const BYTE b : bytes) {
        in.Add(b);
    }
    CArray<double, double> out;
    table.BytesToValues(id, in, out);
    return std::vector<double>(out.GetData(), out.GetData() + out.GetSize());
}
