// What the grid's in-place editors share, whatever control they are: the cell they edit,
// the key that leaves it, the one report of the result to the grid (WM_NOTIFY -106) and
// the window that deletes itself once it exists. Each editor decides what its result is
// and whether it closes at once or after the messages already queued.
#pragma once

#include "classlib/core/CString.h"
#include "grid/SendEndEditNotice.h"

#include <windows.h>

template <class TControl>
class CGridInPlaceEditor : public TControl {
public:
    // Reports the result and closes the editor, once whatever ends the edit.
    void EndEdit() {
        if (m_ended || !this->IsWindow()) {
            return;
        }
        m_ended = true;
        SendEndEditNotice(*this, m_row, m_col, TakeResult(), m_lastKey);
        if (!this->IsWindow()) {
            return;
        }
        if (m_closing == Closing::AtOnce) {
            this->SendMessage(WM_CLOSE);
            return;
        }
        this->PostMessage(WM_CLOSE);
    }

    // Page and arrow keys: they leave the cell when the edit began by typing, or with Ctrl held.
    static bool IsLeavingKey(UINT key) {
        return key == VK_PRIOR || key == VK_NEXT || (key >= VK_LEFT && key <= VK_DOWN);
    }

protected:
    // AtOnce: the editor is gone when EndEdit returns. Queued: it closes after the messages
    // already waiting for it.
    enum class Closing {
        AtOnce,
        Queued
    };

    CGridInPlaceEditor(int row, int col, bool exitOnArrows, Closing closing)
        : m_row(row), m_col(col), m_exitOnArrows(exitOnArrows), m_closing(closing) {}

    // The text the edit ends with; called once, when the edit ends.
    virtual CString TakeResult() = 0;

    // From now on the editor deletes itself when its window is destroyed; before, the opener does.
    void OwnItself() { m_ownsItself = true; }

    UINT LastKey() const { return m_lastKey; }

    // Hands the focus back to the grid; losing it ends the edit with this key.
    void LeaveWithKey(UINT key) {
        m_lastKey = key;
        CWnd* grid = this->GetParent();
        if (grid != nullptr) {
            grid->SetFocus();
        }
    }

    void OnKeyDown(UINT key, UINT repeat, UINT flags) {
        if (IsLeavingKey(key) && (m_exitOnArrows || (GetKeyState(VK_CONTROL) & 0x8000) != 0)) {
            LeaveWithKey(key);
            return;
        }
        TControl::OnKeyDown(key, repeat, flags);
    }

    // Tab, Return and Escape end the edit with that key.
    void OnKeyUp(UINT key, UINT repeat, UINT flags) {
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
            LeaveWithKey(key);
            return;
        }
        TControl::OnKeyUp(key, repeat, flags);
    }

    void OnKillFocus(CWnd* newWnd) {
        TControl::OnKillFocus(newWnd);
        EndEdit();
    }

    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }

    void PostNcDestroy() override {
        if (m_ownsItself) {
            delete this;
        }
    }

private:
    int m_row;
    int m_col;
    UINT m_lastKey = 0;
    bool m_exitOnArrows;
    Closing m_closing;
    // The grid may open the next cell's editor from inside this one's report, and losing the
    // focus to it must not report this edit twice.
    bool m_ended = false;
    bool m_ownsItself = false;
};
