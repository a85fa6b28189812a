// The rows of the XML form: one per element (and one per field of an element with several),
// built from the model when the window initialises, and the values shown in them.
#include "classlib/win/CButton.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CScopedSelect.h"
#include "forms/CSeparatorLine.h"
#include "forms/CXmlForm.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/ITextResources.h"

#include <algorithm>

namespace {

constexpr UINT kUnnumbered = 0xFFFF;  // unit labels and separators are never looked up
constexpr UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kTitlePadding = 4;

RECT Rect(int left, int top, int right, int bottom) {
    RECT rect = {left, top, right, bottom};
    return rect;
}

}  // namespace

CXmlForm::RowRects CXmlForm::RowAt(int y, int indent) const {
    const XmlFormLayout::Measures& m = m_measures;
    const int bottom = y + m.rowHeight;
    RowRects row;
    row.mark = Rect(m.leftMargin, y, m.leftMargin + m.markWidth, bottom);
    const int labelLeft = row.mark.right + m.gapX;
    row.label = Rect(labelLeft + indent, y, labelLeft + m.labelWidth, bottom);
    const int valueLeft = labelLeft + m.labelWidth + m.gapX;
    row.value = Rect(valueLeft, y, valueLeft + m.valueWidth, bottom);
    const int unitLeft = row.value.right + m.gapX;
    row.unit = Rect(unitLeft, y, unitLeft + m.unitWidth, bottom);
    return row;
}

int CXmlForm::BuildControls() {
    int y = m_topOffset + m_measures.topMargin;
    for (const std::unique_ptr<FormElement>& element : m_model.Elements()) {
        BuildElementRows(*element, y);
    }
    return y + m_measures.leftMargin;
}

void CXmlForm::BuildElementRows(FormElement& element, int& y) {
    const RowRects row = RowAt(y, 0);
    if (element.separator != 0) {
        CreateSeparator(Rect(row.mark.left, row.mark.top, row.unit.right, row.mark.bottom));
        y += m_measures.rowHeight + m_measures.gapY;
        return;
    }
    CreateMarkButton(element, row.mark);
    if (element.fields.size() == 1) {
        BuildFieldRow(element, *element.fields.front(), row, element.labelTextId, y);
        return;
    }
    CreateLabel(element.labelTextId, Rect(row.label.left, row.label.top, row.value.right, row.label.bottom));
    y += m_measures.rowHeight + m_measures.gapY;
    for (const std::unique_ptr<FormField>& field : element.fields) {
        BuildFieldRow(element, *field, RowAt(y, 3 * m_measures.gapX), field->labelTextId, y);
    }
}

void CXmlForm::BuildFieldRow(FormElement& element,
                             FormField& field,
                             const RowRects& row,
                             UINT labelTextId,
                             int& y) {
    RECT value = row.value;
    CWnd* window = nullptr;
    const bool ownRow = BuildFieldControl(element, field, window, value);
    RECT label = row.label;
    if (ownRow) {
        label.right = row.value.right;
    }
    CreateLabel(labelTextId, label);
    if (!field.unit.empty()) {
        CreateUnitLabel(field.unit, row.unit);
    }
    y = value.bottom + m_measures.gapY;
}

bool CXmlForm::BuildFieldControl(FormElement& element, FormField& field, CWnd*& window, RECT& valueRect) {
    bool ownRow = false;
    std::unique_ptr<CWnd> control;
    if (field.Edit() != nullptr) {
        auto edit = std::make_unique<CEdit>();
        edit->Create(WS_CHILD | WS_BORDER | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, valueRect, this,
                     field.controlId);
        control = std::move(edit);
    } else if (field.Check() != nullptr) {
        auto check = std::make_unique<CButton>();
        check->Create("", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, valueRect, this, field.controlId);
        control = std::move(check);
    } else if (const FormSelectValue* select = field.Select()) {
        RECT dropped = valueRect;
        dropped.bottom =
            dropped.top +
            XmlFormLayout::ComboDropRows(static_cast<int>(select->itemValues.size())) * m_measures.rowHeight;
        auto combo = std::make_unique<CComboBox>();
        combo->Create(WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, dropped, this, field.controlId);
        control = std::move(combo);
    } else if (field.Grid() != nullptr) {
        control = CreateGrid(field, valueRect, ownRow);
    }
    if (control == nullptr || control->GetSafeHwnd() == nullptr) {
        CLogger::Instance().Log(3000, "CXmlForm: the control of field %u could not be created.",
                                field.controlId);
        return ownRow;
    }
    window = control.get();
    if (m_rowFont != nullptr) {
        window->SetFont(m_rowFont, FALSE);
    }
    AddControl(std::move(control), &element, &field);
    ShowFieldValue(m_controls.back());
    window->ShowWindow(SW_SHOW);
    return ownRow;
}

std::vector<CString> CXmlForm::GridTitles(const FormGridValue& grid) const {
    std::vector<CString> titles;
    for (const FormGridLine& line : grid.lines) {
        CString title = LoadText(m_resources, line.labelTextId);
        if (!line.unit.empty()) {
            title.AppendFormat(" (%s)", line.unit.c_str());
        }
        titles.push_back(title);
    }
    return titles;
}

int CXmlForm::TitleColumnWidth(const std::vector<CString>& titles) {
    CClientDC dc(this);
    CScopedSelect font(dc, UsableFont(m_rowFont));
    int widest = 0;
    for (const CString& title : titles) {
        RECT measured = {};
        ::DrawTextA(dc.GetSafeHdc(), title.GetString(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
        widest = std::max(widest, static_cast<int>(measured.right - measured.left));
    }
    return widest + kTitlePadding;
}

std::unique_ptr<CWnd> CXmlForm::CreateGrid(FormField& field, RECT& valueRect, bool& ownRow) {
    const FormGridValue& value = *field.Grid();
    const std::vector<CString> titles = GridTitles(value);
    const int titleWidth = TitleColumnWidth(titles);
    const int columns = static_cast<int>(value.lines.front().currentValues.size());
    const int rowHeight = valueRect.bottom - valueRect.top;
    const int width = columns * m_measures.gridColumnWidth + titleWidth;
    ownRow = XmlFormLayout::GridTakesOwnRow(width, m_measures.valueWidth);
    if (ownRow) {
        valueRect.top += m_measures.rowHeight + m_measures.gapY;
    }
    valueRect.left = valueRect.right - width;
    valueRect.bottom = valueRect.top + static_cast<int>(value.lines.size()) * rowHeight;
    auto grid = std::make_unique<CGridCtrl>();
    if (!grid->Create(valueRect, this, field.controlId, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP)) {
        return nullptr;
    }
    grid->SetEditable(TRUE);
    grid->EnableDragAndDrop(FALSE);
    grid->EnableTitleTips(FALSE);
    grid->SetTrackFocusCell(FALSE);
    grid->SetRowResize(FALSE);
    grid->SetColumnResize(FALSE);
    grid->SetFixedRowSelection(FALSE);
    grid->SetFixedColumnSelection(FALSE);
    grid->EnableSelection(FALSE);
    grid->SetListMode(FALSE);
    grid->SetGridLines(GRID_LINES_BOTH);
    for (const BOOL fixedColumn : {FALSE, TRUE}) {
        CGridCellBase* cell = grid->GetDefaultCell(FALSE, fixedColumn);
        cell->SetFont(&m_rowLogFont);
        cell->SetMargin(0);
        cell->SetFormat(kCellFormat);
    }
    grid->SetFixedRowCount(0);
    grid->SetFixedColumnCount(1);
    grid->SetRowCount(static_cast<int>(value.lines.size()));
    grid->SetColumnCount(columns + 1);
    grid->SetColumnWidth(0, titleWidth);
    for (int column = 1; column <= columns; ++column) {
        grid->SetColumnWidth(column, m_measures.gridColumnWidth);
    }
    for (int row = 0; row < grid->GetRowCount(); ++row) {
        grid->SetRowHeight(row, rowHeight);
        grid->SetCellText(row, 0, titles[static_cast<size_t>(row)]);
    }
    grid->StretchToWindow(TRUE);
    return grid;
}

void CXmlForm::ShowGridValues(CGridCtrl& grid, const FormGridValue& value) {
    const int columns = grid.GetColumnCount() - 1;
    for (int row = 0; row < static_cast<int>(value.lines.size()) && row < grid.GetRowCount(); ++row) {
        const FormGridLine& line = value.lines[static_cast<size_t>(row)];
        for (int column = 1; column <= columns; ++column) {
            const size_t index = static_cast<size_t>(column - 1);
            // Cells past a shorter line's values have nothing behind them: empty and not editable.
            const bool present = index < line.currentValues.size();
            grid.SetCellText(
                row, column,
                present ? XmlFormCommit::FormatNumber(line.currentValues[index], line.precision).c_str()
                        : "");
            if (!present || line.IsReadOnly(index)) {
                grid.SetCellState(row, column, grid.GetCellState(row, column) | GRID_STATE_READONLY);
                grid.SetCellTextColour(row, column, ::GetSysColor(COLOR_GRAYTEXT));
            }
        }
    }
    grid.Invalidate();
}

void CXmlForm::RelabelGrid(CGridCtrl& grid, const FormGridValue& value) {
    const std::vector<CString> titles = GridTitles(value);
    const int titleWidth = TitleColumnWidth(titles);
    RECT placed = {};
    grid.GetWindowRect(&placed);
    ScreenToClient(&placed);
    const int width = (grid.GetColumnCount() - 1) * m_measures.gridColumnWidth + titleWidth;
    grid.MoveWindow(placed.right - width, placed.top, width, placed.bottom - placed.top, TRUE);
    grid.SetColumnWidth(0, titleWidth);
    for (int row = 0; row < static_cast<int>(titles.size()) && row < grid.GetRowCount(); ++row) {
        grid.SetCellText(row, 0, titles[static_cast<size_t>(row)]);
    }
    grid.Invalidate();
}

void CXmlForm::FillSelect(CComboBox& combo, const FormSelectValue& select) const {
    combo.ResetContent();
    for (size_t i = 0; i < select.itemValues.size(); ++i) {
        const int index = combo.AddString(LoadText(m_resources, select.itemTextIds[i]));
        combo.SetItemData(index, select.itemValues[i]);
    }
    ShowSelection(combo, select);
}

void CXmlForm::ShowSelection(CComboBox& combo, const FormSelectValue& select) {
    int chosen = 0;
    for (int index = 0; index < combo.GetCount(); ++index) {
        if (combo.GetItemData(index) == select.current) {
            chosen = index;
            break;
        }
    }
    combo.SetCurSel(chosen);
}

void CXmlForm::CreateMarkButton(FormElement& element, const RECT& rect) {
    auto button = std::make_unique<CButton>();
    const UINT id = static_cast<UINT>(NextUniqueId());
    if (!button->Create("", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, rect, this, id)) {
        CLogger::Instance().Log(3000, "CXmlForm: the mark button of element %d could not be created.",
                                element.id);
        return;
    }
    if (m_rowFont != nullptr) {
        button->SetFont(m_rowFont, FALSE);
    }
    button->ShowWindow(SW_SHOW);
    m_markElements[id] = &element;
    m_markButtons[&element] = button.get();
    m_markButtonWindows.push_back(std::move(button));
}

void CXmlForm::CreateLabel(UINT textId, const RECT& rect) {
    LabelRecord label;
    label.window = std::make_unique<CStaticExtended>();
    label.controlId = static_cast<UINT>(NextUniqueId());
    label.textId = textId;
    label.window->SetBkColor(::GetSysColor(COLOR_WINDOW));
    const CString text = textId != 0 ? LoadText(m_resources, textId) : CString();
    if (!label.window->Create(text, WS_CHILD | SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_CENTERIMAGE, rect, this,
                              label.controlId)) {
        CLogger::Instance().Log(3000, "CXmlForm: the label of text %u could not be created.", textId);
        return;
    }
    if (m_rowFont != nullptr) {
        label.window->SetFont(m_rowFont, FALSE);
    }
    label.window->ShowWindow(SW_SHOW);
    if (m_tooltip.GetSafeHwnd() != nullptr) {
        m_tooltip.AddTool(label.window.get(), LPSTR_TEXTCALLBACK);
    }
    m_labels.push_back(std::move(label));
}

void CXmlForm::CreateUnitLabel(const std::string& unit, const RECT& rect) {
    auto label = std::make_unique<CStaticExtended>();
    if (!label->Create(unit.c_str(), WS_CHILD | SS_CENTERIMAGE, rect, this, kUnnumbered)) {
        CLogger::Instance().Log(3000, "CXmlForm: the unit label \"%s\" could not be created.", unit.c_str());
        return;
    }
    if (m_rowFont != nullptr) {
        label->SetFont(m_rowFont, FALSE);
    }
    label->ShowWindow(SW_SHOW);
    AddControl(std::move(label), nullptr, nullptr);
}

void CXmlForm::CreateSeparator(const RECT& rect) {
    auto line = std::make_unique<CSeparatorLine>();
    if (!line->Create("", WS_CHILD, rect, this, kUnnumbered)) {
        CLogger::Instance().Log(3000, "CXmlForm: a separator line could not be created.");
        return;
    }
    line->ShowWindow(SW_SHOW);
    AddControl(std::move(line), nullptr, nullptr);
}

void CXmlForm::AddControl(std::unique_ptr<CWnd> window, FormElement* element, FormField* field) {
    ControlRecord record;
    record.window = std::move(window);
    record.controlId = field != nullptr ? static_cast<int>(field->controlId) : -1;
    record.elementId = element != nullptr ? element->id : -1;
    record.element = element;
    record.field = field;
    m_controls.push_back(std::move(record));
}

CXmlForm::ControlRecord* CXmlForm::FindFieldControl(UINT controlId) {
    for (ControlRecord& control : m_controls) {
        if (control.field != nullptr && control.field->controlId == controlId) {
            return &control;
        }
    }
    return nullptr;
}

void CXmlForm::UpdateControls() {
    for (const std::unique_ptr<FormElement>& element : m_model.Elements()) {
        for (const std::unique_ptr<FormField>& field : element->fields) {
            // A separator's fields have no controls.
            if (ControlRecord* control = FindFieldControl(field->controlId)) {
                ShowFieldValue(*control);
            }
        }
    }
}

void CXmlForm::ShowFieldValue(ControlRecord& control) {
    FormField& field = *control.field;
    if (const FormEditValue* edit = field.Edit()) {
        control.window->SetWindowText(
            edit->IsText() ? edit->currentText.c_str()
                           : XmlFormCommit::FormatNumber(edit->currentNumber, edit->precision).c_str());
    } else if (field.Check() != nullptr) {
        control.window->Invalidate();
    } else if (const FormSelectValue* select = field.Select()) {
        auto* combo = static_cast<CComboBox*>(control.window.get());
        if (combo->GetCount() == 0) {
            FillSelect(*combo, *select);
        } else {
            ShowSelection(*combo, *select);
        }
    } else if (const FormGridValue* grid = field.Grid()) {
        ShowGridValues(*static_cast<CGridCtrl*>(control.window.get()), *grid);
    }
}

void CXmlForm::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    bool ticked = false;
    const auto mark = m_markElements.find(drawItem->CtlID);
    ControlRecord* control = mark == m_markElements.end() ? FindFieldControl(drawItem->CtlID) : nullptr;
    if (mark != m_markElements.end()) {
        ticked = mark->second->marked != 0;
    } else if (control != nullptr && control->field->Check() != nullptr) {
        const FormCheckValue& check = *control->field->Check();
        ticked = check.current == check.on;
    } else {
        CScrollPage::OnDrawItem(id, drawItem);
        return;
    }
    const RECT& item = drawItem->rcItem;
    const XmlFormLayout::Box box = XmlFormLayout::CheckBox({item.left, item.top, item.right, item.bottom});
    RECT square = Rect(box.left, box.top, box.right, box.bottom);
    UINT state = DFCS_BUTTONCHECK;
    state |= ticked ? DFCS_CHECKED : 0;
    state |= (drawItem->itemState & ODS_SELECTED) != 0 ? DFCS_PUSHED : 0;
    state |= (drawItem->itemState & ODS_DISABLED) != 0 ? DFCS_INACTIVE : 0;
    ::DrawFrameControl(drawItem->hDC, &square, DFC_BUTTON, state);
    if (::GetFocus() == drawItem->hwndItem) {
        ::InflateRect(&square, -1, -1);
        ::DrawFocusRect(drawItem->hDC, &square);
    }
}
