// Putting text on a bitmap: glyph coverage blended in a colour, background boxes and 1-px
// lines, all placed in a text frame that may be turned, and all limited to a clip region in
// target pixels. Internal to the drawing layer.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/GdiInternal.h"
#include "platform/text/FontEngine.h"

namespace zo::plat::text {

// Coordinates of text: u runs along the baseline, v down the glyphs. Frame pixel (0, 0) is the
// target pixel origin. Turned by a multiple of 90 degrees, frame pixel (u, v) is target pixel
// origin + (u, v), (v, -u), (-u, -v) or (-v, u); other angles turn the plane continuously about
// origin's top-left corner.
struct TextFrame {
    POINT origin;
    int angle = 0;  // tenths of a degree, 0..3599

    bool Quarter() const { return angle % 900 == 0; }
};

struct PaintTarget {
    Bitmap* bitmap = nullptr;
    const Region* clip = nullptr;  // target pixels, inside the bitmap
};

// Blends a coverage image (0..255 per pixel) at target (x, y) in color; 1-bit targets take
// the pixels whose coverage is at least half.
void BlendCoverage(const PaintTarget& t, int x, int y, int width, int height,
                   const std::uint8_t* coverage, COLORREF color);

// Fills the frame rectangle [u0, u1) x [v0, v1) with color.
void FillFrameRect(const PaintTarget& t, const TextFrame& f, std::int64_t u0, std::int64_t v0,
                   std::int64_t u1, std::int64_t v1, COLORREF color);

// Draws the glyphs of text with its cell's top-left at frame point (u, v); dx, when given,
// holds one advance per byte instead of the font's.
void DrawGlyphs(const PaintTarget& t, const TextFrame& f, RealizedFont& font, std::string_view text,
                std::int64_t u, std::int64_t v, const int* dx, COLORREF color);

}  // namespace zo::plat::text
