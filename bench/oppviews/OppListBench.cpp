// Opening the list of all opportunities with 100,000 of them in the database
// and re-sorting it by the subject, each timed until the window is painted and
// idle (query, node list, list fill, model reset, layout, paint), against a
// bare sqlite3 read of the same rows into strings (sorted in the driver's
// order for the re-sort) and the store's own query. bench_qtlist times a plain
// Qt program on the same file next to the same sqlite3 read.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QtWidgets/QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "store/ODBCClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"
#include "bench/common/OppData.h"

namespace {

constexpr int kRecords = 100000;
std::string g_strFolder, g_strFile;

// Lets the event loop run until the posted work (model reset, layout, paint) is done.
void TurnToIdle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Fills a fresh copy of the database with kRecords opportunities and
// connects g_ODBC to it.
bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-oppbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    g_strFile = path;
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    if (!bench::FillOpportunities(path, kRecords)) return false;

    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) + ";Uid=Admin;Pwd=qe7volnar;";
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
    ShowWindow(hMain, SW_SHOW);
    g_Opp_Homepage.ShowDialog();
    TurnToIdle();
    return g_Opp_Homepage.m_bInit != 0;
}

// The same rows read with the plain SQLite API into strings.
void BM_Sqlite3Read(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_strFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::vector<std::string> cells;
    for (auto _ : state)
        if (bench::ReadAllRows(db, "SELECT * FROM opportunities", cells) != kRecords)
            state.SkipWithError("query failed");
    sqlite3_close(db);
}

// Sorted by the subject in the driver's order, as the page re-sorts.
void BM_Sqlite3SortedRead(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_strFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bench::AddDriverCollation(db);
    std::vector<std::string> cells;
    static const char* const kSql[] = {"SELECT * FROM opportunities ORDER BY opp_subject COLLATE GBK_NOCASE",
                                       "SELECT * FROM opportunities ORDER BY opp_subject COLLATE GBK_NOCASE DESC"};
    int turn = 0;
    for (auto _ : state)
        if (bench::ReadAllRows(db, kSql[turn++ % 2], cells) != kRecords) state.SkipWithError("query failed");
    sqlite3_close(db);
}

// The store's own query (node list), without the page.
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
        TurnToIdle();
        if (g_Opp_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

void BM_ReSortListPage(benchmark::State& state) {
    SendMessageA(g_Opp_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    for (auto _ : state) {
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_SORTLIST, 1, 0);
        TurnToIdle();
        if (g_Opp_Homepage.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

BENCHMARK(BM_Sqlite3Read)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Sqlite3SortedRead)->Unit(benchmark::kMillisecond)->Iterations(5);
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
