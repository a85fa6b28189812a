// Base64 of binary data in XML texts.

#include "forms/XmlBase64.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string Encode(const std::string& bytes, bool lineBreaks = false) {
    return XmlBase64::Encode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), lineBreaks);
}

}  // namespace

TEST(XmlBase64, EncodesWithPadding) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.first);
        EXPECT_EQ(row.second, Encode(row.first));
    }
}

TEST(XmlBase64, BreaksLinesAfterEighteenGroups) {
    const std::string encoded = Encode(std::string(60, 'x'), true);
    EXPECT_EQ(81u, encoded.size());
    EXPECT_EQ('\n', encoded[72]);
    EXPECT_EQ(Encode(std::string(54, 'x'), true).find('\n'), std::string::npos);
}

TEST(XmlBase64, DecodesWhatItEncodes) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    for (size_t length : {0u, 1u, 2u, 3u, 100u, 300u}) {
        SCOPED_TRACE(length);
        const std::string encoded = Encode(bytes.substr(0, length), true);
        std::vector<unsigned char> out(XmlBase64::DecodedSize(encoded.c_str()));
        size_t written = 0;
        EXPECT_EQ(XmlErrorCode::None, XmlBase64::Decode(encoded.c_str(), out.data(), out.size(), &written));
        EXPECT_EQ(bytes.substr(0, length),
                  std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written)));
    }
}

TEST(XmlBase64, ReportsMalformedInput) {
    struct Case {
        const char* text;
        size_t capacity;
        XmlErrorCode expected;
        size_t written;
    };

    const Case cases[] = {
        {"Zm9v", 3, XmlErrorCode::None, 3},
        {" Zm\n9v ", 3, XmlErrorCode::None, 3},
        {"Zm9", 2, XmlErrorCode::Base64LengthWarning, 2},
        {"Z", 1, XmlErrorCode::Base64TruncatedWarning, 0},
        {"Zm9vZ===", 4, XmlErrorCode::Base64TruncatedWarning, 3},
        {"Zm!v", 3, XmlErrorCode::Base64IllegalCharacter, 0},
        {"Zm9vYmFy", 5, XmlErrorCode::Base64BufferTooSmall, 0},
        {"Zg==Zg==", 1, XmlErrorCode::None, 1},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text);
        std::vector<unsigned char> out(row.capacity + 1);
        size_t written = 99;
        EXPECT_EQ(row.expected, XmlBase64::Decode(row.text, out.data(), row.capacity, &written));
        EXPECT_EQ(row.written, written);
    }
}
