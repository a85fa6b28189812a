// Editing in the XML form: commits of edits, choices, clicks and grid cells into the fields'
// current values, the elements' marks, and the report of every change to the page.
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "forms/CXmlForm.h"
#include "forms/IsWindowOfClass.h"
#include "grid/CGridCtrl.h"
#include "grid/GridRecords.h"
#include "link/CLogger.h"

namespace {

constexpr int kLogRefusal = 3000;

// The focused window when it is an edit control, else null.
HWND FocusedEdit() {
    const HWND focus = ::GetFocus();
    return IsWindowOfClass(focus, "Edit") ? focus : nullptr;
}

bool IsRefusal(XmlFormCommit::Outcome outcome) {
    return outcome == XmlFormCommit::Outcome::Invalid || outcome == XmlFormCommit::Outcome::OutOfRange;
}

}  // namespace

BOOL CXmlForm::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == 0 && id == IDOK) {
        return OnEnter();
    }
    if (code == 0 && id == IDCANCEL) {
        return OnEscape();
    }
    if (OnControlCommand(id, code)) {
        return TRUE;
    }
    return CScrollPage::OnCommand(wParam, lParam);
}

// TRUE when the command was a click that the form consumed; choices and edits still go on
// to the base.
BOOL CXmlForm::OnControlCommand(UINT id, UINT code) {
    if (code == 0) {
        const auto mark = m_markElements.find(id);
        if (mark != m_markElements.end()) {
            OnMarkClicked(*mark->second);
            return TRUE;
        }
    }
    ControlRecord* control = FindFieldControl(id);
    if (control == nullptr) {
        return FALSE;
    }
    if (code == CBN_SELENDOK && control->field->Select() != nullptr) {
        OnSelectionChosen(*control);
    } else if (code == EN_KILLFOCUS && control->field->Edit() != nullptr) {
        CommitEdit(*control);
    } else if (code == 0 && control->field->Check() != nullptr) {
        OnCheckClicked(*control);
        return TRUE;
    }
    return FALSE;
}

BOOL CXmlForm::OnEnter() {
    const HWND edit = FocusedEdit();
    if (edit == nullptr) {
        return TRUE;
    }
    ControlRecord* control = FindFieldControl(static_cast<UINT>(::GetDlgCtrlID(edit)));
    if (control != nullptr && control->window->GetSafeHwnd() == edit && control->field->Edit() != nullptr) {
        CommitEdit(*control);
    }
    return TRUE;
}

BOOL CXmlForm::OnEscape() {
    const HWND edit = FocusedEdit();
    if (edit == nullptr || ::SendMessageA(edit, EM_CANUNDO, 0, 0) == 0) {
        return FALSE;
    }
    ::SendMessageA(edit, EM_UNDO, 0, 0);
    ::SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    return TRUE;
}

void CXmlForm::CommitEdit(ControlRecord& control) {
    if (m_refusing) {
        return;
    }
    FormEditValue& edit = *control.field->Edit();
    CString typed;
    control.window->GetWindowText(typed);
    const XmlFormCommit::Result result =
        edit.IsText() ? XmlFormCommit::CommitText(edit, typed.GetString(), CommitTexts())
                      : XmlFormCommit::CommitNumber(edit, typed.GetString(), NumberFormat(), CommitTexts());
    if (IsRefusal(result.outcome)) {
        ShowRefusal(result.message);
        return;
    }
    auto* window = static_cast<CEdit*>(control.window.get());
    window->SetWindowText(result.shown.c_str());
    window->SetSel(0, -1);
    if (result.outcome == XmlFormCommit::Outcome::Changed) {
        OnElementChanged(*control.element);
    }
}

void CXmlForm::OnSelectionChosen(ControlRecord& control) {
    auto* combo = static_cast<CComboBox*>(control.window.get());
    const int selection = combo->GetCurSel();
    if (selection < 0) {
        return;
    }
    const auto value = static_cast<uint32_t>(combo->GetItemData(selection));
    if (ChooseSelectValue(*control.field->Select(), value)) {
        OnElementChanged(*control.element);
    }
}

void CXmlForm::OnCheckClicked(ControlRecord& control) {
    ToggleCheck(*control.field->Check());
    control.window->Invalidate();
    OnElementChanged(*control.element);
}

void CXmlForm::OnMarkClicked(FormElement& element) {
    ToggleMark(element);
    RepaintMarkButton(element);
}

void CXmlForm::OnElementChanged(FormElement& element) {
    const int marked = MarkAfterChange(element);
    RepaintMarkButton(element);
    SendMessage(WM_FORM_ELEMENT_CHANGED, static_cast<WPARAM>(marked), reinterpret_cast<LPARAM>(&element));
}

void CXmlForm::RepaintMarkButton(const FormElement& element) {
    const auto button = m_markButtons.find(&element);
    if (button != m_markButtons.end()) {
        button->second->Invalidate();
    }
}

void CXmlForm::ShowRefusal(const std::string& message) {
    CLogger::Instance().Log(kLogRefusal, "CXmlForm: %s", message.c_str());
    m_refusing = true;
    AfxMessageBox(message.c_str(), MB_OK);
    m_refusing = false;
}

void CXmlForm::OnGridEndEdit(UINT id, NMHDR* header, LRESULT* result) {
    *result = 0;
    ControlRecord* control = FindFieldControl(id);
    if (control == nullptr || control->field->Grid() == nullptr) {
        return;
    }
    const auto* notice = reinterpret_cast<const GridNotifyRecord*>(header);
    std::vector<FormGridLine>& lines = control->field->Grid()->lines;
    if (notice->row < 0 || notice->row >= static_cast<int>(lines.size()) || notice->col < 1) {
        return;
    }
    auto* grid = static_cast<CGridCtrl*>(control->window.get());
    const CString typed = grid->GetCellText(notice->row, notice->col);
    const XmlFormCommit::Result commit = XmlFormCommit::CommitGridCell(
        lines[static_cast<size_t>(notice->row)], static_cast<size_t>(notice->col - 1), typed.GetString(),
        NumberFormat(), CommitTexts());
    if (IsRefusal(commit.outcome)) {
        ShowRefusal(commit.message);
    } else if (commit.outcome == XmlFormCommit::Outcome::Changed) {
        OnElementChanged(*control->element);
    }
    grid->SetCellText(notice->row, notice->col, commit.shown.c_str());
}
