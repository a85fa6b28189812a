// Owners for the GDI handles the image library's Windows half creates, so that every
// DC, bitmap, region and lock is released on every path. Windows-only.
#pragma once

#include <windows.h>

#include <memory>

struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

using MemoryDc = std::unique_ptr<HDC__, MemoryDcDeleter>;
using GdiBitmap = std::unique_ptr<HBITMAP__, GdiObjectDeleter>;
using GdiRegion = std::unique_ptr<HRGN__, GdiObjectDeleter>;
using GdiFont = std::unique_ptr<HFONT__, GdiObjectDeleter>;

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}

    ~ScopedSelect() { SelectObject(m_dc, m_previous); }

    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The screen's DC, released when done.
class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}

    ~ScreenDc() { ReleaseDC(nullptr, m_dc); }

    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Saves a DC's state (colours, modes, clip region, selections) and restores it.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : m_dc(dc), m_id(SaveDC(dc)) {}

    ~SavedDcState() { RestoreDC(m_dc, m_id); }

    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC m_dc;
    int m_id;
};
