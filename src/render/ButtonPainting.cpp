// Button area painting: the background (colour or the active group's picture), the scroll
// buttons, and every shown button that meets the area to repaint, with its face, picture,
// caption and the frames of its state.
#include "render/ButtonPainting.h"

#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/ButtonLayout.h"
#include "render/CResoureMgr.h"
#include "render/Primitives.h"
#include "render/Utils.h"

namespace zo {

namespace layout {

namespace {
std::int32_t Centred(std::int32_t size, std::int32_t space) {
    return size < space ? (space - size) / 2 : 0;
}
}  // namespace

FaceGeometry ButtonFace(const FaceInput& in) {
    FaceGeometry g;
    const std::int32_t L = in.cell.left, T = in.cell.top, Rt = in.cell.right, Bm = in.cell.bottom;
    const std::int32_t MPW = in.maxPicWidth, MPH = in.maxPicHeight, CH = in.captionHeight;
    const std::int32_t BH = Bm - T, BW = Rt - L, H = in.buttonHeight;
    if (in.showInfo == zoPictureOnly) {
        g.slotX = L + Centred(MPW, BW);
        g.slotY = MPH >= BH ? T + 4 : T + (BH - MPH) / 2;
    } else {
        Rect& c = g.caption;
        switch (in.textPosition) {
            case zoLeft:
                g.slotX = Rt - MPW - 4;
                g.slotY = T + Centred(MPH, BH);
                c = {L + 2, NearestPx((BH - CH) / 2.0 + T), g.slotX - 4, 0};
                break;
            case zoRight:
                g.slotX = L + 4;
                g.slotY = T + Centred(MPH, BH);
                c = {g.slotX + MPW + 4, NearestPx((BH - CH) / 2.0 + T), Rt - 2, 0};
                break;
            case zoTop:
                g.slotY =
                    H <= CH + MPH ? Bm - MPH - 4 : NearestPx((Bm - MPH) - (H - (CH + MPH)) / 2.0);
                g.slotX = L + Centred(MPW, BW);
                c = {L + 2, T < g.slotY - CH - 4 ? g.slotY - CH - 4 : T + 2, Rt - 2, 0};
                break;
            default:  // zoBottom and any other value
                g.slotY = H <= CH + MPH ? T + 4 : NearestPx((H - (CH + MPH)) / 2.0 + T + 2);
                g.slotX = L + Centred(MPW, BW);
                c = {L + 2, g.slotY + MPH + 2, Rt - 2, 0};
                break;
        }
        const std::int32_t E = in.textPosition == zoTop ? g.slotY - 2 : Bm;
        c.bottom = E <= c.top + CH ? E - 2 : c.top + CH;
    }
    g.picX = in.picWidth < MPW ? NearestPx((MPW - in.picWidth) / 2.0 + g.slotX) : g.slotX;
    g.picY = in.picHeight < MPH ? NearestPx((MPH - in.picHeight) / 2.0 + g.slotY) : g.slotY;
    g.zone = {g.slotX - 2, g.slotY - 2, g.slotX + MPW + 2, g.slotY + MPH + 2};
    return g;
}

std::vector<Tile> TilePieces(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                             std::int32_t pw, std::int32_t ph) {
    std::vector<Tile> tiles;
    if (pw <= 0 || ph <= 0 || w <= 0 || h <= 0) return tiles;
    const auto mod = [](std::int32_t a, std::int32_t m) { return ((a % m) + m) % m; };
    bool firstRow = true;
    for (std::int64_t row = y; row < static_cast<std::int64_t>(y) + h;) {
        const std::int32_t sy = firstRow ? mod(y, ph) : 0;
        std::int64_t rowH = ph - sy;
        rowH = std::min<std::int64_t>(rowH, static_cast<std::int64_t>(y) + h - row);
        bool firstCol = true;
        for (std::int64_t col = x; col < static_cast<std::int64_t>(x) + w;) {
            const std::int32_t sx = firstCol ? mod(x, pw) : 0;
            std::int64_t colW = pw - sx;
            colW = std::min<std::int64_t>(colW, static_cast<std::int64_t>(x) + w - col);
            tiles.push_back(Tile{static_cast<std::int32_t>(col), static_cast<std::int32_t>(row),
                                 static_cast<std::int32_t>(colW), static_cast<std::int32_t>(rowH),
                                 sx, sy});
            col += colW;
            firstCol = false;
        }
        row += rowH;
        firstRow = false;
    }
    return tiles;
}

}  // namespace layout

using namespace plat;

namespace {

RECT R32(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

bool IsKeyDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

}  // namespace

void ZoButtonBar::PictureSizePx(const Picture& p, std::int32_t& pw, std::int32_t& ph) const {
    pw = NearestPx(form_->ScaleX(p.Width(), vbHimetric, vbPixels));
    ph = NearestPx(form_->ScaleY(p.Height(), vbHimetric, vbPixels));
}

void ZoButtonBar::OnButtonsPaint() {
    // At run time the hook paints from the window's own paint message.
    if (m_bButtonAreaHooked || !m_bSetUp || m_bTerminated) return;
    const HDC hdc = GetDC(m_hWndButtons);
    if (hdc == 0) return;
    RECT rc;
    GetClientRect(m_hWndButtons, &rc);
    PaintButtonArea(hdc, Rect{rc.left, rc.top, rc.right, rc.bottom});
    ReleaseDC(m_hWndButtons, hdc);
}

void ZoButtonBar::PaintButtonArea(HDC hdc, const Rect& U) {
    if (!m_bSetUp || m_bTerminated) return;
    const int saved = SaveDC(hdc);
    PaintButtonBackground(hdc, U);
    if (m_aActiveGroup) {
        if (m_lMaxScrollPos > 0) {
            DrawScrollButtons(hdc);
            const Rect& tl = m_rcTLScrollButton;
            const Rect& br = m_rcBRScrollButton;
            if (m_eButtonFlow == zoHorizontal)
                IntersectClipRect(hdc, tl.right, tl.top, br.left, br.bottom);
            else
                IntersectClipRect(hdc, tl.left, tl.bottom, br.right, br.top);
        } else {
            IntersectClipRect(hdc, 0, 0, ButtonAreaWidthPx(), ButtonAreaHeightPx());
        }
        PaintButtons(hdc, *m_aActiveGroup, U);
    }
    RestoreDC(hdc, saved);
}

void ZoButtonBar::PaintButtonBackground(HDC hdc, const Rect& U) {
    const std::int32_t AW = ButtonAreaWidthPx(), AH = ButtonAreaHeightPx();
    const PicturePtr P = m_aActiveGroup ? m_aActiveGroup->ButtonBackgroundPicture() : nullptr;
    const HBRUSH back = m_aResMgr->GetBrush(TranslateColor(m_lButtonBackColor), "BUTTONBACK");
    const RECT u = R32(U);
    if (!P) {
        FillRect(hdc, &u, back);
        return;
    }
    std::int32_t pw, ph;
    PictureSizePx(*P, pw, ph);
    const HGDIOBJ old = SelectObject(m_hMemDC, P->Handle());
    switch (m_aActiveGroup->ButtonBackgroundLayout()) {
        case zoPictureTiled:
            TilePicture(hdc, *P, 0, 0, AW, AH);
            break;
        case zoPictureCentered:
            FillRect(hdc, &u, back);
            BitBlt(hdc, NearestPx((AW - pw) / 2.0), NearestPx((AH - ph) / 2.0), pw, ph, m_hMemDC, 0,
                   0, SRCCOPY);
            break;
        default: {
            const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
            StretchBlt(hdc, 0, 0, AW, AH, m_hMemDC, 0, 0, pw, ph, SRCCOPY);
            SetStretchBltMode(hdc, oldMode);
            break;
        }
    }
    if (old) SelectObject(m_hMemDC, old);
}

void ZoButtonBar::TilePicture(HDC hdc, const Picture& P, std::int32_t x, std::int32_t y,
                              std::int32_t w, std::int32_t h) {
    if (P.Kind() != PictureType::Bitmap && P.Kind() != PictureType::Icon) return;
    std::int32_t pw, ph;
    PictureSizePx(P, pw, ph);
    for (const layout::Tile& t : layout::TilePieces(x, y, w, h, pw, ph))
        BitBlt(hdc, t.x, t.y, t.w, t.h, m_hMemDC, t.sx, t.sy, SRCCOPY);
}

void ZoButtonBar::PaintButtons(HDC hdc, const CGroup& G, const Rect& U) {
    const std::int32_t back = TranslateColor(m_lButtonBackColor);
    const std::int32_t grad = TranslateColor(m_lButtonGradientColor);
    const bool hasPicture = static_cast<bool>(G.ButtonBackgroundPicture());
    HDC tile = 0;
    HBITMAP tileBitmap = 0;
    HGDIOBJ tilePrevious = 0;
    std::int32_t W = 0, H = 0;
    // Without a gradient the tile would be the plain background already under every cell.
    if (!hasPicture && m_eButtonGradientType != zoGradientNone) {
        W = m_eButtonSize == zoUserSpecified ? UserButtonWidthPx() : m_lButtonWidthPx;
        H = m_eButtonSize == zoUserSpecified ? UserButtonHeightPx() : m_lButtonHeightPx;
        tile = CreateCompatibleDC(hdc);
        if (tile != 0 && W > 0 && H > 0) {
            tileBitmap = CreateBitmap(W, H, static_cast<UINT>(GetDeviceCaps(hdc, PLANES)),
                                      static_cast<UINT>(GetDeviceCaps(hdc, BITSPIXEL)), nullptr);
            if (tileBitmap != 0) {
                tilePrevious = SelectObject(tile, tileBitmap);
                const Rect r{0, 0, W, H};
                if (m_bHasMsImg32)
                    FillGradientSmooth(*m_aResMgr, tile, r, grad, back, m_eButtonGradientType);
                else
                    FillGradientBanded(*m_aResMgr, tile, r, grad, back, m_eButtonGradientType);
            }
        }
    }
    const ButtonPtr hot = m_aHighlightedButton.lock();
    const RECT u = R32(U);
    struct PassEnd {
        bool& flag;
        ~PassEnd() { flag = false; }
    } passEnd{m_bPaintSizeMeasured};
    const auto paint = [&](const ButtonPtr& b) {
        if (!IsButtonShown(*b)) return;
        const RECT r = R32(b->ButtonRect());
        RECT meet;
        if (!IntersectRect(&meet, &r, &u)) return;
        if (tileBitmap != 0) BitBlt(hdc, r.left, r.top, W, H, tile, 0, 0, SRCCOPY);
        PaintButton(hdc, *b, b->ButtonRect(), b == hot);
        // A face drawn has measured the size for the rest of the pass.
        if (b->Picture()) m_bPaintSizeMeasured = true;
    };
    const auto& entries = G.Buttons()->Entries();
    std::int32_t first = 0, last = 0;
    if (&G == m_aActiveGroup.get() && ShownButtonRange(U, first, last)) {
        // Only the lines that can meet the area, in the same order.
        for (std::int32_t j = first; j < last; ++j) {
            const std::int32_t k = m_aButtonGrid[static_cast<std::size_t>(j)];
            if (k >= 1 && k <= entries.Count()) paint(entries.Item(k));
        }
    } else {
        for (const ButtonPtr& b : entries)
            paint(b);
    }
    if (tile != 0) {
        if (tilePrevious) SelectObject(tile, tilePrevious);
        if (tileBitmap) DeleteObject(tileBitmap);
        DeleteDC(tile);
    }
}

void ZoButtonBar::DrawButtonFrame(HDC hdc, const Rect& R, std::int32_t appearance) {
    RECT rc = R32(R);
    const bool standardFace = TranslateColor(m_lButtonBackColor) ==
                              TranslateColor(static_cast<std::int32_t>(0x8000000Fu));
    switch (appearance) {
        case zoFlatWithBorder: {
            UINT sides = BF_RIGHT | BF_BOTTOM;
            if (m_eButtonLayout == zoLinear)
                sides = m_eButtonFlow == zoHorizontal ? (BF_TOP | BF_RIGHT | BF_BOTTOM)
                                                      : (BF_LEFT | BF_RIGHT | BF_BOTTOM);
            DrawEdge(hdc, &rc, standardFace ? BDR_RAISEDOUTER : BDR_RAISEDINNER, BF_FLAT | sides);
            break;
        }
        case zoClassic3DRaised:
            DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
            break;
        case zoModern3dRaised:
            DrawEdge(hdc, &rc, BDR_RAISEDOUTER, BF_RECT);
            break;
        case zoClassic3dSunken:
            DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT);
            break;
        case zoModern3dSunken:
            DrawEdge(hdc, &rc, BDR_SUNKENINNER, BF_RECT);
            break;
        default:
            break;
    }
}

void ZoButtonBar::PaintButton(HDC hdc, const CButton& B, const Rect& R, bool hot) {
    Rect T{}, Z{};
    const bool hasFace = DrawButtonFace(hdc, B, R, T, Z, hot);
    const bool selected = m_aSelectedButton.get() == &B;
    if (hasFace && m_eShowButtonInfo == zoPictureAndCaption) {
        const std::int32_t fore = selected ? m_lSelectedButtonForeColor
                                  : hot    ? m_lHighlightedButtonForeColor
                                           : m_lButtonForeColor;
        const COLORREF oldColor = SetTextColor(hdc, static_cast<COLORREF>(TranslateColor(fore)));
        const HFONT font = m_aResMgr->GetFont(*m_aFont, "BUTTONFONT");
        const HGDIOBJ oldFont = font ? SelectObject(hdc, font) : 0;
        const int oldMode = SetBkMode(hdc, 1);
        RECT tr = R32(T);
        const std::string ansi = Utf8ToAnsi(B.Caption());
        DrawTextA(hdc, ansi.c_str(), static_cast<int>(ansi.size()), &tr,
                  DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS |
                      DT_WORD_ELLIPSIS);
        SetBkMode(hdc, oldMode);
        if (oldFont) SelectObject(hdc, oldFont);
        SetTextColor(hdc, oldColor);
    }
    const bool standardFace = TranslateColor(m_lButtonBackColor) ==
                              TranslateColor(static_cast<std::int32_t>(0x8000000Fu));
    const bool pictureZone = m_eButtonHighlightZone == zoZonePicture;
    if (!selected) {
        DrawButtonFrame(hdc, R, m_eButtonAppearance);
        if (hot) {
            RECT rc = R32(pictureZone ? Z : R);
            DrawEdge(hdc, &rc, standardFace ? BDR_RAISEDINNER : BDR_RAISEDOUTER, BF_RECT);
        }
    } else if (!pictureZone) {
        DrawButtonFrame(hdc, R, m_eSelectedButtonAppearance);
    } else if (m_eSelectedButtonAppearance == zoFlatWithBorder) {
        RECT rc = R32(Z);
        DrawEdge(hdc, &rc, standardFace ? BDR_RAISEDOUTER : BDR_RAISEDINNER, BF_RECT | BF_FLAT);
    } else {
        DrawButtonFrame(hdc, Z, m_eSelectedButtonAppearance);
    }
    if (hot && IsKeyDown(VK_LBUTTON)) DrawButtonFrame(hdc, pictureZone ? Z : R, zoClassic3dSunken);
}

bool ZoButtonBar::DrawButtonFace(HDC hdc, const CButton& B, const Rect& R, Rect& Tx, Rect& Z,
                                 bool hot) {
    const PicturePtr& picture = B.Picture();
    if (!picture) return false;
    layout::FaceInput in;
    in.cell = R;
    in.showInfo = m_eShowButtonInfo;
    in.textPosition = m_eButtonTextPosition;
    if (m_eButtonSize == zoUserSpecified) {
        in.buttonHeight = UserButtonHeightPx();
    } else {
        // Painting measures the automatic size again and keeps it; once per pass is enough.
        if (!m_bPaintSizeMeasured) {
            std::int32_t W, H;
            // While the last layout holds, measuring would give what it measured.
            if (const LayoutMemo* m = CurrentLayout(); m != nullptr && m->sizeExact) {
                W = m->W;
                H = m->H;
            } else {
                CalcAutoButtonSize(*m_aActiveGroup->Buttons(), W, H);
            }
            m_lButtonWidthPx = W;
            m_lButtonHeightPx = H;
        }
        in.buttonHeight = m_lButtonHeightPx;
    }
    in.maxPicWidth = m_lMaxPicWidth;
    in.maxPicHeight = m_lMaxPicHeight;
    in.captionHeight = m_lCaptionHeight;
    PictureSizePx(*picture, in.picWidth, in.picHeight);
    const layout::FaceGeometry g = layout::ButtonFace(in);
    Tx = g.caption;
    Z = g.zone;
    const bool hasBackground = m_aActiveGroup && m_aActiveGroup->ButtonBackgroundPicture();
    if (!hasBackground && m_eButtonGradientType == zoGradientNone) {
        const bool selected = m_aSelectedButton.get() == &B;
        const std::int32_t faceColor = TranslateColor(selected ? m_lSelectedButtonBackColor
                                                      : hot    ? m_lHighlightedButtonBackColor
                                                               : m_lButtonBackColor);
        // The background already lies under the cell in that colour, and with the automatic
        // size no other button draws into this cell: filling it again would change nothing.
        const bool sameAsBackground =
            m_eButtonSize == zoAutoCalculated && faceColor == TranslateColor(m_lButtonBackColor);
        if (!sameAsBackground) {
            const HBRUSH face = selected ? m_aResMgr->GetBrush(faceColor, "SELBACKCOLOR")
                                : hot    ? m_aResMgr->GetBrush(faceColor, "HTBACKCOLOR")
                                         : m_aResMgr->GetBrush(faceColor, "ButtonBackColor");
            const RECT rc = R32(R);
            FillRect(hdc, &rc, face);
        }
    }
    if (picture->Kind() == PictureType::Icon) {
        DrawStateA(hdc, 0, nullptr, static_cast<LPARAM>(picture->Handle()), 0, g.picX, g.picY,
                   in.picWidth, in.picHeight, DST_ICON | DSS_NORMAL);
    } else if (picture->Kind() == PictureType::Bitmap) {
        const HGDIOBJ old = SelectObject(m_hMemDC, picture->Handle());
        if (m_bHasMsImg32)
            TransparentBlt(hdc, g.picX, g.picY, in.picWidth, in.picHeight, m_hMemDC, 0, 0,
                           in.picWidth, in.picHeight, static_cast<UINT>(m_lButtonPictureMaskColor));
        else
            TransparentBlit(hdc, g.picX, g.picY, in.picWidth, in.picHeight, m_hMemDC, 0, 0,
                            in.picWidth, in.picHeight, m_lButtonPictureMaskColor);
        if (old) SelectObject(m_hMemDC, old);
    }
    return true;
}

}  // namespace zo
