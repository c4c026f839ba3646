// The relation tabs and the record pickers on large data. An opportunity
// linked to 10,000 tasks and to 10,000 contacts: switching the opportunity
// form to its 计划日志 or 联系人 tab (the page made, its query run, its list
// filled, the event loop run to idle) against the bare store query the page
// runs (ctd_GetByOpportunity / ccd_GetByOpportunity, nodes freed). A contact
// picker over 100,000 contacts: a two-character Chinese keyword search (query
// and list filled, to idle) against the bare keyword query. Goal: each within
// 2x of its bare query. Chinese names mixed with Latin letters and digits.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QtWidgets/QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include "dialogs/RecordPickers.h"
#include "platform/gbk/gbk.h"
#include "program/main.h"
#include "store/Con_DetailClass.h"
#include "store/ODBCClass.h"
#include "store/Tas_DetailClass.h"
#include "views/RelatingGlobals.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "win32_commctrl.h"

namespace {

constexpr int kContacts = 100000;
constexpr int kAccounts = 20000;
constexpr int kLinked = 10000;  // tasks and contacts of the shown opportunity
constexpr int kTasks = 20000;
constexpr int kTasksTab = 0, kContactsTab = 1, kAccountsTab = 2;

std::string g_strFolder;
std::string g_strKeyword;  // GBK: a surname and a given name, one contact in 50
int g_nKeywordMatches = 0;
ULONG g_ulOpp = 0;
HWND g_hPicker = nullptr;

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静"};
const char* const kImportant[] = {"高", "中", "低"};
const char* const kRelation[] = {"客户", "潜在客户", "合作伙伴", "供应商", "竞争对手", "其他"};
const char* const kProvince[] = {"北京", "上海", "广东", "江苏", "浙江", "四川", "湖北", "山东"};
const char* const kSubjects[] = {"拜访", "电话沟通", "发送报价", "ERP 演示", "合同评审", "IBM 培训", "回款跟进"};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Lets the event loop run until the posted work (model reset, layout, paint) is done.
void TurnToIdle() {
    MSG msg;
    for (int i = 0; i < 3; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        QApplication::processEvents();
    }
}

// A fresh copy of the database filled with plain SQLite in one transaction:
// accounts, contacts (each of an account), tasks, and the opportunity shown.
bool FillDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    Exec(db, "BEGIN");
    sqlite3_stmt* st = nullptr;
    char sz[128], szDate[16];
    sqlite3_prepare_v2(db,
                       "INSERT INTO accounts(acc_id, acc_name, acc_important, acc_create_date, "
                       "acc_recent_contact_date, acc_private) VALUES(?, ?, '中', '2020-01-01', '2020-01-01', 0)",
                       -1, &st, nullptr);
    for (int i = 1; i <= kAccounts; i++) {
        snprintf(sz, sizeof(sz), "%s客户单位 Co.%05d", kProvince[i % 8], (i * 7919) % kAccounts);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, sz, -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exec(db,
         "INSERT INTO opportunities(opp_id, opp_subject, opp_create_date, opp_die_date, opp_estimate_sale, "
         "opp_important, opp_phase, opp_recent_contact_date, opp_private, opp_succeed_probability) "
         "VALUES(1, '北京塔维尔 ERP 升级', '2024-01-10', '2024-12-31', 120000, '高', '商务谈判', '2024-02-01', 0, 60)");
    sqlite3_prepare_v2(db,
                       "INSERT INTO contacts(con_id, con_name, con_nickname, con_description, con_email, "
                       "con_telephone, con_department_title, con_important, con_relation, con_province, "
                       "con_create_date, con_recent_contact_date, con_private) VALUES(?, ?, ?, '一段简短的说明', "
                       "?, '010-12345678', '采购部 经理', ?, ?, ?, ?, ?, 0)",
                       -1, &st, nullptr);
    sqlite3_stmt* member = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO accounts_contacts(acc_id, con_id) VALUES(?, ?)", -1, &member, nullptr);
    sqlite3_stmt* oppLink = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(1, ?, ?)", -1, &oppLink,
                       nullptr);
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
        const int acc = 1 + i % kAccounts;
        sqlite3_bind_int(member, 1, acc);
        sqlite3_bind_int(member, 2, i);
        sqlite3_step(member);
        sqlite3_reset(member);
        if (i % (kContacts / kLinked) == 0) {
            sqlite3_bind_int(oppLink, 1, i);
            sqlite3_bind_int(oppLink, 2, acc);
            sqlite3_step(oppLink);
            sqlite3_reset(oppLink);
        }
        if (k % 10 == 2 && (k / 10) % 5 == 0) g_nKeywordMatches++;  // 张伟
    }
    sqlite3_finalize(oppLink);
    sqlite3_finalize(member);
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db,
                       "INSERT INTO tasks(tas_id, tas_subject, tas_date, tas_time, tas_outlay, tas_description, "
                       "tas_private, tas_remind, tas_closed) VALUES(?, ?, ?, ?, ?, '客户要求报价', 0, 0, ?)",
                       -1, &st, nullptr);
    sqlite3_stmt* taskLink = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO opportunities_tasks(opp_id, tas_id) VALUES(1, ?)", -1, &taskLink, nullptr);
    for (int i = 1; i <= kTasks; i++) {
        snprintf(sz, sizeof(sz), "%s %s%d", kSubjects[i % 7], kSurnames[i % 10], i % 997);
        snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + i % 15, 1 + i % 12, 1 + i % 28);
        char szTime[16];
        snprintf(szTime, sizeof(szTime), "%02d:%02d:00", 8 + i % 10, i % 60);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, szTime, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 5, (i % 50) * 12.5);
        sqlite3_bind_int(st, 6, i % 2);
        sqlite3_step(st);
        sqlite3_reset(st);
        if (i % (kTasks / kLinked) == 0) {
            sqlite3_bind_int(taskLink, 1, i);
            sqlite3_step(taskLink);
            sqlite3_reset(taskLink);
        }
    }
    sqlite3_finalize(taskLink);
    sqlite3_finalize(st);
    // A few accounts on the third tab.
    Exec(db, "INSERT INTO opportunities_accounts(opp_id, acc_id) VALUES(1, 1), (1, 2), (1, 3)");
    const bool ok = Exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

bool MakeDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-relbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl + "/";
    const std::string path = g_strFolder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    if (!FillDatabase(path)) return false;
    g_strKeyword = gbk::FromUtf8("张伟");
    g_ulOpp = 1;

    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(path) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return false;
    memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

// The program's bars and views in a plain main window (no login), the
// opportunity form showing the linked opportunity, and a contact picker of
// the opportunity's contacts page opened modeless on it.
bool MakeProgram() {
    g_hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = g_hInstance;
    wc.lpszClassName = "RelBenchMain";
    RegisterClassA(&wc);
    g_hMainWnd = CreateWindowExA(0, "RelBenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                                 g_hInstance, nullptr);
    if (!g_hMainWnd || CreateBars(g_hMainWnd) != 0 || CreateViews(g_hMainWnd) != 0) return false;
    ShowWindow(g_hMainWnd, SW_SHOW);
    const ULONG ulID = g_ulOpp;
    if (HandOverToForm(&g_Opp_Detail, &ulID, 1, 0, "bench") != 0) return false;
    TurnToIdle();
    g_hPicker =
        CreateDialogParamA(g_hInstance, IDD_SELECT_OBJECT, g_hMainWnd, SelectContactDlgProc_OppDetailContacts, 0);
    if (!g_hPicker) return false;
    ShowWindow(g_hPicker, SW_SHOW);
    TurnToIdle();
    return true;
}

// The list a page or picker shows (its first list view), or null.
HWND ListOf(HWND hParent) {
    for (HWND h = hParent ? GetWindow(hParent, GW_CHILD) : nullptr; h; h = GetWindow(h, GW_HWNDNEXT)) {
        char sz[64] = "";
        GetClassNameA(h, sz, sizeof sz);
        if (strcmp(sz, WC_LISTVIEWA) == 0) return h;
    }
    return nullptr;
}
int Rows(HWND hList) { return hList ? (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) : -1; }

void ShowTab(int nTab) {
    g_Opp_Detail.m_Tab.SetCurSel(nTab);
    g_Opp_Detail.m_Tab.OnSelChange();
    TurnToIdle();
}

// --- the relation tabs ---------------------------------------------------------

void BM_BareTasksOfOpportunity(benchmark::State& state) {
    Tas_DetailClass tas;
    for (auto _ : state) {
        const int n = tas.ctd_GetByOpportunity(g_ulOpp);
        tas.ctd_FreeList();
        if (n != kLinked) state.SkipWithError("query failed");
    }
}

void BM_BareContactsOfOpportunity(benchmark::State& state) {
    Con_DetailClass con;
    for (auto _ : state) {
        const int n = con.ccd_GetByOpportunity(g_ulOpp);
        con.ccd_FreeList();
        if (n != kLinked) state.SkipWithError("query failed");
    }
}

// Switching from the accounts tab to the tab given (the switch away untimed).
void BM_SwitchToRelationTab(benchmark::State& state) {
    const int nTab = (int)state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        ShowTab(kAccountsTab);
        state.ResumeTiming();
        ShowTab(nTab);
    }
    // The placeholder pages have no list yet; a real page must show every link.
    const int n = Rows(ListOf(g_Opp_Detail.m_Tab.m_hPage));
    if (n >= 0 && n != kLinked) state.SkipWithError("list not filled");
    state.SetLabel(nTab == kTasksTab ? "tasks tab" : "contacts tab");
}

// --- the picker -----------------------------------------------------------------

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

void BM_PickerKeywordSearch(benchmark::State& state) {
    SetDlgItemTextA(g_hPicker, IDC_PICK_KEYWORD, g_strKeyword.c_str());
    for (auto _ : state) {
        SendMessageA(g_hPicker, WM_COMMAND, MAKEWPARAM(IDC_PICK_SEARCH, BN_CLICKED), 0);
        TurnToIdle();
    }
    if (Rows(ListOf(g_hPicker)) != g_nKeywordMatches) state.SkipWithError("list not filled");
}

BENCHMARK(BM_BareTasksOfOpportunity)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SwitchToRelationTab)->Arg(kTasksTab)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareContactsOfOpportunity)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SwitchToRelationTab)->Arg(kContactsTab)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BareKeyword)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PickerKeywordSearch)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setlocale(LC_NUMERIC, "C");
    if (!MakeDatabase()) {
        fprintf(stderr, "cannot make the database\n");
        return 1;
    }
    if (!MakeProgram()) {
        fprintf(stderr, "cannot make the opportunity form and the picker\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyWindow(g_hPicker);
    std::filesystem::remove_all(g_strFolder);
    return 0;
}
