// The list of all opportunities: opened with 1,000 to 100,000 opportunities
// in the database (1,000,000 with --million) and re-sorted by the subject at
// 100,000, each timed until the window is painted and idle (query, node
// list, list fill, model reset, layout, paint), turn about with the plain Qt
// program and a plain sqlite3 read of the same statement in this process.
#include <benchmark/benchmark.h>

#include "bench/common/Args.h"
#include "bench/common/PageBench.h"
#include "shell/ViewMessages.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"

namespace {

using bench::Records;

// Connects the store to the file of `rows` opportunities.
bool UseFile(benchmark::State& state, int rows) {
    const bench::SeededFile* f = bench::FileOf(Records::Opportunities, rows);
    if (f && bench::ConnectStore(f->Path())) return true;
    state.SkipWithError("cannot make the file");
    return false;
}

// The page's list opened (or re-sorted), to idle, with all `rows` listed.
bool Opened(UINT uMsg, WPARAM wParam, int rows) {
    SendMessageA(g_Opp_Homepage.m_hWnd, uMsg, wParam, 0);
    bench::TurnToIdle();
    return g_Opp_Homepage.m_nIDCount == rows;
}

void BM_OpenListPage(benchmark::State& state) {
    const int rows = (int)state.range(0);
    if (!UseFile(state, rows)) return;
    bench::RaceYardsticks(state, [rows] { return Opened(UM_OPENVIEW, 0, rows); });
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Opportunities).pszOpen))
        state.SkipWithError("not the query the page opens with");
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A click on the subject's column: the list sorted the other way each time.
void BM_ReSortListPage(benchmark::State& state) {
    if (!UseFile(state, bench::kOpportunities)) return;
    Opened(UM_OPENVIEW, 0, bench::kOpportunities);
    bench::RaceYardsticks(state, [] { return Opened(UM_SORTLIST, 1, bench::kOpportunities); });
    const bench::ListQueries& q = bench::QueriesOf(Records::Opportunities);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the sorted query");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = bench::SeriesSizes(argc, argv);
    return bench::RunPageBenchmarks(argc, argv, [&] {
        if (!bench::MakePages({{&g_Opp_Homepage, "Opp_Homepage"}})) return false;
        auto* open = benchmark::RegisterBenchmark("BM_OpenListPage", BM_OpenListPage)
                         ->ArgName("rows")
                         ->UseManualTime()
                         ->Unit(benchmark::kMillisecond);
        for (int n : sizes) open->Arg(n);
        open->Iterations(5);
        benchmark::RegisterBenchmark("BM_ReSortListPage", BM_ReSortListPage)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        return true;
    });
}
