// The standard system icons, and where the platform shows them: left of a message box's text
// and before a tooltip's title.
#include <algorithm>

#include "platform/CommCtrl.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

// The five icons side by side, alpha included (see-through corners, anti-aliased outlines, the
// marks in their shapes), held to tests/golden/platform/system_icons.png.
TEST(SystemIcons, EachStandardIconIsShared32x32AndDrawnAsTheReferenceShows) {
    Image sheet;
    sheet.width = 5 * 32;
    sheet.height = 32;
    sheet.hasAlpha = true;
    sheet.pixels.resize(5 * 32 * 32);
    std::size_t left = 0;
    for (std::uintptr_t id :
         {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        const HICON icon = LoadIconA(0, id);
        ASSERT_NE(icon, 0u) << id;
        EXPECT_EQ(LoadIconA(0, id), icon);  // the same shared icon every time
        SIZE size;
        ASSERT_TRUE(GetIconSize(icon, &size));
        EXPECT_EQ(std::pair(size.cx, size.cy), std::pair(32, 32));
        // The icon's own pixels (straight colour with alpha), read through GetIconInfo.
        ICONINFO info{};
        Image px;
        EXPECT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(ImageFromBitmap(info.hbmColor, px));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        ASSERT_EQ(px.pixels.size(), 32u * 32u);
        for (std::size_t y = 0; y < 32; ++y)
            std::copy_n(&px.pixels[y * 32], 32, &sheet.pixels[y * 5 * 32 + left]);
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
    // Red-dominated pixels inside r on the screen.
    static int RedInk(const RECT& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += (Px(x, y) >> 16) > 150 && ((Px(x, y) >> 8) & 0xFF) < 80 ? 1 : 0;
        return n;
    }
};

TEST_F(ShownIcons, AMessageBoxShowsItsIconLeftOfTheText) {
    int withIcon = 0, without = 0;
    RECT plain{}, iconic{};
    const auto inspect = [&](int& ink, RECT& box) {
        WhileModal([&] {
            box = WindowRect(GetActiveWindow());  // the message box
            // The icon's place: left of the text, under the caption bar.
            ink = RedInk(RECT{box.left, box.top + 20, box.left + 50, box.top + 70});
            Keys("Return", false);
        });
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
    const INITCOMMONCONTROLSEX icc{.dwICC = ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    const HWND owner = Top("owner", 0, 0, 200, 150);
    SetActiveWindow(owner);
    const HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, owner,
                                     0, 0, nullptr);
    char text[] = "Some help";
    TOOLINFOA ti{.uFlags = TTF_IDISHWND | TTF_SUBCLASS, .hwnd = owner, .uId = owner, .rect = {}};
    ti.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    // A title wider than the text, so that the icon widens the tip.
    static constexpr const char* kTitle = "A title wider than the help text";
    const auto ShowTip = [&] {
        InjectMouseMove(50, 50);
        PumpMessages();
        InjectMouseMove(52, 51);
        RunFor(GetDoubleClickTime() + 10);
        return WindowRect(tip);
    };
    SendMessageA(tip, TTM_SETTITLEA, TTI_NONE, reinterpret_cast<LPARAM>(kTitle));
    const RECT plain = ShowTip();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(RedInk(plain), 0);
    SendMessageA(tip, TTM_POP, 0, 0);
    InjectMouseMove(190, 140);
    RunFor(500);
    SendMessageA(tip, TTM_SETTITLEA, TTI_ERROR, reinterpret_cast<LPARAM>(kTitle));
    const RECT iconic = ShowTip();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_GT(RedInk(iconic), 30);
    EXPECT_GT(iconic.right - iconic.left, plain.right - plain.left);
    DestroyWindow(tip);
}

}  // namespace
}  // namespace zo::plat::test
