// Helpers of the text tests: LOGFONTs by face and size, a font selected for a scope, and a
// canvas with a font that draws black text on a transparent background.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/gdi_canvas.h"

namespace zo::plat::test {

inline LOGFONTA Lf(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0,
                   LONG escapement = 0) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfEscapement = lf.lfOrientation = escapement;
    std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    return lf;
}

// A font made from lf, selected into a DC for the life of the object.
class UseFont : public Owned {
public:
    UseFont(HDC dc, const LOGFONTA& lf) : Owned(CreateFontIndirectA(&lf), dc) {}
};

// The bounding box (right and bottom exclusive) and count of the pixels that are not the
// background.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
    int count = 0;
};

inline Ink InkOf(const Canvas& c, COLORREF background = RGB(255, 255, 255)) {
    Ink ink;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (c.Px(x, y) == background) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x + 1);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    return ink;
}

class TextCanvas : public Canvas {
public:
    TextCanvas(int width, int height, const LOGFONTA& lf = Lf("MS Sans Serif", -16))
        : Canvas(width, height), font_(std::make_unique<UseFont>(dc, lf)) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
    }
    TEXTMETRICA Tm() const {
        TEXTMETRICA tm;
        EXPECT_TRUE(GetTextMetricsA(dc, &tm));
        return tm;
    }
    SIZE Extent(std::string_view s) const {
        SIZE sz{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &sz));
        return sz;
    }
    int Cx(const std::string& s) const { return Extent(s).cx; }
    std::string Face() const {
        char name[64] = {};
        EXPECT_GT(GetTextFaceA(dc, sizeof name, name), 0);
        return name;
    }
    void Out(int x, int y, const std::string& s) const {
        EXPECT_TRUE(TextOutA(dc, x, y, s.data(), static_cast<int>(s.size())));
    }
    // Clears the canvas, draws s at (x, y) with TextOutA and tells where the ink went.
    Ink Inked(int x, int y, const std::string& s) const {
        Fill(RGB(255, 255, 255));
        Out(x, y, s);
        return InkOf(*this);
    }
    // Clears the canvas and draws s with DrawTextA, returning what DrawTextA returns.
    int Draw(const std::string& s, RECT r, UINT format) const {
        Fill(RGB(255, 255, 255));
        return DrawTextA(dc, s.c_str(), -1, &r, format);
    }
    bool SamePixels(const Canvas& o) const { return Bits().pixels == o.Bits().pixels; }

private:
    std::unique_ptr<UseFont> font_;
};

// The face a font of that name lands on.
inline std::string FaceOf(const char* requested) {
    return TextCanvas(1, 1, Lf(requested, -12)).Face();
}

}  // namespace zo::plat::test
