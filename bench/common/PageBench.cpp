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

namespace bench {

void TurnToIdle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool ConnectStore(const std::string& path) {
    if (path.empty()) return false;
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
