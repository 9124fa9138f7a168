// Whole-image checks over every combination: DrawEdge for every edge type, side set and flag
// on several sizes against a model built from the documented line order, and every one of the
// 256 ternary raster operations on colour, monochrome-to-colour and colour-to-monochrome blits.
// The per-case tests elsewhere sample pixels; these compare every pixel of the canvas.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/Gdi.h"
#include "platform/gdi_canvas.h"

namespace zo::plat {
namespace {

using test::Canvas;
using test::Sys;

constexpr COLORREF kBack = RGB(1, 2, 3);  // a colour no system colour has
constexpr int kNo = -1;

// ---- DrawEdge model ------------------------------------------------------------------------

struct Lines {
    int lto = kNo, lti = kNo, rbi = kNo, rbo = kNo;
};

// The colour table, one row per edge type 0..15, written out rather than derived so that a
// slip in the code's bit logic cannot hide in the same slip here.
constexpr int L = COLOR_3DLIGHT, H = COLOR_BTNHIGHLIGHT, S = COLOR_BTNSHADOW, D = COLOR_3DDKSHADOW;
const std::array<Lines, 16> kNormal = {{
    {},                // 0: nothing
    {L, kNo, kNo, D},  // 1 raised outer
    {S, kNo, kNo, H},  // 2 sunken outer
    {},                // 3 both outer bits: refused
    {H, kNo, kNo, S},  // 4 raised inner alone, in the outer position
    {L, H, S, D},      // 5 EDGE_RAISED
    {S, H, S, H},      // 6 EDGE_ETCHED
    {},                // 7
    {D, kNo, kNo, L},  // 8 sunken inner alone
    {L, D, L, D},      // 9 EDGE_BUMP
    {S, D, L, H},      // 10 EDGE_SUNKEN
    {},                // 11
    {},                // 12 both inner bits alone
    {L, kNo, kNo, D},  // 13 doubled inner: only the outer line
    {S, kNo, kNo, H},  // 14
    {},                // 15
}};
// BF_SOFT changes only the top-left colours.
const std::array<Lines, 16> kSoft = {{
    {},
    {H, kNo, kNo, D},
    {D, kNo, kNo, H},
    {},
    {L, kNo, kNo, S},
    {H, L, S, D},
    {D, L, S, H},
    {},
    {S, kNo, kNo, L},
    {H, S, L, D},
    {D, S, L, H},
    {},
    {},
    {H, kNo, kNo, D},
    {D, kNo, kNo, H},
    {},
}};

// BF_MONO beats BF_FLAT, which beats BF_SOFT: one colour per level on all four sides.
Lines EdgeLines(UINT edge, UINT flags) {
    const bool outer = (edge & BDR_OUTER) != 0, inner = (edge & BDR_INNER) != 0;
    if (flags & (BF_MONO | BF_FLAT)) {
        const int out = (flags & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
        const int in = (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE;
        if (outer) return {out, inner ? in : kNo, inner ? in : kNo, out};
        if (inner) return {in, kNo, kNo, in};
        return {};
    }
    return (flags & BF_SOFT) ? kSoft[edge & 15] : kNormal[edge & 15];
}

bool EdgeAccepted(UINT edge, UINT flags) {
    const bool doubled = (edge & BDR_OUTER) == BDR_OUTER || (edge & BDR_INNER) == BDR_INNER;
    return !doubled || (flags & (BF_FLAT | BF_MONO)) != 0;
}

class Expected {
public:
    Expected(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h), kBack) {}
    // Inclusive end points; nothing when the line is empty.
    void Line(int colour, int x0, int y0, int x1, int y1) {
        if (colour == kNo) return;
        Box(Sys(colour), x0, y0, x1 + 1, y1 + 1);
    }
    void Box(COLORREF c, int l, int t, int r, int b) {
        for (int y = std::max(t, 0); y < std::min(b, h_); ++y)
            for (int x = std::max(l, 0); x < std::min(r, w_); ++x)
                px_[static_cast<std::size_t>(y * w_ + x)] = c;
    }
    COLORREF At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }

private:
    int w_, h_;
    std::vector<COLORREF> px_;
};

// The eight lines in their documented order (later ones win the corners), then the middle.
Expected ModelEdge(int cw, int ch, RECT r, UINT edge, UINT flags, RECT& adjusted) {
    Expected e(cw, ch);
    const Lines k = EdgeLines(edge, flags);
    const bool top = flags & BF_TOP, left = flags & BF_LEFT, bottom = flags & BF_BOTTOM,
               right = flags & BF_RIGHT;
    const int a = top && left, b = top && right, c = bottom && left, d = bottom && right;
    const bool empty = r.left >= r.right || r.top >= r.bottom;
    if (!empty) {
        if (top) e.Line(k.lto, r.left, r.top, r.right - 1, r.top);
        if (left) e.Line(k.lto, r.left, r.top, r.left, r.bottom - 1);
        if (bottom) e.Line(k.rbo, r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
        if (right) e.Line(k.rbo, r.right - 1, r.top, r.right - 1, r.bottom - 1);
        if (top) e.Line(k.lti, r.left + a, r.top + 1, r.right - 1 - b, r.top + 1);
        if (left) e.Line(k.lti, r.left + 1, r.top + a, r.left + 1, r.bottom - 1 - c);
        if (bottom) e.Line(k.rbi, r.left + c, r.bottom - 2, r.right - 1 - d, r.bottom - 2);
        if (right) e.Line(k.rbi, r.right - 2, r.top + b, r.right - 2, r.bottom - 1 - d);
    }
    const int add = (k.lto != kNo || k.rbo != kNo) + (k.lti != kNo || k.rbi != kNo);
    RECT in = r;
    if (top) in.top += add;
    if (left) in.left += add;
    if (bottom) in.bottom -= add;
    if (right) in.right -= add;
    if ((flags & BF_MIDDLE) && EdgeAccepted(edge, flags))
        e.Box(Sys((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE), in.left, in.top, in.right,
              in.bottom);
    adjusted = (flags & BF_ADJUST) ? in : r;
    return e;
}

TEST(GdiExhaustive, DrawEdgeEveryTypeSideAndFlagOnSeveralSizes) {
    const SIZE sizes[] = {{1, 1}, {2, 2}, {3, 3}, {4, 5}, {5, 4}, {10, 7}};
    const UINT styles[] = {0,       BF_SOFT,           BF_FLAT,  BF_FLAT | BF_SOFT,
                           BF_MONO, BF_MONO | BF_FLAT, BF_ADJUST};
    int cases = 0, failures = 0;
    for (const SIZE sz : sizes) {
        // A margin on every side shows lines that stray outside the rectangle.
        const int cw = sz.cx + 6, ch = sz.cy + 6;
        Canvas c(cw, ch, kBack);
        for (UINT edge = 0; edge < 16; ++edge)
            for (UINT sides = 0; sides < 16; ++sides)
                for (const UINT style : styles)
                    for (const UINT middle : {0u, static_cast<UINT>(BF_MIDDLE)}) {
                        const UINT flags = sides | style | middle;
                        c.Fill(kBack);
                        RECT r{3, 3, 3 + sz.cx, 3 + sz.cy};
                        RECT want;
                        const Expected e = ModelEdge(cw, ch, r, edge, flags, want);
                        const BOOL ok = DrawEdge(c.dc, &r, edge, flags);
                        ++cases;
                        bool same = (ok != 0) == EdgeAccepted(edge, flags) && r == want;
                        for (int y = 0; y < ch && same; ++y)
                            for (int x = 0; x < cw && same; ++x)
                                same = c.Px(x, y) == e.At(x, y);
                        if (!same && ++failures <= 5)
                            ADD_FAILURE() << "size " << sz.cx << "x" << sz.cy << " edge " << edge
                                          << " flags 0x" << std::hex << flags;
                    }
    }
    EXPECT_EQ(failures, 0) << "of " << cases << " combinations";
}

TEST(GdiExhaustive, DrawEdgeUnderAnOriginAndClipMatchesTheModelInsideTheClip) {
    // The same model shifted by the origin, with everything outside the clip left alone.
    Canvas c(16, 12, kBack);
    SetViewportOrgEx(c.dc, 3, 2, nullptr);
    IntersectClipRect(c.dc, 1, -1, 7, 6);  // device columns 4..9, rows 1..7
    RECT r{0, 0, 9, 7};
    DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT);
    RECT unused;
    const Expected e =
        ModelEdge(16, 12, RECT{3, 2, 12, 9}, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT, unused);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 10 && y >= 1 && y < 8;
            EXPECT_EQ(c.Px(x, y), inside ? e.At(x, y) : kBack) << x << "," << y;
        }
}

// ---- Raster operations ---------------------------------------------------------------------

// The definition of a ternary operation: result bit i comes from bit (P<<2 | S<<1 | D) of the
// code, bit by bit across the pixel.
std::uint32_t Ternary(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t out = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const unsigned idx =
            (((p >> bit) & 1u) << 2) | (((s >> bit) & 1u) << 1) | ((d >> bit) & 1u);
        out |= ((code >> idx) & 1u) << bit;
    }
    return out;
}

DWORD RopOf(unsigned code) {
    // The low word is the operation's encoding, which the code may ignore; the named
    // operations are passed with theirs so that any table keyed on the whole value is used.
    switch (code) {
        case 0xCC:
            return SRCCOPY;
        case 0xEE:
            return SRCPAINT;
        case 0x88:
            return SRCAND;
        case 0x66:
            return SRCINVERT;
        case 0x44:
            return SRCERASE;
        case 0x33:
            return NOTSRCCOPY;
        case 0x11:
            return NOTSRCERASE;
        case 0xC0:
            return MERGECOPY;
        case 0xBB:
            return MERGEPAINT;
        case 0xF0:
            return PATCOPY;
        case 0xFB:
            return PATPAINT;
        case 0x5A:
            return PATINVERT;
        case 0x55:
            return DSTINVERT;
        case 0x00:
            return BLACKNESS;
        case 0xFF:
            return WHITENESS;
        default:
            return static_cast<DWORD>(code) << 16;
    }
}

class Brushed {
public:
    Brushed(HDC dc, COLORREF colour) : dc_(dc), brush_(CreateSolidBrush(colour)) {
        old_ = SelectObject(dc_, brush_);
    }
    ~Brushed() {
        SelectObject(dc_, old_);
        DeleteObject(brush_);
    }
    Brushed(const Brushed&) = delete;
    Brushed& operator=(const Brushed&) = delete;

private:
    HDC dc_;
    HBRUSH brush_;
    HGDIOBJ old_;
};

COLORREF Rgb(std::uint32_t v) {
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

TEST(GdiExhaustive, EveryTernaryOperationOnColourPixels) {
    // Two pixels per operand set; the second set has every channel different so that a
    // channel swap or a lost bit shows.
    const std::uint32_t P[2] = {0xF0F0F0, 0x3C5A96};
    const std::uint32_t Sv[2] = {0xCCCCCC, 0x0FF00F};
    const std::uint32_t Dv[2] = {0xAAAAAA, 0x6699CC};
    Canvas src(2, 1);
    for (int i = 0; i < 2; ++i)
        src.Put(i, 0, Rgb(Sv[i]));
    for (unsigned code = 0; code < 256; ++code) {
        SCOPED_TRACE(testing::Message() << "rop 0x" << std::hex << code);
        for (int i = 0; i < 2; ++i) {
            Canvas dst(1, 1, Rgb(Dv[i]));
            Brushed brush(dst.dc, Rgb(P[i]));
            EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, i, 0, RopOf(code)));
            EXPECT_EQ(dst.Px(0, 0),
                      Rgb(Ternary(static_cast<std::uint8_t>(code), P[i], Sv[i], Dv[i])));
            EXPECT_EQ(dst.Raw(0, 0) >> 24, 0xFFu);
        }
    }
}

TEST(GdiExhaustive, EveryTernaryOperationFromAMonochromeSource) {
    // 0 bits become the destination's text colour and 1 bits its background colour before the
    // operation, so with those set to ~0xCC and 0xCC both bit values meet every P and D.
    const std::uint32_t text = 0x333333, back = 0xCCCCCC, p = 0xF0F0F0, d = 0xAAAAAA;
    Canvas mono(2, 1, RGB(255, 255, 255), 1);
    mono.Put(0, 0, RGB(0, 0, 0));
    for (unsigned code = 0; code < 256; ++code) {
        SCOPED_TRACE(testing::Message() << "rop 0x" << std::hex << code);
        Canvas dst(2, 1, Rgb(d));
        SetTextColor(dst.dc, Rgb(text));
        SetBkColor(dst.dc, Rgb(back));
        Brushed brush(dst.dc, Rgb(p));
        BitBlt(dst.dc, 0, 0, 2, 1, mono.dc, 0, 0, RopOf(code));
        const auto c8 = static_cast<std::uint8_t>(code);
        EXPECT_EQ(dst.Px(0, 0), Rgb(Ternary(c8, p, text, d)));
        EXPECT_EQ(dst.Px(1, 0), Rgb(Ternary(c8, p, back, d)));
    }
}

TEST(GdiExhaustive, EveryTernaryOperationOntoAMonochromeTarget) {
    // Colour source pixels equal to the source's background colour are 1, others 0; the
    // eight (P, S, D) bit triples are laid out as pixels, P coming from a black or a white brush.
    const COLORREF key = RGB(10, 200, 30);
    Canvas src(8, 1, RGB(10, 200, 31));  // near the key is still 0
    SetBkColor(src.dc, key);
    for (int i = 0; i < 8; ++i)
        if (i & 2) src.Put(i, 0, key);
    for (unsigned code = 0; code < 256; ++code) {
        SCOPED_TRACE(testing::Message() << "rop 0x" << std::hex << code);
        Canvas dst(8, 1, RGB(0, 0, 0), 1);
        for (int i = 0; i < 8; ++i)
            if (i & 1) dst.Put(i, 0, RGB(255, 255, 255));
        for (const int pbit : {0, 1}) {
            const HGDIOBJ old =
                SelectObject(dst.dc, GetStockObject(pbit ? WHITE_BRUSH : BLACK_BRUSH));
            BitBlt(dst.dc, pbit * 4, 0, 4, 1, src.dc, pbit * 4, 0, RopOf(code));
            SelectObject(dst.dc, old);
        }
        for (int i = 0; i < 8; ++i) {
            const bool set = (code >> i) & 1u;
            EXPECT_EQ(dst.Px(i, 0), set ? RGB(255, 255, 255) : RGB(0, 0, 0)) << "P S D = " << i;
        }
    }
}

TEST(GdiExhaustive, EveryPatternOperationOfPatBlt) {
    // PatBlt takes the operations that need no source: their code is the same with S = 0 and
    // S = 1 (bits 0,1,4,5 equal bits 2,3,6,7).
    const std::uint32_t p = 0x3C5A96, d = 0x6699CC;
    int tried = 0;
    for (unsigned code = 0; code < 256; ++code) {
        if (((code >> 2) & 0x33) != (code & 0x33)) continue;
        ++tried;
        SCOPED_TRACE(testing::Message() << "rop 0x" << std::hex << code);
        Canvas dst(3, 2, Rgb(d));
        Brushed brush(dst.dc, Rgb(p));
        EXPECT_TRUE(PatBlt(dst.dc, 1, 0, 1, 2, RopOf(code)));
        const COLORREF want = Rgb(Ternary(static_cast<std::uint8_t>(code), p, 0, d));
        EXPECT_EQ(dst.Px(1, 0), want);
        EXPECT_EQ(dst.Px(1, 1), want);
        EXPECT_EQ(dst.Count(Rgb(d), 0, 0, 1, 2) + dst.Count(Rgb(d), 2, 0, 3, 2), 4);
    }
    EXPECT_EQ(tried, 16);
}

}  // namespace
}  // namespace zo::plat
