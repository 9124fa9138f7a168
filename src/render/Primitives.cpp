// Drawing primitives: gradients and scroll buttons with their arrows.
#include "render/Primitives.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "control/ZoButtonBar.h"
#include "core/Variant.h"
#include "platform/Gdi.h"
#include "render/CResoureMgr.h"
#include "render/Utils.h"

namespace zo {

using namespace plat;

std::int32_t NearestPx(double v) {
    if (!std::isfinite(v)) return 0;
    const double r = RoundHalfEven(v);
    if (r < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (r > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

std::int32_t MixColor(double f, std::int32_t C1, std::int32_t C2) {
    std::int32_t r1, g1, b1, r2, g2, b2;
    SplitRGB(C1, r1, g1, b1);
    SplitRGB(C2, r2, g2, b2);
    const auto mix = [f](std::int32_t a, std::int32_t b) {
        return std::clamp(NearestPx(f * a + (1.0 - f) * b), 0, 255);
    };
    return static_cast<std::int32_t>(RGB(mix(r1, r2), mix(g1, g2), mix(b1, b2)));
}

namespace {

bool Fits16(std::int64_t v) {
    return v >= -32768 && v <= 32767;
}

TRIVERTEX Vertex(LONG x, LONG y, std::int32_t color) {
    std::int32_t r, g, b;
    SplitRGB(color, r, g, b);
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(r * 256);
    v.Green = static_cast<COLOR16>(g * 256);
    v.Blue = static_cast<COLOR16>(b * 256);
    v.Alpha = 0;
    return v;
}

void Gradient(HDC hdc, LONG x0, LONG y0, std::int32_t c0, LONG x1, LONG y1, std::int32_t c1,
              ULONG mode) {
    const TRIVERTEX v[2] = {Vertex(x0, y0, c0), Vertex(x1, y1, c1)};
    const GRADIENT_RECT rect{0, 1};
    GradientFill(hdc, v, 2, &rect, 1, mode);
}

void Band(CResoureMgr& cache, HDC hdc, LONG l, LONG t, LONG r, LONG b, std::int32_t color) {
    const RECT rc{l, t, r, b};
    FillRect(hdc, &rc, cache.GetBrush(color, "GradStart"));
}

}  // namespace

void FillGradientSmooth(CResoureMgr& cache, HDC hdc, const Rect& R, std::int32_t C1,
                        std::int32_t C2, std::int32_t type) {
    const std::int64_t w = static_cast<std::int64_t>(R.right) - R.left;
    const std::int64_t h = static_cast<std::int64_t>(R.bottom) - R.top;
    // Extents are 16-bit in this routine; larger ones are refused quietly.
    if (!Fits16(w) || !Fits16(h)) return;
    switch (type) {
        case zoGradientNone: {
            const RECT rc{R.left, R.top, R.right, R.bottom};
            FillRect(hdc, &rc, cache.GetBrush(C2, "GradEnd"));
            return;
        }
        case zoGradientHorizontal:
            Gradient(hdc, R.left, R.top, C1, R.right, R.bottom, C2, GRADIENT_FILL_RECT_H);
            return;
        case zoGradientVertical:
            Gradient(hdc, R.left, R.top, C1, R.right, R.bottom, C2, GRADIENT_FILL_RECT_V);
            return;
        case zoGradientHorizontalCenter: {
            const LONG w2 = NearestPx(static_cast<double>(w) / 2.0);
            Gradient(hdc, R.left, R.top, C2, R.left + w2, R.bottom, C1, GRADIENT_FILL_RECT_H);
            Gradient(hdc, R.left + w2, R.top, C1, R.right, R.bottom, C2, GRADIENT_FILL_RECT_H);
            return;
        }
        case zoGradientVerticalCenter: {
            const LONG h2 = NearestPx(static_cast<double>(h) / 2.0);
            Gradient(hdc, R.left, R.top, C2, R.right, R.top + h2, C1, GRADIENT_FILL_RECT_V);
            Gradient(hdc, R.left, R.top + h2, C1, R.right, R.bottom, C2, GRADIENT_FILL_RECT_V);
            return;
        }
        default:
            return;
    }
}

void FillGradientBanded(CResoureMgr& cache, HDC hdc, const Rect& R, std::int32_t C1,
                        std::int32_t C2, std::int32_t type) {
    const std::int64_t w64 = static_cast<std::int64_t>(R.right) - R.left;
    const std::int64_t h64 = static_cast<std::int64_t>(R.bottom) - R.top;
    if (!Fits16(w64) || !Fits16(h64)) return;
    const double w = static_cast<double>(w64), h = static_cast<double>(h64);
    switch (type) {
        case zoGradientHorizontal: {
            if (w <= 0) return;
            double last = 1.5;
            LONG start = R.left;
            for (LONG x = R.left; x <= R.right; ++x) {
                const double f = (w - (x - R.left)) / w;
                if (std::fabs(last - f) > 0.025 || x == R.right) {
                    Band(cache, hdc, start, R.top, x, R.bottom, MixColor(f, C1, C2));
                    last = f;
                    start = x;
                }
            }
            return;
        }
        case zoGradientVertical: {
            if (h <= 0) return;
            double last = 1.5;
            LONG start = R.top;
            // No forced band at the end: rows after the last boundary keep what was there.
            for (LONG y = R.top; y <= R.bottom - 1; ++y) {
                const double f = (h - (y - R.top)) / h;
                if (std::fabs(last - f) > 0.025) {
                    Band(cache, hdc, R.left, start, R.right, y, MixColor(f, C1, C2));
                    last = f;
                    start = y;
                }
            }
            return;
        }
        case zoGradientHorizontalCenter: {
            const LONG w2 = NearestPx(w / 2.0);
            const LONG centre = R.left + w2;
            LONG previous = 0;
            for (LONG i = 0; i < w2; ++i) {
                const std::int32_t c = MixColor(static_cast<double>(w2 - i) / w2, C1, C2);
                Band(cache, hdc, centre + previous, R.top, centre + i, R.bottom, c);
                Band(cache, hdc, centre - i, R.top, centre - previous, R.bottom, c);
                previous = i;
            }
            return;
        }
        case zoGradientVerticalCenter: {
            const LONG h2 = NearestPx(h / 2.0);
            const LONG centre = R.top + h2;
            LONG previous = 0;
            for (LONG i = 0; i < h2; ++i) {
                const std::int32_t c = MixColor(static_cast<double>(h2 - i) / h2, C1, C2);
                Band(cache, hdc, R.left, centre + previous, R.right, centre + i, c);
                Band(cache, hdc, R.left, centre - i, R.right, centre - previous, c);
                previous = i;
            }
            return;
        }
        default:
            return;  // zoGradientNone and unknown values draw nothing here
    }
}

std::array<POINT, 3> ScrollArrowPoints(const Rect& R, std::int32_t direction) {
    const float W = static_cast<float>(R.right - R.left);
    const float H = static_cast<float>(R.bottom - R.top);
    POINT p0;
    std::int32_t a;
    switch (direction) {
        case kScrollUp:
            a = NearestPx(H / 4);
            p0 = {NearestPx((W - 2 * a) / 2 + R.left), NearestPx(R.bottom - (H - a) / 2)};
            return {p0, POINT{p0.x + a, p0.y - a}, POINT{p0.x + 2 * a, p0.y}};
        case kScrollDown:
            a = NearestPx(H / 4);
            p0 = {NearestPx((W - 2 * a) / 2 + R.left), NearestPx((H - a) / 2 + R.top)};
            return {p0, POINT{p0.x + a, p0.y + a}, POINT{p0.x + 2 * a, p0.y}};
        case kScrollLeft:
            a = NearestPx(W / 4);
            p0 = {NearestPx(R.right - (W - a) / 2), NearestPx((H - 2 * a) / 2 + R.top)};
            return {p0, POINT{p0.x - a, p0.y + a}, POINT{p0.x, p0.y + 2 * a}};
        default:
            a = NearestPx(W / 4);
            p0 = {NearestPx((W - a) / 2 + R.left), NearestPx((H - 2 * a) / 2 + R.top)};
            return {p0, POINT{p0.x + a, p0.y + a}, POINT{p0.x, p0.y + 2 * a}};
    }
}

// ---- Scroll buttons ----

void ZoButtonBar::DrawScrollButtons(HDC hdc) {
    const bool vertical = m_eButtonFlow != zoHorizontal;
    const bool tlHot = m_bScrollButtonHot && m_bTLScrollButtonHot;
    const bool brHot = m_bScrollButtonHot && !m_bTLScrollButtonHot;
    DrawScrollButton(hdc, m_rcTLScrollButton, vertical ? kScrollUp : kScrollLeft, tlHot);
    DrawScrollButton(hdc, m_rcBRScrollButton, vertical ? kScrollDown : kScrollRight, brHot);
}

void ZoButtonBar::DrawScrollButton(HDC hdc, const Rect& R, std::int32_t direction, bool hot) {
    if (hdc == 0) return;
    const std::int32_t back = TranslateColor(m_lButtonBackColor);
    const std::int32_t grad = TranslateColor(m_lButtonGradientColor);
    const bool hasPicture = m_aActiveGroup && m_aActiveGroup->ButtonBackgroundPicture();
    if (m_eButtonGradientType != zoGradientNone && !hasPicture && back != grad) {
        if (m_bHasMsImg32)
            FillGradientSmooth(*m_aResMgr, hdc, R, grad, back, m_eButtonGradientType);
        else
            FillGradientBanded(*m_aResMgr, hdc, R, grad, back, m_eButtonGradientType);
    }
    RECT rc{R.left, R.top, R.right, R.bottom};
    if (hot) {
        DrawEdge(hdc, &rc, BDR_RAISEDOUTER, BF_RECT);
    } else if (m_eButtonAppearance == zoFlatWithBorder) {
        static constexpr UINT kFacing[4] = {BF_BOTTOM, BF_TOP, BF_RIGHT, BF_LEFT};
        const bool standardFace = back == TranslateColor(static_cast<std::int32_t>(0x8000000Fu));
        DrawEdge(hdc, &rc, standardFace ? BDR_RAISEDOUTER : BDR_RAISEDINNER,
                 BF_FLAT | kFacing[direction & 3]);
    }
    DrawScrollArrow(hdc, R, direction);
}

void ZoButtonBar::DrawScrollArrow(HDC hdc, const Rect& R, std::int32_t direction) {
    const std::int32_t fore = TranslateColor(m_lButtonForeColor);
    const HGDIOBJ oldPen = SelectObject(hdc, m_aResMgr->GetPen(fore, "ArrowColor", 0, 0));
    const HGDIOBJ oldBrush = SelectObject(hdc, m_aResMgr->GetBrush(fore, "ArrowFillColor"));
    const std::array<POINT, 3> pts = ScrollArrowPoints(R, direction);
    Polygon(hdc, pts.data(), 3);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
}

}  // namespace zo
