// DrawTextA's layout: the text is cut into paragraphs at line breaks, each paragraph has its
// '&' prefixes resolved and is broken into lines at spaces; ellipses shorten the lines the
// flags name; lines are placed in the rectangle.
#include "platform/text/Layout.h"

#include <algorithm>
#include <cstdint>

#include "platform/Text.h"

namespace zo::plat::text {

namespace {

constexpr std::int64_t kCoordLimit = std::int64_t{1} << 29;
constexpr std::string_view kDots = "...";

LONG Clamp(std::int64_t v) {
    return static_cast<LONG>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

bool IsBreak(char c) {
    return c == ' ' || c == '\t';
}

// The largest k in [0, n] with fits(k), for a fits that holds up to some k and fails after;
// -1 when even fits(0) fails. Probes grow geometrically first, so a short answer in a long
// text costs little.
template <class F>
std::ptrdiff_t LargestFitting(std::size_t n, F&& fits) {
    if (!fits(0)) return -1;
    std::size_t lo = 0;
    std::size_t hi = 0;
    std::size_t step = 1;
    for (;;) {
        const std::size_t probe = lo + step;
        if (probe >= n) {
            if (fits(n)) return static_cast<std::ptrdiff_t>(n);
            hi = n;
            break;
        }
        if (!fits(probe)) {
            hi = probe;
            break;
        }
        lo = probe;
        step *= 2;
    }
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return static_cast<std::ptrdiff_t>(lo);
}

struct Context {
    UINT flags = 0;
    std::int64_t width = 0;
    std::int64_t tabWidth = 1;
    bool expandTabs = false;
    MeasureFn measure;
};

// Width of a line measured from its start, tabs moving to the next tab stop when expanded.
std::int64_t LineWidth(const Context& c, std::string_view s) {
    if (!c.expandTabs || s.find('\t') == std::string_view::npos) return c.measure(s);
    std::int64_t x = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = s.find('\t', start);
        x += c.measure(s.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return x;
        x = (x / c.tabWidth + 1) * c.tabWidth;
        start = tab + 1;
    }
}

// Longest prefix k of line with width(prefix + "...") <= width; k = -1 when none fits.
template <class W>
std::string EndEllipsisWith(std::string_view line, std::int64_t width, W&& widthOf, int* kept) {
    std::string probe;
    const std::ptrdiff_t k = LargestFitting(line.size(), [&](std::size_t n) {
        probe.assign(line.substr(0, n));
        probe += kDots;
        return widthOf(probe) <= width;
    });
    const std::size_t keep = k < 0 ? 0 : static_cast<std::size_t>(k);
    if (kept != nullptr) *kept = static_cast<int>(keep);
    std::string out(line.substr(0, keep));
    out += kDots;
    return out;
}

// Keeps the last path component (from the last '\' or '/') and shortens what precedes it.
// fits reports whether the result fits; without a separator this is the end ellipsis.
template <class W>
std::string PathEllipsisWith(std::string_view line, std::int64_t width, W&& widthOf, int* underline,
                             bool* fits) {
    const std::size_t sep = line.find_last_of("\\/");
    if (sep == std::string_view::npos) {
        int kept = 0;
        std::string out = EndEllipsisWith(line, width, widthOf, &kept);
        if (underline != nullptr && *underline >= kept) *underline = -1;
        if (fits != nullptr) *fits = widthOf(out) <= width;
        return out;
    }
    const std::string_view head = line.substr(0, sep);
    const std::string_view tail = line.substr(sep);
    std::string probe;
    const std::ptrdiff_t k = LargestFitting(head.size(), [&](std::size_t n) {
        probe.assign(head.substr(0, n));
        probe += kDots;
        probe += tail;
        return widthOf(probe) <= width;
    });
    const std::size_t keep = k < 0 ? 0 : static_cast<std::size_t>(k);
    if (fits != nullptr) *fits = k >= 0;
    if (underline != nullptr && *underline >= static_cast<int>(keep)) {
        *underline = *underline >= static_cast<int>(sep)
                         ? *underline - static_cast<int>(sep) + static_cast<int>(keep) + 3
                         : -1;
    }
    std::string out(head.substr(0, keep));
    out += kDots;
    out += tail;
    return out;
}

// Resolves '&' prefixes: "&&" shows '&', "&x" shows x underlined (the last such wins), a
// lone '&' at the end shows nothing. rawIndex, when asked for, maps shown bytes to raw ones.
void StripPrefixes(std::string_view raw, std::string& shown, int& underline,
                   std::vector<std::size_t>* rawIndex) {
    shown.clear();
    underline = -1;
    if (rawIndex != nullptr) rawIndex->clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '&') {
            if (i + 1 >= raw.size()) break;
            ++i;
            if (raw[i] != '&') underline = static_cast<int>(shown.size());
        }
        shown.push_back(raw[i]);
        if (rawIndex != nullptr) rawIndex->push_back(i);
    }
}

struct Break {
    std::size_t lineEnd;
    std::size_t next;
};

// Breaks rest, which is wider than the line, at the last space where it fits.
Break BreakLine(const Context& c, std::string_view rest, std::ptrdiff_t maxFit) {
    const std::size_t n = rest.size();
    const bool left = (c.flags & (DT_CENTER | DT_RIGHT)) == 0;
    const auto dropSpace = [&](std::size_t e) { return e < n && IsBreak(rest[e]) ? e + 1 : e; };
    // Left-aligned lines keep trailing spaces that fit; centred and right-aligned ones break
    // before the last fitting space so that it does not shift them. A line holds at least one
    // visible character.
    std::size_t firstVisible = 0;
    while (firstVisible < n && IsBreak(rest[firstVisible]))
        ++firstVisible;
    for (std::ptrdiff_t e = maxFit; e > static_cast<std::ptrdiff_t>(firstVisible); --e) {
        const auto u = static_cast<std::size_t>(e);
        const bool spaceAfter = u < n && IsBreak(rest[u]);
        if (spaceAfter || (left && IsBreak(rest[u - 1]))) return Break{u, dropSpace(u)};
    }
    // The first word alone is too wide.
    if ((c.flags & DT_EDITCONTROL) != 0 && (c.flags & (DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) == 0) {
        const std::size_t e = std::max<std::size_t>(1, maxFit < 0 ? 0 : maxFit);
        return Break{e, dropSpace(e)};
    }
    std::size_t i = 0;
    while (i < n && IsBreak(rest[i]))
        ++i;
    while (i < n && !IsBreak(rest[i]))
        ++i;
    return Break{i, dropSpace(i)};
}

}  // namespace

std::string EndEllipsis(std::string_view line, int width, MeasureFn measure) {
    return EndEllipsisWith(
        line, width, [&](std::string_view s) { return std::int64_t{measure(s)}; }, nullptr);
}

std::string PathEllipsis(std::string_view line, int width, MeasureFn measure) {
    return PathEllipsisWith(
        line, width, [&](std::string_view s) { return std::int64_t{measure(s)}; }, nullptr,
        nullptr);
}

TextLayout LayoutDrawText(std::string_view text, UINT format, const RECT& rect,
                          const LayoutMetrics& metrics, MeasureFn measure) {
    TextLayout out;
    UINT flags = format;
    std::int64_t tabChars = 8;
    if ((flags & DT_TABSTOP) != 0) {
        // The tab length rides in bits 8-15, which are then not flags.
        tabChars = (flags >> 8) & 0xFF;
        flags &= ~0xFF00u;
        if (tabChars == 0) tabChars = 8;
    }
    if ((flags & DT_SINGLELINE) != 0) flags &= ~DT_WORDBREAK;

    Context c{flags, std::int64_t{rect.right} - rect.left,
              tabChars * std::max(1, metrics.aveCharWidth), (flags & DT_EXPANDTABS) != 0, measure};
    const std::int64_t lh =
        metrics.tmHeight + ((flags & DT_EXTERNALLEADING) != 0 ? metrics.externalLeading : 0);
    out.lineHeight = static_cast<int>(lh);
    out.clip = (flags & (DT_NOCLIP | DT_CALCRECT)) == 0;
    out.drawText = (flags & DT_PREFIXONLY) == 0;
    const bool single = (flags & DT_SINGLELINE) != 0;
    const bool editControl = (flags & DT_EDITCONTROL) != 0;

    std::int64_t y = rect.top;
    if (single && (flags & DT_VCENTER) != 0)
        y = rect.top + (std::int64_t{rect.bottom} - rect.top) / 2 - metrics.tmHeight / 2;
    else if (single && (flags & DT_BOTTOM) != 0)
        y = std::int64_t{rect.bottom} - metrics.tmHeight;

    out.calcRect = rect;
    if (text.empty()) {
        out.height = out.lineHeight;
        out.calcRect.right = rect.left;
        out.calcRect.bottom = Clamp(rect.top + (single ? lh : 0));
        return out;
    }

    const bool wantModify =
        (flags & DT_MODIFYSTRING) != 0 && (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
    std::string shown;
    std::vector<std::size_t> rawIndex;
    int underline = -1;
    std::int64_t widest = 0;
    const std::size_t n = text.size();
    std::size_t pos = 0;
    bool done = false;
    while (!done) {
        // One paragraph: up to CR, LF, CR LF or LF CR.
        std::size_t end = single ? n : text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = n;
        std::size_t after = end;
        if (end < n) {
            after = end + 1;
            if (after < n && text[after] != text[end] &&
                (text[after] == '\r' || text[after] == '\n'))
                ++after;
        }
        const std::string_view raw = text.substr(pos, end - pos);
        if ((flags & DT_NOPREFIX) != 0) {
            shown.assign(raw);
            underline = -1;
            if (wantModify) {
                rawIndex.resize(raw.size());
                for (std::size_t i = 0; i < raw.size(); ++i)
                    rawIndex[i] = i;
            }
        } else {
            StripPrefixes(raw, shown, underline, wantModify ? &rawIndex : nullptr);
        }
        const bool moreParagraphs = after < n;

        std::size_t a = 0;
        do {
            const bool last =
                out.clip && (editControl ? y + 2 * lh - 1 > rect.bottom : y + lh > rect.bottom);
            const std::string_view rest = std::string_view(shown).substr(a);
            Break br{rest.size(), rest.size()};
            if ((flags & DT_WORDBREAK) != 0 && !(last && (flags & DT_END_ELLIPSIS) != 0)) {
                const std::ptrdiff_t maxFit = LargestFitting(rest.size(), [&](std::size_t k) {
                    return LineWidth(c, rest.substr(0, k)) <= c.width;
                });
                if (maxFit < static_cast<std::ptrdiff_t>(rest.size()))
                    br = BreakLine(c, rest, maxFit);
            }
            const std::string_view lineText = rest.substr(0, br.lineEnd);
            const bool textFollows = br.next < rest.size() || moreParagraphs;
            const bool endsParagraph = br.next >= rest.size();
            const bool overflow = LineWidth(c, lineText) > c.width;
            int ul =
                (underline >= static_cast<int>(a) && underline < static_cast<int>(a + br.lineEnd))
                    ? underline - static_cast<int>(a)
                    : -1;

            const auto widthOf = [&](std::string_view s) { return LineWidth(c, s); };
            const bool wantEnd = ((flags & DT_END_ELLIPSIS) != 0 &&
                                  ((last && textFollows) || (endsParagraph && overflow))) ||
                                 ((flags & DT_WORD_ELLIPSIS) != 0 && overflow);
            std::string lineShown;
            bool shortened = false;
            if ((flags & DT_PATH_ELLIPSIS) != 0 && overflow) {
                bool fits = false;
                const int lineUl = ul;
                lineShown = PathEllipsisWith(lineText, c.width, widthOf, &ul, &fits);
                if (!fits && wantEnd) {
                    int kept = 0;
                    ul = lineUl;
                    lineShown = EndEllipsisWith(lineText, c.width, widthOf, &kept);
                    if (ul >= kept) ul = -1;
                }
                shortened = true;
            } else if (wantEnd) {
                int kept = 0;
                lineShown = EndEllipsisWith(lineText, c.width, widthOf, &kept);
                if (ul >= kept) ul = -1;
                shortened = true;
            } else {
                lineShown.assign(lineText);
            }

            LaidLine line;
            line.width = Clamp(LineWidth(c, lineShown));
            std::int64_t x = rect.left;
            if ((flags & DT_CENTER) != 0)
                x = (std::int64_t{rect.left} + rect.right - line.width) / 2;
            else if ((flags & DT_RIGHT) != 0)
                x = std::int64_t{rect.right} - line.width;
            line.x = Clamp(x);
            line.y = Clamp(y);
            if (c.expandTabs && lineShown.find('\t') != std::string::npos) {
                std::size_t start = 0;
                for (;;) {
                    const std::size_t tab = lineShown.find('\t', start);
                    const std::size_t stop = tab == std::string::npos ? lineShown.size() : tab;
                    const std::int64_t runX =
                        LineWidth(c, std::string_view(lineShown).substr(0, start));
                    if (stop > start)
                        line.runs.push_back(
                            LaidRun{Clamp(x + runX), lineShown.substr(start, stop - start)});
                    if (tab == std::string::npos) break;
                    start = tab + 1;
                }
            } else {
                line.runs.push_back(LaidRun{line.x, lineShown});
            }
            if (ul >= 0 && (flags & DT_HIDEPREFIX) == 0) {
                const std::string_view s(lineShown);
                const std::int64_t l = x + LineWidth(c, s.substr(0, static_cast<std::size_t>(ul)));
                const std::int64_t r =
                    x + LineWidth(c, s.substr(0, static_cast<std::size_t>(ul) + 1)) - 1;
                line.underline = r >= l;
                line.underlineLeft = Clamp(l);
                line.underlineRight = Clamp(r);
                line.underlineY = Clamp(y + metrics.ascent + 1);
            }
            if (shortened && wantModify && !out.modified) {
                // The raw range of the line, with the '&' that prefixes its first character.
                const std::size_t shownEnd = a + br.lineEnd;
                const std::size_t rawStart = pos + (a == 0 ? 0 : rawIndex[a - 1] + 1);
                const std::size_t rawEnd = shownEnd >= rawIndex.size() ? pos + raw.size()
                                           : shownEnd == a             ? rawStart
                                                           : pos + rawIndex[shownEnd - 1] + 1;
                out.modified = true;
                out.modifiedText.assign(text.substr(0, rawStart));
                out.modifiedText += lineShown;
                out.modifiedText.append(text.substr(rawEnd));
            }
            widest = std::max<std::int64_t>(widest, line.width);
            out.lines.push_back(std::move(line));
            y += lh;
            a += br.next;
            if (last) {
                done = true;
                break;
            }
        } while (a < shown.size());
        pos = after;
        if (pos >= n) done = true;
    }

    const std::int64_t height = y - rect.top;
    out.height = height == 0 ? 1 : static_cast<int>(std::clamp(height, -kCoordLimit, kCoordLimit));
    out.calcRect.right = Clamp(rect.left + widest);
    out.calcRect.bottom =
        Clamp(rect.top + (single ? lh : static_cast<std::int64_t>(out.lines.size()) * lh));
    return out;
}

std::size_t LayoutCache::Hash::operator()(const KeyView& k) const {
    std::size_t h = std::hash<std::string_view>{}(k.text);
    for (const LONG v :
         {static_cast<LONG>(k.format), k.rect.left, k.rect.top, k.rect.right, k.rect.bottom})
        h = (h ^ static_cast<std::uint32_t>(v)) * 0x100000001B3ull;
    return h;
}

const TextLayout* LayoutCache::Find(std::string_view text, UINT format, const RECT& rect) const {
    const auto it = entries_.find(KeyView{text, format, rect});
    return it == entries_.end() ? nullptr : &it->second;
}

const TextLayout& LayoutCache::Store(std::string_view text, UINT format, const RECT& rect,
                                     TextLayout layout) {
    if (text.size() > kMaxText) {
        passing_ = std::move(layout);
        return passing_;
    }
    if (entries_.size() >= kMaxEntries) entries_.clear();
    return entries_.insert_or_assign(Key{std::string(text), format, rect}, std::move(layout))
        .first->second;
}

}  // namespace zo::plat::text
