#pragma once
// Case folding for XML names and keywords: only the ASCII letters fold, so that the bytes of
// multi-byte characters are compared as they are.

// The lower-case letter of an ASCII capital; any other byte unchanged.
char LowerAscii(char c);

// Whether two texts are equal but for the case of ASCII letters; false when either is null.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);
