// Every single-line edit of the program's pages whose limit holds more than
// it can show scrolls horizontally: an edit without the style stops at its
// width and the program would store the cut text.
#include <gtest/gtest.h>

#include <string>
#include <strings.h>
#include <vector>

#include "settings/SettingNavigation.h"
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_Navigation.h"
#include "views/opportunities/Opp_Navigation.h"
#include "views/tasks/Tas_Navigation.h"

using namespace programtest;

namespace {

void CollectEdits(HWND parent, std::vector<HWND>* out) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (strcasecmp(cls, "Edit") == 0 && !(GetWindowLongA(h, GWL_STYLE) & ES_MULTILINE)) out->push_back(h);
        CollectEdits(h, out);
    }
}

}  // namespace

TEST(PageEdits, EveryEditWhoseLimitExceedsItsWidthScrollsHorizontally) {
    EnsureProgram();
    ResetToStartPage();
    // Every page builds its controls when first shown.
    for (int (*pfnGoto)() : {GotoAcc_Homepage,      GotoAcc_ImportantStat, GotoAcc_DateStat,
                             GotoAcc_DetailNew,     GotoCon_Homepage,      GotoCon_Important,
                             GotoCon_Date,          GotoCon_DetailNew,     GotoOpp_Homepage,
                             GotoOpp_ImportantStat, GotoOpp_PhaseStat,     GotoOpp_DateStat,
                             GotoOpp_DetailNew,     GotoTas_Homepage,      GotoTas_Week,
                             GotoTas_Month,         GotoTas_ListAll,       GotoTas_ClosedStat,
                             GotoTas_DetailNew,     GotoMailSetting,       GotoOptionSetting_Important,
                             GotoLoginSetting})
        pfnGoto();
    g_Toolbar.OnMail(NULL, 0, 0, 0);
    g_Toolbar.OnExport(NULL, 0, 0, 0);
    std::vector<HWND> edits;
    CollectEdits(g_hMainWnd, &edits);
    EXPECT_GE(edits.size(), 40u);
    for (HWND h : edits) {
        RECT rc{};
        GetClientRect(h, &rc);
        const LONG limit = (LONG)SendMessageA(h, EM_GETLIMITTEXT, 0, 0);
        HDC dc = GetDC(h);
        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(h, WM_GETFONT, 0, 0));
        SIZE one{};
        GetTextExtentPoint32A(dc, "0", 1, &one);  // a half-width character
        SelectObject(dc, old);
        ReleaseDC(h, dc);
        const bool scrolls = GetWindowLongA(h, GWL_STYLE) & ES_AUTOHSCROLL;
        char cls[64] = "";
        GetClassNameA(GetParent(h), cls, sizeof cls);
        // The forms are in their new-record mode: a read-only edit here is
        // one the user never types into (a value the form computes).
        const bool readOnly = GetWindowLongA(h, GWL_STYLE) & ES_READONLY;
        if (!readOnly && (long long)limit * one.cx > rc.right) {
            EXPECT_TRUE(scrolls) << cls << " " << GetDlgCtrlID(h) << ": limit " << limit << ", " << rc.right
                                 << " pixels wide";
        }
    }
}
