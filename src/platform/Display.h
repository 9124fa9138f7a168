// Display backends: where the screen framebuffer is shown and where input comes from. The
// off-screen display keeps the framebuffer in memory, takes input from code and runs on a clock
// that tests drive by hand; the X11 display shows each top-level window as an X window and turns
// X events into the same messages. The same program runs on both.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Export.h"
#include "platform/Types.h"

namespace zo::plat {

enum class DisplayKind { Offscreen, X11 };

// Destroys every window left over, resets input, focus, capture and timers, and starts the
// chosen display with a screen of width x height pixels (X11 uses the X screen's size when
// width or height is 0). Returns false, keeping a fresh off-screen display, when the X server
// cannot be reached.
ZO_API bool InitDisplay(DisplayKind kind, int width, int height);
// As InitDisplay, with the kind taken from the environment: ZO_DISPLAY=x11 selects X11,
// anything else (or nothing) the off-screen display.
ZO_API bool InitDisplayFromEnvironment(int width, int height);
// Destroys every window and closes the display; a fresh off-screen display takes its place.
ZO_API void ShutdownDisplay();
ZO_API DisplayKind CurrentDisplayKind();
ZO_API SIZE ScreenSize();

// Input as a device produces it, queued for the message loop. Coordinates are on the screen;
// vkButton is VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
ZO_API void InjectMouseMove(int x, int y);
ZO_API void InjectMouseButton(int vkButton, bool down);
ZO_API void InjectKey(UINT vk, bool down);
// Moves, presses and releases: a full click at (x, y).
ZO_API void InjectClick(int x, int y, int vkButton);

// Off-screen clock: moves it forward; due timers fire when messages are next pumped. Returns
// false on a display whose clock is real time.
ZO_API bool AdvanceClock(DWORD ms);
// Dispatches every message that is ready now (posted, input, paint, due timers) and returns
// how many were dispatched. Stops after `limit` messages, so a window that never validates
// cannot hang a test.
ZO_API int PumpMessages(int limit = 100000);
// Off-screen: lets `ms` of clock time pass in steps from one timer deadline to the next,
// pumping at each step, as the time would pass in a running program.
ZO_API void RunFor(DWORD ms);

// Pixels of the screen framebuffer (0xAARRGGBB, alpha 0xFF) inside a screen rectangle; the
// parts outside the screen read as 0.
ZO_API std::vector<std::uint32_t> ReadScreenPixels(const RECT& area);
// PNG snapshots of the whole screen or of one window's rectangle as it shows on screen.
ZO_API bool SnapshotScreen(const char* pngPath);
ZO_API bool SnapshotWindow(HWND hwnd, const char* pngPath);

// X11 only: the X window showing a top-level window (0 otherwise), and the X display's name.
ZO_API unsigned long X11WindowOf(HWND hwnd);

}  // namespace zo::plat
