// Button layout: one button size, the buttons per line, scrolling, and a cell for every shown
// button of the active group. Painting, hit testing and the keyboard read what it stores.
#include "render/ButtonLayout.h"

#include <algorithm>
#include <string>

#include "control/ZoButtonBar.h"
#include "core/Variant.h"
#include "host/Scale.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/CResoureMgr.h"

namespace zo {

namespace layout {

Fit FitButtons(std::int32_t W, std::int32_t H, std::int32_t AW, std::int32_t AH, std::int32_t N,
               std::int32_t flow, std::int32_t buttonLayout, std::int32_t scrollPos) {
    Fit f;
    // A zero button size cannot come from the property checks, but a zero picture and no
    // caption can; a size of at least one keeps the divisions defined.
    W = std::max(W, 1);
    H = std::max(H, 1);
    const bool horizontal = flow == zoHorizontal;
    const std::int32_t F = horizontal ? AW / W : AH / H;
    if (buttonLayout == zoLinear) {
        f.buttonsPerLine = 1;
        f.lines = N;
    } else {
        std::int32_t P = horizontal ? AH / H : AW / W;
        if (P <= 0) P = 1;
        f.buttonsPerLine = P;
        f.lines = N < P ? 1 : N / P + (N % P != 0 ? 1 : 0);
    }
    if (F < f.lines) {
        const std::int32_t F2 =
            horizontal ? (AW - 2 * kScrollButtonDepth) / W : (AH - 2 * kScrollButtonDepth) / H;
        f.maxScrollPos = f.lines - F2;
        if (horizontal) {
            f.tlScroll = Rect{0, 0, kScrollButtonDepth, AH};
            f.brScroll = Rect{AW - kScrollButtonDepth, 0, AW, AH};
        } else {
            f.tlScroll = Rect{0, 0, AW, kScrollButtonDepth};
            f.brScroll = Rect{0, AH - kScrollButtonDepth, AW, AH};
        }
    }
    f.scrollPos = std::min(scrollPos, f.maxScrollPos);
    const auto centred = [](std::int32_t space, std::int32_t size) {
        return std::max(NearestInt((space - size) / 2.0), 0);
    };
    if (horizontal) {
        f.y0 = buttonLayout == zoLinear ? centred(AH, H) : 0;
        f.x0 = f.maxScrollPos >= 1 ? kScrollButtonDepth - f.scrollPos * W : 0;
    } else {
        f.x0 = buttonLayout == zoLinear ? centred(AW, W) : 0;
        f.y0 = f.maxScrollPos >= 1 ? kScrollButtonDepth - f.scrollPos * H : 0;
    }
    return f;
}

std::int32_t GridLines(std::int32_t N, std::int32_t perLine) {
    if (perLine <= 0) perLine = 1;
    if (N % perLine == 0) return N / perLine;
    return NearestInt(static_cast<double>(N) / perLine + 1.0);
}

std::vector<Cell> PlaceCells(const std::vector<bool>& shown, std::int32_t W, std::int32_t H,
                             std::int32_t X0, std::int32_t Y0, std::int32_t AW, std::int32_t AH,
                             std::int32_t flow, std::int32_t buttonLayout) {
    std::vector<Cell> cells;
    std::int32_t x = X0, y = Y0, line = 0, pos = 0;
    for (bool isShown : shown) {
        if (!isShown) continue;
        cells.push_back(Cell{Rect{x, y, x + W, y + H}, line, pos});
        ++pos;
        if (flow == zoHorizontal) {
            if (buttonLayout == zoLinear) {
                pos = 0, ++line, x += W;
            } else {
                y += H;
                if (y + H > AH) x += W, y = Y0, pos = 0, ++line;
            }
        } else {
            if (buttonLayout == zoLinear) {
                pos = 0, ++line, y += H;
            } else {
                x += W;
                if (x + W > AW) y += H, x = X0, pos = 0, ++line;
            }
        }
    }
    return cells;
}

void AutoButtonSize(const AutoSizeInput& in,
                    const std::function<std::int32_t(std::int32_t)>& captionHeight, std::int32_t& W,
                    std::int32_t& H) {
    const std::int32_t Pw = in.maxPicWidth, Ph = in.maxPicHeight;
    const bool beside = in.textPosition == zoLeft || in.textPosition == zoRight;
    if (in.buttonLayout == zoTiled) {
        const std::int32_t B = in.showInfo == zoPictureOnly ? Pw : (beside ? 3 * Pw : 2 * Pw);
        W = B + 4;
        H = Ph + captionHeight(B) + 10;
    } else if (in.flow == zoVertical) {
        W = in.areaWidth;
        H = beside ? Ph + 10 : Ph + captionHeight(in.areaWidth) + 10;
    } else {
        W = (beside ? 3 * Pw : 2 * Pw) + 4;
        // The caption band is still measured (and remembered) but does not enter the height.
        if (!beside) captionHeight(2 * Pw);
        H = in.areaHeight;
    }
}

}  // namespace layout

using namespace plat;

std::int32_t ZoButtonBar::ButtonAreaWidthPx() const {
    const Surface& s = form_->Buttons();
    return NearestInt(s.ScaleX(s.ScaleWidth(), s.GetScaleMode(), vbPixels));
}

std::int32_t ZoButtonBar::ButtonAreaHeightPx() const {
    const Surface& s = form_->Buttons();
    return NearestInt(s.ScaleY(s.ScaleHeight(), s.GetScaleMode(), vbPixels));
}

std::int32_t ZoButtonBar::UserButtonWidthPx() const {
    return NearestInt(form_->ScaleX(m_lButtonWidth, form_->GetScaleMode(), vbPixels));
}

std::int32_t ZoButtonBar::UserButtonHeightPx() const {
    return NearestInt(form_->ScaleY(m_lButtonHeight, form_->GetScaleMode(), vbPixels));
}

std::int32_t ZoButtonBar::CountShownButtons(const CButtons& buttons) const {
    std::int32_t n = 0;
    for (const ButtonPtr& b : buttons.Entries())
        if (IsButtonShown(*b)) ++n;
    return n;
}

std::int32_t ZoButtonBar::GetMaxPictureWidth(const CButtons& buttons) const {
    std::int32_t most = 0;
    for (const ButtonPtr& b : buttons.Entries())
        if (IsButtonShown(*b) && b->Picture()) most = std::max(most, b->Picture()->Width());
    const std::int32_t px = NearestInt(form_->ScaleX(most, vbHimetric, vbPixels));
    return px == 0 ? 32 : px;
}

std::int32_t ZoButtonBar::GetMaxPictureHeight(const CButtons& buttons) const {
    std::int32_t most = 0;
    for (const ButtonPtr& b : buttons.Entries())
        if (IsButtonShown(*b) && b->Picture()) most = std::max(most, b->Picture()->Height());
    const std::int32_t px = NearestInt(form_->ScaleY(most, vbHimetric, vbPixels));
    return px == 0 ? 32 : px;
}

std::int32_t ZoButtonBar::CalcCaptionHeight(const CButtons& buttons, std::int32_t w) {
    if (m_eShowButtonInfo != zoPictureAndCaption) return 0;
    const HDC hdc = GetDC(m_hWndButtons);
    if (hdc == 0) return 0;
    const HGDIOBJ oldFont = SelectObject(hdc, m_aResMgr->GetFont(*m_aFont, "BUTTONFONT"));
    SIZE ag;
    GetTextExtentPoint32A(hdc, "Ag", 2, &ag);
    std::int32_t result = ag.cy + 2;
    const std::uint32_t serial = m_aResMgr->FontSerial("BUTTONFONT");
    for (const ButtonPtr& b : buttons.Entries()) {
        if (!IsButtonShown(*b)) continue;
        std::int32_t cx;
        if (!b->MeasuredCaptionWidth(serial, cx)) {
            const std::string ansi = Utf8ToAnsi(b->Caption());
            SIZE sz;
            GetTextExtentPoint32A(hdc, ansi.c_str(), static_cast<int>(ansi.size()), &sz);
            cx = sz.cx;
            b->KeepCaptionWidth(serial, cx);
        }
        if (cx > w) {
            result = 2 * (ag.cy + 2);
            break;
        }
    }
    SelectObject(hdc, oldFont);
    ReleaseDC(m_hWndButtons, hdc);
    m_lCaptionHeight = result;
    return result;
}

void ZoButtonBar::CalcAutoButtonSize(const CButtons& buttons, std::int32_t& W, std::int32_t& H) {
    layout::AutoSizeInput in;
    in.buttonLayout = m_eButtonLayout;
    in.flow = m_eButtonFlow;
    in.textPosition = m_eButtonTextPosition;
    in.showInfo = m_eShowButtonInfo;
    in.maxPicWidth = m_lMaxPicWidth;
    in.maxPicHeight = m_lMaxPicHeight;
    in.areaWidth = ButtonAreaWidthPx();
    in.areaHeight = ButtonAreaHeightPx();
    layout::AutoButtonSize(
        in, [&](std::int32_t w) { return CalcCaptionHeight(buttons, w); }, W, H);
}

void ZoButtonBar::LayoutButtons() {
    if (m_bLayoutSuspended || !m_aActiveGroup || m_bTerminated) return;
    const CButtons& buttons = *m_aActiveGroup->Buttons();
    m_lMaxPicWidth = GetMaxPictureWidth(buttons);
    m_lMaxPicHeight = GetMaxPictureHeight(buttons);
    std::int32_t W, H;
    if (m_eButtonSize == zoUserSpecified) {
        W = UserButtonWidthPx();
        H = UserButtonHeightPx();
    } else {
        CalcAutoButtonSize(buttons, W, H);
    }
    m_lButtonWidthPx = W;
    m_lButtonHeightPx = H;
    const std::int32_t AW = ButtonAreaWidthPx(), AH = ButtonAreaHeightPx();
    const std::int32_t N = CountShownButtons(buttons);
    const layout::Fit fit =
        layout::FitButtons(W, H, AW, AH, N, m_eButtonFlow, m_eButtonLayout, m_lScrollPos);
    m_lButtonsPerLine = fit.buttonsPerLine;
    m_lMaxScrollPos = fit.maxScrollPos;
    m_rcTLScrollButton = fit.tlScroll;
    m_rcBRScrollButton = fit.brScroll;
    m_lScrollPos = fit.scrollPos;
    PlaceButtons(buttons, W, H, fit.x0, fit.y0);
}

void ZoButtonBar::PlaceButtons(const CButtons& buttons, std::int32_t W, std::int32_t H,
                               std::int32_t X0, std::int32_t Y0) {
    const std::int32_t AW = ButtonAreaWidthPx(), AH = ButtonAreaHeightPx();
    std::vector<bool> shown;
    shown.reserve(static_cast<std::size_t>(buttons.Count()));
    for (const ButtonPtr& b : buttons.Entries())
        shown.push_back(IsButtonShown(*b));
    const std::int32_t N = static_cast<std::int32_t>(std::count(shown.begin(), shown.end(), true));
    if (N > 0) {
        m_lGridLines = layout::GridLines(N, m_lButtonsPerLine);
        m_lGridPositions = m_lButtonsPerLine;
        m_aButtonGrid.assign(
            static_cast<std::size_t>(m_lGridLines) * static_cast<std::size_t>(m_lGridPositions), 0);
    }
    const std::vector<layout::Cell> cells =
        layout::PlaceCells(shown, W, H, X0, Y0, AW, AH, m_eButtonFlow, m_eButtonLayout);
    std::size_t c = 0;
    std::int32_t k = 1;
    for (const ButtonPtr& b : buttons.Entries()) {
        if (shown[static_cast<std::size_t>(k - 1)]) {
            const layout::Cell& cell = cells[c++];
            b->SetButtonRect(cell.rect);
            b->SetLineIndex(static_cast<std::int16_t>(cell.line));
            b->SetPosInLine(static_cast<std::int16_t>(cell.pos));
            if (cell.line < m_lGridLines && cell.pos < m_lGridPositions)
                m_aButtonGrid[static_cast<std::size_t>(cell.line) *
                                  static_cast<std::size_t>(m_lGridPositions) +
                              static_cast<std::size_t>(cell.pos)] = k;
        }
        ++k;
    }
}

void ZoButtonBar::RefreshButtonArea() {
    if (!m_bLockRefresh && form_) m_PicButtons().Refresh();
}

void ZoButtonBar::RefreshGroupStrips() {
    if (m_bLockRefresh || !form_) return;
    m_PicUpperGroups().Refresh();
    m_PicLowerGroups().Refresh();
}

}  // namespace zo
