// One named value of a value list: a variable or a constant, whose current value lives
// either in the item itself or at an address the user bound it to.
#pragma once

#include <string>

namespace ExprEval {

class ValueListItem {
public:
    ValueListItem(std::string name, double defaultValue, bool constant);
    // Binds the item to storage of the caller (not owned, must outlive the item) and
    // writes the default value there at once.
    ValueListItem(std::string name, double* address, double defaultValue, bool constant);
    ValueListItem(const ValueListItem&) = delete;
    ValueListItem& operator=(const ValueListItem&) = delete;

    const std::string& GetName() const { return m_name; }

    bool IsConstant() const { return m_constant; }

    // Where the current value lives; stable for the item's lifetime.
    double* GetAddress() { return m_externalAddress != nullptr ? m_externalAddress : &m_value; }

    const double* GetAddress() const { return m_externalAddress != nullptr ? m_externalAddress : &m_value; }

    void Reset();

private:
    std::string m_name;
    bool m_constant;
    double m_value;
    double* m_externalAddress = nullptr;  // not owned
    double m_defaultValue;
};

}  // namespace ExprEval
