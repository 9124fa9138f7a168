#include <cstdio>
#include <iterator>

#include "control/ControlFixture.h"
#include "control/Dispatch.h"

namespace zo {
namespace {

using testing::ControlTest;
using testing::ErrorOf;
using testing::IconPicture;
using testing::Log;

using Properties = ControlTest;

// The words of a space-separated list.
Log Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

TEST_F(Properties, ANewInstanceHasEveryDefaultAndTellsTheHostOnlyOfRealChanges) {
    site = std::make_unique<DefaultSite>(true);
    bar = ZoButtonBar::Create(*site, 0, 0, 0, 200, 300);
    bar->InitProperties();
    // In the documented order, the new group last; defaults equal to the initial zero value
    // (BorderStyle, Caption, LockRefresh, the flows, ShowCaptionBar, MouseIcon,
    // ButtonAppearance) cause nothing.
    EXPECT_EQ(site->Changes(),
              Words("ButtonBackColor ButtonForeColor ButtonLayout ButtonHeight ButtonWidth "
                    "ButtonPictureMaskColor ShowCloseButton GroupAppearance Font "
                    "SelectedButtonAppearance ShowButtonInfo HighlightedButtonBackColor "
                    "HighlightedButtonForeColor GroupBackColor GroupForeColor "
                    "SelectedButtonBackColor SelectedButtonForeColor ButtonTextPosition "
                    "MousePointer GroupGradientColor ButtonGradientColor ActiveGroup"));
    // Colours in hexadecimal, the rest as the dispatch interface gives them.
    const std::string expected =
        "Appearance=1 BorderStyle=0 ButtonAppearance=0 ButtonLayout=1 GroupAppearance=3 "
        "SelectedButtonAppearance=4 ShowButtonInfo=1 ButtonHeight=720 ButtonWidth=720 "
        "ButtonFlow=0 GroupFlow=0 ButtonTextPosition=3 ButtonSize=0 ButtonHighlightZone=0 "
        "MousePointer=1 GroupGradientType=0 ButtonGradientType=0 Caption= "
        "ShowCaptionBar=False ShowCloseButton=True LockRefresh=False "
        "ButtonBackColor=&H80000011& ButtonForeColor=&H80000012& "
        "HighlightedButtonForeColor=&H8000000E& HighlightedButtonBackColor=&H80000011& "
        "GroupBackColor=&H8000000F& GroupForeColor=&H80000012& "
        "SelectedButtonBackColor=&H80000011& SelectedButtonForeColor=&H80000012& "
        "ButtonPictureMaskColor=&H00FFFFFF& GroupGradientColor=&H8000000F& "
        "ButtonGradientColor=&H80000011&";
    std::string actual;
    for (const std::string& item : Words(expected)) {
        const std::string name = item.substr(0, item.find('='));
        const Variant v = bar->GetProperty(name);
        std::string shown = v.ToText();
        if (name.ends_with("Color")) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "&H%08X&", static_cast<unsigned>(v.ToLong()));
            shown = hex;
        }
        actual += (actual.empty() ? "" : " ") + name + "=" + shown;
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(bar->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(bar->Font()->SizeTenThousandths(), 82500);
    EXPECT_FALSE(bar->m_picCaptionBar().Visible());
    EXPECT_EQ(bar->MouseIcon(), nullptr);
    ASSERT_EQ(bar->Groups()->Count(), 1);
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "General");
    EXPECT_EQ(bar->ActiveGroup()->TooltipText(), "General");
    EXPECT_EQ(bar->SelectedButton(), nullptr);
    EXPECT_NE(bar->hwnd(), 0u);
}

TEST_F(Properties, AWriteRepaintsWhatItShouldAndNotifiesOnceUnlessTheValueIsTheSame) {
    MakeBar();
    for (const DispatchMember& m : DispatchMembers()) {
        if (!m.get || !m.set) continue;
        bar->SetProperty(m.name, bar->GetProperty(m.name));
    }
    plat::PumpMessages();
    EXPECT_EQ(Changes(), Log{});
    EXPECT_EQ(paints.buttons + paints.upper + paints.lower + paints.caption, 0);
    EXPECT_EQ(events.Take(), Log{});
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
    EXPECT_EQ(bar->SelectedButtonBackColor(), static_cast<std::int32_t>(0x80000011u));
    EXPECT_EQ(bar->ButtonGradientColor(), bar->SelectedButtonBackColor());
}

// Every write and model change that moves things leaves what a complete layout leaves.
TEST_F(Properties, EveryChangeThatMovesThingsLaysThemOutAgain) {
    struct Row {
        const char* name;
        std::function<void(ZoButtonBar&)> change;
    };
    const auto list = [](ZoButtonBar& b) -> CButtons& { return *b.ActiveGroup()->Buttons(); };
    auto bigFont = std::make_shared<StdFont>();
    bigFont->SetSize(20);
    const Row rows[] = {
        {"ButtonTextPosition", [](ZoButtonBar& b) { b.SetButtonTextPosition(zoRight); }},
        {"ButtonLayout", [](ZoButtonBar& b) { b.SetButtonLayout(zoTiled); }},
        {"ButtonFlow", [](ZoButtonBar& b) { b.SetButtonFlow(zoHorizontal); }},
        {"Font", [&](ZoButtonBar& b) { b.SetFont(bigFont); }},
        {"button caption", [&](ZoButtonBar& b) { list(b).Item(2)->SetCaption("A long caption"); }},
        {"button picture", [&](ZoButtonBar& b) { list(b).Item(1)->SetPicture(IconPicture(40)); }},
        {"move a button", [&](ZoButtonBar& b) { list(b).SetNewIndex(list(b).Item(1), 5); }},
        {"remove a button", [&](ZoButtonBar& b) { list(b).Remove(2); }},
        {"GroupFlow", [](ZoButtonBar& b) { b.SetGroupFlow(zoHorizontal); }},
        {"ShowCaptionBar", [](ZoButtonBar& b) { b.SetShowCaptionBar(true); }},
        {"add a group", [](ZoButtonBar& b) { b.Groups()->Add("Fourth"); }},
        {"hide a group", [](ZoButtonBar& b) { b.Groups()->Item(3)->SetVisible(false); }},
        {"show it again", [](ZoButtonBar& b) { b.Groups()->Item(3)->SetVisible(true); }},
        {"switch", [](ZoButtonBar& b) { b.SetActiveGroup(b.Groups()->Item(2)); }},
        {"remove a group", [](ZoButtonBar& b) { b.Groups()->Remove(1); }},
        {"ShowButtonInfo", [](ZoButtonBar& b) { b.SetShowButtonInfo(zoPictureOnly); }},
        {"ButtonSize", [](ZoButtonBar& b) { b.SetButtonSize(zoUserSpecified); }},
        {"ButtonHeight", [](ZoButtonBar& b) { b.SetButtonHeight(1000); }},
        {"ButtonWidth", [](ZoButtonBar& b) { b.SetButtonWidth(1500); }},
    };
    MakeBar();
    for (int i = 1; i <= 12; ++i)
        bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), IconPicture());
    bar->Groups()->Add("Second")->Buttons()->Add("S", IconPicture());
    bar->Groups()->Add("Third");
    plat::PumpMessages();
    for (const Row& row : rows) {
        const std::string before = testing::LayoutSnapshot(*bar);
        row.change(*bar);
        EXPECT_NE(testing::LayoutSnapshot(*bar), before) << row.name;
        ExpectCompleteLayout(row.name);
    }
}

TEST_F(Properties, BadValuesAndNamesAreRefusedAndChangeNothingWhileGoodNamesWork) {
    MakeBar();
    const std::string invalid =
        std::to_string(kObjectError) + " Invalid property value. | ZoBtnBar";
    EXPECT_EQ(ErrorOf([&] { bar->SetButtonHeight(0); }), invalid);
    EXPECT_EQ(ErrorOf([&] { bar->SetButtonWidth(-5); }), invalid);
    EXPECT_EQ(bar->ButtonHeight(), 720);
    EXPECT_EQ(bar->ButtonWidth(), 720);
    EXPECT_EQ(ErrorOf([&] { bar->SetFont(nullptr); }), "424 Object required | ZoBtnBar");
    EXPECT_EQ(Changes(), Log{});
    bar->SetButtonHeight(1);
    EXPECT_EQ(bar->ButtonHeight(), 1);
    // What the window cannot take is refused by the window.
    EXPECT_EQ(ErrorOf([&] { bar->SetAppearance(7); }), "380 Invalid property value | ZoBtnBar");
    EXPECT_EQ(bar->Appearance(), 1);
    EXPECT_EQ(ErrorOf([&] { bar->SetMousePointer(50); }), "380 Invalid property value | ZoBtnBar");
    EXPECT_EQ(bar->MousePointer(), 50);  // the field already holds it
    bar->SetBorderStyle(zoFixedSingle);
    EXPECT_NE(plat::GetWindowLongA(bar->hwnd(), plat::GWL_STYLE) & plat::WS_BORDER, 0);
    bar->SetAppearance(zoFlatControl);
    EXPECT_EQ(plat::GetWindowLongA(bar->hwnd(), plat::GWL_EXSTYLE) & plat::WS_EX_CLIENTEDGE, 0);
    // By name, through the dispatch interface.
    bar->SetProperty("buttonlayout", Variant(0));
    EXPECT_EQ(bar->ButtonLayout(), zoTiled);
    bar->SetProperty("ShowCaptionBar", Variant("True"));
    EXPECT_TRUE(bar->ShowCaptionBar());
    EXPECT_EQ(bar->GetProperty("Groups").As<CGroups>(), bar->Groups());
    EXPECT_EQ(FindDispatchMember(0x68030015)->name, std::string("ActiveGroup"));
    EXPECT_EQ(ErrorOf([&] { bar->SetProperty("NoSuchThing", Variant(1)); }),
              "438 Object doesn't support this property or method | ZoBtnBar");
    EXPECT_EQ(ErrorOf([&] { bar->SetProperty("hwnd", Variant(1)); }),
              "383 Can't set read-only property | ZoBtnBar");
    EXPECT_EQ(ErrorOf([&] { bar->SetProperty("ButtonHeight", Variant("tall")); }),
              "13 Type mismatch | ZoBtnBar");
    EXPECT_EQ(DispatchMembers().size(), 40u);
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

TEST_F(Properties, ResizingTheControlLaysItOutAgainAndTellsTheHostOnce) {
    MakeBar();
    plat::MoveWindow(bar->hwnd(), 10, 10, 240, 300, plat::TRUE);
    plat::PumpMessages();
    EXPECT_EQ(events.Take(), Log{"Resize"});
    ExpectCompleteLayout("resized");
    plat::MoveWindow(bar->hwnd(), 30, 20, 240, 300, plat::TRUE);  // moved, same size
    plat::PumpMessages();
    EXPECT_EQ(events.Take(), Log{});
}

TEST_F(Properties, CaptionBarFollowsShowCaptionBarAndCaptionAndFontChangesRearrange) {
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
    // A bigger font remeasures the headers and rearranges the strips.
    const std::int32_t before = bar->m_lGroupHeaderHeight;
    auto bigger = std::make_shared<StdFont>();
    bigger->SetSize(20);
    bar->SetFont(bigger);
    EXPECT_GT(bar->m_lGroupHeaderHeight, before);
    EXPECT_EQ(bar->m_PicUpperGroups().ClientHeightPx(), bar->m_lGroupHeaderHeight);
    EXPECT_EQ(Changes(), Log{"Font"});
}

}  // namespace
}  // namespace zo
