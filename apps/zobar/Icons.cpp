#include "Icons.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Gdi.h"

namespace zobar {

using namespace zo::plat;

namespace {

// A drawing session on a new bitmap: everything is released on every path.
class Canvas {
public:
    explicit Canvas(int size) : size_(size) {
        dc_ = CreateCompatibleDC(0);
        bitmap_ = CreateBitmap(size, size, 1, 32, nullptr);
        old_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, size, size};
        Fill(all, RGB(255, 255, 255));
    }
    ~Canvas() {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
        if (bitmap_) DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Scales a coordinate of the 32-unit design grid to the bitmap.
    LONG S(double v) const { return static_cast<LONG>(std::lround(v * size_ / 32.0)); }

    void Fill(const RECT& r, COLORREF c) {
        const HBRUSH b = CreateSolidBrush(c);
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    void Box(double l, double t, double r, double b, COLORREF fill, COLORREF line) {
        Poly({{l, t}, {r, t}, {r, b}, {l, b}}, fill, line);
    }
    void Poly(const std::vector<std::array<double, 2>>& pts, COLORREF fill, COLORREF line) {
        std::vector<POINT> p;
        for (const auto& q : pts)
            p.push_back(POINT{S(q[0]), S(q[1])});
        const HBRUSH b = CreateSolidBrush(fill);
        const HPEN pen = CreatePen(0, 1, line);
        const HGDIOBJ ob = SelectObject(dc_, b);
        const HGDIOBJ op = SelectObject(dc_, pen);
        Polygon(dc_, p.data(), static_cast<int>(p.size()));
        SelectObject(dc_, ob);
        SelectObject(dc_, op);
        DeleteObject(b);
        DeleteObject(pen);
    }
    void Circle(double cx, double cy, double r, COLORREF fill, COLORREF line) {
        std::vector<POINT> p;
        for (int i = 0; i < 24; ++i) {
            const double a = i * 3.14159265358979 / 12;
            p.push_back(POINT{S(cx + r * std::cos(a)), S(cy + r * std::sin(a))});
        }
        const HBRUSH b = CreateSolidBrush(fill);
        const HPEN pen = CreatePen(0, 1, line);
        const HGDIOBJ ob = SelectObject(dc_, b);
        const HGDIOBJ op = SelectObject(dc_, pen);
        Polygon(dc_, p.data(), static_cast<int>(p.size()));
        SelectObject(dc_, ob);
        SelectObject(dc_, op);
        DeleteObject(b);
        DeleteObject(pen);
    }
    void Line(double x0, double y0, double x1, double y1, COLORREF c) {
        const HPEN pen = CreatePen(0, 1, c);
        const HGDIOBJ op = SelectObject(dc_, pen);
        MoveToEx(dc_, S(x0), S(y0), nullptr);
        LineTo(dc_, S(x1), S(y1));
        SelectObject(dc_, op);
        DeleteObject(pen);
    }

    // Hands the bitmap to a picture that deletes it when it goes.
    zo::PicturePtr Take() {
        SelectObject(dc_, old_);
        old_ = 0;
        const HBITMAP bmp = bitmap_;
        bitmap_ = 0;
        return zo::Picture::FromPixels(zo::PictureType::Bitmap, bmp, size_, size_,
                                       [](std::uint32_t h) { DeleteObject(h); });
    }

private:
    int size_;
    HDC dc_ = 0;
    HBITMAP bitmap_ = 0;
    HGDIOBJ old_ = 0;
};

constexpr COLORREF kInk = RGB(40, 40, 48);

void Folder(Canvas& c) {
    c.Poly({{3, 8}, {12, 8}, {14, 10}, {29, 10}, {29, 26}, {3, 26}}, RGB(222, 170, 48), kInk);
    c.Poly({{3, 13}, {29, 13}, {29, 26}, {3, 26}}, RGB(250, 204, 82), kInk);
}

void Document(Canvas& c) {
    c.Poly({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}}, RGB(246, 246, 240), kInk);
    c.Poly({{20, 3}, {20, 9}, {26, 9}}, RGB(210, 210, 200), kInk);
    for (int y = 13; y <= 25; y += 3)
        c.Line(10, y, 23, y, RGB(90, 110, 160));
}

void Mail(Canvas& c) {
    c.Box(3, 8, 29, 25, RGB(236, 240, 250), kInk);
    c.Line(3, 8, 16, 18, kInk);
    c.Line(16, 18, 29, 8, kInk);
}

void Star(Canvas& c) {
    std::vector<std::array<double, 2>> pts;
    for (int i = 0; i < 10; ++i) {
        const double a = -3.14159265358979 / 2 + i * 3.14159265358979 / 5;
        const double r = i % 2 == 0 ? 14 : 6;
        pts.push_back({16 + r * std::cos(a), 17 + r * std::sin(a)});
    }
    c.Poly(pts, RGB(250, 196, 30), RGB(170, 110, 0));
}

void Calendar(Canvas& c) {
    c.Box(4, 6, 28, 28, RGB(250, 250, 250), kInk);
    c.Box(4, 6, 28, 12, RGB(206, 56, 48), kInk);
    for (int x = 8; x <= 24; x += 5)
        for (int y = 15; y <= 25; y += 5)
            c.Box(x - 1, y - 1, x + 2, y + 2, RGB(120, 130, 150), RGB(120, 130, 150));
}

void Chart(Canvas& c) {
    c.Line(4, 28, 29, 28, kInk);
    c.Line(4, 4, 4, 28, kInk);
    c.Box(7, 18, 11, 28, RGB(64, 140, 220), kInk);
    c.Box(13, 11, 17, 28, RGB(80, 180, 90), kInk);
    c.Box(19, 15, 23, 28, RGB(230, 140, 40), kInk);
    c.Box(25, 7, 28, 28, RGB(200, 70, 70), kInk);
}

void Globe(Canvas& c) {
    c.Circle(16, 16, 12.5, RGB(70, 140, 215), kInk);
    c.Poly({{10, 9}, {17, 8}, {19, 13}, {14, 17}, {11, 15}}, RGB(90, 180, 90), RGB(50, 120, 50));
    c.Poly({{18, 18}, {24, 17}, {23, 24}, {19, 25}}, RGB(90, 180, 90), RGB(50, 120, 50));
}

void Gear(Canvas& c) {
    std::vector<std::array<double, 2>> pts;
    for (int i = 0; i < 16; ++i) {
        const double a = i * 3.14159265358979 / 8;
        const double r = (i % 2 == 0) ? 13 : 9.5;
        pts.push_back({16 + r * std::cos(a), 16 + r * std::sin(a)});
    }
    c.Poly(pts, RGB(150, 158, 170), kInk);
    c.Circle(16, 16, 4, RGB(250, 250, 250), kInk);
}

void Trash(Canvas& c) {
    c.Box(8, 10, 24, 29, RGB(170, 176, 186), kInk);
    c.Box(5, 6, 27, 10, RGB(120, 128, 140), kInk);
    c.Box(13, 3, 19, 6, RGB(120, 128, 140), kInk);
    for (int x = 12; x <= 20; x += 4)
        c.Line(x, 13, x, 26, kInk);
}

void Bulb(Canvas& c) {
    c.Circle(16, 13, 9, RGB(255, 232, 110), RGB(180, 140, 20));
    c.Box(12, 21, 20, 27, RGB(150, 150, 160), kInk);
    c.Line(12, 24, 20, 24, kInk);
}

void Heart(Canvas& c) {
    c.Poly(
        {{16, 28}, {4, 15}, {4, 9}, {8, 5}, {12, 5}, {16, 9}, {20, 5}, {24, 5}, {28, 9}, {28, 15}},
        RGB(220, 60, 80), RGB(140, 20, 40));
}

void Printer(Canvas& c) {
    c.Box(9, 4, 23, 13, RGB(246, 246, 240), kInk);
    c.Box(4, 12, 28, 24, RGB(110, 118, 130), kInk);
    c.Box(9, 20, 23, 29, RGB(246, 246, 240), kInk);
    c.Box(23, 15, 25, 17, RGB(90, 220, 90), RGB(90, 220, 90));
}

struct Entry {
    std::string_view name;
    void (*draw)(Canvas&);
};

constexpr Entry kIcons[] = {
    {"folder", Folder},     {"document", Document}, {"mail", Mail},   {"star", Star},
    {"calendar", Calendar}, {"chart", Chart},       {"globe", Globe}, {"gear", Gear},
    {"trash", Trash},       {"bulb", Bulb},         {"heart", Heart}, {"printer", Printer},
};

}  // namespace

const std::vector<std::string_view>& IconNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> n;
        for (const Entry& e : kIcons)
            n.push_back(e.name);
        return n;
    }();
    return names;
}

zo::PicturePtr MakeIcon(std::string_view name, int size) {
    Canvas c(size);
    bool drawn = false;
    for (const Entry& e : kIcons)
        if (e.name == name) {
            e.draw(c);
            drawn = true;
        }
    if (!drawn) c.Box(4, 4, 28, 28, RGB(160, 160, 170), kInk);
    return c.Take();
}

zo::PicturePtr MakeBackgroundTile(int size) {
    Canvas c(size);
    for (int y = 0; y < size; ++y) {
        const RECT row{0, y, size, y + 1};
        c.Fill(row, RGB(226 - y / 4, 234 - y / 6, 244));
    }
    for (int d = -size; d < size; d += 8)
        c.Line(d / (size / 32.0), 0, (d + size) / (size / 32.0), 32, RGB(214, 224, 240));
    return c.Take();
}

}  // namespace zobar
