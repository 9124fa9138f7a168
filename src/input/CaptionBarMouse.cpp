// The caption bar's close button behaves like a push button: drawn pushed while the left
// button pressed on it is held over it, and raising CloseButtonClick when released over it.
#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "render/Utils.h"

namespace zo {

namespace {

struct CaptionPoint {
    float px, py;  // pixels, for hit testing
    float ex, ey;  // in the control's units, for the host
};

CaptionPoint Locate(Surface& bar, float x, float y) {
    CaptionPoint p;
    p.px = static_cast<float>(NearestInt(bar.ScaleX(x, bar.GetScaleMode(), vbPixels)));
    p.py = static_cast<float>(NearestInt(bar.ScaleY(y, bar.GetScaleMode(), vbPixels)));
    p.ex = static_cast<float>(NearestInt(bar.Left() + x));
    p.ey = static_cast<float>(NearestInt(bar.Top() + y));
    return p;
}

}  // namespace

// The look is kept rather than drawn over what shows: the bar repaints whole, background
// first, so the caption is never drawn a second time over itself, and any later repaint
// keeps the look the mouse asked for.
void ZoButtonBar::ShowCloseButtonPushed(bool bPushed) {
    if (bPushed == m_bCloseButtonPushed) return;
    m_bCloseButtonPushed = bPushed;
    if (m_bShowCaptionBar) m_picCaptionBar().Refresh();
}

void ZoButtonBar::OnCaptionMouseDown(std::int16_t Button, std::int16_t Shift, float x, float y) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const CaptionPoint p = Locate(m_picCaptionBar(), x, y);
    if (m_bShowCloseButton) {
        m_bCloseButtonPressed = PointInRect(p.px, p.py, m_rcCloseButton);
        if (Button == 1 && m_bCloseButtonPressed) ShowCloseButtonPushed(true);
    }
    ObjectPtr none;
    const zoHitType hit = m_bCloseButtonPressed ? zoCloseButtonHit : zoCaptionHit;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.MouseDown(Button, Shift, p.ex, p.ey, hit, none); });
}

void ZoButtonBar::OnCaptionMouseMove(std::int16_t Button, std::int16_t Shift, float x, float y) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const CaptionPoint p = Locate(m_picCaptionBar(), x, y);
    bool over = false;
    if (m_bShowCloseButton) {
        over = PointInRect(p.px, p.py, m_rcCloseButton);
        if (Button == 1) ShowCloseButtonPushed(m_bCloseButtonPressed && over);
    }
    ObjectPtr none;
    const zoHitType hit = over ? zoCloseButtonHit : zoCaptionHit;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.MouseMove(Button, Shift, p.ex, p.ey, hit, none); });
}

void ZoButtonBar::OnCaptionMouseUp(std::int16_t Button, std::int16_t Shift, float x, float y) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const CaptionPoint p = Locate(m_picCaptionBar(), x, y);
    bool over = false;
    if (m_bShowCloseButton) {
        ShowCloseButtonPushed(false);
        if (m_bCloseButtonPressed) {
            over = PointInRect(p.px, p.py, m_rcCloseButton);
            if (over) RaiseEvent([](ZoButtonBarEvents& e) { e.CloseButtonClick(); });
        }
    }
    ObjectPtr none;
    const zoHitType hit = over ? zoCloseButtonHit : zoCaptionHit;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.MouseUp(Button, Shift, p.ex, p.ey, hit, none); });
    m_bCloseButtonPressed = false;
}

}  // namespace zo
