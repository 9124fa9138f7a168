// A text's glyphs at a quarter turn merged into a few coverage images, so that drawing the text
// blends a few long rows instead of many short ones per glyph. Internal to the drawing layer.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zo::plat {
struct RealizedFont;
}

namespace zo::plat::text {

// The coverage image of one glyph in device orientation: width x height bytes (0..255), row
// by row, whose top-left pixel lies at (left, top) from the glyph's pen pixel. For text turned
// by a multiple of 90 degrees the pen pixel is the turned image of the upright one; for other
// angles it is the pen point rounded to the nearest pixel corner.
struct GlyphImage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};

// Coverage images placed from the pen pixel of the text's first glyph (glyphs following at the
// font's advances), to be blended in order. Glyphs go into one image until one would cover a
// pixel the image already covers, where blending twice is not blending once, or until the
// image would grow past kMaxPieceArea; then the next image starts.
struct GlyphRun {
    using Piece = GlyphImage;  // placed from the pen pixel of the run's first glyph
    std::vector<Piece> pieces;
    std::int64_t extent = 0;  // the farthest any piece reaches from the pen pixel, either axis

    static constexpr std::int64_t kMaxPieceArea = std::int64_t{1} << 15;
};

// The glyphs of text (Windows-1252) turned by angle, a multiple of 900.
GlyphRun MergeGlyphs(RealizedFont& font, std::string_view text, int angle);

}  // namespace zo::plat::text
