// A control's design in the property bag and through a file: what is written under which name,
// what a load rebuilds and tells the host, and that saving what was loaded gives the same bag
// and the same bytes again, with pictures, fonts, tags, hidden items and LockRefresh; what the
// control refuses while loading named by file, line and key with its number and text; no
// control left behind a failed load.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "control/ControlFixture.h"
#include "core/TestData.h"
#include "core/Thrown.h"
#include "host/DesignFile.h"
#include "host/PropertyBag.h"
#include "persist/DesignLoad.h"

namespace zo {
namespace {

namespace fs = std::filesystem;
using testing::ControlTest;
using testing::IconPicture;
using testing::Log;
using testing::Thrown;

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int TopLevelWindows() {
    int n = 0;
    plat::EnumWindows(
        [](plat::HWND, plat::LPARAM count) {
            ++*reinterpret_cast<int*>(count);
            return plat::BOOL{1};
        },
        reinterpret_cast<plat::LPARAM>(&n));
    return n;
}

class Design : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        // Test cases run in parallel processes: each has a file of its own.
        file = fs::temp_directory_path() /
               ("zo_design_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                ".zobar");
    }
    void TearDown() override {
        fs::remove(file);
        ControlTest::TearDown();
    }
    void Write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

    // A stored instance loaded from `bag` into a new control.
    void Load(const PropertyBag& bag) {
        bar.reset();  // before the site it was made for
        site = std::make_unique<DefaultSite>(true);
        bar = ZoButtonBar::Create(*site, 0, 10, 10, 200, 400);
        bar->Advise(&events);
        bar->ReadProperties(bag);
        plat::PumpMessages();
    }

    fs::path file;
};

// What is written under which name, compared with a recorded file: a new instance writes only
// the group count at top level; group and button keys are numbered in collection order; names
// are written as the control spells them ("GRP2BTN1Tooltip"); only a hidden item stores Visible.
TEST_F(Design, AnInstanceWritesItsSettingsAndItemsUnderNumberedKeys) {
    MakeBar();
    const auto written = [&] {
        PropertyBag bag;
        bar->WriteProperties(bag);
        return FormatDesign(bag);
    };
    std::string both = written();
    auto second = bar->Groups()->Add("Files", "All files", "files");
    for (const char* c : {"One", "Two", "Three"})
        second->Buttons()->Add(c, IconPicture(), std::string("Tip ") + c);
    second->Buttons()->Item(3)->SetVisible(false);
    bar->SetButtonFlow(zoHorizontal);
    both += written();
    testing::ExpectSameAsFile(both, "tests/persist/data/written.zobar");
}

TEST_F(Design, AnEmptyBagGivesOneActiveGeneralGroupAndMissingGroupsBecomeGeneral) {
    PropertyBag bag;
    Load(bag);
    ASSERT_EQ(bar->Groups()->Count(), 1);
    EXPECT_EQ(bar->ActiveGroup(), bar->Groups()->Item(1));
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "General");
    EXPECT_EQ(bar->ActiveGroup()->TooltipText(), "General");
    EXPECT_EQ(bar->ActiveGroup()->Key(), "");
    EXPECT_EQ(bar->ButtonLayout(), zoLinear);
    // A stored count beyond the stored groups; no group is current, so none becomes active.
    bag.WriteProperty("GroupCount", Variant(std::int32_t{2}));
    bag.WriteProperty("GRP1Caption", Variant(std::string("Stored")));
    Load(bag);
    ASSERT_EQ(bar->Groups()->Count(), 2);
    EXPECT_EQ(bar->Groups()->Item(1)->Caption(), "Stored");
    EXPECT_EQ(bar->Groups()->Item(2)->Caption(), "General");
    EXPECT_TRUE(bar->Groups()->Item(2)->Visible());
    EXPECT_EQ(bar->ActiveGroup(), nullptr);
}

// Two groups with a button each; the second active; LockRefresh True.
TEST_F(Design, LoadingTellsTheHostOfEachItemInStoredOrder) {
    Load(ParseDesign(testing::SourceFile("tests/persist/data/two_groups.zobar"), "t").bag);
    EXPECT_EQ(events.Take(), (Log{"GroupAdded General", "ButtonAdded A", "GroupAdded Second",
                                  "ActiveGroupChanged", "ButtonAdded B"}));
    EXPECT_TRUE(bar->LockRefresh());  // stored True, True again
    EXPECT_EQ(bar->ActiveGroup()->Caption(), "Second");
}

// ---- Through a file

// A design with a font, pictures (one on two buttons, others of the same bytes), tags of several
// kinds, hidden items and LockRefresh: loaded, everything is there, and saved again (with a
// selection, which is not part of the design) it gives the same bytes.
TEST_F(Design, ADesignSurvivesTheFileAndSavesToTheSameBytes) {
    const std::string saved = testing::SourceFile("tests/persist/data/everything.zobar");
    Write(saved);
    site = std::make_unique<DefaultSite>(true);
    bar = LoadDesign(*site, file);
    EXPECT_TRUE(bar->LockRefresh());
    EXPECT_EQ(bar->Font()->Name(), "DejaVu Serif");
    EXPECT_TRUE(bar->Font()->Italic());
    EXPECT_EQ(bar->Caption(), "Tab\tand \"quotes\"");
    EXPECT_FALSE(bar->Groups()->Item("h")->Visible());
    EXPECT_FALSE(bar->Groups()->Item(1)->Buttons()->Item(2)->Visible());
    EXPECT_EQ(bar->Groups()->Item(1)->Tag().Type(), VarType::Date);
    EXPECT_EQ(bar->Groups()->Item(1)->Buttons()->Item(1)->Tag().Type(), VarType::Single);
    EXPECT_EQ(bar->Groups()->Item("h")->Buttons()->Item(1)->Tag().Type(), VarType::Integer);
    const auto pictureOf = [&](const auto& group, int i) {
        return bar->Groups()->Item(group)->Buttons()->Item(i)->Picture();
    };
    EXPECT_EQ(pictureOf(1, 1), pictureOf(1, 2));
    EXPECT_NE(pictureOf(1, 1), pictureOf("h", 1));
    bar->SetSelectedButton(bar->Groups()->Item(1)->Buttons()->Item(1));
    SaveDesign(*bar, file);
    EXPECT_EQ(ReadText(file), saved);
}

TEST_F(Design, WhatTheControlRefusesIsNamedWithItsLineKeyAndNumber) {
    for (const auto& [fields, text] :
         testing::ReadTextCases("tests/persist/data/refused_designs.txt")) {
        SCOPED_TRACE(fields[0]);
        Write(text);
        const int windows = TopLevelWindows();
        DefaultSite host(true);
        if (const auto e = Thrown<DesignError>([&] { LoadDesign(host, file); })) {
            EXPECT_EQ(e->File(), file.string());
            EXPECT_EQ(e->Line(), std::stoi(fields[1])) << e->what();
            EXPECT_EQ(e->Key(), fields[2]) << e->what();
            EXPECT_EQ(e->Number(), std::stoi(fields[3])) << e->what();
            EXPECT_EQ(e->Message(), fields[4]) << e->what();
        }
        // Nothing half-built stays behind.
        EXPECT_EQ(TopLevelWindows(), windows);
    }
}

TEST_F(Design, ADesignAtTheLimitLoadsAndOnePastItIsRefusedBeforeAnyGroupIsMade) {
    DesignLimits limits;
    limits.maxGroups = 40;
    DesignPlacement place;
    place.events = &events;
    site = std::make_unique<DefaultSite>(true);
    const auto write = [&](int groups) {
        Write(
            "{\"format\": \"ZoBtnBar design\", \"version\": 1, \"properties\": {\n"
            "\"GroupCount\": \"" +
            std::to_string(groups) + "\"}}");
    };
    write(41);
    EXPECT_THROW(LoadDesign(*site, file, place, limits), DesignError);
    EXPECT_TRUE(events.Take().empty());
    write(40);
    bar = LoadDesign(*site, file, place, limits);
    EXPECT_EQ(bar->Groups()->Count(), 40);
}

}  // namespace
}  // namespace zo
