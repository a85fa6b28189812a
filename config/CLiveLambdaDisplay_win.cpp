#include "config/CLiveLambdaDisplay.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/CDataExchange.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CLogger.h"
#include "link/ReadElementBytes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kLambdaElement = 34;
constexpr int kCorrectionElement = 92;
// The bar grows toward the top value in the upper colour, toward the bottom value in the lower.
constexpr COLORREF kUpperColour = RGB(255, 102, 0);
constexpr COLORREF kLowerColour = RGB(0, 119, 255);
constexpr char kLambdaSymbol[] = "l:";

}  // namespace

CLiveLambdaDisplay::CLiveLambdaDisplay(const ControlIds& ids, double bottom, double top)
    : m_ids(ids), m_bottom(bottom), m_top(top) {}

void CLiveLambdaDisplay::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, m_ids.correctionLabel, m_correctionLabel);
    DDX_Control(exchange, m_ids.correction, m_correction);
    DDX_Control(exchange, m_ids.bar, m_bar);
    DDX_Control(exchange, m_ids.lambdaLabel, m_lambdaLabel);
    DDX_Control(exchange, m_ids.lambdaValue, m_lambdaValue);
}

int CLiveLambdaDisplay::Place(int x, int y, int width, double sx, double sy) {
    const int labelHeight = ScaledLength(16, sy);
    const int labelWidth = ScaledLength(110, sx);
    const int gap = ScaledLength(4, sx);
    m_correctionLabel.MoveWindow(x, y, labelWidth, labelHeight, FALSE);
    m_correction.MoveWindow(x + labelWidth + gap, y, width - labelWidth - gap, labelHeight, FALSE);
    const int barTop = y + labelHeight + ScaledLength(6, sy);
    const int barHeight = ScaledLength(110, sy);
    const int textTop = barTop + barHeight / 2 - labelHeight;
    m_bar.MoveWindow(x, barTop, ScaledLength(70, sx), barHeight, FALSE);
    m_lambdaLabel.MoveWindow(x + ScaledLength(76, sx), textTop, ScaledLength(20, sx), labelHeight, FALSE);
    m_lambdaValue.MoveWindow(x + ScaledLength(98, sx), textTop, ScaledLength(60, sx), labelHeight, FALSE);
    m_bar.SetScale(m_bottom, m_top, 2, "", kUpperColour, kLowerColour);
    m_bar.SetLayout(sx, sy, 2, 4, 2, 12, 1);
    return barTop + barHeight + ScaledLength(6, sy);
}

void CLiveLambdaDisplay::SetFonts(CFontCache& fonts, CWnd* page, double sx, double sy, CFont& bar) {
    m_bar.SetFont(bar);
    CFont* value = GetCachedFont(&fonts, page, "Arial", 75, sx, sy, FW_BOLD);
    CFont* symbol = GetCachedFont(&fonts, page, "Symbol", 80, sx, sy, FW_NORMAL, SYMBOL_CHARSET);
    if (value == nullptr || symbol == nullptr) {
        CLogger::Instance().Log(3000, "CLiveLambdaDisplay::SetFonts(): no font.");
        return;
    }
    m_correction.SetFont(*value);
    m_lambdaValue.SetFont(*value);
    m_lambdaLabel.SetFont(*symbol);
}

void CLiveLambdaDisplay::SetCorrectionLabel(const CString& text) {
    m_correctionLabel.SetWindowText(text);
}

void CLiveLambdaDisplay::Reset() {
    m_bar.SetValue(1.0);
    if (m_bar.GetSafeHwnd() == nullptr) {
        return;
    }
    m_bar.Invalidate();
    m_lambdaValue.SetWindowText(FormatText("%.2f ", 0.0));
    m_lambdaLabel.SetWindowText(kLambdaSymbol);
    m_correction.SetWindowText("0 %");
}

void CLiveLambdaDisplay::Show(CDataHandler& handler) {
    const std::vector<BYTE> lambda = ReadElementBytes(handler, kLambdaElement, 2);
    const double value = std::clamp((lambda[0] | (lambda[1] << 8)) * 0.001, kLambdaLow, kLambdaHigh);
    m_bar.SetValue(value);
    m_bar.Invalidate();
    m_lambdaValue.SetWindowText(FormatText("%.2f ", value));
    m_lambdaLabel.SetWindowText(kLambdaSymbol);
    const std::vector<BYTE> correction = ReadElementBytes(handler, kCorrectionElement, 1);
    m_correction.SetWindowText(FormatText("%d %%", static_cast<signed char>(correction[0])));
}
