// The standard system icons, and where the platform shows them: left of a message box's text
// and before a tooltip's title.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "platform/CommCtrl.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Image.h"
#include "platform/image/ImageCompare.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

// The icon's own pixels (straight colour with alpha), read through GetIconInfo.
Image PixelsOf(HICON icon) {
    ICONINFO info{};
    Image img;
    EXPECT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(ImageFromBitmap(info.hbmColor, img));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return img;
}

// A channel of a pixel: 24 alpha, 16 red, 8 green, 0 blue.
int Ch(std::uint32_t p, int shift) {
    return static_cast<int>((p >> shift) & 0xFF);
}

// The five icons side by side, alpha included (see-through corners, anti-aliased outlines, the
// marks in their shapes), held to tests/golden/platform/system_icons.png.
TEST(SystemIcons, EachStandardIconIsShared32x32AndDrawnAsTheReferenceShows) {
    Image sheet;
    sheet.width = 5 * 32;
    sheet.height = 32;
    sheet.hasAlpha = true;
    sheet.pixels.resize(5 * 32 * 32);
    int left = 0;
    for (std::uintptr_t id :
         {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        const HICON icon = LoadIconA(0, id);
        ASSERT_NE(icon, 0u) << id;
        EXPECT_EQ(LoadIconA(0, id), icon);  // the same shared icon every time
        SIZE size;
        ASSERT_TRUE(GetIconSize(icon, &size));
        EXPECT_EQ(size.cx, 32);
        EXPECT_EQ(size.cy, 32);
        const Image px = PixelsOf(icon);
        ASSERT_EQ(px.pixels.size(), 32u * 32u);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                sheet.pixels[static_cast<std::size_t>(y * sheet.width + left + x)] = px.At(x, y);
        left += 32;
    }
    EXPECT_EQ(LoadIconA(0, 12345), 0u);
    EXPECT_EQ(LoadIconA(1, IDI_HAND), 0u);  // no module has icon resources here
    EXPECT_EQ(CompareWithReference(
                  sheet, std::string(ZO_SOURCE_DIR) + "/tests/golden/platform/system_icons.png",
                  std::string(ZO_BINARY_DIR) + "/golden-out/platform"),
              "");
}

class ShownIcons : public WinTest {
protected:
    ShownIcons() { tlsDuring = &during; }
    ~ShownIcons() override { tlsDuring = nullptr; }
    // Red-dominated pixels inside r on the screen.
    static int RedInk(const RECT& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += Ch(Px(x, y), 16) > 150 && Ch(Px(x, y), 8) < 80 ? 1 : 0;
        return n;
    }
    std::function<void()> during;
};

TEST_F(ShownIcons, AMessageBoxShowsItsIconLeftOfTheText) {
    int withIcon = 0, without = 0;
    RECT plain{}, iconic{};
    const auto inspect = [&](int& ink, RECT& box) {
        during = [&] {
            GetWindowRect(GetActiveWindow(), &box);  // the message box
            // The icon's place: left of the text, under the caption bar.
            ink = RedInk(RECT{box.left, box.top + 20, box.left + 50, box.top + 70});
            InjectKey(VK_RETURN, true);
            InjectKey(VK_RETURN, false);
        };
        SetTimer(0, 0, 50, &DuringProc);
    };
    inspect(withIcon, iconic);
    EXPECT_EQ(MessageBoxA(0, "Disk full.", "Save", MB_OK | MB_ICONHAND), IDOK);
    inspect(without, plain);
    EXPECT_EQ(MessageBoxA(0, "Disk full.", "Save", MB_OK), IDOK);
    EXPECT_GT(withIcon, 100);
    EXPECT_EQ(without, 0);
    EXPECT_GT(iconic.right - iconic.left, plain.right - plain.left);  // room for the icon
}

TEST_F(ShownIcons, ATooltipTitleCarriesItsIcon) {
    INITCOMMONCONTROLSEX icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    const HWND owner = Top("owner", 0, 0, 200, 150);
    SetActiveWindow(owner);
    const HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, owner,
                                     0, 0, nullptr);
    TOOLINFOA ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = owner;
    char text[] = "Some help";
    ti.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    // A title wider than the text, so that the icon widens the tip.
    static constexpr const char* kTitle = "A title wider than the help text";
    const auto ShowTip = [&] {
        InjectMouseMove(50, 50);
        PumpMessages();
        InjectMouseMove(52, 51);
        PumpMessages();
        AdvanceClock(GetDoubleClickTime() + 10);
        PumpMessages();
        RECT r;
        GetWindowRect(tip, &r);
        return r;
    };
    SendMessageA(tip, TTM_SETTITLEA, TTI_NONE, reinterpret_cast<LPARAM>(kTitle));
    const RECT plain = ShowTip();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(RedInk(plain), 0);
    SendMessageA(tip, TTM_POP, 0, 0);
    InjectMouseMove(190, 140);
    PumpMessages();
    AdvanceClock(500);
    PumpMessages();
    SendMessageA(tip, TTM_SETTITLEA, TTI_ERROR, reinterpret_cast<LPARAM>(kTitle));
    const RECT iconic = ShowTip();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_GT(RedInk(iconic), 30);
    EXPECT_GT(iconic.right - iconic.left, plain.right - plain.left);
    DestroyWindow(tip);
}

}  // namespace
}  // namespace zo::plat::test
