// The X11 display: one X window per shown top-level window, presented from the screen
// framebuffer with XPutImage, and X events turned into the input the window manager queues.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/GdiInternal.h"
#include "platform/display/Backend.h"
#include "platform/display/X11Clipboard.h"
#include "platform/window/WindowInternal.h"

// Xlib's macros (None, True, Bool, ...) would clash with the platform's names: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

namespace zo::plat {

namespace {

struct XWin {
    Window xid = 0;
    bool mapped = false;
    bool popup = false;  // override-redirect: placed by the program, not the window manager
    RECT rect;           // last geometry given to the X server
};

// The virtual key of an X key symbol (unshifted), or 0.
UINT VkOfKeysym(KeySym ks) {
    if (ks >= XK_a && ks <= XK_z) return static_cast<UINT>('A' + (ks - XK_a));
    if (ks >= XK_A && ks <= XK_Z) return static_cast<UINT>(ks);
    if (ks >= XK_0 && ks <= XK_9) return static_cast<UINT>(ks);
    if (ks >= XK_F1 && ks <= XK_F12) return static_cast<UINT>(VK_F1 + (ks - XK_F1));
    if (ks >= XK_KP_0 && ks <= XK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + (ks - XK_KP_0));
    switch (ks) {
        case XK_BackSpace:
            return VK_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return VK_TAB;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_Shift_L:
            return VK_LSHIFT;
        case XK_Shift_R:
            return VK_RSHIFT;
        case XK_Control_L:
            return VK_LCONTROL;
        case XK_Control_R:
            return VK_RCONTROL;
        case XK_Alt_L:
            return VK_LMENU;
        case XK_Alt_R:
            return VK_RMENU;
        case XK_Caps_Lock:
            return VK_CAPITAL;
        case XK_Escape:
            return VK_ESCAPE;
        case XK_space:
            return VK_SPACE;
        case XK_Prior:
            return VK_PRIOR;
        case XK_Next:
            return VK_NEXT;
        case XK_End:
            return VK_END;
        case XK_Home:
            return VK_HOME;
        case XK_Left:
            return VK_LEFT;
        case XK_Up:
            return VK_UP;
        case XK_Right:
            return VK_RIGHT;
        case XK_Down:
            return VK_DOWN;
        case XK_Insert:
            return VK_INSERT;
        case XK_Delete:
            return VK_DELETE;
        case XK_KP_Multiply:
            return VK_MULTIPLY;
        case XK_KP_Add:
            return VK_ADD;
        case XK_KP_Subtract:
            return VK_SUBTRACT;
        case XK_KP_Decimal:
            return VK_DECIMAL;
        case XK_KP_Divide:
            return VK_DIVIDE;
        case XK_semicolon:
            return VK_OEM_1;
        case XK_equal:
            return VK_OEM_PLUS;
        case XK_comma:
            return VK_OEM_COMMA;
        case XK_minus:
            return VK_OEM_MINUS;
        case XK_period:
            return VK_OEM_PERIOD;
        case XK_slash:
            return VK_OEM_2;
        case XK_grave:
            return VK_OEM_3;
        case XK_bracketleft:
            return VK_OEM_4;
        case XK_backslash:
            return VK_OEM_5;
        case XK_bracketright:
            return VK_OEM_6;
        case XK_apostrophe:
            return VK_OEM_7;
        default:
            return 0;
    }
}

unsigned int XCursorShapeOf(HCURSOR c) {
    switch (c) {
        case IDC_IBEAM:
            return XC_xterm;
        case IDC_WAIT:
            return XC_watch;
        case IDC_CROSS:
            return XC_crosshair;
        case IDC_SIZEALL:
            return XC_fleur;
        case IDC_NO:
            return XC_pirate;
        case IDC_HAND:
            return XC_hand2;
        default:
            return XC_left_ptr;
    }
}

class X11Backend final : public DisplayBackend {
public:
    explicit X11Backend(Display* dpy) : dpy_(dpy) {
        screen_ = DefaultScreen(dpy_);
        root_ = RootWindow(dpy_, screen_);
        visual_ = DefaultVisual(dpy_, screen_);
        depth_ = DefaultDepth(dpy_, screen_);
        gc_ = DefaultGC(dpy_, screen_);
        wmProtocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
        wmDelete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
        Bool supported = False;
        // Held keys repeat as presses only, as the classic platform reports them.
        XkbSetDetectableAutoRepeat(dpy_, True, &supported);
        start_ = std::chrono::steady_clock::now();
        clipboard_ = std::make_unique<X11Clipboard>(dpy_);
    }
    ~X11Backend() override {
        for (auto& [h, xw] : windows_)
            XDestroyWindow(dpy_, xw.xid);
        for (auto& [shape, c] : cursors_)
            XFreeCursor(dpy_, c);
        clipboard_.reset();
        XCloseDisplay(dpy_);
    }

    int ScreenWidth() const { return DisplayWidth(dpy_, screen_); }
    int ScreenHeight() const { return DisplayHeight(dpy_, screen_); }

    DisplayKind Kind() const override { return DisplayKind::X11; }

    DWORD Now() override {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start_)
                            .count();
        return static_cast<DWORD>(ms);
    }

    void Poll() override {
        while (XPending(dpy_) > 0) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            Handle(ev);
        }
    }

    bool Wait(bool hasDeadline, DWORD deadline) override {
        Flush();
        if (XPending(dpy_) > 0) {
            Poll();
            return true;
        }
        int timeout = -1;
        if (hasDeadline) {
            const auto left = static_cast<std::int32_t>(deadline - Now());
            timeout = std::max(0, left);
        }
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        ::poll(&p, 1, timeout);
        Poll();
        return true;
    }

    void WindowChanged(HWND hwnd) override {
        if (applying_) return;
        Wnd* w = GetWnd(hwnd);
        if (w == nullptr || !IsTopLevel(*w)) return;
        const RECT r = w->rect;
        const int width = std::max<LONG>(1, r.right - r.left);
        const int height = std::max<LONG>(1, r.bottom - r.top);
        auto it = windows_.find(hwnd);
        if (it == windows_.end()) {
            XSetWindowAttributes a{};
            a.background_pixmap = None;
            a.bit_gravity = NorthWestGravity;
            // Pop-ups (tips, menus) are placed by the program, not by the window manager.
            a.override_redirect = (w->style & WS_POPUP) ? True : False;
            a.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask |
                           ButtonReleaseMask | PointerMotionMask | KeyPressMask | KeyReleaseMask |
                           FocusChangeMask | EnterWindowMask | LeaveWindowMask;
            const Window xid =
                XCreateWindow(dpy_, root_, r.left, r.top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 0, depth_, InputOutput, visual_,
                              CWBackPixmap | CWBitGravity | CWOverrideRedirect | CWEventMask, &a);
            XSetWMProtocols(dpy_, xid, &wmDelete_, 1);
            // The window manager and tools find the window by its class, as on the classic
            // platform by the window class's name.
            if (w->cls) {
                std::string name = w->cls->name;
                XClassHint hint{name.data(), name.data()};
                XSetClassHint(dpy_, xid, &hint);
            }
            XSizeHints hints{};
            hints.flags = PPosition | USPosition;
            hints.x = r.left;
            hints.y = r.top;
            XSetWMNormalHints(dpy_, xid, &hints);
            it = windows_.emplace(hwnd, XWin{xid, false, a.override_redirect == True, r}).first;
            byX_[xid] = hwnd;
            XDefineCursor(dpy_, xid, CursorFor(WinState().cursor));
        } else if (!(it->second.rect == r)) {
            XMoveResizeWindow(dpy_, it->second.xid, r.left, r.top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height));
            it->second.rect = r;
        }
        // The style may turn into a pop-up after the X window exists (a tooltip does so while it
        // is created); the X server takes that only while the window is unmapped.
        const bool popup = (w->style & WS_POPUP) != 0;
        if (popup != it->second.popup && !it->second.mapped) {
            XSetWindowAttributes a{};
            a.override_redirect = popup ? True : False;
            XChangeWindowAttributes(dpy_, it->second.xid, CWOverrideRedirect, &a);
            it->second.popup = popup;
        }
        XStoreName(dpy_, it->second.xid, w->text.c_str());
        const bool show = (w->style & WS_VISIBLE) && r.right > r.left && r.bottom > r.top;
        if (show && !it->second.mapped) {
            XMapRaised(dpy_, it->second.xid);
            it->second.mapped = true;
        } else if (!show && it->second.mapped) {
            XUnmapWindow(dpy_, it->second.xid);
            it->second.mapped = false;
        }
        if (show) {
            RestackLikeTheWindowList();
            dirty_.Add(r);
        }
        XFlush(dpy_);
    }

    void WindowDestroyed(HWND hwnd) override {
        auto it = windows_.find(hwnd);
        if (it == windows_.end()) return;
        byX_.erase(it->second.xid);
        XDestroyWindow(dpy_, it->second.xid);
        windows_.erase(it);
        XFlush(dpy_);
    }

    void ScreenDirty(const RECT& r) override {
        if (r.right > r.left && r.bottom > r.top) dirty_.Add(r);
    }

    void Flush() override {
        if (dirty_.Empty()) return;
        GdiObject* o = GetGdi(ScreenBitmap(), GdiKind::Bitmap);
        if (o == nullptr) return;
        const Bitmap& fb = o->bitmap;
        for (auto& [hwnd, xw] : windows_) {
            if (!xw.mapped) continue;
            Wnd* w = GetWnd(hwnd);
            if (w == nullptr) continue;
            Region part = dirty_;
            part.Intersect(w->rect);
            part.Intersect(RECT{0, 0, fb.width, fb.height});
            for (const RECT& r : part.Rects())
                Put(fb, xw.xid, w->rect, r);
        }
        dirty_.Clear();
        XFlush(dpy_);
    }

    void CursorMoved(POINT p) override {
        XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, p.x, p.y);
        XFlush(dpy_);
    }

    void CursorShapeChanged(HCURSOR c) override {
        const Cursor xc = CursorFor(c);
        for (auto& [h, xw] : windows_)
            XDefineCursor(dpy_, xw.xid, xc);
    }

    bool SetClipboardText(const std::string& text) override { return clipboard_->Set(text); }
    bool GetClipboardText(std::string* text) override { return clipboard_->Get(text); }

    unsigned long NativeWindow(HWND hwnd) const override {
        auto it = windows_.find(hwnd);
        return it == windows_.end() ? 0 : it->second.xid;
    }

private:
    Cursor CursorFor(HCURSOR c) {
        const unsigned shape = XCursorShapeOf(c);
        auto it = cursors_.find(shape);
        if (it != cursors_.end()) return it->second;
        const Cursor xc = XCreateFontCursor(dpy_, shape);
        cursors_[shape] = xc;
        return xc;
    }

    void RestackLikeTheWindowList() {
        std::vector<Window> order;
        for (HWND h : WinState().topLevels) {
            auto it = windows_.find(h);
            if (it != windows_.end() && it->second.mapped) order.push_back(it->second.xid);
        }
        if (order.size() > 1) XRestackWindows(dpy_, order.data(), static_cast<int>(order.size()));
    }

    // Copies one screen rectangle of the framebuffer into the X window showing `winRect`.
    void Put(const Bitmap& fb, Window xid, const RECT& winRect, const RECT& r) {
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        XImage* img =
            XCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                         static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
        if (img == nullptr) return;
        std::vector<char> data(static_cast<std::size_t>(img->bytes_per_line) *
                               static_cast<std::size_t>(h));
        img->data = data.data();
        const bool direct = img->bits_per_pixel == 32 && visual_->red_mask == 0xFF0000 &&
                            visual_->green_mask == 0xFF00 && visual_->blue_mask == 0xFF &&
                            img->byte_order == LSBFirst;
        for (int y = 0; y < h; ++y) {
            const Pixel* src =
                fb.pixels.data() +
                static_cast<std::size_t>(r.top + y) * static_cast<std::size_t>(fb.width) +
                static_cast<std::size_t>(r.left);
            if (direct) {
                std::copy_n(src, w,
                            reinterpret_cast<Pixel*>(img->data + static_cast<std::ptrdiff_t>(y) *
                                                                     img->bytes_per_line));
                continue;
            }
            for (int x = 0; x < w; ++x)
                XPutPixel(img, x, y, NativePixel(src[x]));
        }
        XPutImage(dpy_, xid, gc_, img, 0, 0, r.left - winRect.left, r.top - winRect.top,
                  static_cast<unsigned>(w), static_cast<unsigned>(h));
        img->data = nullptr;  // owned by `data`
        XDestroyImage(img);
    }

    unsigned long NativePixel(Pixel p) const {
        auto scale = [](unsigned v, unsigned long mask) -> unsigned long {
            if (mask == 0) return 0;
            int shift = 0;
            while (!((mask >> shift) & 1))
                ++shift;
            const unsigned long bits = mask >> shift;
            return ((v * bits + 127) / 255) << shift;
        };
        return scale((p >> 16) & 0xFF, visual_->red_mask) |
               scale((p >> 8) & 0xFF, visual_->green_mask) | scale(p & 0xFF, visual_->blue_mask);
    }

    HWND HwndOf(Window xid) const {
        auto it = byX_.find(xid);
        return it == byX_.end() ? 0 : it->second;
    }

    // A position inside an X window, in the platform's screen coordinates.
    POINT ToScreen(HWND hwnd, int x, int y) const {
        Wnd* w = GetWnd(hwnd);
        if (w == nullptr) return POINT{x, y};
        return POINT{w->rect.left + x, w->rect.top + y};
    }

    void Handle(XEvent& ev) {
        if (clipboard_->Handle(ev)) return;
        const HWND hwnd = HwndOf(ev.xany.window);
        switch (ev.type) {
            case Expose:
                if (hwnd != 0) {
                    const POINT p = ToScreen(hwnd, ev.xexpose.x, ev.xexpose.y);
                    dirty_.Add(RECT{p.x, p.y, p.x + ev.xexpose.width, p.y + ev.xexpose.height});
                }
                break;
            case ConfigureNotify:
                OnConfigure(hwnd, ev.xconfigure);
                break;
            case MotionNotify:
                if (hwnd != 0) QueueMouseMove(ToScreen(hwnd, ev.xmotion.x, ev.xmotion.y), Now());
                break;
            case EnterNotify:
            case LeaveNotify:
                if (hwnd != 0 && ev.xcrossing.mode == NotifyNormal)
                    QueueMouseMove(ToScreen(hwnd, ev.xcrossing.x, ev.xcrossing.y), Now());
                break;
            case ButtonPress:
            case ButtonRelease: {
                if (hwnd == 0) break;
                int vk = 0;
                if (ev.xbutton.button == Button1) vk = VK_LBUTTON;
                if (ev.xbutton.button == Button2) vk = VK_MBUTTON;
                if (ev.xbutton.button == Button3) vk = VK_RBUTTON;
                if (vk == 0) break;
                QueueMouseMove(ToScreen(hwnd, ev.xbutton.x, ev.xbutton.y), Now());
                QueueMouseButton(vk, ev.type == ButtonPress, Now());
                break;
            }
            case KeyPress:
            case KeyRelease: {
                const UINT vk = VkOfKeysym(XLookupKeysym(&ev.xkey, 0));
                if (vk != 0) QueueKey(vk, ev.type == KeyPress, Now());
                break;
            }
            case FocusIn:
                if (hwnd != 0 && ev.xfocus.detail != NotifyPointer) SetActiveWindow(hwnd);
                break;
            case FocusOut:
                if (hwnd != 0 && ev.xfocus.detail != NotifyPointer &&
                    ev.xfocus.mode == NotifyNormal && GetActiveWindow() == hwnd)
                    SetActiveWindow(0);
                break;
            case ClientMessage:
                if (hwnd != 0 && ev.xclient.message_type == wmProtocols_ &&
                    static_cast<Atom>(ev.xclient.data.l[0]) == wmDelete_)
                    PostMessageA(hwnd, WM_CLOSE, 0, 0);
                break;
            case MappingNotify:
                XRefreshKeyboardMapping(&ev.xmapping);
                break;
            default:
                break;
        }
    }

    void OnConfigure(HWND hwnd, const XConfigureEvent& c) {
        Wnd* w = GetWnd(hwnd);
        if (w == nullptr) return;
        // Where the window really is on the root window (a window manager may have moved it).
        int rx = 0, ry = 0;
        Window child = 0;
        XTranslateCoordinates(dpy_, c.window, root_, 0, 0, &rx, &ry, &child);
        RECT r{rx, ry, rx + c.width, ry + c.height};
        auto it = windows_.find(hwnd);
        if (it != windows_.end()) it->second.rect = r;
        if (r == w->rect) return;
        applying_ = true;
        SetWindowPos(hwnd, 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        applying_ = false;
        dirty_.Add(r);
    }

    Display* dpy_;
    std::unique_ptr<X11Clipboard> clipboard_;
    int screen_ = 0;
    Window root_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 24;
    GC gc_ = nullptr;
    Atom wmProtocols_ = 0;
    Atom wmDelete_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::unordered_map<HWND, XWin> windows_;
    std::unordered_map<Window, HWND> byX_;
    std::unordered_map<unsigned, Cursor> cursors_;
    Region dirty_;
    bool applying_ = false;  // a change that came from the X server is being applied
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateX11Backend(int* width, int* height) {
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) return nullptr;
    auto b = std::make_unique<X11Backend>(dpy);
    if (*width <= 0) *width = b->ScreenWidth();
    if (*height <= 0) *height = b->ScreenHeight();
    return b;
}

}  // namespace zo::plat
