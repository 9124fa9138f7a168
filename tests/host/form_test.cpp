// The control's form and its surfaces as the control sees them: initial looks, notifications
// with their arguments and order, sizes in the control's units, focus entering and leaving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Error.h"
#include "host/Form.h"
#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Window.h"

namespace zo {
namespace {

using Log = std::vector<std::string>;

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::InitDisplay(plat::DisplayKind::Offscreen, 640, 480);
        form = std::make_unique<ControlForm>(0, 10, 20, 200, 300);
        form->SetAppearance(0);  // no edge: client and window pixels coincide
        plat::PumpMessages();
    }
    void TearDown() override {
        form.reset();
        plat::ShutdownDisplay();
    }

    // Records the mouse notifications of a surface as "Down 1 0 150 75" etc.
    void Record(Surface& s) {
        const auto note = [this](std::string what) {
            return [this, what](std::int16_t b, std::int16_t sh, float x, float y) {
                log.push_back(what + " " + std::to_string(b) + " " + std::to_string(sh) + " " +
                              std::to_string(static_cast<int>(x)) + " " +
                              std::to_string(static_cast<int>(y)));
            };
        };
        s.on.MouseDown = note("Down");
        s.on.MouseUp = note("Up");
        s.on.MouseMove = note("Move");
        s.on.Click = [this] { log.push_back("Click"); };
    }

    plat::POINT OnScreen(Surface& s, int x, int y) {
        plat::POINT p{x, y};
        plat::ClientToScreen(s.hWnd(), &p);
        return p;
    }

    std::unique_ptr<ControlForm> form;
    Log log;
};

TEST_F(FormTest, SurfacesStartWithTheirOwnColoursAndTwips) {
    EXPECT_FALSE(form->CaptionBar().Visible());
    EXPECT_EQ(form->CaptionBar().BackColor(), static_cast<std::int32_t>(0x80000003u));
    EXPECT_EQ(form->UpperGroups().BackColor(), static_cast<std::int32_t>(0x80000005u));
    EXPECT_EQ(form->LowerGroups().BackColor(), static_cast<std::int32_t>(0x80000005u));
    EXPECT_EQ(form->GetScaleMode(), vbTwips);
    EXPECT_EQ(form->Buttons().GetScaleMode(), vbTwips);
    EXPECT_EQ(form->ScaleWidth(), 200 * 15);
    EXPECT_EQ(form->ScaleHeight(), 300 * 15);
}

TEST_F(FormTest, PositionsAreInTheControlsUnitsAndResizeOnlyOnARealChange) {
    Surface& b = form->Buttons();
    int resized = 0;
    b.on.Resize = [&] { ++resized; };
    b.MovePx(4, 30, 120, 90);
    EXPECT_EQ(resized, 1);
    EXPECT_DOUBLE_EQ(b.Left(), 4 * 15);
    EXPECT_DOUBLE_EQ(b.Top(), 30 * 15);
    EXPECT_DOUBLE_EQ(b.Width(), 120 * 15);
    EXPECT_EQ(b.ClientWidthPx(), 120);
    EXPECT_EQ(b.ClientHeightPx(), 90);
    b.MovePx(8, 40, 120, 90);  // moved only
    EXPECT_EQ(resized, 1);
    b.Move(8 * 15, 40 * 15, 60 * 15, 90 * 15);
    EXPECT_EQ(resized, 2);
    EXPECT_EQ(b.ClientWidthPx(), 60);
    b.SetScaleMode(vbPixels);
    EXPECT_DOUBLE_EQ(b.ScaleWidth(), 60);
}

TEST_F(FormTest, MouseNotificationsCarryButtonShiftAndTwipsAndClickFollowsALeftUp) {
    Surface& b = form->Buttons();
    b.MovePx(0, 0, 200, 200);
    plat::PumpMessages();
    Record(b);
    const plat::POINT p = OnScreen(b, 10, 5);
    // Presses (+) and releases (-) of the given buttons, in order.
    const auto buttons = [](std::initializer_list<int> vks) {
        for (int vk : vks)
            plat::InjectMouseButton(std::abs(vk), vk > 0);
        plat::PumpMessages();
    };
    const int left = plat::VK_LBUTTON, right = plat::VK_RBUTTON;
    plat::InjectKey(plat::VK_SHIFT, true);
    plat::InjectMouseMove(p.x, p.y);  // queued behind the key, and carrying its state
    buttons({left, -left});
    plat::InjectKey(plat::VK_SHIFT, false);
    EXPECT_EQ(log, (Log{"Move 0 1 150 75", "Down 1 1 150 75", "Up 1 1 150 75", "Click"}));
    // The right button gets no Click, nor does a right press made while the left is down.
    log.clear();
    buttons({right, -right});
    EXPECT_EQ(log, (Log{"Down 2 0 150 75", "Up 2 0 150 75"}));
    log.clear();
    buttons({left, right, -right, -left});
    EXPECT_EQ(std::count(log.begin(), log.end(), "Click"), 1);
    EXPECT_EQ(log.back(), "Click");
}

TEST_F(FormTest, KeysGoToTheFocusedSurfaceAndFocusEntersAndLeavesTheControlOnce) {
    Log focus;
    form->on.EnterFocus = [&] { focus.push_back("Enter"); };
    form->on.ExitFocus = [&] { focus.push_back("Exit"); };
    Surface& b = form->Buttons();
    Surface& up = form->UpperGroups();
    b.MovePx(0, 20, 200, 200);
    up.MovePx(0, 0, 200, 20);
    std::vector<int> keys;
    b.on.KeyDown = [&](std::int16_t& code, std::int16_t shift) {
        keys.push_back(code * 10 + shift);
    };
    int lost = 0;
    b.on.LostFocus = [&] { ++lost; };

    b.SetFocus();
    plat::PumpMessages();
    EXPECT_TRUE(form->HasFocusWithin());
    plat::InjectKey(plat::VK_CONTROL, true);
    plat::InjectKey(plat::VK_DOWN, true);
    plat::InjectKey(plat::VK_DOWN, false);
    plat::InjectKey(plat::VK_CONTROL, false);
    plat::PumpMessages();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back(), plat::VK_DOWN * 10 + vbCtrlMask);

    up.SetFocus();  // still inside the control
    plat::PumpMessages();
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(focus, (Log{"Enter"}));

    // A window outside the control takes the focus.
    const plat::HWND other = plat::CreateWindowExA(0, plat::WC_STATICA, "", plat::WS_VISIBLE, 300,
                                                   300, 50, 50, 0, 0, 0, nullptr);
    plat::SetFocus(other);
    plat::PumpMessages();
    EXPECT_FALSE(form->HasFocusWithin());
    EXPECT_EQ(focus, (Log{"Enter", "Exit"}));
    plat::DestroyWindow(other);
}

TEST_F(FormTest, WindowPropertiesRefuseBadValuesAndKeepTheOldOnes) {
    EXPECT_THROW(form->SetBorderStyle(2), Error);
    EXPECT_EQ(form->BorderStyle(), 0);  // a good one reaching the window: Properties test
    EXPECT_THROW(form->SetAppearance(-1), Error);
    EXPECT_EQ(form->Appearance(), 0);
    EXPECT_THROW(form->SetMousePointer(16), Error);
    form->SetMousePointer(99);
    EXPECT_EQ(form->MousePointer(), 99);
}

TEST_F(FormTest, AHandlerThatDestroysTheFormEndsTheNotificationSafely) {
    Surface& b = form->Buttons();
    b.MovePx(0, 0, 200, 200);
    plat::PumpMessages();
    bool clicked = false;
    b.on.MouseUp = [&](std::int16_t, std::int16_t, float, float) { form.reset(); };
    b.on.Click = [&] { clicked = true; };
    const plat::POINT p = OnScreen(b, 5, 5);
    plat::InjectClick(p.x, p.y, plat::VK_LBUTTON);
    plat::PumpMessages();
    EXPECT_EQ(form, nullptr);
    EXPECT_FALSE(clicked);
}

}  // namespace
}  // namespace zo
