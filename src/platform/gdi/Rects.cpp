// Rectangle arithmetic, MulDiv and the library probe for the gradient and transparent-blit
// services.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string_view>

#include "platform/Gdi.h"

namespace zo::plat {

namespace {

LONG Saturate(std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
    if (dst == nullptr || a == nullptr || b == nullptr) return FALSE;
    const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                 std::min(a->bottom, b->bottom)};
    if (Empty(r)) {
        *dst = RECT{};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
    if (dst == nullptr || a == nullptr || b == nullptr) return FALSE;
    const bool ea = Empty(*a), eb = Empty(*b);
    if (ea && eb) {
        *dst = RECT{};
        return FALSE;
    }
    if (ea) {
        *dst = *b;
    } else if (eb) {
        *dst = *a;
    } else {
        *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                    std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    }
    return TRUE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left = Saturate(std::int64_t{rect->left} + dx);
    rect->right = Saturate(std::int64_t{rect->right} + dx);
    rect->top = Saturate(std::int64_t{rect->top} + dy);
    rect->bottom = Saturate(std::int64_t{rect->bottom} + dy);
    return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left = Saturate(std::int64_t{rect->left} - dx);
    rect->right = Saturate(std::int64_t{rect->right} + dx);
    rect->top = Saturate(std::int64_t{rect->top} - dy);
    rect->bottom = Saturate(std::int64_t{rect->bottom} + dy);
    return TRUE;
}

BOOL CopyRect(RECT* dst, const RECT* src) {
    if (dst == nullptr || src == nullptr) return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* rect) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{};
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) {
    return (rect == nullptr || Empty(*rect)) ? TRUE : FALSE;
}

BOOL PtInRect(const RECT* rect, POINT pt) {
    if (rect == nullptr) return FALSE;
    return (pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom)
               ? TRUE
               : FALSE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    if (a == nullptr || b == nullptr) return FALSE;
    return *a == *b ? TRUE : FALSE;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::uint64_t magnitude = static_cast<std::uint64_t>(product < 0 ? -product : product);
    const std::uint64_t absDivisor = static_cast<std::uint64_t>(divisor < 0 ? -divisor : divisor);
    // Halves round away from zero.
    const std::uint64_t q = (magnitude + absDivisor / 2) / absDivisor;
    const std::int64_t result =
        negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(result);
}

namespace {

// The probed library's handle: a fixed module handle, as a loaded module has a fixed address.
constexpr HMODULE kMsImg32 =
    (static_cast<std::uint32_t>(HandleKind::Module) << 28) | (1u << kHandleSlotBits) | 0x0101u;

struct LibraryState {
    bool available = true;
    int references = 0;
};

LibraryState& Libraries() {
    thread_local LibraryState s;
    return s;
}

bool NamesMsImg32(std::string_view name) {
    auto equal = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    };
    return equal(name, "msimg32.dll") || equal(name, "msimg32");
}

}  // namespace

HMODULE LoadLibraryA(const char* name) {
    LibraryState& s = Libraries();
    if (name == nullptr || !s.available || !NamesMsImg32(name)) return 0;
    ++s.references;
    return kMsImg32;
}

BOOL FreeLibrary(HMODULE module) {
    LibraryState& s = Libraries();
    if (module != kMsImg32 || s.references == 0) return FALSE;
    --s.references;
    return TRUE;
}

void SetMsImg32Available(bool available) {
    Libraries().available = available;
}

}  // namespace zo::plat
