// Basic types of the stand-in platform, named as the classic platform names them. Handles
// are 32-bit values from per-thread tables (see Handles.h); 0 is never a valid handle.
#pragma once

#include <cstdint>

#include "core/Export.h"

namespace zo::plat {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;  // window longs hold procedure addresses on 64-bit hosts

using HANDLE = std::uint32_t;
using HGDIOBJ = HANDLE;
using HDC = HANDLE;
using HPEN = HANDLE;
using HBRUSH = HANDLE;
using HFONT = HANDLE;
using HBITMAP = HANDLE;
using HICON = HANDLE;
using HWND = HANDLE;
using HMODULE = HANDLE;
using HINSTANCE = HANDLE;
using HCURSOR = HANDLE;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

struct ZO_API POINT {
    LONG x = 0;
    LONG y = 0;
};
struct ZO_API SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
// [left, right) x [top, bottom)
struct ZO_API RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
// Signed client coordinates of mouse messages (negative while the mouse is captured).
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<SHORT>(lp & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<SHORT>((lp >> 16) & 0xFFFF);
}

}  // namespace zo::plat
