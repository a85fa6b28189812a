#include "grid/CGridDefaultCell.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CScopedSelect.h"

#include <windows.h>

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

namespace {

// The probe that sets the default column width: a dozen wide letters with a blank each side.
constexpr char kWidthProbe[] = " XXXXXXXXXXXX ";
constexpr UINT kMarginWithoutScreen = 3;
constexpr int kWidthWithoutScreen = 40;
constexpr int kHeightWithoutScreen = 16;

}  // namespace

CGridDefaultCell::CGridDefaultCell() {
    SetFormat(kDefaultFormat);
    SetTextColour(GRID_COLOUR_DEFAULT);
    SetBackColour(GRID_COLOUR_DEFAULT);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        SetFont(&metrics.lfMessageFont);
    }
}

void CGridDefaultCell::SetFont(const LOGFONTA* logFont) {
    if (logFont == nullptr) {
        return;
    }
    m_logFont = *logFont;
    m_hasFont = true;
    m_fontObject.DeleteObject();
    m_fontObject.CreateFontIndirect(&m_logFont);
    MeasureFont();
}

void CGridDefaultCell::MeasureFont() {
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        SetMargin(kMarginWithoutScreen);
        m_width = kWidthWithoutScreen;
        m_height = kHeightWithoutScreen;
        return;
    }
    {
        CDC dc;
        dc.Attach(screen);
        {
            CScopedSelect select(dc, m_fontObject);
            SetMargin(static_cast<UINT>(dc.GetTextExtent(" ", 1).cx));
            const CSize probe = dc.GetTextExtent(kWidthProbe, static_cast<int>(sizeof(kWidthProbe) - 1));
            m_width = probe.cx;
            m_height = probe.cy * 3 / 2;
        }
        dc.Detach();
    }
    ReleaseDC(nullptr, screen);
}

const LOGFONTA* CGridDefaultCell::GetFont() const {
    return m_hasFont ? &m_logFont : nullptr;
}

CFont* CGridDefaultCell::GetFontObject() const {
    return m_fontObject.GetSafeHandle() != nullptr ? &m_fontObject : nullptr;
}
