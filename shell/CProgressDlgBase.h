// What the progress dialogs that follow the data handler share (the firmware update, the
// firmware patch and the data transfer): a progress line over a gliding bar, a state line
// and Close; the data handler, the texts, the fonts and the main window's scales, handed in
// before the window exists; the data handler's messages posted to the window while it
// exists. Enter, Escape and the close box never end them. The box is 280 x 160 scaled units,
// the progress line over the bar, the state text below and Close, disabled until the run
// ends, in the bottom right corner.
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "forms/CTimedProgressCtrl.h"
// After the dialog headers, so that the system's PostMessage macro renames both alike.
#include "link/IMessageTarget.h"

class CDataHandler;
class CFontCache;
class ITextResources;

class CProgressDlgBase : public CDialog, public IMessageTarget {
public:
    // The ids of the four controls in the dialog's template.
    struct ControlIds {
        int progressText;
        int progress;
        int stateText;
        int close;
    };

    // The texts the three dialogs share.
    static constexpr UINT kWritingId = 15389;         // "Writing: %d%%."
    static constexpr UINT kInitializingId = 15390;    // "Initializing: %d%%."
    static constexpr UINT kWaitingId = 15391;         // "Waiting ..."
    static constexpr UINT kCloseTextId = 15392;       // "Close"
    static constexpr UINT kConnectionLostId = 15393;  // "Failed. Connection lost. You have to restart patching."
    static constexpr UINT kFinishedId = 15395;        // "Finished successfully."
    static constexpr UINT kProgrammingId = 15397;     // "Programming ..."

    CProgressDlgBase(UINT templateId, const ControlIds& ids, CWnd* parent);

    virtual void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    void SetFontCache(CFontCache* fonts) { m_fonts = fonts; }  // not owned

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    // IMessageTarget: the data handler's messages, from any thread; dropped while the
    // dialog has no window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

protected:
    // What the box is centred on. The firmware dialogs take the window they were handed,
    // else their parent, else the desktop; the transfer, opened from a page, takes its
    // parent (the page's top-level window), else the work area.
    enum class Centring {
        kOnOwnerElseDesktop,
        kOnParentElseWorkArea,
    };

    // Sizes and centres the box, places the controls, gives them the dialog's font and
    // disables Close.
    void LayOut(Centring centring);

    // The progress line: the text of formatId, whose one %d takes the percentage.
    void ShowProgressLine(UINT formatId, int percent);

    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;
    void OnCancel() override;

    CStatic m_progressText;
    CTimedProgressCtrl m_progress;
    CStatic m_stateText;
    CButton m_closeButton;
    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CFontCache* m_fonts = nullptr;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;

private:
    void CentreBox(Centring centring, int width, int height);

    ControlIds m_ids;
};
