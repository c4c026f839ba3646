#include "tests/support/ProgramTest.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/gbk/gbk.h"
#include "program/HomepageDialogClass.h"
#include "store/ODBCClass.h"
#include "store/md5.h"
#include "shell/PageFrameClass.h"
#include "shell/RecordFormClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

namespace programtest {

// --- Database ---------------------------------------------------------------

ProgramDatabase::ProgramDatabase() { PointConnectionAt(Path()); }

ProgramDatabase::~ProgramDatabase() {
    // Close the connection before the folder goes, unless g_ODBC already
    // works on another copy.
    if (!Path().empty() && std::strstr(g_ODBC.m_szConnect, gbk::FromUtf8(Path()).c_str()))
        testsupport::ResetGlobalConnection();
}

int ProgramDatabase::Connect() { return g_ODBC.co_InitODBC(); }

void ProgramDatabase::PointConnectionAt(const std::string& strPath) {
    testsupport::ResetGlobalConnection();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(strPath) + ";Uid=Admin;Pwd=qe7volnar;";
    ASSERT_LT(connect.size(), sizeof(g_ODBC.m_szConnect));
    std::memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
}

std::vector<std::vector<std::string>> ProgramDatabase::Query(const std::string& strSql) const {
    return testsupport::RawQuery(Path(), strSql);
}

void ProgramDatabase::Exec(const std::string& strSql) const { testsupport::RawExec(Path(), strSql); }

void ProgramDatabase::SetLogin(const std::string& strName, const std::string& strPassword) {
    char szDigest[33];
    MD5DigestText(strPassword.c_str(), szDigest);
    Exec("UPDATE setting SET set_init=1, set_loginname='" + gbk::ToUtf8(strName) + "', set_loginpwd='" + szDigest +
         "' WHERE set_id=1");
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
    std::sscanf(sz, "%lld", &n);
    return n;
}

std::string QueryText(const std::string& sql) {
    if (Exec(sql) != 0 || g_ODBC.co_GetNextData() != 0) return "<none>";
    char sz[1024] = "";
    if (g_ODBC.co_SQLGetData(1, SQL_C_CHAR, sz, sizeof(sz)) != 0) return "<none>";
    return sz;
}

// --- Seeding ------------------------------------------------------------------

namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char ch : s) {
        out += ch;
        if (ch == '\'') out += '\'';
    }
    return out + "'";
}

std::string Date(const std::string& s) { return "#" + s + "#"; }

std::string Amount(double d) {
    char sz[64];
    std::snprintf(sz, sizeof(sz), "%.6f", d);
    return sz;
}

unsigned Insert(const std::string& sql, const std::string& idQuery) {
    EXPECT_EQ(Exec(sql), 0) << sql;
    return (unsigned)QueryInt(idQuery);
}

}  // namespace

unsigned AddOpp(const Opp& o) {
    return Insert(
        "INSERT INTO opportunities(opp_subject, opp_description, opp_create_date, opp_die_date, "
        "opp_estimate_sale, opp_sale, opp_important, opp_phase, opp_recent_contact_date, opp_private, "
        "opp_succeed_probability) VALUES(" +
            Quote(o.subject) + "," + Quote(o.description) + "," + Date(o.create) + "," + Date(o.die) + "," +
            Amount(o.estimate) + ",0," + Quote(o.important) + "," + Quote(o.phase) + "," + Date(o.contact) + ",0," +
            std::to_string(o.probability) + ")",
        "SELECT MAX(opp_id) FROM opportunities");
}

unsigned AddAccount(const Account& a) {
    return Insert(
        "INSERT INTO accounts(acc_name, acc_description, acc_important, acc_type, acc_industry, "
        "acc_relation, acc_province, acc_telephone, acc_create_date, acc_recent_contact_date, "
        "acc_private) VALUES(" +
            Quote(a.name) + "," + Quote(a.description) + "," + Quote(a.important) + "," + Quote(a.type) + "," +
            Quote(a.industry) + "," + Quote(a.relation) + "," + Quote(a.province) + "," + Quote(a.telephone) + "," +
            Date(a.create) + "," + Date(a.contact) + ",0)",
        "SELECT MAX(acc_id) FROM accounts");
}

unsigned AddContact(const Contact& c) {
    return Insert(
        "INSERT INTO contacts(con_name, con_nickname, con_description, con_email, con_important, "
        "con_relation, con_province, con_create_date, con_recent_contact_date, con_private) VALUES(" +
            Quote(c.name) + "," + Quote(c.nickname) + "," + Quote(c.description) + "," + Quote(c.email) + "," +
            Quote(c.important) + "," + Quote(c.relation) + "," + Quote(c.province) + "," + Date(c.create) + "," +
            Date(c.contact) + ",0)",
        "SELECT MAX(con_id) FROM contacts");
}

unsigned AddTask(const Task& t) {
    return Insert(
        "INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_outlay, tas_description, tas_private, "
        "tas_remind, tas_closed) VALUES(" +
            Quote(t.subject) + "," + Date(t.date) + "," + Quote(t.time) + "," + Amount(t.outlay) + "," +
            Quote(t.description) + ",0,0," + (t.closed ? "1" : "0") + ")",
        "SELECT MAX(tas_id) FROM tasks");
}

void Link(const std::string& kindA, unsigned idA, const std::string& kindB, unsigned idB) {
    // The link tables are named in this order of kinds, with these id columns.
    static const char* const kKinds[4] = {"opportunities", "accounts", "contacts", "tasks"};
    static const char* const kIds[4] = {"opp_id", "acc_id", "con_id", "tas_id"};
    int a = -1, b = -1;
    for (int i = 0; i < 4; ++i) {
        if (kindA == kKinds[i]) a = i;
        if (kindB == kKinds[i]) b = i;
    }
    ASSERT_TRUE(a >= 0 && b >= 0 && a != b) << kindA << " / " << kindB;
    if (a > b) {
        std::swap(a, b);
        std::swap(idA, idB);
    }
    const std::string sql = std::string("INSERT INTO ") + kKinds[a] + "_" + kKinds[b] + "(" + kIds[a] + ", " + kIds[b] +
                            ") VALUES(" + std::to_string(idA) + ", " + std::to_string(idB) + ")";
    EXPECT_EQ(Exec(sql), 0) << sql;
}

// --- The program ------------------------------------------------------------

HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000)); }

HWND StartMainWindow() { return CreateMainWindow(TestInstance()); }

void StopMainWindow() {
    DestroyMainWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    g_History.FreeAll();
    g_pCurrentDialog = nullptr;
}

namespace {

HWND s_hMain = nullptr;
std::unique_ptr<ProgramDatabase> s_pDatabase;
int s_nAnswer = IDOK;

std::vector<std::function<void()>>& PageResets() {
    static std::vector<std::function<void()>> s_Resets;
    return s_Resets;
}

}  // namespace

HWND EnsureProgram() {
    if (s_hMain) return s_hMain;
    // One program per test program, started as the user starts it: logged in.
    s_pDatabase = std::make_unique<ProgramDatabase>();
    s_pDatabase->SetLogin("tester", "secret1");
    {
        DialogScript script;
        script.Then("ID_DLG_LOGIN", LoginWith("secret1"));
        s_hMain = StartMainWindow();
    }
    if (!s_hMain) {
        ADD_FAILURE() << "the main window was not made";
        return nullptr;
    }
    ShowWindow(s_hMain, SW_SHOWNORMAL);
    MoveWindow(s_hMain, 0, 0, 1280, 900, TRUE);
    w32test::WaitForKeyboard(s_hMain);  // where typed keys go
    return s_hMain;
}

ProgramDatabase& Database() {
    EnsureProgram();
    if (g_ODBC.m_hStmt) SQLCloseCursor(g_ODBC.m_hStmt);
    return *s_pDatabase;
}

void ResetToStartPage() {
    for (int i = 0; i < VIEW_COUNT; i++) {
        if (g_ViewTable[i] != &g_Homepage && IsWindowVisible(g_ViewTable[i]->m_hWnd)) g_ViewTable[i]->HideDialog();
    }
    // The record forms keep the tab chosen last from one record to the next;
    // after start-up each shows its first tab.
    RecordFormClass* const forms[] = {&g_Opp_Detail, &g_Acc_Detail, &g_Con_Detail, &g_Tas_Detail};
    for (RecordFormClass* pForm : forms) {
        if (pForm->m_Tab.m_hTab && SendMessageA(pForm->m_Tab.m_hTab, TCM_GETCURSEL, 0, 0) != 0) {
            pForm->m_Tab.SetCurSel(0);
            pForm->m_Tab.OnSelChange();
        }
    }
    g_Homepage.ShowDialog();
    g_pCurrentDialog = &g_Homepage;
    g_History.FreeAll();
    g_History.AllocHead();
    g_History.m_pHead->m_pView = &g_Homepage;
    g_Toolbar.CheckButton(IDC_TB_HOMEPAGE, 1);
}

bool AddPageReset(std::function<void()> reset) {
    PageResets().push_back(std::move(reset));
    return true;
}

void StartFresh() {
    w32test::ClearHooks();
    w32test::CancelSaveDialog();
    w32test::RecordShellExecuteOnly(true);
    w32test::ClearShellExecutes();
    if (!EnsureProgram()) return;
    // The new copy first: the old one's folder goes only after g_ODBC left it.
    auto pDatabase = std::make_unique<ProgramDatabase>();
    ASSERT_EQ(pDatabase->Connect(), 0);
    s_pDatabase = std::move(pDatabase);
    for (const auto& reset : PageResets()) reset();
    ResetToStartPage();
    AnswerBoxes(IDOK);
    w32test::ClearMessageBoxes();
}

// --- Views, toolbar, history --------------------------------------------------

int VisibleViewCount() {
    int n = 0;
    for (int i = 0; i < VIEW_COUNT; i++) n += IsWindowVisible(g_ViewTable[i]->m_hWnd) ? 1 : 0;
    return n;
}

bool IsButtonChecked(int nCommand) { return SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, nCommand, 0) != 0; }

std::string ClassOf(const BaseDialogClass& view) {
    char sz[64] = {};
    GetClassNameA(view.m_hWnd, sz, sizeof sz);
    return sz;
}

std::string StatusText(int nPart) {
    char sz[256] = {};
    SendMessageA(g_StatusBar.m_hStatusBar, SB_GETTEXTA, nPart, (LPARAM)sz);
    return sz;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Back() { g_Toolbar.OnBack(nullptr, 0, 0, 0); }
void Forward() { g_Toolbar.OnForward(nullptr, 0, 0, 0); }
int HistoryCount() { return g_History.Count(); }

// --- Lists and controls -------------------------------------------------------

int RowCount(ListViewClass& list) { return list.GetItemCount(); }

std::string Cell(ListViewClass& list, int row, int column) {
    char sz[512] = "";
    list.GetItemText(row, column, sz, sizeof(sz));
    return sz;
}

int RowCount(HWND hList) { return (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0); }

std::string Cell(HWND hList, int row, int column) {
    char sz[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = sz;
    item.cchTextMax = sizeof(sz);
    SendMessageA(hList, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return sz;
}

std::vector<std::string> Column(HWND hList, int column) {
    std::vector<std::string> v;
    for (int r = 0; r < RowCount(hList); r++) v.push_back(Cell(hList, r, column));
    return v;
}

std::vector<std::string> Column(ListViewClass& list, int column) {
    std::vector<std::string> v;
    for (int r = 0; r < RowCount(list); r++) v.push_back(Cell(list, r, column));
    return v;
}

namespace {

void Notify(HWND hParent, HWND hList, UINT code, int row, int column) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = hList;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(hList);
    nm.hdr.code = code;
    nm.iItem = row;
    nm.iSubItem = column;
    SendMessageA(hParent, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void Notify(BaseDialogClass& page, ListViewClass& list, UINT code, int row, int column) {
    Notify(page.m_hWnd, list.m_hListView, code, row, column);
}

}  // namespace

void DoubleClickRow(HWND hDlg, int nListID, int row) { Notify(hDlg, GetDlgItem(hDlg, nListID), NM_DBLCLK, row, 0); }
void ClickRow(HWND hDlg, int nListID, int row) { Notify(hDlg, GetDlgItem(hDlg, nListID), NM_CLICK, row, 0); }

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

SYSTEMTIME Day(int y, int m, int d) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)y;
    st.wMonth = (WORD)m;
    st.wDay = (WORD)d;
    return st;
}

// --- Message boxes and dialogs --------------------------------------------------

void AnswerBoxes(int answer) {
    s_nAnswer = answer;
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall&) { return s_nAnswer; });
}

std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const w32test::MessageBoxCall& c : w32test::MessageBoxes()) texts.push_back(c.text);
    return texts;
}

std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts = MessageTexts();
    w32test::ClearMessageBoxes();
    return texts;
}

void AnswerSaveDialog(const std::string& path) {
    std::filesystem::remove(path);
    w32test::AnswerSaveDialog(path);
}

namespace {
DialogScript* s_pActiveScript = nullptr;
}

DialogScript::DialogScript() {
    s_pActiveScript = this;
    w32test::SetDialogHook([](HWND hDlg, const std::string& strName) {
        DialogScript* p = s_pActiveScript;
        if (!p) return;
        p->m_Seen.push_back(strName);
        if (p->m_nNext >= p->m_Steps.size()) {
            ADD_FAILURE() << "unexpected dialog " << strName;
            SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        auto& step = p->m_Steps[p->m_nNext++];
        EXPECT_EQ(step.first, strName);
        step.second(hDlg);
    });
}

DialogScript::~DialogScript() {
    w32test::SetDialogHook(nullptr);
    s_pActiveScript = nullptr;
}

DialogScript& DialogScript::Then(const std::string& strTemplate, Step step) {
    m_Steps.emplace_back(strTemplate, std::move(step));
    return *this;
}

void PressButton(HWND hDlg, int nID) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, nID));
}

void SetText(HWND hDlg, int nID, const std::string& strGbk) { SetDlgItemTextA(hDlg, nID, strGbk.c_str()); }

std::string GetText(HWND hDlg, int nID) {
    char sz[1024] = "";
    GetDlgItemTextA(hDlg, nID, sz, sizeof(sz));
    return sz;
}

DialogScript::Step LoginWith(const std::string& strPassword) {
    return [strPassword](HWND hDlg) {
        SetText(hDlg, IDC_LOGIN_PWD, strPassword);
        PressButton(hDlg, IDOK);
    };
}

DialogScript::Step SetLoginAs(const std::string& strName, const std::string& strPassword) {
    return [strName, strPassword](HWND hDlg) {
        SetText(hDlg, IDC_SET_USER, strName);
        SetText(hDlg, IDC_SET_PWD, strPassword);
        SetText(hDlg, IDC_SET_PWD2, strPassword);
        PressButton(hDlg, IDOK);
    };
}

// --- Windows and files ----------------------------------------------------------

void SetClientSize(HWND hWnd, int w, int h) {
    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    const int dx = (rcWindow.right - rcWindow.left) - rcClient.right;
    const int dy = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    SetWindowPos(hWnd, nullptr, 0, 0, w + dx, h + dy, SWP_NOZORDER | SWP_NOMOVE);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string OutputFolder() {
    std::error_code ec;
    const std::string name = std::filesystem::read_symlink("/proc/self/exe", ec).filename().string();
    const std::string folder = std::string(TARVEL_TEST_OUTPUT_ROOT) + "/" + (name.empty() ? "tests" : name) + "/";
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::string GrabFolder() { return OutputFolder(); }

std::string OutputPath(const std::string& name) { return OutputFolder() + name; }

void Grab(BaseDialogClass& page, const std::string& name) {
    w32test::ProcessEvents(0);
    w32test::GrabWindow(page.m_hWnd, OutputPath(name + ".png"));
}

int InkPixels(HWND hWnd, const RECT& rc) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++) {
        for (int x = rc.left; x < rc.right; x++) {
            const COLORREF c = w32test::BackingPixel(hWnd, x, y);
            if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) n++;
        }
    }
    return n;
}

void ExpectFramePainted(BaseDialogClass& page) {
    auto* pFrame = dynamic_cast<PageFrameClass*>(&page);
    ASSERT_NE(pFrame, nullptr) << ViewClassName(&page) << " is no frame page";
    ASSERT_TRUE(IsWindowVisible(page.m_hWnd)) << ViewClassName(&page);
    // The panel spans x 0 to 160 from y 2 to 651, under the menu links.
    const COLORREF kPanel = 0xFFE7CE;
    w32test::WaitFor([&] { return w32test::BackingPixel(page.m_hWnd, 80, 300) == kPanel; });
    EXPECT_EQ(w32test::BackingPixel(page.m_hWnd, 80, 300), kPanel) << ViewClassName(&page);
    EXPECT_EQ(w32test::BackingPixel(page.m_hWnd, 150, 640), kPanel) << ViewClassName(&page);
    // The caption: seven characters of 15 pixels from (10, 22); nothing
    // written right of it.
    if (pFrame->m_hSearchEdit) {
        EXPECT_GT(InkPixels(page.m_hWnd, RECT{10, 22, 10 + 7 * 15, 22 + 15}), 7 * 10) << ViewClassName(&page);
        EXPECT_EQ(InkPixels(page.m_hWnd, RECT{10 + 7 * 15 + 2, 22, 158, 22 + 15}), 0) << ViewClassName(&page);
    }
}

}  // namespace programtest
