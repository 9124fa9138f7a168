// The layout half of DrawTextA as pure functions over a measuring callback: '&' prefixes,
// tab expansion, line breaking, which lines are drawn, ellipses, alignment, the returned
// height and the DT_CALCRECT rectangle. No font, no device context: tests check where text
// is cut without pixels. Internal to the drawing layer.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Types.h"

namespace zo::plat::text {

// A non-owning reference to a callable; the callable must outlive the call it is passed to.
template <class Sig>
class FunctionRef;
template <class R, class... A>
class FunctionRef<R(A...)> {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
    FunctionRef(F&& f)  // NOLINT(google-explicit-constructor): used like a function parameter
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
          call_([](void* o, A... a) -> R {
              return (*static_cast<std::remove_reference_t<F>*>(o))(std::forward<A>(a)...);
          }) {}
    R operator()(A... a) const { return call_(object_, std::forward<A>(a)...); }

private:
    void* object_;
    R (*call_)(void*, A...);
};

// Width in pixels of a string of Windows-1252 bytes with no tabs or line breaks. Widths must
// not shrink when characters are appended.
using MeasureFn = FunctionRef<int(std::string_view)>;

struct LayoutMetrics {
    int tmHeight = 0;
    int ascent = 0;
    int externalLeading = 0;  // added to the line height with DT_EXTERNALLEADING
    int aveCharWidth = 0;     // tab stops are multiples of it
};

// A piece of a line drawn at its own x (a line without tabs has one).
struct LaidRun {
    LONG x = 0;
    std::string text;
};

struct LaidLine {
    LONG x = 0;  // left of the line's box
    LONG y = 0;  // top of the line's box
    LONG width = 0;
    std::vector<LaidRun> runs;
    // The prefix underline: columns [underlineLeft, underlineRight] on row underlineY
    // (y + ascent + 1).
    bool underline = false;
    LONG underlineLeft = 0;
    LONG underlineRight = 0;
    LONG underlineY = 0;
};

struct TextLayout {
    std::vector<LaidLine> lines;
    int height = 0;        // DrawTextA's return value
    RECT calcRect{};       // the rectangle DT_CALCRECT returns
    bool clip = false;     // output is clipped to the rectangle
    bool drawText = true;  // false with DT_PREFIXONLY: only underlines are drawn
    int lineHeight = 0;
    // With DT_MODIFYSTRING: the text with the shortened line written back in its shown form.
    bool modified = false;
    std::string modifiedText;
};

// Lays out text (Windows-1252, the whole of it; the caller has resolved a count of -1) in rect
// with the DT_* flags.
TextLayout LayoutDrawText(std::string_view text, UINT format, const RECT& rect,
                          const LayoutMetrics& metrics, MeasureFn measure);

// Layouts already made with one font's metrics and measure, by text, flags and rectangle: a
// window repaints the same texts in the same places. Bounded; emptied when full.
class LayoutCache {
public:
    // The layout stored for these inputs, or nullptr. Valid until the next Store.
    const TextLayout* Find(std::string_view text, UINT format, const RECT& rect) const;
    // Keeps layout unless the text is longer than kMaxText; either way the result is valid
    // until the next Store.
    const TextLayout& Store(std::string_view text, UINT format, const RECT& rect,
                            TextLayout layout);
    std::size_t Size() const { return entries_.size(); }

    static constexpr std::size_t kMaxEntries = 4096;
    static constexpr std::size_t kMaxText = 256;

private:
    struct KeyView {
        std::string_view text;
        UINT format;
        RECT rect;
    };
    struct Key {
        std::string text;
        UINT format;
        RECT rect;
        operator KeyView() const { return KeyView{text, format, rect}; }  // NOLINT
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& k) const;
        std::size_t operator()(const Key& k) const { return (*this)(KeyView(k)); }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(const KeyView& a, const KeyView& b) const {
            return a.format == b.format && a.rect == b.rect && a.text == b.text;
        }
    };
    std::unordered_map<Key, TextLayout, Hash, Equal> entries_;
    TextLayout passing_;  // the last layout not kept
};

// The shortened forms the ellipsis flags make, exposed for tests. The result fits width when
// anything does: "..." alone otherwise.
std::string EndEllipsis(std::string_view line, int width, MeasureFn measure);
std::string PathEllipsis(std::string_view line, int width, MeasureFn measure);

}  // namespace zo::plat::text
