#include "control/ControlFixture.h"
#include "control/Dispatch.h"
#include "core/Error.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::IconPicture;
using testing::Log;

using Properties = ControlTest;

std::int32_t Ole(std::uint32_t v) {
    return static_cast<std::int32_t>(v);
}

TEST_F(Properties, ANewInstanceHasEveryDefault) {
    MakeBar();
    EXPECT_EQ(bar->Appearance(), zo3dControl);
    EXPECT_EQ(bar->ButtonBackColor(), Ole(0x80000011u));
    EXPECT_EQ(bar->BorderStyle(), zoNone);
    EXPECT_EQ(bar->ButtonAppearance(), zoFlat);
    EXPECT_EQ(bar->ButtonLayout(), zoLinear);
    EXPECT_EQ(bar->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(bar->Font()->SizeTenThousandths(), 82500);
    EXPECT_EQ(bar->GroupAppearance(), zoModern3dRaised);
    EXPECT_EQ(bar->SelectedButtonAppearance(), zoClassic3dSunken);
    EXPECT_EQ(bar->ShowButtonInfo(), zoPictureAndCaption);
    EXPECT_EQ(bar->ButtonHeight(), 720);  // 48 pixels in twips
    EXPECT_EQ(bar->ButtonWidth(), 720);
    EXPECT_EQ(bar->ButtonFlow(), zoVertical);
    EXPECT_EQ(bar->GroupFlow(), zoVertical);
    EXPECT_EQ(bar->HighlightedButtonForeColor(), Ole(0x8000000Eu));
    EXPECT_EQ(bar->HighlightedButtonBackColor(), Ole(0x80000011u));
    EXPECT_EQ(bar->GroupBackColor(), Ole(0x8000000Fu));
    EXPECT_EQ(bar->GroupForeColor(), Ole(0x80000012u));
    EXPECT_EQ(bar->SelectedButtonBackColor(), bar->ButtonBackColor());
    EXPECT_EQ(bar->SelectedButtonForeColor(), bar->ButtonForeColor());
    EXPECT_EQ(bar->ButtonForeColor(), site->AmbientForeColor());
    EXPECT_EQ(bar->ButtonTextPosition(), zoBottom);
    EXPECT_EQ(bar->Caption(), "");
    EXPECT_FALSE(bar->ShowCaptionBar());
    EXPECT_FALSE(bar->m_picCaptionBar().Visible());
    EXPECT_TRUE(bar->ShowCloseButton());
    EXPECT_EQ(bar->ButtonSize(), zoAutoCalculated);
    EXPECT_EQ(bar->ButtonHighlightZone(), zoZonePictureAndText);
    EXPECT_EQ(bar->MousePointer(), 1);
    EXPECT_EQ(bar->MouseIcon(), nullptr);
    EXPECT_EQ(bar->ButtonPictureMaskColor(), 0xFFFFFF);
    EXPECT_EQ(bar->GroupGradientType(), zoGradientNone);
    EXPECT_EQ(bar->GroupGradientColor(), bar->GroupBackColor());
    EXPECT_EQ(bar->ButtonGradientType(), zoGradientNone);
    EXPECT_EQ(bar->ButtonGradientColor(), bar->ButtonBackColor());
    EXPECT_FALSE(bar->LockRefresh());
    ASSERT_EQ(bar->Groups()->Count(), 1);
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "General");
    EXPECT_EQ(bar->ActiveGroup()->TooltipText(), "General");
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    EXPECT_NE(bar->hwnd(), 0u);
}

TEST_F(Properties, InitPropertiesTellsTheHostOnlyOfRealChanges) {
    site = std::make_unique<DefaultSite>(true);
    bar = ZoButtonBar::Create(*site, 0, 0, 0, 200, 300);
    bar->InitProperties();
    const auto& c = site->Changes();
    // Defaults equal to the initial zero value cause nothing.
    for (const char* quiet : {"BorderStyle", "Caption", "LockRefresh", "ButtonFlow", "GroupFlow",
                              "ShowCaptionBar", "MouseIcon", "ButtonAppearance"})
        EXPECT_EQ(std::count(c.begin(), c.end(), quiet), 0) << quiet;
    // The others in the documented order, the new group last.
    const Log expected{"ButtonBackColor",
                       "ButtonForeColor",
                       "ButtonLayout",
                       "ButtonHeight",
                       "ButtonWidth",
                       "ButtonPictureMaskColor",
                       "ShowCloseButton",
                       "GroupAppearance",
                       "Font",
                       "SelectedButtonAppearance",
                       "ShowButtonInfo",
                       "HighlightedButtonBackColor",
                       "HighlightedButtonForeColor",
                       "GroupBackColor",
                       "GroupForeColor",
                       "SelectedButtonBackColor",
                       "SelectedButtonForeColor",
                       "ButtonTextPosition",
                       "MousePointer",
                       "GroupGradientColor",
                       "ButtonGradientColor",
                       "ActiveGroup"};
    EXPECT_EQ(c, expected);
}

TEST_F(Properties, WritingTheCurrentValueDoesNothing) {
    MakeBar();
    for (const DispatchMember& m : DispatchMembers()) {
        if (!m.get || !m.set) continue;
        bar->SetProperty(m.name, bar->GetProperty(m.name));
    }
    plat::PumpMessages();
    EXPECT_EQ(Changes(), Log{});
    EXPECT_EQ(paints.buttons + paints.upper + paints.lower + paints.caption, 0);
    EXPECT_EQ(events.Take(), Log{});
}

TEST_F(Properties, EachWriteRepaintsWhatItShouldAndNotifiesOnce) {
    MakeBar();
    // A second group gives the lower strip an area; an empty strip has nothing to repaint.
    bar->Groups()->Add("Second");
    plat::PumpMessages();
    CountPaints();
    Changes();
    bar->SetButtonAppearance(zoClassic3DRaised);
    EXPECT_EQ(paints.buttons, 1);
    EXPECT_EQ(paints.upper + paints.lower, 0);
    bar->SetGroupAppearance(zoFlat);
    EXPECT_EQ(paints.upper, 1);
    EXPECT_EQ(paints.lower, 1);
    EXPECT_EQ(paints.buttons, 1);
    // GroupBackColor: both strips, then the whole control through Refresh.
    bar->SetGroupBackColor(0x00FF00);
    EXPECT_EQ(bar->m_PicUpperGroups().BackColor(), 0x00FF00);
    EXPECT_EQ(bar->m_PicLowerGroups().BackColor(), 0x00FF00);
    EXPECT_EQ(paints.upper, 3);
    EXPECT_EQ(paints.buttons, 2);
    EXPECT_EQ(Changes(), (Log{"ButtonAppearance", "GroupAppearance", "GroupBackColor"}));
    bar->SetButtonBackColor(0x123456);
    EXPECT_EQ(bar->m_PicButtons().BackColor(), 0x123456);
    // The derived defaults were taken at the time; they do not follow.
    EXPECT_EQ(bar->SelectedButtonBackColor(), Ole(0x80000011u));
    EXPECT_EQ(bar->ButtonGradientColor(), Ole(0x80000011u));
}

TEST_F(Properties, ButtonSizesBelowOneAreRefused) {
    MakeBar();
    try {
        bar->SetButtonHeight(0);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), kObjectError);
        EXPECT_EQ(e.Description(), "Invalid property value.");
        EXPECT_EQ(e.Source(), "ZoBtnBar");
    }
    EXPECT_THROW(bar->SetButtonWidth(-5), Error);
    EXPECT_EQ(bar->ButtonHeight(), 720);
    EXPECT_EQ(bar->ButtonWidth(), 720);
    EXPECT_EQ(Changes(), Log{});
    bar->SetButtonHeight(1);
    EXPECT_EQ(bar->ButtonHeight(), 1);
}

TEST_F(Properties, WindowPropertiesRefuseWhatTheWindowCannotTake) {
    MakeBar();
    EXPECT_THROW(bar->SetAppearance(7), Error);
    EXPECT_EQ(bar->Appearance(), 1);
    EXPECT_THROW(bar->SetMousePointer(50), Error);
    EXPECT_EQ(bar->MousePointer(), 50);  // the field already holds it
    bar->SetBorderStyle(zoFixedSingle);
    EXPECT_NE(plat::GetWindowLongA(bar->hwnd(), plat::GWL_STYLE) & plat::WS_BORDER, 0);
    bar->SetAppearance(zoFlatControl);
    EXPECT_EQ(plat::GetWindowLongA(bar->hwnd(), plat::GWL_EXSTYLE) & plat::WS_EX_CLIENTEDGE, 0);
}

TEST_F(Properties, LockRefreshHoldsBackRepaintsButNotLayout) {
    MakeBar();
    bar->Groups()->Add("Second");
    bar->SetShowCaptionBar(true);
    plat::PumpMessages();
    CountPaints();
    bar->SetLockRefresh(true);
    auto g = bar->ActiveGroup();
    for (int i = 0; i < 10; ++i)
        g->Buttons()->Add("B" + std::to_string(i), IconPicture());
    bar->SetButtonAppearance(zoClassic3dSunken);
    bar->Refresh();  // only the caption bar
    EXPECT_EQ(paints.buttons, 0);
    EXPECT_EQ(paints.upper + paints.lower, 0);
    EXPECT_EQ(paints.caption, 1);
    // Layout still ran: the tenth button has its place.
    EXPECT_GT(g->Buttons()->Item(10)->ButtonRect().bottom, 0);
    bar->SetLockRefresh(false);
    EXPECT_EQ(paints.buttons, 0);  // nothing by itself
    bar->Refresh();
    EXPECT_EQ(paints.buttons, 1);
    EXPECT_EQ(paints.upper, 1);
}

TEST_F(Properties, FontChangesRemeasureAndRearrange) {
    MakeBar();
    const std::int32_t before = bar->m_lGroupHeaderHeight;
    auto bigger = std::make_shared<StdFont>();
    bigger->SetSize(20);
    bar->SetFont(bigger);
    EXPECT_GT(bar->m_lGroupHeaderHeight, before);
    EXPECT_EQ(bar->m_PicUpperGroups().ClientHeightPx(), bar->m_lGroupHeaderHeight);
    EXPECT_EQ(Changes(), Log{"Font"});
    bar->SetFont(bigger);  // the same object: nothing
    EXPECT_EQ(Changes(), Log{});
    EXPECT_THROW(bar->SetFont(nullptr), Error);
}

TEST_F(Properties, CaptionBarFollowsShowCaptionBarAndCaption) {
    MakeBar();
    bar->SetCaption("Tools");
    EXPECT_EQ(bar->m_picCaptionBar().Text(), "Tools");
    EXPECT_EQ(paints.caption, 0);  // hidden: not repainted
    bar->SetShowCaptionBar(true);
    EXPECT_TRUE(bar->m_picCaptionBar().Visible());
    EXPECT_EQ(bar->m_picCaptionBar().ClientHeightPx(), bar->m_lGroupHeaderHeight - 4);
    bar->SetCaption("tools");  // letter case counts
    EXPECT_GE(paints.caption, 1);
    EXPECT_EQ(Changes(), (Log{"Caption", "ShowCaptionBar", "Caption"}));
}

TEST_F(Properties, DispatchReadsAndWritesByNameAndRefusesUnknownNames) {
    MakeBar();
    bar->SetProperty("buttonlayout", Variant(0));
    EXPECT_EQ(bar->ButtonLayout(), zoTiled);
    bar->SetProperty("ShowCaptionBar", Variant("True"));
    EXPECT_TRUE(bar->ShowCaptionBar());
    EXPECT_EQ(bar->GetProperty("Groups").As<CGroups>(), bar->Groups());
    EXPECT_EQ(FindDispatchMember(0x68030015)->name, std::string("ActiveGroup"));
    try {
        bar->SetProperty("NoSuchThing", Variant(1));
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 438);
    }
    EXPECT_THROW(bar->SetProperty("hwnd", Variant(1)), Error);
    EXPECT_THROW(bar->SetProperty("ButtonHeight", Variant("tall")), Error);
    EXPECT_EQ(DispatchMembers().size(), 40u);
}

}  // namespace
}  // namespace zo
