// Text drawing as the control uses it: a button caption of twelve characters drawn with
// DrawTextA, word breaks and an end ellipsis, into a memory bitmap; beside it the measuring
// call alone and the same caption without layout flags, to show where the time goes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/Gdi.h"
#include "platform/Text.h"

namespace {

using namespace zo::plat;

constexpr char kCaption[] = "Mail Folders";  // 12 characters, one word break

// A memory DC over a 32-bit bitmap with the 8-point default face selected.
struct TextSurface {
    TextSurface(int w, int h) {
        dc = CreateCompatibleDC(0);
        bitmap = CreateBitmap(w, h, 1, 32, nullptr);
        oldBitmap = SelectObject(dc, bitmap);
        const LOGFONTA lf = DefaultGuiLogFont();
        font = CreateFontIndirectA(&lf);
        oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    ~TextSurface() {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(font);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ oldBitmap;
    HFONT font;
    HGDIOBJ oldFont;
};

// The caption in a button's text box narrow enough to break after the first word and short
// enough that the second line needs the dots.
void BM_DrawTextCaptionWordBreakEllipsis(benchmark::State& state) {
    TextSurface s(120, 60);
    SIZE word{};
    GetTextExtentPoint32A(s.dc, "Folders", 7, &word);
    const RECT box{4, 4, 4 + word.cx - 2, 4 + 40};
    for (auto _ : state) {
        RECT r = box;
        benchmark::DoNotOptimize(
            DrawTextA(s.dc, kCaption, -1, &r, DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawTextCaptionWordBreakEllipsis)->Unit(benchmark::kMicrosecond);

// The same caption on one line with nothing to lay out.
void BM_DrawTextCaptionSingleLine(benchmark::State& state) {
    TextSurface s(120, 30);
    const RECT box{4, 4, 116, 26};
    for (auto _ : state) {
        RECT r = box;
        benchmark::DoNotOptimize(DrawTextA(s.dc, kCaption, -1, &r, DT_SINGLELINE | DT_NOPREFIX));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawTextCaptionSingleLine)->Unit(benchmark::kMicrosecond);

// Layout alone: DT_CALCRECT measures and breaks without touching pixels.
void BM_DrawTextCaptionCalcRect(benchmark::State& state) {
    TextSurface s(120, 60);
    SIZE word{};
    GetTextExtentPoint32A(s.dc, "Folders", 7, &word);
    const RECT box{4, 4, 4 + word.cx - 2, 4 + 40};
    for (auto _ : state) {
        RECT r = box;
        benchmark::DoNotOptimize(
            DrawTextA(s.dc, kCaption, -1, &r, DT_WORDBREAK | DT_END_ELLIPSIS | DT_CALCRECT));
    }
}
BENCHMARK(BM_DrawTextCaptionCalcRect)->Unit(benchmark::kMicrosecond);

void BM_GetTextExtentCaption(benchmark::State& state) {
    TextSurface s(1, 1);
    const int n = static_cast<int>(std::strlen(kCaption));
    for (auto _ : state) {
        SIZE sz;
        benchmark::DoNotOptimize(GetTextExtentPoint32A(s.dc, kCaption, n, &sz));
    }
}
BENCHMARK(BM_GetTextExtentCaption)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
