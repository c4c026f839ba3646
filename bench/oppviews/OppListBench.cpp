// The list of all opportunities: opened with 1,000 to 100,000 opportunities
// in the database (1,000,000 with --million) and re-sorted by the subject at
// 100,000, each timed until the window is painted and idle (query, node
// list, list fill, model reset, layout, paint); next to them the store's own
// query alone. bench_qtlist times the yardsticks on the same files: a plain
// Qt program and a bare sqlite3 read.
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

void BM_BareQuery(benchmark::State& state) {
    if (!UseFile(state, bench::kOpportunities)) return;
    Opp_DetailClass opp;
    for (auto _ : state) {
        opp.m_iQueryMode = 0;
        const int n = opp.cod_InitDetail();
        opp.cod_FreeList();
        if (n != bench::kOpportunities) state.SkipWithError("query failed");
    }
}

void BM_BareSortedQuery(benchmark::State& state) {
    if (!UseFile(state, bench::kOpportunities)) return;
    Opp_DetailClass opp;
    for (auto _ : state) {
        opp.m_iSortColumn = 0;
        opp.m_bDesc = !opp.m_bDesc;
        opp.m_iQueryMode = 2;
        const int n = opp.cod_InitDetail();
        opp.cod_FreeList();
        if (n != bench::kOpportunities) state.SkipWithError("query failed");
    }
}

void BM_OpenListPage(benchmark::State& state) {
    const int rows = (int)state.range(0);
    if (!UseFile(state, rows)) return;
    for (auto _ : state) {
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        bench::TurnToIdle();
        if (g_Opp_Homepage.m_nIDCount != rows) state.SkipWithError("list not filled");
    }
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Opportunities).pszOpen))
        state.SkipWithError("not the yardsticks' query");
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReSortListPage(benchmark::State& state) {
    if (!UseFile(state, bench::kOpportunities)) return;
    SendMessageA(g_Opp_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    bench::TurnToIdle();
    for (auto _ : state) {
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_SORTLIST, 1, 0);
        bench::TurnToIdle();
        if (g_Opp_Homepage.m_nIDCount != bench::kOpportunities) state.SkipWithError("list not filled");
    }
    const bench::ListQueries& q = bench::QueriesOf(Records::Opportunities);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the yardsticks' query");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> sizes = bench::SeriesSizes(argc, argv);
    return bench::RunPageBenchmarks(argc, argv, [&] {
        if (!bench::MakePages({{&g_Opp_Homepage, "Opp_Homepage"}})) return false;
        benchmark::RegisterBenchmark("BM_BareQuery", BM_BareQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
        benchmark::RegisterBenchmark("BM_BareSortedQuery", BM_BareSortedQuery)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        auto* open = benchmark::RegisterBenchmark("BM_OpenListPage", BM_OpenListPage)
                         ->ArgName("rows")
                         ->Unit(benchmark::kMillisecond);
        for (int n : sizes) open->Arg(n);
        open->Iterations(5);
        benchmark::RegisterBenchmark("BM_ReSortListPage", BM_ReSortListPage)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        return true;
    });
}
