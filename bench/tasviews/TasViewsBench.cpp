// The task pages with 50,000 tasks over three years and 30 in the month
// shown: loading the month view (42 day lists filled, their id arrays and the
// month's) and the week view (seven lists), against ctd_GetByMonth /
// ctd_GetByWeek alone; and the list of all tasks opened and re-sorted, timed
// until the window is painted and idle, next to ctd_GetAllTasks alone
// (bench_qtlist times the plain Qt program and the bare sqlite3 read on the
// same file). The month and week pages should stay within 3x their query.
#include <benchmark/benchmark.h>

#include "bench/common/PageBench.h"
#include "shell/ViewMessages.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"

namespace {

using bench::Records;
constexpr int kRecords = bench::kTasks;
constexpr int kInMonth = bench::kTasksInJune2024;

SYSTEMTIME June2024(int nDay) {
    SYSTEMTIME st = {};
    st.wYear = 2024;
    st.wMonth = 6;
    st.wDay = (WORD)nDay;
    return st;
}

void BM_BareMonthQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        SYSTEMTIME st = June2024(1);
        const int n = tas.ctd_GetByMonth(&st);
        tas.ctd_FreeList();
        if (n != kInMonth) state.SkipWithError("query failed");
    }
}

void BM_MonthPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_Month);
    for (auto _ : state) {
        g_Tas_Month.m_stDate = June2024(1);
        g_Tas_Month.Load();
        if (g_Tas_Month.m_MonthIDs.m_nIDCount != kInMonth) state.SkipWithError("month not filled");
    }
}

void BM_BareWeekQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        SYSTEMTIME st = June2024(12);
        const int n = tas.ctd_GetByWeek(&st);
        tas.ctd_FreeList();
        if (n < 0) state.SkipWithError("query failed");
    }
}

void BM_WeekPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_Week);
    for (auto _ : state) {
        g_Tas_Week.m_stDate = June2024(12);
        g_Tas_Week.Load();
        if (g_Tas_Week.m_nLoadCount < 0) state.SkipWithError("week not filled");
    }
}

void BM_BareAllTasksQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        const int n = tas.ctd_GetAllTasks();
        tas.ctd_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_AllTasksPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_ListAll);
    for (auto _ : state) {
        SendMessageA(g_Tas_ListAll.m_hWnd, UM_OPENVIEW, 0, 0);
        bench::TurnToIdle();
        if (g_Tas_ListAll.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Tasks).pszOpen))
        state.SkipWithError("not the yardsticks' query");
}

// A click on a column: the list runs its one order again.
void BM_ReSortAllTasksPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_ListAll);
    SendMessageA(g_Tas_ListAll.m_hWnd, UM_OPENVIEW, 0, 0);
    bench::TurnToIdle();
    for (auto _ : state) {
        SendMessageA(g_Tas_ListAll.m_hWnd, UM_SORTLIST, 1, 0);
        bench::TurnToIdle();
        if (g_Tas_ListAll.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Tasks).pszSorted[0]))
        state.SkipWithError("not the yardsticks' query");
}

BENCHMARK(BM_BareMonthQuery)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareWeekQuery)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WeekPage)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareAllTasksQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AllTasksPage)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReSortAllTasksPage)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(Records::Tasks, kRecords);
        return f && bench::ConnectStore(f->Path()) &&
               bench::MakePages(
                   {{&g_Tas_Month, "Tas_Month"}, {&g_Tas_Week, "Tas_Week"}, {&g_Tas_ListAll, "Tas_ListAll"}});
    });
}
