// How the control's cost grows with the number of groups and buttons. Each family runs over
// sizes that double, so the ratio of neighbouring rows is the growth (2 is linear):
// S1 build G groups x 10 buttons (G = 1,000 .. 16,000) as a host adds many items;
// S2 ActiveGroup switched between the first and the last of G groups, each switch with its
//    paints (every header changes strip);
// S3 one group removed from the middle of G groups (the active group is the first);
// S4 build one group of N buttons (N = 10,000 .. 160,000);
// S5 one button removed from the middle of that group, which is the active one.
// The control is W1's: 240x600, linear vertical buttons with a 32x32 icon.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <ostream>
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

void AddButtons(CGroup& group, int g, int buttons, const PicturePtr& icon) {
    auto& list = *group.Buttons();
    for (int k = 1; k <= buttons; ++k)
        list.Add("Item " + std::to_string(g) + "-" + std::to_string(k), icon);
}

// LockRefresh on, add, LockRefresh off, Refresh, as W1 builds.
Bar Build(int groups, int buttons, const PicturePtr& icon) {
    Bar b;
    b.bar = ZoButtonBar::Create(*b.site, 0, 0, 0, 240, 600);
    b.bar->InitProperties();
    b.bar->SetLockRefresh(true);
    auto& all = *b.bar->Groups();
    for (int g = 1; g <= groups; ++g) {
        GroupPtr group = g == 1 ? all.Item(1) : all.Add("Group " + std::to_string(g));
        if (g == 1) group->SetCaption("Group 1");
        AddButtons(*group, g, buttons, icon);
    }
    b.bar->SetLockRefresh(false);
    b.bar->Refresh();
    plat::PumpMessages();
    return b;
}

void Display() {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 800, 800);
}

void GroupSizes(benchmark::internal::Benchmark* b) {
    for (int g = 1000; g <= 16000; g *= 2)
        b->Arg(g);
}

void ButtonSizes(benchmark::internal::Benchmark* b) {
    for (int n = 10000; n <= 160000; n *= 2)
        b->Arg(n);
}

void BM_S1_BuildGroups(benchmark::State& state) {
    Display();
    const PicturePtr icon = MakeIcon();
    const int groups = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Bar b = Build(groups, 10, icon);
        benchmark::DoNotOptimize(b.bar.get());
        state.PauseTiming();
        b.bar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_S1_BuildGroups)->Apply(GroupSizes)->Unit(benchmark::kMillisecond);

void BM_S2_SwitchGroup(benchmark::State& state) {
    Display();
    const PicturePtr icon = MakeIcon();
    const int groups = static_cast<int>(state.range(0));
    Bar b = Build(groups, 10, icon);
    const GroupPtr first = b.bar->Groups()->Item(1);
    const GroupPtr last = b.bar->Groups()->Item(groups);
    bool toLast = true;
    for (auto _ : state) {
        b.bar->SetActiveGroup(toLast ? last : first);
        plat::PumpMessages();
        toLast = !toLast;
    }
}
BENCHMARK(BM_S2_SwitchGroup)->Apply(GroupSizes)->Unit(benchmark::kMicrosecond);

void BM_S3_RemoveGroup(benchmark::State& state) {
    Display();
    const PicturePtr icon = MakeIcon();
    const int groups = static_cast<int>(state.range(0));
    Bar b = Build(groups, 10, icon);
    auto& all = *b.bar->Groups();
    int added = groups;
    for (auto _ : state) {
        all.Remove(groups / 2);
        plat::PumpMessages();
        state.PauseTiming();
        // Back to the same count, so every removal sees the same size.
        ++added;
        AddButtons(*all.Add("Group " + std::to_string(added)), added, 10, icon);
        plat::PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_S3_RemoveGroup)->Apply(GroupSizes)->Unit(benchmark::kMicrosecond);

void BM_S4_BuildButtons(benchmark::State& state) {
    Display();
    const PicturePtr icon = MakeIcon();
    const int buttons = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Bar b = Build(1, buttons, icon);
        benchmark::DoNotOptimize(b.bar.get());
        state.PauseTiming();
        b.bar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_S4_BuildButtons)->Apply(ButtonSizes)->Unit(benchmark::kMillisecond);

void BM_S5_RemoveButton(benchmark::State& state) {
    Display();
    const PicturePtr icon = MakeIcon();
    const int buttons = static_cast<int>(state.range(0));
    Bar b = Build(1, buttons, icon);
    auto& list = *b.bar->ActiveGroup()->Buttons();
    int added = buttons;
    for (auto _ : state) {
        list.Remove(buttons / 2);
        plat::PumpMessages();
        state.PauseTiming();
        ++added;
        list.Add("Item 1-" + std::to_string(added), icon);
        plat::PumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_S5_RemoveButton)->Apply(ButtonSizes)->Unit(benchmark::kMicrosecond);

// The console output, then for each family the time of every size over the size before it.
// With repetitions the medians are compared.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Iteration && r.repetitions > 1) continue;
            if (r.run_type == Run::RT_Aggregate && !median) continue;
            const std::string name = r.run_name.function_name;
            const long size = std::stol(r.run_name.args);
            times_[name][size] = r.GetAdjustedRealTime();
            units_[name] = benchmark::GetTimeUnitString(r.time_unit);
        }
    }
    void Finalize() override {
        std::ostream& out = GetOutputStream();
        out << "\nGrowth (time at each size / time at half that size; 2.0 is linear)\n";
        char cell[96];
        for (const auto& [name, bySize] : times_) {
            out << name << "\n";
            const double* previous = nullptr;
            for (const auto& [size, time] : bySize) {
                std::snprintf(cell, sizeof cell, "  %7ld  %10.4g %s", size, time,
                              units_[name].c_str());
                out << cell;
                if (previous != nullptr) {
                    std::snprintf(cell, sizeof cell, "  x%.2f", time / *previous);
                    out << cell;
                }
                out << "\n";
                previous = &time;
            }
        }
        out.flush();
        ConsoleReporter::Finalize();
    }

private:
    std::map<std::string, std::map<long, double>> times_;
    std::map<std::string, std::string> units_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
