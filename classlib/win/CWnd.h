// A window object: the C++ side of an HWND. Windows that the object creates or
// subclasses run the library's window procedure, which dispatches through the
// object's message map and hands each handler's result back to the sender. The
// call members (post, send, enable, show, geometry) work on any window, also one
// that is only attached, and PostMessage is safe from any thread.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CCmdTarget.h"
#include "classlib/win/CPoint.h"
#include "classlib/win/CRect.h"

#include <windows.h>

class CDC;
class CMenu;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd();
    // Destroys a window the object still holds; derived-class handlers no longer run then.
    ~CWnd() override;

    // --- Creation, destruction and binding -------------------------------------------

    virtual BOOL Create(LPCSTR className,
                        LPCSTR windowName,
                        DWORD style,
                        const RECT& rect,
                        CWnd* parent,
                        UINT id,
                        LPVOID param = nullptr);
    // The window's messages reach this object from WM_NCCREATE on. FALSE when the
    // object holds a window already or the system refused to create one.
    BOOL CreateEx(DWORD exStyle,
                  LPCSTR className,
                  LPCSTR windowName,
                  DWORD style,
                  const RECT& rect,
                  HWND parent,
                  HMENU menuOrId,
                  LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Takes an existing window into this object and routes its messages here. FALSE
    // when the object holds a window, hwnd is not a window, or another object has it.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Gives the window its previous procedure back and lets go of it.
    HWND UnsubclassWindow();
    // Binds without subclassing: calls work, messages keep their old procedure.
    BOOL Attach(HWND hwnd);
    HWND Detach();

    // The permanent object of hwnd, else a temporary one that lives until the thread's
    // message loop takes its next message. Null for null.
    static CWnd* FromHandle(HWND hwnd);
    // The object that created, subclassed or attached hwnd, or null. Any thread.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Drops the calling thread's temporary objects (windows and menus).
    static void DeleteTempMap();

    HWND GetSafeHwnd() const { return m_hWnd; }

    operator HWND() const { return m_hWnd; }

    BOOL IsWindow() const;

    // --- Messages ------------------------------------------------------------------------

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends message to every child window (not to grandchildren).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Offers a queued message before it is translated and dispatched; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers msg to the objects of its target window and of each parent up to the
    // top-level window. TRUE when one of them consumed it.
    static BOOL WalkPreTranslateTree(MSG* msg);

    // Sends a control's notification back to the control's own object first: TRUE when
    // that object consumed it (result then holds the answer).
    static BOOL ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // --- State and geometry ----------------------------------------------------------------

    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int showCommand);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr,
                      HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL redraw = TRUE);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // TRUE when the style changed; flags other than 0 go to SetWindowPos (with
    // SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE added).
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int maxChars) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    BOOL SetForegroundWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

    // --- Painting, menus, regions and scrolling ----------------------------------------------

    // The client-area DC, or null; give it back with ReleaseDC on the same thread.
    CDC* GetDC();
    // The DC of the whole window, frame included; give it back with ReleaseDC.
    CDC* GetWindowDC();
    // Gives back a DC from GetDC or GetWindowDC and drops its object. 1 when released.
    int ReleaseDC(CDC* dc);
    // The window menu as a temporary wrapper; revert TRUE restores the standard menu
    // and answers null.
    CMenu* GetSystemMenu(BOOL revert) const;
    // The system owns region after success (detach it from its CRgn); null removes the region.
    int SetWindowRgn(HRGN region, BOOL redraw);
    void ScrollWindow(int dx, int dy, LPCRECT scrollRect = nullptr, LPCRECT clipRect = nullptr);
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    // info->fMask is set to mask (SIF_ALL by default) before the call.
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
    int SetScrollPos(int bar, int position, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int minPosition, int maxPosition, BOOL redraw = TRUE);
    void GetScrollRange(int bar, LPINT minPosition, LPINT maxPosition) const;
    // The largest position the bar can reach: maximum − page + 1 (not below the minimum).
    int GetScrollLimit(int bar);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    // The window's own bar (SB_HORZ, SB_VERT, SB_BOTH) shown or hidden.
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);

    HWND m_hWnd = nullptr;

protected:
    // --- Overridables of the window procedure ------------------------------------------------

    // Entry of every message of a window routed to this object.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; TRUE when something handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The window's previous procedure (the class's one for created windows).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The previous procedure with the message being handled now.
    LRESULT Default();

    // WM_COMMAND: reflection to the control, then the message map. TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflection to the control, then the message map; result is the answer.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this control sent to its parent, offered back to it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    virtual BOOL PreCreateWindow(CREATESTRUCTA& create);
    // Runs once the object holds its window, whether it was created or subclassed.
    virtual void PreSubclassWindow();
    // Runs after the window's last message; objects that own themselves delete here.
    virtual void PostNcDestroy();

    // --- Default message handlers: the window's previous procedure ---------------------------

    int OnCreate(LPCREATESTRUCT create);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnPaint();
    void OnSysColorChange();
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int width, int height);
    void OnShowWindow(BOOL show, UINT status);
    void OnSysCommand(UINT id, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    UINT OnGetDlgCode();
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnRButtonDblClk(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysChar(UINT key, UINT repeat, UINT flags);
    void OnImeChar(UINT key, UINT repeat, UINT flags);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnCaptureChanged(CWnd* wnd);
    void OnContextMenu(CWnd* wnd, CPoint point);
    BOOL OnCopyData(CWnd* wnd, COPYDATASTRUCT* data);
    // Reflect to the control's object first (owner-drawn controls draw themselves).
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem);
    void OnSetFont(HFONT font, BOOL redraw);
    HFONT OnGetFont();
    BOOL OnEraseBkgnd(CDC* dc);
    // Offers the colours to the control first (ON_WM_CTLCOLOR_REFLECT): its brush, else the default.
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT controlType);
    void OnHScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);
    // Runs the update handlers (ON_UPDATE_COMMAND_UI) of the popup's items, then the default.
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL isSystemMenu);
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* focusWnd);
    void OnPaletteIsChanging(CWnd* realizeWnd);
    // Reflected WM_DRAWITEM / WM_MEASUREITEM of an owner-drawn control.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CWndCreateHook;

    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The WM_CTLCOLOR* messages, through the one kAfxCtlColor entry (direct or reflected).
    BOOL DispatchCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectCtlColor(UINT message, WPARAM wParam, LRESULT* result);
    // Binds hwnd and installs the library's procedure; the shared part of both roads.
    BOOL SubclassBound(HWND hwnd);
    // After WM_NCDESTROY: forget the window, then PostNcDestroy.
    void OnFinalDestroy();

    WNDPROC m_superProc = nullptr;  // the procedure replaced by the library's one
};
