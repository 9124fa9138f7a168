// A clip region as a set of non-overlapping rectangles; enough for a window's visible area
// with its children cut out and an application clip rectangle on top.
#pragma once

#include <vector>

#include "core/Export.h"
#include "platform/Types.h"

namespace zo::plat {

class ZO_API Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { Add(r); }

    bool Empty() const { return rects_.empty(); }
    const std::vector<RECT>& Rects() const { return rects_; }
    RECT Bounds() const;  // (0,0,0,0) when empty

    // Adds r (the union); the rectangles stay non-overlapping.
    void Add(const RECT& r);
    void Subtract(const RECT& r);
    void Intersect(const RECT& r);
    void Intersect(const Region& other);
    void Offset(LONG dx, LONG dy);
    bool Contains(LONG x, LONG y) const;
    void Clear() { rects_.clear(); }

private:
    std::vector<RECT> rects_;
};

}  // namespace zo::plat
