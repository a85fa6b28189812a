// The main dialog's choice of mode: the main menu (1), Configure (2) or Diagnosis (3). It
// decides where a keyboard command goes, and where the dialog goes after leaving a mode:
// a page asked for in advance, else back along the history of such jumps, else the menu.
// The window work (showing, hiding, selecting tabs) stays with the dialog.
#pragma once

#include <cstddef>
#include <vector>

class CModeNavigator {
public:
    static constexpr int kMainMenu = 1;
    static constexpr int kConfigure = 2;
    static constexpr int kDiagnosis = 3;
    static constexpr int kNone = -1;

    // Where a keyboard command of the accelerator table is delivered.
    enum class CommandTarget { None, StatusPage, ActivePage };

    // A mode and the tab to open it at; mode kNone when there is none.
    struct Destination {
        int mode = kNone;
        int tab = 0;
    };

    int GetMode() const { return m_mode; }

    void Enter(int mode) { m_mode = mode; }

    // Asks that the next return to the main menu opens this mode (2 or 3) at this tab.
    // Any other mode clears the request.
    void SetNextPage(int mode, int tab);

    Destination GetNextPage() const { return m_next; }

    // The accelerator's target: none in the main menu or while routing is off; the live
    // status page's fuel keys reach it only in Configure, where it is shown.
    CommandTarget AcceleratorTarget(unsigned id, bool routing) const;

    // Back to the main menu from the current mode, whose host showed `activeTab`. Returns
    // the mode to enter next and its tab, kNone to stay in the menu. A jump to a requested
    // page is remembered, so that leaving it comes back to where it was made.
    Destination Leave(int activeTab);

    std::size_t HistoryDepth() const { return m_history.size(); }

private:
    static bool IsPageMode(int mode) { return mode == kConfigure || mode == kDiagnosis; }

    int m_mode = kMainMenu;
    Destination m_next;
    std::vector<Destination> m_history;  // last in, first out
};
