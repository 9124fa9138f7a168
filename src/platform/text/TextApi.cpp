// The text calls of the platform over the font engine, the layout and the painter: they find
// the DC's font, translate to target pixels, clip, and draw.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>

#include "platform/Text.h"
#include "platform/text/FontEngine.h"
#include "platform/text/Layout.h"
#include "platform/text/Paint.h"

namespace zo::plat {

namespace {

constexpr std::int64_t kCoordLimit = std::int64_t{1} << 29;

LONG Clamp(std::int64_t v) {
    return static_cast<LONG>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

struct SelectedFont {
    RealizedFont* font = nullptr;
    const LOGFONTA* lf = nullptr;
};

// The DC's font; a DC without one uses the default GUI font.
SelectedFont FontOf(const DeviceContext& dc) {
    if (GdiObject* o = GetGdi(dc.state.font, GdiKind::Font)) {
        if (RealizedFont* rf = text::RealizedOf(o->font)) return SelectedFont{rf, &o->font.lf};
    }
    thread_local const LOGFONTA defaultLf = DefaultGuiLogFont();
    thread_local std::shared_ptr<RealizedFont> defaultFont;
    if (!defaultFont) defaultFont = text::RealizeFont(defaultLf);
    return SelectedFont{defaultFont.get(), &defaultLf};
}

std::int64_t WidthOf(RealizedFont& font, std::string_view s, const int* dx) {
    std::int64_t w = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        w += dx != nullptr ? dx[i] : font.Advance(static_cast<unsigned char>(s[i]));
    return w;
}

RECT Normalized(RECT r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

RECT ToTarget(const RECT& r, POINT off) {
    return RECT{Clamp(std::int64_t{r.left} + off.x), Clamp(std::int64_t{r.top} + off.y),
                Clamp(std::int64_t{r.right} + off.x), Clamp(std::int64_t{r.bottom} + off.y)};
}

// One run of text with its cell's top-left at frame point (u, v): the background box when
// opaque, the glyphs, then the font's underline and strike-out.
struct RunStyle {
    COLORREF text = 0;
    COLORREF back = 0;
    bool opaque = false;
    bool glyphs = true;
};

void PaintRun(const text::PaintTarget& t, const text::TextFrame& f, RealizedFont& font,
              const LOGFONTA& lf, std::string_view s, std::int64_t u, std::int64_t v,
              std::int64_t width, const int* dx, const RunStyle& style) {
    const text::FontMetrics& m = font.Metrics();
    if (style.opaque) text::FillFrameRect(t, f, u, v, u + width, v + m.height, style.back);
    if (!style.glyphs) return;
    text::DrawGlyphs(t, f, font, s, u, v, dx, style.text);
    if (lf.lfUnderline != 0)
        text::FillFrameRect(t, f, u, v + m.underlineRow, u + width, v + m.underlineRow + 1,
                            style.text);
    if (lf.lfStrikeOut != 0)
        text::FillFrameRect(t, f, u, v + m.strikeRow, u + width, v + m.strikeRow + 1, style.text);
}

// A distance along the text turned into a target offset.
POINT AlongText(int angle, std::int64_t d) {
    switch (angle) {
        case 0:
            return POINT{Clamp(d), 0};
        case 900:
            return POINT{0, Clamp(-d)};
        case 1800:
            return POINT{Clamp(-d), 0};
        case 2700:
            return POINT{0, Clamp(d)};
        default:
            break;
    }
    const double r = angle * std::numbers::pi / 1800.0;
    return POINT{Clamp(std::llround(static_cast<double>(d) * std::cos(r))),
                 Clamp(std::llround(-static_cast<double>(d) * std::sin(r)))};
}

int DrawTextImpl(HDC hdc, std::string_view str, RECT* rect, UINT format, std::string* modify) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || rect == nullptr) return 0;
    const SelectedFont sel = FontOf(*dc);
    if (sel.font == nullptr) return 0;
    RealizedFont& font = *sel.font;
    const text::FontMetrics& m = font.Metrics();
    const text::LayoutMetrics lm{m.height, m.ascent, m.externalLeading, m.aveCharWidth};
    const int angle = text::NormalizeAngle(sel.lf->lfEscapement);
    const bool quarter = angle % 900 == 0;

    // Quarter turns lay the text out in the rectangle turned with the font: the frame's origin
    // is the rectangle's corner where the first line starts.
    const RECT r = *rect;
    const std::int64_t w = std::int64_t{r.right} - r.left;
    const std::int64_t h = std::int64_t{r.bottom} - r.top;
    RECT frameRect = r;
    POINT frameOrigin{0, 0};
    switch (quarter ? angle : 0) {
        case 900:
            frameRect = RECT{0, 0, Clamp(h), Clamp(w)},
            frameOrigin = {r.left, Clamp(std::int64_t{r.bottom} - 1)};
            break;
        case 1800:
            frameRect = RECT{0, 0, Clamp(w), Clamp(h)},
            frameOrigin = {Clamp(std::int64_t{r.right} - 1), Clamp(std::int64_t{r.bottom} - 1)};
            break;
        case 2700:
            frameRect = RECT{0, 0, Clamp(h), Clamp(w)},
            frameOrigin = {Clamp(std::int64_t{r.right} - 1), r.top};
            break;
        default:
            break;
    }
    text::LayoutCache& layouts = font.Layouts();
    const text::TextLayout* known = layouts.Find(str, format, frameRect);
    const text::TextLayout& layout =
        known != nullptr
            ? *known
            : layouts.Store(
                  str, format, frameRect,
                  text::LayoutDrawText(str, format, frameRect, lm,
                                       [&font](std::string_view s) { return font.Measure(s); }));
    if (modify != nullptr && layout.modified) *modify = layout.modifiedText;

    if ((format & DT_CALCRECT) != 0) {
        const std::int64_t cw = std::int64_t{layout.calcRect.right} - layout.calcRect.left;
        const std::int64_t ch = std::int64_t{layout.calcRect.bottom} - layout.calcRect.top;
        switch (quarter ? angle : 0) {
            case 900:
                *rect = RECT{r.left, Clamp(r.bottom - cw), Clamp(r.left + ch), r.bottom};
                break;
            case 1800:
                *rect = RECT{Clamp(r.right - cw), Clamp(r.bottom - ch), r.right, r.bottom};
                break;
            case 2700:
                *rect = RECT{Clamp(r.right - ch), r.top, r.right, Clamp(r.top + cw)};
                break;
            default:
                *rect = layout.calcRect;
                break;
        }
        return layout.height;
    }

    // Translate, clip, return if empty, draw.
    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return layout.height;
    const POINT off = DeviceOffset(*dc);
    Region clip = EffectiveClip(*dc);
    if (layout.clip) clip.Intersect(ToTarget(Normalized(r), off));
    if (clip.Empty()) return layout.height;
    const text::PaintTarget t{target, &clip};
    RunStyle style{dc->state.textColor, dc->state.bkColor, dc->state.bkMode == OPAQUE,
                   layout.drawText};
    for (const text::LaidLine& line : layout.lines) {
        // Other angles turn each line about its own start.
        text::TextFrame f{POINT{Clamp(std::int64_t{frameOrigin.x} + off.x),
                                Clamp(std::int64_t{frameOrigin.y} + off.y)},
                          angle};
        std::int64_t du = 0;
        std::int64_t dv = 0;
        if (!quarter) {
            f.origin =
                POINT{Clamp(std::int64_t{line.x} + off.x), Clamp(std::int64_t{line.y} + off.y)};
            du = -std::int64_t{line.x};
            dv = -std::int64_t{line.y};
        }
        if (style.opaque && style.glyphs)
            text::FillFrameRect(t, f, line.x + du, line.y + dv, line.x + du + line.width,
                                line.y + dv + m.height, style.back);
        RunStyle runStyle = style;
        runStyle.opaque = false;
        for (const text::LaidRun& run : line.runs)
            PaintRun(t, f, font, *sel.lf, run.text, run.x + du, line.y + dv,
                     WidthOf(font, run.text, nullptr), nullptr, runStyle);
        if (line.underline)
            text::FillFrameRect(t, f, line.underlineLeft + du, line.underlineY + dv,
                                std::int64_t{line.underlineRight} + 1 + du,
                                std::int64_t{line.underlineY} + 1 + dv, style.text);
    }
    return layout.height;
}

}  // namespace

LOGFONTA DefaultGuiLogFont() {
    LOGFONTA lf;
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::memcpy(lf.lfFaceName, "MS Sans Serif", sizeof "MS Sans Serif");
    return lf;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || metrics == nullptr) return FALSE;
    const SelectedFont sel = FontOf(*dc);
    if (sel.font == nullptr) return FALSE;
    const text::FontMetrics& m = sel.font->Metrics();
    const LOGFONTA& lf = *sel.lf;
    TEXTMETRICA tm;
    tm.tmHeight = m.height;
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = m.externalLeading;
    tm.tmAveCharWidth = m.aveCharWidth;
    tm.tmMaxCharWidth = m.maxCharWidth;
    tm.tmWeight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(lf.lfWeight, 1000);
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = lf.lfItalic != 0 ? 255 : 0;
    tm.tmUnderlined = lf.lfUnderline != 0 ? 255 : 0;
    tm.tmStruckOut = lf.lfStrikeOut != 0 ? 255 : 0;
    tm.tmPitchAndFamily = m.pitchAndFamily;
    tm.tmCharSet = lf.lfCharSet;
    *metrics = tm;
    return TRUE;
}

int GetTextFaceA(HDC hdc, int count, char* name) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr) return 0;
    const SelectedFont sel = FontOf(*dc);
    if (sel.font == nullptr) return 0;
    const std::string face = Utf8ToAnsi(sel.font->Family());
    if (name == nullptr) return static_cast<int>(face.size()) + 1;
    if (count <= 0) return 0;
    const std::size_t n = std::min(static_cast<std::size_t>(count) - 1, face.size());
    std::memcpy(name, face.data(), n);
    name[n] = '\0';
    return static_cast<int>(n) + 1;
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0))
        return FALSE;
    const SelectedFont sel = FontOf(*dc);
    if (sel.font == nullptr) return FALSE;
    const std::string_view s(text == nullptr ? "" : text, static_cast<std::size_t>(count));
    size->cx = Clamp(WidthOf(*sel.font, s, nullptr));
    size->cy = count == 0 ? 0 : sel.font->Metrics().height;
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
    if (count < 0) return FALSE;
    return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, const char* text,
                 UINT count, const int* dx) {
    DeviceContext* dc = GetDcPtr(hdc);
    if (dc == nullptr || (text == nullptr && count > 0)) return FALSE;
    const SelectedFont sel = FontOf(*dc);
    if (sel.font == nullptr) return FALSE;
    RealizedFont& font = *sel.font;
    const text::FontMetrics& m = font.Metrics();
    const std::string_view s(text == nullptr ? "" : text, count);
    const std::int64_t width = WidthOf(font, s, dx);
    const int angle = text::NormalizeAngle(sel.lf->lfEscapement);
    const UINT align = dc->state.textAlign;

    POINT ref{x, y};
    if ((align & TA_UPDATECP) != 0) {
        ref = dc->state.currentPos;
        // The current position moves past the text (back over it when right-aligned).
        const UINT h = align & TA_CENTER;
        const std::int64_t move = h == TA_CENTER ? 0 : h == TA_RIGHT ? -width : width;
        const POINT d = AlongText(angle, move);
        dc->state.currentPos =
            POINT{Clamp(std::int64_t{ref.x} + d.x), Clamp(std::int64_t{ref.y} + d.y)};
    }
    // The reference point's place in the cell, in the text's own frame.
    std::int64_t u = 0;
    std::int64_t v = 0;
    switch (align & TA_CENTER) {
        case TA_RIGHT:
            u = -width;
            break;
        case TA_CENTER:
            u = -width / 2;
            break;
        default:
            break;
    }
    switch (align & TA_BASELINE) {
        case TA_BOTTOM:
            v = -m.height;
            break;
        case TA_BASELINE:
            v = -m.ascent;
            break;
        default:
            break;
    }

    Bitmap* target = TargetOf(*dc);
    if (target == nullptr) return TRUE;
    const POINT off = DeviceOffset(*dc);
    const text::TextFrame f{
        POINT{Clamp(std::int64_t{ref.x} + off.x), Clamp(std::int64_t{ref.y} + off.y)}, angle};
    const Region& visible = EffectiveClip(*dc);
    if (rect != nullptr && (options & ETO_OPAQUE) != 0) {
        const RECT box = ToTarget(Normalized(*rect), off);
        Region fill = visible;
        fill.Intersect(box);
        if (!fill.Empty()) {
            const text::PaintTarget t{target, &fill};
            text::FillFrameRect(t, text::TextFrame{POINT{0, 0}, 0}, box.left, box.top, box.right,
                                box.bottom, dc->state.bkColor);
        }
    }
    Region clip = visible;
    if (rect != nullptr && (options & ETO_CLIPPED) != 0)
        clip.Intersect(ToTarget(Normalized(*rect), off));
    if (clip.Empty() || s.empty()) return TRUE;
    const text::PaintTarget t{target, &clip};
    const RunStyle style{dc->state.textColor, dc->state.bkColor, dc->state.bkMode == OPAQUE, true};
    PaintRun(t, f, font, *sel.lf, s, u, v, width, dx, style);
    return TRUE;
}

int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format) {
    if (text == nullptr || rect == nullptr || count == 0 || count < -1) return 0;
    const std::size_t len = count == -1 ? std::strlen(text) : static_cast<std::size_t>(count);
    return DrawTextImpl(hdc, std::string_view(text, len), rect, format & ~DT_MODIFYSTRING, nullptr);
}

int DrawTextA(HDC hdc, std::string& text, RECT* rect, UINT format) {
    const std::string copy = text;
    return DrawTextImpl(hdc, copy, rect, format, &text);
}

}  // namespace zo::plat
