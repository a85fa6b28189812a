// What parsing and evaluating a text comes to, recorded so that the one-pass builder
// can be compared with region parsing: the error raised, or the results of a few
// evaluations with changing variables, and the value list left behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ExprTest {

struct ParseOutcome {
    bool parsed = false;
    std::int32_t errorType = 0;
    std::string errorValue;
    std::int32_t errorStart = 0;
    std::int32_t errorEnd = 0;
    // Each evaluation's result or error type, as bit patterns so that NaN compares.
    std::vector<std::uint64_t> results;
    // Names and values of the value list afterwards.
    std::vector<std::string> names;
    std::vector<std::uint64_t> values;

    bool operator==(const ParseOutcome& other) const;
};

// Parses text with the parser as the program uses it, or with region parsing alone,
// against fresh lists that hold E, PI, b0..b3, v0..v3 and the built-in functions.
ParseOutcome Outcome(const std::string& text, bool regionOnly);

}  // namespace ExprTest
