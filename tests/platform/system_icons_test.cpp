// The standard system icons, and where the platform shows them: left of a message box's text
// and before a tooltip's title.
#include <cstring>
#include <functional>

#include "platform/CommCtrl.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "win_support.h"

namespace zo::plat::test {
namespace {

// The icon's own pixels (straight colour with alpha), read through GetIconInfo.
struct IconPixels {
    explicit IconPixels(HICON icon) {
        ICONINFO info;
        ok = GetIconInfo(icon, &info) != FALSE;
        if (!ok) return;
        bits = GetGdi(info.hbmColor, GdiKind::Bitmap)->bitmap;
        DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    Pixel At(int x, int y) const {
        return bits.pixels[static_cast<std::size_t>(y * bits.width + x)];
    }
    static int Red(Pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
    static int Green(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
    static int Blue(Pixel p) { return static_cast<int>(p & 0xFF); }
    static int Alpha(Pixel p) { return static_cast<int>(p >> 24); }
    bool ok = false;
    Bitmap bits;
};

TEST(SystemIcons, EachStandardIconIsShared32x32WithSoftEdges) {
    for (std::uintptr_t id :
         {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        const HICON icon = LoadIconA(0, id);
        ASSERT_NE(icon, 0u) << id;
        EXPECT_EQ(LoadIconA(0, id), icon);  // the same shared icon every time
        SIZE size;
        ASSERT_TRUE(GetIconSize(icon, &size));
        EXPECT_EQ(size.cx, 32);
        EXPECT_EQ(size.cy, 32);
        const IconPixels px(icon);
        ASSERT_TRUE(px.ok);
        EXPECT_EQ(IconPixels::Alpha(px.At(0, 0)), 0) << id;  // corners see through
        if (id == IDI_APPLICATION) continue;                 // a window: straight edges
        int soft = 0;
        for (const Pixel p : px.bits.pixels)
            soft += IconPixels::Alpha(p) > 0 && IconPixels::Alpha(p) < 255 ? 1 : 0;
        EXPECT_GT(soft, 10) << id;  // anti-aliased outline
    }
    EXPECT_EQ(LoadIconA(0, 12345), 0u);
    EXPECT_EQ(LoadIconA(1, IDI_HAND), 0u);  // no module has icon resources here
}

TEST(SystemIcons, TheMarksSitInTheirShapes) {
    // Error: a red disc with a white cross through its centre.
    const IconPixels error(LoadIconA(0, IDI_ERROR));
    EXPECT_EQ(error.At(16, 16) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_GT(IconPixels::Red(error.At(16, 5)), 180);
    EXPECT_LT(IconPixels::Green(error.At(16, 5)), 60);
    // Warning: a yellow triangle, apex up, with a dark mark.
    const IconPixels warning(LoadIconA(0, IDI_WARNING));
    EXPECT_EQ(IconPixels::Alpha(warning.At(2, 4)), 0);  // beside the apex
    EXPECT_EQ(IconPixels::Alpha(warning.At(16, 27)), 255);
    EXPECT_LT(IconPixels::Red(warning.At(16, 15)), 40);  // the bar of the "!"
    EXPECT_GT(IconPixels::Red(warning.At(6, 27)), 200);
    // Information: a blue disc with the white "i".
    const IconPixels info(LoadIconA(0, IDI_INFORMATION));
    EXPECT_EQ(info.At(16, 20) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_GT(IconPixels::Blue(info.At(6, 16)), 150);
}

class ShownIcons : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        tlsDuring = &during;
    }
    void TearDown() override {
        tlsDuring = nullptr;
        WinTest::TearDown();
    }
    // Red-dominated pixels inside r on the screen.
    static int RedInk(const RECT& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const std::uint32_t p = Px(x, y);
                n += ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 80 ? 1 : 0;
            }
        return n;
    }
    std::function<void()> during;
};

TEST_F(ShownIcons, AMessageBoxShowsItsIconLeftOfTheText) {
    int withIcon = 0, without = 0;
    RECT plain{}, iconic{};
    const auto inspect = [&](int& ink, RECT& box) {
        during = [&] {
            for (HWND h = GetTopWindow(0); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
                char name[32] = {};
                GetClassNameA(h, name, sizeof name);
                if (std::strcmp(name, "ZoMessageBox") == 0) GetWindowRect(h, &box);
            }
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
