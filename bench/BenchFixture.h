// What the control benchmarks share: the 32x32 icon every button shows, made in code, and a
// bar with the site that hosts it.
#pragma once

#include <cstdint>
#include <memory>

#include "control/ZoButtonBar.h"
#include "platform/Gdi.h"

namespace zo::bench {

inline PicturePtr MakeIcon() {
    const plat::HDC dc = plat::CreateCompatibleDC(0);
    const plat::HBITMAP bmp = plat::CreateBitmap(32, 32, 1, 32, nullptr);
    const plat::HGDIOBJ old = plat::SelectObject(dc, bmp);
    const plat::RECT all{0, 0, 32, 32}, inner{4, 4, 28, 28};
    const plat::HBRUSH white = plat::CreateSolidBrush(plat::RGB(255, 255, 255));
    const plat::HBRUSH blue = plat::CreateSolidBrush(plat::RGB(60, 120, 200));
    plat::FillRect(dc, &all, white);
    plat::FillRect(dc, &inner, blue);
    plat::SelectObject(dc, old);
    plat::DeleteObject(white);
    plat::DeleteObject(blue);
    plat::DeleteDC(dc);
    return Picture::FromPixels(PictureType::Bitmap, bmp, 32, 32,
                               [](std::uint32_t h) { plat::DeleteObject(h); });
}

struct Bar {
    std::unique_ptr<DefaultSite> site = std::make_unique<DefaultSite>(true);
    ButtonBarPtr bar;
};

}  // namespace zo::bench
