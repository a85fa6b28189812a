// The German language module as built beside the program: a text for every id of the program's
// string table, each with the same printf conversions as the English text, the OBD text tables
// with every key of the program's, and the resources that make it a language of the list.
#include "res/ResourceIds.h"
#include "tests/support/TestTrees.h"
#include "tests/support/WinePath.h"

#include <windows.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A module loaded as data only, freed at the end of the test.
class CDataModule {
public:
    explicit CDataModule(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

    ~CDataModule() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }

    CDataModule(const CDataModule&) = delete;
    CDataModule& operator=(const CDataModule&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

std::string GermanModulePath() {
    return WinePath(BuildTree()) + "\\Language\\deutsch.lng";
}

bool LoadText(HMODULE module, UINT id, std::string& text) {
    char buffer[1024] = {};
    const int length = LoadStringA(module, id, buffer, sizeof(buffer));
    text.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    return length > 0;
}

BOOL CALLBACK AddStringBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR blocks) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<UINT>*>(blocks)->push_back(
            static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

// Every id that the program's own string table holds (this test carries the program's resources).
std::vector<UINT> ProgramStringIds() {
    HMODULE program = GetModuleHandleA(nullptr);
    std::vector<UINT> blocks;
    EnumResourceNamesA(program, RT_STRING, &AddStringBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::vector<UINT> ids;
    std::string text;
    for (UINT block : blocks) {
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            if (LoadText(program, id, text)) {
                ids.push_back(id);
            }
        }
    }
    return ids;
}

// The argument list a printf format asks for: each conversion's length modifier and type
// letter, and a "*" for each width or precision taken from the arguments. Flags, widths and
// precisions written in the text take nothing and are left out.
std::string Conversions(const std::string& format) {
    std::string kinds;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        ++i;
        while (i < format.size() && std::string("-+ #0123456789.*").find(format[i]) != std::string::npos) {
            if (format[i] == '*') {
                kinds += "* ";
            }
            ++i;
        }
        std::string kind;
        while (i < format.size() && std::string("hlLqjzt").find(format[i]) != std::string::npos) {
            kind += format[i++];
        }
        if (i < format.size() && format[i] != '%') {
            kinds += kind + format[i] + ' ';
        }
    }
    return kinds;
}

// The keys of a MAP text table: the first word of every line that is neither blank nor a comment.
std::set<std::string> MapKeys(HMODULE module, UINT id) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "Map");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const char* data = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    std::set<std::string> keys;
    if (data == nullptr) {
        return keys;
    }
    std::istringstream lines(std::string(data, SizeofResource(module, resource)));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        if (words >> key && key[0] != '/') {
            keys.insert(key);
        }
    }
    return keys;
}

}  // namespace

TEST(GermanModule, ConversionsAreReadAsTheirArgumentList) {
    const struct {
        const char* format;
        const char* kinds;
    } rows[] = {
        {"no conversion", ""},
        {"Writing: %d%%.", "d "},
        {"%c # %c", "c c "},
        {"time: %04d:%02d\n- rev: %4d 1/min, %.2f ms", "d d d f "},
        {"%-*.*s|%ld|%I", "* * s ld I "},
        {"ends in %", ""},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.format);
        EXPECT_EQ(Conversions(row.format), row.kinds);
    }
}

TEST(GermanModule, TranslatesEveryProgramTextWithTheSameConversions) {
    CDataModule german(GermanModulePath());
    ASSERT_NE(german.Get(), nullptr) << GermanModulePath();
    const std::vector<UINT> ids = ProgramStringIds();
    ASSERT_FALSE(ids.empty());

    HMODULE program = GetModuleHandleA(nullptr);
    std::string english;
    std::string translated;
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        LoadText(program, id, english);
        if (!LoadText(german.Get(), id, translated)) {
            ADD_FAILURE() << "no German text for \"" << english << "\"";
            continue;
        }
        EXPECT_EQ(Conversions(translated), Conversions(english)) << "\"" << translated << "\"";
    }
}

// A file dialog filter ("name|pattern|name|pattern||") translates only its names: the
// patterns decide which files the dialog lists.
TEST(GermanModule, FileFiltersKeepTheirPatterns) {
    CDataModule german(GermanModulePath());
    ASSERT_NE(german.Get(), nullptr) << GermanModulePath();
    const auto patterns = [](const std::string& filter) {
        std::vector<std::string> fields;
        std::istringstream parts(filter);
        std::string field;
        for (bool pattern = false; std::getline(parts, field, '|'); pattern = !pattern) {
            if (pattern) {
                fields.push_back(field);
            }
        }
        return fields;
    };
    const auto isFilter = [](const std::string& text) {
        return text.size() >= 2 && text.compare(text.size() - 2, 2, "||") == 0;
    };
    std::string english;
    std::string translated;
    for (UINT id : ProgramStringIds()) {
        LoadText(GetModuleHandleA(nullptr), id, english);
        if (!isFilter(english)) {
            continue;
        }
        SCOPED_TRACE(id);
        ASSERT_TRUE(LoadText(german.Get(), id, translated));
        EXPECT_TRUE(isFilter(translated)) << translated;
        EXPECT_EQ(patterns(translated), patterns(english)) << translated;
    }
}

TEST(GermanModule, NamesItsLanguageAndCarriesItsIcons) {
    CDataModule german(GermanModulePath());
    ASSERT_NE(german.Get(), nullptr) << GermanModulePath();
    std::string text;
    EXPECT_TRUE(LoadText(german.Get(), IDS_LANGUAGE_ID, text) && text == "1031") << text;
    EXPECT_TRUE(LoadText(german.Get(), IDS_LANGUAGE_NAME, text) && text == "Deutsch") << text;
    EXPECT_TRUE(LoadText(german.Get(), IDS_LANGUAGE_SECOND_NAME, text) && text == "German") << text;
    for (UINT icon : {IDI_LANGUAGE, IDI_LANGUAGE_FLAG}) {
        EXPECT_NE(FindResourceA(german.Get(), MAKEINTRESOURCEA(icon), RT_GROUP_ICON), nullptr) << icon;
    }
}

// The OBD page looks its texts up by key in the chosen language only: the German tables must
// know every key that the program's own tables know.
TEST(GermanModule, TextTablesHaveTheProgramsKeys) {
    CDataModule german(GermanModulePath());
    ASSERT_NE(german.Get(), nullptr) << GermanModulePath();
    for (UINT map : {IDR_MAP_TROUBLE_CODES, IDR_MAP_OBD_STANDARDS, IDR_MAP_OBD_PARAMETERS}) {
        SCOPED_TRACE(map);
        const std::set<std::string> own = MapKeys(GetModuleHandleA(nullptr), map);
        EXPECT_FALSE(own.empty());
        EXPECT_EQ(MapKeys(german.Get(), map), own);
    }
}
