// The task pages with 50,000 tasks over three years, 4,500 of them in the
// busy month shown (about 150 a day): loading the month view (42 day lists
// filled, their id arrays and the month's) and the week view (seven lists),
// and the list of all tasks opened and re-sorted, each timed until the window
// is painted and idle, turn about with the plain Qt program and a plain
// sqlite3 read of the same statement in this process.
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

void BM_MonthPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_Month);
    bench::RaceYardsticks(state, [] {
        g_Tas_Month.m_stDate = June2024(1);
        g_Tas_Month.Load();
        bench::TurnToIdle();
        return g_Tas_Month.m_MonthIDs.m_nIDCount == kInMonth;
    });
}

void BM_WeekPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_Week);
    bench::RaceYardsticks(state, [] {
        g_Tas_Week.m_stDate = June2024(12);
        g_Tas_Week.Load();
        bench::TurnToIdle();
        return g_Tas_Week.m_nLoadCount > 0;
    });
}

// The list of all tasks opened (or re-sorted), to idle, every task listed.
bool Listed(UINT uMsg, WPARAM wParam) {
    SendMessageA(g_Tas_ListAll.m_hWnd, uMsg, wParam, 0);
    bench::TurnToIdle();
    return g_Tas_ListAll.m_nIDCount == kRecords;
}

void BM_AllTasksPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_ListAll);
    bench::RaceYardsticks(state, [] { return Listed(UM_OPENVIEW, 0); });
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Tasks).pszOpen))
        state.SkipWithError("not the query the page opens with");
}

// A click on a column: the list runs its one order again.
void BM_ReSortAllTasksPage(benchmark::State& state) {
    bench::ShowOnly(&g_Tas_ListAll);
    Listed(UM_OPENVIEW, 0);
    bench::RaceYardsticks(state, [] { return Listed(UM_SORTLIST, 1); });
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Tasks).pszSorted[0]))
        state.SkipWithError("not the sorted query");
}

BENCHMARK(BM_MonthPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_WeekPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_AllTasksPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReSortAllTasksPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(Records::Tasks, kRecords);
        return f && bench::ConnectStore(f->Path()) &&
               bench::MakePages(
                   {{&g_Tas_Month, "Tas_Month"}, {&g_Tas_Week, "Tas_Week"}, {&g_Tas_ListAll, "Tas_ListAll"}});
    });
}
