// Base of every error the expression evaluator raises. It carries a type code, the
// name or operator concerned and the character range of the offending text, so that a
// caller can point at the error in the expression.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace ExprEval {

class Exception : public std::exception {
public:
    static constexpr std::int32_t kType = 1;

    Exception();

    std::int32_t GetType() const { return m_type; }

    const std::string& GetValue() const { return m_value; }

    // Positions are character offsets into the expression text; -1 when not set.
    void SetStart(std::int32_t position) { m_start = position; }

    void SetEnd(std::int32_t position) { m_end = position; }

    std::int32_t GetStart() const { return m_start; }

    std::int32_t GetEnd() const { return m_end; }

protected:
    Exception(std::int32_t type, std::string value);

private:
    std::int32_t m_type;
    std::string m_value;
    std::int32_t m_start = -1;
    std::int32_t m_end = -1;
};

}  // namespace ExprEval
