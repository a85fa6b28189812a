// Numbering of the image file formats, as kept in an image's format field.
#pragma once

enum ImageFormat : int {
    kImageFormatNone = 0,  // also: probe every format when decoding
    kImageFormatBmp = 1,
    kImageFormatGif = 2,
    kImageFormatPng = 3,
    kImageFormatIco = 4,
    kImageFormatTga = 5,
    kImageFormatPcx = 6,
    kImageFormatWbmp = 7,
    kImageFormatWmf = 8,
};

// Highest valid format id; codec options exist for ids 0 to this value.
constexpr int kImageFormatMax = kImageFormatWmf;
