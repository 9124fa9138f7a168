// A small memory DC over a 32-bit bitmap for the raster tests, with direct pixel reads that
// do not go through the code under test.
#pragma once

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Image.h"
#include "platform/image/ImageCompare.h"

namespace zo::plat::test {

// Letters standing for colours in pictures of pixels.
using Key = std::vector<std::pair<COLORREF, char>>;

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bpp = 32) {
        dc = CreateCompatibleDC(0);
        bitmap = CreateBitmap(width, height, 1, static_cast<UINT>(bpp), nullptr);
        previous = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Bitmap& Bits() const { return GetGdi(bitmap, GdiKind::Bitmap)->bitmap; }
    int Width() const { return Bits().width; }
    int Height() const { return Bits().height; }

    void Fill(COLORREF c) const {
        Bitmap& b = Bits();
        for (auto& p : b.pixels)
            p = PixelFromColorRef(c);
        for (auto& m : b.mono)
            m = (c & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
    }
    // The colour at (x, y) in bitmap pixels; for 1-bit bitmaps black or white.
    COLORREF Px(int x, int y) const {
        const Bitmap& b = Bits();
        if (b.bpp == 1) return b.mono[Index(b, x, y)] ? RGB(255, 255, 255) : RGB(0, 0, 0);
        return ColorRefFromPixel(b.pixels[Index(b, x, y)]);
    }
    Pixel Raw(int x, int y) const {
        const Bitmap& b = Bits();
        return b.pixels[Index(b, x, y)];
    }
    void Put(int x, int y, COLORREF c) const {
        Bitmap& b = Bits();
        if (b.bpp == 1)
            b.mono[Index(b, x, y)] = (c & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        else
            b.pixels[Index(b, x, y)] = PixelFromColorRef(c);
    }
    // Number of pixels of colour c inside [x0,x1) x [y0,y1).
    int Count(COLORREF c, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Px(x, y) == c;
        return n;
    }
    int Count(COLORREF c) const { return Count(c, 0, 0, Width(), Height()); }
    // Pixels as text, so one comparison checks many and a failure shows them: each pixel the
    // character of its colour in `key`, else '?'. Show gives the whole image, rows joined by
    // '|'; Pick the pixels at the given points.
    std::string Show(const Key& key) const {
        std::string s;
        for (int y = 0; y < Height(); ++y) {
            if (y > 0) s += '|';
            for (int x = 0; x < Width(); ++x)
                s += Letter(key, x, y);
        }
        return s;
    }
    std::string Pick(const Key& key, std::initializer_list<POINT> at) const {
        std::string s;
        for (const POINT& p : at)
            s += Letter(key, p.x, p.y);
        return s;
    }

    HDC dc = 0;
    HBITMAP bitmap = 0;
    HGDIOBJ previous = 0;

private:
    char Letter(const Key& key, int x, int y) const {
        for (const auto& [colour, letter] : key)
            if (Px(x, y) == colour) return letter;
        return '?';
    }
    static std::size_t Index(const Bitmap& b, int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
               static_cast<std::size_t>(x);
    }
};

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kMagenta = RGB(255, 0, 255);
// White '.', black '#', red 'R', green 'G', blue 'B' and magenta 'M'.
inline const Key kPlain = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'R'},
                           {kGreen, 'G'}, {kBlue, 'B'},  {kMagenta, 'M'}};

// A drawing object deleted at the end of the scope; when given a DC it is selected into it
// for the scope and the previous object put back first.
class Owned {
public:
    explicit Owned(HGDIOBJ object, HDC dc = 0) : object_(object), dc_(dc) {
        if (dc_) old_ = SelectObject(dc_, object_);
    }
    ~Owned() {
        if (dc_) SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator HGDIOBJ() const { return object_; }

private:
    HGDIOBJ object_;
    HDC dc_;
    HGDIOBJ old_ = 0;
};

// Canvases laid side by side, rows top to bottom, in one image compared exactly with
// tests/golden/<name>.png: one reference image holds many small drawings. Add copies the
// pixels at the time of the call (alpha left out) through Px, not through the code under test.
class Sheet {
public:
    void Add(const Canvas& c) {
        if (rows_.empty()) NewRow();
        rows_.back().emplace_back();
        rows_.back().back().width = c.Width();
        rows_.back().back().height = c.Height();
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x)
                rows_.back().back().pixels.push_back(PixelFromColorRef(c.Px(x, y)));
    }
    void NewRow() { rows_.emplace_back(); }
    // "" on a match; tiles are one pixel apart on a grey ground.
    std::string Compare(const std::string& name) const {
        Image out;
        out.height = 1;
        for (const auto& row : rows_) {
            int w = 1, h = 0;
            for (const Image& t : row)
                w += t.width + 1, h = std::max(h, t.height);
            out.width = std::max(out.width, w);
            out.height += h + 1;
        }
        out.pixels.assign(static_cast<std::size_t>(out.width * out.height), 0xFF808080u);
        int top = 1;
        for (const auto& row : rows_) {
            int left = 1, h = 0;
            for (const Image& t : row) {
                for (int y = 0; y < t.height; ++y)
                    for (int x = 0; x < t.width; ++x)
                        out.pixels[static_cast<std::size_t>((top + y) * out.width + left + x)] =
                            t.At(x, y);
                left += t.width + 1, h = std::max(h, t.height);
            }
            top += h + 1;
        }
        const std::filesystem::path golden = std::filesystem::path(ZO_SOURCE_DIR) / "tests/golden";
        return CompareWithReference(out, golden / (name + ".png"),
                                    std::filesystem::path(ZO_BINARY_DIR) / "golden-out" /
                                        std::filesystem::path(name).parent_path());
    }

private:
    std::vector<std::vector<Image>> rows_;
};

}  // namespace zo::plat::test
