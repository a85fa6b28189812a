// Compiling and running the programs of one conversion.
#include "firmware/XferConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

DWORD CountStatements(const std::string& text) {
    return 1 + static_cast<DWORD>(std::count(text.begin(), text.end(), ';'));
}

std::string VariableName(char prefix, DWORD number) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%lu", prefix, static_cast<unsigned long>(number));
    return name;
}

// Entries past the end of a short array count as 0.
double ValueAt(const CArray<double, double>& values, DWORD index) {
    return index < static_cast<DWORD>(values.GetSize()) ? values[static_cast<INT_PTR>(index)] : 0.0;
}

BYTE ByteAt(const CByteArray& bytes, DWORD index) {
    return index < static_cast<DWORD>(bytes.GetSize()) ? bytes[static_cast<INT_PTR>(index)] : 0;
}

}  // namespace

XferConversion::XferConversion(const std::string& degr, const std::string& aggr)
    : m_byteCount(CountStatements(degr)), m_valueCount(CountStatements(aggr)) {
    Compile(m_toBytes, degr);
    Compile(m_toValues, aggr);
}

void XferConversion::Compile(Program& program, const std::string& text) {
    program.valueList.AddDefaultValues();
    for (DWORD i = 0; i < m_byteCount; ++i) {
        program.valueList.Add(VariableName('b', i), 0.0, false);
    }
    for (DWORD i = 0; i < m_valueCount; ++i) {
        program.valueList.Add(VariableName('v', i), 0.0, false);
    }
    for (DWORD i = 0; i < m_byteCount; ++i) {
        program.bytes.push_back(program.valueList.GetAddress(VariableName('b', i)));
    }
    for (DWORD i = 0; i < m_valueCount; ++i) {
        program.values.push_back(program.valueList.GetAddress(VariableName('v', i)));
    }
    program.functionList.AddDefaultFunctions();
    program.expression.SetValueList(&program.valueList);
    program.expression.SetFunctionList(&program.functionList);
    program.expression.Parse(text);
}

BYTE XferConversion::ToByte(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    // fmod is exact, so this is the low 8 bits of the truncated number for any finite value,
    // where a conversion to an integer type would be undefined beyond that type's range.
    double low = std::fmod(std::trunc(value), 256.0);
    if (low < 0) {
        low += 256.0;
    }
    return static_cast<BYTE>(low);
}

void XferConversion::ValuesToBytes(const CArray<double, double>& values, CByteArray& bytes) {
    bytes.RemoveAll();
    for (DWORD i = 0; i < m_valueCount; ++i) {
        *m_toBytes.values[i] = ValueAt(values, i);
    }
    m_toBytes.expression.Evaluate();
    for (const double* byte : m_toBytes.bytes) {
        bytes.Add(ToByte(*byte));
    }
}

void XferConversion::BytesToValues(const CByteArray& bytes, CArray<double, double>& values) {
    values.RemoveAll();
    for (DWORD i = 0; i < m_byteCount; ++i) {
        *m_toValues.bytes[i] = ByteAt(bytes, i);
    }
    m_toValues.expression.Evaluate();
    for (const double* value : m_toValues.values) {
        values.Add(*value);
    }
}
