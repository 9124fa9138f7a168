// Reference images of the painted control, each rendered from a described scene and compared
// exactly with tests/golden/<name>.png. After an intended change in drawing, regenerate them
// with ZO_UPDATE_GOLDEN=1 build/default/tests/test_apps --gtest_filter='Golden*' and review
// the changed files before committing.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "Demo.h"
#include "control/ZoButtonBar.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Window.h"
#include "platform/image/ImageCompare.h"

namespace zo {
namespace {

using Setup = std::function<void(ZoButtonBar&)>;

struct Scene {
    std::string name;
    int width = 200;
    int height = 320;
    bool demo = true;
    bool runTime = true;
    bool msimg32 = true;
    Setup setup;
};

// Test names and failure messages show the scene's name, not its bytes.
void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}

plat::Image Capture(plat::HWND hwnd) {
    plat::RECT r;
    plat::GetWindowRect(hwnd, &r);
    plat::Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.pixels = plat::ReadScreenPixels(r);
    return img;
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
    plat::SetMsImg32Available(s.msimg32);
    DefaultSite site(s.runTime);
    auto bar = ZoButtonBar::Create(site, 0, 0, 0, s.width, s.height);
    bar->InitProperties();
    if (s.demo) zobar::BuildDemo(*bar);
    if (s.setup) s.setup(*bar);
    plat::PumpMessages();
    const std::string diff = plat::CompareWithReference(
        Capture(bar->hwnd()), std::string(ZO_SOURCE_DIR) + "/tests/golden/" + s.name + ".png",
        std::string(ZO_BINARY_DIR) + "/golden-out");
    EXPECT_EQ(diff, "") << s.name;
}

ButtonPtr Button(ZoButtonBar& bar, int g, int b) {
    return bar.Groups()->Item(g)->Buttons()->Item(b);
}

// Puts the pointer over a button as a user would, so hover tracking makes it hot.
void Hover(ZoButtonBar& bar, const ButtonPtr& b) {
    const Rect& r = b->ButtonRect();
    plat::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    plat::ClientToScreen(bar.m_hWndButtons, &p);
    plat::InjectMouseMove(p.x, p.y);
    plat::PumpMessages();
}

std::vector<Scene> Scenes() {
    std::vector<Scene> v;
    v.push_back({"new_instance", 200, 320, false, true, true, nullptr});
    const char* layouts[] = {"tiled", "linear"};
    const char* flows[] = {"vertical", "horizontal"};
    for (int l = 0; l < 2; ++l)
        for (int f = 0; f < 2; ++f)
            v.push_back({std::string("demo_") + layouts[l] + "_" + flows[f], 240, 320, true, true,
                         true, [l, f](ZoButtonBar& b) {
                             b.SetButtonLayout(l);
                             b.SetButtonFlow(f);
                         }});
    const char* positions[] = {"left", "right", "top", "bottom"};
    for (int p = 0; p < 4; ++p)
        v.push_back({std::string("text_") + positions[p], 240, 320, true, true, true,
                     [p](ZoButtonBar& b) { b.SetButtonTextPosition(p); }});
    v.push_back({"picture_only", 200, 320, true, true, true,
                 [](ZoButtonBar& b) { b.SetShowButtonInfo(zoPictureOnly); }});
    v.push_back({"group_flow_horizontal", 360, 200, true, true, true, [](ZoButtonBar& b) {
                     b.SetGroupFlow(zoHorizontal);
                     b.SetActiveGroup(b.Groups()->Item(3));
                 }});
    for (int g = 1; g <= 4; ++g)
        v.push_back(
            {"gradient_" + std::to_string(g), 200, 320, true, true, true, [g](ZoButtonBar& b) {
                 b.SetGroupGradientType(g);
                 b.SetGroupGradientColor(0xF0C080);
                 b.SetButtonGradientType(g);
                 b.SetButtonGradientColor(0xFFFFFF);
                 b.SetButtonBackColor(0xE0A060);
             }});
    for (int a = 0; a <= 5; ++a)
        v.push_back(
            {"appearance_" + std::to_string(a), 200, 320, true, true, true, [a](ZoButtonBar& b) {
                 b.SetGroupAppearance(a);
                 b.SetButtonAppearance(a);
                 b.SetSelectedButtonAppearance(a);
                 b.SetButtonBackColor(static_cast<std::int32_t>(0x8000000Fu));
             }});
    const char* backgrounds[] = {"centered", "stretched", "tiled"};
    for (int k = 0; k < 3; ++k)
        v.push_back({std::string("background_") + backgrounds[k], 220, 300, true, true, true,
                     [k](ZoButtonBar& b) {
                         auto docs = b.Groups()->Item("docs");
                         docs->SetButtonBackgroundLayout(k);
                         b.SetActiveGroup(docs);
                     }});
    for (int f = 0; f < 2; ++f)
        for (int hot = 0; hot < 2; ++hot)
            v.push_back({std::string("scroll_") + flows[f] + (hot ? "_hot" : ""), f ? 320 : 200,
                         f ? 200 : 320, true, true, true, [f, hot](ZoButtonBar& b) {
                             b.SetButtonFlow(f);
                             b.SetActiveGroup(b.Groups()->Item("tools"));
                             if (hot) {
                                 b.m_bScrollButtonHot = true;
                                 b.m_bTLScrollButtonHot = false;
                                 b.Refresh();
                             }
                         }});
    const char* zones[] = {"picture_and_text", "picture"};
    for (int z = 0; z < 2; ++z) {
        v.push_back(
            {std::string("states_") + zones[z], 200, 320, true, true, true, [z](ZoButtonBar& b) {
                 b.SetButtonHighlightZone(z);
                 b.SetButtonBackColor(0xF0F0F0);
                 b.SetHighlightedButtonBackColor(0xFFE0C0);
                 b.SetSelectedButtonBackColor(0xC0E0FF);
                 Hover(b, Button(b, 1, 4));
             }});
        v.push_back(
            {std::string("pressed_") + zones[z], 200, 320, true, true, true, [z](ZoButtonBar& b) {
                 b.SetButtonHighlightZone(z);
                 Hover(b, Button(b, 1, 4));
                 plat::InjectMouseButton(plat::VK_LBUTTON, true);
                 plat::PumpMessages();
             }});
    }
    for (int turned = 0; turned < 2; ++turned)
        for (int pushed = 0; pushed < 2; ++pushed)
            v.push_back({std::string("caption_") + (turned ? "turned" : "upright") +
                             (pushed ? "_pushed" : ""),
                         turned ? 320 : 200, turned ? 200 : 320, true, true, true,
                         [turned, pushed](ZoButtonBar& b) {
                             b.SetGroupFlow(turned);
                             b.SetShowCaptionBar(true);
                             b.SetCaption("A caption far too long to fit in the bar");
                             if (pushed) b.PaintCaptionBar(true);
                         }});
    for (int flat = 0; flat < 2; ++flat)
        v.push_back({std::string("focus_mark_") + (flat ? "flat" : "3d"), 200, 320, true, true,
                     true, [flat](ZoButtonBar& b) {
                         b.SetGroupAppearance(flat ? zoFlat : zoClassic3DRaised);
                         b.m_aFocusGroup = b.Groups()->Item(2);
                         b.Refresh();
                     }});
    v.push_back({"fallback_no_msimg32", 200, 320, true, true, false, [](ZoButtonBar& b) {
                     b.SetButtonGradientType(zoGradientVertical);
                     b.SetButtonGradientColor(0xFFFFFF);
                     b.SetButtonBackColor(0xC08040);
                     b.SetButtonPictureMaskColor(static_cast<std::int32_t>(0x80000005u));
                 }});
    v.push_back({"design_mode", 200, 320, true, false, true,
                 [](ZoButtonBar& b) { b.Groups()->Item(2)->SetVisible(false); }});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Scenes, Golden, ::testing::ValuesIn(Scenes()),
                         [](const ::testing::TestParamInfo<Scene>& i) { return i.param.name; });

}  // namespace
}  // namespace zo
