// The font engine of the text layer: finds faces with fontconfig, opens them with FreeType
// (one library per thread) and realises a LOGFONTA at a pixel size, with the metrics the
// platform reports and caches of advances and glyph coverage. Internal to the drawing layer.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/GdiInternal.h"
#include "platform/text/GlyphRun.h"
#include "platform/text/Layout.h"

struct FT_SizeRec_;

namespace zo::plat {

namespace text {

struct FaceEntry;

// Whole-pixel metrics of a realised font. Rows are counted from the top of the cell.
struct FontMetrics {
    int em = 0;  // pixels per em
    int ascent = 0;
    int descent = 0;
    int height = 0;  // ascent + descent
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int underlineRow = 0;     // the 1-px underline
    int strikeRow = 0;        // the 1-px strike-out line
    BYTE pitchAndFamily = 0;  // TEXTMETRICA's tmPitchAndFamily
};

// Which face a LOGFONTA lands on and what must be synthesised because the face lacks it.
struct FaceMatch {
    std::string file;
    int index = 0;
    std::string family;  // UTF-8, as fontconfig names it
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// fontconfig's answer for the LOGFONT's face name, weight and italic flag (cached per thread);
// an unknown name gives the system's sans-serif face. Empty file when nothing is installed.
FaceMatch MatchFace(const LOGFONTA& lf);

// The pixels per em for a LOGFONT height on a face with the given ascent + descent in font
// units (the platform's cell) and units per em: < 0 is the em height, > 0 the cell height
// (the largest em whose cell does not exceed it), 0 a 16-pixel cell. Clamped to 1..kMaxEm.
inline constexpr int kMaxEm = 1024;
int EmPixelsFor(LONG lfHeight, int cellUnits, int ascentUnits, int unitsPerEm);

}  // namespace text

// A face at one pixel size with its caches. Shared by every Font whose LOGFONT lands on the
// same face, size and synthesis; belongs to the thread that made it.
struct RealizedFont {
public:
    RealizedFont(std::shared_ptr<text::FaceEntry> face, const text::FaceMatch& match, int em);
    ~RealizedFont();
    RealizedFont(const RealizedFont&) = delete;
    RealizedFont& operator=(const RealizedFont&) = delete;

    // False when FreeType could not make the size; such a font is never handed out.
    bool Valid() const { return size_ != nullptr; }
    const text::FontMetrics& Metrics() const { return metrics_; }
    const std::string& Family() const { return family_; }
    bool SyntheticBold() const { return syntheticBold_; }
    bool SyntheticItalic() const { return syntheticItalic_; }

    // The whole-pixel advance of a Windows-1252 byte.
    int Advance(unsigned char byte) {
        const int a = advances_[byte];
        return a >= 0 ? a : LoadAdvance(byte);
    }
    // Sum of the advances of a string.
    int Measure(std::string_view text) {
        int w = 0;
        for (char c : text)
            w += Advance(static_cast<unsigned char>(c));
        return w;
    }
    // The coverage of a byte's glyph turned by angle (tenths of a degree, 0..3599). The
    // reference stays valid until the next call, and for the font's life when the angle is a
    // multiple of 900.
    const text::GlyphImage& Glyph(unsigned char byte, int angle);

    // The glyphs of a text merged for drawing at a multiple of 900, kept while they fit the
    // cache's budget. Valid until the next call.
    const text::GlyphRun& Run(std::string_view text, int angle);
    static constexpr std::size_t kMaxRunBytes = std::size_t{8} << 20;

    // The FreeType glyph index of a byte (0 when the face has none).
    unsigned GlyphIndex(unsigned char byte);

    // DrawTextA's layouts with this font's metrics and widths.
    text::LayoutCache& Layouts() { return layouts_; }

private:
    int LoadAdvance(unsigned char byte);
    bool Render(unsigned char byte, int angle, text::GlyphImage& out);

    std::shared_ptr<text::FaceEntry> face_;
    FT_SizeRec_* size_ = nullptr;
    std::string family_;
    bool syntheticBold_ = false;
    bool syntheticItalic_ = false;
    text::FontMetrics metrics_;
    std::array<int, 256> advances_;
    std::array<int, 256> glyphIndex_;
    // Upright and quarter-turned images of the 256 bytes (index + 1 into quarterGlyphs_).
    std::array<std::array<std::int32_t, 256>, 4> quarterSlots_{};
    std::deque<text::GlyphImage> quarterGlyphs_;
    // Other angles, keyed by byte and angle; bounded, cleared when full.
    std::unordered_map<std::uint32_t, text::GlyphImage> angled_;
    text::LayoutCache layouts_;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    // Merged runs by quarter turn and text, with the coverage bytes they hold.
    std::array<std::unordered_map<std::string, text::GlyphRun, TextHash, std::equal_to<>>, 4> runs_;
    std::size_t runBytes_ = 0;
    text::GlyphRun passingRun_;  // the last run too large to keep
};

namespace text {

// The realised font for a LOGFONT, shared through a per-thread cache; nullptr when no face can
// be opened.
std::shared_ptr<RealizedFont> RealizeFont(const LOGFONTA& lf);

// The font's realisation, made on first use.
RealizedFont* RealizedOf(Font& font);

// Escapement reduced to 0..3599 tenths of a degree.
int NormalizeAngle(LONG escapement);

}  // namespace text

}  // namespace zo::plat
