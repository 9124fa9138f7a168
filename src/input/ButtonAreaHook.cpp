// The control's use of window hooking: at run time the button area's window procedure is
// replaced so that the control paints the area itself from the window's own paint message,
// limited to the region the system asks to repaint.
#include "control/ZoButtonBar.h"
#include "input/SubclassWnd.h"
#include "platform/Window.h"

namespace zo {

using namespace plat;

namespace {

constexpr std::uint32_t kDestroy = WM_DESTROY;
constexpr std::uint32_t kPaint = WM_PAINT;

// The control's listener face; it holds the control weakly, like the hook holds it.
class ButtonAreaListener : public cSubclassListener {
public:
    explicit ButtonAreaListener(std::weak_ptr<ZoButtonBar> bar) : bar_(std::move(bar)) {}

    std::int32_t WindowMsgListener(HWND hThisWnd, std::uint32_t Msg, WPARAM, LPARAM,
                                   bool&) override {
        auto bar = bar_.lock();
        if (!bar) return 0;
        if (Msg == kDestroy) {
            bar->UnhookButtonArea(hThisWnd);
        } else if (Msg == kPaint) {
            // Without a background picture the area's background is filled over all of the
            // update region before anything else is drawn, so erasing it first would only
            // be painted over.
            if (hThisWnd == bar->m_hWndButtons && bar->m_bSetUp && !bar->m_bTerminated &&
                !(bar->m_aActiveGroup && bar->m_aActiveGroup->ButtonBackgroundPicture()))
                RedrawWindow(hThisWnd, nullptr, nullptr, RDW_NOERASE);
            PAINTSTRUCT ps;
            const HDC hdc = BeginPaint(hThisWnd, &ps);
            if (hThisWnd == bar->m_hWndButtons && hdc != 0) {
                const Rect update{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right,
                                  ps.rcPaint.bottom};
                bar->PaintButtonArea(hdc, update);
            }
            EndPaint(hThisWnd, &ps);
        }
        return 0;
    }

private:
    std::weak_ptr<ZoButtonBar> bar_;
};

}  // namespace

void ZoButtonBar::HookButtonArea(HWND hWnd) {
    if (!m_aHookListener)
        m_aHookListener = std::make_shared<ButtonAreaListener>(
            std::static_pointer_cast<ZoButtonBar>(shared_from_this()));
    SubclassWnd::SubclassWindow(hWnd, m_aHookListener);
    SubclassWnd::HookMessage(hWnd, kDestroy);
    SubclassWnd::HookMessage(hWnd, kPaint);
}

void ZoButtonBar::UnhookButtonArea(HWND hWnd) {
    SubclassWnd::UnhookMessage(hWnd, kDestroy);
    SubclassWnd::UnhookMessage(hWnd, kPaint);
    SubclassWnd::UnsubclassWindow(hWnd);
    if (hWnd == m_hWndButtons) m_bButtonAreaHooked = false;
}

void ZoButtonBar::StartRunTimeServices() {
    StartToolTip();
    HookButtonArea(m_hWndButtons);
    m_bButtonAreaHooked = true;
}

void ZoButtonBar::StopRunTimeServices() {
    StopToolTip();
    if (IsWindow(m_hWndButtons)) UnhookButtonArea(m_hWndButtons);
    m_bButtonAreaHooked = false;
    m_aHookListener.reset();
}

}  // namespace zo
