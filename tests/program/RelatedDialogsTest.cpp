// The globals shared by the record forms and their relation pages, and the
// two new-record dialogs of the account form's pages.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "dialogs/RelatedPages.h"
#include "shell/RelatingGlobals.h"

#include <cstring>
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
    DLGPROC procs[] = {
        RelatedTasksPageProc_OppDetail,         RelatedContactsPageProc_OppDetail,
        RelatedAccountsPageProc_OppDetail,      RelatedTasksPageProc_AccDetail,
        RelatedContactsPageProc_AccDetail,      RelatedOpportunitiesPageProc_AccDetail,
        RelatedTasksPageProc_ConDetail,         RelatedOpportunitiesPageProc_ConDetail,
        RelatedOpportunitiesPageProc_TasDetail, RelatedContactsPageProc_TasDetail,
        RelatedAccountsPageProc_TasDetail,
    };
    for (DLGPROC proc : procs) {
        g_ulRelatingID = 41;
        HWND hPage = CreateDialogParamA(g_hInstance, IDD_RELATING, g_hMainWnd, proc, 0);
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
        DestroyWindow(hPage);
    }
    g_ulRelatingID = 0;
    EXPECT_EQ(RelatedPageLoadedID(NULL), 0u);
}
