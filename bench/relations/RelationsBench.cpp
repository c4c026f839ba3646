// The relation tabs and the record pickers on large data. An opportunity
// linked to 10,000 tasks and to 10,000 contacts: switching the opportunity
// form to its 计划日志 or 联系人 tab (the page made, its query run, its list
// filled, the event loop run to idle). A contact picker over 100,000
// contacts: a two-character Chinese keyword search (query and list filled, to
// idle). Each turn about with the plain Qt program and a plain sqlite3 read
// of the same statements in this process. The shared seeded file: Chinese
// names mixed with Latin letters and digits.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/common/PageBench.h"
#include "dialogs/RecordPickers.h"
#include "platform/gbk/gbk.h"
#include "program/main.h"
#include "store/Con_DetailClass.h"
#include "store/Tas_DetailClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "win32_commctrl.h"

namespace {

constexpr int kLinked = 10000;  // tasks and contacts of the shown opportunity
constexpr int kTasks = 2 * kLinked;
constexpr int kTasksTab = 0, kContactsTab = 1, kAccountsTab = 2;

std::string g_strKeyword;  // GBK: a surname and a given name, about one contact in 50
int g_nKeywordMatches = 0;
ULONG g_ulOpp = 0;
HWND g_hPicker = nullptr;

using bench::TurnToIdle;

// The shared contacts (100,000, each working for one of 20,000 accounts) and
// 20,000 tasks, and one opportunity linked to every tenth contact (under its
// account), every second task and three accounts.
bool MakeFile() {
    static bench::SeededFile file("relations");
    if (!file.Fill(bench::Records::Contacts, bench::kContacts) || !file.Fill(bench::Records::Tasks, kTasks))
        return false;
    sqlite3* db = nullptr;
    if (sqlite3_open(file.Path().c_str(), &db) != SQLITE_OK) return false;
    const char* const kLinks[] = {
        "BEGIN",
        "INSERT INTO opportunities(opp_subject, opp_create_date, opp_die_date, opp_estimate_sale, opp_important, "
        "opp_phase, opp_recent_contact_date, opp_private, opp_succeed_probability) VALUES('北京塔维尔 ERP 升级', "
        "'2024-01-10', '2024-12-31', 120000, '高', '商务谈判', '2024-02-01', 0, 60)",
        "INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) SELECT (SELECT MAX(opp_id) FROM opportunities), "
        "con_id, acc_id FROM accounts_contacts WHERE con_id % 10 = 0",
        "INSERT INTO opportunities_tasks(opp_id, tas_id) SELECT (SELECT MAX(opp_id) FROM opportunities), tas_id "
        "FROM tasks WHERE tas_id % 2 = 0",
        "INSERT INTO opportunities_accounts(opp_id, acc_id) SELECT (SELECT MAX(opp_id) FROM opportunities), acc_id "
        "FROM accounts WHERE acc_id <= 3",
        "COMMIT",
    };
    bool ok = true;
    for (const char* pszSql : kLinks) ok = ok && sqlite3_exec(db, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    g_ulOpp = (ULONG)file.Scalar("SELECT MAX(opp_id) FROM opportunities");
    g_strKeyword = gbk::FromUtf8("张伟");
    if (!ok || !bench::ConnectStore(file.Path())) return false;
    // The rows the picker must show: those of the bare query.
    Con_DetailClass con;
    snprintf(con.m_szKeyword, sizeof(con.m_szKeyword), "%s", g_strKeyword.c_str());
    con.m_iQueryMode = 1;
    g_nKeywordMatches = con.ccd_GetAllContacts();
    con.ccd_FreeList();
    return g_nKeywordMatches > 0;
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

// Switching from the accounts tab (untimed) to the tab given (0 tasks, 1
// contacts), to idle; the page must show every link.
void BM_SwitchToRelationTab(benchmark::State& state) {
    const int nTab = (int)state.range(0);
    bench::RaceYardsticks(
        state,
        [nTab] {
            ShowTab(nTab);
            return Rows(ListOf(g_Opp_Detail.m_Tab.m_hPage)) == kLinked;
        },
        [] { ShowTab(kAccountsTab); });
}

// --- the picker -----------------------------------------------------------------

void BM_PickerKeywordSearch(benchmark::State& state) {
    SetDlgItemTextA(g_hPicker, IDC_PICK_KEYWORD, g_strKeyword.c_str());
    bench::RaceYardsticks(state, [] {
        SendMessageA(g_hPicker, WM_COMMAND, MAKEWPARAM(IDC_PICK_SEARCH, BN_CLICKED), 0);
        TurnToIdle();
        return Rows(ListOf(g_hPicker)) == g_nKeywordMatches;
    });
}

BENCHMARK(BM_SwitchToRelationTab)
    ->Arg(kTasksTab)
    ->Arg(kContactsTab)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(7);
BENCHMARK(BM_PickerKeywordSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunPageBenchmarks(argc, argv, [] { return MakeFile() && MakeProgram(); });
}
