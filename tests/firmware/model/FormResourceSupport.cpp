// Helpers of the tests of the patch editor's form.
#include "FormResourceSupport.h"

#include "XferTestSupport.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

std::string ReadFile(const std::string& relativePath) {
    std::ifstream file(SourcePath(relativePath), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string ShippedFormText() {
    return ReadFile("res/form2022.xml");
}

std::map<uint32_t, std::string> ShippedFormStrings() {
    // The script writes one entry per line: the id, blanks and the quoted text.
    static const std::regex entry(R"re(^\s*(\d+)\s+"(.*)"\s*$)re");
    std::map<uint32_t, std::string> strings;
    std::istringstream lines(ReadFile("res/form.rc"));
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (std::regex_match(line, match, entry)) {
            strings[static_cast<uint32_t>(std::stoul(match[1]))] = match[2];
        }
    }
    return strings;
}
