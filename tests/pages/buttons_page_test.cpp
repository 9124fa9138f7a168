// The Buttons page: stepping through the active group's buttons, the typed index, Apply with
// a new index, Add and Delete acting at once, and the picture box's keys and dialog.
#include <gtest/gtest.h>

#include "model/CButtons.h"
#include "model/CGroups.h"
#include "pages/PageFixture.h"
#include "platform/image_builders.h"

namespace zo::testing {
namespace {

using namespace plat;

constexpr int kButtons = 3;

class ButtonsPageTest : public PageTest {
protected:
    // The active group "General" with `n` buttons "B1".."Bn", keys "k1".."kn".
    void Fill(int n) {
        const PicturePtr pic = LoadPicture(BitmapFile("face.bmp"));
        for (int i = 1; i <= n; ++i)
            bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), pic, "", "",
                                               "k" + std::to_string(i));
        PumpMessages();
    }
    HWND C(const char* name) { return Ctl(kButtons, name); }
    std::string Current() { return Text(C("txtBtnCaption")); }
    CButtons& Buttons() { return *bar->ActiveGroup()->Buttons(); }
};

TEST_F(ButtonsPageTest, OpensOnTheLastButtonAndStepsWithTheScrollBar) {
    Fill(5);
    Open(kButtons);
    EXPECT_EQ(Texts(kButtons, "txtBtnCaption txtBtnKey txtButtonIndex lblButtonCount txtPicture"),
              "B5|k5|5| of 5|(Picture)");
    EXPECT_EQ(Text(C("lblActiveGrpInfo")), "Buttons of 'General' group");
    EXPECT_TRUE(Checked(C("chkVisible")));
    EXPECT_TRUE(Enabled(C("btnDelButton")));
    EXPECT_FALSE(ApplyEnabled());
    ClickAt(C("scrButtonIndex"), 4);  // the left arrow
    EXPECT_EQ(Texts(kButtons, "txtBtnCaption txtButtonIndex"), "B4|4");
}

TEST_F(ButtonsPageTest, AGroupWithoutButtonsTakesNoEditsButAddsOnceAPictureIsChosen) {
    Open(kButtons);
    const HWND scr = C("scrButtonIndex");
    int lo = -1, hi = -1;
    GetScrollRange(scr, SB_CTL, &lo, &hi);
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 0));
    EXPECT_FALSE(Enabled(scr) || Enabled(C("btnDelButton")));
    EXPECT_EQ(Texts(kButtons, "lblButtonCount txtBtnCaption"), " of 0|");
    Retype(C("txtBtnCaption"), "First");
    Retype(C("txtBtnKey"), "f");
    EXPECT_FALSE(ApplyEnabled());

    ClickAt(C("btnAddButton"));
    EXPECT_EQ(shown, Log{"Please select an image for the new button|0|ZoBtnBar"});
    EXPECT_EQ(Buttons().Count(), 0);

    PickFile(C("btnAddPicture"), BitmapFile("new.bmp"));
    EXPECT_EQ(Text(C("txtPicture")), "(Picture)");
    ClickAt(C("btnAddButton"));
    ASSERT_EQ(Buttons().Count(), 1);
    EXPECT_EQ(Buttons().Item(1)->Key(), "f");
    EXPECT_EQ(Buttons().Item(1)->Picture()->Type(), 1);
    EXPECT_EQ(events.Take(), Log{"ButtonAdded First"});
    EXPECT_EQ(Text(C("lblButtonCount")), " of 1");
    EXPECT_TRUE(Enabled(C("btnDelButton")));
}

TEST_F(ButtonsPageTest, TheIndexBoxTakesDigitsAndRefusesIndexesOutsideTheGroup) {
    Fill(5);
    Open(kButtons);
    ClickAt(C("txtButtonIndex"));
    Type("x");
    EXPECT_EQ(Text(C("txtButtonIndex")), "5");
    Retype(C("txtButtonIndex"), "9");
    EXPECT_EQ(shown, Log{"Invalid Index value|16|ZoBtnBar"});
    EXPECT_EQ(Current(), "B5");
    Retype(C("txtButtonIndex"), "2");
    EXPECT_EQ(Current(), "B2");
    shown.clear();
    Retype(C("txtButtonIndex"), "");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, 17), "Type mismatch|16|");
    EXPECT_EQ(Current(), "B2");
}

TEST_F(ButtonsPageTest, DeleteEndsWithTheIndexBoxAtZero) {
    Fill(2);
    Open(kButtons);
    ClickAt(C("btnDelButton"));
    EXPECT_EQ(events.Take(), Log{"ButtonRemoved B2"});
    EXPECT_EQ(shown, Log{"Invalid Index value|16|ZoBtnBar"});  // the range starts at 1
    EXPECT_EQ(Texts(kButtons, "txtButtonIndex txtBtnCaption lblButtonCount"), "0|B1| of 1");

    shown.clear();
    ClickAt(C("btnDelButton"));
    EXPECT_EQ(events.Take(), Log{"ButtonRemoved B1"});
    EXPECT_EQ(Text(C("txtButtonIndex")), "0");
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(Enabled(C("scrButtonIndex")) || Enabled(C("btnDelButton")));
    EXPECT_EQ(Buttons().Count(), 0);
}

TEST_F(ButtonsPageTest, ApplyWritesTheFieldsThenMovesToTheNewIndex) {
    Fill(5);
    Open(kButtons);
    Retype(C("txtBtnCaption"), "Last ");
    Retype(C("txtNewIndex"), "5");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(Buttons().Item(5)->Caption(), "Last");
    EXPECT_TRUE(shown.empty());

    Retype(C("txtBtnCaption"), "Fifth");
    Retype(C("txtNewIndex"), "abc");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(Buttons().Item(5)->Caption(), "Fifth");
    EXPECT_EQ(shown, Log{"Invalid Index.|0|ZoBtnBar"});

    Retype(C("txtTag"), "moved");
    Retype(C("txtNewIndex"), "2");
    ClickAt(C("chkVisible"));
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(Buttons().Item(2)->Caption(), "Fifth");
    EXPECT_EQ(Buttons().Item(2)->Tag().ToText(), "moved");
    EXPECT_FALSE(Buttons().Item(2)->Visible());
    EXPECT_EQ(Texts(kButtons, "txtButtonIndex txtBtnCaption"), "2|Fifth");
}

TEST_F(ButtonsPageTest, AddRefusedByTheGroupIsShownAndAddsNothing) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> file;
        const char* key;
        const char* message;
    };
    plat::Image img;
    img.width = img.height = 8;
    img.pixels.assign(64, 0xFF00FF00u);
    const Row rows[] = {
        {"duplicate key", EncodeBmp(img, 24), "k1", "Duplicate key specified.|16|ZoBtnBar"},
        {"metafile", zo::test::MakeWmf(100, 50), "m", "Invalid Picture type|16|CButtons.Add"},
    };
    Fill(2);
    Open(kButtons);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        shown.clear();
        PickFile(C("btnAddPicture"),
                 File(std::string(r.name[0] == 'd' ? "a.bmp" : "a.wmf"), r.file));
        EXPECT_EQ(Text(C("txtPicture")), "(Picture)");
        Retype(C("txtBtnKey"), r.key);
        ClickAt(C("btnAddButton"));
        EXPECT_EQ(shown, Log{r.message});
        EXPECT_EQ(Buttons().Count(), 2);
        EXPECT_TRUE(events.Take().empty());
    }
}

TEST_F(ButtonsPageTest, DeleteInThePictureBoxClearsItWithoutMarkingAnEdit) {
    Fill(3);
    Open(kButtons);
    PickFile(C("btnAddPicture"), "");  // cancelled: nothing changes
    EXPECT_EQ(Text(C("txtPicture")), "(Picture)");
    EXPECT_FALSE(ApplyEnabled());
    ClickAt(C("txtPicture"));
    Key(VK_DELETE);
    EXPECT_EQ(Text(C("txtPicture")), "(None)");
    EXPECT_FALSE(ApplyEnabled());
    Retype(C("txtPrompt"), "now");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ(Buttons().Item(3)->Prompt(), "now");
    EXPECT_EQ(Buttons().Item(3)->Picture()->Type(), 0);
}

}  // namespace
}  // namespace zo::testing
