// The Position and Appearance pages: they show the first selected control, write every input
// back to it on Apply in their fixed order, and leave the host to report a failed write.
#include <gtest/gtest.h>

#include "pages/PageFixture.h"

namespace zo::testing {
namespace {

using namespace plat;

constexpr int kAppearance = 0;
constexpr int kPosition = 1;

TEST_F(PageTest, PagesShowTheFirstSelectedControlAndApplyOnlyToIt) {
    auto other = ZoButtonBar::Create(*site, 0, 600, 420, 100, 100);
    other->InitProperties();
    bar->SetButtonFlow(zoHorizontal);
    bar->SetButtonSize(zoUserSpecified);
    bar->SetButtonWidth(600);
    bar->SetCaption("Tools");
    Open(kPosition, {bar, other});
    EXPECT_EQ(Sel(Ctl(kPosition, "lstButtonFlow")), 1);
    EXPECT_EQ(Sel(Ctl(kPosition, "lstButtonSize")), 1);
    EXPECT_EQ(Text(Ctl(kPosition, "txtBtnWidth")), "600");

    Choose(Ctl(kPosition, "lstGroupFlow"), 1);
    Retype(Ctl(kPosition, "txtBtnHeight"), "450");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->GroupFlow(), zoHorizontal);
    EXPECT_EQ(bar->ButtonHeight(), 450);
    EXPECT_EQ(other->GroupFlow(), zoVertical);
    EXPECT_EQ(other->ButtonHeight(), 720);

    SendMessageA(sheet, PSM_SETCURSEL, kAppearance, 0);
    PumpMessages();
    EXPECT_EQ(Text(Ctl(kAppearance, "txtCaption")), "Tools");
    Retype(Ctl(kAppearance, "txtCaption"), "");
    Press(PSBTN_OK);
    EXPECT_EQ(bar->Caption(), "");
    EXPECT_EQ(other->Caption(), "");
    EXPECT_FALSE(IsWindow(sheet));
}

// Apply with nothing touched still writes every input, so a value the control took in the
// meantime goes back to what the page shows.
TEST_F(PageTest, ApplyUntouchedWritesEveryPropertyAgain) {
    struct Row {
        const char* name;
        int page;
        const char* property;
        Variant behindThePage, restored;
    };
    const Row rows[] = {
        {"list", kPosition, "ButtonLayout", zoTiled, zoLinear},
        {"number", kPosition, "ButtonWidth", 99, 720},
        {"check box", kAppearance, "ShowCaptionBar", true, false},
        {"text", kAppearance, "Caption", "later", ""},
        {"last list", kAppearance, "ButtonGradientType", 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Open(r.page);
        EXPECT_TRUE(ApplyEnabled());
        bar->SetProperty(r.property, r.behindThePage);
        Press(PSBTN_APPLYNOW);
        EXPECT_EQ(bar->GetProperty(r.property).ToText(), r.restored.ToText());
        EXPECT_TRUE(shown.empty());
        Press(PSBTN_CANCEL);
        host.reset();
        pages.clear();
    }
}

TEST_F(PageTest, AWidthThatIsNoNumberStopsApplyAfterTheListsAndTheHostReportsIt) {
    Open(kPosition);
    Choose(Ctl(kPosition, "lstButtonTextPosition"), 2);
    Retype(Ctl(kPosition, "txtBtnWidth"), "abc");
    Retype(Ctl(kPosition, "txtBtnHeight"), "300");
    Press(PSBTN_OK);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 17), "Type mismatch|16|");
    EXPECT_EQ(bar->ButtonTextPosition(), zoTop);  // written before the width
    EXPECT_EQ(bar->ButtonHeight(), 720);          // after it: not written
    EXPECT_TRUE(IsWindow(sheet));                 // the sheet stays open on the page
}

TEST_F(PageTest, AppearanceEditsAreWrittenInThePagesOrder) {
    Open(kAppearance);
    EXPECT_FALSE(Checked(Ctl(kAppearance, "chkShowCaptionBar")));
    EXPECT_EQ(Sel(Ctl(kAppearance, "lstShowButtonInfo")), 1);
    ClickAt(Ctl(kAppearance, "chkShowCaptionBar"));
    Choose(Ctl(kAppearance, "lstBtnGradientType"), 3);
    Choose(Ctl(kAppearance, "lstAppearance"), 0);
    Retype(Ctl(kAppearance, "txtCaption"), "Outlook bar");
    Press(PSBTN_APPLYNOW);
    EXPECT_TRUE(bar->ShowCaptionBar());
    EXPECT_EQ(bar->ButtonGradientType(), 3);
    EXPECT_EQ(bar->Appearance(), 0);
    EXPECT_EQ(bar->Caption(), "Outlook bar");
    // Setters that see no change stay silent, so the host hears exactly the edits, in order.
    EXPECT_EQ(Changes(), (Log{"ShowCaptionBar", "Appearance", "ButtonGradientType", "Caption"}));
}

TEST_F(PageTest, TheCustomPointerIsTheLastItemOfThePointerList) {
    bar->SetMousePointer(99);
    Open(kAppearance);
    const HWND list = Ctl(kAppearance, "lstMousePointer");
    EXPECT_EQ(Sel(list), 16);
    Choose(list, 11);
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->MousePointer(), 11);
    Choose(list, 16);
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(bar->MousePointer(), 99);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace zo::testing
