// Merging a text's glyph images into a few coverage images.
#include "platform/text/GlyphRun.h"

#include <algorithm>
#include <cstring>

#include "platform/text/FontEngine.h"

namespace zo::plat::text {

namespace {

// A glyph's image box from the pen pixel of the first glyph.
struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    std::int64_t Area() const { return (right - left) * (bottom - top); }
};

Box Union(const Box& a, const Box& b) {
    return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

Box Intersect(const Box& a, const Box& b) {
    return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
}

struct Placed {
    const GlyphImage* image;
    Box box;
};

// True when the glyph at `at` covers a pixel that the merged image over `box` covers already.
bool Meets(const std::vector<std::uint8_t>& merged, const Box& box, const GlyphImage& g,
           const Box& at) {
    const Box both = Intersect(box, at);
    const auto width = static_cast<std::size_t>(box.right - box.left);
    for (std::int64_t y = both.top; y < both.bottom; ++y)
        for (std::int64_t x = both.left; x < both.right; ++x)
            if (merged[static_cast<std::size_t>((y - box.top) * width + (x - box.left))] != 0 &&
                g.coverage[static_cast<std::size_t>((y - at.top) * g.width + (x - at.left))] != 0)
                return true;
    return false;
}

}  // namespace

GlyphRun MergeGlyphs(RealizedFont& font, std::string_view text, int angle) {
    const int q = NormalizeAngle(angle) / 900;
    // Quarter-turned images stay where they are for the font's life, so pointers to them hold.
    std::vector<Placed> placed;
    placed.reserve(text.size());
    std::int64_t pen = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::int64_t d = pen;
        pen += font.Advance(byte);
        const GlyphImage& g = font.Glyph(byte, q * 900);
        if (g.width == 0 || g.height == 0) continue;
        const std::int64_t px = q == 0 ? d : q == 2 ? -d : 0;
        const std::int64_t py = q == 1 ? -d : q == 3 ? d : 0;
        placed.push_back(
            Placed{&g, Box{px + g.left, py + g.top, px + g.left + g.width, py + g.top + g.height}});
    }
    GlyphRun run;
    std::vector<std::uint8_t> merged;
    std::size_t i = 0;
    while (i < placed.size()) {
        Box box = placed[i].box;
        std::size_t end = i + 1;
        for (; end < placed.size(); ++end) {
            const Box grown = Union(box, placed[end].box);
            if (grown.Area() > GlyphRun::kMaxPieceArea) break;
            box = grown;
        }
        const auto width = static_cast<std::size_t>(box.right - box.left);
        merged.assign(static_cast<std::size_t>(box.Area()), 0);
        Box drawn = placed[i].box;  // around the glyphs merged so far
        for (const std::size_t first = i; i < end; ++i) {
            const Box& at = placed[i].box;
            const GlyphImage& g = *placed[i].image;
            const bool overlaps = i != first && !Intersect(drawn, at).Empty();
            if (overlaps && Meets(merged, box, g, at)) break;
            const auto w = static_cast<std::size_t>(g.width);
            for (int row = 0; row < g.height; ++row) {
                std::uint8_t* to =
                    merged.data() + static_cast<std::size_t>((at.top - box.top + row) * width +
                                                             (at.left - box.left));
                const std::uint8_t* from = g.coverage.data() + static_cast<std::size_t>(row) * w;
                if (overlaps) {
                    for (std::size_t k = 0; k < w; ++k)
                        to[k] |= from[k];
                } else {
                    std::memcpy(to, from, w);
                }
            }
            drawn = Union(drawn, at);
        }
        // Only the part the merged glyphs reach is kept.
        GlyphRun::Piece piece;
        piece.left = static_cast<int>(drawn.left);
        piece.top = static_cast<int>(drawn.top);
        piece.width = static_cast<int>(drawn.right - drawn.left);
        piece.height = static_cast<int>(drawn.bottom - drawn.top);
        piece.coverage.resize(static_cast<std::size_t>(drawn.Area()));
        for (int row = 0; row < piece.height; ++row)
            std::memcpy(
                piece.coverage.data() + static_cast<std::size_t>(row) * piece.width,
                merged.data() + static_cast<std::size_t>((drawn.top - box.top + row) * width +
                                                         (drawn.left - box.left)),
                static_cast<std::size_t>(piece.width));
        run.extent = std::max({run.extent, -drawn.left, -drawn.top, drawn.right, drawn.bottom});
        run.pieces.push_back(std::move(piece));
    }
    return run;
}

}  // namespace zo::plat::text
