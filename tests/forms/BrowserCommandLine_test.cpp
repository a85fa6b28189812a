// The browser command line built from the registered command and the link's target.
#include "forms/BrowserCommandLine.h"

#include <gtest/gtest.h>

TEST(BrowserCommandLine, ReplacesThePlaceholderOrAppendsTheTarget) {
    struct CommandCase {
        const char* registered;
        const char* expected;
    };

    const CommandCase cases[] = {
        {"\"C:\\web\\browser.exe\" \"%1\"", "\"C:\\web\\browser.exe\" http://x/"},
        {"browser.exe %1", "browser.exe http://x/"},
        {"browser.exe -url \"%1\" %1", "browser.exe -url http://x/ %1"},
        {"browser.exe", "browser.exe http://x/"},
        {"", " http://x/"},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(c.expected, BrowserCommandLine(c.registered, "http://x/")) << c.registered;
    }
}
