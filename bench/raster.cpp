// Raster primitives of the platform layer against the plain memory work they boil down to:
// a full-frame FillRect beside a plain 32-bit fill of the same size, a full-frame BitBlt
// copy, and the small colour-keyed copy the button pictures use.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/Gdi.h"

namespace {

using namespace zo::plat;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A memory DC with a 32-bit bitmap selected, cleaned up on scope exit.
struct Surface {
    Surface(int w, int h) {
        dc = CreateCompatibleDC(0);
        bitmap = CreateBitmap(w, h, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void SetBytes(benchmark::State& state, int w, int h) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * w * h * 4);
}

void BM_FillRectFullFrame(benchmark::State& state) {
    Surface s(kWidth, kHeight);
    HBRUSH brushes[2] = {CreateSolidBrush(RGB(212, 208, 200)), CreateSolidBrush(RGB(10, 36, 106))};
    const RECT r{0, 0, kWidth, kHeight};
    int i = 0;
    for (auto _ : state) {
        FillRect(s.dc, &r, brushes[i++ & 1]);
        benchmark::ClobberMemory();
    }
    SetBytes(state, kWidth, kHeight);
    DeleteObject(brushes[0]);
    DeleteObject(brushes[1]);
}
BENCHMARK(BM_FillRectFullFrame)->Unit(benchmark::kMicrosecond);

// The reference: the same number of 32-bit stores in a loop the compiler vectorises.
void BM_PlainFillFullFrame(benchmark::State& state) {
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(kWidth) * kHeight);
    const std::uint32_t values[2] = {0xFFD4D0C8u, 0xFF0A246Au};
    int i = 0;
    for (auto _ : state) {
        const std::uint32_t v = values[i++ & 1];
        std::uint32_t* p = buffer.data();
        for (std::size_t k = 0, n = buffer.size(); k < n; ++k)
            p[k] = v;
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, kWidth, kHeight);
}
BENCHMARK(BM_PlainFillFullFrame)->Unit(benchmark::kMicrosecond);

void BM_BitBltCopyFullFrame(benchmark::State& state) {
    Surface src(kWidth, kHeight), dst(kWidth, kHeight);
    const RECT r{0, 0, kWidth, kHeight};
    FillRect(src.dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    SetBytes(state, kWidth, kHeight);
}
BENCHMARK(BM_BitBltCopyFullFrame)->Unit(benchmark::kMicrosecond);

void BM_TransparentBlt32(benchmark::State& state) {
    Surface src(32, 32), dst(64, 64);
    const RECT all{0, 0, 32, 32};
    FillRect(src.dc, &all, GetSysColorBrush(COLOR_HIGHLIGHT));
    // A picture on a magenta background, as button bitmaps are drawn.
    const RECT frame[2] = {RECT{0, 0, 32, 8}, RECT{0, 24, 32, 32}};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    for (const RECT& f : frame)
        FillRect(src.dc, &f, magenta);
    for (auto _ : state) {
        TransparentBlt(dst.dc, 16, 16, 32, 32, src.dc, 0, 0, 32, 32, RGB(255, 0, 255));
        benchmark::ClobberMemory();
    }
    SetBytes(state, 32, 32);
    DeleteObject(magenta);
}
BENCHMARK(BM_TransparentBlt32);

void BM_GradientFillFullFrame(benchmark::State& state) {
    Surface s(kWidth, kHeight);
    TRIVERTEX v[2];
    v[0].Red = 0x0A00;
    v[0].Green = 0x2400;
    v[0].Blue = 0x6A00;
    v[1].x = kWidth;
    v[1].y = kHeight;
    v[1].Red = 0xA600;
    v[1].Green = 0xCA00;
    v[1].Blue = 0xF000;
    GRADIENT_RECT r{0, 1};
    for (auto _ : state) {
        GradientFill(s.dc, v, 2, &r, 1, state.range(0));
        benchmark::ClobberMemory();
    }
    SetBytes(state, kWidth, kHeight);
}
BENCHMARK(BM_GradientFillFullFrame)
    ->Arg(GRADIENT_FILL_RECT_H)
    ->Arg(GRADIENT_FILL_RECT_V)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
