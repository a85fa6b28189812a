// A memory DC over a 24-bit top-down DIB section, for tests that draw with GDI and read
// the pixels back. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>

struct Rgb {
    BYTE red;
    BYTE green;
    BYTE blue;

    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

class DcCanvas {
public:
    DcCanvas(long width, long height, Rgb background);
    ~DcCanvas();
    DcCanvas(const DcCanvas&) = delete;
    DcCanvas& operator=(const DcCanvas&) = delete;

    HDC Dc() const { return m_dc; }

    // (x, y) from the top-left, as the DC sees it.
    Rgb At(long x, long y) const;
    void Fill(Rgb color);

private:
    long m_width;
    long m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    BYTE* m_bits = nullptr;
};
