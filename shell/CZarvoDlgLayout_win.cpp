// The main menu's layout over the work area, its texts in the current language, the
// system menu's About entry, the gradient behind everything and the pictures over it.
#include "classlib/win/CBrush.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CPaintDC.h"
#include "shell/CZarvoDlg.h"
#include "forms/fonts/GetCachedFont.h"
#include "shell/MainMenuLayout.h"

namespace {

constexpr int kButtonFontTenths = 100;
constexpr const char* kButtonFontFace = "Verdana";

constexpr UINT kIdsAbout = 15000;

// The flag stands right of the Language button's caption, centred in the room left there.
constexpr UINT kFlagSide = 0x200;
constexpr UINT kFlagAlignment = 0x100;

struct ButtonText {
    int id;
    UINT textId;
};

constexpr ButtonText kButtonTexts[] = {
    {1008, 15198}, {1009, 15387}, {1007, 15011}, {1004, 15010}, {1006, 15008},
    {1005, 15007}, {1002, 15006}, {1003, 15009}, {1001, 15005}, {1000, 15004},
};

}  // namespace

void CZarvoDlg::Layout() {
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const MainMenuLayout layout = ComputeMainMenuLayout(width, height);
    m_scaleX = layout.scaleX;
    m_scaleY = layout.scaleY;
    m_busyDialog.SetScale(m_scaleX, m_scaleY);
    m_retrieveDialog.SetScale(m_scaleX, m_scaleY);
    m_updateDialog.SetScale(m_scaleX, m_scaleY);

    CFont* font = GetCachedFont(&m_fonts, this, kButtonFontFace, kButtonFontTenths, m_scaleX, m_scaleY);
    for (const MainMenuButtonPlace& place : PlaceMainMenuButtons(layout, width, height)) {
        CWnd* button = GetDlgItem(place.id);
        if (button == nullptr) {
            continue;
        }
        button->MoveWindow(place.rect.x, place.rect.y, place.rect.width, place.rect.height, TRUE);
        if (font != nullptr) {
            button->SetFont(*font, TRUE);
        }
    }
    m_languageButton.SetImagePlacement(kFlagSide, kFlagAlignment);
    m_finalizeButton.ShowWindow(SW_HIDE);
    m_restoreButton.ShowWindow(SW_HIDE);
    ScalePictures(layout, width);
    SetTexts();
}

void CZarvoDlg::SetTexts() {
    LoadModeName();
    UpdateTitle();
    for (const ButtonText& entry : kButtonTexts) {
        CWnd* button = GetDlgItem(entry.id);
        if (button != nullptr) {
            button->SetWindowText(m_resources.GetString(entry.textId));
        }
    }
    SetLanguageFlag();
    ResetSystemMenu();
}

// Back to the system's menu first, so that a language change leaves one About entry.
void CZarvoDlg::ResetSystemMenu() {
    GetSystemMenu(TRUE);
    CMenu* menu = GetSystemMenu(FALSE);
    if (menu == nullptr) {
        return;
    }
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, kAboutCommand, m_resources.GetString(kIdsAbout));
}

BOOL CZarvoDlg::OnEraseBkgnd(CDC* dc) {
    PaintBackground(dc);
    return TRUE;
}

void CZarvoDlg::PaintBackground(CDC* dc) {
    RECT client = {};
    GetClientRect(&client);
    for (const GradientStrip& strip : ComputeGradientStrips(client.right - client.left)) {
        const RECT area = {strip.x, client.top, strip.x + strip.width, client.bottom};
        CBrush brush;
        brush.CreateSolidBrush(RGB(strip.red, strip.green, strip.blue));
        dc->FillRect(&area, &brush);
    }
}

void CZarvoDlg::OnPaint() {
    if (!IsIconic()) {
        {
            CPaintDC dc(this);
            DrawPictures(dc);
        }
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client = {};
    GetClientRect(&client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}
