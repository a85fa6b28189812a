// The evaluator's exception base: type code, value text and positions.
#include "expr/Exception.h"

#include <utility>

namespace ExprEval {

Exception::Exception() : m_type(kType) {}

Exception::Exception(std::int32_t type, std::string value) : m_type(type), m_value(std::move(value)) {}

}  // namespace ExprEval
