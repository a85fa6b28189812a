// The variables and constants an expression reads and writes, looked up by exact
// (case-sensitive) name. Items never move once added, so addresses handed out stay
// valid until the item is deleted; parsed expressions hold such addresses.
#pragma once

#include "expr/NameIndex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ExprEval {

class ValueListItem;

class ValueList {
public:
    ValueList();
    ~ValueList();
    ValueList(const ValueList&) = delete;
    ValueList& operator=(const ValueList&) = delete;

    // Both raise AlreadyExistsException(name) when the name is taken.
    void Add(const std::string& name, double value, bool constant);
    // Binds the new item to the caller's storage (not owned) and writes the value there.
    void AddAddress(const std::string& name, double* address, double value, bool constant);
    // Adds the constants "E" and "PI".
    void AddDefaultValues();

    // Null when no item has exactly this name.
    double* GetAddress(std::string_view name) const;
    bool IsConstant(std::string_view name) const;
    // The item with exactly this name, or null; one lookup where both of the above
    // are needed.
    ValueListItem* Find(std::string_view name) const;

    std::size_t Count() const { return m_items.size(); }

    // Copies the name and current value of the index-th item to the outputs given;
    // an index past the end raises NotFoundException.
    void Item(std::size_t index, std::string* name, double* value) const;

    // Every item back to its default value.
    void Reset();
    // Deletes every item; addresses handed out become invalid.
    void Clear();

private:
    void ThrowIfExists(const std::string& name) const;
    void Append(std::unique_ptr<ValueListItem> item);

    std::vector<std::unique_ptr<ValueListItem>> m_items;
    NameIndex m_index;  // the items' names, in the same order
};

}  // namespace ExprEval
