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

// Coverage images placed from the pen pixel of the text's first glyph (glyphs following at the
// font's advances), to be blended in order. Glyphs go into one image until one would cover a
// pixel the image already covers, where blending twice is not blending once, or until the
// image would grow past kMaxPieceArea; then the next image starts.
struct GlyphRun {
    struct Piece {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> coverage;
    };
    std::vector<Piece> pieces;
    std::int64_t extent = 0;  // the farthest any piece reaches from the pen pixel, either axis

    static constexpr std::int64_t kMaxPieceArea = std::int64_t{1} << 15;
};

// The glyphs of text (Windows-1252) turned by angle, a multiple of 900.
GlyphRun MergeGlyphs(RealizedFont& font, std::string_view text, int angle);

}  // namespace zo::plat::text
