#include "tests/image/DcCanvas.h"

#include <gtest/gtest.h>

DcCanvas::DcCanvas(long width, long height, Rgb background) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<BYTE*>(bits);
    EXPECT_NE(nullptr, m_bits);
    m_previous = SelectObject(m_dc, m_bitmap);
    Fill(background);
}

DcCanvas::~DcCanvas() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

Rgb DcCanvas::At(long x, long y) const {
    GdiFlush();
    const BYTE* pixel = m_bits + static_cast<std::size_t>(y) * (((m_width * 24 + 31) / 32) * 4) + 3 * x;
    return Rgb{pixel[2], pixel[1], pixel[0]};
}

void DcCanvas::Fill(Rgb color) {
    for (long y = 0; y < m_height; y++) {
        for (long x = 0; x < m_width; x++) {
            BYTE* pixel = m_bits + static_cast<std::size_t>(y) * (((m_width * 24 + 31) / 32) * 4) + 3 * x;
            pixel[0] = color.blue;
            pixel[1] = color.green;
            pixel[2] = color.red;
        }
    }
}
