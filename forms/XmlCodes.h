#pragma once
// Result codes, character encodings and content kinds shared by the XML parser's classes.

enum class XmlErrorCode : int {
    None = 0,
    UnmatchedEndTagWarning = 1,
    NoTagWarning = 2,
    NoData = 3,
    MissingStartTagName = 4,
    MissingEndTagName = 5,
    UnmatchedEndTag = 6,
    UnmatchedClearEnd = 7,
    UnexpectedToken = 8,
    NoElements = 9,
    FileNotFound = 10,
    FirstTagNotFound = 11,
    UnknownEntity = 12,
    WideConversion = 13,
    CannotOpenForWriting = 14,
    CannotWrite = 15,
    Base64LengthWarning = 16,
    Base64IllegalCharacter = 17,
    Base64TruncatedWarning = 18,
    Base64BufferTooSmall = 19,
};

// The byte encoding decides how many bytes each lead byte takes, so that multi-byte
// characters are never split. None is the "no guess" answer of the encoding guess.
enum class XmlCharEncoding : int {
    None = 0,
    Utf8 = 1,
    SingleByte = 2,
    ShiftJis = 3,
};

enum class XmlContentType : int {
    Child = 0,
    Attribute = 1,
    Text = 2,
    Clear = 3,
    None = 4,
};

// Outcome of a parse. Line and column are 1-based; 0 where no position applies.
struct XmlParseResults {
    XmlErrorCode error = XmlErrorCode::None;
    int line = 0;
    int column = 0;
};
