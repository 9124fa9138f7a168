// The item model's share of the scale workload: 1,000 groups x 100 buttons built through
// the collections, with the memory the model holds per button.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <string>

#include "ZoBtnBar.h"

namespace {

class QuietOwner : public zo::ItemOwner {
public:
    std::string_view TypeName() const override { return "QuietOwner"; }
};

struct Model {
    std::shared_ptr<QuietOwner> owner = std::make_shared<QuietOwner>();
    std::shared_ptr<zo::CGroups> groups = std::make_shared<zo::CGroups>();
};

std::unique_ptr<Model> Build(int groupCount, int buttonCount, const zo::PicturePtr& picture) {
    auto m = std::make_unique<Model>();
    m->groups->init(m->owner);
    for (int g = 1; g <= groupCount; ++g) {
        auto group = m->groups->Add("Group " + std::to_string(g));
        auto& buttons = *group->Buttons();
        for (int b = 1; b <= buttonCount; ++b)
            buttons.Add("Item " + std::to_string(g) + "-" + std::to_string(b), picture);
    }
    return m;
}

void BM_ModelBuild_1000x100(benchmark::State& state) {
    auto picture = zo::Picture::FromPixels(zo::PictureType::Icon, 0, 32, 32);
    double bytesPerButton = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto m = Build(1000, 100, picture);
        // The buttons' own blocks past 2 MiB are mapped outside the heap.
        const std::size_t after = mallinfo2().uordblks + m->owner->ItemMemory()->MappedBytes();
        bytesPerButton = static_cast<double>(after - before) / 100000.0;
        benchmark::DoNotOptimize(m.get());
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_button"] = bytesPerButton;
}
BENCHMARK(BM_ModelBuild_1000x100)->Unit(benchmark::kMillisecond);

void BM_ItemByKey(benchmark::State& state) {
    auto picture = zo::Picture::FromPixels(zo::PictureType::Icon, 0, 32, 32);
    auto m = Build(1000, 1, picture);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(m->groups->Item("internal_" + std::to_string(1 + (i++ % 1000))));
    }
}
BENCHMARK(BM_ItemByKey);

}  // namespace

BENCHMARK_MAIN();
