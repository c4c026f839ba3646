// Opening, reloading and restoring the pages: the toolbar button each page
// selects, the history entries it adds, and that exactly one page shows.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_StartDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"
#include "views/contacts/Con_StartDialogClass.h"
#include "settings/ExportDialogClass.h"
#include "program/HomepageDialogClass.h"
#include "settings/LoginSettingDialogClass.h"
#include "mail/MailDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"

using namespace programtest;

namespace {

enum Form { GUARDED, ALWAYS, HIDE_FIRST };

struct Opening {
    const char* pszName;  // window class name
    BaseDialogClass* pView;
    int nButton;
    int (*pfnGoto)();  // how the program opens the page
    Form form;
    int nKind;  // kind of the entry it adds
};

int ToolbarContacts() { return g_Toolbar.OnContacts(NULL, 0, 0, 0); }
int ToolbarAccounts() { return g_Toolbar.OnAccounts(NULL, 0, 0, 0); }
int ToolbarTasks() { return g_Toolbar.OnTasks(NULL, 0, 0, 0); }
int ToolbarMail() { return g_Toolbar.OnMail(NULL, 0, 0, 0); }
int ToolbarSetting() { return g_Toolbar.OnSetting(NULL, 0, 0, 0); }
int ToolbarExport() { return g_Toolbar.OnExport(NULL, 0, 0, 0); }

const Opening kOpenings[] = {
    {"Acc_Detail", &g_Acc_Detail, IDC_TB_ACCOUNTS, GotoAcc_DetailNew, ALWAYS, 0},
    {"Acc_Homepage", &g_Acc_Homepage, IDC_TB_ACCOUNTS, GotoAcc_Homepage, ALWAYS, 0},
    {"Acc_ImportantStat", &g_Acc_ImportantStat, IDC_TB_ACCOUNTS, GotoAcc_ImportantStat, GUARDED, 0},
    {"Acc_OpportunitiesStat", &g_Acc_OpportunitiesStat, IDC_TB_ACCOUNTS, GotoAcc_OpportunitiesStat, GUARDED, 0},
    {"Acc_RelationStat", &g_Acc_RelationStat, IDC_TB_ACCOUNTS, GotoAcc_RelationStat, GUARDED, 0},
    {"Acc_TypeStat", &g_Acc_TypeStat, IDC_TB_ACCOUNTS, GotoAcc_TypeStat, GUARDED, 0},
    {"Acc_IndustryStat", &g_Acc_IndustryStat, IDC_TB_ACCOUNTS, GotoAcc_IndustryStat, GUARDED, 0},
    {"Acc_ProvinceStat", &g_Acc_ProvinceStat, IDC_TB_ACCOUNTS, GotoAcc_ProvinceStat, GUARDED, 0},
    {"Acc_DateStat", &g_Acc_DateStat, IDC_TB_ACCOUNTS, GotoAcc_DateStat, GUARDED, 0},
    {"Acc_Start", &g_Acc_Start, IDC_TB_ACCOUNTS, ToolbarAccounts, GUARDED, 0},
    {"Con_Detail", &g_Con_Detail, IDC_TB_CONTACTS, GotoCon_DetailNew, ALWAYS, 0},
    {"Con_Homepage", &g_Con_Homepage, IDC_TB_CONTACTS, GotoCon_Homepage, ALWAYS, 0},
    {"Con_Important", &g_Con_Important, IDC_TB_CONTACTS, GotoCon_Important, GUARDED, 0},
    {"Con_Relation", &g_Con_Relation, IDC_TB_CONTACTS, GotoCon_Relation, GUARDED, 0},
    {"Con_Opportunities", &g_Con_Opportunities, IDC_TB_CONTACTS, GotoCon_Opportunities, GUARDED, 0},
    {"Con_Industry", &g_Con_Industry, IDC_TB_CONTACTS, GotoCon_Industry, GUARDED, 0},
    {"Con_Province", &g_Con_Province, IDC_TB_CONTACTS, GotoCon_Province, GUARDED, 0},
    {"Con_Date", &g_Con_Date, IDC_TB_CONTACTS, GotoCon_Date, GUARDED, 0},
    {"Con_Start", &g_Con_Start, IDC_TB_CONTACTS, ToolbarContacts, GUARDED, 0},
    {"Tas_Detail", &g_Tas_Detail, IDC_TB_TASKS, GotoTas_DetailNew, ALWAYS, 0},
    {"Tas_Homepage", &g_Tas_Homepage, IDC_TB_TASKS, ToolbarTasks, GUARDED, 0},
    {"Tas_Week", &g_Tas_Week, IDC_TB_TASKS, GotoTas_Week, GUARDED, 0},
    {"Tas_Month", &g_Tas_Month, IDC_TB_TASKS, GotoTas_Month, GUARDED, 0},
    {"Tas_ListAll", &g_Tas_ListAll, IDC_TB_TASKS, GotoTas_ListAll, ALWAYS, 0},
    {"Tas_ClosedStat", &g_Tas_ClosedStat, IDC_TB_TASKS, GotoTas_ClosedStat, ALWAYS, 0},
    {"Mail", &g_Mail, IDC_TB_MAIL, ToolbarMail, HIDE_FIRST, 0},
    {"MailSetting", &g_MailSetting, IDC_TB_SETTING, ToolbarSetting, GUARDED, 0},
    {"OptionSetting", &g_OptionSetting, IDC_TB_SETTING, GotoOptionSetting_Important, ALWAYS, 1},
    {"LoginSetting", &g_LoginSetting, IDC_TB_SETTING, GotoLoginSetting, ALWAYS, 0},
    {"Export", &g_Export, IDC_TB_EXPORT, ToolbarExport, HIDE_FIRST, 0},
};

class ViewOpening : public ::testing::TestWithParam<Opening> {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
    }
};

std::string NameOf(const ::testing::TestParamInfo<Opening>& info) { return info.param.pszName; }

void PrintTo(const Opening& o, std::ostream* os) { *os << o.pszName; }

}  // namespace

TEST_P(ViewOpening, OpensWithItsButtonAndOneEntry) {
    const Opening& o = GetParam();
    ASSERT_NE(o.pView->m_hWnd, nullptr);
    EXPECT_EQ(ClassOf(*o.pView), o.pszName);
    EXPECT_EQ(BaseDialogClass::HwndToDialog(o.pView->m_hWnd), o.pView);

    o.pfnGoto();

    EXPECT_EQ(g_pCurrentDialog, o.pView);
    EXPECT_TRUE(IsWindowVisible(o.pView->m_hWnd));
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_TRUE(IsButtonChecked(o.nButton));
    EXPECT_FALSE(IsButtonChecked(IDC_TB_HOMEPAGE));
    EXPECT_TRUE(o.pView->m_bInit) << "controls are built on the first showing";
    ASSERT_EQ(g_History.Count(), 2);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, o.pView);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, o.nKind);
}

TEST_P(ViewOpening, SecondOpeningReloadsOnlyForAlwaysActions) {
    const Opening& o = GetParam();
    o.pfnGoto();
    ASSERT_EQ(g_History.Count(), 2);
    o.pfnGoto();
    // Always actions reload the page in place and add an entry; the record
    // forms keep their one entry while it is current.
    bool bForm = o.pView == &g_Acc_Detail || o.pView == &g_Con_Detail || o.pView == &g_Tas_Detail;
    int nExpected = (o.form == ALWAYS && !bForm && o.pView != &g_OptionSetting) ? 3 : 2;
    EXPECT_EQ(g_History.Count(), nExpected);
    EXPECT_EQ(g_pCurrentDialog, o.pView);
    EXPECT_EQ(VisibleViewCount(), 1);
}

TEST_P(ViewOpening, BackAndForwardRestoreWithoutNewEntries) {
    const Opening& o = GetParam();
    o.pfnGoto();
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Homepage);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_HOMEPAGE));

    g_Toolbar.OnForward(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, o.pView);
    EXPECT_TRUE(IsButtonChecked(o.nButton));
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_EQ(g_History.Count(), 2);
    EXPECT_EQ(g_History.m_pCurrent, g_History.m_pTail);

    // The page restored directly, as Back and Forward do, adds nothing either.
    SendMessageA(o.pView->m_hWnd, UM_RESTOREVIEW, 0, 0);
    EXPECT_EQ(g_History.Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(AllPages, ViewOpening, ::testing::ValuesIn(kOpenings), NameOf);

class PageSwitching : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
    }
};

TEST_F(PageSwitching, HideFirstPagesAreOpenedAfterTheOldPageIsHidden) {
    // The mail page's opening sees itself as the current page already.
    g_Toolbar.OnMail(NULL, 0, 0, 0);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &g_Mail);
    EXPECT_FALSE(IsWindowVisible(g_Homepage.m_hWnd));
}

TEST_F(PageSwitching, ThreeOpeningsTwoBacksAndANewPageDropTheForwardEntries) {
    GotoCon_Important();
    GotoCon_Relation();
    GotoCon_Date();
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Important);
    GotoTas_Week();
    EXPECT_EQ(g_History.Count(), 3);
    g_Toolbar.OnForward(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_Week);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_TASKS));
}

TEST_F(PageSwitching, AToolbarButtonForThePageShownDoesNothing) {
    g_Toolbar.OnSetting(NULL, 0, 0, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_MailSetting);
    int nBefore = g_History.Count();
    g_Toolbar.OnSetting(NULL, 0, 0, 0);
    g_Toolbar.OnExport(NULL, 0, 0, 0);
    g_Toolbar.OnExport(NULL, 0, 0, 0);
    EXPECT_EQ(g_History.Count(), nBefore + 1);
    EXPECT_EQ(g_pCurrentDialog, &g_Export);
}

TEST_F(PageSwitching, FortyThousandEightOpensTheRightPageForEachReceiver) {
    // One value, two meanings: relation counts and with / without opportunities.
    GotoAcc_RelationStat();
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_RelationStat);
    GotoAcc_OpportunitiesStat();
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_OpportunitiesStat);
    GotoCon_Opportunities();
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Opportunities);
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_EQ(g_History.Count(), 4);
}

TEST_F(PageSwitching, AMenuCommandWithAMessageValueDoesNotOpenAPage) {
    g_Toolbar.OnContacts(NULL, 0, 0, 0);
    int nBefore = g_History.Count();
    // 40004 as a menu choice is not UM_OPEN_IMPORTANT.
    SendMessageA(g_Con_Important.m_hWnd, WM_COMMAND, UM_OPEN_IMPORTANT, 0);
    SendMessageA(g_OptionSetting.m_hWnd, WM_COMMAND, UM_OPEN_RELATION, 0);
    EXPECT_EQ(g_History.Count(), nBefore);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Start);
}
