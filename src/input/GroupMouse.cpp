// Group header mouse: a click on a header activates its group; hovering marks the header
// under the pointer, points the strip's tooltip at it and reports it; press and release are
// reported with zoGroupHit.
#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "input/CToolTip.h"
#include "platform/Window.h"
#include "render/Utils.h"

namespace zo {

using namespace plat;

namespace {

void InvalidateHeader(HWND strip, const CGroup& g) {
    const Rect& r = g.HeaderRect();
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(strip, &rc, FALSE);
}

}  // namespace

void ZoButtonBar::WireGroupStrip(Surface& strip, const CGroupButtons& list) {
    Surface* s = &strip;
    const CGroupButtons* l = &list;
    strip.on.Click = [this, s, l] {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(s->hWnd(), &pt);
        ActivateGroupAt(*l, pt.x, pt.y);
    };
    strip.on.MouseDown = [this, s, l](std::int16_t b, std::int16_t sh, float x, float y) {
        RaiseGroupMouseEvent(b, sh, x, y, true, *s, *l);
    };
    strip.on.MouseUp = [this, s, l](std::int16_t b, std::int16_t sh, float x, float y) {
        auto keepAlive = shared_from_this();
        RaiseGroupMouseEvent(b, sh, x, y, false, *s, *l);
        if (m_bMouseCaptured) {
            ReleaseCapture();
            m_bMouseCaptured = false;
        }
    };
    strip.on.MouseMove = [this, s, l](std::int16_t b, std::int16_t sh, float x, float y) {
        TrackGroupHover(b, sh, x, y, *s, *l);
    };
    strip.on.KeyDown = [this](std::int16_t& k, std::int16_t) { MoveGroupFocus(k); };
    strip.on.LostFocus = [this] { RefreshGroupStrips(); };
}

void ZoButtonBar::ActivateGroupAt(const CGroupButtons& aList, std::int32_t x, std::int32_t y) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    for (std::int32_t i = 1; i <= aList.Count(); ++i) {
        const GroupPtr G = aList.Item(i);
        if (!G || !IsGroupShown(*G)) continue;
        if (PointInRect(static_cast<float>(x), static_cast<float>(y), G->HeaderRect())) {
            SetActiveGroup(G);
            return;
        }
    }
}

void ZoButtonBar::RaiseGroupMouseEvent(std::int16_t Button, std::int16_t Shift, float x, float y,
                                       bool bDown, Surface& strip, const CGroupButtons& aList) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    zoHitType hit = zoUnknownHit;
    ObjectPtr hitItem;
    const auto px = static_cast<float>(NearestInt(strip.ScaleX(x, strip.GetScaleMode(), vbPixels)));
    const auto py = static_cast<float>(NearestInt(strip.ScaleY(y, strip.GetScaleMode(), vbPixels)));
    for (std::int32_t i = 1; i <= aList.Count(); ++i) {
        const GroupPtr G = aList.Item(i);
        if (G && PointInRect(px, py, G->HeaderRect())) {
            hit = zoGroupHit;
            hitItem = G;
            break;
        }
    }
    const auto ex = static_cast<float>(x + strip.Left());
    const auto ey = static_cast<float>(y + strip.Top());
    RaiseEvent([&](ZoButtonBarEvents& e) {
        if (bDown)
            e.MouseDown(Button, Shift, ex, ey, hit, hitItem);
        else
            e.MouseUp(Button, Shift, ex, ey, hit, hitItem);
    });
}

void ZoButtonBar::TrackGroupHover(std::int16_t Button, std::int16_t Shift, float x, float y,
                                  Surface& strip, const CGroupButtons& aList) {
    if (m_bTerminated || !m_aGroups) return;
    auto keepAlive = shared_from_this();
    RECT rc;
    GetClientRect(strip.hWnd(), &rc);
    const auto ex = static_cast<float>(strip.Left() + x);
    const auto ey = static_cast<float>(strip.Top() + y);
    const auto px = static_cast<float>(NearestInt(strip.ScaleX(x, strip.GetScaleMode(), vbPixels)));
    const auto py = static_cast<float>(NearestInt(strip.ScaleY(y, strip.GetScaleMode(), vbPixels)));
    const bool inside = PointInRect(px, py, Rect{rc.left, rc.top, rc.right, rc.bottom});
    if (Button == 0 && inside && !m_bMouseCaptured && m_bHasFocus) {
        m_bMouseCaptured = true;
        SetCapture(strip.hWnd());
    }
    if (!inside) {
        if (m_bMouseCaptured) {
            ReleaseCapture();
            m_bMouseCaptured = false;
            if (GroupPtr old = m_aFocusGroup.lock()) {
                InvalidateHeader(GetGroupStrip(*old).hWnd(), *old);
                m_aFocusGroup.reset();
            }
        }
        return;
    }
    GroupPtr G;
    for (std::int32_t i = 1; i <= aList.Count(); ++i) {
        const GroupPtr g = aList.Item(i);
        if (g && PointInRect(px, py, g->HeaderRect())) {
            G = g;
            break;
        }
    }
    if (!G) return;
    std::int32_t k = 0;
    for (std::int32_t i = 1; i <= m_aGroups->Count(); ++i)
        if (m_aGroups->Item(i) == G) {
            k = i;
            break;
        }
    if (k == 0) return;
    if (G != m_aFocusGroup.lock()) {
        if (GroupPtr old = m_aFocusGroup.lock()) InvalidateHeader(GetGroupStrip(*old).hWnd(), *old);
        m_aFocusGroup = G;
        InvalidateHeader(strip.hWnd(), *G);
        if (m_aToolTip) {
            const Rect& r = G->HeaderRect();
            m_aToolTip->SetNewToolRect(strip.hWnd(), r.left, r.top, r.right - r.left,
                                       r.bottom - r.top);
            m_aToolTip->SetText(strip.hWnd(), G->TooltipText());
            m_aToolTip->SetActivate(true);
        }
    }
    ObjectPtr hitItem = G;
    RaiseEvent(
        [&](ZoButtonBarEvents& e) { e.MouseMove(Button, Shift, ex, ey, zoGroupHit, hitItem); });
    m_lFocusGroupIndex = k;
}

}  // namespace zo
