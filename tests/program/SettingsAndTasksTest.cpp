// The lookup-category editor's lists and the day page's date.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "program/HomepageDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"

using namespace programtest;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
    }
};

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

}  // namespace

TEST_F(Settings, EachListActionReloadsTheEditorWhileItIsShown) {
    struct {
        int (*pfnGoto)();
        int nMode;
    } const actions[] = {
        {GotoOptionSetting_Important, OptionSettingDialogClass::MODE_IMPORTANT},
        {GotoOptionSetting_Relation, OptionSettingDialogClass::MODE_RELATION},
        {GotoOptionSetting_Province, OptionSettingDialogClass::MODE_PROVINCE},
        {GotoOptionSetting_Phase, OptionSettingDialogClass::MODE_PHASE},
        {GotoOptionSetting_Industry, OptionSettingDialogClass::MODE_INDUSTRY},
        {GotoOptionSetting_Type, OptionSettingDialogClass::MODE_TYPE},
    };
    int nCount = g_History.Count();
    for (const auto& a : actions) {
        a.pfnGoto();
        EXPECT_EQ(g_pCurrentDialog, &g_OptionSetting);
        EXPECT_EQ(g_OptionSetting.m_nMode, a.nMode);
        EXPECT_EQ(g_History.Count(), ++nCount);
        EXPECT_EQ(g_History.m_pCurrent->m_nKind, a.nMode + 1);
        EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
    }
    // The list already shown adds no second entry.
    GotoOptionSetting_Type();
    EXPECT_EQ(g_History.Count(), nCount);
}

TEST_F(Settings, FortyThousandEightIsTheRelationListHere) {
    SendMessageA(g_OptionSetting.m_hWnd, UM_OPEN_HASOPP, 0, 0);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_RELATION);
    EXPECT_EQ(OptionSettingDialogClass::ModeOfMessage(40008), OptionSettingDialogClass::MODE_RELATION);
    EXPECT_EQ(OptionSettingDialogClass::ModeOfMessage(UM_OPENVIEW), -1);
}

TEST_F(Settings, BackRestoresTheListOfTheEntry) {
    GotoOptionSetting_Phase();
    GotoOptionSetting_Industry();
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_PHASE);
    g_Toolbar.OnForward(NULL, 0, 0, 0);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_INDUSTRY);
    EXPECT_EQ(g_History.Count(), 3);
}

TEST_F(Settings, TheSettingsMenuMovesBetweenTheThreeSettingsPages) {
    g_Toolbar.OnSetting(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_MailSetting);
    GotoLoginSetting();
    GotoOptionSetting_Relation();
    GotoMailSetting();
    EXPECT_EQ(g_pCurrentDialog, &g_MailSetting);
    GotoMailSetting();  // guarded: nothing
    EXPECT_EQ(g_History.Count(), 5);
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
}

TEST_F(Settings, TodayResetsTheDayPageEvenWhileItIsShown) {
    g_Toolbar.OnTasks(NULL, 0, 0, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Homepage);
    SYSTEMTIME stOld = {};
    stOld.wYear = 2001;
    stOld.wMonth = 2;
    stOld.wDay = 3;
    g_Tas_Homepage.m_stDate = stOld;

    GotoTas_Homepage();  // guarded: keeps the date
    EXPECT_TRUE(SameDay(g_Tas_Homepage.m_stDate, stOld));

    SYSTEMTIME stBefore, stAfter;
    GetLocalTime(&stBefore);
    GotoTas_HomepageToday();
    GetLocalTime(&stAfter);
    EXPECT_TRUE(SameDay(g_Tas_Homepage.m_stDate, stBefore) || SameDay(g_Tas_Homepage.m_stDate, stAfter));
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &g_Tas_Homepage);
}

TEST_F(Settings, BackToTheDayPageShowsToday) {
    g_Toolbar.OnTasks(NULL, 0, 0, 0);
    SYSTEMTIME stFirst = g_Tas_Homepage.m_stDate;
    GotoTas_Week();
    g_Tas_Homepage.m_stDate.wYear = 1999;
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_Homepage);
    // The entry keeps no date: Back lists today.
    SYSTEMTIME stNow;
    GetLocalTime(&stNow);
    EXPECT_TRUE(SameDay(g_Tas_Homepage.m_stDate, stNow) || SameDay(g_Tas_Homepage.m_stDate, stFirst));
    EXPECT_NE(g_Tas_Homepage.m_stDate.wYear, 1999);
}
