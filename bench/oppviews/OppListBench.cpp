// Opening the list of all opportunities with 100,000 of them in the database
// (query, node list, list fill, id array) and re-sorting it by the subject,
// against the bare queries (cod_InitDetail and freeing its nodes, plain and
// sorted) on the same data. The page should stay within 3x its query.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QtWidgets/QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include "store/ODBCClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"

namespace {

constexpr int kRecords = 100000;
std::string g_strFolder;

// Fills a fresh copy of the database with kRecords opportunities (plain
// SQLite, one transaction) and connects g_ODBC to it.
bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-oppbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO opportunities(opp_subject, opp_description, opp_create_date, opp_die_date, "
                       "opp_estimate_sale, opp_sale, opp_important, opp_phase, opp_recent_contact_date, opp_private, "
                       "opp_succeed_probability) VALUES(?, ?, ?, ?, ?, 0, ?, ?, ?, 0, ?)",
                       -1, &st, nullptr);
    static const char* const kImportant[] = {"高", "中", "低"};
    static const char* const kPhase[] = {"初步接触", "需求分析", "方案制定", "商务谈判", "合同签订"};
    char sz[128], szDate[16];
    for (int i = 0; i < kRecords; i++) {
        snprintf(sz, sizeof(sz), "项目机会 %06d 号", (i * 7919) % kRecords);
        sqlite3_bind_text(st, 1, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, "一段简短的说明文字", -1, SQLITE_STATIC);
        snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + i % 15, 1 + i % 12, 1 + i % 28);
        sqlite3_bind_text(st, 3, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 5, (i % 1000) * 10.5);
        sqlite3_bind_text(st, 6, kImportant[i % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 7, kPhase[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 8, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 9, (i % 10) * 10);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect = "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) +
                                ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return false;
    memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

bool MakePage() {
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInstance;
    wc.lpszClassName = "OppBenchMain";
    RegisterClassA(&wc);
    HWND hMain = CreateWindowExA(0, "OppBenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                                 hInstance, nullptr);
    static BaseDialogClass* const kViews[] = {&g_Opp_Homepage};
    BaseDialogClass::SetViewTable(kViews, 1);
    if (!hMain || g_Opp_Homepage.CreateDialog(hInstance, hMain, "Opp_Homepage", 0) != 0) return false;
    g_Opp_Homepage.ShowDialog();
    return g_Opp_Homepage.m_bInit != 0;
}

void BM_BareQuery(benchmark::State& state) {
    Opp_DetailClass opp;
    for (auto _ : state) {
        opp.m_iQueryMode = 0;
        const int n = opp.cod_InitDetail();
        opp.cod_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_BareSortedQuery(benchmark::State& state) {
    Opp_DetailClass opp;
    for (auto _ : state) {
        opp.m_iSortColumn = 0;
        opp.m_bDesc = !opp.m_bDesc;
        opp.m_iQueryMode = 2;
        const int n = opp.cod_InitDetail();
        opp.cod_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_OpenListPage(benchmark::State& state) {
    for (auto _ : state) {
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
        if (g_Opp_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

void BM_ReSortListPage(benchmark::State& state) {
    SendMessageA(g_Opp_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    for (auto _ : state) {
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_SORTLIST, 1, 0);
        if (g_Opp_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

BENCHMARK(BM_BareQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareSortedQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenListPage)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReSortListPage)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    if (!MakeDatabase()) {
        fprintf(stderr, "cannot make the database\n");
        return 1;
    }
    if (!MakePage()) {
        fprintf(stderr, "cannot make the list page\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_strFolder);
    return 0;
}
