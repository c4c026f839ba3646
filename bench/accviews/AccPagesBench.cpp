// The account pages with 100,000 accounts in the database: opening and
// re-sorting the list of all accounts, timed until the window is painted and
// idle, next to cad_GetAllAccounts alone (bench_qtlist times the plain Qt
// program and the bare sqlite3 read on the same file); and opening each
// statistics page and listing its first category, against the bare count
// and list queries. Each statistics page should stay within 2x of them.
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

// One statistics page and its bare queries.
struct StatCase {
    const char* pszName;
    Acc_CategoryStatClass* pPage;
    const char* pszClass;
    int (Acc_DetailClass::*pfnCount)();
    int (Acc_DetailClass::*pfnList)(const char*);
    const char* (*pfnFirst)(const Acc_DetailClass&);  // the name of category 0 after the count
};

const char* FirstImportant(const Acc_DetailClass& a) { return a.m_szImportant[0]; }
const char* FirstRelation(const Acc_DetailClass& a) { return a.m_szRelation[0]; }
const char* FirstType(const Acc_DetailClass& a) { return a.m_szType[0]; }
const char* FirstIndustry(const Acc_DetailClass& a) { return a.m_szIndustry[0]; }
const char* FirstProvince(const Acc_DetailClass& a) { return a.m_szProvince[0]; }

const StatCase kStats[] = {
    {"Important", &g_Acc_ImportantStat, "Acc_ImportantStat", &Acc_DetailClass::cad_CountByImportant,
     &Acc_DetailClass::cad_GetByImportant, FirstImportant},
    {"Relation", &g_Acc_RelationStat, "Acc_RelationStat", &Acc_DetailClass::cad_CountByRelation,
     &Acc_DetailClass::cad_GetByRelation, FirstRelation},
    {"Type", &g_Acc_TypeStat, "Acc_TypeStat", &Acc_DetailClass::cad_CountByType, &Acc_DetailClass::cad_GetByType,
     FirstType},
    {"Industry", &g_Acc_IndustryStat, "Acc_IndustryStat", &Acc_DetailClass::cad_CountByIndustry,
     &Acc_DetailClass::cad_GetByIndustry, FirstIndustry},
    {"Province", &g_Acc_ProvinceStat, "Acc_ProvinceStat", &Acc_DetailClass::cad_CountByProvince,
     &Acc_DetailClass::cad_GetByProvince, FirstProvince},
    {"Opportunities", &g_Acc_OpportunitiesStat, "Acc_OpportunitiesStat", &Acc_DetailClass::cad_CountByOpportunities,
     nullptr, nullptr},
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

void BM_BareAllAccounts(benchmark::State& state) {
    Acc_DetailClass acc;
    for (auto _ : state) {
        acc.m_iQueryMode = 0;
        const int n = acc.cad_GetAllAccounts();
        acc.cad_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_BareSortedAllAccounts(benchmark::State& state) {
    Acc_DetailClass acc;
    for (auto _ : state) {
        acc.m_iSortColumn = 0;
        acc.m_bDesc = !acc.m_bDesc;
        acc.m_iQueryMode = 2;
        const int n = acc.cad_GetAllAccounts();
        acc.cad_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_OpenListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Acc_Homepage);
    for (auto _ : state) {
        SendMessageA(g_Acc_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        bench::TurnToIdle();
        if (g_Acc_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Accounts).pszOpen))
        state.SkipWithError("not the yardsticks' query");
}

void BM_ReSortListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Acc_Homepage);
    SendMessageA(g_Acc_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    bench::TurnToIdle();
    for (auto _ : state) {
        SendMessageA(g_Acc_Homepage.m_hWnd, UM_SORTLIST, 1, 0);
        bench::TurnToIdle();
        if (g_Acc_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
    const bench::ListQueries& q = bench::QueriesOf(Records::Accounts);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the yardsticks' query");
}

// The bare count per category plus the listing of category 0.
void BM_BareStat(benchmark::State& state, const StatCase* c) {
    Acc_DetailClass acc;
    for (auto _ : state) {
        if ((acc.*c->pfnCount)() == -1) state.SkipWithError("count failed");
        const int n = c->pfnList ? (acc.*c->pfnList)(c->pfnFirst(acc)) : acc.cad_GetByOpportunities(0);
        acc.cad_FreeList();
        if (n <= 0) state.SkipWithError("list failed");
    }
}

// Opening the page (count and category list) and a click on category 0,
// the bottom row of the category list.
void BM_OpenStat(benchmark::State& state, const StatCase* c) {
    Acc_CategoryStatClass& page = *c->pPage;
    bench::ShowOnly(&page);
    for (auto _ : state) {
        SendMessageA(page.m_hWnd, page.Row().uOpenMessage, 0, 0);
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = page.m_CategoryList.m_hListView;
        click.hdr.idFrom = (UINT_PTR)page.Row().nCategoryListID;
        click.hdr.code = NM_CLICK;
        click.iItem = page.CategoryCount() - 1;
        SendMessageA(page.m_hWnd, WM_NOTIFY, (WPARAM)page.Row().nCategoryListID, (LPARAM)&click);
        if (page.m_nIDCount <= 0) state.SkipWithError("category not listed");
    }
}

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(Records::Accounts, kRecords);
        if (!f || !bench::ConnectStore(f->Path()) || !MakePages()) return false;
        auto reg = [](const std::string& name, auto fn, auto... args) {
            benchmark::RegisterBenchmark(name.c_str(), fn, args...)->Unit(benchmark::kMillisecond)->Iterations(3);
        };
        reg("BM_BareAllAccounts", BM_BareAllAccounts);
        reg("BM_OpenListPage", BM_OpenListPage);
        reg("BM_BareSortedAllAccounts", BM_BareSortedAllAccounts);
        reg("BM_ReSortListPage", BM_ReSortListPage);
        for (const StatCase& c : kStats) {
            reg(std::string("BM_BareStat/") + c.pszName, BM_BareStat, &c);
            reg(std::string("BM_OpenStat/") + c.pszName, BM_OpenStat, &c);
        }
        return true;
    });
}
