// Control messages and the log names the server accepts.
#include "tools/logserver/LogCommand.h"

#include <string>

#include <gtest/gtest.h>

TEST(LogCommand, TakesTheNameOfACreateLogCommandAndRefusesUnsafeNames) {
    struct Row {
        const char* name;
        std::string message;
        const char* expected;
    };

    const Row rows[] = {
        {"plain", "createlog,zylmor_merivan", "zylmor_merivan"},
        {"line end and NUL ignored", std::string("createlog,test\r\n\0", 17), "test"},
        {"dots inside a name", "createlog,a.b", "a.b"},
        {"other command", "deletelog,test", ""},
        {"prefix case matters", "CreateLog,test", ""},
        {"no name", "createlog,", ""},
        {"empty message", "", ""},
        {"parent folder", "createlog,..", ""},
        {"path", "createlog,..\\evil", ""},
        {"slash", "createlog,a/b", ""},
        {"drive", "createlog,c:x", ""},
        {"wildcard", "createlog,a*", ""},
        {"control character", "createlog,a\tb", ""},
        {"device", "createlog,CON", ""},
        {"device with extension", "createlog,nul.txt", ""},
        {"port device", "createlog,com1", ""},
        {"not a device", "createlog,com10", "com10"},
        {"too long", "createlog," + std::string(201, 'x'), ""},
        {"longest", "createlog," + std::string(200, 'x'), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string expected = row.expected != nullptr ? row.expected : std::string(200, 'x');
        EXPECT_EQ(expected, ParseCreateLog(row.message));
    }
}
