// The two compiled programs of one element id in the conversion table: values to bytes
// ("degr") and bytes to values ("aggr"). Each has its own variables E, PI, b0.., v0.. and
// its own built-in functions; the variables keep their values from one conversion to the next.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/WinTypes.h"
#include "expr/ExprEval.h"

#include <cstddef>
#include <string>
#include <vector>

class XferConversion {
public:
    // Compiles both programs; a program that does not parse raises its ExprEval exception.
    XferConversion(const std::string& degr, const std::string& aggr);
    XferConversion(const XferConversion&) = delete;
    XferConversion& operator=(const XferConversion&) = delete;

    // One more than the number of ';' in the values-to-bytes program.
    DWORD GetByteCount() const { return m_byteCount; }

    // One more than the number of ';' in the bytes-to-values program.
    DWORD GetValueCount() const { return m_valueCount; }

    // Evaluation errors propagate; `bytes` is then left empty.
    void ValuesToBytes(const CArray<double, double>& values, CByteArray& bytes);
    // Evaluation errors propagate; `values` is then left empty.
    void BytesToValues(const CByteArray& bytes, CArray<double, double>& values);

    // The byte of a value: truncated toward 0, low 8 bits; NaN and infinities give 0.
    static BYTE ToByte(double value);

private:
    // One program with the lists it is compiled against. The expression is declared last so
    // that its tree goes before the lists it points into.
    struct Program {
        ExprEval::ValueList valueList;
        ExprEval::FunctionList functionList;
        ExprEval::ExpressionObject expression;
        std::vector<double*> bytes;
        std::vector<double*> values;
    };

    void Compile(Program& program, const std::string& text);

    DWORD m_byteCount;
    DWORD m_valueCount;
    Program m_toBytes;
    Program m_toValues;
};
