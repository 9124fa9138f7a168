// Button area mouse handling: the hot button and the hot scroll button follow the pointer,
// the tooltip follows the hot button, a click scrolls one line or selects a button, and every
// press, release and move reaches the host with a hit type and the item hit.
#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "input/CToolTip.h"
#include "platform/Window.h"
#include "render/Utils.h"

namespace zo {

using namespace plat;

namespace {

void Invalidate(HWND hwnd, const Rect& r) {
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd, &rc, FALSE);
}

}  // namespace

void ZoButtonBar::WireInput() {
    Surface& area = m_PicButtons();
    area.on.MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnButtonsMouseDown(b, s, x, y);
    };
    area.on.MouseUp = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnButtonsMouseUp(b, s, x, y);
    };
    area.on.MouseMove = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnButtonsMouseMove(b, s, x, y);
    };
    area.on.Click = [this] { OnButtonsClick(); };
    area.on.KeyDown = [this](std::int16_t& k, std::int16_t s) { OnButtonsKeyDown(k, s); };
    WireGroupStrip(m_PicUpperGroups(), m_aUpperGroupButtons);
    WireGroupStrip(m_PicLowerGroups(), m_aLowerGroupButtons);
    Surface& bar = m_picCaptionBar();
    bar.on.MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnCaptionMouseDown(b, s, x, y);
    };
    bar.on.MouseMove = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnCaptionMouseMove(b, s, x, y);
    };
    bar.on.MouseUp = [this](std::int16_t b, std::int16_t s, float x, float y) {
        OnCaptionMouseUp(b, s, x, y);
    };
}

void ZoButtonBar::ClearButtonHighlight() {
    if (m_aToolTip) m_aToolTip->SetNewToolRect(m_hWndButtons, 0, 0, 0, 0);
    ButtonPtr hot = m_aHighlightedButton.lock();
    if (!hot) return;
    Invalidate(m_hWndButtons, hot->ButtonRect());
    RaiseEvent([&](ZoButtonBarEvents& e) { e.ButtonHighlightChanged(hot, false); });
    m_aHighlightedButton.reset();
}

void ZoButtonBar::SetButtonHighlight(const ButtonPtr& aButton) {
    m_aHighlightedButton = aButton;
    ButtonPtr arg = aButton;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.ButtonHighlightChanged(arg, true); });
}

void ZoButtonBar::RaiseButtonMouseEvent(std::int16_t Button, std::int16_t Shift, float x, float y,
                                        bool bDown) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    Surface& area = m_PicButtons();
    zoHitType hit = zoUnknownHit;
    ObjectPtr hitItem;
    const auto px = static_cast<float>(area.ScaleX(x, area.GetScaleMode(), vbPixels));
    const auto py = static_cast<float>(area.ScaleY(y, area.GetScaleMode(), vbPixels));
    // The pressed look is the hot button's, wherever in the area the left button goes down
    // (the keyboard may have moved the hot button away from the pointer).
    if (const ButtonPtr hot = m_aHighlightedButton.lock(); hot && Button == vbLeftButton)
        Invalidate(m_hWndButtons, hot->ButtonRect());
    if (PointInRect(px, py, m_rcTLScrollButton)) {
        if (m_lScrollPos > 0) hit = zoTLScrollButtonHit;
    } else if (PointInRect(px, py, m_rcBRScrollButton)) {
        if (m_lScrollPos < m_lMaxScrollPos) hit = zoBRScrollButtonHit;
    } else if (m_aActiveGroup) {
        for (const ButtonPtr& b : *m_aActiveGroup->Buttons()) {
            if (!IsButtonShown(*b) || !PointInRect(px, py, b->ButtonRect())) continue;
            // Repaints it pressed or released.
            Invalidate(m_hWndButtons, b->ButtonRect());
            hitItem = b;
            hit = zoButtonHit;
            break;
        }
    }
    const auto ex = static_cast<float>(x + area.Left());
    const auto ey = static_cast<float>(y + area.Top());
    RaiseEvent([&](ZoButtonBarEvents& e) {
        if (bDown)
            e.MouseDown(Button, Shift, ex, ey, hit, hitItem);
        else
            e.MouseUp(Button, Shift, ex, ey, hit, hitItem);
    });
}

void ZoButtonBar::OnButtonsMouseDown(std::int16_t Button, std::int16_t Shift, float x, float y) {
    RaiseButtonMouseEvent(Button, Shift, x, y, true);
}

void ZoButtonBar::OnButtonsMouseUp(std::int16_t Button, std::int16_t Shift, float x, float y) {
    auto keepAlive = shared_from_this();
    RaiseButtonMouseEvent(Button, Shift, x, y, false);
    if (m_bMouseCaptured) {
        ReleaseCapture();
        m_bMouseCaptured = false;
    }
}

void ZoButtonBar::OnButtonsMouseMove(std::int16_t Button, std::int16_t Shift, float x, float y) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    Surface& area = m_PicButtons();
    zoHitType hit = zoUnknownHit;
    const auto ex = static_cast<float>(x + area.Left());
    const auto ey = static_cast<float>(y + area.Top());
    if (Button == 0 && !m_bMouseCaptured && m_bHasFocus) {
        m_bMouseCaptured = true;
        SetCapture(m_hWndButtons);
    }
    const auto px = static_cast<float>(area.ScaleX(x, area.GetScaleMode(), vbPixels));
    const auto py = static_cast<float>(area.ScaleY(y, area.GetScaleMode(), vbPixels));
    RECT rc;
    GetClientRect(m_hWndButtons, &rc);
    if (PointInRect(px, py, Rect{rc.left, rc.top, rc.right, rc.bottom})) {
        if (PointInRect(px, py, m_rcTLScrollButton)) {
            hit = zoTLScrollButtonHit;
            ClearButtonHighlight();
            if (!m_bScrollButtonHot) {
                Invalidate(m_hWndButtons, m_rcTLScrollButton);
                m_bScrollButtonHot = true;
                m_bTLScrollButtonHot = true;
            }
        } else if (PointInRect(px, py, m_rcBRScrollButton)) {
            hit = zoBRScrollButtonHit;
            ClearButtonHighlight();
            if (!m_bScrollButtonHot) {
                Invalidate(m_hWndButtons, m_rcBRScrollButton);
                m_bScrollButtonHot = true;
                m_bTLScrollButtonHot = false;
            }
        } else {
            if (m_bScrollButtonHot) {
                Invalidate(m_hWndButtons,
                           m_bTLScrollButtonHot ? m_rcTLScrollButton : m_rcBRScrollButton);
                m_bScrollButtonHot = false;
            }
            ButtonPtr found;
            if (m_aActiveGroup)
                for (const ButtonPtr& b : *m_aActiveGroup->Buttons())
                    if (IsButtonShown(*b) && PointInRect(px, py, b->ButtonRect())) {
                        found = b;
                        break;
                    }
            if (found) {
                m_lCursorLine = found->LineIndex();
                m_lCursorPos = found->PosInLine();
                if (found != m_aHighlightedButton.lock()) {
                    ClearButtonHighlight();
                    SetButtonHighlight(found);
                    const Rect& r = found->ButtonRect();
                    Invalidate(m_hWndButtons, r);
                    if (m_aToolTip) {
                        m_aToolTip->SetNewToolRect(m_hWndButtons, r.left, r.top, r.right - r.left,
                                                   r.bottom - r.top);
                        m_aToolTip->SetText(m_hWndButtons, found->TooltipText());
                        m_aToolTip->SetActivate(true);
                    }
                }
                hit = zoButtonHit;
            }
        }
    } else if (m_bMouseCaptured) {
        ReleaseCapture();
        m_bMouseCaptured = false;
        if (m_bScrollButtonHot) {
            Invalidate(m_hWndButtons,
                       m_bTLScrollButtonHot ? m_rcTLScrollButton : m_rcBRScrollButton);
            m_bTLScrollButtonHot = false;
            m_bScrollButtonHot = false;
        } else {
            ClearButtonHighlight();
        }
    }
    ObjectPtr hitItem = m_aHighlightedButton.lock();
    RaiseEvent([&](ZoButtonBarEvents& e) { e.MouseMove(Button, Shift, ex, ey, hit, hitItem); });
    // The host may replace the hot button through the by-reference argument.
    m_aHighlightedButton = std::dynamic_pointer_cast<CButton>(hitItem);
}

void ZoButtonBar::OnButtonsClick() {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_hWndButtons, &pt);
    HandleButtonClick(pt.x, pt.y);
}

void ZoButtonBar::ScrollStep(std::int32_t& dx, std::int32_t& dy) const {
    const std::int32_t w =
        m_eButtonSize == zoUserSpecified ? UserButtonWidthPx() : m_lButtonWidthPx;
    const std::int32_t h =
        m_eButtonSize == zoUserSpecified ? UserButtonHeightPx() : m_lButtonHeightPx;
    dx = m_eButtonFlow == zoHorizontal ? w : 0;
    dy = m_eButtonFlow == zoHorizontal ? 0 : h;
}

void ZoButtonBar::ShiftButtonRects(std::int32_t dx, std::int32_t dy) {
    if (!m_aActiveGroup) return;
    for (const ButtonPtr& b : *m_aActiveGroup->Buttons()) {
        Rect r = b->ButtonRect();
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
        b->SetButtonRect(r);
    }
}

void ZoButtonBar::HandleButtonClick(std::int32_t x, std::int32_t y) {
    if (m_bTerminated || !m_aActiveGroup) return;
    auto keepAlive = shared_from_this();
    const auto px = static_cast<float>(x), py = static_cast<float>(y);
    std::int32_t dx, dy;
    ScrollStep(dx, dy);
    if (PointInRect(px, py, m_rcTLScrollButton)) {
        if (m_lScrollPos > 0) {
            ShiftButtonRects(dx, dy);
            --m_lScrollPos;
            RefreshButtonArea();
        }
    } else if (PointInRect(px, py, m_rcBRScrollButton)) {
        if (m_lScrollPos < m_lMaxScrollPos) {
            ShiftButtonRects(-dx, -dy);
            ++m_lScrollPos;
            RefreshButtonArea();
        }
    } else {
        // Hidden buttons keep a stale rectangle; they get no hit zone.
        for (const ButtonPtr& b : *m_aActiveGroup->Buttons())
            if (IsButtonShown(*b) && PointInRect(px, py, b->ButtonRect())) {
                SetSelectedButton(b);
                break;
            }
    }
}

}  // namespace zo
