// Variables and constants of the evaluator.
#include "expr/ValueList.h"

#include "expr/AlreadyExistsException.h"
#include "expr/MathConstants.h"
#include "expr/NotFoundException.h"
#include "expr/NullPointerException.h"
#include "expr/ValueListItem.h"

#include <utility>

namespace ExprEval {

namespace {

constexpr double kE = 2.718281828459045;

}  // namespace

ValueList::ValueList() = default;

ValueList::~ValueList() = default;

void ValueList::Add(const std::string& name, double value, bool constant) {
    ThrowIfExists(name);
    Append(std::make_unique<ValueListItem>(name, value, constant));
}

void ValueList::AddAddress(const std::string& name, double* address, double value, bool constant) {
    ThrowIfExists(name);
    if (address == nullptr) {
        throw NullPointerException("ValueList::AddAddress");
    }
    Append(std::make_unique<ValueListItem>(name, address, value, constant));
}

void ValueList::AddDefaultValues() {
    Add("E", kE, true);
    Add("PI", kPi, true);
}

double* ValueList::GetAddress(std::string_view name) const {
    ValueListItem* item = Find(name);
    return item != nullptr ? item->GetAddress() : nullptr;
}

bool ValueList::IsConstant(std::string_view name) const {
    const ValueListItem* item = Find(name);
    return item != nullptr && item->IsConstant();
}

void ValueList::Item(std::size_t index, std::string* name, double* value) const {
    if (index >= m_items.size()) {
        throw NotFoundException(std::to_string(index));
    }
    const ValueListItem& item = *m_items[index];
    if (name != nullptr) {
        *name = item.GetName();
    }
    if (value != nullptr) {
        *value = *item.GetAddress();
    }
}

void ValueList::Reset() {
    for (const auto& item : m_items) {
        item->Reset();
    }
}

void ValueList::Clear() {
    m_items.clear();
    m_index.Clear();
}

ValueListItem* ValueList::Find(std::string_view name) const {
    const std::int32_t position = m_index.Find(name);
    return position >= 0 ? m_items[static_cast<std::size_t>(position)].get() : nullptr;
}

// Room first, so that the items and the index cannot fall out of step on a failed
// allocation.
void ValueList::Append(std::unique_ptr<ValueListItem> item) {
    m_items.reserve(m_items.size() + 1);
    m_index.Add(item->GetName());
    m_items.push_back(std::move(item));
}

// Raised by value like every other evaluator error, so that a handler for
// ExprEval::Exception catches it too.
void ValueList::ThrowIfExists(const std::string& name) const {
    if (Find(name) != nullptr) {
        throw AlreadyExistsException(name);
    }
}

}  // namespace ExprEval
