// The OBD adaptation panel: a small child panel that shows the fuel trims that the unit
// obtains from the car's engine control, the state of the unit's OBD link, the fuel-system
// state of both banks and the unit's own adaptation switch, which its button turns on and
// off. The map page and the adaptive tables page each embed one.
#pragma once

#include "classlib/win/CDialog.h"
#include "classlib/win/CSize.h"
#include "diag/CObdAdaptationModel.h"
#include "forms/CRPButton.h"
#include "forms/CStaticExtended.h"
#include "forms/CTableToolTipCtrl.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

#include <array>

class CDataHandler;
class CFontCache;
class ITextResources;

class CObdAdaptationPage : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_OBD_ADAPTATION;

    static constexpr int kLinkId = 2702;
    static constexpr int kTrimIds[4] = {2705, 2706, 2708, 2709};  // bank 1 short, long; bank 2
    static constexpr int kBankTextIds[2] = {2711, 2714};
    static constexpr int kBankMarkerIds[2] = {2712, 2715};
    static constexpr int kBaseId = 2718;
    static constexpr int kLongId = 2720;
    static constexpr int kSumId = 2722;
    static constexpr int kExtraId = 2723;
    static constexpr int kLoadId = 2725;
    static constexpr int kTrimFactorId = 2727;
    static constexpr int kButtonId = 2728;

    explicit CObdAdaptationPage(CWnd* parent = nullptr);
    ~CObdAdaptationPage() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    // The panel's rectangle in its owner's client area.
    void SetPlacement(int left, int top, int right, int bottom) { m_placement = {left, top, right, bottom}; }

    // Places the panel in its owner's client area, creating and showing it there the first time.
    void ShowAt(CWnd* owner, int left, int top, int right, int bottom);

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    BOOL PreTranslateMessage(MSG* msg) override;

    // The pending switch request: 0 none, 1 "on", 2 "off".
    int GetRequest() const { return m_model.GetRequest(); }

    bool IsButtonBlinking() const { return m_buttonBlinking; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnButtonClicked();

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetFonts();
    void UpdateTexts();
    CSize LabelExtent(int id);
    CSize TextExtent(int id, const CString& text);
    int LabelWidth(int id);
    void PlaceControls();
    int PlaceRows(double scaleY);
    void Blank();
    void ShowLink();
    void ShowBanks();
    void ShowNumber(CStaticExtended& field, int value);
    void ShowLiveBlock();
    void SetButton(const CObdAdaptationModel::Button& button);

    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    RECT m_placement = {};

    CStaticExtended m_link;
    std::array<CStaticExtended, 4> m_trims;
    std::array<CStaticExtended, 2> m_bankTexts;
    std::array<CStaticExtended, 2> m_bankMarkers;
    CStaticExtended m_base;
    CStaticExtended m_long;
    CStaticExtended m_sum;
    CStaticExtended m_extra;
    CStaticExtended m_load;
    CStaticExtended m_trimFactor;
    CRPButton m_button;
    std::array<CTableToolTipCtrl, 2> m_bankTips;

    CObdAdaptationModel m_model;
    int m_status = -1;
    std::array<int, 2> m_bankStates{};
    int m_crankAngle = 0;
    int m_minInjection = 0;
    bool m_supported = false;
    // Per panel: with one flag for all, only the first panel of a cycle would blank.
    bool m_blank = false;
    bool m_buttonBlinking = false;
};
