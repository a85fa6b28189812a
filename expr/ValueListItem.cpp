// Named values of the evaluator.
#include "expr/ValueListItem.h"

#include "expr/NullPointerException.h"

#include <utility>

namespace ExprEval {

ValueListItem::ValueListItem(std::string name, double defaultValue, bool constant)
    : m_name(std::move(name)), m_constant(constant), m_value(defaultValue), m_defaultValue(defaultValue) {}

ValueListItem::ValueListItem(std::string name, double* address, double defaultValue, bool constant)
    : m_name(std::move(name)),
      m_constant(constant),
      m_value(defaultValue),
      m_externalAddress(address),
      m_defaultValue(defaultValue) {
    if (address == nullptr) {
        throw NullPointerException("ValueListItem::ValueListItem");
    }
    *address = defaultValue;
}

void ValueListItem::Reset() {
    *GetAddress() = m_defaultValue;
}

}  // namespace ExprEval
