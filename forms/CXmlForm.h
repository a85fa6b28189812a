// A form page whose rows come from an XML resource of type "Form" instead of a dialog
// template: the constructor reads the resource into the form model, the window builds one
// row of controls per element, commits the user's edits into the fields' current values
// and tells the page built on it of every change with WM_FORM_ELEMENT_CHANGED.
#pragma once

#include "forms/CScrollPage.h"
#include "forms/CStaticExtended.h"
#include "forms/CTableToolTipCtrl.h"
#include "forms/FormElementValues.h"
#include "forms/FormModel.h"
#include "forms/XmlFormCommit.h"
#include "forms/XmlFormLayout.h"
#include "link/IMessageTarget.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CComboBox;
class CGridCtrl;

// Sent (not posted) to the form's own window after a user change of an element:
// wParam 1 when the element is now marked, else 0; lParam the FormElement.
constexpr UINT WM_FORM_ELEMENT_CHANGED = 0x660;

class CXmlForm : public CScrollPage {
public:
    // A missing, empty or unreadable resource leaves the form without elements.
    CXmlForm(UINT formResourceId, UINT templateId, CWnd* parent);
    ~CXmlForm() override;

    // An element with fields of that id, or null.
    FormElement* FindElement(int32_t id) const { return m_model.FindElement(id); }

    const FormModel& GetModel() const { return m_model; }

    // The elements with fields, ascending by id; what the page walks to load and store.
    const std::vector<FormElement*>& SortedElements() const { return m_model.SortedElements(); }

    bool IsElementUnchanged(const FormElement& element) const { return ::IsElementUnchanged(element); }

    // Back to the FORM's defaults; the number of fields. The controls show it after UpdateControls.
    int ResetElement(FormElement& element) { return ::ResetElement(element); }

    // Shows every field's current value in its control.
    void UpdateControls();

    // The language-change broadcast: relabels every row and rebuilds the select items;
    // a page that handles the broadcast itself calls this.
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The tooltip's requests for the full text of a label.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* message) override;

    // Check boxes of the mark buttons and check fields; other items draw as usual.
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    void OnDestroy();
    // The end of an edit in a grid field's cell (GRIDN_ENDEDIT, the list view's end of label edit).
    void OnGridEndEdit(UINT id, NMHDR* header, LRESULT* result);

    // The y where the first row starts; a derived page sets it before the form initialises.
    int m_topOffset = 0;
    FormModel m_model;

    DECLARE_MESSAGE_MAP()

private:
    // Posts the data handler's broadcasts (the language change) to the form's window.
    class CBroadcastTarget : public IMessageTarget {
    public:
        explicit CBroadcastTarget(CWnd& window) : m_window(window) {}

        void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    private:
        CWnd& m_window;
    };

    // A field control, a unit label or a separator line; element and field only for field controls.
    struct ControlRecord {
        std::unique_ptr<CWnd> window;
        int controlId = -1;
        int elementId = -1;
        FormElement* element = nullptr;
        FormField* field = nullptr;
    };

    struct LabelRecord {
        std::unique_ptr<CStaticExtended> window;
        UINT controlId = 0;
        UINT textId = 0;
    };

    // The rectangles of one row at y; a field row has its label indented by `indent`.
    struct RowRects {
        RECT mark;
        RECT label;
        RECT value;
        RECT unit;
    };

    void ReadFormResource(UINT formResourceId);
    void CreateFonts();
    void CreateToolTip();
    LOGFONTA FormFont(int tenthsPoint);
    // The font itself, or the GUI font while the page has no font cache.
    static HGDIOBJ UsableFont(HFONT font);
    XmlFormCommit::MessageTexts CommitTexts() const;
    CLocaleNumberFormat NumberFormat() const;

    // Layout (CXmlFormControls_win.cpp).
    int BuildControls();
    RowRects RowAt(int y, int indent) const;
    void BuildElementRows(FormElement& element, int& y);
    void BuildFieldRow(FormElement& element, FormField& field, const RowRects& row, UINT labelTextId, int& y);
    bool BuildFieldControl(FormElement& element, FormField& field, CWnd*& window, RECT& valueRect);
    std::unique_ptr<CWnd> CreateGrid(FormField& field, RECT& valueRect, bool& ownRow);
    void ShowGridValues(CGridCtrl& grid, const FormGridValue& value);
    std::vector<CString> GridTitles(const FormGridValue& grid) const;
    int TitleColumnWidth(const std::vector<CString>& titles);
    void FillSelect(CComboBox& combo, const FormSelectValue& select) const;
    // The item of the current value, else the first.
    static void ShowSelection(CComboBox& combo, const FormSelectValue& select);
    void CreateMarkButton(FormElement& element, const RECT& rect);
    void CreateLabel(UINT textId, const RECT& rect);
    void CreateUnitLabel(const std::string& unit, const RECT& rect);
    void CreateSeparator(const RECT& rect);
    void AddControl(std::unique_ptr<CWnd> window, FormElement* element, FormField* field);
    ControlRecord* FindFieldControl(UINT controlId);
    void ShowFieldValue(ControlRecord& control);
    void RelabelGrid(CGridCtrl& grid, const FormGridValue& value);

    // Editing (CXmlFormEdit_win.cpp).
    BOOL OnControlCommand(UINT id, UINT code);
    BOOL OnEnter();
    BOOL OnEscape();
    void CommitEdit(ControlRecord& control);
    void OnSelectionChosen(ControlRecord& control);
    void OnCheckClicked(ControlRecord& control);
    void OnMarkClicked(FormElement& element);
    void OnElementChanged(FormElement& element);
    void RepaintMarkButton(const FormElement& element);
    void ShowRefusal(const std::string& message);

    // The tooltip's text of a label (CXmlForm_win.cpp).
    void OnToolTipText(NMTTDISPINFOA* info);
    const LabelRecord* FindLabel(UINT controlId) const;

    CBroadcastTarget m_broadcasts{*this};
    CTableToolTipCtrl m_tooltip;
    CString m_tipText;  // what the tooltip shows; lives until the next request
    XmlFormLayout::Measures m_measures;
    LOGFONTA m_rowLogFont = {};
    HFONT m_rowFont = nullptr;  // owned by the font cache
    HFONT m_tipFont = nullptr;
    std::vector<ControlRecord> m_controls;
    std::map<UINT, FormElement*> m_markElements;        // mark button id -> element
    std::map<const FormElement*, CWnd*> m_markButtons;  // element -> its mark button
    std::vector<std::unique_ptr<CWnd>> m_markButtonWindows;
    std::vector<LabelRecord> m_labels;  // ascending control ids
    // Set while a refusal is shown: the box takes the focus, and the edit's loss of it must not
    // commit the same text once more.
    bool m_refusing = false;
};
