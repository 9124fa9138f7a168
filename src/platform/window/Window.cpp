// Window classes, creation and destruction, the window tree, window text and window longs.
#include <strings.h>
#include <algorithm>
#include <cstring>

#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

WindowState& WinState() {
    thread_local WindowState state;
    return state;
}

Wnd* GetWnd(HWND hwnd) {
    return WinState().windows.Get(hwnd);
}

bool IsTopLevel(const Wnd& w) {
    return (w.style & WS_CHILD) == 0;
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || w->proc == nullptr) return 0;
    // The procedure may destroy the window: nothing of it is touched after the call.
    return w->proc(hwnd, msg, wParam, lParam);
}

namespace {

std::shared_ptr<const WindowClass> FindClass(const char* name) {
    if (name == nullptr) return nullptr;
    for (const auto& c : WinState().classes)
        if (strcasecmp(c->name.c_str(), name) == 0) return c;
    return nullptr;
}

// Removes hwnd from whichever z-order list holds it.
void Unlink(Wnd& w) {
    WindowState& s = WinState();
    std::vector<HWND>* list = &s.topLevels;
    if (!IsTopLevel(w)) {
        Wnd* p = GetWnd(w.parent);
        if (p == nullptr) return;
        list = &p->children;
    }
    list->erase(std::remove(list->begin(), list->end(), w.self), list->end());
}

void LinkTopLevel(Wnd& w) {
    // Topmost windows stay above the others; a new window goes to the top of its band.
    auto& list = WinState().topLevels;
    auto it = list.begin();
    if ((w.exStyle & WS_EX_TOPMOST) == 0) {
        while (it != list.end()) {
            Wnd* o = GetWnd(*it);
            if (o == nullptr || (o->exStyle & WS_EX_TOPMOST) == 0) break;
            ++it;
        }
    }
    list.insert(it, w.self);
}

void SendDestroyTree(HWND hwnd) {
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return;
    const std::vector<HWND> children = w->children;
    for (HWND c : children) {
        Wnd* cw = GetWnd(c);
        if (cw == nullptr) continue;
        cw->destroying = true;
        SendDestroyTree(c);
    }
}

void FreeTree(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return;
    // Children first: WM_NCDESTROY of a window comes after its children are gone.
    while (!w->children.empty()) {
        const HWND c = w->children.front();
        Wnd* cw = GetWnd(c);
        if (cw == nullptr) {
            w->children.erase(w->children.begin());
            continue;
        }
        cw->destroying = true;
        FreeTree(c);
        w = GetWnd(hwnd);
        if (w == nullptr) return;
        w->children.erase(std::remove(w->children.begin(), w->children.end(), c),
                          w->children.end());
    }
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    w = GetWnd(hwnd);
    if (w == nullptr) return;
    KillWindowTimers(hwnd);
    ForgetWindowInput(hwnd, false);
    CaretWindowDestroyed(hwnd);
    DeleteWindowDcs(hwnd);
    WindowState& s = WinState();
    std::erase_if(s.posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    const bool top = IsTopLevel(*w);
    Unlink(*w);
    s.windows.Remove(hwnd);
    if (top) Backend().WindowDestroyed(hwnd);
}

}  // namespace

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpszClassName[0] == '\0' ||
        wc->lpfnWndProc == nullptr || wc->cbWndExtra < 0 || wc->cbWndExtra > 4096)
        return 0;
    if (FindClass(wc->lpszClassName)) return 0;
    auto c = std::make_shared<WindowClass>();
    c->name = wc->lpszClassName;
    c->wc = *wc;
    c->wc.lpszClassName = nullptr;
    c->wc.lpszMenuName = nullptr;
    auto& classes = WinState().classes;
    classes.push_back(std::move(c));
    // Atoms of registered classes start where the classic platform's do.
    return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClassA(const char* className, HINSTANCE) {
    auto& classes = WinState().classes;
    const auto c = FindClass(className);
    if (!c) return FALSE;
    bool inUse = false;
    WinState().windows.ForEach([&](HWND, const Wnd& w) { inUse = inUse || w.cls == c; });
    if (inUse) return FALSE;
    std::erase(classes, c);
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, const char* className, WNDCLASSA* out) {
    auto c = FindClass(className);
    if (!c && RegisterSystemClasses()) c = FindClass(className);
    if (!c || out == nullptr) return FALSE;
    *out = c->wc;
    out->lpszClassName = className;
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param) {
    WindowState& s = WinState();
    auto cls = FindClass(className);
    if (!cls && RegisterSystemClasses()) cls = FindClass(className);
    if (!cls) return 0;
    Wnd* pw = nullptr;
    if (parent != 0) {
        pw = GetWnd(parent);
        if (pw == nullptr) return 0;
    }
    if ((style & WS_CHILD) && pw == nullptr) return 0;

    auto owned = std::make_unique<Wnd>();
    Wnd& init = *owned;
    init.cls = cls;
    init.proc = cls->wc.lpfnWndProc;
    init.style = style & ~WS_VISIBLE;  // shown once creation has succeeded
    init.exStyle = exStyle;
    init.instance = instance;
    init.extra.assign(static_cast<std::size_t>(cls->wc.cbWndExtra), 0);
    if (style & WS_CHILD) {
        init.parent = parent;
        init.id = static_cast<LONG_PTR>(menu);
    } else if (pw != nullptr) {
        // A top-level window given a parent is owned by that window's top-level ancestor.
        init.owner = GetAncestorTopLevel(parent);
    }
    if (!(style & WS_CHILD)) {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) {
            width = s.screenWidth / 2;
            height = s.screenHeight / 2;
        }
    } else {
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
    }
    init.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    const HWND hwnd = s.windows.Add(std::move(owned));
    if (hwnd == 0) return 0;
    Wnd* w = GetWnd(hwnd);
    w->self = hwnd;
    // New children go to the bottom of their siblings, so the first child created is on top;
    // new top-level windows go to the top.
    if (w->parent != 0)
        pw->children.push_back(hwnd);
    else
        LinkTopLevel(*w);
    if (IsTopLevel(*w)) Backend().WindowChanged(hwnd);

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    const LPARAM lp = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, lp)) {
        if (GetWnd(hwnd) != nullptr) {
            GetWnd(hwnd)->destroying = true;
            FreeTree(hwnd);
        }
        return 0;
    }
    if (GetWnd(hwnd) == nullptr) return 0;
    if (SendMessageA(hwnd, WM_CREATE, 0, lp) == -1) {
        DestroyWindow(hwnd);
        return 0;
    }
    w = GetWnd(hwnd);
    if (w == nullptr || w->destroying) return 0;
    w->created = true;
    const RECT client = ClientRectLocal(*w);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(client.right - client.left, client.bottom - client.top));
    w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    const POINT origin{w->rect.left + client.left, w->rect.top + client.top};
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    if (GetWnd(hwnd) == nullptr) return 0;
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, (exStyle & WS_EX_NOACTIVATE) ? SW_SHOWNOACTIVATE : SW_SHOW);
    return GetWnd(hwnd) != nullptr ? hwnd : 0;
}

BOOL DestroyWindow(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return FALSE;
    if (w->destroying) return TRUE;  // already on its way out (a re-entrant call)
    w->destroying = true;
    // Owned windows go first, as they cannot outlive their owner.
    std::vector<HWND> owned;
    WinState().windows.ForEach([&](HWND h, const Wnd& o) {
        if (o.owner == hwnd) owned.push_back(h);
    });
    for (HWND o : owned)
        DestroyWindow(o);
    if (GetWnd(hwnd) == nullptr) return TRUE;
    // The window is hidden first, so what it covered repaints.
    if (GetWnd(hwnd)->style & WS_VISIBLE)
        SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ForgetWindowInput(hwnd, true);
    if (GetWnd(hwnd) == nullptr) return TRUE;
    SendDestroyTree(hwnd);
    FreeTree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return GetWnd(hwnd) != nullptr ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    if (GetWnd(parent) == nullptr) return FALSE;
    for (Wnd* w = GetWnd(hwnd); w != nullptr && !IsTopLevel(*w); w = GetWnd(w->parent))
        if (w->parent == parent) return TRUE;
    return FALSE;
}

HWND GetParent(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    return IsTopLevel(*w) ? w->owner : w->parent;
}

HWND GetAncestorTopLevel(HWND hwnd) {
    Wnd* w = GetWnd(hwnd);
    while (w != nullptr && !IsTopLevel(*w)) {
        Wnd* p = GetWnd(w->parent);
        if (p == nullptr) break;
        w = p;
    }
    return w != nullptr ? w->self : 0;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    if (newParent != 0) {
        // A window cannot become a descendant of itself.
        if (GetWnd(newParent) == nullptr || newParent == hwnd || IsChild(hwnd, newParent)) return 0;
    }
    const HWND old = IsTopLevel(*w) ? 0 : w->parent;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible) ShowWindow(hwnd, SW_HIDE);
    w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    const bool wasTop = IsTopLevel(*w);
    Unlink(*w);
    if (newParent != 0) {
        w->style = (w->style | WS_CHILD) & ~WS_POPUP;
        w->parent = newParent;
        w->owner = 0;
        // The new parent's children list: on top, as the classic platform links it.
        auto& ch = GetWnd(newParent)->children;
        ch.insert(ch.begin(), hwnd);
        if (wasTop) Backend().WindowDestroyed(hwnd);
    } else {
        w->style &= ~WS_CHILD;
        w->parent = 0;
        LinkTopLevel(*w);
        Backend().WindowChanged(hwnd);
    }
    if (visible) ShowWindow(hwnd, SW_SHOWNA);
    return old;
}

HWND GetTopWindow(HWND parent) {
    if (parent == 0) {
        auto& list = WinState().topLevels;
        return list.empty() ? 0 : list.front();
    }
    Wnd* p = GetWnd(parent);
    return (p == nullptr || p->children.empty()) ? 0 : p->children.front();
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    if (cmd == GW_CHILD) return w->children.empty() ? 0 : w->children.front();
    if (cmd == GW_OWNER) return IsTopLevel(*w) ? w->owner : 0;
    const std::vector<HWND>* list = &WinState().topLevels;
    if (!IsTopLevel(*w)) {
        Wnd* p = GetWnd(w->parent);
        if (p == nullptr) return 0;
        list = &p->children;
    }
    const auto it = std::find(list->begin(), list->end(), hwnd);
    if (it == list->end()) return 0;
    switch (cmd) {
        case GW_HWNDFIRST:
            return list->front();
        case GW_HWNDLAST:
            return list->back();
        case GW_HWNDNEXT:
            return (it + 1 == list->end()) ? 0 : *(it + 1);
        case GW_HWNDPREV:
            return (it == list->begin()) ? 0 : *(it - 1);
        default:
            return 0;
    }
}

namespace {
bool EnumTree(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    Wnd* p = GetWnd(parent);
    if (p == nullptr) return true;
    const std::vector<HWND> children = p->children;  // the callback may change the tree
    for (HWND c : children) {
        if (GetWnd(c) == nullptr) continue;
        if (!proc(c, lParam)) return false;
        if (!EnumTree(c, proc, lParam)) return false;
    }
    return true;
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (proc == nullptr || GetWnd(parent) == nullptr) return FALSE;
    EnumTree(parent, proc, lParam);
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (proc == nullptr) return FALSE;
    const std::vector<HWND> tops = WinState().topLevels;
    for (HWND h : tops)
        if (GetWnd(h) != nullptr && !proc(h, lParam)) break;
    return TRUE;
}

BOOL SetWindowTextA(HWND hwnd, const char* text) {
    if (GetWnd(hwnd) == nullptr) return FALSE;
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE
                                                                                         : FALSE;
}

int GetWindowTextA(HWND hwnd, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = '\0';
    if (GetWnd(hwnd) == nullptr) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) {
    if (GetWnd(hwnd) == nullptr) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetClassNameA(HWND hwnd, char* buffer, int size) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr || buffer == nullptr || size <= 0) return 0;
    const std::size_t n = std::min(w->cls->name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, w->cls->name.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

LONG_PTR GetWindowLongA(HWND hwnd, int index) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    switch (index) {
        case GWL_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWL_HINSTANCE:
            return static_cast<LONG_PTR>(w->instance);
        case GWL_HWNDPARENT:
            return static_cast<LONG_PTR>(GetParent(hwnd));
        case GWL_STYLE:
            return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exStyle);
        case GWL_USERDATA:
            return w->userData;
        case GWL_ID:
            return w->id;
        default:
            break;
    }
    // Extra window bytes hold pointer-sized values.
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    LONG_PTR v = 0;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
}

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
    Wnd* w = GetWnd(hwnd);
    if (w == nullptr) return 0;
    LONG_PTR old = 0;
    switch (index) {
        case GWL_WNDPROC:
            // A null procedure would leave the window deaf; refuse it.
            if (value == 0) return 0;
            old = reinterpret_cast<LONG_PTR>(w->proc);
            w->proc = reinterpret_cast<WNDPROC>(value);
            return old;
        case GWL_STYLE: {
            old = static_cast<LONG_PTR>(static_cast<LONG>(w->style));
            // The kind of window (child or top-level) is fixed at creation; a top-level window
            // may still turn into a pop-up, as a tooltip does while it is created.
            const DWORD keep = WS_CHILD;
            w->style = (w->style & keep) | (static_cast<DWORD>(value) & ~keep);
            return old;
        }
        case GWL_EXSTYLE:
            old = static_cast<LONG_PTR>(w->exStyle);
            w->exStyle = static_cast<DWORD>(value);
            return old;
        case GWL_USERDATA:
            old = w->userData;
            w->userData = value;
            return old;
        case GWL_ID:
            old = w->id;
            w->id = value;
            return old;
        case GWL_HINSTANCE:
            old = static_cast<LONG_PTR>(w->instance);
            w->instance = static_cast<HINSTANCE>(value);
            return old;
        default:
            break;
    }
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) return 0;
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcA(LONG_PTR proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(proc), hwnd, msg, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallProc(hwnd, msg, wParam, lParam);
}

}  // namespace zo::plat
