// The contact pages with 100,000 contacts, each working for one of 20,000
// accounts: opening the all-contacts list and re-sorting it, a
// two-character Chinese keyword search, and opening each statistics page
// (0 important, 1 relation, 2 industry, 3 province, 4 opportunities) and
// listing its largest category, each timed until the window is painted and
// idle, turn about with the plain Qt program and a plain sqlite3 read of the
// same statements in this process.
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

// The list page opened (or re-sorted), to idle, with `rows` contacts listed.
bool Listed(UINT uMsg, WPARAM wParam, int rows) {
    SendMessageA(g_Con_Homepage.m_hWnd, uMsg, wParam, 0);
    bench::TurnToIdle();
    return g_Con_Homepage.m_nIDCount == rows;
}

void BM_OpenListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    bench::RaceYardsticks(state, [] { return Listed(UM_OPENVIEW, 0, kContacts); });
    if (!bench::LastStatementIs(bench::QueriesOf(Records::Contacts).pszOpen))
        state.SkipWithError("not the query the page opens with");
}

// A click on 姓名: the list sorted the other way each time.
void BM_ReSortListPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    Listed(UM_OPENVIEW, 0, kContacts);
    bench::RaceYardsticks(state, [] { return Listed(UM_SORTLIST, 1, kContacts); });
    const bench::ListQueries& q = bench::QueriesOf(Records::Contacts);
    if (!bench::LastStatementIs(q.pszSorted[0]) && !bench::LastStatementIs(q.pszSorted[1]))
        state.SkipWithError("not the sorted query");
}

void BM_KeywordSearchPage(benchmark::State& state) {
    bench::ShowOnly(&g_Con_Homepage);
    bench::RaceYardsticks(state, [] {
        snprintf(g_Con_Homepage.m_szKeyword, sizeof(g_Con_Homepage.m_szKeyword), "%s", g_strKeyword.c_str());
        return Listed(UM_KEYWORDSEARCH, 0, g_nKeywordMatches);
    });
}

// --- the statistics pages: open (count) and list the largest category -------

// The index of the page's category with the most contacts (the page open).
int LargestCategory(Con_CategoryStatClass& page) {
    int nBest = 0;
    for (int i = 1; i < page.CategoryCount(); i++)
        if (page.m_Contact.m_iCount[i] > page.m_Contact.m_iCount[nBest]) nBest = i;
    return nBest;
}

void BM_StatisticsPage(benchmark::State& state) {
    Con_CategoryStatClass& page = *kStatPages[(int)state.range(0)];
    bench::ShowOnly(&page);
    SendMessageA(page.m_hWnd, page.PageDef().uOpenMessage, 0, 0);
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = page.m_CategoryList.m_hListView;
    nm.hdr.code = NM_CLICK;
    nm.iItem = page.CategoryCount() - 1 - LargestCategory(page);
    bench::RaceYardsticks(state, [&] {
        SendMessageA(page.m_hWnd, page.PageDef().uOpenMessage, 0, 0);
        SendMessageA(page.m_hWnd, WM_NOTIFY, 0, (LPARAM)&nm);
        bench::TurnToIdle();
        return page.m_nIDCount > 0;
    });
}

BENCHMARK(BM_OpenListPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReSortListPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_KeywordSearchPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StatisticsPage)->DenseRange(0, 4)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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
