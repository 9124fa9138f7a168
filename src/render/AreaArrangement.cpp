// Area arrangement: the caption bar, the header strips and the button area share the
// control's client area; the header thickness, header rectangles and close button follow.
#include "render/AreaArrangement.h"

#include <algorithm>
#include <string>

#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/CResoureMgr.h"

namespace zo {

namespace layout {

Arrangement ArrangeSurfaces(std::int32_t groupFlow, bool showCaptionBar, std::int32_t CW,
                            std::int32_t CH, std::int32_t T, std::int32_t U, std::int32_t D) {
    Arrangement a;
    const std::int32_t bar = showCaptionBar ? T : 0;
    if (groupFlow == zoHorizontal) {
        a.captionBar = {0, 0, bar, CH};
        a.upperGroups = {showCaptionBar ? a.captionBar.width : 0, 0, U, CH};
        a.lowerGroups = {CW - D, 0, D, CH};
        const std::int32_t left = a.upperGroups.left + a.upperGroups.width;
        const std::int32_t width = a.lowerGroups.left - left;
        a.buttons = {left, 0, width < 0 ? 0 : width, CH};
    } else {
        a.captionBar = {0, 0, CW, bar};
        a.upperGroups = {0, showCaptionBar ? a.captionBar.height : 0, CW, U};
        a.lowerGroups = {0, CH - D, CW, D};
        const std::int32_t top = a.upperGroups.top + a.upperGroups.height;
        const std::int32_t height = a.lowerGroups.top - top;
        a.buttons = {0, top, CW, height < 0 ? 0 : height};
    }
    return a;
}

Rect CloseButtonRect(std::int32_t groupFlow, std::int32_t width, std::int32_t height) {
    if (groupFlow == zoHorizontal) return Rect{2, 2, width - 2, width - 2};
    return Rect{width - height + 2, 2, width - 2, height - 2};
}

}  // namespace layout

using namespace plat;

void ZoButtonBar::CalcGroupHeaderHeight() {
    if (!m_bSetUp || m_bTerminated) return;
    const HDC hdc = GetDC(hwnd());
    if (hdc == 0) return;
    const HGDIOBJ old = SelectObject(
        hdc, m_aResMgr->GetFont(*m_aFont, "GROUPFONT", m_eGroupFlow == zoHorizontal ? 900 : 0));
    SIZE ag;
    GetTextExtentPoint32A(hdc, "Ag", 2, &ag);
    m_lGroupHeaderHeight = ag.cy + 4;
    SelectObject(hdc, old);
    ReleaseDC(hwnd(), hdc);
}

std::int32_t ZoButtonBar::CalcGroupStripExtent(const CGroupButtons& list) const {
    return m_lGroupHeaderHeight * list.ShownCount();
}

void ZoButtonBar::ArrangeAreas() {
    if (!form_ || m_bTerminated) return;
    const layout::Arrangement a = layout::ArrangeSurfaces(
        m_eGroupFlow, m_bShowCaptionBar, form_->ClientWidthPx(), form_->ClientHeightPx(),
        m_lGroupHeaderHeight - 4, CalcGroupStripExtent(m_aUpperGroupButtons),
        CalcGroupStripExtent(m_aLowerGroupButtons));
    Surface& upper = m_PicUpperGroups();
    Surface& lower = m_PicLowerGroups();
    const bool upperKept = upper.ClientWidthPx() == a.upperGroups.width &&
                           upper.ClientHeightPx() == a.upperGroups.height;
    const bool lowerKept = lower.ClientWidthPx() == a.lowerGroups.width &&
                           lower.ClientHeightPx() == a.lowerGroups.height;
    // A strip that keeps its size hears no resize, yet its list may hold other groups now (a
    // new active group with as many headers above it): it is laid out here, before the other
    // strip's resize repaints both.
    if (upperKept) LayoutGroupHeaders(m_aUpperGroupButtons, upper);
    if (lowerKept) LayoutGroupHeaders(m_aLowerGroupButtons, lower);
    // Caption bar, upper strip, lower strip, button area: each resize handler that runs on
    // the way sees the surfaces placed before it.
    m_picCaptionBar().MovePx(a.captionBar.left, a.captionBar.top, a.captionBar.width,
                             a.captionBar.height);
    upper.MovePx(a.upperGroups.left, a.upperGroups.top, a.upperGroups.width, a.upperGroups.height);
    lower.MovePx(a.lowerGroups.left, a.lowerGroups.top, a.lowerGroups.width, a.lowerGroups.height);
    m_PicButtons().MovePx(a.buttons.left, a.buttons.top, a.buttons.width, a.buttons.height);
    // Either strip's resize repaints both; when neither resized, nothing else does.
    if (upperKept && lowerKept) RefreshGroupStrips();
}

namespace {

// What places a strip's headers. They run across the strip's breadth; its length (which grows
// with every group added) places nothing.
ZoButtonBar::HeaderLayoutInputs HeaderInputs(const ZoButtonBar& bar, const CGroupButtons& list,
                                             Surface& strip) {
    const bool across = bar.m_eGroupFlow == zoHorizontal;
    return {list.Generation(),
            bar.m_lGroupVisibilityChanges,
            across ? strip.ClientHeightPx() : strip.ClientWidthPx(),
            bar.m_lGroupHeaderHeight,
            bar.m_eGroupFlow,
            bar.UserMode()};
}

}  // namespace

void ZoButtonBar::HeadersNear(const CGroupButtons& list, std::size_t n, Surface& strip,
                              std::int64_t lo, std::int64_t hi, std::size_t& first,
                              std::size_t& last) {
    first = 0;
    last = n;
    const HeaderLayoutMemo& memo =
        &list == &m_aUpperGroupButtons ? m_upperHeaderLayout : m_lowerHeaderLayout;
    const std::int64_t m = m_lGroupHeaderHeight;
    // Every entry placed, each one header further on: entry i starts at i * m.
    if (m <= 0 || !memo.valid || memo.count != n ||
        std::int64_t{memo.offset} != static_cast<std::int64_t>(n) * m ||
        !(memo.inputs == HeaderInputs(*this, list, strip)))
        return;
    const auto entryAt = [&](std::int64_t v) { return v >= 0 ? v / m : -((-v + m - 1) / m); };
    const auto count = static_cast<std::int64_t>(n);
    const std::int64_t from = std::clamp<std::int64_t>(entryAt(lo), 0, count);
    first = static_cast<std::size_t>(from);
    last = static_cast<std::size_t>(std::clamp<std::int64_t>(entryAt(hi) + 1, from, count));
}

void ZoButtonBar::LayoutGroupHeaders(const CGroupButtons& list, Surface& strip) {
    const std::span<CGroup* const> groups = list.Resolved();
    HeaderLayoutMemo& memo =
        &list == &m_aUpperGroupButtons ? m_upperHeaderLayout : m_lowerHeaderLayout;
    const bool across = m_eGroupFlow == zoHorizontal;
    const HeaderLayoutInputs inputs = HeaderInputs(*this, list, strip);
    // The headers laid out last time would come out the same: start after them.
    std::size_t from = 0;
    std::int32_t offset = 0;
    if (memo.valid && memo.inputs == inputs && memo.count <= groups.size()) {
        from = memo.count;
        offset = memo.offset;
    }
    const std::int32_t breadth = inputs.breadth;
    for (std::size_t i = from; i < groups.size(); ++i) {
        CGroup* g = groups[i];
        if (g == nullptr || !IsGroupShown(*g)) continue;
        if (across)
            g->SetHeaderRect(Rect{offset, 0, offset + m_lGroupHeaderHeight, breadth});
        else
            g->SetHeaderRect(Rect{0, offset, breadth, offset + m_lGroupHeaderHeight});
        offset += m_lGroupHeaderHeight;
    }
    memo = HeaderLayoutMemo{inputs, groups.size(), offset, true};
}

void ZoButtonBar::CalcCloseButtonRect() {
    RECT rc;
    GetClientRect(m_picCaptionBar().hWnd(), &rc);
    m_rcCloseButton = layout::CloseButtonRect(m_eGroupFlow, rc.right, rc.bottom);
}

void ZoButtonBar::OnControlResize() {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
    RaiseEvent([](ZoButtonBarEvents& e) { e.Resize(); });
}

void ZoButtonBar::OnUpperGroupsResize() {
    if (m_bTerminated) return;
    LayoutGroupHeaders(m_aUpperGroupButtons, m_PicUpperGroups());
    RefreshGroupStrips();
}

void ZoButtonBar::OnLowerGroupsResize() {
    if (m_bTerminated) return;
    LayoutGroupHeaders(m_aLowerGroupButtons, m_PicLowerGroups());
    RefreshGroupStrips();
}

void ZoButtonBar::OnButtonsResize() {
    if (m_bTerminated) return;
    LayoutButtons();
    Refresh();
}

void ZoButtonBar::OnCaptionBarResize() {
    if (m_bTerminated) return;
    CalcCloseButtonRect();
    m_picCaptionBar().Refresh();
}

}  // namespace zo
