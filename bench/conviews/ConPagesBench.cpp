// The contact pages with 100,000 contacts, each working for one of 20,000
// accounts: opening the all-contacts list and re-sorting it, timed until the
// window is painted and idle, next to the store's query alone (bench_qtlist
// times the plain Qt program and the bare sqlite3 read on the same file); a
// two-character Chinese keyword search; and opening each statistics page and
// listing one of its categories (the largest), each against the bare store
// queries the page runs (query and freeing its nodes) on the same data.
// Goal: each search and statistics page within 2x.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/common/PageBench.h"
#include "platform/gbk/gbk.h"
#include "shell/ViewMessages.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"

namespace {

using bench::Records;
constexpr int kContacts = bench::kContacts;
// The keyword: a surname and given name (GBK) and the contacts holding it.
std::string g_strKeyword;
int g_nKeywordMatches = 0;

Con_CategoryStatClass* const kStatPages[] = {&g_Con_Important, &g_Con_Relation, &g_Con_Industry, &g_Con_Province,
                                             &g_Con_Opportunities};
const char* const kStatClasses[] = {"Con_Important", "Con_Relation", "Con_Industry", "Con_Province",
                                    "Con_Opportunities"};

bool MakePages() {
    return bench::MakePages({{&g_Con_Homepage, "Con_Homepage"},
                             {kStatPages[0], kStatClasses[0]},
                             {kStatPages[1], kStatClasses[1]},
                             {kStatPages[2], kStatClasses[2]},
                             {kStatPages[3], kStatClasses[3]},
                             {kStatPages[4], kStatClasses[4]}});
}

// --- the all-contacts list ---------------------------------------------------

void BM_BareAllContacts(benchmark::State& state) {
    Con_DetailClass con;
    for (auto _ : state) {
        con.m_iQueryMode = 0;
        const int n = con.ccd_GetAllContacts();
        con.ccd_FreeList();
        if (n != kContacts) state.SkipWithError("query failed");
    }
}

void BM_OpenListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    for (auto _ : state) {
        SendMessageA(g_Con_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        bench::TurnToIdle();
        if (g_Con_Homepage.m_nIDCount != kContacts) state.SkipWithError("list not filled");
    }
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Contacts).pszOpen))
        state.SkipWithError("not the yardsticks' query");
}

void BM_BareSortedContacts(benchmark::State& state) {
    Con_DetailClass con;
    for (auto _ : state) {
        con.m_iSortColumn = 0;
        con.m_bDesc = !con.m_bDesc;
        con.m_iQueryMode = 2;
        const int n = con.ccd_GetAllContacts();
        con.ccd_FreeList();
        if (n != kContacts) state.SkipWithError("query failed");
    }
}

void BM_ReSortListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    SendMessageA(g_Con_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    bench::TurnToIdle();
    for (auto _ : state) {
        SendMessageA(g_Con_Homepage.m_hWnd, UM_SORTLIST, 1, 0);  // 姓名, the other way each time
        bench::TurnToIdle();
        if (g_Con_Homepage.m_nIDCount != kContacts) state.SkipWithError("list not filled");
    }
    const bench::ListQueries& q = bench::QueriesOf(Records::Contacts);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the yardsticks' query");
}

void BM_BareKeyword(benchmark::State& state) { bench::BareContactKeyword(state, g_strKeyword, g_nKeywordMatches); }

void BM_KeywordSearchPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    for (auto _ : state) {
        snprintf(g_Con_Homepage.m_szKeyword, sizeof(g_Con_Homepage.m_szKeyword), "%s", g_strKeyword.c_str());
        SendMessageA(g_Con_Homepage.m_hWnd, UM_KEYWORDSEARCH, 0, 0);
        if (g_Con_Homepage.m_nIDCount != g_nKeywordMatches) state.SkipWithError("list not filled");
    }
}

// --- the statistics pages: open (count) and list the largest category -------

// The index of the page's category with the most contacts (the page open).
int LargestCategory(Con_CategoryStatClass& page) {
    int nBest = 0;
    for (int i = 1; i < page.CategoryCount(); i++)
        if (page.m_Contact.m_iCount[i] > page.m_Contact.m_iCount[nBest]) nBest = i;
    return nBest;
}

int BareCount(Con_DetailClass& con, int nPage) {
    switch (nPage) {
    case 0: return con.ccd_CountByImportant();
    case 1: return con.ccd_CountByRelation();
    case 2: return con.ccd_CountByIndustry();
    case 3: return con.ccd_CountByProvince();
    default: return con.ccd_CountByOpportunities();
    }
}

void BM_BareStatistics(benchmark::State& state) {
    const int nPage = (int)state.range(0);
    Con_CategoryStatClass& page = *kStatPages[nPage];
    SendMessageA(page.m_hWnd, page.PageDef().uOpenMessage, 0, 0);
    const int nCategory = LargestCategory(page);
    Con_DetailClass con;
    for (auto _ : state) {
        con.ccd_FreeList();
        if (BareCount(con, nPage) != 0) state.SkipWithError("count failed");
        if (page.QueryCategoryInto(con, nCategory) < 0) state.SkipWithError("query failed");
        con.ccd_FreeList();
    }
    state.SetLabel(kStatClasses[nPage]);
}

void BM_StatisticsPage(benchmark::State& state) {
    Con_CategoryStatClass& page = *kStatPages[(int)state.range(0)];
    bench::ShowOnly(&page);
    SendMessageA(page.m_hWnd, page.PageDef().uOpenMessage, 0, 0);
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = page.m_CategoryList.m_hListView;
    nm.hdr.code = NM_CLICK;
    nm.iItem = page.CategoryCount() - 1 - LargestCategory(page);
    for (auto _ : state) {
        SendMessageA(page.m_hWnd, page.PageDef().uOpenMessage, 0, 0);
        SendMessageA(page.m_hWnd, WM_NOTIFY, 0, (LPARAM)&nm);
        if (page.m_nIDCount <= 0) state.SkipWithError("list not filled");
    }
    state.SetLabel(kStatClasses[(int)state.range(0)]);
}

BENCHMARK(BM_BareAllContacts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenListPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareSortedContacts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReSortListPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareKeyword)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeywordSearchPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareStatistics)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StatisticsPage)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] {
        const bench::SeededFile* f = bench::FileOf(Records::Contacts, kContacts);
        if (!f || !bench::ConnectStore(f->Path()) || !MakePages()) return false;
        g_strKeyword = gbk::FromUtf8("张伟");
        g_nKeywordMatches = (int)f->Scalar("SELECT COUNT(*) FROM contacts WHERE con_name LIKE '%张伟%'");
        return g_nKeywordMatches > 0;
    });
}
