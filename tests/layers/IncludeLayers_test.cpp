// Reads the layering in LAYERS.md and every source file of the programs, and reports each
// include that reaches a group above the including file's group or beside it.
#include "tests/support/TestTrees.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Group {
    std::string name;
    int layer = 0;  // 0 is the top
    std::vector<std::string> patterns;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// '*' stands for any run of characters within one path component.
bool GlobMatches(const char* pattern, const char* path) {
    if (*pattern == '\0') {
        return *path == '\0';
    }
    if (*pattern == '*') {
        for (const char* rest = path;; ++rest) {
            if (GlobMatches(pattern + 1, rest)) {
                return true;
            }
            if (*rest == '\0' || *rest == '/') {
                return false;
            }
        }
    }
    return *pattern == *path && GlobMatches(pattern + 1, path + 1);
}

bool PatternMatches(const std::string& pattern, const std::string& path) {
    if (!pattern.empty() && pattern.back() == '/') {
        return path.compare(0, pattern.size(), pattern) == 0;
    }
    return GlobMatches(pattern.c_str(), path.c_str());
}

class CLayering {
public:
    // The lines of the first fenced block: "name: patterns..." per group, "--" between layers.
    explicit CLayering(std::istream& text) {
        std::string line;
        bool inBlock = false;
        int layer = 0;
        while (std::getline(text, line)) {
            line = Trim(line);
            if (line.rfind("```", 0) == 0) {
                if (inBlock) {
                    break;
                }
                inBlock = true;
                continue;
            }
            if (!inBlock || line.empty()) {
                continue;
            }
            if (line == "--") {
                ++layer;
                continue;
            }
            const auto colon = line.find(':');
            if (colon == std::string::npos) {
                m_errors.push_back("no group name: " + line);
                continue;
            }
            Group group;
            group.name = Trim(line.substr(0, colon));
            group.layer = layer;
            std::istringstream patterns(line.substr(colon + 1));
            for (std::string pattern; patterns >> pattern;) {
                group.patterns.push_back(pattern);
            }
            m_groups.push_back(group);
        }
    }

    const std::vector<Group>& Groups() const { return m_groups; }
    const std::vector<std::string>& Errors() const { return m_errors; }

    // The group of the longest pattern that matches path; null when none does.
    const Group* GroupOf(const std::string& path) const {
        const Group* best = nullptr;
        std::size_t bestLength = 0;
        for (const Group& group : m_groups) {
            for (const std::string& pattern : group.patterns) {
                if (pattern.size() > bestLength && PatternMatches(pattern, path)) {
                    best = &group;
                    bestLength = pattern.size();
                }
            }
        }
        return best;
    }

    // Why a file of group from may not include a file of group to; empty when it may.
    static std::string Objection(const Group& from, const Group& to) {
        if (&from == &to || to.layer > from.layer) {
            return "";
        }
        if (to.layer == from.layer) {
            return "\"" + from.name + "\" includes \"" + to.name + "\", which stands beside it";
        }
        return "\"" + from.name + "\" includes \"" + to.name + "\", which stands above it";
    }

private:
    std::vector<Group> m_groups;
    std::vector<std::string> m_errors;
};

CLayering ReadLayering() {
    std::ifstream file(SourceTreePath("LAYERS.md"));
    EXPECT_TRUE(file.is_open()) << "LAYERS.md is missing";
    return CLayering(file);
}

// Tests, tools, benchmarks, fuzz targets and the build's own files are not the programs.
const std::set<std::string> kNotPrograms = {"tests", "tools", "bench", "fuzz", "build", "cmake", "scripts"};

bool IsSource(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".h" || extension == ".cpp" || extension == ".rc";
}

// Paths relative to the source tree, with '/' between components.
std::vector<std::string> ProgramSources() {
    const fs::path root = SourceTree();
    std::vector<std::string> sources;
    for (const fs::directory_entry& top : fs::directory_iterator(root)) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || name.front() == '.' || kNotPrograms.count(name) != 0) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top.path())) {
            if (entry.is_regular_file() && IsSource(entry.path())) {
                sources.push_back(entry.path().lexically_relative(root).generic_string());
            }
        }
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

struct Include {
    int line;
    std::string written;   // as the file writes it
    std::string resolved;  // relative to the source tree; empty when it names no file of the tree
};

// Quoted includes resolve beside the including file first, then from the tree's root, as the
// compilers and the resource compiler are told.
std::vector<Include> IncludesOf(const std::string& relativePath) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
    const fs::path root = SourceTree();
    std::ifstream file(root / relativePath);
    std::vector<Include> includes;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        std::smatch match;
        if (text.find("include") == std::string::npos || !std::regex_search(text, match, kInclude)) {
            continue;
        }
        Include include{line, match[1].str(), ""};
        const fs::path beside = (fs::path(relativePath).parent_path() / include.written).lexically_normal();
        if (fs::is_regular_file(root / beside)) {
            include.resolved = beside.generic_string();
        } else if (fs::is_regular_file(root / include.written)) {
            include.resolved = fs::path(include.written).lexically_normal().generic_string();
        }
        includes.push_back(include);
    }
    return includes;
}

TEST(IncludeLayers, TheLayeringFileReadsCleanly) {
    const CLayering layering = ReadLayering();
    EXPECT_FALSE(layering.Groups().empty());
    for (const std::string& error : layering.Errors()) {
        ADD_FAILURE() << "LAYERS.md: " << error;
    }
}

// A pattern that matches no file names a group that has gone or moved.
TEST(IncludeLayers, EveryPatternNamesFilesThatExist) {
    const CLayering layering = ReadLayering();
    const std::vector<std::string> sources = ProgramSources();
    for (const Group& group : layering.Groups()) {
        for (const std::string& pattern : group.patterns) {
            const bool found = std::any_of(sources.begin(), sources.end(),
                                           [&](const std::string& path) { return PatternMatches(pattern, path); });
            EXPECT_TRUE(found) << "LAYERS.md: \"" << group.name << "\": " << pattern << " matches no source";
        }
    }
}

TEST(IncludeLayers, EverySourceBelongsToAGroup) {
    const CLayering layering = ReadLayering();
    for (const std::string& path : ProgramSources()) {
        EXPECT_NE(nullptr, layering.GroupOf(path)) << path << " is in no group of LAYERS.md";
    }
}

TEST(IncludeLayers, NoIncludeRunsUpOrSideways) {
    const CLayering layering = ReadLayering();
    for (const std::string& path : ProgramSources()) {
        const Group* from = layering.GroupOf(path);
        if (from == nullptr) {
            continue;
        }
        for (const Include& include : IncludesOf(path)) {
            const Group* to = include.resolved.empty() ? nullptr : layering.GroupOf(include.resolved);
            if (to == nullptr) {
                continue;
            }
            const std::string objection = CLayering::Objection(*from, *to);
            EXPECT_EQ("", objection) << path << ":" << include.line << ": #include \"" << include.written
                                     << "\": " << objection;
        }
    }
}

// The rules themselves, on a small layering of their own.
TEST(IncludeLayers, RulesOfASmallLayering) {
    std::istringstream text(
        "```\n"
        "top:    app/\n"
        "--\n"
        "left:   pages/left*\n"
        "right:  pages/right*\n"
        "--\n"
        "inner:  app/inner/\n"
        "bottom: base/ app/names.h\n"
        "```\n"
        "ignored: after/\n");
    const CLayering layering(text);
    ASSERT_TRUE(layering.Errors().empty());
    ASSERT_EQ(5u, layering.Groups().size());

    struct Case {
        const char* from;
        const char* to;
        const char* objection;  // a part of the objection, or "" for none
    };
    const Case cases[] = {
        {"app/main.cpp", "pages/left.h", ""},
        {"app/main.cpp", "app/other.h", ""},
        {"pages/left.cpp", "base/types.h", ""},
        {"pages/left.cpp", "pages/leftover.h", ""},
        {"pages/left.cpp", "app/main.h", "above"},
        {"pages/left.cpp", "pages/right.h", "beside"},
        {"app/inner/deep/x.cpp", "pages/left.h", "above"},  // the longer folder pattern wins
        {"base/types.cpp", "app/inner/x.h", "beside"},
        {"pages/right.cpp", "app/names.h", ""},  // a named file outweighs its folder
    };
    for (const Case& c : cases) {
        const Group* from = layering.GroupOf(c.from);
        const Group* to = layering.GroupOf(c.to);
        ASSERT_NE(nullptr, from) << c.from;
        ASSERT_NE(nullptr, to) << c.to;
        const std::string objection = CLayering::Objection(*from, *to);
        if (*c.objection == '\0') {
            EXPECT_EQ("", objection) << c.from << " -> " << c.to;
        } else {
            EXPECT_NE(std::string::npos, objection.find(c.objection)) << c.from << " -> " << c.to << ": " << objection;
        }
    }
    EXPECT_EQ(nullptr, layering.GroupOf("after/x.h"));
    EXPECT_EQ(nullptr, layering.GroupOf("pages/sub/left.h"));  // '*' stays within one folder
}

}  // namespace
