// CRC-32 against the known check values.
#include "link/CalcCrc32.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(CalcCrc32, GivesTheKnownCheckValues) {
    struct Case {
        const char* text;
        DWORD expected;
    } cases[] = {
        {"123456789", 0xCBF43926u},
        {"abc", 0x352441C2u},
        {"", 0u},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DWORD stored = 0x12345678u;
        const DWORD crc =
            CalcCrc32(reinterpret_cast<const BYTE*>(c.text), static_cast<int>(std::strlen(c.text)), &stored);
        EXPECT_EQ(c.expected, crc);
        EXPECT_EQ(c.expected, stored);
    }
}

TEST(CalcCrc32, TreatsANegativeLengthAsEmpty) {
    const BYTE data[] = {1, 2, 3};
    EXPECT_EQ(0u, CalcCrc32(data, -5, nullptr));
}
