// The standard pages after the control's own: colours from the palette and the system
// colours, the font's face, size and style, and the MouseIcon picture; each writes only what
// was changed.
#include <gtest/gtest.h>

#include "host/StdFont.h"
#include "pages/PageFixture.h"
#include "platform/Dialogs.h"

namespace zo::testing {
namespace {

using namespace plat;

constexpr int kColor = 4;
constexpr int kFont = 5;
constexpr int kPicture = 6;

// Clicks item i of a list box.
void ClickItem(HWND list, int i) {
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT w;
    GetWindowRect(list, &w);
    InjectClick(w.left + (item.left + item.right) / 2 + 1, w.top + (item.top + item.bottom) / 2 + 1,
                VK_LBUTTON);
    PumpMessages();
}

TEST_F(PageTest, TheColorPageSetsTheChosenPropertyFromThePaletteOrTheSystemColors) {
    Open(kColor);
    const HWND list = Ctl(kColor, "lstProperties");
    // The properties in the dispatch table's order: GroupBackColor is the fourth.
    char name[64] = {};
    SendMessageA(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(name));
    ASSERT_STREQ(name, "GroupBackColor");
    const std::int32_t foreBefore = bar->GroupForeColor();
    ClickItem(list, 3);
    RECT page;
    GetWindowRect(Page(kColor).hWnd(), &page);
    InjectClick(page.left + 200 + 26 * 1 + 12, page.top + 74 + 26 + 12, VK_LBUTTON);  // red
    PumpMessages();
    EXPECT_EQ(Text(Ctl(kColor, "txtValue")), "&H000000FF&");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->GroupBackColor(), 0x0000FF);
    EXPECT_EQ(bar->GroupForeColor(), foreBefore);
    EXPECT_EQ(Changes(), Log{"GroupBackColor"});

    ClickItem(list, 4);
    Choose(Ctl(kColor, "lstSystem"), 13);  // Highlight
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->GroupForeColor(), static_cast<std::int32_t>(0x8000000Du));
    EXPECT_EQ(Changes(), Log{"GroupForeColor"});
}

TEST_F(PageTest, TheFontPageGivesTheControlANewFont) {
    Open(kFont);
    const auto before = bar->Font();
    const std::string face = before->Name();
    EXPECT_EQ(Text(Ctl(kFont, "txtSize")), Variant(before->Size()).ToText());
    Choose(Ctl(kFont, "lstFace"), 1);  // Arial
    Retype(Ctl(kFont, "txtSize"), "12");
    ClickAt(Ctl(kFont, "chkBold"));
    ClickAt(Ctl(kFont, "chkUnderline"));
    Press(PSBTN_APPLYNOW);
    const auto after = bar->Font();
    EXPECT_EQ(after->Name(), "Arial");
    EXPECT_EQ(after->Size(), 12.0);
    EXPECT_TRUE(after->Bold());
    EXPECT_TRUE(after->Underline());
    EXPECT_FALSE(after->Italic());
    EXPECT_EQ(before->Name(), face);  // the old object is left as it was

    Retype(Ctl(kFont, "txtSize"), "big");
    Press(PSBTN_APPLYNOW);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 17), "Type mismatch|16|");
    EXPECT_EQ(bar->Font()->Size(), 12.0);
}

TEST_F(PageTest, ThePicturePageSetsAndClearsTheMouseIcon) {
    Open(kPicture);
    PickFile(Ctl(kPicture, "btnBrowse"), BitmapFile("pointer.bmp"));
    Press(PSBTN_APPLYNOW);
    ASSERT_NE(bar->MouseIcon(), nullptr);
    EXPECT_EQ(bar->MouseIcon()->Type(), 1);
    ClickAt(Ctl(kPicture, "btnClear"));
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->MouseIcon(), nullptr);
}

}  // namespace
}  // namespace zo::testing
