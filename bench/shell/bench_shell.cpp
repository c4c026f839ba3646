// Costs that every view message and every page opening pay: finding the view
// of a window among the 37 (the last one is the worst case), and cutting and
// appending history entries.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "shell/BaseDialogClass.h"
#include "shell/HistoryClass.h"

namespace {

BaseDialogClass g_Views[37];
BaseDialogClass* g_pTable[37];

void SetUpViews() {
    for (int i = 0; i < 37; ++i) {
        g_Views[i].m_hWnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000 + 16 * i));
        g_pTable[i] = &g_Views[i];
    }
    BaseDialogClass::SetViewTable(g_pTable, 37);
}

void BM_HwndToDialog_LastView(benchmark::State& state) {
    SetUpViews();
    HWND h = g_Views[36].m_hWnd;
    for (auto _ : state) benchmark::DoNotOptimize(BaseDialogClass::HwndToDialog(h));
}
BENCHMARK(BM_HwndToDialog_LastView);

void BM_HwndToDialog_NoView(benchmark::State& state) {
    SetUpViews();
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x9999));
    for (auto _ : state) benchmark::DoNotOptimize(BaseDialogClass::HwndToDialog(h));
}
BENCHMARK(BM_HwndToDialog_NoView);

// A user going back N pages and opening another one.
void BM_HistoryBackAndOpen(benchmark::State& state) {
    HistoryClass h;
    h.AllocHead();
    for (int i = 0; i < state.range(0); ++i) h.OpenEntry(&g_Views[i % 37]);
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) h.Back();
        h.OpenEntry(&g_Views[1]);
        h.SetKeyword("关键字");
        for (int i = 0; i < 4; ++i) h.OpenEntry(&g_Views[2]);
    }
}
BENCHMARK(BM_HistoryBackAndOpen)->Arg(10)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
