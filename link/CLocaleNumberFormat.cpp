// Defaults of the number format.
#include "link/CLocaleNumberFormat.h"

CLocaleNumberFormat::CLocaleNumberFormat()
    : m_negativeSign("-"), m_digits("0123456789"), m_negativeMode(1), m_decimalSeparator(".") {}
