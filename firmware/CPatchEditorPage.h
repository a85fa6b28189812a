// The patch editor page: loads a firmware patch file, shows its records in the rows of the
// patch parameter form (through the conversion table), lets the user edit them, the patch's
// version, build, branch and date and one description per language key, and saves the patch.
// Above the form's rows it has fixed controls of its own.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "firmware/CFirmwarePatch.h"
#include "firmware/CPatchFormBinding.h"
#include "firmware/CXferTable.h"
#include "firmware/PatchDlgIds.h"
#include "firmware/PatchHeaderField.h"
#include "forms/CXmlForm.h"
#include "link/CDescriptionKeyList.h"

#include <array>
#include <memory>

class CPatchEditorPage : public CXmlForm {
public:
    static constexpr UINT kFormResourceId = 2022;
    static constexpr UINT kXferResourceId = 2025;
    static constexpr UINT kTemplateId = IDD_PATCH_EDITOR;

    // The header edits in the order they are read on saving.
    enum HeaderEdit {
        kMajor,
        kMinor,
        kBuild,
        kBranch,
        kYear,
        kMonth,
        kDay,
        kHeaderEditCount
    };

    explicit CPatchEditorPage(CWnd* parent = nullptr);

    const CFirmwarePatch& GetPatch() const { return *m_patch; }

    // The language-change broadcast: the page's own texts, then the form's.
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

protected:
    // A page on other FORM and XFER resources, for tests.
    CPatchEditorPage(UINT formResourceId, UINT xferResourceId, CWnd* parent);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    // The open or save dialog on the last folder and file name; true with the chosen path.
    // Tests answer in place of the user.
    virtual bool ChooseFile(BOOL open, CString& path);
    // The "Add a key" dialog; true with the key typed. Tests answer in place of the user.
    virtual bool AskNewKey(CString& key);

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    void OnLoad();
    void OnSave();
    void OnNewKey();
    void OnDeleteKey();
    void OnKeySelected();

    DECLARE_MESSAGE_MAP()

private:
    CPatchFormBinding Binding() { return CPatchFormBinding(*m_patch, *m_table); }

    void SetTexts();
    void DoLayout();
    void SetFonts();
    void PublishElements();
    void PatchToForm();
    void ShowHeader();
    void RefreshKeys(CDescriptionKeyList::Mode mode);
    void StoreDescription();
    // The index of the key selected in the combo, or -1.
    int SelectedKey() const;
    void RememberFile(const CString& path);

    // The edit's text checked against the range; false after telling the user why.
    bool ReadRangedField(CEdit& edit, const PatchHeaderField& range, int& value);
    // The seven edits checked in order, the day against the month's length; false at the
    // first failing edit, which then has the focus.
    bool ReadHeader(std::array<int, kHeaderEditCount>& values);
    // Enter, or leaving a changed edit: a valid text is shown again as the program writes
    // numbers and selected, an invalid one goes back to the last valid text.
    void CommitHeaderEdit(int index);
    // The header edit with the focus, or -1.
    int FocusedHeaderEdit() const;
    int HeaderEditOf(UINT controlId) const;
    void SetHeaderText(int index, const CString& text);

    CString Text(UINT id) const;
    // "Attempt to write an invalid element: %s." with the id, for a value or record that
    // does not convert.
    void ShowInvalidElement(int32_t id);
    void ShowMessage(const CString& text, UINT type);
    void ShowFileError(UINT formatId, const CString& path, int cause);

    CButton m_load;
    CButton m_save;
    CStatic m_versionLabel;
    CStatic m_dateLabel;
    std::array<CEdit, kHeaderEditCount> m_header;
    std::array<CString, kHeaderEditCount> m_headerTexts;  // the last valid text of each edit
    CButton m_newKey;
    CComboBox m_keys;
    CButton m_deleteKey;
    CStatic m_keyListText;
    CStatic m_descriptionLabel;
    CEdit m_description;

    CString m_folder;
    CString m_fileName;
    CDescriptionKeyList m_keyList{CDescriptionKeyList::kAscending};
    // A load reads into a patch of its own, which replaces this one only when it succeeds.
    std::unique_ptr<CFirmwarePatch> m_patch;
    std::unique_ptr<CXferTable> m_table;
};
