// Feeds two formats, split at the first zero byte, to the conversion comparison.
#include "shell/FormatConversions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string text = input.substr(0, split);
    const std::string reference = split == std::string::npos ? std::string() : input.substr(split + 1);
    HaveSameConversions(text.c_str(), reference.c_str());
    HaveSameConversions(reference.c_str(), text.c_str());
    return 0;
}
