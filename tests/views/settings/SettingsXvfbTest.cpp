// One walk through the settings pages with real input events on a real X
// server: 选项设置, the mail settings saved, a new phase with its probability
// in the category editor, then that phase chosen in a new opportunity.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/settings_ids.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;

namespace {
void TypeInto(HWND h, const std::string& text) {
    SetText(h, "");
    w32test::Click(h);
    w32test::WaitFor([h] { return GetFocus() == h; });
    w32test::TypeText(text, h);
    w32test::WaitFor([h, text] { return Text(h) == text; });
}

int ComboIndex(HWND hCombo, const std::string& text) {
    const int n = (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        char sz[256] = "";
        SendMessageA(hCombo, CB_GETLBTEXT, i, (LPARAM)sz);
        if (text == sz) return i;
    }
    return -1;
}
}  // namespace

TEST(SettingsXvfb, MailSettingsThenANewPhaseInTheOpportunityForm) {
    StartFresh();
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_SETTING);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_MailSetting; });
    ASSERT_EQ(g_pCurrentDialog, &g_MailSetting);

    TypeInto(g_MailSetting.Field(IDC_MSET_SMTPSERVER), "smtp.example.com");
    TypeInto(g_MailSetting.Field(IDC_MSET_PORT), "2525");
    w32test::Click(g_MailSetting.Field(IDC_MSET_SAVE));
    w32test::WaitFor([] { return QueryText("SELECT set_smtpserver FROM setting") == "smtp.example.com"; });
    EXPECT_EQ(QueryText("SELECT set_smtpserver FROM setting"), "smtp.example.com");
    EXPECT_EQ(QueryText("SELECT set_port FROM setting"), "2525");
    Grab(g_MailSetting, "mail_setting_xvfb");

    w32test::Click(g_MailSetting.m_hMenuButtons[4]);  // 项目阶段设置
    w32test::WaitFor([] { return g_pCurrentDialog == &g_OptionSetting; });
    ASSERT_EQ(g_pCurrentDialog, &g_OptionSetting);
    ASSERT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_PHASE);
    w32test::Click(g_OptionSetting.m_hAddButton);
    w32test::WaitFor([] { return Enabled(g_OptionSetting.m_hOkButton); });
    TypeInto(g_OptionSetting.m_hValueEdit, "样品测试");
    TypeInto(g_OptionSetting.m_hProbabilityEdit, "65");
    w32test::Click(g_OptionSetting.m_hOkButton);
    w32test::WaitFor([] { return !Enabled(g_OptionSetting.m_hOkButton); });
    EXPECT_EQ(QueryInt("SELECT pha_succeed_probability FROM phase WHERE pha_description='样品测试'"), 65);
    const std::vector<std::string> shown = Column(g_OptionSetting.m_ValueList, 0);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "样品测试"), shown.end());
    Grab(g_OptionSetting, "option_setting_xvfb");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; });
    w32test::Click(g_Opp_Start.m_hMenuButtons[0]);  // 添加项目机会
    w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Detail; });
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    TypeInto(g_Opp_Detail.m_hSubject, "试用项目");
    const int nPhase = ComboIndex(g_Opp_Detail.m_hPhase, "样品测试");
    ASSERT_GE(nPhase, 0);
    w32test::SelectComboItem(g_Opp_Detail.m_hPhase, nPhase);
    w32test::WaitFor([] { return Text(g_Opp_Detail.m_hProbability) == "65%"; });
    EXPECT_EQ(Text(g_Opp_Detail.m_hProbability), "65%");
    w32test::Click(g_Opp_Detail.m_hSaveButton);
    w32test::WaitFor([] { return QueryInt("SELECT COUNT(*) FROM opportunities WHERE opp_subject='试用项目'") == 1; });
    EXPECT_EQ(QueryText("SELECT opp_phase FROM opportunities WHERE opp_subject='试用项目'"), "样品测试");
    EXPECT_EQ(QueryInt("SELECT opp_succeed_probability FROM opportunities WHERE opp_subject='试用项目'"), 65);
    Grab(g_Opp_Detail, "opp_detail_new_phase_xvfb");
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
}
