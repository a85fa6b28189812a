#include "link/ParseLocaleDecimal.h"

#include <locale>
#include <sstream>
#include <string>

bool ParseLocaleDecimal(LPCSTR text, LPCSTR decimalSeparator, double& value) {
    if (text == nullptr) {
        return false;
    }
    std::string typed(text);
    const std::string separator =
        decimalSeparator != nullptr && *decimalSeparator != '\0' ? decimalSeparator : ".";
    const std::size_t at = typed.find(separator);
    if (at != std::string::npos) {
        typed.replace(at, separator.size(), ".");
    }
    // Read in the classic locale: the C runtime's may expect another separator.
    std::istringstream stream(typed);
    stream.imbue(std::locale::classic());
    stream >> value;
    return !stream.fail();
}
