// The globals shared by the record forms and their relation pages, and the
// two new-record dialogs of the account form's pages.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "dialogs/RelatedPages.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <cstring>
#include <iterator>
#include <string>

using namespace programtest;

namespace {

class RelatedDialogs : public ::testing::Test {
protected:
    void SetUp() override { EnsureProgram(); }

    // A page made from the relation template with dialog procedure proc,
    // holding an edit with id nID, then initialised again so the procedure
    // finds the edit.
    HWND MakeWithEdit(DLGPROC proc, int nID) {
        HWND hDlg = CreateDialogParamA(g_hInstance, IDD_RELATING, g_hMainWnd, proc, 0);
        if (!hDlg) return NULL;
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, hDlg, (HMENU)(INT_PTR)nID, g_hInstance,
                        NULL);
        SendMessageA(hDlg, WM_INITDIALOG, 0, 0);
        return hDlg;
    }

    std::string Text(HWND hDlg, int nID) {
        char sz[256] = {};
        GetDlgItemTextA(hDlg, nID, sz, sizeof sz);
        return sz;
    }
};

}  // namespace

TEST_F(RelatedDialogs, TheAccountNameHasOneBufferUnderBothNames) {
    SetRelatingName(g_szRelatingAccountName, "北京客户");
    EXPECT_STREQ(g_szRelatingAccName, "北京客户");
    EXPECT_EQ((void*)g_szRelatingAccountName, (void*)g_szRelatingAccName);
}

TEST_F(RelatedDialogs, ANameTooLongIsCutBetweenCharacters) {
    std::string s(254, 'a');
    s += "中文";
    SetRelatingName(g_szRelatingName, s.c_str());
    EXPECT_EQ(strlen(g_szRelatingName), 254u);
    SetRelatingName(g_szRelatingName, nullptr);
    EXPECT_STREQ(g_szRelatingName, "");
}

TEST_F(RelatedDialogs, NewTaskStartsWithTheAccountsName) {
    SetRelatingName(g_szRelatingName, "塔维尔");
    HWND hDlg = MakeWithEdit(NewTaskDlgProc_AccDetail, IDC_NEWTASK_TITLE);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(Text(hDlg, IDC_NEWTASK_TITLE), "塔维尔");
    DestroyWindow(hDlg);
}

TEST_F(RelatedDialogs, NewContactTakesTheAccountOnlyForAStoredAccount) {
    SetRelatingName(g_szRelatingAccountName, "客户甲");
    g_ulRelatingID = 0;
    HWND hDlg = MakeWithEdit(NewContactDlgProc_AccDetail, IDC_NEWCONTACT_ACCOUNT);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(Text(hDlg, IDC_NEWCONTACT_ACCOUNT), "");
    DestroyWindow(hDlg);

    g_ulRelatingID = 12;
    hDlg = MakeWithEdit(NewContactDlgProc_AccDetail, IDC_NEWCONTACT_ACCOUNT);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(Text(hDlg, IDC_NEWCONTACT_ACCOUNT), "客户甲");
    DestroyWindow(hDlg);
    g_ulRelatingID = 0;
}

TEST_F(RelatedDialogs, EveryRelationPageLoadsForTheRecordAndReloadsOnRequest) {
    // The eleven pages, each made by its form's tab control as a change of
    // tab makes it.
    const DLGPROC procs[] = {
        RelatedTasksPageProc_OppDetail,         RelatedContactsPageProc_OppDetail,
        RelatedAccountsPageProc_OppDetail,      RelatedTasksPageProc_AccDetail,
        RelatedContactsPageProc_AccDetail,      RelatedOpportunitiesPageProc_AccDetail,
        RelatedTasksPageProc_ConDetail,         RelatedOpportunitiesPageProc_ConDetail,
        RelatedOpportunitiesPageProc_TasDetail, RelatedContactsPageProc_TasDetail,
        RelatedAccountsPageProc_TasDetail,
    };
    RecordFormClass* const forms[] = {&g_Opp_Detail, &g_Acc_Detail, &g_Con_Detail, &g_Tas_Detail};
    size_t nPage = 0;
    for (RecordFormClass* pForm : forms) {
        // A form builds its controls when it is first shown.
        if (!pForm->m_bInit) pForm->InitDialog(pForm->m_hWnd);
        TabControlClass& tab = pForm->m_Tab;
        ASSERT_GT(tab.m_nPages, 0) << ViewClassName(pForm);
        for (int i = 0; i < tab.m_nPages; i++, nPage++) {
            SCOPED_TRACE(std::string(ViewClassName(pForm)) + " tab " + std::to_string(i));
            ASSERT_LT(nPage, std::size(procs));
            EXPECT_EQ(tab.m_Pages[i].pfnDialogProc, procs[nPage]);
            g_ulRelatingID = 41;
            tab.SetCurSel(i);
            tab.OnSelChange();
            HWND hPage = tab.m_hPage;
            ASSERT_NE(hPage, nullptr);
            EXPECT_EQ(RelatedPageLoadedID(hPage), 41u);
            g_ulRelatingID = 42;
            SendMessageA(hPage, UM_RELOADRELATED, 0, 0);
            EXPECT_EQ(RelatedPageLoadedID(hPage), 42u);
            // 40012 as a menu choice is no reload (on a blank form, where no
            // popup choice acts).
            g_ulRelatingID = 0;
            SendMessageA(hPage, WM_COMMAND, UM_RELOADRELATED, 0);
            EXPECT_EQ(RelatedPageLoadedID(hPage), 42u);
        }
        tab.SetCurSel(0);
        tab.OnSelChange();
    }
    EXPECT_EQ(nPage, std::size(procs));
    g_ulRelatingID = 0;
    EXPECT_EQ(RelatedPageLoadedID(NULL), 0u);
}
