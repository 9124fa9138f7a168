// A control on the off-screen display with a recording host: what the host was told, which
// events it received in which order, and how often each surface painted.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "platform/Display.h"
#include "platform/Window.h"

namespace zo::testing {

class RecordingEvents : public ZoButtonBarEvents {
public:
    std::vector<std::string> log;
    std::function<void()> onNext;

    void CloseButtonClick() override { Note("CloseButtonClick"); }
    void GroupAdded(GroupPtr& g) override { Note("GroupAdded " + g->Caption()); }
    void ButtonAdded(ButtonPtr& b) override { Note("ButtonAdded " + b->Caption()); }
    void GroupRemoved(GroupPtr& g) override { Note("GroupRemoved " + g->Caption()); }
    void ActiveGroupChanged() override { Note("ActiveGroupChanged"); }
    void ButtonRemoved(ButtonPtr& b) override { Note("ButtonRemoved " + b->Caption()); }
    void ButtonSelectionChanged() override { Note("ButtonSelectionChanged"); }
    void ButtonHighlightChanged(ButtonPtr& b, bool on) override {
        Note("ButtonHighlightChanged " + b->Caption() + (on ? " on" : " off"));
    }
    void Resize() override { Note("Resize"); }

    std::vector<std::string> Take() { return std::exchange(log, {}); }

private:
    void Note(std::string s) {
        log.push_back(std::move(s));
        if (auto f = std::exchange(onNext, nullptr)) f();
    }
};

// "number description | source" of the error `f` raises; "" when it raises none.
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return std::to_string(e.Number()) + " " + e.Description() + " | " + e.Source();
    }
    return "";
}

// Everything a layout decides: the surfaces' places, the headers, the button sizes, the grid,
// the scrolling and each button's cell of the active group.
inline std::string LayoutSnapshot(ZoButtonBar& bar) {
    std::ostringstream s;
    for (Surface* surface : {&bar.m_picCaptionBar(), &bar.m_PicUpperGroups(),
                             &bar.m_PicLowerGroups(), &bar.m_PicButtons()}) {
        plat::RECT r{};
        plat::GetWindowRect(surface->hWnd(), &r);
        s << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
    }
    for (const GroupPtr& g : *bar.Groups()) {
        const Rect& r = g->HeaderRect();
        s << " h" << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    s << "\nW" << bar.m_lButtonWidthPx << " H" << bar.m_lButtonHeightPx << " P"
      << bar.m_lMaxPicWidth << "x" << bar.m_lMaxPicHeight << " C" << bar.m_lCaptionHeight << " L"
      << bar.m_lButtonsPerLine << " S" << bar.m_lScrollPos << "/" << bar.m_lMaxScrollPos << " TL"
      << bar.m_rcTLScrollButton.top << "," << bar.m_rcTLScrollButton.bottom << " BR"
      << bar.m_rcBRScrollButton.top << "," << bar.m_rcBRScrollButton.bottom << " G"
      << bar.m_lGridLines << "x" << bar.m_lGridPositions << ":";
    for (std::int32_t v : bar.m_aButtonGrid)
        s << v << ",";
    for (const ButtonPtr& b : *bar.ActiveGroup()->Buttons()) {
        const Rect& r = b->ButtonRect();
        s << "\n"
          << b->Caption() << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom
          << " " << b->LineIndex() << "." << b->PosInLine();
    }
    return s.str();
}

// Client point (x, y) of `w` on the screen.
inline plat::POINT OnScreen(plat::HWND w, int x, int y) {
    plat::POINT p{x, y};
    plat::ClientToScreen(w, &p);
    return p;
}
inline plat::POINT CentreOnScreen(plat::HWND w, const Rect& r) {
    return OnScreen(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
// The screen's pixels under the window `w`.
inline std::vector<std::uint32_t> ScreenPixels(plat::HWND w) {
    plat::RECT r;
    plat::GetWindowRect(w, &r);
    return plat::ReadScreenPixels(r);
}

inline PicturePtr IconPicture(int px = 32) {
    return Picture::FromPixels(PictureType::Icon, 0, px, px);
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { plat::InitDisplay(plat::DisplayKind::Offscreen, 800, 600); }
    void TearDown() override {
        bar.reset();
        plat::ShutdownDisplay();
    }

    // A new instance of 200 x 400 pixels (client area inside the 3D border: 196 x 396).
    void MakeBar(bool runTime = true, int w = 200, int h = 400) {
        site = std::make_unique<DefaultSite>(runTime);
        bar = ZoButtonBar::Create(*site, 0, 10, 10, w, h);
        bar->Advise(&events);
        bar->InitProperties();
        plat::PumpMessages();
        CountPaints();
        site->ClearChanges();
        events.Take();
    }

    // Counts the Paint notifications of each surface from now on.
    void CountPaints() {
        paints = {};
        if (counting_) return;
        counting_ = true;
        Chain(bar->m_PicButtons(), paints.buttons);
        Chain(bar->m_PicUpperGroups(), paints.upper);
        Chain(bar->m_PicLowerGroups(), paints.lower);
        Chain(bar->m_picCaptionBar(), paints.caption);
    }

    // The state now must be what arranging and laying out everything from scratch gives.
    void ExpectCompleteLayout(const std::string& step) {
        const std::string now = LayoutSnapshot(*bar);
        bar->m_layoutMemo.reset();
        bar->m_upperHeaderLayout = {};
        bar->m_lowerHeaderLayout = {};
        bar->ArrangeAreas();
        bar->LayoutButtons();
        ASSERT_EQ(now, LayoutSnapshot(*bar)) << step;
    }

    std::vector<std::string> Changes() {
        auto c = site->Changes();
        site->ClearChanges();
        return c;
    }

    struct Paints {
        int buttons = 0, upper = 0, lower = 0, caption = 0;
    } paints;
    std::unique_ptr<DefaultSite> site;
    RecordingEvents events;
    ButtonBarPtr bar;

private:
    bool counting_ = false;

    static void Chain(Surface& s, int& counter) {
        auto original = s.on.Paint;
        s.on.Paint = [original, &counter] {
            ++counter;
            if (original) original();
        };
    }
};

using Log = std::vector<std::string>;

}  // namespace zo::testing
