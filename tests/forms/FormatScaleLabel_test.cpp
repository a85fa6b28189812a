// Scale labels of the painted indicators: units are plain text, decimals are kept sane.
#include "forms/FormatScaleLabel.h"

#include <gtest/gtest.h>

TEST(FormatScaleLabel, FormatsTheNumberAndAppendsTheUnit) {
    struct LabelCase {
        double value;
        int decimals;
        const char* unit;
        const char* expected;
    };

    const LabelCase cases[] = {
        {1.5, 2, "ms", "1.50 ms"},
        {-12.0, 0, "%", "-12 %"},
        {0.26, 1, "%d%s%n", "0.3 %d%s%n"},
        {0.75, -1, "", "1 "},
        {1.0, 400, "V", "1.000000000000000 V"},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(c.expected, FormatScaleLabel(c.value, c.decimals, c.unit)) << c.unit;
    }
}
