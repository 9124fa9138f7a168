// Internal model of the window manager: what a window handle points at, the per-thread state
// of windows, queues, input and timers, and the helpers the window files share. Only platform
// code includes this header.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Region.h"
#include "platform/Types.h"
#include "platform/Window.h"

namespace zo::plat {

class DisplayBackend;

struct WindowClass {
    std::string name;
    WNDCLASSA wc;  // lpszClassName and lpszMenuName are not kept
};

struct Wnd {
    HWND self = 0;
    std::shared_ptr<const WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = 0;             // child windows only
    HWND owner = 0;              // top-level windows only
    std::vector<HWND> children;  // z-order, topmost first
    RECT rect;  // window rect: in the parent's client coordinates, or on the screen
    std::string text;
    HINSTANCE instance = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HFONT font = 0;
    std::vector<BYTE> extra;
    // Painting: the update region is in client coordinates.
    Region update;
    bool erasePending = false;
    bool internalPaint = false;
    bool frameDirty = false;
    bool destroying = false;  // DestroyWindow has started
    bool created = false;     // WM_CREATE returned
};

// One queued input event, routed to a window only when it is retrieved, so that capture and
// focus changes made while handling earlier messages apply to later input.
struct InputEvent {
    enum class Kind { Move, Button, Key } kind = Kind::Move;
    POINT pt;        // screen position of the pointer when the event happened
    int button = 0;  // VK_LBUTTON / VK_RBUTTON / VK_MBUTTON
    bool down = false;
    UINT vk = 0;
    UINT scan = 0;
    bool extended = false;
    bool repeat = false;  // key was already down
    WPARAM mk = 0;        // MK_* of buttons and modifiers at the event
    bool alt = false;
    DWORD time = 0;
};

struct Timer {
    HWND hwnd = 0;
    UINT_PTR id = 0;
    UINT interval = 0;
    DWORD due = 0;
    TIMERPROC proc = nullptr;
    std::uint64_t seq = 0;  // creation order breaks ties between timers due together
};

struct WindowState {
    HandleTable<Wnd, HandleKind::Window> windows;
    std::vector<std::shared_ptr<const WindowClass>> classes;
    std::vector<HWND> topLevels;  // z-order, topmost first
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    bool quitPending = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::uint64_t timerSeq = 0;
    UINT_PTR nextThreadTimerId = 1;

    HWND capture = 0;
    HWND focus = 0;
    HWND active = 0;
    HWND trackLeave = 0;  // window that asked for WM_MOUSELEAVE
    HWND lastMouseWindow = 0;
    HCURSOR cursor = 0;
    POINT cursorPos;
    BYTE asyncKeys[256] = {};  // bit 7: down now
    BYTE syncKeys[256] = {};   // bit 7: down as of the last message; bit 0: toggled
    // Double-click detection.
    int lastDownButton = 0;
    DWORD lastDownTime = 0;
    POINT lastDownPt;
    HWND lastDownWindow = 0;
    bool lastDownValid = false;

    DWORD lastMessageTime = 0;
    POINT lastMessagePos;
    int screenWidth = 1024;
    int screenHeight = 768;
    std::unique_ptr<DisplayBackend> backend;
};

WindowState& WinState();
Wnd* GetWnd(HWND hwnd);  // nullptr when the handle is stale, foreign or 0

// The current display backend (the off-screen one when none was chosen).
DisplayBackend& Backend();

// Calls a window procedure with the re-entrancy rules of SendMessage (nothing to a stale handle).
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Geometry.
bool IsTopLevel(const Wnd& w);
RECT ClientRectLocal(const Wnd& w);  // the client area in window coordinates (frame excluded)
POINT ClientOriginOnScreen(const Wnd& w);
RECT WindowRectOnScreen(const Wnd& w);
RECT ClientRectOnScreen(const Wnd& w);
bool IsVisibleDeep(const Wnd& w);  // the window and all its ancestors visible
// The part of the window (client area, or whole window) that can be seen on the screen: clipped
// by its ancestors, with its visible children and the windows above it cut out.
Region VisibleRegion(const Wnd& w, bool wholeWindow);
// Invalidates every window (with erase, and its frame) under a screen area that became exposed,
// and paints the bare screen there.
void ExposeScreenArea(const Region& screenArea, HWND except);
// Everything the window shows: client with erase, frame, all children.
void InvalidateWholeWindow(HWND hwnd);

// Painting helpers.
void DrawFrameIfDirty(HWND hwnd);
// Fills screen pixels that no window covers with the desktop colour.
void PaintBareScreen(const Region& screenArea);
// The first window, in z-order and parents before children, that needs WM_PAINT; windows
// whose only need is their frame get it drawn on the way.
HWND FindWindowToPaint(HWND filter);
void DeleteWindowDcs(HWND hwnd);  // window DCs die with their window

// Input: called by the display backends.
void QueueMouseMove(POINT screen, DWORD time);
void QueueMouseButton(int vkButton, bool down, DWORD time);
void QueueKey(UINT vk, bool down, DWORD time);
void PointerLeftDisplay();  // the pointer left every window of this program
// Input routing at retrieval; false when the event goes to no window.
bool TranslateInput(const InputEvent& e, MSG* out, bool commit);
// Capture, focus and tracking leave a dying window (with WM_CAPTURECHANGED and WM_KILLFOCUS
// when notify).
void ForgetWindowInput(HWND hwnd, bool notify);

// The caret comes off a window while it paints and goes when the window does.
void CaretBeforePaint(HWND hwnd);
void CaretAfterPaint(HWND hwnd);
void CaretWindowDestroyed(HWND hwnd);

// Registers the standard control classes for this thread when they are not yet there (the
// classic platform has them from the start); false when nothing was added.
bool RegisterSystemClasses();

// Timers.
void KillWindowTimers(HWND hwnd);
bool NextTimerDue(HWND filter, DWORD* due);  // earliest due among matching timers
bool FetchTimer(HWND filter, UINT min, UINT max, bool remove, MSG* out);

// Desktop colour used where no window covers the screen.
inline constexpr COLORREF kDesktopColor = 0x00A56E3A;  // COLOR_BACKGROUND

// Frame thickness of a window style: WS_BORDER 1 px, WS_EX_CLIENTEDGE 2 px.
int FrameThickness(DWORD style, DWORD exStyle);

}  // namespace zo::plat
