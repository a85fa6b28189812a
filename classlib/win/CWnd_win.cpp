// Window objects: binding to windows, the creation and subclassing roads, and the
// dispatch of messages through the message map, including reflection of control
// notifications back to the control's own object.
#include "classlib/win/CWnd.h"

#include "classlib/win/AfxMessageLoop.h"
#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CCmdUI.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CHandleMap.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CWndCreateHook.h"

#include <cstdio>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

namespace {

template <typename Handler>
Handler As(AFX_PMSG pfn) {
    return AfxTypedHandler<Handler>(pfn);
}

bool IsCtlColor(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// A DC lent by the sender of a message for one handler call; it stays the sender's.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(WPARAM hdc) { Attach(reinterpret_cast<HDC>(hdc)); }

    ~CBorrowedDC() override { Detach(); }
};

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this) {
        return;
    }
    // A merely attached window belongs to someone else; one this object runs must not
    // outlive it, or its procedure would reach a dead object.
    if (m_superProc != nullptr) {
        ::DestroyWindow(m_hWnd);
    }
    Detach();
}

BOOL CWnd::Create(LPCSTR className,
                  LPCSTR windowName,
                  DWORD style,
                  const RECT& rect,
                  CWnd* parent,
                  UINT id,
                  LPVOID param) {
    const HWND parentHwnd = parent != nullptr ? parent->m_hWnd : nullptr;
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parentHwnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle,
                    LPCSTR className,
                    LPCSTR windowName,
                    DWORD style,
                    const RECT& rect,
                    HWND parent,
                    HMENU menuOrId,
                    LPVOID param) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    CREATESTRUCTA create = {param,
                            AfxGetInstanceHandle(),
                            menuOrId,
                            parent,
                            static_cast<int>(rect.bottom - rect.top),
                            static_cast<int>(rect.right - rect.left),
                            static_cast<int>(rect.top),
                            static_cast<int>(rect.left),
                            static_cast<LONG>(style),
                            windowName,
                            className,
                            exStyle};
    if (!PreCreateWindow(create)) {
        PostNcDestroy();
        return FALSE;
    }
    CWndCreateHook hook(this);
    if (!hook.IsInstalled()) {
        std::fprintf(stderr, "SetWindowsHookEx(WH_CBT): %lu\n", GetLastError());
        return FALSE;
    }
    const HWND hwnd = CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName, create.style,
                                      create.x, create.y, create.cx, create.cy, create.hwndParent,
                                      create.hMenu, create.hInstance, create.lpCreateParams);
    // On failure the window, if it got that far, has run WM_NCDESTROY: this object may
    // be gone already (PostNcDestroy), so it is not touched again.
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& create) {
    if (create.lpszClass == nullptr) {
        create.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    }
    return create.lpszClass != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    if (FromHandlePermanent(m_hWnd) != this) {
        return ::DestroyWindow(Detach());
    }
    // A window run by this object lets go of it in its WM_NCDESTROY.
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassBound(HWND hwnd) {
    if (!CHandleMap::Instance().Add(hwnd, this)) {
        return FALSE;
    }
    m_hWnd = hwnd;
    PreSubclassWindow();
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (m_hWnd != nullptr || hwnd == nullptr || !::IsWindow(hwnd)) {
        return FALSE;
    }
    return SubclassBound(hwnd);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (parent == nullptr || parent->m_hWnd == nullptr) {
        return FALSE;
    }
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    if (m_superProc == nullptr) {
        return nullptr;
    }
    return Detach();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (m_hWnd != nullptr || hwnd == nullptr) {
        return FALSE;
    }
    if (!CHandleMap::Instance().Add(hwnd, this)) {
        return FALSE;
    }
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND hwnd = m_hWnd;
    if (hwnd == nullptr) {
        return nullptr;
    }
    // A window keeps working after its object lets go: it gets its own procedure back.
    if (m_superProc != nullptr && ::IsWindow(hwnd)) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    }
    m_superProc = nullptr;
    if (CHandleMap::Instance().Find(hwnd) == this) {
        CHandleMap::Instance().Remove(hwnd);
    }
    m_hWnd = nullptr;
    return hwnd;
}

void CWnd::OnFinalDestroy() {
    CHandleMap::Instance().Remove(m_hWnd);
    m_hWnd = nullptr;
    m_superProc = nullptr;
    AfxWindowGone(this);
    PostNcDestroy();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    CWnd* permanent = FromHandlePermanent(hwnd);
    return permanent != nullptr ? permanent : CHandleMap::Instance().Temporary(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd == nullptr ? nullptr : CHandleMap::Instance().Find(hwnd);
}

void CWnd::DeleteTempMap() {
    CHandleMap::Instance().DeleteTemporaries();
    CMenu::DeleteTempMap();
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_superProc != nullptr) {
        return CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& current = AfxGetCurrentMessage();
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        *result = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        return OnNotify(wParam, lParam, result);
    }
    if (IsCtlColor(message)) {
        return DispatchCtlColor(message, wParam, lParam, result);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry != nullptr) {
        return DispatchEntry(*entry, wParam, lParam, result);
    }
    return FALSE;
}

BOOL CWnd::DispatchCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(kAfxCtlColor, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    CBorrowedDC dc(wParam);
    const HBRUSH brush = (this->*As<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(entry->pfn))(
        &dc, FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX);
    *result = reinterpret_cast<LRESULT>(brush);
    return TRUE;
}

BOOL CWnd::ReflectCtlColor(UINT message, WPARAM wParam, LRESULT* result) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(kAfxReflected + kAfxCtlColor, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    CBorrowedDC dc(wParam);
    const HBRUSH brush =
        (this->*As<HBRUSH (CWnd::*)(CDC*, UINT)>(entry->pfn))(&dc, message - WM_CTLCOLORMSGBOX);
    if (brush == nullptr) {
        return FALSE;  // the control leaves its colours to the parent
    }
    *result = reinterpret_cast<LRESULT>(brush);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (control == nullptr) {
        // Menus and accelerators: both are plain commands.
        return OnCmdMsg(id, 0);
    }
    LRESULT ignored = 0;
    if (ReflectLastMsg(control, WM_COMMAND, wParam, lParam, &ignored)) {
        return TRUE;
    }
    return OnCmdMsg(id, HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr) {
        return FALSE;
    }
    if (header->hwndFrom != nullptr && ReflectLastMsg(header->hwndFrom, WM_NOTIFY, wParam, lParam, result)) {
        return TRUE;
    }
    const UINT id = static_cast<UINT>(header->idFrom);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_NOTIFY, header->code, id);
    if (entry == nullptr) {
        return FALSE;
    }
    if (entry->nSig == AfxSig::VoidUintNotify) {
        (this->*As<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(entry->pfn))(id, header, result);
        return TRUE;
    }
    (this->*As<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, result);
    return TRUE;
}

BOOL CWnd::ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* control = FromHandlePermanent(child);
    if (control == nullptr) {
        return FALSE;
    }
    return control->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(kAfxReflected + WM_COMMAND, HIWORD(wParam), 0);
        if (entry == nullptr) {
            return FALSE;
        }
        if (entry->nSig == AfxSig::BoolVoid) {
            return (this->*As<BOOL (CCmdTarget::*)()>(entry->pfn))();
        }
        (this->*entry->pfn)();
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(kAfxReflected + WM_NOTIFY, header->code, 0);
        if (entry == nullptr) {
            return FALSE;
        }
        if (entry->nSig == AfxSig::BoolNotify) {
            return (this->*As<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, result);
        }
        (this->*As<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, result);
        return TRUE;
    }
    if (IsCtlColor(message)) {
        return ReflectCtlColor(message, wParam, result);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(kAfxReflected + message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    return DispatchEntry(*entry, wParam, lParam, result);
}

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const AFX_PMSG pfn = entry.pfn;
    const UINT low = LOWORD(wParam);
    const UINT high = HIWORD(wParam);
    switch (entry.nSig) {
    case AfxSig::VoidVoid:
        (this->*pfn)();
        break;
    case AfxSig::VoidUintPtr:
        (this->*As<void (CWnd::*)(UINT_PTR)>(pfn))(static_cast<UINT_PTR>(wParam));
        break;
    case AfxSig::LresultWpLp:
        *result = (this->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
        break;
    case AfxSig::IntCreate:
        *result = (this->*As<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig::VoidUintIntInt:
        (this->*As<void (CWnd::*)(UINT, int, int)>(pfn))(static_cast<UINT>(wParam),
                                                         static_cast<short>(LOWORD(lParam)),
                                                         static_cast<short>(HIWORD(lParam)));
        break;
    case AfxSig::VoidUintPoint:
        (this->*As<void (CWnd::*)(UINT, CPoint)>(pfn))(static_cast<UINT>(wParam), CPoint(lParam));
        break;
    case AfxSig::VoidUintUintUint:
        (this->*As<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                           HIWORD(lParam));
        break;
    case AfxSig::VoidBoolUint:
        (this->*As<void (CWnd::*)(BOOL, UINT)>(pfn))(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        break;
    case AfxSig::VoidUintLparam:
        (this->*As<void (CWnd::*)(UINT, LPARAM)>(pfn))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig::HcursorVoid:
        *result = reinterpret_cast<LRESULT>((this->*As<HCURSOR (CWnd::*)()>(pfn))());
        break;
    case AfxSig::UintVoid:
        *result = (this->*As<UINT (CWnd::*)()>(pfn))();
        break;
    case AfxSig::BoolUintShortPoint:
        *result = (this->*As<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(low, static_cast<short>(high),
                                                                        CPoint(lParam));
        break;
    case AfxSig::BoolWndUintUint:
        *result = (this->*As<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig::VoidWnd:
        (this->*As<void (CWnd::*)(CWnd*)>(pfn))(FromHandle(reinterpret_cast<HWND>(
            entry.nMessage == WM_CAPTURECHANGED ? lParam : static_cast<LPARAM>(wParam))));
        break;
    case AfxSig::VoidWndPoint:
        (this->*As<void (CWnd::*)(CWnd*, CPoint)>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                        CPoint(lParam));
        break;
    case AfxSig::BoolWndCopyData:
        *result = (this->*As<BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*)>(pfn))(
            FromHandle(reinterpret_cast<HWND>(wParam)), reinterpret_cast<COPYDATASTRUCT*>(lParam));
        break;
    case AfxSig::VoidIntDrawItem:
        (this->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(static_cast<int>(wParam),
                                                                reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        break;
    case AfxSig::VoidIntMeasureItem:
        (this->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))(
            static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        *result = TRUE;
        break;
    case AfxSig::VoidDrawItem:
        (this->*As<void (CWnd::*)(LPDRAWITEMSTRUCT)>(pfn))(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        break;
    case AfxSig::VoidMeasureItem:
        (this->*As<void (CWnd::*)(LPMEASUREITEMSTRUCT)>(pfn))(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        *result = TRUE;
        break;
    case AfxSig::VoidHfontBool:
        (this->*As<void (CWnd::*)(HFONT, BOOL)>(pfn))(reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
        break;
    case AfxSig::HfontVoid:
        *result = reinterpret_cast<LRESULT>((this->*As<HFONT (CWnd::*)()>(pfn))());
        break;
    case AfxSig::BoolVoid:
        *result = (this->*As<BOOL (CWnd::*)()>(pfn))();
        break;
    case AfxSig::BoolDc: {
        CBorrowedDC dc(wParam);
        *result = (this->*As<BOOL (CWnd::*)(CDC*)>(pfn))(&dc);
        break;
    }
    case AfxSig::VoidUintUintWnd:
        (this->*As<void (CWnd::*)(UINT, UINT, CWnd*)>(pfn))(low, high,
                                                            FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case AfxSig::VoidMenuUintBool:
        (this->*As<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(
            CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* msg) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) {
            return TRUE;
        }
        // GetParent of a top-level window is its owner, where the walk must stop.
        if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return FALSE;
}

BOOL CWnd::OnEraseBkgnd(CDC* dc) {
    return static_cast<BOOL>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC* dc, CWnd* control, UINT controlType) {
    LRESULT result = 0;
    if (control != nullptr &&
        ReflectLastMsg(control->m_hWnd, WM_CTLCOLORMSGBOX + controlType, reinterpret_cast<WPARAM>(dc->m_hDC),
                       reinterpret_cast<LPARAM>(control->m_hWnd), &result)) {
        return reinterpret_cast<HBRUSH>(result);
    }
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT code, UINT position, CWnd* scrollBar) {
    Default();
}

void CWnd::OnVScroll(UINT code, UINT position, CWnd* scrollBar) {
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL isSystemMenu) {
    if (popup != nullptr && !isSystemMenu) {
        const int count = popup->GetMenuItemCount();
        for (int position = 0; position < count; ++position) {
            const UINT id = popup->GetMenuItemID(position);
            // Separators (0) and submenus (-1) have no command to update.
            if (id == 0 || id == static_cast<UINT>(-1)) {
                continue;
            }
            CCmdUI item(id, static_cast<UINT>(position), popup);
            item.DoUpdate(this);
        }
    }
    Default();
}

BOOL CWnd::OnQueryNewPalette() {
    return static_cast<BOOL>(Default());
}

void CWnd::OnPaletteChanged(CWnd* focusWnd) {
    Default();
}

void CWnd::OnPaletteIsChanging(CWnd* realizeWnd) {
    Default();
}
