#include "bench/common/PageBench.h"

#include <benchmark/benchmark.h>

#include <QtWidgets/QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/gbk/gbk.h"
#include "shell/BaseDialogClass.h"
#include "store/Con_DetailClass.h"
#include "store/ODBCClass.h"
#include "odbc.h"

namespace bench {

namespace {

std::string g_strPath;  // the store's file
bool g_bRecording = false;
std::vector<std::string> g_Statements;

}  // namespace

std::vector<std::string> TakeStatements() {
    std::vector<std::string> taken;
    taken.swap(g_Statements);
    return taken;
}

void RaceYardsticks(benchmark::State& state, const std::function<bool()>& page, const std::function<void()>& prepare) {
    static QtProgram* qt = new QtProgram;  // one per process: it holds Qt's default connection
    if (prepare) prepare();
    TakeStatements();
    g_bRecording = true;
    const bool ok = page();
    g_bRecording = false;
    const std::vector<std::string> jet = TakeStatements();
    if (!ok || jet.empty()) return state.SkipWithError("the page failed or ran no statement");
    std::vector<std::string> sql;
    for (const std::string& s : jet) sql.push_back(ToSqlite(s.c_str()));
    if (!qt->Open(g_strPath)) return state.SkipWithError("cannot open the file in Qt");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(g_strPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return state.SkipWithError("cannot open the file in sqlite3");
    }
    AddDriverCollation(db);
    std::vector<QString> qtCells;
    std::vector<std::string> cells;
    const auto qtRun = [&] {
        for (size_t i = 0; i + 1 < sql.size(); ++i)
            if (qt->Read(sql[i], qtCells) < 0) return false;
        return qt->Show(sql.back()) >= 0;
    };
    const auto sqliteRun = [&] {
        for (const std::string& s : sql)
            if (ReadAllRows(db, s, cells) < 0) return false;
        return true;
    };
    RunRivals(state, {{"page", page, prepare}, {"qt", qtRun}, {"sqlite3", sqliteRun}},
              "yardsticks in this process, turn about: qt = QTableView over QSqlQueryModel, sqlite3 = plain read "
              "into strings; the page's " +
                  std::to_string(sql.size()) + " statement(s), Chinese collation");
    sqlite3_close(db);
    // Free the Qt program's rows: the next benchmark starts from the same state.
    qt->model.clear();
    TurnToIdle();
}

bool ConnectStore(const std::string& path) {
    if (path.empty()) return false;
    g_strPath = path;
    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return false;
    memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

bool MakePages(std::initializer_list<std::pair<BaseDialogClass*, const char*>> pages) {
    static std::vector<BaseDialogClass*> views;
    if (!views.empty()) return false;
    for (const auto& p : pages) views.push_back(p.first);
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInstance;
    wc.lpszClassName = "BenchMain";
    RegisterClassA(&wc);
    HWND hMain =
        CreateWindowExA(0, "BenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr, hInstance, nullptr);
    if (!hMain) return false;
    BaseDialogClass::SetViewTable(views.data(), (int)views.size());
    for (const auto& p : pages)
        if (p.first->CreateDialog(hInstance, hMain, p.second, 0) != 0) return false;
    ShowWindow(hMain, SW_SHOW);
    for (BaseDialogClass* p : views) p->ShowDialog();
    TurnToIdle();
    for (BaseDialogClass* p : views)
        if (!p->m_bInit) return false;
    ShowOnly(views.front());
    return true;
}

void ShowOnly(BaseDialogClass* pPage) {
    for (int i = 0; i < BaseDialogClass::GetViewCount(); ++i)
        if (BaseDialogClass::GetView(i) != pPage) BaseDialogClass::GetView(i)->HideDialog();
    pPage->ShowDialog();
    TurnToIdle();
}

void BareContactKeyword(benchmark::State& state, const std::string& keyword, int nExpected) {
    Con_DetailClass con;
    for (auto _ : state) {
        snprintf(con.m_szKeyword, sizeof(con.m_szKeyword), "%s", keyword.c_str());
        con.m_iQueryMode = 1;
        const int n = con.ccd_GetAllContacts();
        con.ccd_FreeList();
        if (n != nExpected) state.SkipWithError("query failed");
    }
}

}  // namespace bench

// Every statement the store runs passes here (the page benchmarks link with
// --wrap on the driver's SQLExecDirect, a C++ name): while a page's work is
// recorded, its text is kept.
extern "C" SQLRETURN __real__Z13SQLExecDirectPvPhi(SQLHSTMT h, SQLCHAR* text, SQLINTEGER len);
extern "C" SQLRETURN __wrap__Z13SQLExecDirectPvPhi(SQLHSTMT h, SQLCHAR* text, SQLINTEGER len) {
    if (bench::g_bRecording && text)
        bench::g_Statements.emplace_back(reinterpret_cast<const char*>(text),
                                         len == SQL_NTS ? strlen(reinterpret_cast<const char*>(text)) : size_t(len));
    return __real__Z13SQLExecDirectPvPhi(h, text, len);
}

namespace bench {

bool LastStatementIs(const char* pszJet) { return strcmp(g_ODBC.co_GetSQL(), pszJet) == 0; }

int RunPageBenchmarks(int argc, char** argv, const std::function<bool()>& setUp) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    if (!setUp()) {
        fprintf(stderr, "cannot make the benchmark's file or pages\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
