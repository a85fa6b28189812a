// Fuzzes the conversion table with arbitrary XML and programs: the first four bytes choose an
// element id and seed the record and values, the rest is the table's text. Only evaluator
// exceptions may leave parsing and converting; the sanitizers catch the rest.
#include "firmware/CXferTable.h"

#include "expr/ExprEval.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

const double kAwkwardValues[] = {0,
                                 -1,
                                 0.29,
                                 255.5,
                                 65536,
                                 -9.3e18,
                                 1e300,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity()};

void Convert(CXferTable& table, DWORD id, const uint8_t* seed) {
    CByteArray bytes;
    CArray<double, double> values;
    for (int i = 0; i < seed[1] % 40; ++i) {
        bytes.Add(static_cast<BYTE>(seed[2] + i * 37));
        values.Add(kAwkwardValues[(seed[3] + i) % (sizeof kAwkwardValues / sizeof kAwkwardValues[0])]);
    }
    try {
        table.BytesToValues(id, bytes, values);
    } catch (const ExprEval::Exception&) {
    }
    try {
        table.ValuesToBytes(id, values, bytes);
    } catch (const ExprEval::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    CXferTable table;
    try {
        table.Parse(reinterpret_cast<const char*>(data + 4), size - 4);
    } catch (const ExprEval::Exception&) {
    }
    Convert(table, data[0], data);
    return 0;
}
