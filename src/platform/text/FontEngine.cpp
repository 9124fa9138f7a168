// Faces from fontconfig, sizes and glyphs from FreeType. Everything here is per thread: the
// fontconfig configuration, the FreeType library, the open faces, the realised sizes and
// fontconfig's answers.
#include "platform/text/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <tuple>
#include <utility>

#include "platform/Text.h"

namespace zo::plat {

namespace text {

namespace {

// Light auto-hinting snaps only vertically: crisp baselines and x-heights at UI sizes while
// the horizontal shapes (and so the advances) stay those of the design.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
// How many realised sizes stay alive when no font object holds them any more.
constexpr std::size_t kKeptSizes = 32;
// Bound of the per-thread answer and glyph caches for unusual input.
constexpr std::size_t kMaxMatches = 256;
constexpr std::size_t kMaxAngledGlyphs = 4096;

std::int64_t RoundDiv(std::int64_t a, std::int64_t b) {
    // b > 0; halves round away from zero.
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

struct Library {
    FT_Library lib = nullptr;
    Library() {
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    }
    ~Library() {
        if (lib != nullptr) FT_Done_FreeType(lib);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

}  // namespace

// An open face with the design metrics the platform's cell is made of.
struct FaceEntry {
    std::shared_ptr<Library> library;
    FT_Face face = nullptr;
    bool symbolMap = false;  // bytes are looked up at U+F000 + byte
    int unitsPerEm = 0;
    int ascentUnits = 0;
    int descentUnits = 0;
    int externalLeadingUnits = 0;
    int aveWidthUnits = 0;
    int strikeUnits = 0;
    int underlineUnits = 0;
    bool fixedPitch = false;

    FaceEntry() = default;
    FaceEntry(const FaceEntry&) = delete;
    FaceEntry& operator=(const FaceEntry&) = delete;
    ~FaceEntry() {
        if (face != nullptr) FT_Done_Face(face);
    }
};

namespace {

struct MatchKey {
    std::string name;  // lower-cased
    bool bold;
    bool italic;
    BYTE pitchAndFamily;
    bool operator<(const MatchKey& o) const {
        return std::tie(name, bold, italic, pitchAndFamily) <
               std::tie(o.name, o.bold, o.italic, o.pitchAndFamily);
    }
};

struct SizeKey {
    std::string file;
    int index;
    int em;
    bool bold;
    bool italic;
    bool operator<(const SizeKey& o) const {
        return std::tie(file, index, em, bold, italic) <
               std::tie(o.file, o.index, o.em, o.bold, o.italic);
    }
};

// The thread's own fontconfig configuration, loaded on first use. FcInit's process-wide one
// would never be released (FcFini cannot know whether another thread still matches), and the
// configuration parser leaves blocks behind that only its destruction frees.
struct Config {
    FcConfig* config = nullptr;
    bool tried = false;
    Config() = default;
    ~Config() {
        if (config != nullptr) FcConfigDestroy(config);
    }
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;
    FcConfig* Get() {
        if (!tried) {
            tried = true;
            config = FcInitLoadConfigAndFonts();
        }
        return config;
    }
};

struct Engine {
    Config fontconfig;
    std::shared_ptr<Library> library;
    std::map<MatchKey, FaceMatch> matches;
    std::map<std::pair<std::string, int>, std::weak_ptr<FaceEntry>> faces;
    std::map<SizeKey, std::weak_ptr<RealizedFont>> sizes;
    std::deque<std::shared_ptr<RealizedFont>> recent;
};

Engine& State() {
    thread_local Engine engine;
    return engine;
}

template <class Map>
void DropExpired(Map& map) {
    for (auto it = map.begin(); it != map.end();)
        it = it->second.expired() ? map.erase(it) : std::next(it);
}

FaceMatch Query(const std::string& family, bool bold, bool italic) {
    FaceMatch out;
    FcConfig* config = State().fontconfig.Get();
    if (config == nullptr) return out;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return out;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return out;
    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        out.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name != nullptr)
            out.family = reinterpret_cast<const char*>(name);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        out.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return out;
}

std::shared_ptr<FaceEntry> OpenFace(const std::string& file, int index) {
    Engine& e = State();
    const auto key = std::make_pair(file, index);
    if (auto it = e.faces.find(key); it != e.faces.end())
        if (auto face = it->second.lock()) return face;
    if (!e.library) e.library = std::make_shared<Library>();
    if (e.library->lib == nullptr) return nullptr;

    auto entry = std::make_shared<FaceEntry>();
    entry->library = e.library;
    if (FT_New_Face(e.library->lib, file.c_str(), index, &entry->face) != 0) {
        entry->face = nullptr;
        return nullptr;
    }
    FT_Face f = entry->face;
    // Only outline faces: bitmap strikes can neither scale to any height nor turn.
    if (!FT_IS_SCALABLE(f) || f->units_per_EM == 0) return nullptr;
    if (FT_Select_Charmap(f, FT_ENCODING_UNICODE) != 0) {
        if (FT_Select_Charmap(f, FT_ENCODING_MS_SYMBOL) == 0) entry->symbolMap = true;
    }
    entry->unitsPerEm = f->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
    // The platform's cell is the OS/2 "Windows" ascent and descent when the face has them.
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        entry->ascentUnits = os2->usWinAscent;
        entry->descentUnits = os2->usWinDescent;
    } else {
        entry->ascentUnits = std::max<int>(0, f->ascender);
        entry->descentUnits = std::max<int>(0, -f->descender);
    }
    if (entry->ascentUnits + entry->descentUnits <= 0) {
        entry->ascentUnits = entry->unitsPerEm * 4 / 5;
        entry->descentUnits = entry->unitsPerEm - entry->ascentUnits;
    }
    const int lineGap = hhea != nullptr ? hhea->Line_Gap : 0;
    entry->externalLeadingUnits = std::max(
        0, lineGap - ((entry->ascentUnits + entry->descentUnits) - (f->ascender - f->descender)));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        entry->aveWidthUnits = std::max<int>(0, os2->xAvgCharWidth);
        entry->strikeUnits = std::max<int>(0, os2->yStrikeoutPosition);
        if (entry->strikeUnits == 0 && os2->version >= 2)
            entry->strikeUnits = std::max<int>(0, os2->sxHeight) / 2;
    }
    if (entry->strikeUnits == 0) entry->strikeUnits = entry->ascentUnits / 4;
    entry->underlineUnits = f->underline_position;
    entry->fixedPitch = FT_IS_FIXED_WIDTH(f);
    e.faces[key] = entry;
    if (e.faces.size() > 64) DropExpired(e.faces);
    return entry;
}

std::string GenericFamily(BYTE pitchAndFamily) {
    if ((pitchAndFamily & 0xF0) == FF_ROMAN) return "serif";
    if ((pitchAndFamily & 0xF0) == FF_MODERN || (pitchAndFamily & 0x03) == FIXED_PITCH)
        return "monospace";
    return "sans-serif";
}

// Quarter turns of an upright image: each device pixel (u, v) of the upright glyph goes to
// (v, -u), (-u, -v) or (-v, u) about the pen pixel.
GlyphImage TurnQuarter(const GlyphImage& up, int quarter) {
    GlyphImage out;
    const int w = up.width;
    const int h = up.height;
    const bool swap = (quarter % 2) == 1;
    out.width = swap ? h : w;
    out.height = swap ? w : h;
    switch (quarter) {
        case 1:
            out.left = up.top, out.top = -(up.left + w - 1);
            break;
        case 2:
            out.left = -(up.left + w - 1), out.top = -(up.top + h - 1);
            break;
        default:
            out.left = -(up.top + h - 1), out.top = up.left;
            break;
    }
    out.coverage.resize(up.coverage.size());
    for (int r = 0; r < out.height; ++r) {
        for (int c = 0; c < out.width; ++c) {
            int ur = 0;
            int uc = 0;
            switch (quarter) {
                case 1:
                    ur = c, uc = w - 1 - r;
                    break;
                case 2:
                    ur = h - 1 - r, uc = w - 1 - c;
                    break;
                default:
                    ur = h - 1 - c, uc = r;
                    break;
            }
            out.coverage[static_cast<std::size_t>(r) * out.width + c] =
                up.coverage[static_cast<std::size_t>(ur) * w + uc];
        }
    }
    return out;
}

}  // namespace

FaceMatch MatchFace(const LOGFONTA& lf) {
    std::string name(lf.lfFaceName, strnlen(lf.lfFaceName, sizeof lf.lfFaceName));
    const bool bold = lf.lfWeight >= FW_SEMIBOLD;
    const bool italic = lf.lfItalic != 0;
    MatchKey key{name, bold, italic, lf.lfPitchAndFamily};
    for (char& c : key.name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    Engine& e = State();
    if (auto it = e.matches.find(key); it != e.matches.end()) return it->second;

    const std::string family = name.empty() ? GenericFamily(lf.lfPitchAndFamily) : AnsiToUtf8(name);
    FaceMatch m = Query(family, bold, italic);
    if (m.file.empty()) m = Query("sans-serif", bold, italic);
    if (e.matches.size() >= kMaxMatches) e.matches.clear();
    e.matches.emplace(std::move(key), m);
    return m;
}

int EmPixelsFor(LONG lfHeight, int cellUnits, int ascentUnits, int unitsPerEm) {
    if (lfHeight < 0)
        return static_cast<int>(std::clamp<std::int64_t>(-std::int64_t{lfHeight}, 1, kMaxEm));
    const std::int64_t target = lfHeight == 0 ? 16 : std::min<std::int64_t>(lfHeight, 4 * kMaxEm);
    if (cellUnits <= 0 || unitsPerEm <= 0)
        return static_cast<int>(std::clamp<std::int64_t>(target, 1, kMaxEm));
    const std::int64_t descentUnits = cellUnits - ascentUnits;
    const auto cellOf = [&](std::int64_t em) {
        return RoundDiv(ascentUnits * em, unitsPerEm) + RoundDiv(descentUnits * em, unitsPerEm);
    };
    std::int64_t em = std::clamp<std::int64_t>(RoundDiv(target * unitsPerEm, cellUnits), 1, kMaxEm);
    while (em > 1 && cellOf(em) > target)
        --em;
    while (em < kMaxEm && cellOf(em + 1) <= target)
        ++em;
    return static_cast<int>(em);
}

int NormalizeAngle(LONG escapement) {
    const std::int64_t a = std::int64_t{escapement} % 3600;
    return static_cast<int>(a < 0 ? a + 3600 : a);
}

std::shared_ptr<RealizedFont> RealizeFont(const LOGFONTA& lf) {
    FaceMatch match = MatchFace(lf);
    std::shared_ptr<FaceEntry> face;
    if (!match.file.empty()) face = OpenFace(match.file, match.index);
    if (!face) {
        // The face fontconfig chose cannot be used: fall back to the sans-serif face.
        LOGFONTA generic = lf;
        std::memset(generic.lfFaceName, 0, sizeof generic.lfFaceName);
        generic.lfPitchAndFamily = FF_SWISS;
        match = MatchFace(generic);
        if (match.file.empty()) return nullptr;
        face = OpenFace(match.file, match.index);
        if (!face) return nullptr;
    }
    const int em = EmPixelsFor(lf.lfHeight, face->ascentUnits + face->descentUnits,
                               face->ascentUnits, face->unitsPerEm);
    Engine& e = State();
    SizeKey key{match.file, match.index, em, match.syntheticBold, match.syntheticItalic};
    if (auto it = e.sizes.find(key); it != e.sizes.end())
        if (auto font = it->second.lock()) return font;
    auto font = std::make_shared<RealizedFont>(face, match, em);
    if (!font->Valid()) return nullptr;
    e.sizes[key] = font;
    if (e.sizes.size() > 4 * kKeptSizes) DropExpired(e.sizes);
    e.recent.push_back(font);
    if (e.recent.size() > kKeptSizes) e.recent.pop_front();
    return font;
}

RealizedFont* RealizedOf(Font& font) {
    if (!font.realized) font.realized = RealizeFont(font.lf);
    return font.realized.get();
}

}  // namespace text

using text::FaceEntry;
using text::GlyphImage;
using text::GlyphRun;

RealizedFont::RealizedFont(std::shared_ptr<FaceEntry> face, const text::FaceMatch& match, int em)
    : face_(std::move(face)),
      family_(match.family),
      syntheticBold_(match.syntheticBold),
      syntheticItalic_(match.syntheticItalic) {
    advances_.fill(-1);
    glyphIndex_.fill(-1);
    FT_Size size = nullptr;
    if (FT_New_Size(face_->face, &size) != 0) return;
    if (FT_Activate_Size(size) != 0 ||
        FT_Set_Pixel_Sizes(face_->face, 0, static_cast<FT_UInt>(em)) != 0) {
        FT_Done_Size(size);
        return;
    }
    size_ = size;

    const FaceEntry& f = *face_;
    const std::int64_t upem = f.unitsPerEm;
    text::FontMetrics& m = metrics_;
    m.em = em;
    m.ascent = static_cast<int>(text::RoundDiv(std::int64_t{f.ascentUnits} * em, upem));
    m.descent = static_cast<int>(text::RoundDiv(std::int64_t{f.descentUnits} * em, upem));
    m.height = std::max(1, m.ascent + m.descent);
    m.internalLeading = std::max(0, m.height - em);
    m.externalLeading =
        static_cast<int>(text::RoundDiv(std::int64_t{f.externalLeadingUnits} * em, upem));
    m.aveCharWidth =
        f.aveWidthUnits > 0
            ? static_cast<int>(text::RoundDiv(std::int64_t{f.aveWidthUnits} * em, upem))
            : Advance('x');
    m.aveCharWidth = std::max(1, m.aveCharWidth);
    m.maxCharWidth =
        static_cast<int>(text::RoundDiv(std::int64_t{face_->face->max_advance_width} * em, upem)) +
        (syntheticBold_ ? 1 : 0);
    // Underline one row or more below the baseline, strike-out about half the x-height above
    // it; both stay inside the cell.
    const int below = std::max<int>(
        1, static_cast<int>(text::RoundDiv(-std::int64_t{f.underlineUnits} * em, upem)));
    m.underlineRow =
        std::clamp(m.ascent + std::min(below, std::max(1, m.descent - 1)), 0, m.height - 1);
    const int above =
        std::max<int>(1, static_cast<int>(text::RoundDiv(std::int64_t{f.strikeUnits} * em, upem)));
    m.strikeRow = std::clamp(m.ascent - above, 0, m.height - 1);
    const bool serif =
        family_.find("Serif") != std::string::npos && family_.find("Sans") == std::string::npos;
    m.pitchAndFamily =
        static_cast<BYTE>((f.fixedPitch ? FF_MODERN
                           : serif      ? FF_ROMAN
                                        : FF_SWISS) |
                          TMPF_VECTOR | TMPF_TRUETYPE | (f.fixedPitch ? 0 : TMPF_FIXED_PITCH));
}

RealizedFont::~RealizedFont() {
    if (size_ != nullptr) FT_Done_Size(size_);
}

unsigned RealizedFont::GlyphIndex(unsigned char byte) {
    if (glyphIndex_[byte] >= 0) return static_cast<unsigned>(glyphIndex_[byte]);
    const FT_ULong code = face_->symbolMap ? 0xF000u + byte : UnicodeOfAnsi(byte);
    const FT_UInt gid = FT_Get_Char_Index(face_->face, code);
    glyphIndex_[byte] = static_cast<int>(gid);
    return gid;
}

int RealizedFont::LoadAdvance(unsigned char byte) {
    if (size_ == nullptr) return 0;
    FT_Activate_Size(size_);
    FT_Fixed advance = 0;
    // The design advance rounded to whole pixels: measuring and drawing both use it.
    if (FT_Get_Advance(face_->face, GlyphIndex(byte), FT_LOAD_NO_HINTING, &advance) != 0)
        advance = 0;
    const int px = static_cast<int>((advance + 0x8000) >> 16) + (syntheticBold_ ? 1 : 0);
    advances_[byte] = std::max(0, px);
    return advances_[byte];
}

bool RealizedFont::Render(unsigned char byte, int angle, GlyphImage& out) {
    if (size_ == nullptr) return false;
    FT_Face f = face_->face;
    FT_Activate_Size(size_);
    if (FT_Load_Glyph(f, GlyphIndex(byte), text::kLoadFlags) != 0) return false;
    FT_GlyphSlot slot = f->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (syntheticItalic_) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (syntheticBold_) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    if (angle != 0) {
        const double r = angle * std::numbers::pi / 1800.0;
        const auto c = static_cast<FT_Fixed>(std::lround(std::cos(r) * 65536.0));
        const auto s = static_cast<FT_Fixed>(std::lround(std::sin(r) * 65536.0));
        FT_Matrix turn{c, -s, s, c};
        FT_Outline_Transform(&slot->outline, &turn);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bm = slot->bitmap;
    out.left = slot->bitmap_left;
    out.top = -slot->bitmap_top;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.coverage.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        std::uint8_t* dst = out.coverage.data() + static_cast<std::size_t>(y) * out.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = std::max(1, static_cast<int>(bm.num_grays) - 1);
            for (int x = 0; x < out.width; ++x)
                dst[x] = static_cast<std::uint8_t>(levels == 255 ? row[x] : row[x] * 255 / levels);
        } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < out.width; ++x)
                dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
        }
    }
    return true;
}

const GlyphImage& RealizedFont::Glyph(unsigned char byte, int angle) {
    angle = text::NormalizeAngle(angle);
    if (angle % 900 == 0) {
        const int q = angle / 900;
        const std::int32_t slot = quarterSlots_[q][byte];
        if (slot != 0) return quarterGlyphs_[static_cast<std::size_t>(slot - 1)];
        GlyphImage image;
        if (q == 0) {
            if (!Render(byte, 0, image)) image = GlyphImage{};
        } else {
            image = text::TurnQuarter(Glyph(byte, 0), q);
        }
        quarterGlyphs_.push_back(std::move(image));
        quarterSlots_[q][byte] = static_cast<std::int32_t>(quarterGlyphs_.size());
        return quarterGlyphs_.back();
    }
    const std::uint32_t key = (std::uint32_t{byte} << 12) | static_cast<std::uint32_t>(angle);
    if (auto it = angled_.find(key); it != angled_.end()) return it->second;
    if (angled_.size() >= text::kMaxAngledGlyphs) angled_.clear();
    GlyphImage image;
    if (!Render(byte, angle, image)) image = GlyphImage{};
    return angled_.emplace(key, std::move(image)).first->second;
}

const GlyphRun& RealizedFont::Run(std::string_view text, int angle) {
    const int q = text::NormalizeAngle(angle) / 900;
    auto& runs = runs_[static_cast<std::size_t>(q)];
    if (auto it = runs.find(text); it != runs.end()) return it->second;
    GlyphRun run = text::MergeGlyphs(*this, text, q * 900);
    std::size_t bytes = text.size();
    for (const GlyphRun::Piece& p : run.pieces)
        bytes += p.coverage.size();
    if (bytes > kMaxRunBytes / 16) {
        passingRun_ = std::move(run);
        return passingRun_;
    }
    if (runBytes_ + bytes > kMaxRunBytes) {
        for (auto& m : runs_)
            m.clear();
        runBytes_ = 0;
    }
    runBytes_ += bytes;
    return runs.emplace(std::string(text), std::move(run)).first->second;
}

}  // namespace zo::plat
