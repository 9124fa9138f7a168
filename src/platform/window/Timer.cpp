// Timers on the display's clock. A due timer yields WM_TIMER only when the queue has nothing
// else; it then starts its next period from the moment the message was taken.
#include <algorithm>
#include <cstdint>

#include "platform/display/Backend.h"
#include "platform/window/WindowInternal.h"

namespace zo::plat {

namespace {

// Clock values wrap after 49.7 days; differences are compared as signed numbers.
bool DueBy(DWORD due, DWORD now) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

bool Before(const Timer& a, const Timer& b) {
    const auto d = static_cast<std::int32_t>(a.due - b.due);
    return d != 0 ? d < 0 : a.seq < b.seq;
}

bool TimerMatches(const Timer& t, HWND filter) {
    if (filter == 0) return true;
    if (filter == 0xFFFFFFFFu) return t.hwnd == 0;
    return t.hwnd == filter || IsChild(filter, t.hwnd);
}

}  // namespace

DWORD GetTickCount() {
    return Backend().Now();
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    WindowState& s = WinState();
    if (hwnd != 0 && GetWnd(hwnd) == nullptr) return 0;
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, 0x7FFFFFFFu);
    const DWORD now = GetTickCount();
    for (Timer& t : s.timers) {
        if (t.hwnd == hwnd && t.id == id && (hwnd != 0 || id != 0)) {
            t.interval = elapse;
            t.due = now + elapse;
            t.proc = proc;
            return hwnd != 0 ? (id != 0 ? id : 1) : id;
        }
    }
    if (hwnd == 0) {
        // Thread timers get an identifier of their own that no live timer uses.
        do {
            id = s.nextThreadTimerId++;
            if (s.nextThreadTimerId == 0) s.nextThreadTimerId = 1;
        } while (std::any_of(s.timers.begin(), s.timers.end(),
                             [&](const Timer& t) { return t.hwnd == 0 && t.id == id; }) ||
                 id == 0);
    }
    s.timers.push_back(Timer{hwnd, id, elapse, now + elapse, proc, ++s.timerSeq});
    return hwnd != 0 ? (id != 0 ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = WinState().timers;
    const auto n =
        std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    return n > 0 ? TRUE : FALSE;
}

void KillWindowTimers(HWND hwnd) {
    std::erase_if(WinState().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool NextTimerDue(HWND filter, DWORD* due) {
    const Timer* best = nullptr;
    for (const Timer& t : WinState().timers)
        if (TimerMatches(t, filter) && (best == nullptr || Before(t, *best))) best = &t;
    if (best == nullptr) return false;
    *due = best->due;
    return true;
}

bool FetchTimer(HWND filter, UINT min, UINT max, bool remove, MSG* out) {
    if (!(min == 0 && max == 0) && (WM_TIMER < min || WM_TIMER > max)) return false;
    const DWORD now = GetTickCount();
    Timer* best = nullptr;
    for (Timer& t : WinState().timers)
        if (TimerMatches(t, filter) && DueBy(t.due, now) && (best == nullptr || Before(t, *best)))
            best = &t;
    if (best == nullptr) return false;
    *out = MSG{best->hwnd,          WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), now,
               WinState().cursorPos};
    if (remove) {
        best->due = now + best->interval;
        best->seq = ++WinState().timerSeq;
    }
    return true;
}

}  // namespace zo::plat
