// Numbers of a FORM text, read the same way in every build and every language: doubles
// always with a '.', integers saturating at the 32-bit limits.
#pragma once

#include <cstdint>

// The leading number of text (blanks skipped), else 0; independent of the C locale.
double ReadFormDouble(const char* text);
// The leading integer in base 10 or 16, held to the signed 32-bit range.
int32_t ReadFormSigned(const char* text, int base);
// The leading decimal integer as an unsigned 32-bit value: above the range gives the
// largest value, and a minus sign negates modulo 2^32.
uint32_t ReadFormUnsigned(const char* text);
