#include "shell/CUnitInfoPage.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CRegistryKey.h"
#include "forms/ScaledLength.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/RecentSettings.h"
#include "link/ITextResources.h"
#include "forms/fonts/GetCachedFont.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kIdentifierElement = 64;
constexpr int kVersionElement = 65;
constexpr int kReleaseElement = 66;
constexpr int kTotalElement = 67;
constexpr int kGasElement = 68;
constexpr int kLastContactElement = 69;
constexpr int kFinalizationElement = 70;
constexpr int kContactStampElement = 76;
constexpr int kLiveTotalElement = 77;
constexpr int kLiveGasElement = 78;
constexpr int kBuildElement = 106;
constexpr int kMilElement = 108;
constexpr int kPatchVersionElement = 111;
constexpr int kPatchDateElement = 112;

// Subscribed for "loaded as a whole"; the patch elements also for "changed locally".
constexpr int kIdentityElements[] = {64, 65, 66, 67, 68, 69, 70, 76, 106, 108};
constexpr int kPatchElements[] = {kPatchVersionElement, kPatchDateElement};

constexpr char kContactsSection[] = "Contacts";
constexpr char kNoValue[] = "-";

struct LabelText {
    int controlId;
    UINT textId;
};

constexpr LabelText kLabels[] = {
    {1101, 15134}, {1106, 15158}, {1102, 15135}, {1114, 15421}, {1095, 15130}, {1099, 15131},
    {1104, 15140}, {1266, 15352}, {1109, 15159}, {1108, 15160}, {1107, 15161}, {1112, 15359},
    {1097, 15132}, {1111, 15166}, {1098, 15133}, {1103, 15136}, {1115, 15131}, {1117, 15420},
};

constexpr UINT kRemarkTexts[] = {0, 15137, 15138, 15139};

// Placed rows that the page keeps hidden.
constexpr int kHiddenControls[] = {1112, CUnitInfoPage::kMilTimeId,     1111, CUnitInfoPage::kLastContactId,
                                   1098, CUnitInfoPage::kStoredStampId, 1103, CUnitInfoPage::kRemarkId};

constexpr int kGroupFontTenths = 85;
constexpr int kFontTenths = 80;

int Word(const BYTE* bytes) {
    return bytes[0] | (bytes[1] << 8);
}

}  // namespace

BEGIN_MESSAGE_MAP(CUnitInfoPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CUnitInfoPage::CUnitInfoPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CUnitInfoPage::~CUnitInfoPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    for (const int element : kIdentityElements) {
        m_dataHandler->Unsubscribe(this, element, 1);
    }
    for (const int element : kPatchElements) {
        m_dataHandler->Unsubscribe(this, element, 1 | 2);
    }
}

void CUnitInfoPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

BOOL CUnitInfoPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_totalArrived = m_gasArrived = m_lastContactArrived = m_contactStampArrived = false;
    m_remarkState = kRemarkNone;
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        for (const int element : kIdentityElements) {
            m_dataHandler->Subscribe(this, element, 1);
        }
        for (const int element : kPatchElements) {
            m_dataHandler->Subscribe(this, element, 1 | 2);
        }
    }
    Layout();
    SetTexts();
    for (const int id :
         {kIdentifierId, kVersionId, kReleaseId, kGasTimeId, kPetrolTimeId, kTotalTimeId, kMilTimeId,
          kFinalizationId, kLastContactId, kStoredStampId, kRemarkId, kPatchVersionId, kPatchDateId}) {
        SetItemText(id, kNoValue);
    }
    SetItemText(kDescriptionId, "");
    Invalidate(TRUE);
    return TRUE;
}

void CUnitInfoPage::SetItemText(int id, LPCSTR text) {
    CWnd* item = GetDlgItem(id);
    if (item != nullptr) {
        item->SetWindowText(text);
    }
}

// ---- Layout and texts ----------------------------------------------------------------------

void CUnitInfoPage::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int mx = ScaledLength(2, sx);
    const int my = ScaledLength(2, sy);
    const int g = ScaledLength(8, sx);
    const int labelWidth = ScaledLength(120, sx);
    const int wideWidth = ScaledLength(450, sx);
    const int rowHeight = ScaledLength(17, sy);
    const int rowPitch = rowHeight + ScaledLength(10, sy);
    const int header = ScaledLength(18, sy);
    const int v = ScaledLength(8, sy);
    const int inner = client.right - client.left - 2 * mx;
    const int leftWidth = (inner - v) * 7 / 12;
    const int rightWidth = inner - leftWidth - v;
    const int rightX = mx + leftWidth + v;

    const auto row = [&](int groupX, int groupTop, int index, int labelId, int editId, int editWidth,
                         int height) {
        const int top = groupTop + header + index * rowPitch;
        GetDlgItem(labelId)->MoveWindow(groupX + g, top, labelWidth, rowHeight, FALSE);
        GetDlgItem(editId)->MoveWindow(groupX + 2 * g + labelWidth, top, editWidth, height, FALSE);
    };

    const int leftEdit = leftWidth - 3 * g - labelWidth;
    const int rightEdit = rightWidth - 3 * g - labelWidth;
    const int unitHeight = v + 12 * rowHeight + 4 * ScaledLength(10, sy) + header;
    GetDlgItem(1101)->MoveWindow(mx, my, leftWidth, unitHeight, FALSE);
    row(mx, my, 0, 1095, kIdentifierId, leftEdit, rowHeight);
    row(mx, my, 1, 1099, kVersionId, leftEdit, rowHeight);
    row(mx, my, 2, 1104, kReleaseId, leftEdit, rowHeight);
    const int descriptionLabelTop = my + header + 3 * rowPitch;
    GetDlgItem(1266)->MoveWindow(mx + g, descriptionLabelTop, labelWidth, rowHeight, FALSE);
    GetDlgItem(kDescriptionId)
        ->MoveWindow(mx + g, descriptionLabelTop + rowPitch, leftWidth - 2 * g, 8 * rowHeight, FALSE);

    const int runningHeight = 3 * rowHeight + 2 * ScaledLength(10, sy) + v + header;
    GetDlgItem(1106)->MoveWindow(rightX, my, rightWidth, runningHeight, FALSE);
    row(rightX, my, 0, 1109, kGasTimeId, rightEdit, rowHeight);
    row(rightX, my, 1, 1108, kPetrolTimeId, rightEdit, rowHeight);
    row(rightX, my, 2, 1107, kTotalTimeId, rightEdit, rowHeight);
    row(rightX, my, 3, 1112, kMilTimeId, rightEdit, rowHeight);

    const int finalizationTop = my + runningHeight + v;
    GetDlgItem(1102)->MoveWindow(rightX, finalizationTop, rightWidth, v + header + rowHeight, FALSE);
    // The wide edits end at the column's edge rather than past the page.
    const int finalizationEdit = std::min(wideWidth, rightEdit);
    row(rightX, finalizationTop, 0, 1097, kFinalizationId, finalizationEdit, rowHeight);
    row(rightX, finalizationTop, 1, 1111, kLastContactId, finalizationEdit, rowHeight);
    row(rightX, finalizationTop, 2, 1098, kStoredStampId, finalizationEdit, rowHeight);
    row(rightX, finalizationTop, 3, 1103, kRemarkId, finalizationEdit, 2 * rowHeight);

    const int patchTop = finalizationTop + v + header + rowHeight + v;
    GetDlgItem(1114)->MoveWindow(rightX, patchTop, rightWidth,
                                 2 * rowHeight + v + header + ScaledLength(10, sy), FALSE);
    row(rightX, patchTop, 0, 1115, kPatchVersionId, rightEdit, rowHeight);
    row(rightX, patchTop, 1, 1117, kPatchDateId, rightEdit, rowHeight);

    for (const int id : kHiddenControls) {
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    }

    CFont* groupFont = GetCachedFont(m_fonts, this, "Verdana", kGroupFontTenths, sx, sy);
    CFont* font = GetCachedFont(m_fonts, this, "Verdana", kFontTenths, sx, sy);
    if (font != nullptr) {
        SendMessageToDescendants(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*font)), FALSE);
    }
    if (groupFont != nullptr) {
        for (const int id : {1101, 1106, 1102, 1114}) {
            GetDlgItem(id)->SetFont(*groupFont, FALSE);
        }
    }
}

void CUnitInfoPage::SetTexts() {
    for (const LabelText& label : kLabels) {
        SetItemText(label.controlId, LoadText(m_resources, label.textId));
    }
}

void CUnitInfoPage::ShowRemark() {
    SetItemText(kRemarkId,
                m_remarkState == kRemarkNone ? CString(kNoValue) : LoadText(m_resources, kRemarkTexts[m_remarkState]));
}

void CUnitInfoPage::ShowDescription() {
    CString history;
    if (m_resources != nullptr && !m_firmwareVersion.IsEmpty()) {
        m_resources->GetVersionHistory(m_firmwareVersion, m_firmwareBuild, m_firmwareBranch, history);
    }
    // The edit breaks lines only at "\r\n".
    history.Replace("\r\n", "\n");
    history.Replace("\n", "\r\n");
    SetItemText(kDescriptionId, history);
}

LRESULT CUnitInfoPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    SetTexts();
    ShowRemark();
    if (IsSupported(kIdentifierElement)) {
        ShowDescription();
    } else {
        SetItemText(kDescriptionId, "");
    }
    Invalidate(TRUE);
    return 0;
}

// ---- Value texts -------------------------------------------------------------------------------

CString CUnitInfoPage::FormatIdentifier(const BYTE* characters) {
    CString text;
    for (int i = 0; i < 16 && characters[i] != 0; ++i) {
        text += static_cast<char>(characters[i]);
        if (i == 3 || i == 4 || i == 8 || i == 10 || i == 11) {
            text += ' ';
        }
    }
    return text;
}

CString CUnitInfoPage::FormatVersion(const BYTE* version, bool withBuild, int buildWord) {
    CString text;
    if (!withBuild) {
        const char mark = (version[3] & 0x80) != 0 ? static_cast<char>(0xDF) : ' ';
        text.Format("%d.%01d / %d.%02d%c", version[0], version[1], version[2], version[3] & 0x7F, mark);
        return text;
    }
    const int build = buildWord & 0x3FF;
    const int branch = (buildWord >> 10) & 0x3F;
    if (branch != 0) {
        text.Format("%d.%01d / %d.%02d-%04d (%d)", version[0], version[1], version[2], version[3] & 0x7F,
                    build, branch);
    } else {
        text.Format("%d.%01d / %d.%02d-%04d", version[0], version[1], version[2], version[3] & 0x7F, build);
    }
    return text;
}

CString CUnitInfoPage::FormatDuration(const Duration& duration) {
    CString text;
    text.Format("%04d:%02d:%02d", duration.hours, duration.minutes, duration.seconds);
    return text;
}

CUnitInfoPage::Duration CUnitInfoPage::PetrolTime(const Duration& total, const Duration& gas) {
    const long long totalSeconds = total.hours * 3600LL + total.minutes * 60LL + total.seconds;
    const long long gasSeconds = gas.hours * 3600LL + gas.minutes * 60LL + gas.seconds;
    // A gas time above the total is inconsistent data: show no petrol time rather than a
    // negative one.
    const long long petrol = totalSeconds > gasSeconds ? totalSeconds - gasSeconds : 0;
    Duration result;
    result.hours = static_cast<int>(petrol / 3600);
    result.minutes = static_cast<int>(petrol / 60 % 60);
    result.seconds = static_cast<int>(petrol % 60);
    return result;
}

// ---- Element messages ------------------------------------------------------------------------

void CUnitInfoPage::ReadElement(int element, BYTE* bytes) {
    std::memset(bytes, 0, 16);
    if (m_dataHandler != nullptr && m_dataHandler->GetElementLength(element) <= 16) {
        m_dataHandler->ReadData(element, bytes);
    }
}

bool CUnitInfoPage::IsSupported(int element) const {
    return m_dataHandler != nullptr && m_dataHandler->IsReadSupported(element) >= 1;
}

CUnitInfoPage::Duration CUnitInfoPage::ReadDuration(int element) {
    BYTE bytes[16];
    ReadElement(element, bytes);
    Duration duration;
    duration.hours = Word(bytes);
    duration.minutes = bytes[2];
    duration.seconds = bytes[3];
    return duration;
}

LRESULT CUnitInfoPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    BYTE bytes[16];
    switch (element) {
    case kIdentifierElement:
        ReadElement(element, bytes);
        std::memcpy(m_identifier.data(), bytes, m_identifier.size());
        SetItemText(kIdentifierId, FormatIdentifier(m_identifier.data()));
        break;
    case kVersionElement:
        ShowVersion();
        break;
    case kReleaseElement: {
        ReadElement(element, bytes);
        CString text;
        text.Format("%04d-%02d-%02d", Word(bytes), bytes[2], bytes[3]);
        SetItemText(kReleaseId, text);
        break;
    }
    case kTotalElement:
        m_total = ReadDuration(element);
        m_totalArrived = true;
        SetItemText(kTotalTimeId, FormatDuration(m_total));
        break;
    case kGasElement:
        m_gas = ReadDuration(element);
        m_gasArrived = true;
        SetItemText(kGasTimeId, FormatDuration(m_gas));
        break;
    case kLastContactElement:
        SetItemText(kLastContactId, FormatDuration(ReadDuration(element)));
        m_lastContactArrived = true;
        break;
    case kFinalizationElement:
        SetItemText(kFinalizationId, FormatDuration(ReadDuration(element)));
        break;
    case kContactStampElement:
        m_contactStampArrived = true;
        break;
    case kBuildElement:
        ShowBuild();
        break;
    case kMilElement:
        ShowMilTime();
        break;
    case kPatchVersionElement:
        ShowPatchVersion();
        break;
    case kPatchDateElement:
        ShowPatchDate();
        break;
    default:
        return 0;
    }
    if (m_totalArrived && m_gasArrived) {
        SetItemText(kPetrolTimeId, FormatDuration(PetrolTime(m_total, m_gas)));
        m_totalArrived = m_gasArrived = false;
    }
    if (m_lastContactArrived && m_contactStampArrived) {
        CheckContact();
    }
    return 0;
}

void CUnitInfoPage::ShowVersion() {
    BYTE version[16];
    ReadElement(kVersionElement, version);
    const bool withBuild = IsSupported(kVersionElement);
    BYTE build[16];
    ReadElement(kBuildElement, build);
    SetItemText(kVersionId, FormatVersion(version, withBuild, Word(build)));
}

void CUnitInfoPage::ShowBuild() {
    if (!IsSupported(kVersionElement)) {
        m_firmwareVersion.Empty();
        m_firmwareBuild.Empty();
        m_firmwareBranch.Empty();
        SetItemText(kDescriptionId, "");
        return;
    }
    BYTE version[16];
    ReadElement(kVersionElement, version);
    BYTE build[16];
    ReadElement(kBuildElement, build);
    const int word = Word(build);
    m_firmwareVersion.Format("%d.%02d", version[2], version[3] & 0x7F);
    m_firmwareBuild.Format("%04d", word & 0x3FF);
    m_firmwareBranch.Format("%d", (word >> 10) & 0x3F);
    ShowDescription();
}

void CUnitInfoPage::ShowMilTime() {
    BYTE bytes[16];
    ReadElement(kMilElement, bytes);
    const bool unset = bytes[0] == 0xFF && bytes[1] == 0xFF && bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (!IsSupported(kMilElement) || unset) {
        SetItemText(kMilTimeId, kNoValue);
        return;
    }
    SetItemText(kMilTimeId, FormatDuration(ReadDuration(kMilElement)));
}

void CUnitInfoPage::ShowPatchVersion() {
    if (!IsSupported(kPatchVersionElement)) {
        SetItemText(kPatchVersionId, kNoValue);
        return;
    }
    BYTE bytes[16];
    ReadElement(kPatchVersionElement, bytes);
    const int build = ((bytes[2] & 3) << 8) + bytes[3];
    const int branch = bytes[2] >> 2;
    CString text;
    text.Format("%d.%02d-%04d (%d)", bytes[0], bytes[1], build, branch);
    SetItemText(kPatchVersionId, text);
}

void CUnitInfoPage::ShowPatchDate() {
    if (!IsSupported(kPatchDateElement)) {
        SetItemText(kPatchDateId, kNoValue);
        return;
    }
    BYTE bytes[16];
    ReadElement(kPatchDateElement, bytes);
    CString text;
    text.Format("%04d-%02d-%02d", Word(bytes), bytes[2], bytes[3]);
    SetItemText(kPatchDateId, text);
}

void CUnitInfoPage::ShowRunningTimes(const Duration& total, const Duration& gas) {
    SetItemText(kTotalTimeId, FormatDuration(total));
    SetItemText(kGasTimeId, FormatDuration(gas));
    SetItemText(kPetrolTimeId, FormatDuration(PetrolTime(total, gas)));
}

// Compares the unit's last contact with the stamp this program stored for it, then stores
// the unit's current stamp.
void CUnitInfoPage::CheckContact() {
    m_lastContactArrived = m_contactStampArrived = false;
    CString unitId;
    for (const BYTE character : m_identifier) {
        if (character == 0) {
            break;
        }
        unitId += static_cast<char>(character);
    }
    if (unitId.IsEmpty()) {
        // An empty name would address the key's default value.
        CLogger::Instance().Log(3000, "CUnitInfoPage: no unit identifier; the contact stamp is not kept.");
        return;
    }
    const Duration lastContact = ReadDuration(kLastContactElement);
    Duration stored;
    if (ReadContactStamp(unitId, stored.hours, stored.minutes, stored.seconds)) {
        SetItemText(kStoredStampId, FormatDuration(stored));
        const bool equal = stored.hours == lastContact.hours && stored.minutes == lastContact.minutes &&
                           stored.seconds == lastContact.seconds;
        m_remarkState = equal ? kRemarkOurContact : kRemarkOtherContact;
    } else {
        SetItemText(kStoredStampId, kNoValue);
        m_remarkState = kRemarkNoStamp;
    }
    ShowRemark();
    const Duration stamp = ReadDuration(kContactStampElement);
    if (!WriteContactStamp(unitId, stamp.hours, stamp.minutes, stamp.seconds)) {
        CLogger::Instance().Log(3000, "CUnitInfoPage: the contact stamp of %s was not stored.",
                                static_cast<LPCSTR>(unitId));
    }
}

LRESULT CUnitInfoPage::OnStatusChanged(WPARAM status, LPARAM port) {
    if (!IsLinkUp(status)) {
        m_totalArrived = m_gasArrived = m_lastContactArrived = m_contactStampArrived = false;
    }
    return 0;
}

LRESULT CUnitInfoPage::OnNewData(WPARAM wParam, LPARAM lParam) {
    ShowRunningTimes(ReadDuration(kLiveTotalElement), ReadDuration(kLiveGasElement));
    return 0;
}

// ---- Registry ----------------------------------------------------------------------------------

bool CUnitInfoPage::ReadContactStamp(LPCSTR unitId, int& hours, int& minutes, int& seconds) {
    CString path;
    if (unitId == nullptr || *unitId == '\0' || !GetSettingsKey(kContactsSection, path)) {
        return false;
    }
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, path, KEY_READ) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key.Get(), unitId, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return false;
    }
    hours = static_cast<int>(value >> 16);
    minutes = static_cast<int>((value >> 8) & 0xFF);
    seconds = static_cast<int>(value & 0xFF);
    return true;
}

bool CUnitInfoPage::WriteContactStamp(LPCSTR unitId, int hours, int minutes, int seconds) {
    CString path;
    if (unitId == nullptr || *unitId == '\0' || !GetSettingsKey(kContactsSection, path)) {
        return false;
    }
    CRegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, path, KEY_WRITE) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD value = (static_cast<DWORD>(hours & 0xFFFF) << 16) |
                        (static_cast<DWORD>(minutes & 0xFF) << 8) | static_cast<DWORD>(seconds & 0xFF);
    return ::RegSetValueExA(key.Get(), unitId, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}
