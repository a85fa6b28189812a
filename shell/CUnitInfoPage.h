// The first page of the Configuration mode (template 161): a read-only summary of the
// connected unit. It shows the unit's identifier, versions, release date and the history of
// its firmware build, its running times, its last finalization and an applied patch, and
// keeps per unit the unit's contact stamp in the registry section "Contacts".
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CEdit.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"

#include <array>

class CUnitInfoPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = 161;

    // Value edits.
    static constexpr int kIdentifierId = 1096;
    static constexpr int kVersionId = 1100;
    static constexpr int kReleaseId = 1105;
    static constexpr int kDescriptionId = 1267;
    static constexpr int kGasTimeId = 1093;
    static constexpr int kPetrolTimeId = 1094;
    static constexpr int kTotalTimeId = 1110;
    static constexpr int kMilTimeId = 1113;
    static constexpr int kFinalizationId = 1089;
    static constexpr int kLastContactId = 1092;
    static constexpr int kStoredStampId = 1090;
    static constexpr int kRemarkId = 1091;
    static constexpr int kPatchVersionId = 1116;
    static constexpr int kPatchDateId = 1118;

    // What the stored contact stamp says about the unit's last contact.
    enum RemarkState {
        kRemarkNone = 0,
        kRemarkNoStamp = 1,
        kRemarkOtherContact = 2,
        kRemarkOurContact = 3
    };

    // A running time or stamp: hours, minutes, seconds.
    struct Duration {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
    };

    explicit CUnitInfoPage(CWnd* parent = nullptr);
    ~CUnitInfoPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // The stamp stored for the unit identifier under "Contacts"; false when there is none.
    static bool ReadContactStamp(LPCSTR unitId, int& hours, int& minutes, int& seconds);
    static bool WriteContactStamp(LPCSTR unitId, int hours, int minutes, int seconds);

    // Texts of the page's values, shared with the tests.
    static CString FormatIdentifier(const BYTE* characters);
    static CString FormatVersion(const BYTE* version, bool withBuild, int buildWord);
    static CString FormatDuration(const Duration& duration);
    // total minus gas with borrows of 60; never below 0000:00:00.
    static Duration PetrolTime(const Duration& total, const Duration& gas);

    int GetRemarkState() const { return m_remarkState; }

protected:
    BOOL OnInitDialog() override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM status, LPARAM port);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetTexts();
    void ShowRemark();
    void ShowDescription();
    void SetItemText(int id, LPCSTR text);

    void ReadElement(int element, BYTE* bytes);
    bool IsSupported(int element) const;
    Duration ReadDuration(int element);
    void ShowVersion();
    void ShowBuild();
    void ShowRunningTimes(const Duration& total, const Duration& gas);
    void ShowPatchVersion();
    void ShowPatchDate();
    void ShowMilTime();
    void CheckContact();

    std::array<BYTE, 16> m_identifier{};
    Duration m_total;
    Duration m_gas;
    bool m_totalArrived = false;
    bool m_gasArrived = false;
    bool m_lastContactArrived = false;
    bool m_contactStampArrived = false;
    int m_remarkState = kRemarkNone;
    CString m_firmwareVersion;
    CString m_firmwareBuild;
    CString m_firmwareBranch;
};
