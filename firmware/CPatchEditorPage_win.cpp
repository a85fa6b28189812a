#include "firmware/CPatchEditorPage.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CFileDialog.h"
#include "expr/Exception.h"
#include "firmware/CAddKeyDlg.h"
#include "firmware/CAddKeyDlgIds.h"
#include "firmware/CModuleResourceSource.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CLocaleNumberFormat.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/RecentSettings.h"

#include <string>

namespace {

// Texts of the string table shared with other pages.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kLoadText = 15007;
constexpr UINT kSaveText = 15008;
constexpr UINT kWriteErrorText = 15120;  // "Error writing file: %s.\nError code: %d."
constexpr UINT kReadErrorText = 15121;   // "Error reading file: %s.\nError code: %d."
constexpr UINT kOutOfRangeText = 15152;  // "Element out of range: %s <- %c%s; %s%c."
constexpr UINT kDescriptionText = 15352;
constexpr UINT kPatchFilterText = 15386;

constexpr char kFolderSetting[] = "Patches";
constexpr char kExtension[] = "zfp";
constexpr int kFontTenths = 85;

constexpr UINT kHeaderIds[CPatchEditorPage::kHeaderEditCount] = {
    IDC_PATCH_MAJOR, IDC_PATCH_MINOR, IDC_PATCH_BUILD, IDC_PATCH_BRANCH,
    IDC_PATCH_YEAR,  IDC_PATCH_MONTH, IDC_PATCH_DAY};

// The ranges while typing; the day is bound by the month only on saving.
const PatchHeaderField kHeaderRanges[CPatchEditorPage::kHeaderEditCount] = {
    PatchHeaderField::Major(),  PatchHeaderField::Minor(), PatchHeaderField::Build(),
    PatchHeaderField::Branch(), PatchHeaderField::Year(),  PatchHeaderField::Month(),
    PatchHeaderField::Day()};

// A program of the resource that does not parse leaves the page with conversions of one byte
// per value, and the log says why.
std::unique_ptr<CXferTable> LoadXferTable(UINT resourceId) {
    try {
        return std::make_unique<CXferTable>(resourceId, CModuleResourceSource());
    } catch (const ExprEval::Exception& error) {
        CLogger::Instance().Log(1000, "CPatchEditorPage: the conversion table %u does not parse (error %d).",
                                resourceId, error.GetType());
        return std::make_unique<CXferTable>();
    }
}

CString NumberText(int value) {
    CString text;
    text.Format("%d", value);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPatchEditorPage, CXmlForm)
    ON_MESSAGE(WM_FORM_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_BN_CLICKED(IDC_PATCH_LOAD, OnLoad)
    ON_BN_CLICKED(IDC_PATCH_SAVE, OnSave)
    ON_BN_CLICKED(IDC_PATCH_NEW_KEY, OnNewKey)
    ON_BN_CLICKED(IDC_PATCH_DELETE_KEY, OnDeleteKey)
    ON_CBN_SELENDOK(IDC_PATCH_KEYS, OnKeySelected)
END_MESSAGE_MAP()

CPatchEditorPage::CPatchEditorPage(CWnd* parent)
    : CPatchEditorPage(kFormResourceId, kXferResourceId, parent) {}

CPatchEditorPage::CPatchEditorPage(UINT formResourceId, UINT xferResourceId, CWnd* parent)
    : CXmlForm(formResourceId, kTemplateId, parent),
      m_patch(std::make_unique<CFirmwarePatch>()),
      m_table(LoadXferTable(xferResourceId)) {}

void CPatchEditorPage::DoDataExchange(CDataExchange* exchange) {
    CXmlForm::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PATCH_LOAD, m_load);
    DDX_Control(exchange, IDC_PATCH_SAVE, m_save);
    DDX_Control(exchange, IDC_PATCH_VERSION_LABEL, m_versionLabel);
    DDX_Control(exchange, IDC_PATCH_DATE_LABEL, m_dateLabel);
    for (int i = 0; i < kHeaderEditCount; ++i) {
        DDX_Control(exchange, static_cast<int>(kHeaderIds[i]), m_header[i]);
    }
    DDX_Control(exchange, IDC_PATCH_NEW_KEY, m_newKey);
    DDX_Control(exchange, IDC_PATCH_KEYS, m_keys);
    DDX_Control(exchange, IDC_PATCH_DELETE_KEY, m_deleteKey);
    DDX_Control(exchange, IDC_PATCH_KEY_LIST, m_keyListText);
    DDX_Control(exchange, IDC_PATCH_DESCRIPTION_LABEL, m_descriptionLabel);
    DDX_Control(exchange, IDC_PATCH_DESCRIPTION, m_description);
}

BOOL CPatchEditorPage::OnInitDialog() {
    // Room for the fixed controls: ten gaps, twelve lines and the margin.
    m_topOffset =
        10 * ScaledLength(8, m_scaleY) + 12 * ScaledLength(17, m_scaleY) + ScaledLength(2, m_scaleY);
    CXmlForm::OnInitDialog();
    PublishElements();
    SetFonts();
    DoLayout();
    SetTexts();
    RefreshKeys(CDescriptionKeyList::kSelectFirst);
    if (!ReadDirectorySetting(kFolderSetting, m_folder)) {
        m_folder.Empty();
    }
    return TRUE;
}

// Every element becomes a record at once, flagged when it differs from the form's default.
void CPatchEditorPage::PublishElements() {
    for (FormElement* element : SortedElements()) {
        SendMessage(WM_FORM_ELEMENT_CHANGED, IsElementUnchanged(*element) ? 0 : 1,
                    reinterpret_cast<LPARAM>(element));
    }
}

CString CPatchEditorPage::Text(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(id, text);
    }
    return text;
}

void CPatchEditorPage::ShowMessage(const CString& text, UINT type) {
    CLogger::Instance().Log(3000, "CPatchEditorPage: message: %s", static_cast<LPCSTR>(text));
    AfxMessageBox(text, type);
}

void CPatchEditorPage::ShowFileError(UINT formatId, const CString& path, int cause) {
    ShowMessage(FormatText(Text(formatId), static_cast<LPCSTR>(path), cause), MB_OK | MB_ICONSTOP);
}

// ---- Texts and layout -----------------------------------------------------------------

void CPatchEditorPage::SetTexts() {
    m_save.SetWindowText(Text(kSaveText));
    m_load.SetWindowText(Text(kLoadText));
    m_versionLabel.SetWindowText(Text(IDS_PATCH_VERSION_LABEL));
    m_dateLabel.SetWindowText(Text(IDS_PATCH_DATE_LABEL));
    m_newKey.SetWindowText(Text(IDS_ADD_KEY_CAPTION));
    m_deleteKey.SetWindowText(Text(IDS_PATCH_DELETE_KEY));
    if (m_keys.GetCount() == 0) {
        m_keyListText.SetWindowText(Text(IDS_PATCH_NO_KEYS));
    }
    m_descriptionLabel.SetWindowText(Text(kDescriptionText));
}

LRESULT CPatchEditorPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    SetTexts();
    return CXmlForm::OnLanguageChanged(wParam, lParam);
}

void CPatchEditorPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    CFont* font = GetCachedFont(m_fonts, this, "Verdana", kFontTenths, m_scaleX, m_scaleY, FW_NORMAL);
    if (font == nullptr) {
        CLogger::Instance().Log(3000, "CPatchEditorPage::SetFonts(): no Verdana font.");
        return;
    }
    CWnd* controls[] = {&m_load, &m_save,      &m_versionLabel, &m_dateLabel,        &m_newKey,
                        &m_keys, &m_deleteKey, &m_keyListText,  &m_descriptionLabel, &m_description};
    for (CWnd* control : controls) {
        control->SetFont(static_cast<HFONT>(*font), FALSE);
    }
    for (CEdit& edit : m_header) {
        edit.SetFont(static_cast<HFONT>(*font), FALSE);
    }
}

void CPatchEditorPage::DoLayout() {
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int marginX = ScaledLength(2, m_scaleX);
    const int marginY = ScaledLength(2, m_scaleY);
    const int gapX = ScaledLength(8, m_scaleX);
    const int gapY = ScaledLength(8, m_scaleY);
    const int line = ScaledLength(17, m_scaleY);
    const int labelWidth = ScaledLength(200, m_scaleX);
    const int numberWidth = ScaledLength(45, m_scaleX);
    const int comboWidth = ScaledLength(90, m_scaleX);
    const int buttonWidth = ScaledLength(100, m_scaleX);
    const int keyButtonWidth = ScaledLength(200, m_scaleX);
    const int valuesX = marginX + labelWidth + gapX;
    int y = marginY;
    m_load.MoveWindow(marginX, y, buttonWidth, line);
    y += line + gapY;
    m_save.MoveWindow(marginX, y, buttonWidth, line);
    y += line + gapY;
    m_versionLabel.MoveWindow(marginX, y, labelWidth, line);
    for (int i = kMajor; i <= kBranch; ++i) {
        m_header[i].MoveWindow(valuesX + (i - kMajor) * (numberWidth + gapX), y, numberWidth, line);
    }
    y += line + gapY;
    m_dateLabel.MoveWindow(marginX, y, labelWidth, line);
    for (int i = kYear; i <= kDay; ++i) {
        m_header[i].MoveWindow(valuesX + (i - kYear) * (numberWidth + gapX), y, numberWidth, line);
    }
    y += line + gapY;
    m_newKey.MoveWindow(marginX, y, keyButtonWidth, line);
    // The combo's window reaches down over its list of four lines.
    m_keys.MoveWindow((width - comboWidth) / 2, y, comboWidth, 5 * line);
    m_deleteKey.MoveWindow(width - marginX - keyButtonWidth, y, keyButtonWidth, line);
    y += line + gapY;
    m_descriptionLabel.MoveWindow(marginX, y, labelWidth, line);
    m_keyListText.MoveWindow(valuesX, y, width - marginX - valuesX, line);
    y += line + gapY;
    m_description.MoveWindow(marginX, y, width - 2 * marginX, 6 * line);
}

// ---- Elements and records -------------------------------------------------------------

LRESULT CPatchEditorPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const FormElement* element = reinterpret_cast<const FormElement*>(lParam);
    if (element != nullptr && !Binding().StoreElement(*element, static_cast<int>(wParam))) {
        ShowInvalidElement(element->id);
    }
    return 0;
}

void CPatchEditorPage::ShowInvalidElement(int32_t id) {
    CString idText;
    idText.Format("%02X", static_cast<unsigned>(id));
    ShowMessage(FormatText(Text(kInvalidElementText), static_cast<LPCSTR>(idText)), MB_OK | MB_ICONSTOP);
}

void CPatchEditorPage::PatchToForm() {
    const std::vector<int32_t> failed = Binding().PatchToForm(SortedElements(), [this](FormElement& element) {
        SendMessage(WM_FORM_ELEMENT_CHANGED, 0, reinterpret_cast<LPARAM>(&element));
    });
    UpdateControls();
    // The mark buttons show the marks taken from the records.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    for (const int32_t id : failed) {
        ShowInvalidElement(id);
    }
}

// ---- Load and save --------------------------------------------------------------------

bool CPatchEditorPage::ChooseFile(BOOL open, CString& path) {
    const DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (open ? 0 : OFN_OVERWRITEPROMPT);
    CFileDialog dialog(open, kExtension, m_fileName, flags, Text(kPatchFilterText), this);
    dialog.SetInitialFolder(m_folder);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    path = dialog.GetPathName();
    return true;
}

void CPatchEditorPage::RememberFile(const CString& path) {
    const int separator = path.ReverseFind('\\');
    m_fileName = path.Mid(separator + 1);
    if (separator < 0) {
        return;
    }
    m_folder = path.Left(separator);
    WriteDirectorySetting(kFolderSetting, m_folder);
}

void CPatchEditorPage::OnLoad() {
    CString path;
    if (!ChooseFile(TRUE, path)) {
        return;
    }
    auto loaded = std::make_unique<CFirmwarePatch>();
    int cause = 0;
    if (loaded->Load(path, cause) == 0) {
        ShowFileError(kReadErrorText, path, cause);
        return;
    }
    m_patch = std::move(loaded);
    RememberFile(path);
    PatchToForm();
    ShowHeader();
    RefreshKeys(CDescriptionKeyList::kSelectFirst);
}

void CPatchEditorPage::ShowHeader() {
    const int values[kHeaderEditCount] = {
        m_patch->GetVersion() >> 8, m_patch->GetVersion() & 0xFF, m_patch->GetBuild() & 0x3FF,
        m_patch->GetBuild() >> 10,  m_patch->GetYear(),           m_patch->GetMonth(),
        m_patch->GetDay()};
    for (int i = 0; i < kHeaderEditCount; ++i) {
        SetHeaderText(i, NumberText(values[i]));
    }
}

void CPatchEditorPage::OnSave() {
    std::array<int, kHeaderEditCount> values = {};
    if (!ReadHeader(values)) {
        return;
    }
    m_patch->SetVersion(PatchHeaderField::VersionWord(values[kMajor], values[kMinor]));
    m_patch->SetBuild(PatchHeaderField::BuildWord(values[kBuild], values[kBranch]));
    m_patch->SetDate(static_cast<WORD>(values[kYear]), static_cast<BYTE>(values[kMonth]),
                     static_cast<BYTE>(values[kDay]));
    CString path;
    if (!ChooseFile(FALSE, path)) {
        return;
    }
    int cause = 0;
    if (m_patch->Save(path, cause) == 0) {
        ShowFileError(kWriteErrorText, path, cause);
        return;
    }
    RememberFile(path);
}

// ---- Header edits ---------------------------------------------------------------------

bool CPatchEditorPage::ReadRangedField(CEdit& edit, const PatchHeaderField& range, int& value) {
    CString text;
    edit.GetWindowText(text);
    const DWORD language = m_resources != nullptr ? m_resources->GetLanguageId() : 0;
    const PatchHeaderField::Outcome outcome =
        range.Check(CLocaleNumberFormat::FromLocale(language), text, value);
    if (outcome == PatchHeaderField::kValid) {
        return true;
    }
    ShowMessage(range.Message(outcome, text, Text(IDS_PATCH_INVALID_VERSION), Text(kOutOfRangeText)),
                MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CPatchEditorPage::ReadHeader(std::array<int, kHeaderEditCount>& values) {
    for (int i = 0; i < kHeaderEditCount; ++i) {
        const PatchHeaderField range =
            i == kDay ? PatchHeaderField::DayOfMonth(values[kYear], values[kMonth]) : kHeaderRanges[i];
        if (!ReadRangedField(m_header[i], range, values[i])) {
            m_header[i].SetFocus();
            return false;
        }
    }
    return true;
}

void CPatchEditorPage::SetHeaderText(int index, const CString& text) {
    m_headerTexts[index] = text;
    m_header[index].SetWindowText(text);
}

void CPatchEditorPage::CommitHeaderEdit(int index) {
    CString text;
    m_header[index].GetWindowText(text);
    if (text == m_headerTexts[index]) {
        return;
    }
    int value = 0;
    if (!ReadRangedField(m_header[index], kHeaderRanges[index], value)) {
        m_header[index].SetWindowText(m_headerTexts[index]);
        return;
    }
    SetHeaderText(index, NumberText(value));
    m_header[index].SetSel(0, -1);
}

int CPatchEditorPage::HeaderEditOf(UINT controlId) const {
    for (int i = 0; i < kHeaderEditCount; ++i) {
        if (kHeaderIds[i] == controlId) {
            return i;
        }
    }
    return -1;
}

int CPatchEditorPage::FocusedHeaderEdit() const {
    const CWnd* focus = CWnd::GetFocus();
    for (int i = 0; i < kHeaderEditCount; ++i) {
        if (focus != nullptr && focus->GetSafeHwnd() == m_header[i].GetSafeHwnd()) {
            return i;
        }
    }
    return -1;
}

BOOL CPatchEditorPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    const int focused = code == 0 && (id == IDOK || id == IDCANCEL) ? FocusedHeaderEdit() : -1;
    if (focused >= 0 && id == IDOK) {
        CommitHeaderEdit(focused);
        return TRUE;
    }
    if (focused >= 0) {
        if (m_header[focused].CanUndo()) {
            m_header[focused].Undo();
            m_header[focused].EmptyUndoBuffer();
        }
        return TRUE;
    }
    if (code == EN_KILLFOCUS && id == IDC_PATCH_DESCRIPTION) {
        StoreDescription();
    } else if (code == EN_KILLFOCUS && HeaderEditOf(id) >= 0) {
        CommitHeaderEdit(HeaderEditOf(id));
    }
    return CXmlForm::OnCommand(wParam, lParam);
}

// ---- Keys and descriptions ------------------------------------------------------------

bool CPatchEditorPage::AskNewKey(CString& key) {
    CAddKeyDlg dialog(this);
    dialog.SetResourceManager(m_resources);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    key = dialog.GetKey();
    return true;
}

void CPatchEditorPage::OnNewKey() {
    CString key;
    if (!AskNewKey(key)) {
        return;
    }
    CMapStringToString descriptions;
    m_patch->GetDescriptions(descriptions);
    CString existing;
    if (descriptions.Lookup(key, existing)) {
        ShowMessage(Text(IDS_PATCH_KEY_EXISTS), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_patch->SetDescription(key, "");
    RefreshKeys(CDescriptionKeyList::kKeepSelected);
}

int CPatchEditorPage::SelectedKey() const {
    const int item = m_keys.GetCurSel();
    const int index = item < 0 ? -1 : static_cast<int>(m_keys.GetItemData(item));
    return index < m_keyList.GetCount() ? index : -1;
}

void CPatchEditorPage::OnDeleteKey() {
    const int selected = SelectedKey();
    if (selected < 0 ||
        AfxMessageBox(Text(IDS_PATCH_DELETE_QUESTION), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    m_patch->RemoveDescription(m_keyList.GetKey(selected));
    RefreshKeys(CDescriptionKeyList::kSelectNeighbour);
}

void CPatchEditorPage::OnKeySelected() {
    const int selected = SelectedKey();
    if (selected >= 0) {
        m_description.SetWindowText(m_keyList.GetText(selected));
    }
}

void CPatchEditorPage::StoreDescription() {
    const int selected = SelectedKey();
    if (selected < 0) {
        return;
    }
    CString text;
    m_description.GetWindowText(text);
    m_keyList.SetText(selected, text);
    m_patch->SetDescription(m_keyList.GetKey(selected), text);
}

void CPatchEditorPage::RefreshKeys(CDescriptionKeyList::Mode mode) {
    CMapStringToString descriptions;
    m_patch->GetDescriptions(descriptions);
    m_keyList.Refresh(descriptions, mode, SelectedKey());
    m_keys.ResetContent();
    for (int i = 0; i < m_keyList.GetCount(); ++i) {
        m_keys.SetItemData(m_keys.AddString(m_keyList.GetKey(i)), static_cast<DWORD_PTR>(i));
    }
    const int selected = m_keyList.GetSelection();
    const BOOL any = selected >= 0 ? TRUE : FALSE;
    m_keys.EnableWindow(any);
    m_description.EnableWindow(any);
    m_deleteKey.EnableWindow(any);
    m_keys.SetCurSel(selected);
    m_description.SetWindowText(any ? m_keyList.GetText(selected).GetString() : "");
    m_keyListText.SetWindowText(m_keyList.GetSummary(Text(IDS_PATCH_NO_KEYS)));
}
