// The tooltip wrapper against a real tooltip window: tool rules, texts, and that every
// setting reaches the window and reads back from it.
#include <gtest/gtest.h>

#include "input/CToolTip.h"
#include "platform/CommCtrl.h"
#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo {
namespace {

class ToolTipWrapper : public ::testing::Test {
protected:
    void SetUp() override {
        plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 300);
        owner = plat::CreateWindowExA(0, plat::WC_STATICA, "", plat::WS_VISIBLE, 0, 0, 200, 200, 0,
                                      0, 0, nullptr);
        strip = plat::CreateWindowExA(0, plat::WC_STATICA, "", plat::WS_CHILD | plat::WS_VISIBLE, 0,
                                      0, 200, 20, owner, 0, 0, nullptr);
        tip.init(owner);
    }
    void TearDown() override { plat::ShutdownDisplay(); }

    plat::HWND owner = 0, strip = 0;
    CToolTip tip;
};

TEST_F(ToolTipWrapper, ToolsAreAddedOnceBlankTextsBecomeASpaceAndUnknownToolsAreIgnored) {
    ASSERT_TRUE(plat::IsWindow(tip.hWnd()));
    EXPECT_TRUE(tip.AddTool(owner, false, 0, 0, 0, 0, "   "));
    EXPECT_EQ(tip.Text(owner), " ");
    EXPECT_TRUE(tip.AddTool(strip, true, 0, 0, 0, 0, "  Strip  "));
    EXPECT_EQ(tip.Text(strip), "Strip");  // trimmed when added
    // The same uId again: refused, the old tool kept.
    EXPECT_FALSE(tip.AddTool(strip, true, 0, 0, 0, 0, "Other"));
    EXPECT_EQ(tip.ToolCount(), 2);
    EXPECT_EQ(tip.Text(strip), "Strip");
    EXPECT_EQ(tip.ToolId(0), owner);
    EXPECT_EQ(tip.ToolId(1), strip);
    EXPECT_EQ(tip.ToolId(2), 0u);
    EXPECT_EQ(tip.ToolId(-1), 0u);
    // Texts set later keep their spaces and characters; unknown tools are ignored.
    tip.SetText(owner, "");
    EXPECT_EQ(tip.Text(owner), "");
    tip.SetText(owner, "  Café  ");  // set as given, through the 8-bit code page
    EXPECT_EQ(tip.Text(owner), "  Café  ");
    tip.SetText(owner, "A much longer text than any before it");
    tip.SetText(owner, "Short");
    EXPECT_EQ(tip.Text(owner), "Short");
    tip.SetText(12345, "nobody");  // no tool: nothing happens
    tip.SetNewToolRect(12345, 1, 2, 3, 4);
    tip.DeleteTool(12345);
    EXPECT_EQ(tip.Text(12345), "");
    EXPECT_EQ(tip.ToolCount(), 2);
}

// A text set on the window past the wrapper comes back no longer than the longest text the
// wrapper ever set, and however long it is, nothing is written past the getter's buffer.
TEST_F(ToolTipWrapper, TextsSetPastTheWrapperComeBackCutToItsLongest) {
    tip.AddTool(owner, false, 0, 0, 10, 10, "");
    tip.SetText(owner, "abc");
    const auto setDirectly = [this](const std::string& text) {
        plat::TOOLINFOA ti;
        ti.hwnd = owner;
        ti.uId = owner;
        ti.lpszText = const_cast<char*>(text.c_str());
        plat::SendMessageA(tip.hWnd(), plat::TTM_UPDATETIPTEXTA, 0,
                           reinterpret_cast<plat::LPARAM>(&ti));
    };
    setDirectly("0123456789");
    EXPECT_EQ(tip.Text(owner), "012");
    setDirectly(std::string(5000, 'x'));
    EXPECT_EQ(tip.Text(owner), "xxx");
    tip.SetText(owner, std::string(120, 'y'));  // longer than the window's 80-character limit
    EXPECT_EQ(tip.Text(owner), std::string(120, 'y'));
    setDirectly(std::string(5000, 'z'));
    EXPECT_EQ(tip.Text(owner), std::string(120, 'z'));
}

TEST_F(ToolTipWrapper, RectanglesMarginsDelaysColoursTitleIconAndStyleReachTheWindow) {
    tip.AddTool(owner, false, 0, 0, 0, 0, "x");
    tip.SetNewToolRect(owner, 10, 20, 30, 40);
    plat::TOOLINFOA ti;
    ti.hwnd = owner;
    ti.uId = owner;
    ASSERT_TRUE(plat::SendMessageA(tip.hWnd(), plat::TTM_GETTOOLINFOA, 0,
                                   reinterpret_cast<plat::LPARAM>(&ti)));
    EXPECT_EQ(ti.rect.left, 10);
    EXPECT_EQ(ti.rect.bottom, 60);
    EXPECT_EQ(ti.uFlags, plat::TTF_SUBCLASS | plat::TTF_TRANSPARENT);

    tip.SetLeftMargin(3);
    tip.SetBottomMargin(5);
    EXPECT_EQ(tip.LeftMargin(), 3);
    EXPECT_EQ(tip.TopMargin(), 0);
    EXPECT_EQ(tip.BottomMargin(), 5);

    EXPECT_EQ(tip.InitialDelay(), static_cast<std::int32_t>(plat::GetDoubleClickTime()));
    tip.SetInitialDelay(250);
    tip.SetAutopopDelay(9000);
    EXPECT_EQ(tip.InitialDelay(), 250);
    EXPECT_EQ(tip.AutopopDelay(), 9000);
    // The window reads the low word as a signed number: above 32767 means "the default".
    tip.SetAutopopDelay(40000);
    EXPECT_EQ(tip.AutopopDelay(), 10 * static_cast<std::int32_t>(plat::GetDoubleClickTime()));
    EXPECT_EQ(tip.ReshowDelay(), static_cast<std::int32_t>(plat::GetDoubleClickTime()) / 5);

    // A system colour goes to the window as the colour it stands for.
    tip.SetBackColor(static_cast<std::int32_t>(0x80000005u));
    EXPECT_EQ(static_cast<plat::COLORREF>(tip.BackColor()), plat::GetSysColor(plat::COLOR_WINDOW));
    tip.SetForeColor(0x0000FF);
    EXPECT_EQ(tip.ForeColor(), 0x0000FF);
    tip.SetTitle("  Hint  ");
    EXPECT_EQ(tip.Title(), "Hint");
    tip.SetIcon(1);
    EXPECT_EQ(tip.Icon(), 1);
    EXPECT_FALSE(tip.BallonStyle());
    tip.SetBallonStyle(true);
    EXPECT_TRUE(tip.BallonStyle());
    EXPECT_NE(plat::GetWindowLongA(tip.hWnd(), plat::GWL_STYLE) & plat::TTS_NOPREFIX, 0);
    tip.SetBallonStyle(false);
    EXPECT_FALSE(tip.BallonStyle());
}

TEST_F(ToolTipWrapper, ReleasingTheWrapperDestroysTheWindowOnce) {
    for (const bool behindItsBack : {true, false}) {
        plat::HWND h = 0;
        {
            CToolTip local;
            local.init(owner);
            h = local.hWnd();
            ASSERT_TRUE(plat::IsWindow(h));
            if (behindItsBack) plat::DestroyWindow(h);  // the wrapper must not destroy it again
        }
        EXPECT_FALSE(plat::IsWindow(h)) << behindItsBack;
    }
}

}  // namespace
}  // namespace zo
