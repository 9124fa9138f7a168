#include "input/SubclassWnd.h"

#include <map>

#include "platform/Window.h"

namespace zo {

using namespace plat;

std::int32_t cSubclassListener::WindowMsgListener(HWND, std::uint32_t, WPARAM, LPARAM, bool&) {
    return 0;
}

void cSubClassInfo::AddMessage(std::uint32_t Msg) {
    if (Msg != 0) msgList_.insert(Msg);
}

void cSubClassInfo::RemoveMessage(std::uint32_t Msg) {
    if (Msg != 0) msgList_.erase(Msg);
}

bool cSubClassInfo::IsMessageHooked(std::uint32_t Msg) const {
    return Msg != 0 && msgList_.count(Msg) != 0;
}

namespace SubclassWnd {

namespace {

// One collection per thread, keyed by window handle, shared by every control on the thread.
std::map<HWND, cSubClassInfo>& Infos() {
    thread_local std::map<HWND, cSubClassInfo> infos;
    return infos;
}

}  // namespace

void SubclassWindow(HWND hWnd, const std::shared_ptr<cSubclassListener>& aListener) {
    if (hWnd == 0 || !IsWindow(hWnd)) return;
    UnsubclassWindow(hWnd);
    cSubClassInfo info;
    info.Sethwnd(hWnd);
    info.SetListener(aListener);
    info.SetoldWndProc(GetWindowLongA(hWnd, GWL_WNDPROC));
    SetWindowLongA(hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassWndProc));
    Infos()[hWnd] = std::move(info);
}

void UnsubclassWindow(HWND hWnd) {
    auto it = Infos().find(hWnd);
    if (it == Infos().end()) return;
    // Only put the old procedure back while ours is in place, so that a procedure installed
    // on top of ours later is not thrown away.
    if (GetWindowLongA(hWnd, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassWndProc))
        SetWindowLongA(hWnd, GWL_WNDPROC, it->second.oldWndProc());
    Infos().erase(it);
}

void HookMessage(HWND hWnd, std::uint32_t Msg) {
    auto it = Infos().find(hWnd);
    if (it != Infos().end() && !it->second.IsMessageHooked(Msg)) it->second.AddMessage(Msg);
}

void UnhookMessage(HWND hWnd, std::uint32_t Msg) {
    auto it = Infos().find(hWnd);
    if (it != Infos().end() && it->second.IsMessageHooked(Msg)) it->second.RemoveMessage(Msg);
}

const cSubClassInfo* InfoFor(HWND hWnd) {
    auto it = Infos().find(hWnd);
    return it == Infos().end() ? nullptr : &it->second;
}

std::size_t HookedWindowCount() {
    return Infos().size();
}

LRESULT SubclassWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto it = Infos().find(hWnd);
    if (it == Infos().end()) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    // Copies: the listener may unhook (and so erase the record) while it runs.
    const LONG_PTR oldProc = it->second.oldWndProc();
    std::shared_ptr<cSubclassListener> listener = it->second.Listener().lock();
    const bool hooked = it->second.IsMessageHooked(uMsg);
    bool route = true;
    LRESULT result = 0;
    if (listener && hooked) {
        // A failing listener must not stop the window: the message still goes on.
        try {
            result = listener->WindowMsgListener(hWnd, uMsg, wParam, lParam, route);
        } catch (...) {
            route = true;
        }
    }
    if (uMsg == WM_NCDESTROY) {
        UnsubclassWindow(hWnd);
        route = true;
    }
    if (route) result = CallWindowProcA(oldProc, hWnd, uMsg, wParam, lParam);
    return result;
}

}  // namespace SubclassWnd

}  // namespace zo
