// OBD requests and the parsing of reply texts against the request they answer.
#include "diag/ObdReply.h"

#include <gtest/gtest.h>

TEST(ObdReply, FormatsRequestsAsUpperCaseHexPairs) {
    EXPECT_EQ(FormatObdRequest(0x01, 0x00, true), "0100\r");
    EXPECT_EQ(FormatObdRequest(0x09, 0xAB, true), "09AB\r");
    EXPECT_EQ(FormatObdRequest(0x03, 0x00, false), "03\r");
}

TEST(ObdReply, TakesTheDataAfterTheRepeatedRequest) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<BYTE> request;
        std::vector<BYTE> data;
    };

    const Case cases[] = {
        {"freeze frame PID", "42 0C 1A F8\r>", {0x02, 0x0C}, {0x1A, 0xF8}},
        {"bitmap with blanks around", "  41 00 BE 3F A8 13 \r\r>", {0x01, 0x00}, {0xBE, 0x3F, 0xA8, 0x13}},
        {"small hex digits", "41 0c 1a f8>", {0x01, 0x0C}, {0x1A, 0xF8}},
        {"two lines of codes",
         "43 01 33 00 00\r43 56 34 00 00\r>",
         {0x03},
         {0x01, 0x33, 0x00, 0x00, 0x56, 0x34, 0x00, 0x00}},
        {"empty line between", "43 01 33\r\r43 02 00>", {0x03}, {0x01, 0x33, 0x02, 0x00}},
        {"tabs and line feeds are blanks", "43\t01\n33>", {0x03}, {0x01, 0x33}},
        {"no data", "47>", {0x07}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> data = {0xEE};
        ASSERT_TRUE(ParseObdReply(c.text, c.request.data(), c.request.size(), data));
        EXPECT_EQ(data, c.data);
    }
}

TEST(ObdReply, RefusesRepliesThatDoNotAnswerTheRequest) {
    const std::vector<BYTE> request = {0x02, 0x0C};
    const std::string texts[] = {
        "42 0C 1A F8",           // no prompt
        "42 0C 1A F8>\r",        // prompt not at the end
        ">",                     // nothing
        "42 0C 1A F>",           // odd digit count
        "42 0C 1AF8>",           // pair without blank
        "42 0C 1A G8>",          // not hexadecimal
        "SEARCHING...\r42 0C>",  // other text
        "41 0C 1A F8>",          // mode not 0x40 above the request
        "42 0D 1A F8>",          // other PID
        "42 0C 1A\r42>",         // second line too short
        "42 0C 1A\r43 0C 00>",   // second line of another mode
    };
    for (const std::string& text : texts) {
        std::vector<BYTE> data = {0xEE};
        EXPECT_FALSE(ParseObdReply(text, request.data(), request.size(), data)) << text;
        EXPECT_EQ(data, std::vector<BYTE>{0xEE}) << text;
    }
}

TEST(ObdReply, ReadsTheReplyElementAsTextOrStatus) {
    struct Case {
        const char* name;
        std::vector<BYTE> element;
        ObdReplyState state;
        std::string text;
    };

    const Case cases[] = {
        {"text", {5, '4', '7', ' ', '>', 'x', 'y'}, ObdReplyState::Text, "47 >x"},
        {"not ready", {1, 0}, ObdReplyState::NotReady, "old"},
        {"refused", {1, 0x35}, ObdReplyState::Refused, "old"},
        {"status byte missing", {1}, ObdReplyState::Refused, "old"},
        {"length beyond the element", {200, '4', '7', '>'}, ObdReplyState::Text, "47>"},
        {"empty", {0, '4'}, ObdReplyState::Text, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "old";
        EXPECT_EQ(ReadObdReplyElement(c.element.data(), c.element.size(), text), c.state);
        EXPECT_EQ(text, c.text);
    }
}
