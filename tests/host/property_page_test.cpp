// The host's property-page protocol in the platform's sheet: pages load the selection when
// shown and when it changes, their Changed flag drives Apply, Apply and OK call ApplyChanges
// on the pages with edits, and an error from a page is shown by the site and keeps the sheet
// open.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Error.h"
#include "host/PropertyPage.h"
#include "platform/Controls.h"
#include "platform/win_support.h"

namespace zo {
namespace {

using namespace plat;

struct Selected : Object {
    explicit Selected(std::string n) : name(std::move(n)) {}
    std::string_view TypeName() const override { return "ZoButtonBar"; }
    std::string name;
};

class LogPage : public PropertyPage {
public:
    LogPage(std::string caption, std::vector<std::string>* log)
        : PropertyPage(std::move(caption), 160, 80), log_(log) {}
    bool refuse = false;

protected:
    void Create() override { log_->push_back(Caption() + ":create"); }
    void SelectionChanged() override {
        log_->push_back(Caption() + ":load " +
                        static_cast<const Selected&>(*SelectedControls().at(0)).name);
    }
    void ApplyChanges() override {
        log_->push_back(Caption() + ":apply");
        if (refuse) RaiseObjectError("Duplicate key specified.", "CButtons.Add");
    }

private:
    std::vector<std::string>* log_;
};

class PageHost : public plat::test::WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Top("owner", 0, 0, 320, 240);
        plat::test::tlsDuring = &during;
        site.msgBoxHandler = [this](std::string_view text, int style, std::string_view title) {
            shown.push_back(std::string(text) + "|" + std::to_string(style) + "|" +
                            std::string(title));
            return IDOK;
        };
    }
    void TearDown() override {
        plat::test::tlsDuring = nullptr;
        WinTest::TearDown();
    }
    static void Click(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2, VK_LBUTTON);
        PumpMessages();
    }
    static HWND Button(int id) { return GetDlgItem(GetActiveWindow(), id); }

    HWND owner = 0;
    std::function<void()> during;
    DefaultSite site;
    std::vector<std::string> shown;
};

TEST_F(PageHost, PagesLoadApplyAndReportErrorsThroughTheHost) {
    std::vector<std::string> log;
    LogPage a("Appearance", &log), b("Position", &log);
    PropertyPageHost host(site, {std::make_shared<Selected>("bar1")});
    bool applyOn = false, applyOff = true, stillOpen = false;
    during = [&] {
        PumpMessages();
        a.SetChanged(true);
        applyOn = IsWindowEnabled(Button(IDC_PSAPPLY)) != FALSE;
        Click(Button(IDC_PSAPPLY));
        applyOff = IsWindowEnabled(Button(IDC_PSAPPLY)) != FALSE || a.Changed();
        SendMessageA(GetActiveWindow(), PSM_SETCURSEL, 1, 0);
        host.SetSelectedControls({std::make_shared<Selected>("bar2")});
        b.SetChanged(true);
        b.refuse = true;
        Click(Button(IDOK));
        stillOpen = IsWindow(b.hWnd()) && b.Changed();
        b.refuse = false;
        Click(Button(IDOK));
    };
    SetTimer(0, 0, 30, &plat::test::DuringProc);
    EXPECT_TRUE(host.ShowModal(owner, "ZoButtonBar", {&a, &b}));
    EXPECT_TRUE(applyOn);
    EXPECT_FALSE(applyOff);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Appearance:create", "Appearance:load bar1", "Appearance:apply",
                       "Position:create", "Position:load bar1", "Appearance:load bar2",
                       "Position:load bar2", "Position:apply", "Position:apply"}));
    EXPECT_EQ(shown, std::vector<std::string>{"Duplicate key specified.|16|CButtons.Add"});
    EXPECT_EQ(a.hWnd(), 0u);
    EXPECT_TRUE(a.SelectedControls().size() == 1);
}

}  // namespace
}  // namespace zo
