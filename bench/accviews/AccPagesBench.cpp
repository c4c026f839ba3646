// The account pages with 100,000 accounts in the database: opening and
// re-sorting the list of all accounts, and opening each statistics page and
// listing its first category, each timed until the window is painted and
// idle, turn about with the plain Qt program and a plain sqlite3 read of the
// same statements in this process.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/common/PageBench.h"
#include "shell/ViewMessages.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

namespace {

using bench::Records;
constexpr int kRecords = bench::kAccounts;

// One statistics page.
struct StatCase {
    const char* pszName;
    Acc_CategoryStatClass* pPage;
    const char* pszClass;
};

const StatCase kStats[] = {
    {"Important", &g_Acc_ImportantStat, "Acc_ImportantStat"},
    {"Relation", &g_Acc_RelationStat, "Acc_RelationStat"},
    {"Type", &g_Acc_TypeStat, "Acc_TypeStat"},
    {"Industry", &g_Acc_IndustryStat, "Acc_IndustryStat"},
    {"Province", &g_Acc_ProvinceStat, "Acc_ProvinceStat"},
    {"Opportunities", &g_Acc_OpportunitiesStat, "Acc_OpportunitiesStat"},
};

bool MakePages() {
    if (!bench::MakePages({{&g_Acc_Homepage, "Acc_Homepage"},
                           {kStats[0].pPage, kStats[0].pszClass},
                           {kStats[1].pPage, kStats[1].pszClass},
                           {kStats[2].pPage, kStats[2].pszClass},
                           {kStats[3].pPage, kStats[3].pszClass},
                           {kStats[4].pPage, kStats[4].pszClass},
                           {kStats[5].pPage, kStats[5].pszClass}}))
        return false;
    return true;
}

// The list page opened (or re-sorted), to idle, with every account listed.
bool Opened(UINT uMsg, WPARAM wParam) {
    SendMessageA(g_Acc_Homepage.m_hWnd, uMsg, wParam, 0);
    bench::TurnToIdle();
    return g_Acc_Homepage.m_nIDCount == kRecords;
}

void BM_OpenListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Acc_Homepage);
    bench::RaceYardsticks(state, [] { return Opened(UM_OPENVIEW, 0); });
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Accounts).pszOpen))
        state.SkipWithError("not the query the page opens with");
}

// A click on the name's column: the list sorted the other way each time.
void BM_ReSortListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Acc_Homepage);
    Opened(UM_OPENVIEW, 0);
    bench::RaceYardsticks(state, [] { return Opened(UM_SORTLIST, 1); });
    const bench::ListQueries& q = bench::QueriesOf(Records::Accounts);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the sorted query");
}

// Opening the page (count and category list) and a click on category 0,
// the bottom row of the category list, to idle.
void BM_OpenStat(benchmark::State& state, const StatCase* c) {
    Acc_CategoryStatClass& page = *c->pPage;
    bench::ShowOnly(&page);
    bench::RaceYardsticks(state, [&page] {
        SendMessageA(page.m_hWnd, page.Row().uOpenMessage, 0, 0);
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = page.m_CategoryList.m_hListView;
        click.hdr.idFrom = (UINT_PTR)page.Row().nCategoryListID;
        click.hdr.code = NM_CLICK;
        click.iItem = page.CategoryCount() - 1;
        SendMessageA(page.m_hWnd, WM_NOTIFY, (WPARAM)page.Row().nCategoryListID, (LPARAM)&click);
        bench::TurnToIdle();
        return page.m_nIDCount > 0;
    });
}

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(Records::Accounts, kRecords);
        if (!f || !bench::ConnectStore(f->Path()) || !MakePages()) return false;
        auto reg = [](const std::string& name, auto fn, auto... args) {
            benchmark::RegisterBenchmark(name.c_str(), fn, args...)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(5);
        };
        reg("BM_OpenListPage", BM_OpenListPage);
        reg("BM_ReSortListPage", BM_ReSortListPage);
        for (const StatCase& c : kStats) reg(std::string("BM_OpenStat/") + c.pszName, BM_OpenStat, &c);
        return true;
    });
}
