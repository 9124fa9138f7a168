#include "render/Utils.h"

#include "host/OleColor.h"
#include "platform/Gdi.h"

namespace zo {

using namespace plat;

std::int32_t TranslateColor(std::int32_t oleColor) {
    return static_cast<std::int32_t>(TranslateOleColor(oleColor));
}

void SplitRGB(std::int32_t color, std::int32_t& red, std::int32_t& green, std::int32_t& blue) {
    red = color & 255;
    green = (color >> 8) & 255;
    blue = (color >> 16) & 255;
}

void CopyFont(StdFont& dst, const StdFont& src) {
    dst.SetBold(src.Bold());
    dst.SetCharset(src.Charset());
    dst.SetItalic(src.Italic());
    dst.SetName(src.Name());
    dst.SetSize(src.Size());
    dst.SetStrikethrough(src.Strikethrough());
    dst.SetUnderline(src.Underline());
    dst.SetWeight(src.Weight());
}

bool FontsDiffer(const StdFont& a, const StdFont& b) {
    return a.Bold() != b.Bold() || a.Charset() != b.Charset() || a.Italic() != b.Italic() ||
           a.Name() != b.Name() || a.SizeTenThousandths() != b.SizeTenThousandths() ||
           a.Strikethrough() != b.Strikethrough() || a.Underline() != b.Underline() ||
           a.Weight() != b.Weight();
}

bool PointInRect(float x, float y, const Rect& r) {
    const double px = x, py = y;
    return r.left < px && px < r.right && r.top < py && py < r.bottom;
}

bool TransparentBlit(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                     std::int32_t mask) {
    const HDC maskDc = CreateCompatibleDC(dst);
    const HDC colorDc = CreateCompatibleDC(dst);
    if (maskDc == 0 || colorDc == 0) {
        if (maskDc) DeleteDC(maskDc);
        if (colorDc) DeleteDC(colorDc);
        return false;
    }
    const HBITMAP monoBmp = CreateBitmap(sw, sh, 1, 1, nullptr);
    const HBITMAP colorBmp = CreateCompatibleBitmap(dst, sw, sh);
    const HGDIOBJ oldMono = monoBmp ? SelectObject(maskDc, monoBmp) : 0;
    const HGDIOBJ oldColor = colorBmp ? SelectObject(colorDc, colorBmp) : 0;
    bool drawn = false;
    if (monoBmp && colorBmp && oldMono && oldColor) {
        // Mask pixels become 1 in the monochrome copy and black in the colour copy.
        BitBlt(colorDc, 0, 0, sw, sh, src, sx, sy, SRCCOPY);
        const COLORREF oldBk = SetBkColor(colorDc, static_cast<COLORREF>(TranslateColor(mask)));
        BitBlt(maskDc, 0, 0, sw, sh, colorDc, 0, 0, SRCCOPY);
        // The 1 bits come back in the background colour, the mask colour, and cancel it.
        const COLORREF oldFg = SetTextColor(colorDc, RGB(0, 0, 0));
        BitBlt(colorDc, 0, 0, sw, sh, maskDc, 0, 0, SRCINVERT);
        SetTextColor(colorDc, oldFg);
        SetBkColor(colorDc, oldBk);
        const COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
        const COLORREF oldDstBk = SetBkColor(dst, RGB(255, 255, 255));
        if (w != sw || h != sh) {
            StretchBlt(dst, x, y, w, h, maskDc, 0, 0, sw, sh, SRCAND);
            StretchBlt(dst, x, y, w, h, colorDc, 0, 0, sw, sh, SRCINVERT);
        } else {
            BitBlt(dst, x, y, w, h, maskDc, 0, 0, SRCAND);
            BitBlt(dst, x, y, w, h, colorDc, 0, 0, SRCINVERT);
        }
        SetTextColor(dst, oldText);
        SetBkColor(dst, oldDstBk);
        drawn = true;
    }
    if (oldMono) SelectObject(maskDc, oldMono);
    if (oldColor) SelectObject(colorDc, oldColor);
    if (monoBmp) DeleteObject(monoBmp);
    if (colorBmp) DeleteObject(colorBmp);
    DeleteDC(maskDc);
    DeleteDC(colorDc);
    return drawn;
}

}  // namespace zo
