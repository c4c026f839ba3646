// The account pages with 100,000 accounts in the database, against the bare
// queries on the same data: opening and re-sorting the list of all accounts
// (against cad_GetAllAccounts and freeing its nodes), and opening each
// statistics page and listing its first category (against the bare count
// and list queries). Each page should stay within 2x of its bare queries.
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
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kOpportunities = 1000;
std::string g_strFolder;

// Fills a fresh copy of the database with kRecords accounts spread over the
// shipped lookup values, every second one linked to an opportunity (plain
// SQLite, one transaction), and connects g_ODBC to it.
bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-accbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 0; i < kOpportunities; i++) {
        const std::string sql = "INSERT INTO opportunities(opp_subject) VALUES('机会" + std::to_string(i) + "')";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO accounts(acc_name, acc_description, acc_important, acc_type, acc_industry, "
                       "acc_relation, acc_address, acc_postcode, acc_province, acc_telephone, acc_fax, acc_website, "
                       "acc_create_date, acc_recent_contact_date, acc_private) "
                       "VALUES(?, ?, ?, ?, ?, ?, '某路1号', '100000', ?, '010-1', '010-2', 'www.example.cn', ?, ?, 0)",
                       -1, &st, nullptr);
    static const char* const kImportant[] = {"高", "中", "低"};
    static const char* const kType[] = {"最终用户", "代理商", "集成商", "分销商", "其他"};
    static const char* const kRelation[] = {"客户", "潜在客户", "合作伙伴", "供应商", "竞争对手", "其他"};
    static const char* const kIndustry[] = {"政府机关", "金融",     "电信", "能源",
                                            "制造业",   "交通物流", "教育", "医疗卫生"};
    static const char* const kProvince[] = {"北京", "天津", "上海", "重庆", "河北", "山西", "广东", "浙江", "江苏"};
    char sz[128], szDate[16];
    for (int i = 0; i < kRecords; i++) {
        snprintf(sz, sizeof(sz), "客户单位 %06d 号", (i * 7919) % kRecords);
        sqlite3_bind_text(st, 1, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, "一段简短的说明文字", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, kImportant[i % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 4, kType[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 5, kIndustry[i % 8], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, kRelation[i % 6], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 7, kProvince[i % 9], -1, SQLITE_STATIC);
        snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + i % 15, 1 + i % 12, 1 + i % 28);
        sqlite3_bind_text(st, 8, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 9, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db,
                 "INSERT INTO opportunities_accounts(opp_id, acc_id) "
                 "SELECT 1 + acc_id % 1000, acc_id FROM accounts WHERE acc_id % 2 = 0",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return false;
    memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

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
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInstance;
    wc.lpszClassName = "AccBenchMain";
    RegisterClassA(&wc);
    HWND hMain = CreateWindowExA(0, "AccBenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                                 hInstance, nullptr);
    if (!hMain) return false;
    static BaseDialogClass* kViews[7];
    kViews[0] = &g_Acc_Homepage;
    for (int i = 0; i < 6; i++) kViews[i + 1] = kStats[i].pPage;
    BaseDialogClass::SetViewTable(kViews, 7);
    if (g_Acc_Homepage.CreateDialog(hInstance, hMain, "Acc_Homepage", 0) != 0) return false;
    g_Acc_Homepage.ShowDialog();
    for (const StatCase& c : kStats) {
        if (c.pPage->CreateDialog(hInstance, hMain, c.pszClass, 0) != 0) return false;
        c.pPage->ShowDialog();
        if (!c.pPage->m_bInit) return false;
    }
    return g_Acc_Homepage.m_bInit != 0;
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
    for (auto _ : state) {
        SendMessageA(g_Acc_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        if (g_Acc_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

void BM_ReSortListPage(benchmark::State& state) {
    SendMessageA(g_Acc_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    for (auto _ : state) {
        SendMessageA(g_Acc_Homepage.m_hWnd, UM_SORTLIST, 1, 0);
        if (g_Acc_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    if (!MakeDatabase()) {
        fprintf(stderr, "cannot make the database\n");
        return 1;
    }
    if (!MakePages()) {
        fprintf(stderr, "cannot make the pages\n");
        return 1;
    }
    benchmark::RegisterBenchmark("BM_BareAllAccounts", BM_BareAllAccounts)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_OpenListPage", BM_OpenListPage)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_BareSortedAllAccounts", BM_BareSortedAllAccounts)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_ReSortListPage", BM_ReSortListPage)->Unit(benchmark::kMillisecond)->Iterations(3);
    for (const StatCase& c : kStats) {
        benchmark::RegisterBenchmark((std::string("BM_BareStat/") + c.pszName).c_str(), BM_BareStat, &c)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark((std::string("BM_OpenStat/") + c.pszName).c_str(), BM_OpenStat, &c)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_strFolder);
    return 0;
}
