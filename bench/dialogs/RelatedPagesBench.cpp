// The relation tab pages: an opportunity linked to 10,000 of 50,000 tasks.
// Switching the opportunity form to its 计划日志 tab (the page made, its
// query run, its list filled, the window painted and idle) next to the
// store's query alone (ctd_GetByOpportunity and freeing its nodes).
// Goal: the tab within 2x of the query.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "bench/common/PageBench.h"
#include "shell/ViewMessages.h"
#include "store/Tas_DetailClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"

namespace {

constexpr int kLinkedTasks = 10000;
ULONG g_ulOpp = 0;

// One opportunity and its links to the first kLinkedTasks tasks of the file.
bool LinkTasks(const std::string& path) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK;
    auto exec = [&](const std::string& sql) {
        ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    };
    exec("BEGIN");
    exec(
        "INSERT INTO opportunities(opp_subject, opp_create_date, opp_die_date, opp_recent_contact_date) "
        "VALUES('十万火急', '2024-01-10', '2024-06-30', '2024-02-01')");
    if (ok) g_ulOpp = (ULONG)sqlite3_last_insert_rowid(db);
    exec("INSERT INTO opportunities_tasks(opp_id, tas_id) SELECT " + std::to_string(g_ulOpp) +
         ", tas_id FROM tasks ORDER BY tas_id LIMIT " + std::to_string(kLinkedTasks));
    exec("COMMIT");
    sqlite3_close(db);
    return ok && g_ulOpp != 0;
}

int ListedTasks() {
    HWND hList = GetDlgItem(g_Opp_Detail.m_Tab.m_hPage, 10153);
    return hList ? (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) : -1;
}

void SelectTab(int nTab) {
    g_Opp_Detail.m_Tab.SetCurSel(nTab);
    g_Opp_Detail.m_Tab.OnSelChange();
}

void BM_BareLinkedTasks(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        const int n = tas.ctd_GetByOpportunity(g_ulOpp);
        tas.ctd_FreeList();
        if (n != kLinkedTasks) state.SkipWithError("query failed");
    }
}

void BM_TasksTab(benchmark::State& state) {
    bench::ShowOnly(&g_Opp_Detail);
    for (auto _ : state) {
        state.PauseTiming();
        SelectTab(1);
        bench::TurnToIdle();
        state.ResumeTiming();
        SelectTab(0);
        bench::TurnToIdle();
        if (ListedTasks() != kLinkedTasks) state.SkipWithError("list not filled");
    }
}

BENCHMARK(BM_BareLinkedTasks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TasksTab)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(bench::Records::Tasks, bench::kTasks);
        if (!f || !LinkTasks(f->Path()) || !bench::ConnectStore(f->Path())) return false;
        if (!bench::MakePages({{&g_Opp_Detail, "Opp_Detail"}})) return false;
        bench::ShowOnly(&g_Opp_Detail);
        SendMessageA(g_Opp_Detail.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)g_ulOpp);
        bench::TurnToIdle();
        return ListedTasks() == kLinkedTasks;
    });
}
