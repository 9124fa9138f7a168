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

Cell CellWalker::Next() {
    const Cell cell{Rect{x_, y_, x_ + W_, y_ + H_}, line_, pos_};
    ++pos_;
    if (flow_ == zoHorizontal) {
        if (layout_ == zoLinear) {
            pos_ = 0, ++line_, x_ += W_;
        } else {
            y_ += H_;
            if (y_ + H_ > AH_) x_ += W_, y_ = Y0_, pos_ = 0, ++line_;
        }
    } else {
        if (layout_ == zoLinear) {
            pos_ = 0, ++line_, y_ += H_;
        } else {
            x_ += W_;
            if (x_ + W_ > AW_) y_ += H_, x_ = X0_, pos_ = 0, ++line_;
        }
    }
    return cell;
}

void CellWalker::Seek(std::int32_t n, std::int32_t perLine) {
    if (perLine < 1) perLine = 1;
    line_ = n / perLine;
    pos_ = n % perLine;
    if (flow_ == zoHorizontal) {
        x_ = X0_ + line_ * W_;
        y_ = Y0_ + pos_ * H_;
    } else {
        x_ = X0_ + pos_ * W_;
        y_ = Y0_ + line_ * H_;
    }
}

std::vector<Cell> PlaceCells(const std::vector<bool>& shown, std::int32_t W, std::int32_t H,
                             std::int32_t X0, std::int32_t Y0, std::int32_t AW, std::int32_t AH,
                             std::int32_t flow, std::int32_t buttonLayout) {
    std::vector<Cell> cells;
    CellWalker walker(W, H, X0, Y0, AW, AH, flow, buttonLayout);
    for (bool isShown : shown)
        if (isShown) cells.push_back(walker.Next());
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

std::int32_t ZoButtonBar::PicturePx(std::int32_t himetric, bool horizontal) const {
    const double px = horizontal ? form_->ScaleX(himetric, vbHimetric, vbPixels)
                                 : form_->ScaleY(himetric, vbHimetric, vbPixels);
    const std::int32_t n = NearestInt(px);
    return n == 0 ? 32 : n;
}

namespace {

// HIMETRIC maxima of the shown buttons' pictures, with how many buttons reach each.
struct PictureExtremes {
    std::int32_t w = 0, h = 0, wCount = 0, hCount = 0;
    void Add(const Picture& p) {
        const std::int32_t pw = p.Width(), ph = p.Height();
        if (pw > w) w = pw, wCount = 0;
        if (pw == w) ++wCount;
        if (ph > h) h = ph, hCount = 0;
        if (ph == h) ++hCount;
    }
};

template <class Shown>
std::pair<std::int32_t, std::int32_t> PictureMaxima(const CButtons& buttons, Shown shown) {
    PictureExtremes e;
    for (const ButtonPtr& b : buttons.Entries())
        if (shown(*b) && b->Picture()) e.Add(*b->Picture());
    return {e.w, e.h};
}

}  // namespace

std::int32_t ZoButtonBar::GetMaxPictureWidth(const CButtons& buttons) const {
    const auto shown = [this](const CButton& b) { return IsButtonShown(b); };
    return PicturePx(PictureMaxima(buttons, shown).first, true);
}

std::int32_t ZoButtonBar::GetMaxPictureHeight(const CButtons& buttons) const {
    const auto shown = [this](const CButton& b) { return IsButtonShown(b); };
    return PicturePx(PictureMaxima(buttons, shown).second, false);
}

namespace {

// A caption's width in the font selected into hdc, measured once per font serial.
std::int32_t MeasureCaption(HDC hdc, const CButton& b, std::uint32_t serial) {
    std::int32_t cx = 0;
    if (b.MeasuredCaptionWidth(serial, cx)) return cx;
    const std::string ansi = Utf8ToAnsi(b.Caption());
    SIZE sz;
    GetTextExtentPoint32A(hdc, ansi.c_str(), static_cast<int>(ansi.size()), &sz);
    b.KeepCaptionWidth(serial, sz.cx);
    return sz.cx;
}

LayoutInputs InputsOf(const ZoButtonBar& bar) {
    LayoutInputs in;
    in.areaWidth = bar.ButtonAreaWidthPx();
    in.areaHeight = bar.ButtonAreaHeightPx();
    in.flow = bar.m_eButtonFlow;
    in.buttonLayout = bar.m_eButtonLayout;
    in.textPosition = bar.m_eButtonTextPosition;
    in.showInfo = bar.m_eShowButtonInfo;
    in.sizeMode = bar.m_eButtonSize;
    in.userWidth = bar.UserButtonWidthPx();
    in.userHeight = bar.UserButtonHeightPx();
    in.userMode = bar.UserMode();
    in.fontSerial = bar.m_aResMgr->FontSerial("BUTTONFONT");
    return in;
}

// Stores the button size and the scrolling a fit decided.
void ApplyFit(ZoButtonBar& bar, std::int32_t W, std::int32_t H, const layout::Fit& fit) {
    bar.m_lButtonWidthPx = W;
    bar.m_lButtonHeightPx = H;
    bar.m_lButtonsPerLine = fit.buttonsPerLine;
    bar.m_lMaxScrollPos = fit.maxScrollPos;
    bar.m_rcTLScrollButton = fit.tlScroll;
    bar.m_rcBRScrollButton = fit.brScroll;
    bar.m_lScrollPos = fit.scrollPos;
}

}  // namespace

std::int32_t ZoButtonBar::CalcCaptionHeight(const CButtons& buttons, std::int32_t w) {
    if (m_eShowButtonInfo != zoPictureAndCaption) return 0;
    const HDC hdc = GetDC(m_hWndButtons);
    if (hdc == 0) return 0;
    const HGDIOBJ oldFont = SelectObject(hdc, m_aResMgr->GetFont(*m_aFont, "BUTTONFONT"));
    SIZE ag;
    GetTextExtentPoint32A(hdc, "Ag", 2, &ag);
    std::int32_t result = ag.cy + 2;
    m_lCaptionLineHeight = result;
    const std::uint32_t serial = m_aResMgr->FontSerial("BUTTONFONT");
    for (const ButtonPtr& b : buttons.Entries()) {
        if (!IsButtonShown(*b)) continue;
        if (MeasureCaption(hdc, *b, serial) > w) {
            result = 2 * (ag.cy + 2);
            break;
        }
    }
    SelectObject(hdc, oldFont);
    ReleaseDC(m_hWndButtons, hdc);
    m_lCaptionHeight = result;
    return result;
}

namespace {

layout::AutoSizeInput AutoInputs(const ZoButtonBar& bar) {
    layout::AutoSizeInput in;
    in.buttonLayout = bar.m_eButtonLayout;
    in.flow = bar.m_eButtonFlow;
    in.textPosition = bar.m_eButtonTextPosition;
    in.showInfo = bar.m_eShowButtonInfo;
    in.maxPicWidth = bar.m_lMaxPicWidth;
    in.maxPicHeight = bar.m_lMaxPicHeight;
    in.areaWidth = bar.ButtonAreaWidthPx();
    in.areaHeight = bar.ButtonAreaHeightPx();
    return in;
}

}  // namespace

void ZoButtonBar::CalcAutoButtonSize(const CButtons& buttons, std::int32_t& W, std::int32_t& H) {
    layout::AutoButtonSize(
        AutoInputs(*this), [&](std::int32_t w) { return CalcCaptionHeight(buttons, w); }, W, H);
}

LayoutMemo* ZoButtonBar::CurrentLayout() {
    LayoutMemo* m = m_layoutMemo.get();
    if (m == nullptr || m_bLayoutSuspended || m_bTerminated || !m_aActiveGroup) return nullptr;
    const CButtons& buttons = *m_aActiveGroup->Buttons();
    if (m->list != &buttons || buttons.Entries().Revision() != m->revision ||
        buttons.Count() != m->count || m->group.lock() != m_aActiveGroup)
        return nullptr;
    // A font whose attributes changed is made anew here, with a new serial.
    if (m_eButtonSize == zoAutoCalculated) m_aResMgr->GetFont(*m_aFont, "BUTTONFONT");
    return InputsOf(*this) == m->inputs ? m : nullptr;
}

void ZoButtonBar::LayoutButtons() {
    if (m_bLayoutSuspended || !m_aActiveGroup || m_bTerminated) return;
    // Nothing the layout reads has changed (a button left another group, say): it would
    // store what it stored last time.
    if (const LayoutMemo* m = CurrentLayout();
        m != nullptr && m->sizeExact && m_lScrollPos == m->fit.scrollPos)
        return;
    const CButtons& buttons = *m_aActiveGroup->Buttons();
    if (AppendToLayout(buttons)) return;
    m_layoutMemo.reset();
    // One walk for the picture extents and the shown buttons.
    PictureExtremes pictures;
    std::int32_t N = 0;
    const bool all = !UserMode();
    for (const ButtonPtr& b : buttons.Entries()) {
        if (!all && !b->Visible()) continue;
        ++N;
        if (b->Picture()) pictures.Add(*b->Picture());
    }
    m_lMaxPicWidth = PicturePx(pictures.w, true);
    m_lMaxPicHeight = PicturePx(pictures.h, false);
    std::int32_t W, H;
    bool captionKnown = false, measured = false;
    std::int32_t captionWidth = 0, captionHeight = 0;
    if (m_eButtonSize == zoUserSpecified) {
        W = UserButtonWidthPx();
        H = UserButtonHeightPx();
    } else {
        const auto measure = [&](std::int32_t w) {
            const std::int32_t h = CalcCaptionHeight(buttons, w);
            measured = true;
            captionKnown = m_eShowButtonInfo == zoPictureAndCaption && m_lCaptionHeight == h;
            captionWidth = w;
            captionHeight = h;
            return h;
        };
        layout::AutoButtonSize(AutoInputs(*this), measure, W, H);
    }
    const std::int32_t AW = ButtonAreaWidthPx(), AH = ButtonAreaHeightPx();
    const layout::Fit fit =
        layout::FitButtons(W, H, AW, AH, N, m_eButtonFlow, m_eButtonLayout, m_lScrollPos);
    ApplyFit(*this, W, H, fit);
    PlaceButtons(buttons, W, H, fit.x0, fit.y0);

    auto memo = std::make_shared<LayoutMemo>();
    memo->group = m_aActiveGroup;
    memo->list = &buttons;
    memo->revision = buttons.Entries().Revision();
    memo->count = buttons.Count();
    if (memo->count > 0) memo->last = buttons.Entries().Item(memo->count);
    memo->inputs = InputsOf(*this);
    memo->shown = N;
    memo->picWidth = pictures.w;
    memo->picHeight = pictures.h;
    memo->picWidthCount = pictures.wCount;
    memo->picHeightCount = pictures.hCount;
    memo->captionKnown = captionKnown;
    memo->captionWidth = captionWidth;
    memo->captionHeight = captionHeight;
    memo->sizeExact = m_eShowButtonInfo != zoPictureAndCaption || !measured || captionKnown;
    memo->W = W;
    memo->H = H;
    memo->fit = fit;
    memo->walker = layout::CellWalker(W, H, fit.x0, fit.y0, AW, AH, m_eButtonFlow, m_eButtonLayout);
    memo->walker.Seek(N, fit.buttonsPerLine);
    m_layoutMemo = std::move(memo);
}

bool ZoButtonBar::RemoveFromLayout(const CButton& removed) {
    if (m_bLayoutSuspended || !m_aActiveGroup || m_bTerminated) return false;
    const CButtons& buttons = *m_aActiveGroup->Buttons();
    LayoutMemo* m = m_layoutMemo.get();
    // The same list with exactly one removal since, of a button that had a cell.
    if (m == nullptr || m->list != &buttons || m->group.lock() != m_aActiveGroup) return false;
    const std::int32_t count = buttons.Count();
    if (buttons.Entries().Revision() != m->revision + 1 || count != m->count - 1 || m->shown < 2 ||
        !m->sizeExact || !IsButtonShown(removed))
        return false;
    if (m_eButtonSize == zoAutoCalculated) m_aResMgr->GetFont(*m_aFont, "BUTTONFONT");
    if (!(InputsOf(*this) == m->inputs) || m_lScrollPos != m->fit.scrollPos) return false;
    const std::int32_t P = m->fit.buttonsPerLine, oldN = m->shown;
    const std::int32_t AW = m->inputs.areaWidth, AH = m->inputs.areaHeight;
    if (m->W <= 0 || m->H <= 0 || P < 1 || m_aButtonGrid.size() < static_cast<std::size_t>(oldN))
        return false;
    // Its place among the shown buttons, from its cell.
    const Rect& rr = removed.ButtonRect();
    const bool horizontal = m_eButtonFlow == zoHorizontal;
    const std::int64_t line = horizontal ? (std::int64_t{rr.left} - m->fit.x0) / m->W
                                         : (std::int64_t{rr.top} - m->fit.y0) / m->H;
    const std::int64_t pos = horizontal ? (std::int64_t{rr.top} - m->fit.y0) / m->H
                                        : (std::int64_t{rr.left} - m->fit.x0) / m->W;
    const std::int64_t place = line * P + pos;
    if (line < 0 || pos < 0 || pos >= P || place >= oldN) return false;
    const auto j0 = static_cast<std::int32_t>(place);
    layout::CellWalker probe(m->W, m->H, m->fit.x0, m->fit.y0, AW, AH, m_eButtonFlow,
                             m_eButtonLayout);
    probe.Seek(j0, P);
    if (!(probe.Next().rect == rr)) return false;

    // Its picture and caption leave the sums as they were unless it alone set them.
    PictureExtremes pictures{m->picWidth, m->picHeight, m->picWidthCount, m->picHeightCount};
    if (const PicturePtr& p = removed.Picture()) {
        if (p->Width() == pictures.w && --pictures.wCount == 0) return false;
        if (p->Height() == pictures.h && --pictures.hCount == 0) return false;
    }
    const bool captionKnown = m->captionKnown;
    const std::int32_t captionWidth = m->captionWidth, captionHeight = m->captionHeight;
    if (captionKnown && captionHeight != m_lCaptionLineHeight) {
        std::int32_t cx = 0;
        if (!removed.MeasuredCaptionWidth(m->inputs.fontSerial, cx) || cx > captionWidth)
            return false;  // it may have been the one caption that needed two lines
    }
    std::int32_t W, H;
    if (m_eButtonSize == zoUserSpecified) {
        W = UserButtonWidthPx();
        H = UserButtonHeightPx();
    } else {
        bool unknownWidth = false;
        const auto measure = [&](std::int32_t w) -> std::int32_t {
            if (m_eShowButtonInfo != zoPictureAndCaption) return 0;
            if (!captionKnown || w != captionWidth) {
                unknownWidth = true;
                return 0;
            }
            m_lCaptionHeight = captionHeight;
            return captionHeight;
        };
        layout::AutoButtonSize(AutoInputs(*this), measure, W, H);
        if (unknownWidth) return false;
    }
    const std::int32_t N = oldN - 1;
    const layout::Fit fit =
        layout::FitButtons(W, H, AW, AH, N, m_eButtonFlow, m_eButtonLayout, m_lScrollPos);
    if (W != m->W || H != m->H || fit.x0 != m->fit.x0 || fit.y0 != m->fit.y0 ||
        fit.buttonsPerLine != P)
        return false;  // cells move: the whole list again
    ApplyFit(*this, W, H, fit);

    // Every shown button after it takes the cell of the one before; the grid closes up.
    const auto& entries = buttons.Entries();
    // Straight from the list: this runs once for every button after the removed one.
    const auto firstEntry = entries.begin();
    const std::int32_t entryCount = entries.Count();
    Rect cell = rr;
    std::int16_t cellLine = removed.LineIndex(), cellPos = removed.PosInLine();
    for (std::int32_t j = j0 + 1; j < oldN; ++j) {
        const std::int32_t k = m_aButtonGrid[static_cast<std::size_t>(j)] - 1;
        if (k < 1 || k > entryCount) return false;  // the grid is stale: lay out afresh
        CButton& b = *firstEntry[k - 1];
        const Rect r = b.ButtonRect();
        const std::int16_t l = b.LineIndex(), p = b.PosInLine();
        b.SetButtonRect(cell);
        b.SetLineIndex(cellLine);
        b.SetPosInLine(cellPos);
        cell = r, cellLine = l, cellPos = p;
        m_aButtonGrid[static_cast<std::size_t>(j - 1)] = k;
    }
    m_aButtonGrid[static_cast<std::size_t>(oldN - 1)] = 0;
    m_lGridLines = layout::GridLines(N, P);
    m_lGridPositions = P;
    m_aButtonGrid.resize(
        static_cast<std::size_t>(m_lGridLines) * static_cast<std::size_t>(m_lGridPositions), 0);

    m->revision = entries.Revision();
    m->count = count;
    m->last = count > 0 ? entries.Item(count) : ButtonPtr();
    m->shown = N;
    m->picWidthCount = pictures.wCount;
    m->picHeightCount = pictures.hCount;
    m->fit = fit;
    m->walker.Seek(N, P);
    return true;
}

bool ZoButtonBar::ShownButtonRange(const Rect& U, std::int32_t& first, std::int32_t& last) {
    const LayoutMemo* m = CurrentLayout();
    if (m == nullptr || m->shown <= 0 || m->W <= 0 || m->H <= 0 || m->fit.buttonsPerLine < 1 ||
        m_aButtonGrid.size() < static_cast<std::size_t>(m->shown))
        return false;
    const auto& entries = m_aActiveGroup->Buttons()->Entries();
    const std::int32_t k0 = m_aButtonGrid[0];
    if (k0 < 1 || k0 > entries.Count()) return false;
    // Line l starts one step of l lines after the first cell, wherever scrolling put it.
    const Rect& r0 = entries.Item(k0)->ButtonRect();
    const bool horizontal = m_eButtonFlow == zoHorizontal;
    const std::int64_t origin = horizontal ? r0.left : r0.top;
    const std::int64_t step = horizontal ? m->W : m->H;
    const std::int64_t lo = horizontal ? U.left : U.top, hi = horizontal ? U.right : U.bottom;
    const auto floorDiv = [](std::int64_t a, std::int64_t b) {
        return a >= 0 ? a / b : -((-a + b - 1) / b);
    };
    // Lines l with origin + l * step < hi and origin + (l + 1) * step > lo.
    const std::int64_t firstLine = std::max<std::int64_t>(floorDiv(lo - origin, step), 0);
    const std::int64_t endLine = std::max<std::int64_t>(floorDiv(hi - origin - 1, step) + 1, 0);
    const std::int64_t P = m->fit.buttonsPerLine, N = m->shown;
    first = static_cast<std::int32_t>(std::min(firstLine * P, N));
    last = static_cast<std::int32_t>(std::min(std::max(endLine * P, firstLine * P), N));
    return true;
}

// The width of one button's caption in the button font, measured once per font.
std::int32_t ZoButtonBar::CaptionWidth(const CButton& b) {
    const std::uint32_t serial = m_aResMgr->FontSerial("BUTTONFONT");
    std::int32_t cx = 0;
    if (b.MeasuredCaptionWidth(serial, cx)) return cx;
    const HDC hdc = GetDC(m_hWndButtons);
    if (hdc == 0) return 0;
    const HGDIOBJ oldFont = SelectObject(hdc, m_aResMgr->GetFont(*m_aFont, "BUTTONFONT"));
    cx = MeasureCaption(hdc, b, serial);
    SelectObject(hdc, oldFont);
    ReleaseDC(m_hWndButtons, hdc);
    return cx;
}

bool ZoButtonBar::AppendToLayout(const CButtons& buttons) {
    LayoutMemo* m = m_layoutMemo.get();
    // The same list (of a group still alive) with exactly one insertion since, which left the
    // former last button just before the end.
    if (m == nullptr || m->list != &buttons || m->shown == 0 || m->group.lock() != m_aActiveGroup)
        return false;
    const std::int32_t count = buttons.Count();
    if (buttons.Entries().Revision() != m->revision + 1 || count != m->count + 1 ||
        m->last.lock() != buttons.Entries().Item(count - 1))
        return false;
    // A font whose attributes changed is made anew here, with a new serial.
    if (m_eButtonSize == zoAutoCalculated) m_aResMgr->GetFont(*m_aFont, "BUTTONFONT");
    if (!(InputsOf(*this) == m->inputs) || m_lScrollPos != m->fit.scrollPos) return false;
    const std::int32_t AW = m->inputs.areaWidth, AH = m->inputs.areaHeight;

    CButton& added = *buttons.Entries().Item(count);
    const bool shown = IsButtonShown(added);
    PictureExtremes pictures{m->picWidth, m->picHeight, m->picWidthCount, m->picHeightCount};
    if (shown && added.Picture()) pictures.Add(*added.Picture());
    m_lMaxPicWidth = PicturePx(pictures.w, true);
    m_lMaxPicHeight = PicturePx(pictures.h, false);
    std::int32_t W, H;
    bool captionKnown = m->captionKnown, measured = false;
    std::int32_t captionWidth = m->captionWidth, captionHeight = m->captionHeight;
    if (m_eButtonSize == zoUserSpecified) {
        W = UserButtonWidthPx();
        H = UserButtonHeightPx();
    } else {
        const auto measure = [&](std::int32_t w) -> std::int32_t {
            measured = true;
            if (m_eShowButtonInfo != zoPictureAndCaption) return 0;
            if (!captionKnown || w != captionWidth) {
                // Another width than before: measure every caption (each one's width is kept).
                captionHeight = CalcCaptionHeight(buttons, w);
                captionKnown = m_lCaptionHeight == captionHeight;
                captionWidth = w;
                return captionHeight;
            }
            // One line until some caption is wider than the band; only the new one can be.
            if (shown && captionHeight == m_lCaptionLineHeight && CaptionWidth(added) > w)
                captionHeight = 2 * m_lCaptionLineHeight;
            m_lCaptionHeight = captionHeight;
            return captionHeight;
        };
        layout::AutoButtonSize(AutoInputs(*this), measure, W, H);
    }
    const std::int32_t N = m->shown + (shown ? 1 : 0);
    const layout::Fit fit =
        layout::FitButtons(W, H, AW, AH, N, m_eButtonFlow, m_eButtonLayout, m_lScrollPos);
    if (W != m->W || H != m->H || fit.x0 != m->fit.x0 || fit.y0 != m->fit.y0 ||
        fit.buttonsPerLine != m->fit.buttonsPerLine)
        return false;  // cells move: the whole list again
    ApplyFit(*this, W, H, fit);
    if (shown) {
        // Every other cell stays; the grid keeps its line length and gains or loses lines.
        m_lGridLines = layout::GridLines(N, m_lButtonsPerLine);
        m_lGridPositions = m_lButtonsPerLine;
        m_aButtonGrid.resize(
            static_cast<std::size_t>(m_lGridLines) * static_cast<std::size_t>(m_lGridPositions), 0);
        const layout::Cell cell = m->walker.Next();
        added.SetButtonRect(cell.rect);
        added.SetLineIndex(static_cast<std::int16_t>(cell.line));
        added.SetPosInLine(static_cast<std::int16_t>(cell.pos));
        if (cell.line < m_lGridLines && cell.pos < m_lGridPositions)
            m_aButtonGrid[static_cast<std::size_t>(cell.line) *
                              static_cast<std::size_t>(m_lGridPositions) +
                          static_cast<std::size_t>(cell.pos)] = count;
    }
    m->revision = buttons.Entries().Revision();
    m->count = count;
    m->last = buttons.Entries().Item(count);
    m->shown = N;
    m->picWidth = pictures.w;
    m->picHeight = pictures.h;
    m->picWidthCount = pictures.wCount;
    m->picHeightCount = pictures.hCount;
    m->captionKnown = captionKnown;
    m->captionWidth = captionWidth;
    m->captionHeight = captionHeight;
    if (measured) m->sizeExact = m_eShowButtonInfo != zoPictureAndCaption || captionKnown;
    m->fit = fit;
    return true;
}

void ZoButtonBar::PlaceButtons(const CButtons& buttons, std::int32_t W, std::int32_t H,
                               std::int32_t X0, std::int32_t Y0) {
    const std::int32_t AW = ButtonAreaWidthPx(), AH = ButtonAreaHeightPx();
    const std::int32_t N = CountShownButtons(buttons);
    if (N > 0) {
        m_lGridLines = layout::GridLines(N, m_lButtonsPerLine);
        m_lGridPositions = m_lButtonsPerLine;
        m_aButtonGrid.assign(
            static_cast<std::size_t>(m_lGridLines) * static_cast<std::size_t>(m_lGridPositions), 0);
    }
    layout::CellWalker walker(W, H, X0, Y0, AW, AH, m_eButtonFlow, m_eButtonLayout);
    const bool all = !UserMode();
    std::int32_t k = 1;
    for (const ButtonPtr& b : buttons.Entries()) {
        if (all || b->Visible()) {
            const layout::Cell cell = walker.Next();
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
    if (!m_bLockRefresh && form_) RepaintSurface(m_PicButtons());
}

void ZoButtonBar::RefreshGroupStrips() {
    if (m_bLockRefresh || !form_) return;
    RepaintSurface(m_PicUpperGroups());
    RepaintSurface(m_PicLowerGroups());
}

namespace {

Surface* SurfaceAt(ControlForm& form, int i) {
    switch (i) {
        case 0:
            return &form.CaptionBar();
        case 1:
            return &form.UpperGroups();
        case 2:
            return &form.LowerGroups();
        default:
            return &form.Buttons();
    }
}

}  // namespace

void ZoButtonBar::RepaintSurface(Surface& surface) {
    if (m_lRepaintScopes == 0 || !m_bGatherRepaints || !form_) {
        surface.Refresh();
        return;
    }
    // What Refresh would have painted is marked now; the paint itself waits.
    InvalidateRect(surface.hWnd(), nullptr, TRUE);
    for (int i = 0; i < 4; ++i)
        if (SurfaceAt(*form_, i) == &surface) m_bRepaintPending[i] = true;
}

void ZoButtonBar::FlushRepaints() {
    if (!form_) return;
    for (int i = 0; i < 4; ++i) {
        if (!m_bRepaintPending[i]) continue;
        m_bRepaintPending[i] = false;
        UpdateWindow(SurfaceAt(*form_, i)->hWnd());
    }
}

}  // namespace zo
