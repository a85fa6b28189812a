// Sets the decimal separator for one test and puts the previous one back.
#pragma once

#include "classlib/core/CNumberLocale.h"

class SeparatorScope {
public:
    explicit SeparatorScope(char separator) : m_previous(CNumberLocale::GetDecimalSeparator()) {
        CNumberLocale::SetDecimalSeparator(separator);
    }

    ~SeparatorScope() { CNumberLocale::SetDecimalSeparator(m_previous); }

    SeparatorScope(const SeparatorScope&) = delete;
    SeparatorScope& operator=(const SeparatorScope&) = delete;

private:
    char m_previous;
};
