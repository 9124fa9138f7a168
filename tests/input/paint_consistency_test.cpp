// Differential painting: the control is driven at random (fixed seeds) through real input and
// host calls, and after every step each surface, as the message loop left it, must equal a
// fresh full paint of the same state. A difference writes both images and the diff and names
// the step, with the steps that led there.
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "control/ControlFixture.h"
#include "core/Error.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/image/ImageCompare.h"

namespace zo {
namespace {

using testing::CentreOnScreen;
using testing::IconPicture;
using testing::OnScreen;

struct Row {
    std::string name;
    std::int32_t groupAppearance;
    std::int32_t buttonAppearance;
    std::int32_t flow;  // GroupFlow and ButtonFlow together
    unsigned seed;
};

constexpr int kSteps = 200;

plat::Image Capture(plat::HWND hwnd) {
    plat::RECT r;
    plat::GetWindowRect(hwnd, &r);
    plat::Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    img.pixels = plat::ReadScreenPixels(r);
    return img;
}

// The host calls that set one setting to one of a few values.
struct Setting {
    const char* name;
    void (ZoButtonBar::*set)(std::int32_t);
    std::vector<std::int32_t> values;
};
constexpr auto kBtnFace = static_cast<std::int32_t>(0x8000000Fu),
               kWindow = static_cast<std::int32_t>(0x80000005u);
const Setting kSettings[] = {
    {"GroupAppearance", &ZoButtonBar::SetGroupAppearance, {0, 1, 2, 3, 4, 5}},
    {"ButtonAppearance", &ZoButtonBar::SetButtonAppearance, {0, 1, 2, 3, 4, 5}},
    {"SelectedButtonAppearance", &ZoButtonBar::SetSelectedButtonAppearance, {0, 1, 2, 3, 4, 5}},
    {"GroupBackColor", &ZoButtonBar::SetGroupBackColor, {kBtnFace, 0xC0E0FF, kWindow}},
    {"ButtonBackColor", &ZoButtonBar::SetButtonBackColor, {kBtnFace, 0xE0F0E0}},
    {"ButtonHighlightZone", &ZoButtonBar::SetButtonHighlightZone, {0, 1}},
};

class PaintConsistency : public testing::ControlTest, public ::testing::WithParamInterface<Row> {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        MakeBar(true, 220, 300);
        plat::WNDCLASSA wc;
        wc.lpfnWndProc = plat::DefWindowProcA;
        wc.lpszClassName = "Elsewhere";
        plat::RegisterClassA(&wc);
        // Somewhere else to put the focus, clear of the control.
        elsewhere = plat::CreateWindowExA(0, "Elsewhere", "", plat::WS_POPUP | plat::WS_VISIBLE,
                                          500, 400, 60, 40, 0, 0, 0, nullptr);
        const Row& row = GetParam();
        rng.seed(row.seed);
        bar->SetGroupAppearance(row.groupAppearance);
        bar->SetButtonAppearance(row.buttonAppearance);
        bar->SetSelectedButtonAppearance((row.buttonAppearance + 3) % 6);
        bar->SetGroupFlow(row.flow);
        bar->SetButtonFlow(row.flow);
        bar->SetCaption("Differential");
        bar->SetShowCaptionBar(true);
        bar->SetShowCloseButton(true);
        bar->ActiveGroup()->SetTooltipText("General tip");
        for (int i = 1; i <= 14; ++i)
            AddButton(bar->ActiveGroup());
        for (int g = 2; g <= 4; ++g) {
            auto group = bar->Groups()->Add("Group " + std::to_string(g), "Tip");
            for (int i = 1; i <= 3 + g; ++i)
                AddButton(group);
        }
        plat::PumpMessages();
    }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool Chance(int percent) { return Pick(100) < percent; }

    void AddButton(const GroupPtr& g) {
        const int n = ++buttonsMade;
        g->Buttons()->Add("Button " + std::to_string(n), IconPicture(n % 3 == 0 ? 24 : 32),
                          "Tip " + std::to_string(n));
    }

    GroupPtr AnyGroup() { return bar->Groups()->Item(1 + Pick(bar->Groups()->Count())); }
    ButtonPtr AnyButton(const GroupPtr& g) {
        if (!g || g->Buttons()->Count() == 0) return nullptr;
        return g->Buttons()->Item(1 + Pick(g->Buttons()->Count()));
    }

    // Somewhere the pointer can go, with a description for the step log.
    plat::POINT PointerTarget(std::string& what) {
        switch (Pick(7)) {
            case 0:  // a button of the active group
                if (const ButtonPtr b = AnyButton(bar->ActiveGroup())) {
                    what = "over " + b->Caption();
                    return CentreOnScreen(bar->m_hWndButtons, b->ButtonRect());
                }
                break;
            case 1:
            case 2: {  // a header of either strip
                const bool upper = Chance(50);
                const CGroupButtons& list =
                    upper ? bar->m_aUpperGroupButtons : bar->m_aLowerGroupButtons;
                // A slot of a group no longer in Groups is empty.
                const GroupPtr g = list.Count() > 0 ? list.Item(1 + Pick(list.Count())) : nullptr;
                if (g) {
                    what = "over header " + g->Caption();
                    return CentreOnScreen(upper ? bar->m_hWndUpperGroups : bar->m_hWndLowerGroups,
                                          g->HeaderRect());
                }
                break;
            }
            case 3:  // a scroll button, shown or not
                what = "over a scroll button";
                return CentreOnScreen(bar->m_hWndButtons, Chance(50) ? bar->m_rcTLScrollButton
                                                                     : bar->m_rcBRScrollButton);
            case 4: {  // anywhere on the control
                plat::RECT r;
                plat::GetWindowRect(bar->hwnd(), &r);
                what = "somewhere on the control";
                return plat::POINT{r.left + Pick(r.right - r.left), r.top + Pick(r.bottom - r.top)};
            }
            case 5:
                if (Chance(50)) {
                    what = "over the close button";
                    return CentreOnScreen(bar->m_picCaptionBar().hWnd(), bar->m_rcCloseButton);
                }
                what = "over the caption bar";
                return OnScreen(bar->m_picCaptionBar().hWnd(), 10, 3);
            default:
                break;
        }
        what = "outside the control";
        return plat::POINT{400 + Pick(200), 350 + Pick(100)};
    }

    // Whether the control can follow a mouse button going down or up now. The hot button's
    // pressed look follows the live button state, and only the button area repaints it: with
    // a hot button, the press must reach the button area (by capture or under the pointer);
    // without one, any of the control's surfaces.
    bool ControlHearsButtons() {
        plat::POINT p;
        plat::GetCursorPos(&p);
        const plat::HWND to =
            plat::GetCapture() != 0 ? plat::GetCapture() : plat::WindowFromPoint(p);
        if (bar->m_aHighlightedButton.lock()) return to == bar->m_hWndButtons;
        return to != 0 && plat::IsChild(bar->hwnd(), to);
    }

    // One random step; returns what it did.
    std::string Step() {
        const int kind = Pick(100);
        std::string what;
        if (kind < 30) {
            const plat::POINT p = PointerTarget(what);
            plat::InjectMouseMove(p.x, p.y);
            return "move " + what;
        }
        if (kind < 40) {
            if (!ControlHearsButtons()) return leftDown ? "no release here" : "no press here";
            leftDown = !leftDown;
            plat::InjectMouseButton(plat::VK_LBUTTON, leftDown);
            return leftDown ? "press" : "release";
        }
        if (kind < 55) {
            static const plat::UINT keys[] = {plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP,
                                              plat::VK_DOWN, plat::VK_RETURN};
            const plat::UINT vk = keys[Pick(5)];
            plat::InjectKey(vk, true);
            plat::InjectKey(vk, false);
            return "key " + std::to_string(vk);
        }
        if (kind < 63) {
            static const char* const names[] = {"the button area", "the upper strip",
                                                "the lower strip", "elsewhere"};
            const plat::HWND to[] = {bar->m_hWndButtons, bar->m_hWndUpperGroups,
                                     bar->m_hWndLowerGroups, elsewhere};
            const int i = Pick(4);
            plat::SetFocus(to[i]);
            return std::string("focus on ") + names[i];
        }
        try {
            return HostCall();
        } catch (const Error& e) {
            return "host call refused: " + e.Description();
        }
    }

    std::string HostCall() {
        const int call = Pick(16);
        switch (call) {
            case 0: {
                const GroupPtr g = AnyGroup();
                bar->SetActiveGroup(g);
                return "ActiveGroup = " + g->Caption();
            }
            case 1: {
                const ButtonPtr b = Chance(80) ? AnyButton(bar->ActiveGroup()) : nullptr;
                bar->SetSelectedButton(b);
                return "SelectedButton = " + (b ? b->Caption() : std::string("nothing"));
            }
            case 2: {
                const GroupPtr g = Chance(70) ? bar->ActiveGroup() : AnyGroup();
                AddButton(g);
                return "add a button to " + g->Caption();
            }
            case 3: {
                const ButtonPtr b = AnyButton(Chance(70) ? bar->ActiveGroup() : AnyGroup());
                if (!b) return "no button to hide";
                b->SetVisible(!b->Visible());
                return std::string(b->Visible() ? "show " : "hide ") + b->Caption();
            }
            case 4: {
                const GroupPtr g = Chance(70) ? bar->ActiveGroup() : AnyGroup();
                if (g->Buttons()->Count() == 0) return "no button to remove";
                const int i = 1 + Pick(g->Buttons()->Count());
                const std::string caption = g->Buttons()->Item(i)->Caption();
                g->Buttons()->Remove(i);
                return "remove " + caption;
            }
            case 5: {
                const auto g = bar->Groups()->Add("Group " + std::to_string(++groupsMade), "Tip");
                for (int i = Pick(6); i > 0; --i)
                    AddButton(g);
                return "add " + g->Caption();
            }
            case 6: {
                const GroupPtr g = AnyGroup();
                g->SetVisible(!g->Visible());
                return std::string(g->Visible() ? "show " : "hide ") + g->Caption();
            }
            case 7: {
                if (bar->Groups()->Count() <= 1) return "no group to remove";
                const int i = 1 + Pick(bar->Groups()->Count());
                const std::string caption = bar->Groups()->Item(i)->Caption();
                bar->Groups()->Remove(i);
                return "remove " + caption;
            }
            case 11: {
                const int v = Pick(5);
                bar->SetGroupGradientType(v);
                bar->SetGroupGradientColor(Chance(50) ? 0xF0C080 : 0x4080FF);
                return "GroupGradientType = " + std::to_string(v);
            }
            case 12: {
                const int v = Pick(5);
                bar->SetButtonGradientType(v);
                bar->SetButtonGradientColor(Chance(50) ? 0xFFFFFF : 0x80FF80);
                return "ButtonGradientType = " + std::to_string(v);
            }
            default: {
                const Setting& set = kSettings[call < 11 ? call - 8 : call - 10];
                const std::int32_t v = set.values[Pick(static_cast<int>(set.values.size()))];
                (bar.get()->*set.set)(v);
                return std::string(set.name) + " = " + std::to_string(v);
            }
        }
    }

    struct Shot {
        std::string name;
        plat::HWND hwnd;
        plat::Image image;
    };

    std::vector<Shot> Surfaces() {
        std::vector<Shot> out;
        const std::pair<const char*, Surface*> all[] = {{"caption", &bar->m_picCaptionBar()},
                                                        {"upper", &bar->m_PicUpperGroups()},
                                                        {"buttons", &bar->m_PicButtons()},
                                                        {"lower", &bar->m_PicLowerGroups()}};
        for (const auto& [name, s] : all)
            if (plat::IsWindowVisible(s->hWnd()) && s->ClientWidthPx() > 0 &&
                s->ClientHeightPx() > 0)
                out.push_back(Shot{name, s->hWnd(), Capture(s->hWnd())});
        return out;
    }

    // Each surface as the loop left it against a full paint made over a scribbled surface.
    // "" when all agree; otherwise what differs, with the images written out.
    std::string CompareWithFullPaint(int step) {
        std::vector<Shot> loop = Surfaces();
        for (const Shot& s : loop) {
            const plat::HDC dc = plat::GetDC(s.hwnd);
            plat::RECT rc;
            plat::GetClientRect(s.hwnd, &rc);
            const plat::HBRUSH junk = plat::CreateSolidBrush(plat::RGB(255, 0, 255));
            plat::FillRect(dc, &rc, junk);
            plat::DeleteObject(junk);
            plat::ReleaseDC(s.hwnd, dc);
            plat::RedrawWindow(s.hwnd, nullptr, nullptr,
                               plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_UPDATENOW);
        }
        std::string report;
        for (const Shot& s : loop) {
            const plat::Image full = Capture(s.hwnd);
            if (full.pixels == s.image.pixels) continue;
            const std::string diff = plat::DescribeImageDifference(full, s.image);
            const std::filesystem::path dir = std::filesystem::path(ZO_BINARY_DIR) / "paint-diff";
            std::filesystem::create_directories(dir);
            const std::string stem =
                GetParam().name + "_step" + std::to_string(step) + "_" + s.name;
            plat::WritePng(dir / (stem + ".loop.png"), s.image);
            plat::WritePng(dir / (stem + ".full.png"), full);
            plat::WritePng(dir / (stem + ".diff.png"), plat::MakeDiffImage(full, s.image));
            report += s.name + ": " + diff + " (" + (dir / stem).string() + ".*.png)\n";
        }
        return report;
    }

    plat::HWND elsewhere = 0;
    std::mt19937 rng;
    bool leftDown = false;
    int buttonsMade = 0;
    int groupsMade = 4;
};

TEST_P(PaintConsistency, EverySurfaceMatchesAFullPaintAfterEveryStep) {
    ASSERT_EQ(CompareWithFullPaint(0), "") << "before the first step";
    std::vector<std::string> steps;
    for (int step = 1; step <= kSteps; ++step) {
        steps.push_back(Step());
        try {
            plat::PumpMessages();
        } catch (const Error& e) {
            FAIL() << "step " << step << " (" << steps.back() << "): the message loop got \""
                   << e.Description() << "\"";
        }
        const std::string diff = CompareWithFullPaint(step);
        if (diff.empty()) continue;
        std::ostringstream log;
        const std::size_t from = steps.size() > 12 ? steps.size() - 12 : 0;
        for (std::size_t i = from; i < steps.size(); ++i)
            log << "  step " << (i + 1) << ": " << steps[i] << "\n";
        FAIL() << "step " << step << " (" << steps.back() << ") left a surface unlike a full "
               << "paint:\n"
               << diff << "the last steps:\n"
               << log.str();
    }
}

std::vector<Row> Rows() {
    std::vector<Row> rows;
    const char* flows[] = {"vertical", "horizontal"};
    for (int flow = 0; flow < 2; ++flow)
        for (int a = 0; a <= 5; ++a)
            rows.push_back(
                Row{std::string(flows[flow]) + "_group" + std::to_string(a) + "_button" +
                        std::to_string((a + 2) % 6),
                    a, (a + 2) % 6, flow,
                    1000u + 17u * static_cast<unsigned>(a) + 101u * static_cast<unsigned>(flow)});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Seeds, PaintConsistency, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
}  // namespace zo
