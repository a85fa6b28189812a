// The range message that the settings page, the sensor characteristic, measurement and phase
// test dialogs, the data saver, the XML form and the patch header show for a value outside its
// bounds.
#include "forms/FormatRangeMessage.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kEnglish[] = "Element out of range: %s <- %c%s; %s%c.";

struct RangeCase {
    const char* pattern;
    const char* value;
    const char* low;
    const char* high;
    const char* expected;
};

TEST(FormatRangeMessage, PutsTheShownTextsBetweenThePatternsBrackets) {
    const RangeCase cases[] = {
        {kEnglish, "5001", "1000", "5000", "Element out of range: 5001 <- (1000; 5000)."},
        {kEnglish, "-5", "-1", "100", "Element out of range: -5 <- (-1; 100)."},
        {kEnglish, "4,50", "0,20", "4,00", "Element out of range: 4,50 <- (0,20; 4,00)."},
        // A text is never read as a format: its "%" and "%s" stay as they are.
        {kEnglish, "150 %", "0 %", "100 %s", "Element out of range: 150 % <- (0 %; 100 %s)."},
        {"Wert %s nicht in %c%s..%s%c", "9", "1", "8", "Wert 9 nicht in (1..8)"},
        // No string table (no resource manager): no message text either.
        {"", "9", "1", "8", ""},
    };
    for (const RangeCase& c : cases) {
        EXPECT_EQ(std::string(FormatRangeMessage(c.pattern, c.value, c.low, c.high)), c.expected)
            << c.pattern;
    }
}

}  // namespace
