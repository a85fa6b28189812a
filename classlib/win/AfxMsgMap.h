// Message maps: static tables that route window messages, commands and control
// notifications to member functions. Each class's table names its base class's
// table, so a message not found in a derived class is looked up in its bases.
//
//     BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//         ON_WM_TIMER()
//         ON_BN_CLICKED(IDC_START, OnStart)
//         ON_MESSAGE(WM_APP + 1, OnDataArrived)
//     END_MESSAGE_MAP()
#pragma once

#include <windows.h>

#include <commctrl.h>

class CCmdTarget;
class CCmdUI;
class CDC;
class CMenu;
class CWnd;
class CPoint;

// The shape of a handler; tells the dispatcher how to unpack wParam and lParam.
enum class AfxSig {
    End,
    VoidVoid,            // void f()
    VoidUint,            // void f(UINT)                   command ranges
    VoidUintPtr,         // void f(UINT_PTR)               WM_TIMER
    BoolVoid,            // BOOL f()                        reflected _EX commands
    BoolUint,            // BOOL f(UINT)                    _EX command ranges
    LresultWpLp,         // LRESULT f(WPARAM, LPARAM)      ON_MESSAGE
    VoidNotify,          // void f(NMHDR*, LRESULT*)        ON_NOTIFY, ON_NOTIFY_REFLECT
    BoolNotify,          // BOOL f(NMHDR*, LRESULT*)        ON_NOTIFY_REFLECT_EX
    VoidUintNotify,      // void f(UINT, NMHDR*, LRESULT*)  ON_NOTIFY_RANGE
    IntCreate,           // int f(LPCREATESTRUCT)
    VoidUintIntInt,      // void f(UINT, int, int)          WM_SIZE
    VoidUintPoint,       // void f(UINT, CPoint)            mouse buttons and moves
    VoidUintUintUint,    // void f(UINT, UINT, UINT)        keys and characters
    VoidBoolUint,        // void f(BOOL, UINT)              WM_SHOWWINDOW
    VoidUintLparam,      // void f(UINT, LPARAM)            WM_SYSCOMMAND
    HcursorVoid,         // HCURSOR f()                     WM_QUERYDRAGICON
    UintVoid,            // UINT f()                        WM_GETDLGCODE
    BoolUintShortPoint,  // BOOL f(UINT, short, CPoint)   WM_MOUSEWHEEL
    BoolWndUintUint,     // BOOL f(CWnd*, UINT, UINT)       WM_SETCURSOR
    VoidWnd,             // void f(CWnd*)                   focus and capture changes
    VoidWndPoint,        // void f(CWnd*, CPoint)           WM_CONTEXTMENU
    BoolWndCopyData,     // BOOL f(CWnd*, COPYDATASTRUCT*)  WM_COPYDATA
    VoidIntDrawItem,     // void f(int, LPDRAWITEMSTRUCT)
    VoidIntMeasureItem,  // void f(int, LPMEASUREITEMSTRUCT)
    VoidDrawItem,        // void f(LPDRAWITEMSTRUCT)        reflected WM_DRAWITEM
    VoidMeasureItem,     // void f(LPMEASUREITEMSTRUCT)     reflected WM_MEASUREITEM
    VoidHfontBool,       // void f(HFONT, BOOL)             WM_SETFONT
    HfontVoid,           // HFONT f()                       WM_GETFONT
    BoolDc,              // BOOL f(CDC*)                    WM_ERASEBKGND
    HbrushDcWndUint,     // HBRUSH f(CDC*, CWnd*, UINT)     WM_CTLCOLOR*
    HbrushDcUint,        // HBRUSH f(CDC*, UINT)            reflected WM_CTLCOLOR*
    VoidUintUintWnd,     // void f(UINT, UINT, CWnd*)       WM_HSCROLL, WM_VSCROLL
    VoidMenuUintBool,    // void f(CMenu*, UINT, BOOL)      WM_INITMENUPOPUP
    VoidCmdUI,           // void f(CCmdUI*)                 ON_UPDATE_COMMAND_UI
};

typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; kAfxReflected + message for reflected ones
    UINT nCode;     // control notification code, or 0
    UINT nID;       // control or command id, or 0
    UINT nLastID;   // end of an id range, nID otherwise
    AfxSig nSig;
    AFX_PMSG pfn;
    const UINT* pRegisteredMessage;  // ON_REGISTERED_MESSAGE: the variable holding the id
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Every handler is kept as an AFX_PMSG and cast back to its own type before the call;
// such a round trip is exact, so the cast warning does not apply here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"

template <typename Handler>
AFX_PMSG AfxGenericHandler(Handler handler) {
    return reinterpret_cast<AFX_PMSG>(handler);
}

template <typename Handler>
Handler AfxTypedHandler(AFX_PMSG handler) {
    return reinterpret_cast<Handler>(handler);
}

#pragma GCC diagnostic pop

// Added to a message number for the entries a control receives back from its parent.
// Window messages stay below 0x10000, so reflected entries never meet direct ones.
constexpr UINT kAfxReflected = 0x10000;
// One entry stands for all seven WM_CTLCOLOR* messages; the handler gets the control
// type (CTLCOLOR_EDIT, CTLCOLOR_STATIC, ...) instead.
constexpr UINT kAfxCtlColor = 0x0019;
// The notification code of update entries; no control sends it.
constexpr UINT CN_UPDATE_COMMAND_UI = static_cast<UINT>(-1);

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override; \
                                                      \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const {         \
        return GetThisMessageMap();                             \
    }                                                           \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {           \
        typedef theClass ThisClass;                             \
        typedef baseClass TheBaseClass;                         \
        static_assert(sizeof(ThisClass) > 0, "complete class"); \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                             \
    { 0, 0, 0, 0, AfxSig::End, nullptr, nullptr }                                     \
    }                                                                                 \
    ;                                                                                 \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                               \
    }

// Checks the handler's signature (as a member of the dispatching class) and stores
// it in the entry's generic slot; the dispatcher casts it back to that signature.
#define AFX_HANDLER(signature, memberFn) AfxGenericHandler(static_cast<signature>(&ThisClass::memberFn))

#define AFX_WM_ENTRY(msg, sig, signature, memberFn) \
    {msg, 0, 0, 0, sig, AFX_HANDLER(signature, memberFn), nullptr},

// Messages by number (user messages) and registered messages.
#define ON_MESSAGE(message, memberFn) \
    AFX_WM_ENTRY(message, AfxSig::LresultWpLp, LRESULT (CWnd::*)(WPARAM, LPARAM), memberFn)
#define ON_REGISTERED_MESSAGE(messageVariable, memberFn)                                                     \
    {0xFFFF,          0, 0, 0, AfxSig::LresultWpLp, AFX_HANDLER(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFn), \
     &messageVariable},

// Commands (menus, accelerators, buttons) and control notifications.
#define ON_CONTROL(code, id, memberFn) \
    {WM_COMMAND, code, id, id, AfxSig::VoidVoid, AFX_HANDLER(void(CCmdTarget::*)(), memberFn), nullptr},
#define ON_COMMAND(id, memberFn) ON_CONTROL(0, id, memberFn)
// Runs before the item's menu opens (see CCmdUI).
#define ON_UPDATE_COMMAND_UI(id, memberFn)                                                  \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, id,                                                  \
     id,         AfxSig::VoidCmdUI,    AFX_HANDLER(void(CCmdTarget::*)(CCmdUI*), memberFn), \
     nullptr},
#define ON_COMMAND_RANGE(id, idLast, memberFn) \
    {WM_COMMAND, 0, id, idLast, AfxSig::VoidUint, AFX_HANDLER(void(CCmdTarget::*)(UINT), memberFn), nullptr},
#define ON_CONTROL_RANGE(code, id, idLast, memberFn)                                                   \
    {WM_COMMAND, code, id, idLast, AfxSig::VoidUint, AFX_HANDLER(void(CCmdTarget::*)(UINT), memberFn), \
     nullptr},
#define ON_BN_CLICKED(id, memberFn)       ON_CONTROL(BN_CLICKED, id, memberFn)
#define ON_BN_DOUBLECLICKED(id, memberFn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFn)
#define ON_CBN_SELCHANGE(id, memberFn)    ON_CONTROL(CBN_SELCHANGE, id, memberFn)
#define ON_CBN_SELENDOK(id, memberFn)     ON_CONTROL(CBN_SELENDOK, id, memberFn)
#define ON_CBN_DROPDOWN(id, memberFn)     ON_CONTROL(CBN_DROPDOWN, id, memberFn)
#define ON_EN_CHANGE(id, memberFn)        ON_CONTROL(EN_CHANGE, id, memberFn)
#define ON_EN_KILLFOCUS(id, memberFn)     ON_CONTROL(EN_KILLFOCUS, id, memberFn)
#define ON_STN_CLICKED(id, memberFn)      ON_CONTROL(STN_CLICKED, id, memberFn)

#define ON_NOTIFY(code, id, memberFn)                                                                  \
    {WM_NOTIFY, static_cast<UINT>(code), id,                                                           \
     id,        AfxSig::VoidNotify,      AFX_HANDLER(void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFn), \
     nullptr},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFn)                                                          \
    {WM_NOTIFY, static_cast<UINT>(code), id,                                                                 \
     idLast,    AfxSig::VoidUintNotify,  AFX_HANDLER(void(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFn), \
     nullptr},

// Notifications a control gets back from its parent. The plain form consumes the
// notification; the _EX form lets the parent see it too unless the handler returns TRUE.
#define ON_CONTROL_REFLECT(code, memberFn)         \
    {kAfxReflected + WM_COMMAND,                   \
     code,                                         \
     0,                                            \
     0,                                            \
     AfxSig::VoidVoid,                             \
     AFX_HANDLER(void(CCmdTarget::*)(), memberFn), \
     nullptr},
#define ON_CONTROL_REFLECT_EX(code, memberFn)      \
    {kAfxReflected + WM_COMMAND,                   \
     code,                                         \
     0,                                            \
     0,                                            \
     AfxSig::BoolVoid,                             \
     AFX_HANDLER(BOOL(CCmdTarget::*)(), memberFn), \
     nullptr},
#define ON_BN_CLICKED_REFLECT(memberFn)  ON_CONTROL_REFLECT(BN_CLICKED, memberFn)
#define ON_STN_CLICKED_REFLECT(memberFn) ON_CONTROL_REFLECT(STN_CLICKED, memberFn)
#define ON_NOTIFY_REFLECT(code, memberFn)                          \
    {kAfxReflected + WM_NOTIFY,                                    \
     static_cast<UINT>(code),                                      \
     0,                                                            \
     0,                                                            \
     AfxSig::VoidNotify,                                           \
     AFX_HANDLER(void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFn), \
     nullptr},
#define ON_NOTIFY_REFLECT_EX(code, memberFn)                       \
    {kAfxReflected + WM_NOTIFY,                                    \
     static_cast<UINT>(code),                                      \
     0,                                                            \
     0,                                                            \
     AfxSig::BoolNotify,                                           \
     AFX_HANDLER(BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), memberFn), \
     nullptr},
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_WM_ENTRY(kAfxReflected + WM_DRAWITEM, AfxSig::VoidDrawItem, void(CWnd::*)(LPDRAWITEMSTRUCT), DrawItem)
// The control chooses its own colours; a null brush leaves the choice to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM_ENTRY(kAfxReflected + kAfxCtlColor, AfxSig::HbrushDcUint, HBRUSH(CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_MEASUREITEM_REFLECT()                                       \
    AFX_WM_ENTRY(kAfxReflected + WM_MEASUREITEM, AfxSig::VoidMeasureItem, \
                 void(CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)

// Window messages with fixed handler names.
#define ON_WM_CREATE()    AFX_WM_ENTRY(WM_CREATE, AfxSig::IntCreate, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY()   AFX_WM_ENTRY(WM_DESTROY, AfxSig::VoidVoid, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig::VoidVoid, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE()     AFX_WM_ENTRY(WM_CLOSE, AfxSig::VoidVoid, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT()     AFX_WM_ENTRY(WM_PAINT, AfxSig::VoidVoid, void (CWnd::*)(), OnPaint)
#define ON_WM_SYSCOLORCHANGE() \
    AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxSig::VoidVoid, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig::VoidUintPtr, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_SIZE()  AFX_WM_ENTRY(WM_SIZE, AfxSig::VoidUintIntInt, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_SHOWWINDOW() \
    AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig::VoidBoolUint, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_SYSCOMMAND() \
    AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig::VoidUintLparam, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_QUERYDRAGICON() \
    AFX_WM_ENTRY(WM_QUERYDRAGICON, AfxSig::HcursorVoid, HCURSOR (CWnd::*)(), OnQueryDragIcon)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, AfxSig::UintVoid, UINT (CWnd::*)(), OnGetDlgCode)
#define AFX_MOUSE_ENTRY(msg, memberFn) \
    AFX_WM_ENTRY(msg, AfxSig::VoidUintPoint, void (CWnd::*)(UINT, CPoint), memberFn)
#define ON_WM_MOUSEMOVE()     AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP()     AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP()     AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define AFX_KEY_ENTRY(msg, memberFn) \
    AFX_WM_ENTRY(msg, AfxSig::VoidUintUintUint, void (CWnd::*)(UINT, UINT, UINT), memberFn)
#define ON_WM_KEYDOWN()    AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP()      AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR()       AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSCHAR()    AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)
#define ON_WM_IME_CHAR()   AFX_KEY_ENTRY(WM_IME_CHAR, OnImeChar)
#define ON_WM_MOUSEWHEEL() \
    AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig::BoolUintShortPoint, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_SETCURSOR() \
    AFX_WM_ENTRY(WM_SETCURSOR, AfxSig::BoolWndUintUint, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_SETFOCUS()  AFX_WM_ENTRY(WM_SETFOCUS, AfxSig::VoidWnd, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig::VoidWnd, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() \
    AFX_WM_ENTRY(WM_CAPTURECHANGED, AfxSig::VoidWnd, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CONTEXTMENU() \
    AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig::VoidWndPoint, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_COPYDATA() \
    AFX_WM_ENTRY(WM_COPYDATA, AfxSig::BoolWndCopyData, BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*), OnCopyData)
#define ON_WM_DRAWITEM() \
    AFX_WM_ENTRY(WM_DRAWITEM, AfxSig::VoidIntDrawItem, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM()                                                                            \
    AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig::VoidIntMeasureItem, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), \
                 OnMeasureItem)
#define ON_WM_SETFONT() \
    AFX_WM_ENTRY(WM_SETFONT, AfxSig::VoidHfontBool, void (CWnd::*)(HFONT, BOOL), OnSetFont)
#define ON_WM_GETFONT()    AFX_WM_ENTRY(WM_GETFONT, AfxSig::HfontVoid, HFONT (CWnd::*)(), OnGetFont)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig::BoolDc, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_CTLCOLOR() \
    AFX_WM_ENTRY(kAfxCtlColor, AfxSig::HbrushDcWndUint, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_HSCROLL() \
    AFX_WM_ENTRY(WM_HSCROLL, AfxSig::VoidUintUintWnd, void (CWnd::*)(UINT, UINT, CWnd*), OnHScroll)
#define ON_WM_VSCROLL() \
    AFX_WM_ENTRY(WM_VSCROLL, AfxSig::VoidUintUintWnd, void (CWnd::*)(UINT, UINT, CWnd*), OnVScroll)
#define ON_WM_INITMENUPOPUP()                                                                    \
    AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig::VoidMenuUintBool, void (CWnd::*)(CMenu*, UINT, BOOL), \
                 OnInitMenuPopup)
#define ON_WM_QUERYNEWPALETTE() \
    AFX_WM_ENTRY(WM_QUERYNEWPALETTE, AfxSig::BoolVoid, BOOL (CWnd::*)(), OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() \
    AFX_WM_ENTRY(WM_PALETTECHANGED, AfxSig::VoidWnd, void (CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_PALETTEISCHANGING() \
    AFX_WM_ENTRY(WM_PALETTEISCHANGING, AfxSig::VoidWnd, void (CWnd::*)(CWnd*), OnPaletteIsChanging)
