// A design-time control beside a modeless property sheet with the control's pages and the
// standard ones, on the off-screen display, driven by scripts in tests/pages/data/*.txt, one
// test per file: a user's clicks and keys on the sheet, each followed by what must show on the
// page and on the control. Message boxes are answered at once and recorded.
// Steps, one a line (NAME a control of the page last opened; TEXT the rest of the line, or a
// quoted string):
//   buttons N | button CAPTION TIP PROMPT KEY TAG | group CAPTION [TIP KEY] | hide-group G |
//   show-group G | group-tip G TEXT | set PROPERTY TEXT | image (the page against its
//   reference image tests/golden/pages/CAPTION.png)
//   open PAGE [+other] | page PAGE | click NAME [DX] | type TEXT | retype NAME [TEXT]
//   key delete | choose NAME INDEX | press apply|ok|cancel | pick NAME [FILE.bmp|FILE.wmf]
//   click-item NAME INDEX (of a list box) | click-page X Y | keep-font | forget shown|events
//   expect WHAT = VALUE, WHAT one of: texts NAME... | shown | events | changes | apply |
//     enabled NAME | checked NAME | sel NAME | range NAME | item NAME INDEX | prop PROPERTY |
//     other PROPERTY | groups | group G | buttons | button B | open | font | kept-font |
//     mouse-icon
// Lists (shown, events, changes) are joined by " ; "; a group is caption/key/visible/picture
// type with * before the active one; a button caption/key/tag/visible/prompt/picture type; a
// font name/size/bold/underline/italic; a picture its type, "-" for none.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "control/ControlFixture.h"
#include "control/ZoButtonBar.h"
#include "core/TestData.h"
#include "host/PropertyPage.h"
#include "host/StdFont.h"
#include "model/CButtons.h"
#include "model/CGroups.h"
#include "pages/AppearancePage.h"
#include "pages/ButtonsPage.h"
#include "pages/GroupsPage.h"
#include "pages/PositionPage.h"
#include "pages/StandardPages.h"
#include "platform/Controls.h"
#include "platform/Display.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "platform/image/ImageCompare.h"
#include "platform/image_builders.h"

namespace zo::testing {
namespace {

using namespace plat;

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += (out.empty() ? "" : " ; ") + s;
    return out;
}

std::string PictureType(const PicturePtr& p) {
    return p ? std::to_string(p->Type()) : "-";
}

class PageScript : public ::testing::TestWithParam<std::string> {
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
        other.reset();
        host.reset();
        pages.clear();
        bar.reset();
        plat::ShutdownDisplay();
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }

    PageBase& Page(int i) { return static_cast<PageBase&>(*pages.at(static_cast<std::size_t>(i))); }
    plat::HWND Ctl(int page, const char* name) {
        const plat::HWND h = Page(page).Item(name);
        EXPECT_NE(h, 0u) << name;
        return h;
    }

    // A click in the middle of the window, or `dx` from its left edge.
    static void ClickAt(plat::HWND h, int dx = -1) {
        plat::RECT r;
        plat::GetWindowRect(h, &r);
        plat::InjectClick(dx < 0 ? (r.left + r.right) / 2 : r.left + dx, (r.top + r.bottom) / 2,
                          plat::VK_LBUTTON);
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
    static std::string Text(plat::HWND h) {
        char buf[512] = {};
        plat::GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    // The sheet's OK, Cancel and Apply.
    void Press(plat::WPARAM which) {
        plat::SendMessageA(sheet, plat::PSM_PRESSBUTTON, which, 0);
        plat::PumpMessages();
    }
    bool ApplyEnabled() {
        const plat::HWND apply = plat::GetDlgItem(sheet, plat::IDC_PSAPPLY);
        return apply != 0 && IsWindowEnabled(apply);
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

    std::string Describe(const GroupPtr& g) {
        return (g == bar->ActiveGroup() ? "*" : "") + g->Caption() + "/" + g->Key() + "/" +
               (g->Visible() ? "1" : "0") + "/" + PictureType(g->ButtonBackgroundPicture());
    }
    static std::string Describe(const ButtonPtr& b) {
        return b->Caption() + "/" + b->Key() + "/" + b->Tag().ToText() + "/" +
               (b->Visible() ? "1" : "0") + "/" + b->Prompt() + "/" + PictureType(b->Picture());
    }

    static std::string Describe(const std::shared_ptr<StdFont>& f) {
        return f->Name() + "/" + Variant(f->Size()).ToText() + "/" + (f->Bold() ? "B" : "-") +
               (f->Underline() ? "U" : "-") + (f->Italic() ? "I" : "-");
    }

    std::string Actual(std::istringstream& in) {
        std::string what, name;
        in >> what;
        if (what == "texts") {
            std::string texts;
            while (in >> name && name != "=")
                texts += (texts.empty() ? "" : "|") + Text(Ctl(page, name.c_str()));
            return texts;
        }
        if (what == "shown") return Join(std::exchange(shown, {}));
        if (what == "events") return Join(events.Take());
        if (what == "changes") {
            const std::string changes = Join(site->Changes());
            site->ClearChanges();
            return changes;
        }
        if (what == "apply") return ApplyEnabled() ? "on" : "off";
        if (what == "open") return IsWindow(sheet) ? "1" : "0";
        if (what == "groups") return std::to_string(bar->Groups()->Count());
        if (what == "buttons") return std::to_string(bar->ActiveGroup()->Buttons()->Count());
        if (what == "font") return Describe(bar->Font());
        if (what == "kept-font") return Describe(keptFont);
        if (what == "mouse-icon") return PictureType(bar->MouseIcon());
        in >> name;
        const auto h = [&] { return Ctl(page, name.c_str()); };
        if (what == "enabled") return IsWindowEnabled(h()) ? "1" : "0";
        if (what == "checked")
            return SendMessageA(h(), BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
        if (what == "sel") return std::to_string(SendMessageA(h(), CB_GETCURSEL, 0, 0));
        if (what == "prop") return bar->GetProperty(name).ToText();
        if (what == "other") return other->GetProperty(name).ToText();
        if (what == "group") return Describe(bar->Groups()->Item(std::stoi(name)));
        if (what == "button") return Describe(bar->ActiveGroup()->Buttons()->Item(std::stoi(name)));
        if (what == "item") {
            int i = 0;
            in >> i;
            char text[64] = {};
            SendMessageA(h(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            return text;
        }
        if (what == "range") {
            int lo = -1, hi = -1;
            GetScrollRange(h(), SB_CTL, &lo, &hi);
            return std::to_string(lo) + "," + std::to_string(hi);
        }
        ADD_FAILURE() << "nothing to expect called " << what;
        return "";
    }

    void Step(const std::string& line) {
        std::istringstream in(line);
        std::string verb, name;
        in >> verb;
        const auto rest = [&in] {
            std::string text;
            in >> std::ws;
            if (in.peek() == '"')
                in >> std::quoted(text);
            else
                std::getline(in, text);
            return text;
        };
        const auto ctl = [&] {
            in >> name;
            return Ctl(page, name.c_str());
        };
        if (verb == "expect") {
            const std::string actual = Actual(in);
            const std::size_t eq = line.find(" =");
            EXPECT_EQ(actual, line.substr(std::min(line.size(), eq + 3)));
        } else if (verb == "buttons") {
            int n = 0;
            in >> n;
            const PicturePtr pic = LoadPicture(BitmapFile("face.bmp"));
            for (int i = 1; i <= n; ++i)
                bar->ActiveGroup()->Buttons()->Add("B" + std::to_string(i), pic, "", "",
                                                   "k" + std::to_string(i));
        } else if (verb == "button") {
            std::string a[5];
            for (std::string& word : a)
                in >> std::quoted(word);
            const PicturePtr pic = LoadPicture(BitmapFile("face.bmp", 0xCC6633));
            const ButtonPtr b = bar->ActiveGroup()->Buttons()->Add(a[0], pic, a[1], a[2], a[3]);
            if (!a[4].empty()) b->SetTag(a[4]);
        } else if (verb == "group") {
            std::string caption, tip, key;
            in >> std::quoted(caption) >> std::quoted(tip) >> std::quoted(key);
            bar->Groups()->Add(caption, tip, key);
        } else if (verb == "image") {
            RECT r;
            GetWindowRect(Page(page).hWnd(), &r);
            Image img;
            img.width = r.right - r.left;
            img.height = r.bottom - r.top;
            img.pixels = ReadScreenPixels(r);
            EXPECT_EQ(CompareWithReference(img,
                                           std::string(ZO_SOURCE_DIR) + "/tests/golden/pages/" +
                                               pages.at(static_cast<std::size_t>(page))->Caption() +
                                               ".png",
                                           std::string(ZO_BINARY_DIR) + "/golden-out"),
                      "");
        } else if (verb == "hide-group" || verb == "show-group" || verb == "group-tip") {
            int g = 0;
            in >> g;
            if (verb == "group-tip")
                bar->Groups()->Item(g)->SetTooltipText(rest());
            else
                bar->Groups()->Item(g)->SetVisible(verb == "show-group");
        } else if (verb == "set") {
            in >> name;
            bar->SetProperty(name, Variant(rest()));
        } else if (verb == "open") {
            // The control's pages and the standard ones in a modeless sheet over the bar, or
            // over the bar and another one.
            in >> page >> name;
            std::vector<ObjectPtr> selection;
            if (name == "+other") {
                other = ZoButtonBar::Create(*site, 0, 600, 420, 100, 100);
                other->InitProperties();
                selection = {bar, other};
            }
            if (selection.empty()) selection.push_back(bar);
            if (sheet != 0) Press(PSBTN_CANCEL);
            host = std::make_unique<PropertyPageHost>(*site, std::move(selection));
            pages.clear();
            pages.push_back(std::make_unique<AppearancePage>());
            pages.push_back(std::make_unique<PositionPage>());
            pages.push_back(std::make_unique<GroupsPage>(*site));
            pages.push_back(std::make_unique<ButtonsPage>(*site));
            pages.push_back(std::make_unique<ColorPage>());
            pages.push_back(std::make_unique<FontPage>());
            pages.push_back(std::make_unique<PicturePage>());
            std::vector<PropertyPage*> raw;
            for (auto& p : pages)
                raw.push_back(p.get());
            sheet = host->ShowModeless(0, "ZoButtonBar", raw, page);
            ASSERT_NE(sheet, 0u);
            PumpMessages();
            events.Take();
            site->ClearChanges();
        } else if (verb == "page") {
            in >> page;
            SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
            PumpMessages();
        } else if (verb == "click") {
            const HWND h = ctl();
            int dx = -1;
            ClickAt(h, in >> dx ? dx : -1);
        } else if (verb == "type") {
            Type(rest());
        } else if (verb == "retype") {
            const HWND h = ctl();
            Retype(h, rest());
        } else if (verb == "key") {
            Key(VK_DELETE);
        } else if (verb == "choose") {
            const HWND h = ctl();
            int index = 0;
            in >> index;
            Choose(h, index);
        } else if (verb == "press") {
            in >> name;
            Press(name == "ok" ? PSBTN_OK : name == "cancel" ? PSBTN_CANCEL : PSBTN_APPLYNOW);
        } else if (verb == "pick") {
            const HWND h = ctl();
            name.clear();
            in >> name;
            PickFile(h, name.empty()             ? ""
                        : name.ends_with(".wmf") ? File(name, zo::test::MakeWmf(200, 100))
                                                 : BitmapFile(name));
        } else if (verb == "click-item") {
            const HWND list = ctl();
            int i = 0;
            in >> i;
            RECT item, w;
            SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            GetWindowRect(list, &w);
            InjectClick(w.left + (item.left + item.right) / 2 + 1,
                        w.top + (item.top + item.bottom) / 2 + 1, VK_LBUTTON);
        } else if (verb == "click-page") {
            int x = 0, y = 0;
            in >> x >> y;
            RECT r;
            GetWindowRect(Page(page).hWnd(), &r);
            InjectClick(r.left + x, r.top + y, VK_LBUTTON);
        } else if (verb == "keep-font") {
            keptFont = bar->Font();
        } else if (verb == "forget") {
            in >> name;
            name == "shown" ? shown.clear() : events.log.clear();
        } else {
            ADD_FAILURE() << "unknown step " << verb;
        }
        PumpMessages();
    }

    std::unique_ptr<DefaultSite> site;
    RecordingEvents events;
    ButtonBarPtr bar, other;
    std::vector<std::unique_ptr<PropertyPage>> pages;
    std::unique_ptr<PropertyPageHost> host;
    HWND sheet = 0;
    std::vector<std::string> shown;
    std::filesystem::path dir;
    std::shared_ptr<StdFont> keptFont;
    int page = 0;

private:
    inline static thread_local std::string tlsPath;
};

TEST_P(PageScript, Runs) {
    RunScript("tests/pages/data", GetParam(),
              [this](const std::string& line, std::istream&, int&) { Step(line); });
}

INSTANTIATE_TEST_SUITE_P(Pages, PageScript, ::testing::ValuesIn(ScriptNames("tests/pages/data")),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
}  // namespace zo::testing
