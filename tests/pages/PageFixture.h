// A design-time control beside a modeless property sheet with the control's pages, on the
// off-screen display, driven as a user drives it: clicks on the page's controls, keys typed
// into the focused box, the sheet's buttons. Message boxes are answered at once and recorded.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "control/ControlFixture.h"
#include "control/ZoButtonBar.h"
#include "host/PropertyPage.h"
#include "pages/AppearancePage.h"
#include "pages/ButtonsPage.h"
#include "pages/GroupsPage.h"
#include "pages/PositionPage.h"
#include "pages/StandardPages.h"
#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Image.h"
#include "platform/Window.h"

namespace zo::testing {

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::InitDisplay(plat::DisplayKind::Offscreen, 900, 600);
        site = std::make_unique<DefaultSite>(false);
        site->msgBoxHandler = [this](std::string_view text, int style, std::string_view title) {
            shown.push_back(std::string(text) + "|" + std::to_string(style) + "|" +
                            std::string(title));
            return 1;
        };
        bar = ZoButtonBar::Create(*site, 0, 600, 10, 200, 400);
        bar->Advise(&events);
        bar->InitProperties();
        plat::PumpMessages();
    }
    void TearDown() override {
        host.reset();
        pages.clear();
        bar.reset();
        plat::ShutdownDisplay();
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }

    // The control's pages and the standard ones in a modeless sheet over the given selection (the
    // bar when empty), on page `start`.
    void Open(int start, std::vector<ObjectPtr> selection = {}) {
        if (selection.empty()) selection.push_back(bar);
        pages.push_back(std::make_unique<AppearancePage>());
        pages.push_back(std::make_unique<PositionPage>());
        pages.push_back(std::make_unique<GroupsPage>(*site));
        pages.push_back(std::make_unique<ButtonsPage>(*site));
        pages.push_back(std::make_unique<ColorPage>());
        pages.push_back(std::make_unique<FontPage>());
        pages.push_back(std::make_unique<PicturePage>());
        host = std::make_unique<PropertyPageHost>(*site, std::move(selection));
        std::vector<PropertyPage*> raw;
        for (auto& p : pages)
            raw.push_back(p.get());
        sheet = host->ShowModeless(0, "ZoButtonBar", raw, start);
        ASSERT_NE(sheet, 0u);
        plat::PumpMessages();
        events.Take();
        site->ClearChanges();
    }
    PageBase& Page(int i) { return static_cast<PageBase&>(*pages.at(static_cast<std::size_t>(i))); }
    plat::HWND Ctl(int page, const char* name) {
        const plat::HWND h = Page(page).Item(name);
        EXPECT_NE(h, 0u) << name;
        return h;
    }

    static void ClickAt(plat::HWND h, int dx = -1, int dy = -1) {
        plat::RECT r;
        plat::GetWindowRect(h, &r);
        const int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
        const int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
        plat::InjectClick(x, y, plat::VK_LBUTTON);
        plat::PumpMessages();
    }
    // A key press; `pump` false leaves it queued for a modal loop to take.
    static void Key(plat::UINT vk, bool shift = false, bool pump = true) {
        if (shift) plat::InjectKey(plat::VK_SHIFT, true);
        plat::InjectKey(vk, true);
        plat::InjectKey(vk, false);
        if (shift) plat::InjectKey(plat::VK_SHIFT, false);
        if (pump) plat::PumpMessages();
    }
    // Types digits, letters, spaces and . / - _ into the focused window.
    static void Type(const std::string& text, bool pump = true) {
        for (const char c : text) {
            const unsigned char u = static_cast<unsigned char>(c);
            const std::string marks = " ./-_";
            const plat::UINT markKeys[] = {plat::VK_SPACE, plat::VK_OEM_PERIOD, plat::VK_OEM_2,
                                           plat::VK_OEM_MINUS, plat::VK_OEM_MINUS};
            if (std::isalnum(u))
                Key(static_cast<plat::UINT>(std::toupper(u)), std::isupper(u) != 0, pump);
            else if (marks.find(c) != std::string::npos)
                Key(markKeys[marks.find(c)], c == '_', pump);
            else
                ADD_FAILURE() << "no key for " << c;
        }
    }
    // Clicks into a text box, selects all it holds and types over it.
    static void Retype(plat::HWND edit, const std::string& text) {
        ClickAt(edit);
        Key(plat::VK_END);
        Key(plat::VK_HOME, true);
        if (text.empty())
            Key(plat::VK_DELETE);
        else
            Type(text);
    }
    // Opens a drop-down list and clicks its item `index` (0-based).
    static void Choose(plat::HWND combo, int index) {
        ClickAt(combo);
        // The open list hangs below the box; move to the item by keys, then Enter.
        Key(plat::VK_HOME);
        for (int i = 0; i < index; ++i)
            Key(plat::VK_DOWN);
        Key(plat::VK_RETURN);
    }
    // The texts of the page's controls named in `names` (space-separated), joined by '|'.
    std::string Texts(int page, const std::string& names) {
        std::istringstream in(names);
        std::string out, name;
        while (in >> name)
            out += (out.empty() ? "" : "|") + Text(Ctl(page, name.c_str()));
        return out;
    }
    static std::string Text(plat::HWND h) {
        char buf[512] = {};
        plat::GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    static int Sel(plat::HWND combo) {
        return static_cast<int>(plat::SendMessageA(combo, plat::CB_GETCURSEL, 0, 0));
    }
    static bool Checked(plat::HWND h) {
        return plat::SendMessageA(h, plat::BM_GETCHECK, 0, 0) == plat::BST_CHECKED;
    }
    static bool Enabled(plat::HWND h) { return plat::IsWindowEnabled(h) != plat::FALSE; }
    // The sheet's OK, Cancel and Apply.
    void Press(plat::WPARAM which) {
        plat::SendMessageA(sheet, plat::PSM_PRESSBUTTON, which, 0);
        plat::PumpMessages();
    }
    bool ApplyEnabled() {
        const plat::HWND apply = plat::GetDlgItem(sheet, plat::IDC_PSAPPLY);
        return apply != 0 && Enabled(apply);
    }

    std::vector<std::string> Changes() {
        auto c = site->Changes();
        site->ClearChanges();
        return c;
    }

    // A file in a fresh folder of this test.
    std::string File(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("zo-pages-" + std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::create_directories(dir);
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    }
    // A 16 x 16 bitmap file in one colour.
    std::string BitmapFile(const std::string& name, std::uint32_t rgb = 0x3366CC) {
        plat::Image img;
        img.width = img.height = 16;
        img.pixels.assign(256, 0xFF000000u | rgb);
        return File(name, plat::EncodeBmp(img, 24));
    }

    // Chooses `path` in the open-file dialog that `browse` opens, typing it as a user would
    // inside the dialog's modal loop; an empty path cancels the dialog with Esc.
    void PickFile(plat::HWND browse, const std::string& path) {
        tlsPath = path;
        plat::SetTimer(0, 0, 30, [](plat::HWND, plat::UINT, std::uintptr_t id, plat::DWORD) {
            plat::KillTimer(0, id);
            if (!tlsPath.empty()) Type(tlsPath, false);
            Key(tlsPath.empty() ? plat::VK_ESCAPE : plat::VK_RETURN, false, false);
        });
        ClickAt(browse);
    }

    std::unique_ptr<DefaultSite> site;
    RecordingEvents events;
    ButtonBarPtr bar;
    std::vector<std::unique_ptr<PropertyPage>> pages;
    std::unique_ptr<PropertyPageHost> host;
    plat::HWND sheet = 0;
    std::vector<std::string> shown;
    std::filesystem::path dir;

private:
    inline static thread_local std::string tlsPath;
};

}  // namespace zo::testing
