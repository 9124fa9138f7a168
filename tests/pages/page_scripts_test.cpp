// The property pages driven by scripts in tests/pages/data/*.txt, one test per file: a user's
// clicks and keys on the sheet, each followed by what must show on the page and on the control.
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

#include <iomanip>

#include "host/StdFont.h"
#include "model/CButtons.h"
#include "model/CGroups.h"
#include "pages/PageFixture.h"
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

class PageScript : public PageTest, public ::testing::WithParamInterface<std::string> {
protected:
    void TearDown() override {
        other.reset();
        PageTest::TearDown();
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
            std::string names;
            while (in >> name && name != "=")
                names += name + " ";
            return Texts(page, names);
        }
        if (what == "shown") return Join(std::exchange(shown, {}));
        if (what == "events") return Join(events.Take());
        if (what == "changes") return Join(Changes());
        if (what == "apply") return ApplyEnabled() ? "on" : "off";
        if (what == "open") return IsWindow(sheet) ? "1" : "0";
        if (what == "groups") return std::to_string(bar->Groups()->Count());
        if (what == "buttons") return std::to_string(bar->ActiveGroup()->Buttons()->Count());
        if (what == "font") return Describe(bar->Font());
        if (what == "kept-font") return Describe(keptFont);
        if (what == "mouse-icon") return PictureType(bar->MouseIcon());
        in >> name;
        if (what == "enabled") return Enabled(Ctl(page, name.c_str())) ? "1" : "0";
        if (what == "checked") return Checked(Ctl(page, name.c_str())) ? "1" : "0";
        if (what == "sel") return std::to_string(Sel(Ctl(page, name.c_str())));
        if (what == "prop") return bar->GetProperty(name).ToText();
        if (what == "other") return other->GetProperty(name).ToText();
        if (what == "group") return Describe(bar->Groups()->Item(std::stoi(name)));
        if (what == "button") return Describe(bar->ActiveGroup()->Buttons()->Item(std::stoi(name)));
        if (what == "item") {
            int i = 0;
            in >> i;
            char text[64] = {};
            SendMessageA(Ctl(page, name.c_str()), LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            return text;
        }
        if (what == "range") {
            int lo = -1, hi = -1;
            GetScrollRange(Ctl(page, name.c_str()), SB_CTL, &lo, &hi);
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
            in >> page >> name;
            std::vector<ObjectPtr> selection;
            if (name == "+other") {
                other = ZoButtonBar::Create(*site, 0, 600, 420, 100, 100);
                other->InitProperties();
                selection = {bar, other};
            }
            if (sheet != 0) {
                Press(PSBTN_CANCEL);
                host.reset();
                pages.clear();
            }
            Open(page, selection);
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

    ButtonBarPtr other;
    std::shared_ptr<StdFont> keptFont;
    int page = 0;
};

TEST_P(PageScript, Runs) {
    const std::string path =
        std::string(ZO_SOURCE_DIR) + "/tests/pages/data/" + GetParam() + ".txt";
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(GetParam() + ".txt:" + std::to_string(number) + ": " + line);
        Step(line);
        if (HasFatalFailure()) return;
    }
}

std::vector<std::string> Scripts() {
    std::vector<std::string> names;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(ZO_SOURCE_DIR) + "/tests/pages/data"))
        if (e.path().extension() == ".txt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Pages, PageScript, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
}  // namespace zo::testing
