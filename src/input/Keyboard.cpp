// Keyboard navigation: the arrow keys move the hot button through the grid of the active
// group (scrolling it into view) and the focus mark from header to header; Enter selects the
// hot button or activates the marked group.
#include "control/ZoButtonBar.h"
#include "platform/Window.h"

namespace zo {

using namespace plat;

namespace {

constexpr std::int16_t kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// Smallest whole k with k * b >= a (a, b > 0).
std::int32_t CeilDiv(std::int32_t a, std::int32_t b) {
    return b <= 0 ? 0 : (a + b - 1) / b;
}

}  // namespace

void ZoButtonBar::OnButtonsKeyDown(std::int16_t& KeyCode, std::int16_t) {
    if (m_bTerminated || !m_aActiveGroup) return;
    auto keepAlive = shared_from_this();
    const CButtons& buttons = *m_aActiveGroup->Buttons();
    if (CountShownButtons(buttons) == 0) return;
    std::int16_t key = KeyCode;
    if (m_eButtonFlow == zoHorizontal) {
        // A line is a column in this flow: the arrows turn a quarter.
        if (key == kLeft)
            key = kUp;
        else if (key == kRight)
            key = kDown;
        else if (key == kUp)
            key = kLeft;
        else if (key == kDown)
            key = kRight;
    }
    if (key == kEnter) {
        // The hot button may have left the control, or its group been hidden, since it became
        // hot: input raises nothing.
        const ButtonPtr hot = m_aHighlightedButton.lock();
        const GroupPtr parent = hot ? hot->ParentGroup() : nullptr;
        if (parent && hot->ButtonBar().get() == this && IsGroupShown(*parent))
            SetSelectedButton(hot);
        return;
    }
    const std::int32_t L = m_lGridLines, P = m_lGridPositions;
    if (L <= 0 || P <= 0) return;
    std::int32_t& line = m_lCursorLine;
    std::int32_t& pos = m_lCursorPos;
    // Layout never resets the cursor: bring a stale one back into the grid first.
    if (line < 0 || line >= L || pos < 0 || pos >= P) line = pos = 0;
    // Every walk visits each cell at most once before it comes back round.
    const std::int32_t cells = L * P;
    const auto walk = [&](auto step) {
        for (std::int32_t n = 0; n < cells; ++n) {
            step();
            if (GridCell(line, pos) != 0) return;
        }
    };
    switch (key) {
        case kLeft:
            walk([&] {
                if (--pos < 0) {
                    pos = P - 1;
                    if (--line < 0) line = L - 1;
                }
            });
            break;
        case kRight:
            walk([&] {
                if (++pos > P - 1) {
                    pos = 0;
                    if (++line > L - 1) line = 0;
                }
            });
            break;
        case kUp:
            walk([&] {
                if (--line < 0) {
                    line = L - 1;
                    if (--pos < 0) pos = P - 1;
                }
            });
            break;
        case kDown:
            walk([&] {
                if (++line > L - 1) {
                    line = 0;
                    if (++pos > P - 1) pos = 0;
                }
            });
            break;
        default:
            break;  // other keys re-highlight the button under the cursor
    }
    ClearButtonHighlight();
    const std::int32_t index = GridCell(line, pos);
    if (index < 1 || index > buttons.Count()) return;
    const ButtonPtr B = buttons.Item(index);
    SetButtonHighlight(B);
    if (m_lMaxScrollPos >= 1) {
        std::int32_t dx, dy;
        ScrollStep(dx, dy);
        const Rect& R = B->ButtonRect();
        std::int32_t k = 0, sx = 0, sy = 0;
        if (m_eButtonFlow == zoHorizontal) {
            if (R.left < m_rcTLScrollButton.right) {
                k = CeilDiv(m_rcTLScrollButton.right - R.left, dx);
                m_lScrollPos -= k;
                sx = k * dx;
            } else if (R.right > m_rcBRScrollButton.left) {
                k = CeilDiv(R.right - m_rcBRScrollButton.left, dx);
                m_lScrollPos += k;
                sx = -k * dx;
            }
        } else {
            if (R.top < m_rcTLScrollButton.bottom) {
                k = CeilDiv(m_rcTLScrollButton.bottom - R.top, dy);
                m_lScrollPos -= k;
                sy = k * dy;
            } else if (R.bottom > m_rcBRScrollButton.bottom) {
                k = CeilDiv(R.bottom - m_rcBRScrollButton.bottom, dy);
                m_lScrollPos += k;
                sy = -k * dy;
            }
        }
        if (k != 0) {
            ShiftButtonRects(sx, sy);
            RefreshButtonArea();
        }
    }
    const Rect& r = B->ButtonRect();
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(m_hWndButtons, &rc, FALSE);
}

Surface& ZoButtonBar::GetGroupStrip(const CGroup& aGroup) {
    for (std::int32_t i = 1; i <= m_aUpperGroupButtons.Count(); ++i)
        if (m_aUpperGroupButtons.Item(i).get() == &aGroup) return m_PicUpperGroups();
    return m_PicLowerGroups();
}

void ZoButtonBar::MoveGroupFocus(std::int16_t KeyCode) {
    if (m_bTerminated || !m_aGroups) return;
    auto keepAlive = shared_from_this();
    const std::int32_t N = m_aGroups->Count();
    if (N == 0) return;
    if (m_lFocusGroupIndex == 0) m_lFocusGroupIndex = 1;
    if (KeyCode == kEnter) {
        // The marked group may have been hidden or removed since: input raises nothing.
        const GroupPtr focus = m_aFocusGroup.lock();
        if (focus && focus->ButtonBar().get() == this && IsGroupShown(*focus))
            SetActiveGroup(focus);
        return;
    }
    const bool forward = KeyCode == kRight || KeyCode == kDown;
    std::int32_t i = m_lFocusGroupIndex;
    GroupPtr G;
    // One full turn at most: with no visible group the mark stays where it was.
    for (std::int32_t n = 0; n < N; ++n) {
        i = forward ? (i >= N ? 1 : i + 1) : (i <= 1 ? N : i - 1);
        GroupPtr candidate = m_aGroups->Item(i);
        if (candidate->Visible()) {
            G = candidate;
            break;
        }
    }
    if (!G) return;
    m_lFocusGroupIndex = i;
    GroupPtr old = m_aFocusGroup.lock();
    if (G == old) return;
    if (old) {
        const Rect& r = old->HeaderRect();
        const RECT rc{r.left, r.top, r.right, r.bottom};
        InvalidateRect(GetGroupStrip(*old).hWnd(), &rc, FALSE);
    }
    m_aFocusGroup = G;
    Surface& strip = GetGroupStrip(*G);
    strip.SetFocus();
    const Rect& r = G->HeaderRect();
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(strip.hWnd(), &rc, FALSE);
}

}  // namespace zo
