// The horizontal scroll bar: its geometry, range and position, and what it reports for clicks,
// held buttons, thumb drags and keys.
#include "ctl_support.h"
#include "platform/commctrl/ControlSupport.h"

namespace zo::plat::test {
namespace {

class ScrollBar : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        bar = Make(WC_SCROLLBARA, "bar", "", WS_TABSTOP | SBS_HORZ, {10, 10, 210, 27});
        SetScrollRange(bar, SB_CTL, 1, 5, TRUE);
        SetScrollPos(bar, SB_CTL, 3, TRUE);
        PumpMessages();
        events.log.clear();
    }
    HWND bar = 0;
};

TEST_F(ScrollBar, RangeAndPositionAreKeptWithin) {
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 9, TRUE), 3);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 5);
    SetScrollRange(bar, SB_CTL, 0, 0, TRUE);
    int lo = -1, hi = -1;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &lo, &hi));
    EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 0));
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
    // Disabled by the empty range: the arrows report nothing.
    ClickAt(bar, 5, 8);
    ClickAt(bar, 195, 8);
    EXPECT_EQ(events.Said(), "");
    // Only scroll-bar controls have these.
    EXPECT_EQ(GetScrollPos(dialog, SB_CTL), 0);
    EXPECT_FALSE(SetScrollRange(bar, 0, 1, 2, TRUE));
}

TEST_F(ScrollBar, ClicksAndKeysReportLinesAndPages) {
    ClickAt(bar, 5, 8);
    ClickAt(bar, 195, 8);
    ClickAt(bar, 30, 8);   // track left of the thumb
    ClickAt(bar, 170, 8);  // track right of it
    EXPECT_EQ(events.Said(),
              "bar:LINELEFT bar:ENDSCROLL bar:LINERIGHT bar:ENDSCROLL bar:PAGELEFT bar:ENDSCROLL "
              "bar:PAGERIGHT bar:ENDSCROLL");
    // Held, an arrow repeats on the clock, and shows pushed until it is let go.
    RECT onScreen;
    GetWindowRect(bar, &onScreen);
    const std::vector<std::uint32_t> up = ReadScreenPixels(onScreen);
    Press(bar, 5, 8);
    EXPECT_NE(ReadScreenPixels(onScreen), up);
    RunFor(200 + 3 * 50);
    Release();
    EXPECT_EQ(ReadScreenPixels(onScreen), up);
    EXPECT_EQ(events.Said(),
              "bar:LINELEFT bar:LINELEFT bar:LINELEFT bar:LINELEFT bar:LINELEFT bar:ENDSCROLL");
    // The focus shows a caret on the thumb, and keys report as the clicks do.
    Focus(bar);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, ctl::LayoutScrollBar(200, 17, 1, 5, 3).thumb.left + 2);
    Keys("Right PgUp Home");
    EXPECT_EQ(events.Said(),
              "bar:LINERIGHT bar:ENDSCROLL bar:PAGELEFT bar:ENDSCROLL bar:LEFT bar:ENDSCROLL");
}

TEST_F(ScrollBar, DraggingTheThumbTracksThenSetsThePosition) {
    const int grab = ctl::LayoutScrollBar(200, 17, 1, 5, 3).thumb.left + 5;
    const int step = (200 - 34 - 17) / 4;
    Press(bar, grab, 8);
    MoveTo(bar, grab + step, 8);
    MoveTo(bar, grab + step + 1, 8);  // within the same position: no report
    MoveTo(bar, grab + 2 * step, 8);
    Release();
    EXPECT_EQ(events.Said(), "bar:THUMBTRACK 4 bar:THUMBTRACK 5 bar:THUMBPOSITION 5 bar:ENDSCROLL");
    // The control only reports: the position is the parent's to set.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 3);
}

}  // namespace
}  // namespace zo::plat::test
