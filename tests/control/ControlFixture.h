// A control on the off-screen display with a recording host: what the host was told, which
// events it received in which order, and how often each surface painted.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/ZoButtonBar.h"
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

    std::vector<std::string> Take() {
        auto out = std::move(log);
        log.clear();
        return out;
    }

private:
    void Note(std::string s) {
        log.push_back(std::move(s));
        if (onNext) {
            auto f = std::move(onNext);
            onNext = nullptr;
            f();
        }
    }
};

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
