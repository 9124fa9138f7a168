// The system's standard icons (application, error, question, warning, information), drawn
// once per thread as 32x32 pictures with soft edges in their alpha channel, the way the
// message box and the tooltip title show them.
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/Gdi.h"

namespace zo::plat {

namespace {

constexpr int kSize = 32;

// Coverage in [0, 1] of a shape whose signed distance at the pixel centre is d (inside < 0).
double Cover(double d) {
    return std::clamp(0.5 - d, 0.0, 1.0);
}

double Circle(double x, double y, double cx, double cy, double r) {
    return std::hypot(x - cx, y - cy) - r;
}

// Distance to a stroke of half-width w from (ax, ay) to (bx, by), with round ends.
double Stroke(double x, double y, double ax, double ay, double bx, double by, double w) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - w;
}

// Distance to a triangle pointing up, given by its apex and base corners (counter-clockwise).
double Triangle(double x, double y) {
    const double px[3] = {16.0, 1.5, 30.5}, py[3] = {2.0, 29.5, 29.5};
    double d = -1e9;
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const double ex = px[j] - px[i], ey = py[j] - py[i];
        const double len = std::hypot(ex, ey);
        // Outward normal of a counter-clockwise edge in screen coordinates.
        d = std::max(d, ((x - px[i]) * ey - (y - py[i]) * ex) / len * -1.0);
    }
    return d;
}

// Distance to the "?" mark: the hook, its stem and its dot.
double Question(double x, double y) {
    const double ring = std::abs(std::hypot(x - 16, y - 11.5) - 5.0) - 1.8;
    const double angle = std::atan2(y - 11.5, x - 16);  // screen y grows downward
    // The hook runs over the top from the left round to below the right.
    const bool onHook = angle < 1.2 || angle > 2.6;
    double d = onHook ? ring : 1e9;
    d = std::min(d, Stroke(x, y, 16, 17, 16, 19.5, 1.8));
    d = std::min(d, Circle(x, y, 16, 24.5, 2.1));
    return d;
}

struct Design {
    COLORREF fill;
    COLORREF mark;
    bool triangle;
};

Design DesignOf(std::uintptr_t id) {
    switch (id) {
        case IDI_HAND:
            return {RGB(204, 32, 32), RGB(255, 255, 255), false};
        case IDI_QUESTION:
            return {RGB(40, 96, 200), RGB(255, 255, 255), false};
        case IDI_EXCLAMATION:
            return {RGB(250, 200, 30), RGB(0, 0, 0), true};
        case IDI_ASTERISK:
            return {RGB(40, 96, 200), RGB(255, 255, 255), false};
        default:
            return {RGB(255, 255, 255), RGB(0, 0, 128), false};  // the application
    }
}

// The mark drawn over the shape.
double Mark(std::uintptr_t id, double x, double y) {
    switch (id) {
        case IDI_HAND:
            return std::min(Stroke(x, y, 10.5, 10.5, 21.5, 21.5, 2.0),
                            Stroke(x, y, 21.5, 10.5, 10.5, 21.5, 2.0));
        case IDI_QUESTION:
            return Question(x, y);
        case IDI_EXCLAMATION:
            return std::min(Stroke(x, y, 16, 11, 16, 20, 2.0), Circle(x, y, 16, 25, 2.0));
        case IDI_ASTERISK:
            return std::min(Circle(x, y, 16, 8.5, 2.2), Stroke(x, y, 16, 14, 16, 24, 2.1));
        default:  // a window: a title bar over a white face
            return std::max(std::abs(x - 16) - 11.5, std::abs(y - 10) - 3.0);
    }
}

HICON MakeIcon(std::uintptr_t id) {
    const Design design = DesignOf(id);
    Icon icon;
    icon.color.width = kSize;
    icon.color.height = kSize;
    icon.color.bpp = 32;
    icon.color.hasAlpha = true;
    icon.color.pixels.assign(static_cast<std::size_t>(kSize * kSize), 0);
    for (int py = 0; py < kSize; ++py)
        for (int px = 0; px < kSize; ++px) {
            const double x = px + 0.5, y = py + 0.5;
            const double shape = design.triangle ? Triangle(x, y)
                                 : id == IDI_APPLICATION
                                     ? std::max(std::abs(x - 16) - 13.0, std::abs(y - 16) - 11.0)
                                     : Circle(x, y, 16, 16, 14.5);
            const double a = Cover(shape);
            if (a <= 0) continue;
            const double m = Cover(Mark(id, x, y));
            // The mark over the shape, both straight colours; alpha from the shape.
            const auto mixChannel = [&](int shift) {
                const double f = (design.fill >> shift) & 0xFF, k = (design.mark >> shift) & 0xFF;
                return static_cast<Pixel>(std::lround(f + (k - f) * m));
            };
            const COLORREF c = RGB(mixChannel(0), mixChannel(8), mixChannel(16));
            const auto alpha = static_cast<Pixel>(std::lround(a * 255));
            icon.color.pixels[static_cast<std::size_t>(py * kSize + px)] =
                (alpha << 24) | (PixelFromColorRef(c) & 0x00FFFFFFu);
        }
    return CreateIconFromImages(std::move(icon));
}

}  // namespace

HICON LoadIconA(HINSTANCE instance, std::uintptr_t id) {
    if (instance != 0) return 0;  // this platform has no icon resources in modules
    switch (id) {
        case IDI_APPLICATION:
        case IDI_HAND:
        case IDI_QUESTION:
        case IDI_EXCLAMATION:
        case IDI_ASTERISK:
            break;
        default:
            return 0;
    }
    // Shared icons, as the system's are: made once per thread and never destroyed by callers.
    thread_local std::map<std::uintptr_t, HICON> icons;
    HICON& icon = icons[id];
    SIZE size;
    if (icon == 0 || GetIconSize(icon, &size) == FALSE) icon = MakeIcon(id);
    return icon;
}

}  // namespace zo::plat
