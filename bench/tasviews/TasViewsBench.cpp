// The task calendar pages with 50,000 tasks over three years and 30 in the
// month shown: loading the month view (42 day lists filled, their id arrays
// and the month's) and the week view (seven lists), against ctd_GetByMonth /
// ctd_GetByWeek alone; and the list of all tasks against ctd_GetAllTasks.
// The month and week pages should stay within 3x their query, the list of
// all tasks within 2x.
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
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"

namespace {

constexpr int kRecords = 50000;
constexpr int kInMonth = 30;  // tasks in June 2024, the month shown
std::string g_strFolder;

// Fills a fresh copy of the database (plain SQLite, one transaction) and
// connects g_ODBC to it. The tasks outside June 2024 are spread over the
// other days of 2022 to 2024.
bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-tasbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_outlay, tas_description, tas_private, "
                       "tas_remind, tas_closed) VALUES(?, ?, ?, ?, ?, 0, 0, ?)",
                       -1, &st, nullptr);
    char sz[128], szDate[16], szTime[16];
    int nOther = 0;
    for (int i = 0; i < kRecords; i++) {
        int y, m, d;
        if (i < kInMonth) {
            y = 2024, m = 6, d = 1 + (i * 7) % 30;
        } else {
            // Months 0 .. 34 of 2022-2024 without June 2024 (month 29).
            int k = nOther++ % 35;
            if (k >= 29) k++;
            y = 2022 + k / 12, m = 1 + k % 12, d = 1 + (nOther * 13) % 28;
        }
        snprintf(sz, sizeof(sz), "计划日志 %06d 号", i);
        sqlite3_bind_text(st, 1, sz, -1, SQLITE_TRANSIENT);
        snprintf(szDate, sizeof(szDate), "%04d-%02d-%02d", y, m, d);
        sqlite3_bind_text(st, 2, szDate, -1, SQLITE_TRANSIENT);
        snprintf(szTime, sizeof(szTime), "%02d:%02d:00", 8 + i % 10, i % 60);
        sqlite3_bind_text(st, 3, szTime, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 4, (i % 100) * 1.5);
        sqlite3_bind_text(st, 5, "一段简短的内容", -1, SQLITE_STATIC);
        sqlite3_bind_int(st, 6, i % 2);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
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

bool MakePages() {
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInstance;
    wc.lpszClassName = "TasBenchMain";
    RegisterClassA(&wc);
    HWND hMain = CreateWindowExA(0, "TasBenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                                 hInstance, nullptr);
    static BaseDialogClass* const kViews[] = {&g_Tas_Month, &g_Tas_Week, &g_Tas_ListAll};
    BaseDialogClass::SetViewTable(kViews, 3);
    if (!hMain || g_Tas_Month.CreateDialog(hInstance, hMain, "Tas_Month", 0) != 0 ||
        g_Tas_Week.CreateDialog(hInstance, hMain, "Tas_Week", 0) != 0 ||
        g_Tas_ListAll.CreateDialog(hInstance, hMain, "Tas_ListAll", 0) != 0)
        return false;
    g_Tas_Month.ShowDialog();
    g_Tas_Week.ShowDialog();
    g_Tas_ListAll.ShowDialog();
    return g_Tas_Month.m_bInit && g_Tas_Week.m_bInit && g_Tas_ListAll.m_bInit;
}

SYSTEMTIME June2024(int nDay) {
    SYSTEMTIME st = {};
    st.wYear = 2024;
    st.wMonth = 6;
    st.wDay = (WORD)nDay;
    return st;
}

void BM_BareMonthQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        SYSTEMTIME st = June2024(1);
        const int n = tas.ctd_GetByMonth(&st);
        tas.ctd_FreeList();
        if (n != kInMonth) state.SkipWithError("query failed");
    }
}

void BM_MonthPage(benchmark::State& state) {
    for (auto _ : state) {
        g_Tas_Month.m_stDate = June2024(1);
        g_Tas_Month.Load();
        if (g_Tas_Month.m_MonthIDs.m_nIDCount != kInMonth) state.SkipWithError("month not filled");
    }
}

void BM_BareWeekQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        SYSTEMTIME st = June2024(12);
        const int n = tas.ctd_GetByWeek(&st);
        tas.ctd_FreeList();
        if (n < 0) state.SkipWithError("query failed");
    }
}

void BM_WeekPage(benchmark::State& state) {
    for (auto _ : state) {
        g_Tas_Week.m_stDate = June2024(12);
        g_Tas_Week.Load();
        if (g_Tas_Week.m_nLoadCount < 0) state.SkipWithError("week not filled");
    }
}

void BM_BareAllTasksQuery(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        const int n = tas.ctd_GetAllTasks();
        tas.ctd_FreeList();
        if (n != kRecords) state.SkipWithError("query failed");
    }
}

void BM_AllTasksPage(benchmark::State& state) {
    for (auto _ : state) {
        SendMessageA(g_Tas_ListAll.m_hWnd, UM_OPENVIEW, 0, 0);
        if (g_Tas_ListAll.m_nIDCount != kRecords) state.SkipWithError("list not filled");
    }
}

BENCHMARK(BM_BareMonthQuery)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareWeekQuery)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WeekPage)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareAllTasksQuery)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AllTasksPage)->Unit(benchmark::kMillisecond)->Iterations(5);

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
        fprintf(stderr, "cannot make the task pages\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_strFolder);
    return 0;
}
