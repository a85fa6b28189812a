// Helpers for the codec tests: fixtures made by make_codec_fixtures.py and their
// reference pixels, and encoding into memory.
#pragma once

#include "image/CxImage.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Bytes of tests/image/fixtures/codecs/<name>.
std::vector<BYTE> ReadCodecFixture(const std::string& name);

// Decodes a codec fixture with the given format; the image is empty on failure.
CxImage DecodeCodecFixture(const std::string& name, DWORD format, long frame = 0);

// Compares with the reference decoder's top-down RGBA in <referenceName>: transparency
// must agree everywhere, colours where the pixel is visible. Transparency is what
// drawing uses: the alpha plane, palette alpha, or the transparent index or colour.
// tolerance is the largest difference allowed per colour channel.
::testing::AssertionResult MatchesReference(const CxImage& image,
                                            const std::string& referenceName,
                                            int tolerance = 0);

// A 40-byte bitmap info header (no resolution, every colour important).
std::vector<BYTE> BitmapInfoHeader(std::int32_t width,
                                   std::int32_t height,
                                   WORD bits,
                                   DWORD compression,
                                   DWORD imageBytes,
                                   DWORD coloursUsed);

std::vector<BYTE> EncodeToBytes(CxImage& image, DWORD format);
CxImage DecodeBytes(const std::vector<BYTE>& bytes, DWORD format);
