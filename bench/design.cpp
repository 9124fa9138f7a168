// The design file (bench/README.md, D1-D3): a control of 1,000 groups x 100 buttons with
// 32x32 pictures saved to a file and loaded from it.
// D1 save: WriteProperties, the text, the atomic write with its syncs;
// D2 load: the file read and parsed, the pictures decoded, ReadProperties;
// D3 the same two steps in memory only (bag <-> control), to show what the file adds.
// Pictures come from PNG files, as a program's icons do: "shared" uses 100 pictures, each
// on 1,000 buttons; "distinct" gives every button a picture of its own.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "control/ZoButtonBar.h"
#include "host/DesignFile.h"
#include "persist/DesignLoad.h"
#include "platform/Display.h"
#include "platform/Image.h"

namespace {

using namespace zo;

constexpr int kGroups = 1000;
constexpr int kButtons = 100;

// A 32x32 PNG picture: a square of a colour given by n on a white ground.
PicturePtr Icon(int n) {
    plat::Image image;
    image.width = image.height = 32;
    image.pixels.assign(32 * 32, 0xFFFFFFFFu);
    const std::uint32_t colour = 0xFF000000u | static_cast<std::uint32_t>(n * 2654435761u >> 8);
    for (int y = 4; y < 28; ++y)
        for (int x = 4 + n % 8; x < 28; ++x)
            image.pixels[static_cast<std::size_t>(y * 32 + x)] = colour;
    return plat::LoadPictureFromMemory(plat::EncodePng(image, plat::PngChannels::Rgb));
}

struct Design {
    std::unique_ptr<DefaultSite> site = std::make_unique<DefaultSite>(true);
    std::shared_ptr<ZoButtonBar> bar;
    std::int64_t pictureBytes = 0;
};

Design Build(bool distinct) {
    Design d;
    d.bar = ZoButtonBar::CreateNew(*d.site, 0, 0, 0, 240, 600);
    d.bar->SetLockRefresh(true);
    std::vector<PicturePtr> pool;
    for (int i = 0; i < (distinct ? 0 : 100); ++i) {
        pool.push_back(Icon(i));
        d.pictureBytes += static_cast<std::int64_t>(pool.back()->Source()->size());
    }
    auto& groups = *d.bar->Groups();
    for (int g = 1; g <= kGroups; ++g) {
        GroupPtr group = g == 1 ? groups.Item(1) : groups.Add("Group " + std::to_string(g));
        auto& buttons = *group->Buttons();
        for (int b = 1; b <= kButtons; ++b) {
            PicturePtr p =
                distinct ? Icon(g * kButtons + b) : pool[static_cast<std::size_t>(b - 1)];
            if (distinct) d.pictureBytes += static_cast<std::int64_t>(p->Source()->size());
            buttons.Add("Button " + std::to_string(b), std::move(p),
                        "Tip " + std::to_string(g) + "-" + std::to_string(b));
        }
    }
    d.bar->SetLockRefresh(false);
    return d;
}

std::filesystem::path FileFor(bool distinct) {
    return std::filesystem::temp_directory_path() /
           (distinct ? "bench_design_distinct.zobar" : "bench_design_shared.zobar");
}

void Counters(benchmark::State& state, const Design& d, const std::filesystem::path& file) {
    const double size = static_cast<double>(std::filesystem::file_size(file));
    const double buttons = kGroups * kButtons;
    state.counters["file_MB"] = size / 1e6;
    state.counters["picture_MB"] = static_cast<double>(d.pictureBytes) / 1e6;
    // What each button costs beyond 1.5x the pictures' bytes (the target is 200 bytes).
    state.counters["B_per_button_over_1.5x"] =
        (size - 1.5 * static_cast<double>(d.pictureBytes)) / buttons;
}

void BM_D1_Save(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    const bool distinct = state.range(0) != 0;
    const Design d = Build(distinct);
    const auto file = FileFor(distinct);
    for (auto _ : state)
        SaveDesign(*d.bar, file);
    Counters(state, d, file);
}
BENCHMARK(BM_D1_Save)->ArgName("distinct")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_D2_Load(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    const bool distinct = state.range(0) != 0;
    const auto file = FileFor(distinct);
    {
        const Design d = Build(distinct);
        SaveDesign(*d.bar, file);
    }
    const bool cold = state.range(1) != 0;
    for (auto _ : state) {
        DefaultSite site(true);
        auto bar = LoadDesign(site, file, {0, 0, 0, 240, 600, nullptr});
        state.PauseTiming();
        bar.reset();
        // A program that opens one design meets fresh pages throughout; a loop that loads
        // again and again reuses the heap's pages unless they are handed back.
        if (cold) malloc_trim(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_D2_Load)
    ->ArgNames({"distinct", "cold"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

// The parts of D2: the file to a bag, and the bag to a control.
void BM_D2_Parse(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    const auto file = FileFor(false);
    {
        const Design d = Build(false);
        SaveDesign(*d.bar, file);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadDesignFile(file));
}
BENCHMARK(BM_D2_Parse)->Unit(benchmark::kMillisecond);

void BM_D3_WriteProperties(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    const Design d = Build(false);
    for (auto _ : state) {
        PropertyBag bag;
        d.bar->WriteProperties(bag);
        benchmark::DoNotOptimize(bag.Count());
    }
}
BENCHMARK(BM_D3_WriteProperties)->Unit(benchmark::kMillisecond);

void BM_D3_FormatDesign(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    const Design d = Build(false);
    PropertyBag bag;
    d.bar->WriteProperties(bag);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDesign(bag).size());
}
BENCHMARK(BM_D3_FormatDesign)->Unit(benchmark::kMillisecond);

void BM_D3_ReadProperties(benchmark::State& state) {
    plat::InitDisplay(plat::DisplayKind::Offscreen, 400, 700);
    PropertyBag bag;
    {
        const Design d = Build(false);
        d.bar->WriteProperties(bag);
    }
    for (auto _ : state) {
        DefaultSite site(true);
        auto bar = ZoButtonBar::Create(site, 0, 0, 0, 240, 600);
        bar->ReadProperties(bag);
        state.PauseTiming();
        bar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_D3_ReadProperties)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
