// The control's workloads, the same as the peer baseline's (bench/README.md):
// W1 build a 240x600 bar of 10 groups x 50 buttons up to its first complete paint;
// W2 switch the active group round-robin, each switch followed by its complete paint;
// W3 the pointer moved onto successive visible buttons of W1's bar, each move followed by the
//    paints it causes;
// W4 a 1920x1080 bar with one tiled group of 2000 buttons: a full repaint, and the build;
// W5 1,000 groups x 100 buttons: build time and memory per button;
// L1 a plain 32-bit fill of a 1920x1080 buffer, the floor for W4.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BenchFixture.h"
#include "control/ZoButtonBar.h"
#include "platform/Display.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace {

using namespace zo;
using namespace zo::bench;

// Built the way a host adds many items: LockRefresh on, add, LockRefresh off, Refresh.
Bar Build(int width, int height, int groups, int buttons, const PicturePtr& icon,
          std::int32_t layout = zoLinear) {
    Bar b;
    b.bar = ZoButtonBar::Create(*b.site, 0, 0, 0, width, height);
    b.bar->InitProperties();
    b.bar->SetLockRefresh(true);
    b.bar->SetButtonLayout(layout);
    auto& all = *b.bar->Groups();
    for (int g = 1; g <= groups; ++g) {
        GroupPtr group = g == 1 ? all.Item(1) : all.Add("Group " + std::to_string(g));
        if (g == 1) group->SetCaption("Group 1");
        auto& list = *group->Buttons();
        for (int k = 1; k <= buttons; ++k)
            list.Add("Item " + std::to_string(g) + "-" + std::to_string(k), icon);
    }
    b.bar->SetLockRefresh(false);
    b.bar->Refresh();
    plat::PumpMessages();
    return b;
}

void Display(int w, int h) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, w, h);
}

void BM_W1_Build(benchmark::State& state) {
    Display(800, 800);
    const PicturePtr icon = MakeIcon();
    Build(240, 600, 10, 50, icon);  // first build: font and glyph caches
    for (auto _ : state) {
        Bar b = Build(240, 600, 10, 50, icon);
        benchmark::DoNotOptimize(b.bar.get());
        state.PauseTiming();
        b.bar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_W1_Build)->Unit(benchmark::kMillisecond);

void BM_W2_Switch(benchmark::State& state) {
    Display(800, 800);
    const PicturePtr icon = MakeIcon();
    Bar b = Build(240, 600, 10, 50, icon);
    int next = 1;
    for (auto _ : state) {
        next = next % 10 + 1;
        b.bar->SetActiveGroup(b.bar->Groups()->Item(next));
        plat::PumpMessages();
    }
}
BENCHMARK(BM_W2_Switch)->Unit(benchmark::kMicrosecond);

void BM_W3_Hover(benchmark::State& state) {
    Display(800, 800);
    const PicturePtr icon = MakeIcon();
    Bar b = Build(240, 600, 10, 50, icon);
    // The centres of the buttons wholly inside the button area, on the screen.
    const plat::HWND area = b.bar->m_hWndButtons;
    plat::RECT client;
    plat::GetClientRect(area, &client);
    std::vector<plat::POINT> targets;
    for (const ButtonPtr& btn : *b.bar->ActiveGroup()->Buttons()) {
        const Rect& r = btn->ButtonRect();
        if (r.top < 0 || r.bottom > client.bottom || r.right > client.right) continue;
        plat::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        plat::ClientToScreen(area, &p);
        targets.push_back(p);
    }
    if (targets.size() < 2) {
        state.SkipWithError("fewer than two buttons visible");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const plat::POINT p = targets[i++ % targets.size()];
        plat::InjectMouseMove(p.x, p.y);
        plat::PumpMessages();
    }
    state.counters["visible_buttons"] = static_cast<double>(targets.size());
}
BENCHMARK(BM_W3_Hover)->Unit(benchmark::kMicrosecond);

void BM_W4_Repaint(benchmark::State& state) {
    Display(1920, 1080);
    const PicturePtr icon = MakeIcon();
    Bar b = Build(1920, 1080, 1, 2000, icon, zoTiled);
    for (auto _ : state) {
        b.bar->Refresh();
        plat::PumpMessages();
    }
}
BENCHMARK(BM_W4_Repaint)->Unit(benchmark::kMillisecond);

void BM_W4_Build(benchmark::State& state) {
    Display(1920, 1080);
    const PicturePtr icon = MakeIcon();
    for (auto _ : state) {
        Bar b = Build(1920, 1080, 1, 2000, icon, zoTiled);
        state.PauseTiming();
        b.bar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_W4_Build)->Unit(benchmark::kMillisecond);

void BM_W5_Build(benchmark::State& state) {
    Display(800, 800);
    const PicturePtr icon = MakeIcon();
    double perButton = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        Bar b = Build(240, 600, 1000, 100, icon);
        // The buttons' own blocks past 2 MiB are mapped outside the heap.
        const std::size_t after = mallinfo2().uordblks + b.bar->ItemMemory()->MappedBytes();
        perButton = static_cast<double>(after - before) / 100000.0;
        state.PauseTiming();
        b.bar.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_button"] = perButton;
}
BENCHMARK(BM_W5_Build)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_L1_Fill(benchmark::State& state) {
    std::vector<std::uint32_t> buffer(1920 * 1080);
    for (auto _ : state) {
        std::fill(buffer.begin(), buffer.end(), 0xFFD4D0C8u);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_L1_Fill)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
