// Group header painting: each strip paints the headers of its list with an optional
// gradient, a frame by GroupAppearance, the caption upright or turned, and the focus mark.
#include "render/GroupPainting.h"

#include "control/ZoButtonBar.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/CResoureMgr.h"
#include "render/Primitives.h"
#include "render/Utils.h"

namespace zo {

namespace layout {

TurnedText LayOutTurnedText(const std::string& ansiText, const Rect& R, bool centred,
                            const std::function<plat::SIZE(const std::string&)>& measure) {
    TurnedText out;
    const std::int32_t A = R.bottom - R.top;
    out.text = ansiText;
    plat::SIZE sz = measure(out.text);
    if (sz.cx > A - 16) {
        for (std::size_t k = ansiText.size(); k >= 1; --k) {
            out.text = ansiText.substr(0, k) + "...";
            sz = measure(out.text);
            if (sz.cx < A) break;
        }
    }
    out.x = NearestPx((R.right - R.left - sz.cy) / 2.0 + R.left);
    out.y = centred ? NearestPx(R.bottom - (R.bottom - R.top - sz.cx) / 2.0) : R.bottom - 2;
    return out;
}

}  // namespace layout

using namespace plat;

namespace {

struct Frame {
    UINT edge;
    UINT flags;
};

// The header frame for a GroupAppearance value; edge 0 draws none.
Frame GroupFrame(std::int32_t appearance) {
    switch (appearance) {
        case zoFlatWithBorder:
            return {EDGE_RAISED, BF_RECT | BF_FLAT};
        case zoClassic3DRaised:
            return {EDGE_RAISED, BF_RECT};
        case zoModern3dRaised:
            return {BDR_RAISEDINNER, BF_RECT};
        case zoClassic3dSunken:
            return {EDGE_SUNKEN, BF_RECT};
        case zoModern3dSunken:
            return {BDR_SUNKENOUTER, BF_RECT};
        default:
            return {0, 0};
    }
}

}  // namespace

void ZoButtonBar::DrawGroupText(HDC hdc, const std::string& text, const Rect& R, UINT flags) {
    const std::string ansi = Utf8ToAnsi(text);
    if (m_eGroupFlow != zoHorizontal) {
        RECT rc{R.left + 2, R.top, R.right - 2, R.bottom};
        DrawTextA(hdc, ansi.c_str(), static_cast<int>(ansi.size()), &rc, flags);
        return;
    }
    const Rect shrunk{R.left, R.top + 2, R.right, R.bottom - 2};
    const layout::TurnedText t = layout::LayOutTurnedText(
        ansi, shrunk, (flags & DT_CENTER) != 0, [hdc](const std::string& s) {
            SIZE sz;
            GetTextExtentPoint32A(hdc, s.c_str(), static_cast<int>(s.size()), &sz);
            return sz;
        });
    TextOutA(hdc, t.x, t.y, t.text.c_str(), static_cast<int>(t.text.size()));
}

void ZoButtonBar::DrawGroupFocus(HDC hdc, const CGroup& group) {
    const Rect& r = group.HeaderRect();
    RECT rc{r.left, r.top, r.right, r.bottom};
    if (m_eGroupAppearance == zoFlat || m_eGroupAppearance == zoFlatWithBorder) {
        const bool standard = TranslateColor(m_lGroupBackColor) ==
                              TranslateColor(static_cast<std::int32_t>(0x8000000Fu));
        DrawEdge(hdc, &rc, standard ? BDR_RAISEDINNER : BDR_RAISEDOUTER, BF_RECT);
        return;
    }
    InflateRect(&rc, -3, -3);
    DrawFocusRect(hdc, &rc);
}

void ZoButtonBar::PaintGroupStrip(Surface& strip, const CGroupButtons& list) {
    if (!m_bSetUp || m_bTerminated) return;
    const HWND hwnd = strip.hWnd();
    const HDC hdc = GetDC(hwnd);
    if (hdc == 0) return;
    const HGDIOBJ oldFont = SelectObject(
        hdc, m_aResMgr->GetFont(*m_aFont, "GROUPFONT", m_eGroupFlow == zoHorizontal ? 900 : 0));
    const int oldMode = SetBkMode(hdc, 1);
    const UINT oldAlign = SetTextAlign(hdc, 0);
    const std::int32_t back = TranslateColor(m_lGroupBackColor);
    const std::int32_t grad = TranslateColor(m_lGroupGradientColor);
    const GroupPtr focus = m_aFocusGroup.lock();
    // Headers that lie wholly outside what the strip shows draw nothing; with thousands of
    // groups nearly all do. A turned caption is placed by TextOutA, which does not clip to
    // its header, so the test allows one header thickness around each.
    RECT clip;
    const bool clipped = GetClipBox(hdc, &clip) != ERROR;
    const std::int32_t m = m_lGroupHeaderHeight;
    const std::span<CGroup* const> groups = list.Resolved();
    std::size_t first = 0, last = groups.size();
    if (clipped) {
        const bool across = m_eGroupFlow == zoHorizontal;
        HeadersNear(list, groups.size(), strip, std::int64_t{across ? clip.left : clip.top} - m,
                    std::int64_t{across ? clip.right : clip.bottom} + m, first, last);
    }
    for (std::size_t i = first; i < last; ++i) {
        if (groups[i] == nullptr) continue;
        const Rect& H = groups[i]->HeaderRect();
        if (clipped && (H.right + m <= clip.left || H.left - m >= clip.right ||
                        H.bottom + m <= clip.top || H.top - m >= clip.bottom))
            continue;
        const GroupPtr g = list.Item(static_cast<std::int32_t>(i) + 1);
        const Rect& R = g->HeaderRect();
        if (m_eGroupGradientType != zoGradientNone) {
            if (m_bHasMsImg32)
                FillGradientSmooth(*m_aResMgr, hdc, R, grad, back, m_eGroupGradientType);
            else
                FillGradientBanded(*m_aResMgr, hdc, R, grad, back, m_eGroupGradientType);
        }
        const Frame frame = GroupFrame(m_eGroupAppearance);
        if (frame.edge != 0) {
            RECT rc{R.left, R.top, R.right, R.bottom};
            DrawEdge(hdc, &rc, frame.edge, frame.flags);
        }
        const COLORREF oldColor =
            SetTextColor(hdc, static_cast<COLORREF>(TranslateColor(m_lGroupForeColor)));
        DrawGroupText(hdc, g->Caption(), R,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS);
        SetTextColor(hdc, oldColor);
        if (g == focus) DrawGroupFocus(hdc, *g);
    }
    SetTextAlign(hdc, oldAlign);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
    ReleaseDC(hwnd, hdc);
}

void ZoButtonBar::OnUpperGroupsPaint() {
    PaintGroupStrip(m_PicUpperGroups(), m_aUpperGroupButtons);
}

void ZoButtonBar::OnLowerGroupsPaint() {
    PaintGroupStrip(m_PicLowerGroups(), m_aLowerGroupButtons);
}

// ---- Caption bar ----

void ZoButtonBar::PaintCaptionBar(bool pressed) {
    if (!m_bSetUp || m_bTerminated) return;
    const HWND hwnd = m_picCaptionBar().hWnd();
    const HDC hdc = GetDC(hwnd);
    if (hdc == 0) return;
    if (m_bShowCloseButton) {
        RECT rc{m_rcCloseButton.left, m_rcCloseButton.top, m_rcCloseButton.right,
                m_rcCloseButton.bottom};
        DrawFrameControl(hdc, &rc, DFC_CAPTION, DFCS_CAPTIONCLOSE | (pressed ? DFCS_PUSHED : 0));
    }
    if (!m_sCaption.empty()) {
        Surface& bar = m_picCaptionBar();
        Rect text{2, 0, NearestPx(bar.ScaleX(bar.ScaleWidth(), bar.GetScaleMode(), vbPixels)),
                  NearestPx(bar.ScaleY(bar.ScaleHeight(), bar.GetScaleMode(), vbPixels))};
        if (m_bShowCloseButton) {
            // The text never runs under the close button.
            if (m_eGroupFlow == zoHorizontal)
                text.top = m_rcCloseButton.bottom;
            else
                text.right = m_rcCloseButton.left;
        }
        const HGDIOBJ oldFont = SelectObject(
            hdc, m_aResMgr->GetFont(*m_aFont, "GROUPFONT", m_eGroupFlow == zoHorizontal ? 900 : 0));
        const int oldMode = SetBkMode(hdc, 1);
        const COLORREF oldColor = SetTextColor(
            hdc, static_cast<COLORREF>(TranslateColor(static_cast<std::int32_t>(0x80000013u))));
        DrawGroupText(hdc, m_sCaption, text, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        SetTextColor(hdc, oldColor);
        SetBkMode(hdc, oldMode);
        SelectObject(hdc, oldFont);
    }
    ReleaseDC(hwnd, hdc);
}

void ZoButtonBar::OnCaptionBarPaint() {
    if (m_bShowCaptionBar) PaintCaptionBar(m_bCloseButtonPushed);
}

}  // namespace zo
