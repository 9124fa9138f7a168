// Region as a list of disjoint rectangles. Clip regions stay small (a window's visible part
// with a few children cut out), so the quadratic operations are cheap enough.
#include "platform/Region.h"

#include <algorithm>
#include <cstdint>

namespace zo::plat {

namespace {

bool IsEmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Clip(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Appends the parts of r that lie outside cut (at most four disjoint rectangles).
void AppendDifference(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
    const RECT in = Clip(r, cut);
    if (IsEmptyRect(in)) {
        out.push_back(r);
        return;
    }
    if (r.top < in.top) out.push_back(RECT{r.left, r.top, r.right, in.top});
    if (in.bottom < r.bottom) out.push_back(RECT{r.left, in.bottom, r.right, r.bottom});
    if (r.left < in.left) out.push_back(RECT{r.left, in.top, in.left, in.bottom});
    if (in.right < r.right) out.push_back(RECT{in.right, in.top, r.right, in.bottom});
}

}  // namespace

RECT Region::Bounds() const {
    if (rects_.empty()) return RECT{};
    RECT b = rects_.front();
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

void Region::Add(const RECT& r) {
    if (IsEmptyRect(r)) return;
    // Rectangles r covers add nothing to it: they go, so that a window invalidated whole
    // again and again (a strip that grows with every group added) keeps one rectangle.
    std::erase_if(rects_, [&r](const RECT& have) {
        return have.left >= r.left && have.top >= r.top && have.right <= r.right &&
               have.bottom <= r.bottom;
    });
    if (rects_.empty()) {  // every clip starts this way: no pieces to work out
        rects_.push_back(r);
        return;
    }
    // Keep what is already there and add only the parts of r that are new.
    std::vector<RECT> pieces{r};
    std::vector<RECT> next;
    for (const RECT& have : rects_) {
        next.clear();
        for (const RECT& p : pieces)
            AppendDifference(p, have, next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::Subtract(const RECT& r) {
    if (IsEmptyRect(r)) return;
    std::vector<RECT> out;
    out.reserve(rects_.size() + 4);
    for (const RECT& have : rects_)
        AppendDifference(have, r, out);
    rects_.swap(out);
}

void Region::Intersect(const RECT& r) {
    if (rects_.size() == 1) {  // in place, without a second list
        rects_[0] = Clip(rects_[0], r);
        if (IsEmptyRect(rects_[0])) rects_.clear();
        return;
    }
    std::vector<RECT> out;
    out.reserve(rects_.size());
    for (const RECT& have : rects_) {
        const RECT c = Clip(have, r);
        if (!IsEmptyRect(c)) out.push_back(c);
    }
    rects_.swap(out);
}

void Region::Intersect(const Region& other) {
    if (other.rects_.size() == 1) {
        Intersect(other.rects_[0]);
        return;
    }
    std::vector<RECT> out;
    // Both sides are disjoint sets, so the pairwise intersections are disjoint too.
    for (const RECT& a : rects_)
        for (const RECT& b : other.rects_) {
            const RECT c = Clip(a, b);
            if (!IsEmptyRect(c)) out.push_back(c);
        }
    rects_.swap(out);
}

void Region::Offset(LONG dx, LONG dy) {
    // Saturating, so an extreme offset squeezes a rectangle to the edge instead of wrapping.
    auto move = [](LONG v, LONG d) {
        return static_cast<LONG>(
            std::clamp<std::int64_t>(std::int64_t{v} + d, INT32_MIN, INT32_MAX));
    };
    std::vector<RECT> out;
    out.reserve(rects_.size());
    for (const RECT& r : rects_) {
        const RECT m{move(r.left, dx), move(r.top, dy), move(r.right, dx), move(r.bottom, dy)};
        if (!IsEmptyRect(m)) out.push_back(m);
    }
    rects_.swap(out);
}

bool Region::Contains(LONG x, LONG y) const {
    for (const RECT& r : rects_)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

}  // namespace zo::plat
