// The lexical rules of the expression language, for the tokenizer: what each
// character can start, and where a name, a number or a comment ends.
//
// The scans stop at the null that ends the text without testing its length: a null
// is no blank, digit, letter or ".".
#pragma once

#include "expr/ExprToken.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace ExprEval {

// What a character is to the scans of blanks, comments, names and numbers; the token
// a character starts is told by TokenTypeOf.
enum class CharKind : std::uint8_t {
    Other,
    Blank,
    Comment,
    Digit,
    Dot,
    Letter,
};

namespace TextScan {

constexpr std::array<CharKind, 256> MakeCharKinds() {
    std::array<CharKind, 256> kinds{};
    for (const char c : {'\t', '\n', '\r', ' '}) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Blank;
    }
    for (char c = '0'; c <= '9'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Digit;
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Letter;
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        kinds[static_cast<unsigned char>(c)] = CharKind::Letter;
    }
    kinds[static_cast<unsigned char>('_')] = CharKind::Letter;
    kinds[static_cast<unsigned char>('.')] = CharKind::Dot;
    kinds[static_cast<unsigned char>('#')] = CharKind::Comment;
    return kinds;
}

inline constexpr std::array<CharKind, 256> kCharKinds = MakeCharKinds();

inline CharKind KindOf(char c) {
    return kCharKinds[static_cast<unsigned char>(c)];
}

// The type of the token a character starts, by character: that of a one-character
// token, Identifier for a letter, Number for a digit or "."; 0 for every other
// character.
constexpr std::array<TokenType, 256> MakeTokenTypes() {
    std::array<TokenType, 256> types{};
    constexpr std::pair<char, TokenType> kSingles[] = {
        {'(', TokenType::OpenParen}, {')', TokenType::CloseParen}, {'=', TokenType::Assign},
        {'+', TokenType::Plus},      {'-', TokenType::Minus},      {'*', TokenType::Multiply},
        {'/', TokenType::Divide},    {'^', TokenType::Power},      {'&', TokenType::Ampersand},
        {',', TokenType::Comma},     {';', TokenType::Semicolon},
    };
    for (const auto& single : kSingles) {
        types[static_cast<unsigned char>(single.first)] = single.second;
    }
    for (std::size_t c = 0; c < types.size(); ++c) {
        if (kCharKinds[c] == CharKind::Letter) {
            types[c] = TokenType::Identifier;
        } else if (kCharKinds[c] == CharKind::Digit || kCharKinds[c] == CharKind::Dot) {
            types[c] = TokenType::Number;
        }
    }
    return types;
}

inline constexpr std::array<TokenType, 256> kTokenTypes = MakeTokenTypes();

inline TokenType TokenTypeOf(char c) {
    return kTokenTypes[static_cast<unsigned char>(c)];
}

inline bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') <= 9;
}

// Whether a character continues a name, by character: a letter, a digit or "_".
constexpr std::array<bool, 256> MakeNameCharacters() {
    std::array<bool, 256> continues{};
    for (std::size_t c = 0; c < continues.size(); ++c) {
        continues[c] = kCharKinds[c] == CharKind::Letter || kCharKinds[c] == CharKind::Digit;
    }
    return continues;
}

inline constexpr std::array<bool, 256> kNameCharacters = MakeNameCharacters();

inline bool ContinuesIdentifier(char c) {
    return kNameCharacters[static_cast<unsigned char>(c)];
}

// Digits, then a "." and more digits.
inline std::size_t NumberEnd(const char* text, std::size_t start) {
    std::size_t position = start;
    while (IsDigit(text[position])) {
        ++position;
    }
    if (text[position] == '.') {
        ++position;
        while (IsDigit(text[position])) {
            ++position;
        }
    }
    return position;
}

// Letters, digits and "_", and a "." where a name continues after it; start is the
// name's first character.
inline std::size_t IdentifierEnd(const char* text, std::size_t start) {
    std::size_t position = start + 1;
    for (;;) {
        while (ContinuesIdentifier(text[position])) {
            ++position;
        }
        if (text[position] != '.' || KindOf(text[position + 1]) != CharKind::Letter) {
            return position;
        }
        position += 2;
    }
}

// A comment runs to the end of its line, or of the text of the given size; the line
// break itself is a blank. Not inline: comments are rare.
std::size_t CommentEnd(std::string_view text, std::size_t start);

}  // namespace TextScan

}  // namespace ExprEval
