#include "tests/views/opportunities/OppTestShell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <fstream>
#include <new>
#include <sstream>

#include "program/HomepageDialogClass.h"
#include "store/ODBCClass.h"
#include "tests/support/TestDatabase.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"
#include "platform/gbk/gbk.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

namespace opptest {

namespace {

HWND s_hMain = nullptr;
int s_nAnswer = IDOK;

LRESULT CALLBACK TestMainProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_COMMAND) {
        g_Toolbar.OnCommand(hWnd, uMsg, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

void MakeShell() {
    g_hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = TestMainProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "OppTestMain";
    RegisterClassA(&wc);
    s_hMain = CreateWindowExA(0, "OppTestMain", "Tarvel Sales Logs", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr,
                              nullptr, g_hInstance, nullptr);
    g_hMainWnd = s_hMain;
    ASSERT_EQ(CreateBars(s_hMain), 0);
    ASSERT_EQ(CreateViews(s_hMain), 0);
    ShowWindow(s_hMain, SW_SHOW);
    for (int i = 0; i < VIEW_COUNT; i++) g_ViewTable[i]->ResizeDialog(s_hMain);
}

std::unique_ptr<testsupport::TempDatabase> s_pDatabase;

void Connect() {
    testsupport::ResetGlobalConnection();
    s_pDatabase = std::make_unique<testsupport::TempDatabase>();
    ASSERT_EQ(testsupport::ConnectGlobal(s_pDatabase->Path()), 0);
}

// The page state that lives in the global objects from one test to the next.
void ResetPages() {
    g_Opp_Homepage.m_nLastSortColumn = -1;
    g_Opp_Homepage.m_Opp.m_bDesc = 0;
    g_Opp_Homepage.m_Opp.m_iQueryMode = 0;
    for (Opp_CategoryStatClass* p : {(Opp_CategoryStatClass*)&g_Opp_ImportantStat, (Opp_CategoryStatClass*)&g_Opp_PhaseStat}) {
        p->m_nLastSortColumn = 0;
        p->m_nCategory = 0;
        p->m_Opp.m_bDesc = 0;
        p->m_Opp.m_iQueryMode = 0;
        if (p->m_bInit) p->EmptyRecordList();
    }
    g_Opp_DateStat.m_nLastSortColumn = 0;
    g_Opp_DateStat.m_Opp.m_bDesc = 0;
    g_Opp_DateStat.m_Opp.m_iQueryMode = 0;
    g_Opp_DateStat.m_nKind = 0;
    if (g_Opp_Homepage.m_bInit) g_Opp_Homepage.EmptyRecordList();
    if (g_Opp_DateStat.m_bInit) g_Opp_DateStat.EmptyRecordList();
}

}  // namespace

void StartFresh() {
    w32test::ClearHooks();
    w32test::CancelSaveDialog();
    w32test::RecordShellExecuteOnly(true);
    w32test::ClearShellExecutes();
    if (!s_hMain) MakeShell();
    Connect();
    ResetPages();
    for (int i = 0; i < VIEW_COUNT; i++) {
        if (g_ViewTable[i] != &g_Homepage && IsWindowVisible(g_ViewTable[i]->m_hWnd)) g_ViewTable[i]->HideDialog();
    }
    g_Homepage.ShowDialog();
    g_pCurrentDialog = &g_Homepage;
    g_History.FreeAll();
    g_History.AllocHead();
    g_History.m_pHead->m_pView = &g_Homepage;
    g_Toolbar.CheckButton(IDC_TB_HOMEPAGE, 1);
    AnswerBoxes(IDOK);
    w32test::ClearMessageBoxes();
}

int Exec(const std::string& sql) {
    if (g_ODBC.co_FormatSQL("%s", sql.c_str()) != 0) return -1;
    const int n = g_ODBC.co_ExecSQL();
    return n == -100 ? 0 : n;
}

long long QueryInt(const std::string& sql) {
    if (Exec(sql) != 0 || g_ODBC.co_GetNextData() != 0) return -999;
    long long n = 0;
    char sz[64] = "";
    if (g_ODBC.co_SQLGetData(1, SQL_C_CHAR, sz, sizeof(sz)) != 0) return -999;
    sscanf(sz, "%lld", &n);
    return n;
}

std::string QueryText(const std::string& sql) {
    if (Exec(sql) != 0 || g_ODBC.co_GetNextData() != 0) return "<none>";
    char sz[1024] = "";
    if (g_ODBC.co_SQLGetData(1, SQL_C_CHAR, sz, sizeof(sz)) != 0) return "<none>";
    return sz;
}

static std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char ch : s) {
        out += ch;
        if (ch == '\'') out += '\'';
    }
    return out + "'";
}

unsigned AddOpp(const Opp& o) {
    char szAmount[64];
    snprintf(szAmount, sizeof(szAmount), "%.6f", o.estimate);
    const std::string sql =
        "INSERT INTO opportunities(opp_subject, opp_description, opp_create_date, opp_die_date, opp_estimate_sale, "
        "opp_sale, opp_important, opp_phase, opp_recent_contact_date, opp_private, opp_succeed_probability) VALUES(" +
        Quote(o.subject) + "," + Quote(o.description) + ",#" + o.create + "#,#" + o.die + "#," + szAmount + ",0," +
        Quote(o.important) + "," + Quote(o.phase) + ",#" + o.contact + "#,0," + std::to_string(o.probability) + ")";
    EXPECT_EQ(Exec(sql), 0) << sql;
    return (unsigned)QueryInt("SELECT MAX(opp_id) FROM opportunities");
}

int RowCount(ListViewClass& list) { return list.GetItemCount(); }

std::string Cell(ListViewClass& list, int row, int column) {
    char sz[512] = "";
    list.GetItemText(row, column, sz, sizeof(sz));
    return sz;
}

std::vector<std::string> Column(ListViewClass& list, int column) {
    std::vector<std::string> v;
    for (int r = 0; r < RowCount(list); r++) v.push_back(Cell(list, r, column));
    return v;
}

static void Notify(BaseDialogClass& page, ListViewClass& list, UINT code, int row, int column) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list.m_hListView;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(list.m_hListView);
    nm.hdr.code = code;
    nm.iItem = row;
    nm.iSubItem = column;
    SendMessageA(page.m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void ClickColumn(BaseDialogClass& page, ListViewClass& list, int column) {
    Notify(page, list, LVN_COLUMNCLICK, -1, column);
}
void DoubleClickRow(BaseDialogClass& page, ListViewClass& list, int row) { Notify(page, list, NM_DBLCLK, row, 0); }
void ClickRow(BaseDialogClass& page, ListViewClass& list, int row) { Notify(page, list, NM_CLICK, row, 0); }

void Click(BaseDialogClass& page, int id) {
    SendMessageA(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page.m_hWnd, id));
}

std::string Text(HWND h) {
    char sz[1024] = "";
    GetWindowTextA(h, sz, sizeof(sz));
    return sz;
}

void SetText(HWND h, const std::string& text) { SetWindowTextA(h, text.c_str()); }

bool Enabled(HWND h) { return IsWindowEnabled(h) != FALSE; }

void AnswerBoxes(int answer) {
    s_nAnswer = answer;
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall&) { return s_nAnswer; });
}

std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts;
    for (const w32test::MessageBoxCall& c : w32test::MessageBoxes()) texts.push_back(c.text);
    w32test::ClearMessageBoxes();
    return texts;
}


void AnswerSaveDialog(const std::string& path) {
    std::filesystem::remove(path);
    w32test::AnswerSaveDialog(path);
}

void Back() { g_Toolbar.OnBack(nullptr, 0, 0, 0); }
void Forward() { g_Toolbar.OnForward(nullptr, 0, 0, 0); }
int HistoryCount() { return g_History.Count(); }

int VisibleViewCount() {
    int n = 0;
    for (int i = 0; i < VIEW_COUNT; i++) n += IsWindowVisible(g_ViewTable[i]->m_hWnd) ? 1 : 0;
    return n;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string OutputPath(const std::string& name) {
    const std::string folder = std::string(TARVEL_TEST_OUTPUT_DIR) + "/";
    std::filesystem::create_directories(folder);
    return folder + name;
}

void Grab(BaseDialogClass& page, const std::string& name) {
    w32test::ProcessEvents(0);
    EXPECT_TRUE(w32test::GrabWindow(page.m_hWnd, OutputPath(name + ".png")));
}

}  // namespace opptest
