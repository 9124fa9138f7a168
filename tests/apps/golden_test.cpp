// Reference images of the painted control, each rendered from a scene of
// tests/apps/data/golden_scenes.txt and compared exactly with tests/golden/<name>.png. After an
// intended change in drawing, regenerate them with
// ZO_UPDATE_GOLDEN=1 build/default/tests/test_apps --gtest_filter='Scenes/Golden*' and review
// the changed files before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Demo.h"
#include "control/ZoButtonBar.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "platform/image/ImageCompare.h"

namespace zo {
namespace {

struct Scene {
    std::string name;
    int width = 0, height = 0;
    std::vector<std::string> steps;
};

// Test names and failure messages show the scene's name, not its bytes.
void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}

std::vector<Scene> Scenes() {
    std::ifstream in(std::string(ZO_SOURCE_DIR) + "/tests/apps/data/golden_scenes.txt");
    std::vector<Scene> out;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        Scene s;
        char x = 0;
        if (line.empty() || line[0] == '#' || !(words >> s.name >> s.width >> x >> s.height))
            continue;
        for (std::string step; words >> std::quoted(step);)
            s.steps.push_back(step);
        out.push_back(s);
    }
    return out;
}

bool Has(const Scene& s, const std::string& flag) {
    return std::find(s.steps.begin(), s.steps.end(), flag) != s.steps.end();
}

Variant GroupKey(const std::string& text) {
    return std::isdigit(static_cast<unsigned char>(text[0])) ? Variant(std::stoi(text))
                                                             : Variant(text);
}

// Puts the pointer over a button as a user would, so hover tracking makes it hot.
void Hover(ZoButtonBar& bar, const std::string& where) {
    const std::size_t comma = where.find(',');
    const Rect& r = bar.Groups()
                        ->Item(std::stoi(where))
                        ->Buttons()
                        ->Item(std::stoi(where.substr(comma + 1)))
                        ->ButtonRect();
    plat::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    plat::ClientToScreen(bar.m_hWndButtons, &p);
    plat::InjectMouseMove(p.x, p.y);
    plat::PumpMessages();
}

void Apply(ZoButtonBar& bar, const std::string& step) {
    const std::size_t colon = step.find(':'), eq = step.find('=');
    const std::string verb = step.substr(0, colon), arg = step.substr(colon + 1);
    if (eq != std::string::npos) {
        const DispatchMember* m = FindDispatchMember(step.substr(0, eq));
        ASSERT_NE(m, nullptr) << step;
        bar.SetProperty(m->name, zobar::ParseValue(*m, step.substr(eq + 1)));
    } else if (verb == "active") {
        bar.SetActiveGroup(bar.Groups()->Item(GroupKey(arg)));
    } else if (verb == "layout") {
        bar.ActiveGroup()->SetButtonBackgroundLayout(std::stoi(arg));
    } else if (verb == "hide") {
        bar.Groups()->Item(std::stoi(arg))->SetVisible(false);
    } else if (verb == "hover") {
        Hover(bar, arg);
    } else if (verb == "press") {
        plat::InjectMouseButton(plat::VK_LBUTTON, true);
        plat::PumpMessages();
    } else if (verb == "hot-scroll") {
        bar.m_bScrollButtonHot = true;
        bar.m_bTLScrollButtonHot = false;
        bar.Refresh();
    } else if (verb == "push-caption") {
        bar.PaintCaptionBar(true);
    } else if (verb == "focus") {
        bar.m_aFocusGroup = bar.Groups()->Item(std::stoi(arg));
        bar.Refresh();
    } else if (verb != "blank" && verb != "design" && verb != "no-msimg32") {
        ADD_FAILURE() << "unknown step " << step;
    }
}

class Golden : public ::testing::TestWithParam<Scene> {
protected:
    void TearDown() override {
        plat::SetMsImg32Available(true);
        plat::ShutdownDisplay();
    }
};

TEST_P(Golden, MatchesTheReferenceImage) {
    const Scene& s = GetParam();
    plat::InitDisplay(plat::DisplayKind::Offscreen, s.width + 20, s.height + 20);
    plat::SetMsImg32Available(!Has(s, "no-msimg32"));
    DefaultSite site(!Has(s, "design"));
    auto bar = ZoButtonBar::Create(site, 0, 0, 0, s.width, s.height);
    bar->InitProperties();
    if (!Has(s, "blank")) zobar::BuildDemo(*bar);
    for (const std::string& step : s.steps)
        Apply(*bar, step);
    plat::PumpMessages();
    plat::RECT r;
    plat::GetWindowRect(bar->hwnd(), &r);
    plat::Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.pixels = plat::ReadScreenPixels(r);
    EXPECT_EQ(plat::CompareWithReference(
                  img, std::string(ZO_SOURCE_DIR) + "/tests/golden/" + s.name + ".png",
                  std::string(ZO_BINARY_DIR) + "/golden-out"),
              "");
}

INSTANTIATE_TEST_SUITE_P(Scenes, Golden, ::testing::ValuesIn(Scenes()),
                         [](const ::testing::TestParamInfo<Scene>& i) { return i.param.name; });

}  // namespace
}  // namespace zo
