// The tooltip window class. Each tooltip keeps its tools and watches the mouse over their
// windows through a relay procedure put in front of each tool window's own procedure. A move
// over a tool (re)starts the show timer, so the tip waits for the pointer to rest; when it
// fires with the pointer still on that tool, the tip appears under the pointer; a leave check,
// the auto-pop timer, a click or deactivation take it away again. The tool's window hears of
// both with TTN_SHOW and TTN_POP, and is asked for the text of a callback tool.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CommCtrl.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/commctrl/ControlKit.h"

namespace zo::plat {

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kLeaveTimer = 3;
constexpr UINT kLeavePollMs = 100;
constexpr int kTextInset = 2;    // between the border and the text, on each side
constexpr int kCursorDrop = 20;  // the tip's top below the pointer
constexpr std::size_t kMaxTitle = 100;
// Characters the 8-bit text messages copy at most when the caller gives no buffer size.
constexpr std::size_t kMaxTextA = 80;

struct Tool {
    UINT flags = 0;
    HWND hwnd = 0;
    std::uintptr_t id = 0;
    RECT rect;
    HINSTANCE hinst = 0;
    std::string text;
    bool callback = false;
    LPARAM lParam = 0;
};

struct TipState {
    std::vector<Tool> tools;
    bool active = true;
    int initial = -1;  // -1: taken from the double-click time
    int autopop = -1;
    int reshow = -1;
    COLORREF back = 0;
    COLORREF fore = 0;
    RECT margin;
    int maxWidth = -1;
    HFONT font = 0;
    std::string title;
    WPARAM icon = 0;
    int hot = -1;           // tool under the pointer as last relayed
    int shown = -1;         // tool whose tip is up
    bool popped = false;    // auto-pop took the tip away; it stays away until the pointer leaves
    bool quick = false;     // the pointer came from a tip that was up: the reshow delay applies
    std::string shownText;  // what the tip shows, asked once per showing
};

// A tool's identity, which stays true while notifications let the tools change.
struct ToolKey {
    HWND hwnd = 0;
    std::uintptr_t id = 0;
};

// Per-thread, as windows are.
struct Module {
    std::map<HWND, std::unique_ptr<TipState>> tips;
    // Tool windows with the relay in front: their previous procedure and the tooltips that
    // listen to them.
    struct Relay {
        LONG_PTR oldProc = 0;
        std::vector<HWND> tips;
    };
    std::map<HWND, Relay> relays;
    bool registered = false;
};

Module& Mod() {
    thread_local Module m;
    return m;
}

TipState* State(HWND hwnd) {
    auto& tips = Mod().tips;
    const auto it = tips.find(hwnd);
    return it == tips.end() ? nullptr : it->second.get();
}

int DelayOf(const TipState& s, WPARAM kind) {
    const int dbl = static_cast<int>(GetDoubleClickTime());
    switch (kind) {
        case TTDT_RESHOW:
            return s.reshow >= 0 ? s.reshow : dbl / 5;
        case TTDT_AUTOPOP:
            return s.autopop >= 0 ? s.autopop : dbl * 10;
        case TTDT_INITIAL:
            return s.initial >= 0 ? s.initial : dbl;
        case TTDT_AUTOMATIC:  // the classic control answers with the auto-pop delay
            return s.autopop >= 0 ? s.autopop : dbl * 10;
        default:
            return 0;
    }
}

bool SameTool(const Tool& t, HWND hwnd, std::uintptr_t id) {
    if (t.flags & TTF_IDISHWND) return t.id == id;
    return t.hwnd == hwnd && t.id == id;
}

int FindKey(const TipState& s, const ToolKey& k) {
    for (std::size_t i = 0; i < s.tools.size(); ++i)
        if (SameTool(s.tools[i], k.hwnd, k.id)) return static_cast<int>(i);
    return -1;
}

int FindTool(const TipState& s, const TOOLINFOA* ti) {
    if (ti == nullptr || ti->cbSize < TTTOOLINFOA_V1_SIZE) return -1;
    return FindKey(s, ToolKey{ti->hwnd, ti->uId});
}

ToolKey KeyOf(const Tool& t) {
    return ToolKey{t.hwnd, t.id};
}

// WM_NOTIFY to the tool's window. The handler may change the tooltip or destroy it, so callers
// look their state up again afterwards.
void Notify(HWND tip, const Tool& t, UINT code, NMHDR* hdr) {
    hdr->hwndFrom = tip;
    hdr->idFrom = t.id;
    hdr->code = code;
    const HWND to = t.hwnd;
    SendMessageA(to, WM_NOTIFY, static_cast<WPARAM>(t.id), reinterpret_cast<LPARAM>(hdr));
}

// The window a tool's mouse comes from.
HWND ToolWindow(const Tool& t) {
    return (t.flags & TTF_IDISHWND) ? static_cast<HWND>(t.id) : t.hwnd;
}

// The tool under a point given in the client coordinates of `hwnd`: rectangle tools first,
// then whole-window tools.
int HitTool(const TipState& s, HWND hwnd, POINT pt) {
    for (std::size_t i = 0; i < s.tools.size(); ++i) {
        const Tool& t = s.tools[i];
        if (!(t.flags & TTF_IDISHWND) && t.hwnd == hwnd && pt.x >= t.rect.left &&
            pt.x < t.rect.right && pt.y >= t.rect.top && pt.y < t.rect.bottom)
            return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < s.tools.size(); ++i) {
        const Tool& t = s.tools[i];
        if ((t.flags & TTF_IDISHWND) && static_cast<HWND>(t.id) == hwnd) return static_cast<int>(i);
    }
    return -1;
}

// The tool under the pointer now, from the window the pointer is over.
int ToolUnderCursor(const TipState& s) {
    POINT pt;
    GetCursorPos(&pt);
    const HWND under = WindowFromPoint(pt);
    if (under == 0) return -1;
    ScreenToClient(under, &pt);
    return HitTool(s, under, pt);
}

// Tips show only while the owner's top-level window is active, unless asked always to show.
bool OwnerActive(HWND tip) {
    if (GetWindowLongA(tip, GWL_STYLE) & TTS_ALWAYSTIP) return true;
    const HWND owner = GetWindow(tip, GW_OWNER);
    return owner == 0 || GetActiveWindow() == GetAncestorTopLevel(owner);
}

// The text of a tool; the window of a callback tool is asked with TTN_GETDISPINFOA.
std::string TextOf(HWND tip, int index) {
    TipState* s = State(tip);
    if (s == nullptr || index < 0 || index >= static_cast<int>(s->tools.size())) return {};
    const Tool& t = s->tools[static_cast<std::size_t>(index)];
    if (!t.callback) return t.text;
    const ToolKey key = KeyOf(t);
    NMTTDISPINFOA info;
    info.hinst = t.hinst;
    info.uFlags = t.flags;
    info.lParam = t.lParam;
    // A handler that copies its text to where lpszText points writes into the record's own
    // buffer.
    info.lpszText = info.szText;
    Notify(tip, t, TTN_GETDISPINFOA, &info.hdr);
    std::string text;
    const auto p = reinterpret_cast<std::uintptr_t>(info.lpszText);
    if (info.lpszText == nullptr || info.lpszText == info.szText)
        text.assign(info.szText, strnlen(info.szText, sizeof info.szText));
    else if (p >= 0x10000 && info.lpszText != LPSTR_TEXTCALLBACKA)
        text = info.lpszText;  // small values would be string resources, which this platform lacks
    if (info.uFlags & TTF_DI_SETITEM) {
        s = State(tip);
        const int i = s != nullptr ? FindKey(*s, key) : -1;
        if (i >= 0) {
            Tool& kept = s->tools[static_cast<std::size_t>(i)];
            kept.text = text;
            kept.callback = false;
        }
    }
    return text;
}

HFONT FontOf(const TipState& s) {
    return s.font != 0 ? s.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

UINT TextFormat(HWND tip, const TipState& s) {
    UINT f = DT_LEFT | DT_TOP | DT_EXPANDTABS;
    if (GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX) f |= DT_NOPREFIX;
    f |= s.maxWidth == -1 ? DT_SINGLELINE : DT_WORDBREAK;
    return f;
}

constexpr int kTitleIcon = 16;

// The title's icon: one of the standard ones by number, or the caller's own icon handle.
HICON TitleIcon(WPARAM icon) {
    switch (icon) {
        case TTI_NONE:
            return 0;
        case TTI_INFO:
            return LoadIconA(0, IDI_INFORMATION);
        case TTI_WARNING:
            return LoadIconA(0, IDI_WARNING);
        case TTI_ERROR:
            return LoadIconA(0, IDI_ERROR);
        default:
            return static_cast<HICON>(icon);
    }
}

// Text area of the tip (title included) measured with the tip's font.
SIZE MeasureTip(HWND tip, const TipState& s, const std::string& text) {
    const HDC dc = GetDC(tip);
    const HGDIOBJ old = SelectObject(dc, FontOf(s));
    RECT r{0, 0, s.maxWidth > 0 ? s.maxWidth : 0x7FFF, 0};
    std::string copy = text;
    DrawTextA(dc, copy, &r, TextFormat(tip, s) | DT_CALCRECT);
    SIZE size{r.right - r.left, r.bottom - r.top};
    if (!s.title.empty()) {
        RECT tr{0, 0, 0x7FFF, 0};
        std::string t = s.title;
        DrawTextA(dc, t, &tr, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        const HICON titleIcon = TitleIcon(s.icon);
        SIZE iconSize;
        const bool icon = titleIcon != 0 && GetIconSize(titleIcon, &iconSize);
        const LONG w = tr.right - tr.left + (icon ? kTitleIcon + kTextInset : 0);
        size.cx = std::max(size.cx, w);
        size.cy += std::max<LONG>(tr.bottom - tr.top, icon ? kTitleIcon : 0) + kTextInset;
    }
    SelectObject(dc, old);
    ReleaseDC(tip, dc);
    return size;
}

void KillTipTimers(HWND tip) {
    KillTimer(tip, kShowTimer);
    KillTimer(tip, kPopTimer);
    KillTimer(tip, kLeaveTimer);
}

// Takes the tip away and tells the tool's window, last, when it was up.
void Hide(HWND tip, TipState& s) {
    KillTimer(tip, kPopTimer);
    KillTimer(tip, kLeaveTimer);
    if (s.shown < 0) return;
    const int was = s.shown;
    s.shown = -1;
    ShowWindow(tip, SW_HIDE);
    if (TipState* now = State(tip); now != nullptr && was < static_cast<int>(now->tools.size())) {
        NMHDR hdr;
        Notify(tip, now->tools[static_cast<std::size_t>(was)], TTN_POP, &hdr);
    }
}

// Size and place the tip for tool `index` under the pointer and show it without activation.
void Show(HWND tip, int index) {
    TipState* st = State(tip);
    if (st == nullptr || index < 0 || index >= static_cast<int>(st->tools.size())) return;
    const ToolKey key = KeyOf(st->tools[static_cast<std::size_t>(index)]);
    const std::string text = TextOf(tip, index);
    st = State(tip);
    if (st == nullptr || (index = FindKey(*st, key)) < 0) return;
    if (text.empty()) {
        Hide(tip, *st);
        return;
    }
    if (st->shown != index) {
        NMHDR hdr;
        Notify(tip, st->tools[static_cast<std::size_t>(index)], TTN_SHOW, &hdr);
        st = State(tip);
        if (st == nullptr || (index = FindKey(*st, key)) < 0) return;
    }
    TipState& s = *st;
    const Tool& t = s.tools[static_cast<std::size_t>(index)];
    const SIZE inner = MeasureTip(tip, s, text);
    RECT r{0, 0, inner.cx, inner.cy};
    SendMessageA(tip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    POINT pt;
    GetCursorPos(&pt);
    int x = pt.x;
    int y = pt.y + kCursorDrop;
    RECT toolRect;
    const HWND tw = ToolWindow(t);
    if (t.flags & TTF_IDISHWND) {
        GetWindowRect(tw, &toolRect);
    } else {
        toolRect = t.rect;
        MapWindowPoints(tw, 0, reinterpret_cast<POINT*>(&toolRect), 2);
    }
    if (t.flags & TTF_CENTERTIP) {
        x = (toolRect.left + toolRect.right) / 2 - w / 2;
        y = toolRect.bottom + 2;
    }
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    if (x + w > sw) x = sw - w;
    if (x < 0) x = 0;
    if (y + h > sh) y = toolRect.top - h;  // above the tool when it would run off the bottom
    if (y < 0) y = 0;
    s.shown = index;
    s.shownText = text;
    s.quick = false;
    SetWindowPos(tip, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(tip, nullptr, TRUE);
    SetTimer(tip, kPopTimer, static_cast<UINT>(DelayOf(s, TTDT_AUTOPOP)), nullptr);
    SetTimer(tip, kLeaveTimer, kLeavePollMs, nullptr);
}

void StartShowTimer(HWND tip, TipState& s) {
    const int delay = DelayOf(s, s.quick ? TTDT_RESHOW : TTDT_INITIAL);
    SetTimer(tip, kShowTimer, static_cast<UINT>(std::max(delay, 1)), nullptr);
}

// A mouse message of a tool window, seen before that window's own procedure.
void Relay(HWND tip, HWND from, UINT msg, LPARAM lParam) {
    TipState* s = State(tip);
    if (s == nullptr || !s->active) return;
    if (msg != WM_MOUSEMOVE) {
        // Any press or release takes the tip away until the pointer reaches another tool.
        KillTimer(tip, kShowTimer);
        Hide(tip, *s);
        s->popped = true;
        return;
    }
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int tool = HitTool(*s, from, pt);
    if (tool == s->hot) {
        if (s->shown >= 0)
            SetTimer(tip, kPopTimer, static_cast<UINT>(DelayOf(*s, TTDT_AUTOPOP)), nullptr);
        else if (tool >= 0 && !s->popped)
            StartShowTimer(tip, *s);  // the delay counts from when the pointer comes to rest
        return;
    }
    const bool wasUp = s->shown >= 0;
    s->hot = tool;
    s->popped = false;
    s->quick = wasUp;
    KillTimer(tip, kShowTimer);
    Hide(tip, *s);
    s = State(tip);
    if (s != nullptr && tool >= 0 && s->hot == tool) StartShowTimer(tip, *s);
}

LRESULT RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& relays = Mod().relays;
    auto it = relays.find(hwnd);
    if (it == relays.end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const LONG_PTR old = it->second.oldProc;
    const bool mouse = msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP ||
                       msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN ||
                       msg == WM_MBUTTONUP;
    if (mouse) {
        // A tip may go away while relaying; walk a copy.
        const std::vector<HWND> tips = it->second.tips;
        for (const HWND tip : tips)
            Relay(tip, hwnd, msg, lParam);
    }
    if (msg == WM_NCDESTROY) {
        // The window is going: its tools go with it, and nothing refers to its handle any more.
        for (const HWND tip : it->second.tips) {
            TipState* s = State(tip);
            if (s == nullptr) continue;
            auto keyAt = [&](int i) {
                return i >= 0 && i < static_cast<int>(s->tools.size())
                           ? std::optional<ToolKey>(KeyOf(s->tools[static_cast<std::size_t>(i)]))
                           : std::nullopt;
            };
            const auto shownKey = keyAt(s->shown);
            const auto hotKey = keyAt(s->hot);
            std::erase_if(s->tools, [&](const Tool& t) { return ToolWindow(t) == hwnd; });
            s->shown = shownKey ? FindKey(*s, *shownKey) : -1;
            s->hot = hotKey ? FindKey(*s, *hotKey) : -1;
            if (s->hot < 0) KillTimer(tip, kShowTimer);
            if (shownKey && s->shown < 0) {
                KillTipTimers(tip);
                ShowWindow(tip, SW_HIDE);
            }
        }
        relays.erase(it);
        if (GetWindowLongA(hwnd, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(&RelayProc))
            SetWindowLongA(hwnd, GWL_WNDPROC, old);
    }
    return CallWindowProcA(old, hwnd, msg, wParam, lParam);
}

bool AttachRelay(HWND tip, HWND toolWnd) {
    if (!IsWindow(toolWnd)) return false;
    auto& relays = Mod().relays;
    auto it = relays.find(toolWnd);
    if (it == relays.end()) {
        Module::Relay r;
        r.oldProc = SetWindowLongA(toolWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc));
        it = relays.emplace(toolWnd, std::move(r)).first;
    }
    auto& tips = it->second.tips;
    if (std::find(tips.begin(), tips.end(), tip) == tips.end()) tips.push_back(tip);
    return true;
}

// The relay stays in front of a tool window until that window goes, so that procedures
// put in front of it later keep a valid chain; it only stops telling this tooltip.
void DetachRelays(HWND tip, HWND onlyWnd) {
    for (auto& [wnd, relay] : Mod().relays)
        if (onlyWnd == 0 || wnd == onlyWnd) std::erase(relay.tips, tip);
}

bool StillUsed(const TipState& s, HWND toolWnd) {
    return std::any_of(s.tools.begin(), s.tools.end(), [&](const Tool& t) {
        return (t.flags & TTF_SUBCLASS) && ToolWindow(t) == toolWnd;
    });
}

void StoreText(Tool& t, const char* text) {
    t.callback = text == LPSTR_TEXTCALLBACKA;
    // Small values are string resource numbers; this platform has no string resources.
    if (t.callback || reinterpret_cast<std::uintptr_t>(text) < 0x10000) {
        t.text.clear();
        return;
    }
    t.text = text;
}

// Copies a tool's text into a caller's buffer of `size` characters. Told no size, the copy
// stops at the limit the 8-bit messages have always had, so a buffer sized by it is never
// overrun.
LRESULT CopyText(const std::string& text, char* buffer, std::size_t size) {
    const std::size_t room = size == 0 ? kMaxTextA : size - 1;
    const std::size_t n = std::min(text.size(), room);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

// The tool record as the caller sees it. A buffer given in lpszText receives the text, as the
// classic control writes it; a callback tool hands back the callback marker instead.
void FillInfo(const Tool& t, TOOLINFOA* ti) {
    ti->uFlags = t.flags;
    ti->hwnd = t.hwnd;
    ti->uId = t.id;
    ti->rect = t.rect;
    ti->hinst = t.hinst;
    if (ti->lpszText != nullptr) {
        if (t.callback)
            ti->lpszText = LPSTR_TEXTCALLBACKA;
        else if (ti->lpszText != LPSTR_TEXTCALLBACKA)
            CopyText(t.text, ti->lpszText, 0);
    }
    if (ti->cbSize > TTTOOLINFOA_V1_SIZE) ti->lParam = t.lParam;
}

void Paint(HWND tip, TipState& s) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(tip, &ps);
    RECT client;
    GetClientRect(tip, &client);
    const HBRUSH brush = CreateSolidBrush(s.back);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (s.shown >= 0 && s.shown < static_cast<int>(s.tools.size())) {
        const int saved = SaveDC(dc);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, s.fore);
        SelectObject(dc, FontOf(s));
        RECT r{client.left + kTextInset + s.margin.left, client.top + kTextInset + s.margin.top,
               client.right - kTextInset - s.margin.right,
               client.bottom - kTextInset - s.margin.bottom};
        if (!s.title.empty()) {
            std::string t = s.title;
            RECT tr = r;
            int h = 0;
            if (const HICON icon = TitleIcon(s.icon)) {
                // Icons that are not icons (a bad handle) draw nothing and take no room.
                if (DrawIconEx(dc, tr.left, tr.top, icon, kTitleIcon, kTitleIcon, 0, 0,
                               DI_NORMAL)) {
                    tr.left += kTitleIcon + kTextInset;
                    h = kTitleIcon;
                }
            }
            h = std::max(h, DrawTextA(dc, t, &tr, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP));
            r.top += h + kTextInset;
        }
        std::string text = s.shownText;
        DrawTextA(dc, text, &r, TextFormat(tip, s));
        RestoreDC(dc, saved);
    }
    EndPaint(tip, &ps);
}

LRESULT OnToolMessage(HWND tip, TipState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
    switch (msg) {
        case TTM_ADDTOOLA: {
            if (ti == nullptr || ti->cbSize < TTTOOLINFOA_V1_SIZE) return FALSE;
            Tool t;
            t.flags = ti->uFlags;
            t.hwnd = ti->hwnd;
            t.id = ti->uId;
            t.rect = ti->rect;
            t.hinst = ti->hinst;
            if (ti->cbSize > TTTOOLINFOA_V1_SIZE) t.lParam = ti->lParam;
            StoreText(t, ti->lpszText);
            if ((t.flags & TTF_SUBCLASS) && !AttachRelay(tip, ToolWindow(t))) return FALSE;
            s.tools.push_back(std::move(t));
            return TRUE;
        }
        case TTM_DELTOOLA: {
            int i = FindTool(s, ti);
            if (i < 0) return 0;
            const ToolKey key = KeyOf(s.tools[static_cast<std::size_t>(i)]);
            if (s.shown == i) Hide(tip, s);
            // The pop notification may have changed the tools, or ended the tooltip.
            TipState* now = State(tip);
            if (now == nullptr || (i = FindKey(*now, key)) < 0) return 0;
            if (now->hot == i) KillTimer(tip, kShowTimer);
            const HWND w = ToolWindow(now->tools[static_cast<std::size_t>(i)]);
            now->tools.erase(now->tools.begin() + i);
            // Indices behind the removed tool move down by one.
            auto fix = [i](int& v) { v = v == i ? -1 : (v > i ? v - 1 : v); };
            fix(now->hot);
            fix(now->shown);
            if (!StillUsed(*now, w)) DetachRelays(tip, w);
            return 0;
        }
        case TTM_NEWTOOLRECTA: {
            const int i = FindTool(s, ti);
            if (i < 0) return 0;
            Tool& t = s.tools[static_cast<std::size_t>(i)];
            const RECT old = t.rect;
            t.rect = ti->rect;
            if (std::memcmp(&old, &t.rect, sizeof(RECT)) == 0 || (t.flags & TTF_IDISHWND)) return 0;
            // The tool now stands for something else: judge the pointer against it afresh.
            if (s.hot == i || s.shown == i || ToolUnderCursor(s) == i) {
                const bool wasUp = s.shown >= 0;
                const int now = ToolUnderCursor(s);
                s.popped = false;
                if (now != i) {
                    if (s.hot == i) s.hot = -1;
                    if (s.shown == i) Hide(tip, s);
                    KillTimer(tip, kShowTimer);
                } else if (s.shown == i) {
                    Show(tip, i);
                } else if (s.active) {
                    s.hot = i;
                    s.quick = wasUp;
                    StartShowTimer(tip, s);
                }
            }
            return 0;
        }
        case TTM_UPDATETIPTEXTA: {
            const int i = FindTool(s, ti);
            if (i < 0) return 0;
            StoreText(s.tools[static_cast<std::size_t>(i)], ti->lpszText);
            if (s.shown == i) Show(tip, i);  // resized to the new text
            return 0;
        }
        case TTM_GETTEXTA: {
            const int i = FindTool(s, ti);
            if (i < 0 || ti->lpszText == nullptr || ti->lpszText == LPSTR_TEXTCALLBACKA) return 0;
            char* buffer = ti->lpszText;
            return CopyText(TextOf(tip, i), buffer, wParam);
        }
        case TTM_GETTOOLINFOA: {
            const int i = FindTool(s, ti);
            if (i < 0) return FALSE;
            FillInfo(s.tools[static_cast<std::size_t>(i)], ti);
            return TRUE;
        }
        case TTM_ENUMTOOLSA: {
            if (ti == nullptr || ti->cbSize < TTTOOLINFOA_V1_SIZE || wParam >= s.tools.size())
                return FALSE;
            FillInfo(s.tools[wParam], ti);
            return TRUE;
        }
        case TTM_GETCURRENTTOOLA: {
            if (s.shown < 0) return FALSE;
            if (ti != nullptr && ti->cbSize >= TTTOOLINFOA_V1_SIZE)
                FillInfo(s.tools[static_cast<std::size_t>(s.shown)], ti);
            return TRUE;
        }
        default:
            return 0;
    }
}

LRESULT ToolTipProc(HWND tip, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto st = std::make_unique<TipState>();
        st->back = GetSysColor(COLOR_INFOBK);
        st->fore = GetSysColor(COLOR_INFOTEXT);
        Mod().tips[tip] = std::move(st);
        // A tip is a bordered pop-up that never takes the activation, whatever style it was
        // created with (only a child stays a child: that is fixed at creation).
        SetWindowLongA(tip, GWL_STYLE, GetWindowLongA(tip, GWL_STYLE) | WS_POPUP | WS_BORDER);
        SetWindowLongA(tip, GWL_EXSTYLE,
                       GetWindowLongA(tip, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
        return DefWindowProcA(tip, msg, wParam, lParam);
    }
    TipState* s = State(tip);
    if (s == nullptr) return DefWindowProcA(tip, msg, wParam, lParam);
    switch (msg) {
        case TTM_ADDTOOLA:
        case TTM_DELTOOLA:
        case TTM_NEWTOOLRECTA:
        case TTM_UPDATETIPTEXTA:
        case TTM_GETTEXTA:
        case TTM_GETTOOLINFOA:
        case TTM_ENUMTOOLSA:
        case TTM_GETCURRENTTOOLA:
            return OnToolMessage(tip, *s, msg, wParam, lParam);
        case TTM_GETTOOLCOUNT:
            return static_cast<LRESULT>(s->tools.size());
        case TTM_ACTIVATE:
            s->active = wParam != 0;
            if (!s->active) {
                s->hot = -1;
                KillTipTimers(tip);
                Hide(tip, *s);
            }
            return 0;
        case TTM_RELAYEVENT: {
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            if (m != nullptr) Relay(tip, m->hwnd, m->message, m->lParam);
            return 0;
        }
        case TTM_POP:
            Hide(tip, *s);
            return 0;
        case TTM_UPDATE:
            if (s->shown >= 0) Show(tip, s->shown);
            return 0;
        case TTM_SETDELAYTIME: {
            const int v = static_cast<short>(LOWORD(static_cast<DWORD>(lParam)));
            const int ms = v < 0 ? -1 : v;
            switch (wParam) {
                case TTDT_AUTOMATIC:
                    s->initial = ms;
                    s->autopop = ms < 0 ? -1 : ms * 10;
                    s->reshow = ms < 0 ? -1 : ms / 5;
                    break;
                case TTDT_RESHOW:
                    s->reshow = ms;
                    break;
                case TTDT_AUTOPOP:
                    s->autopop = ms;
                    break;
                case TTDT_INITIAL:
                    s->initial = ms;
                    break;
                default:
                    break;
            }
            return 0;
        }
        case TTM_GETDELAYTIME:
            return DelayOf(*s, wParam);
        case TTM_SETTIPBKCOLOR:
            s->back = static_cast<COLORREF>(wParam) & 0x00FFFFFFu;
            InvalidateRect(tip, nullptr, TRUE);
            return 0;
        case TTM_SETTIPTEXTCOLOR:
            s->fore = static_cast<COLORREF>(wParam) & 0x00FFFFFFu;
            InvalidateRect(tip, nullptr, TRUE);
            return 0;
        case TTM_GETTIPBKCOLOR:
            return static_cast<LRESULT>(s->back);
        case TTM_GETTIPTEXTCOLOR:
            return static_cast<LRESULT>(s->fore);
        case TTM_SETMAXTIPWIDTH: {
            const int old = s->maxWidth;
            s->maxWidth = static_cast<int>(lParam);
            return old;
        }
        case TTM_GETMAXTIPWIDTH:
            return s->maxWidth;
        case TTM_SETMARGIN:
            if (lParam != 0) s->margin = *reinterpret_cast<const RECT*>(lParam);
            return 0;
        case TTM_GETMARGIN:
            if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = s->margin;
            return 0;
        case TTM_SETTITLEA: {
            const char* t = reinterpret_cast<const char*>(lParam);
            s->title = t != nullptr ? std::string(t).substr(0, kMaxTitle) : std::string();
            s->icon = wParam;
            if (s->shown >= 0) Show(tip, s->shown);
            return TRUE;
        }
        case TTM_ADJUSTRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (r == nullptr) return FALSE;
            // Text rectangle <-> window rectangle: the inset, the margins and the border.
            const int sign = wParam ? 1 : -1;
            r->left -= sign * (kTextInset + s->margin.left + 1);
            r->top -= sign * (kTextInset + s->margin.top + 1);
            r->right += sign * (kTextInset + s->margin.right + 1);
            r->bottom += sign * (kTextInset + s->margin.bottom + 1);
            return TRUE;
        }
        case WM_SETFONT:
            s->font = static_cast<HFONT>(wParam);
            if (LOWORD(static_cast<DWORD>(lParam)) != 0) InvalidateRect(tip, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return static_cast<LRESULT>(s->font);
        case WM_TIMER:
            switch (wParam) {
                case kShowTimer:
                    KillTimer(tip, kShowTimer);
                    if (s->active && !s->popped && s->hot >= 0 && ToolUnderCursor(*s) == s->hot &&
                        OwnerActive(tip))
                        Show(tip, s->hot);
                    return 0;
                case kPopTimer:
                    s->popped = true;
                    Hide(tip, *s);
                    return 0;
                case kLeaveTimer: {
                    const int now = ToolUnderCursor(*s);
                    if (now == s->shown) return 0;
                    const bool wasUp = s->shown >= 0;
                    Hide(tip, *s);
                    s = State(tip);
                    if (s == nullptr) return 0;
                    s->hot = now;
                    s->popped = false;
                    s->quick = wasUp;
                    if (now >= 0) StartShowTimer(tip, *s);
                    return 0;
                }
                default:
                    return 0;
            }
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the pointer passes through to the tool
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            Paint(tip, *s);
            return 0;
        case WM_DESTROY:
            KillTipTimers(tip);
            return 0;
        case WM_NCDESTROY:
            DetachRelays(tip, 0);
            Mod().tips.erase(tip);
            return DefWindowProcA(tip, msg, wParam, lParam);
        default:
            return DefWindowProcA(tip, msg, wParam, lParam);
    }
}

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
    if (icc == nullptr || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    kit::RegisterTabControl();
    kit::RegisterListBox();
    Module& m = Mod();
    if (m.registered) return TRUE;
    WNDCLASSA wc;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = &ToolTipProc;
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.lpszClassName = TOOLTIPS_CLASSA;
    WNDCLASSA existing;
    if (GetClassInfoA(0, TOOLTIPS_CLASSA, &existing) || RegisterClassA(&wc) != 0)
        m.registered = true;
    return m.registered ? TRUE : FALSE;
}

}  // namespace zo::plat
