// The mail-settings page and the settings menu the three settings pages share.
#include <gtest/gtest.h>

#include "resources/settings_ids.h"
#include "settings/LoginSettingDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

using namespace programtest;

namespace {

class MailSetting : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        g_Toolbar.OnSetting(nullptr, 0, 0, 0);
        ASSERT_EQ(g_pCurrentDialog, &g_MailSetting);
    }
    HWND F(int id) { return g_MailSetting.Field(id); }
    void Check(int id, bool b) { SendMessageA(F(id), BM_SETCHECK, b ? BST_CHECKED : BST_UNCHECKED, 0); }
    bool Checked(int id) { return SendMessageA(F(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::string Stored(const char* col) {
        return QueryText(std::string("SELECT ") + col + " FROM setting WHERE set_id=1");
    }
};

// What the eight entries say and where they lead, on each settings page.
struct MenuCase {
    SettingPageClass* pPage;
    int ids[8];
};

}  // namespace

TEST_F(MailSetting, EveryFieldRoundTripsWithChineseAndQuotes) {
    Database().SetLogin("tester", "secret1");
    SetText(F(IDC_MSET_NAME), "张'三");
    SetText(F(IDC_MSET_EMAIL), "zhang@example.com");
    SetText(F(IDC_MSET_SMTPSERVER), "smtp.例子.com");
    Check(IDC_MSET_ESMTP, true);
    SetText(F(IDC_MSET_USER), "o'brien");
    SetText(F(IDC_MSET_PASSWORD), "pa'ss 密码");
    SetText(F(IDC_MSET_PORT), "465");
    Check(IDC_MSET_SSL, true);
    SetText(F(IDC_MSET_AGAINTIME), "12");
    SetText(F(IDC_MSET_SIGN), "此致\r\n敬礼 -- 'Tarvel' \"团队\"");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());

    EXPECT_EQ(Stored("set_name"), "张'三");
    EXPECT_EQ(Stored("set_smtpserver"), "smtp.例子.com");
    EXPECT_EQ(Stored("set_user"), "o'brien");
    EXPECT_EQ(Stored("set_pwd"), "pa'ss 密码");
    EXPECT_EQ(Stored("set_port"), "465");
    EXPECT_EQ(QueryInt("SELECT set_esmtp FROM setting"), 1);
    EXPECT_EQ(QueryInt("SELECT set_ssl FROM setting"), 1);
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), 12);
    EXPECT_EQ(Stored("set_sign"), "此致\r\n敬礼 -- 'Tarvel' \"团队\"");
    // The login is another thing: untouched.
    EXPECT_EQ(Stored("set_loginname"), "tester");

    // Shown again from the file after another page.
    GotoLoginSetting();
    for (int id : {IDC_MSET_NAME, IDC_MSET_USER, IDC_MSET_SIGN, IDC_MSET_AGAINTIME}) SetText(F(id), "");
    GotoMailSetting();
    EXPECT_EQ(Text(F(IDC_MSET_NAME)), "张'三");
    EXPECT_EQ(Text(F(IDC_MSET_USER)), "o'brien");
    EXPECT_EQ(Text(F(IDC_MSET_SIGN)), "此致\r\n敬礼 -- 'Tarvel' \"团队\"");
    EXPECT_EQ(Text(F(IDC_MSET_AGAINTIME)), "12");
    EXPECT_TRUE(Checked(IDC_MSET_SSL));
    EXPECT_TRUE(Checked(IDC_MSET_ESMTP));
}

TEST_F(MailSetting, EmptyFieldsStoreEmptyTextsAndNoPause) {
    for (int id : {IDC_MSET_NAME, IDC_MSET_EMAIL, IDC_MSET_SMTPSERVER, IDC_MSET_USER, IDC_MSET_PASSWORD, IDC_MSET_PORT,
                   IDC_MSET_AGAINTIME, IDC_MSET_SIGN})
        SetText(F(id), "");
    Check(IDC_MSET_ESMTP, false);
    Check(IDC_MSET_SSL, false);
    Click(g_MailSetting, IDC_MSET_SAVE);
    for (const char* col :
         {"set_name", "set_emailaddress", "set_smtpserver", "set_user", "set_pwd", "set_port", "set_sign"})
        EXPECT_EQ(Stored(col), "") << col;
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), 0);
    EXPECT_EQ(QueryInt("SELECT set_esmtp + set_ssl FROM setting"), 0);
    EXPECT_EQ(Text(F(IDC_MSET_AGAINTIME)), "0");
}

TEST_F(MailSetting, ThePauseIsTheNumberTheTextStartsWith) {
    SetText(F(IDC_MSET_AGAINTIME), "5x");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), 5);
    SetText(F(IDC_MSET_AGAINTIME), "abc");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), 0);
    SetText(F(IDC_MSET_AGAINTIME), "  -3");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), -3);
}

TEST_F(MailSetting, TheLongFieldsAreLimitedToTheirColumns) {
    EXPECT_EQ(SendMessageA(F(IDC_MSET_PORT), EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_EQ(SendMessageA(F(IDC_MSET_NAME), EM_GETLIMITTEXT, 0, 0), 49);
    EXPECT_EQ(SendMessageA(F(IDC_MSET_SIGN), EM_GETLIMITTEXT, 0, 0), 254);
    // A text set past the limit is cut at a character boundary when saved.
    SetText(F(IDC_MSET_PORT), "00000025252525");
    SetText(F(IDC_MSET_NAME), std::string(24, 'a') + "中文中文中文中文中文中文中文");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_EQ(Stored("set_port"), "000000252");
    EXPECT_EQ(Stored("set_name"), std::string(24, 'a') + "中文中文中文中文中文中文");
}

TEST_F(MailSetting, TypedTextsLongerThanTheFieldsAreStoredWhole) {
    auto type = [&](int id, const std::string& s) {
        SetText(F(id), "");
        SetFocus(F(id));
        w32test::TypeText(s, F(id));
    };
    const std::string user = "a.rather.long.smtp.user@mail.example.com";  // 40 characters
    const std::string pwd = "Pass-word-of-thirty-characters";             // 30 characters
    const std::string server = "smtp.a-server-name-longer-than-the-box.example.com";
    type(IDC_MSET_SMTPSERVER, server);
    type(IDC_MSET_USER, user);
    type(IDC_MSET_PASSWORD, pwd);
    type(IDC_MSET_PORT, "000065535");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Stored("set_user"), user);
    EXPECT_EQ(Stored("set_pwd"), pwd);
    EXPECT_EQ(Stored("set_smtpserver"), server);
    EXPECT_EQ(Stored("set_port"), "000065535");
}

// A port outside 1-65535 would wrap to another port: it is refused, with
// the focus on it, and nothing of the page is stored.
TEST_F(MailSetting, APortOutsideOneTo65535IsRefusedAndNothingIsStored) {
    SetText(F(IDC_MSET_PORT), "587");
    Click(g_MailSetting, IDC_MSET_SAVE);
    ASSERT_EQ(Stored("set_port"), "587");
    TakeBoxes();
    for (const char* port : {"70000", "65536", "0", "-25", "25x", "abc", "2 5"}) {
        SetText(F(IDC_MSET_NAME), "新名字");
        SetText(F(IDC_MSET_PORT), port);
        Click(g_MailSetting, IDC_MSET_SAVE);
        EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"服务器(SMTP)端口号应是1到65535之间的数字，请重新输入"}))
            << port;
        EXPECT_EQ(Stored("set_port"), "587") << port;
        EXPECT_NE(Stored("set_name"), "新名字") << port;
        EXPECT_EQ(GetFocus(), F(IDC_MSET_PORT)) << port;
    }
    for (const char* port : {"1", "65535", " 25 ", ""}) {
        SetText(F(IDC_MSET_PORT), port);
        Click(g_MailSetting, IDC_MSET_SAVE);
        EXPECT_TRUE(TakeBoxes().empty()) << port;
        EXPECT_EQ(Stored("set_port"), port) << port;
    }
}

TEST_F(MailSetting, AFailedSaveKeepsTheTypedValuesAndAddsNoEntry) {
    Database().Exec("CREATE TRIGGER no_save BEFORE UPDATE ON setting BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const int nBefore = HistoryCount();
    SetText(F(IDC_MSET_NAME), "新名字");
    SetText(F(IDC_MSET_SIGN), "新签名");
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_FALSE(TakeBoxes().empty()) << "the store reports the failure";
    EXPECT_EQ(Text(F(IDC_MSET_NAME)), "新名字");
    EXPECT_EQ(Text(F(IDC_MSET_SIGN)), "新签名");
    EXPECT_EQ(HistoryCount(), nBefore);
    EXPECT_NE(Stored("set_name"), "新名字");
}

TEST_F(MailSetting, SaveThenBackShowsThePageAgain) {
    ASSERT_EQ(HistoryCount(), 2);
    Click(g_MailSetting, IDC_MSET_SAVE);
    EXPECT_EQ(HistoryCount(), 3);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_MailSetting);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
    Back();
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
}

TEST_F(MailSetting, TabWalksTheFieldsAndTheSignatureKeepsItsTab) {
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_NAME, FALSE), F(IDC_MSET_EMAIL));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_SMTPSERVER, FALSE), F(IDC_MSET_ESMTP));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_AGAINTIME, FALSE), F(IDC_MSET_SIGN));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_SAVE, FALSE), F(IDC_MSET_NAME));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_NAME, TRUE), F(IDC_MSET_SAVE));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_SAVE, TRUE), F(IDC_MSET_SIGN));
    EXPECT_EQ(g_MailSetting.TabTarget(IDC_MSET_AGAINTIME, TRUE), F(IDC_MSET_SSL));
    // The key itself, in the port edit.
    SetFocus(F(IDC_MSET_PORT));
    w32test::PressKey(VK_TAB, false, false, F(IDC_MSET_PORT));
    w32test::WaitFor([&] { return GetFocus() == F(IDC_MSET_SSL); });
    EXPECT_EQ(GetFocus(), F(IDC_MSET_SSL));
}

TEST(SettingsMenu, EveryPageHasTheEightEntriesWithItsOwnIds) {
    StartFresh();
    const MenuCase cases[] = {
        {&g_MailSetting, {11661, 11662, 11663, 11664, 11665, 11666, 11667, 11670}},
        {&g_OptionSetting, {11710, 11711, 11712, 11713, 11714, 11715, 11716, 11718}},
        {&g_LoginSetting, {11957, 11958, 11959, 11960, 11961, 11966, 11963, 11965}},
    };
    GotoMailSetting();
    GotoLoginSetting();
    GotoOptionSetting_Type();
    for (const MenuCase& c : cases) {
        ASSERT_TRUE(c.pPage->m_bInit);
        for (int k = 0; k < 8; k++) {
            HWND h = c.pPage->m_hMenuButtons[k];
            EXPECT_EQ(GetDlgCtrlID(h), c.ids[k]) << k;
            RECT rc;
            GetWindowRect(h, &rc);
            MapWindowPoints(nullptr, c.pPage->m_hWnd, (POINT*)&rc, 2);
            EXPECT_EQ(rc.left, 1);
            EXPECT_EQ(rc.top, 22 + 30 * k);
            EXPECT_EQ(rc.right - rc.left, 158);
        }
    }
}

TEST(SettingsMenu, EntriesLeadToTheirPagesAndModes) {
    StartFresh();
    GotoMailSetting();
    const int nStart = HistoryCount();
    // Entry 1 on the mail page itself: nothing.
    Click(g_MailSetting, IDC_MSET_MENU1);
    EXPECT_EQ(HistoryCount(), nStart);
    Click(g_MailSetting, IDC_MSET_MENU5);
    EXPECT_EQ(g_pCurrentDialog, &g_OptionSetting);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_PHASE);
    Click(g_OptionSetting, IDC_OSET_MENU3);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_RELATION);
    Click(g_OptionSetting, IDC_OSET_MENU8);
    EXPECT_EQ(g_pCurrentDialog, &g_LoginSetting);
    // Entry 8 on the login page opens it again: one more entry.
    const int n = HistoryCount();
    Click(g_LoginSetting, IDC_LSET_MENU8);
    EXPECT_EQ(HistoryCount(), n + 1);
    Click(g_LoginSetting, IDC_LSET_MENU6);
    EXPECT_EQ(g_OptionSetting.m_nMode, OptionSettingDialogClass::MODE_INDUSTRY);
    Click(g_OptionSetting, IDC_OSET_MENU1);
    EXPECT_EQ(g_pCurrentDialog, &g_MailSetting);
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
}

TEST(SettingsMenu, AnEntryLightsUnderThePointerAndTheHelpLinkDoesNothing) {
    StartFresh();
    GotoLoginSetting();
    HWND hEntry = g_LoginSetting.m_hMenuButtons[1];
    w32test::ProcessEvents(0);
    EXPECT_EQ(w32test::BackingPixel(hEntry, 4, 10), (COLORREF)0xFFE7CE);
    SendMessageA(g_LoginSetting.m_hWnd, WM_SETCURSOR, (WPARAM)hEntry, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(g_LoginSetting.m_bHover, 1);
    EXPECT_EQ(w32test::BackingPixel(hEntry, 4, 10), (COLORREF)0xFF8080);
    // Only one entry lights at a time.
    SendMessageA(g_LoginSetting.m_hWnd, WM_SETCURSOR, (WPARAM)g_LoginSetting.m_hMenuButtons[2],
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(w32test::BackingPixel(g_LoginSetting.m_hMenuButtons[2], 4, 10), (COLORREF)0xFFE7CE);
    SendMessageA(g_LoginSetting.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(g_LoginSetting.m_bHover, 0);
    w32test::ProcessEvents(0);
    EXPECT_EQ(w32test::BackingPixel(hEntry, 4, 10), (COLORREF)0xFFE7CE);

    // The help link: drawn white, a click opens nothing and changes no page.
    EXPECT_EQ(w32test::BackingPixel(g_LoginSetting.m_hHelpLink, 4, 10), (COLORREF)0xFFFFFF);
    const int n = HistoryCount();
    w32test::ClearShellExecutes();
    Click(g_LoginSetting, IDC_LSET_HELP);
    EXPECT_TRUE(w32test::ShellExecutes().empty());
    EXPECT_EQ(HistoryCount(), n);
    EXPECT_EQ(g_pCurrentDialog, &g_LoginSetting);
}
