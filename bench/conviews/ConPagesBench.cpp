// The contact pages with 100,000 contacts, each linked to one of 20,000
// accounts: opening the all-contacts list and re-sorting it, a two-character
// Chinese keyword search, and opening each statistics page and listing one
// of its categories (the largest), each against the bare store queries the page runs
// (query and freeing its nodes) on the same data. Goal: each page within 2x.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QtWidgets/QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include "platform/gbk/gbk.h"
#include "shell/ViewMessages.h"
#include "store/ODBCClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"

namespace {

constexpr int kContacts = 100000;
constexpr int kAccounts = 20000;
std::string g_strFolder;
// The keyword: the surname and given name of one contact in 20 (GBK).
std::string g_strKeyword;
int g_nKeywordMatches = 0;

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静"};
const char* const kImportant[] = {"高", "中", "低"};
const char* const kRelation[] = {"客户", "潜在客户", "合作伙伴", "供应商", "竞争对手", "其他"};
const char* const kProvince[] = {"北京", "上海", "广东", "江苏", "浙江", "四川", "湖北", "山东"};
const char* const kIndustry[] = {"金融", "电信", "能源", "制造业", "教育", "软件"};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Fills a fresh copy of the database (plain SQLite, one transaction) and
// connects g_ODBC to it.
bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-conbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    Exec(db, "BEGIN");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO accounts(acc_id, acc_name, acc_industry, acc_important, acc_create_date, "
                       "acc_recent_contact_date, acc_private) VALUES(?, ?, ?, '中', '2020-01-01', '2020-01-01', 0)",
                       -1, &st, nullptr);
    char sz[128], szDate[16];
    for (int i = 1; i <= kAccounts; i++) {
        snprintf(sz, sizeof(sz), "客户单位 %05d", (i * 7919) % kAccounts);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, kIndustry[i % 6], -1, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db,
                       "INSERT INTO contacts(con_id, con_name, con_nickname, con_description, con_email, "
                       "con_telephone, con_important, con_relation, con_province, con_create_date, "
                       "con_recent_contact_date, con_private) VALUES(?, ?, ?, '一段简短的说明文字', ?, "
                       "'010-12345678', ?, ?, ?, ?, ?, 0)",
                       -1, &st, nullptr);
    sqlite3_stmt* link = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO accounts_contacts(acc_id, con_id) VALUES(?, ?)", -1, &link, nullptr);
    for (int i = 1; i <= kContacts; i++) {
        const int k = (i * 7919) % kContacts;
        snprintf(sz, sizeof(sz), "%s%s%05d", kSurnames[k % 10], kGiven[(k / 10) % 5], k);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, sz, -1, SQLITE_TRANSIENT);
        snprintf(sz, sizeof(sz), "c%05d@example.com", k);
        sqlite3_bind_text(st, 4, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, kImportant[i % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, kRelation[i % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 7, kProvince[i % 8], -1, SQLITE_STATIC);
        snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + i % 15, 1 + i % 12, 1 + i % 28);
        sqlite3_bind_text(st, 8, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 9, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
        sqlite3_bind_int(link, 1, 1 + i % kAccounts);
        sqlite3_bind_int(link, 2, i);
        sqlite3_step(link);
        sqlite3_reset(link);
        if (k % 10 == 2 && (k / 10) % 5 == 0) g_nKeywordMatches++;  // 张伟
    }
    sqlite3_finalize(link);
    sqlite3_finalize(st);
    if (!Exec(db, "COMMIT")) return false;
    sqlite3_close(db);
    g_strKeyword = gbk::FromUtf8("张伟");

    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return false;
    memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

Con_CategoryStatClass* const kStatPages[] = {&g_Con_Important, &g_Con_Relation, &g_Con_Industry, &g_Con_Province,
                                             &g_Con_Opportunities};
const char* const kStatClasses[] = {"Con_Important", "Con_Relation", "Con_Industry", "Con_Province",
                                    "Con_Opportunities"};

bool MakePages() {
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInstance;
    wc.lpszClassName = "ConBenchMain";
    RegisterClassA(&wc);
    HWND hMain = CreateWindowExA(0, "ConBenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                                 hInstance, nullptr);
    static BaseDialogClass* const kViews[] = {&g_Con_Homepage, &g_Con_Important, &g_Con_Relation,
                                              &g_Con_Industry, &g_Con_Province,  &g_Con_Opportunities};
    BaseDialogClass::SetViewTable(kViews, 6);
    if (!hMain || g_Con_Homepage.CreateDialog(hInstance, hMain, "Con_Homepage", 0) != 0) return false;
    for (int i = 0; i < 5; i++)
        if (kStatPages[i]->CreateDialog(hInstance, hMain, kStatClasses[i], 0) != 0) return false;
    for (BaseDialogClass* p : kViews) p->ShowDialog();
    for (BaseDialogClass* p : kViews)
        if (!p->m_bInit) return false;
    return true;
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
    for (auto _ : state) {
        SendMessageA(g_Con_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        if (g_Con_Homepage.m_nIDCount != kContacts) state.SkipWithError("list not filled");
    }
}

void BM_BareSortedContacts(benchmark::State& state) {
    Con_DetailClass con;
    for (auto _ : state) {
        con.m_iSortColumn = 1;
        con.m_bDesc = !con.m_bDesc;
        con.m_iQueryMode = 2;
        const int n = con.ccd_GetAllContacts();
        con.ccd_FreeList();
        if (n != kContacts) state.SkipWithError("query failed");
    }
}

void BM_ReSortListPage(benchmark::State& state) {
    SendMessageA(g_Con_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    for (auto _ : state) {
        SendMessageA(g_Con_Homepage.m_hWnd, UM_SORTLIST, 1, 1);  // 客户单位, the other way each time
        if (g_Con_Homepage.m_nIDCount != kContacts) state.SkipWithError("list not filled");
    }
}

void BM_BareKeyword(benchmark::State& state) {
    Con_DetailClass con;
    for (auto _ : state) {
        snprintf(con.m_szKeyword, sizeof(con.m_szKeyword), "%s", g_strKeyword.c_str());
        con.m_iQueryMode = 1;
        const int n = con.ccd_GetAllContacts();
        con.ccd_FreeList();
        if (n != g_nKeywordMatches) state.SkipWithError("query failed");
    }
}

void BM_KeywordSearchPage(benchmark::State& state) {
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    if (!MakeDatabase()) {
        fprintf(stderr, "cannot make the database\n");
        return 1;
    }
    if (!MakePages()) {
        fprintf(stderr, "cannot make the contact pages\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_strFolder);
    return 0;
}
