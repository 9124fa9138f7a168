// Window-procedure replacement: a listener receives chosen messages of a window before its
// previous procedure does. One record per hooked window, kept per thread and shared by every
// control on that thread; the hook removes itself when the window is finally destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/Types.h"

namespace zo {

class cSubclassListener {
public:
    virtual ~cSubclassListener() = default;
    // Sees a hooked message first; setting bRouteToOriginal to false keeps it from the
    // previous procedure. The default does nothing and returns 0.
    virtual std::int32_t WindowMsgListener(plat::HWND hwnd, std::uint32_t Msg, plat::WPARAM wParam,
                                           plat::LPARAM lParam, bool& bRouteToOriginal);
};

class cSubClassInfo {
public:
    plat::HWND hwnd() const { return hwnd_; }
    void Sethwnd(plat::HWND h) { hwnd_ = h; }
    // Held without a reference: hooking keeps no listener alive.
    const std::weak_ptr<cSubclassListener>& Listener() const { return listener_; }
    void SetListener(std::weak_ptr<cSubclassListener> l) { listener_ = std::move(l); }
    plat::LONG_PTR oldWndProc() const { return oldWndProc_; }
    void SetoldWndProc(plat::LONG_PTR p) { oldWndProc_ = p; }

    // Message 0 is never hooked; adding a present one or removing an absent one does nothing.
    void AddMessage(std::uint32_t Msg);
    void RemoveMessage(std::uint32_t Msg);
    bool IsMessageHooked(std::uint32_t Msg) const;

private:
    plat::HWND hwnd_ = 0;
    std::weak_ptr<cSubclassListener> listener_;
    plat::LONG_PTR oldWndProc_ = 0;
    std::set<std::uint32_t> msgList_;
};

namespace SubclassWnd {

void SubclassWindow(plat::HWND hWnd, const std::shared_ptr<cSubclassListener>& aListener);
void UnsubclassWindow(plat::HWND hWnd);
void HookMessage(plat::HWND hWnd, std::uint32_t Msg);
void UnhookMessage(plat::HWND hWnd, std::uint32_t Msg);
// The record of a hooked window, or nullptr.
const cSubClassInfo* InfoFor(plat::HWND hWnd);
std::size_t HookedWindowCount();

plat::LRESULT SubclassWndProc(plat::HWND hWnd, plat::UINT uMsg, plat::WPARAM wParam,
                              plat::LPARAM lParam);

}  // namespace SubclassWnd

}  // namespace zo
