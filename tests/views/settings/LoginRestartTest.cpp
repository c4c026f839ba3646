// A login changed on the login-settings page is the one the next start of
// the program asks for; the old one no longer opens it.
#include <gtest/gtest.h>

#include "resources/settings_ids.h"
#include "settings/LoginSettingDialogClass.h"
#include "resources/shell_ids.h"
#include "shell/FirstRunWizard.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"

using namespace programtest;

TEST(LoginRestart, TheChangedLoginOpensTheNextStartAndTheOldOneDoesNot) {
    ProgramDatabase db;
    db.SetLogin("tester", "secret1");
    {
        DialogScript script;
        script.Then("ID_DLG_LOGIN", LoginWith("secret1"));
        ASSERT_NE(StartMainWindow(), nullptr);
        ASSERT_EQ(g_nStartupResult, STARTUP_RUN);
    }
    w32test::AutoAnswerMessageBoxes(true);
    w32test::ClearMessageBoxes();
    GotoLoginSetting();
    SetText(g_LoginSetting.Field(IDC_LSET_NAME), "李四");
    SetText(g_LoginSetting.Field(IDC_LSET_OLDPWD), "secret1");
    SetText(g_LoginSetting.Field(IDC_LSET_NEWPWD), "新密码abc");
    SetText(g_LoginSetting.Field(IDC_LSET_CONFIRM), "新密码abc");
    Click(g_LoginSetting, IDC_LSET_SAVE);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"您的用户名密码修改成功"});
    StopMainWindow();

    // The next start: the old password is refused, the new one opens.
    ProgramDatabase::PointConnectionAt(db.Path());
    g_nLoginAttempts = 0;
    w32test::ClearMessageBoxes();
    std::string strShownName;
    {
        DialogScript script;
        script.Then("ID_DLG_LOGIN", [&](HWND hDlg) {
            strShownName = GetText(hDlg, IDC_LOGIN_USER);
            SetText(hDlg, IDC_LOGIN_PWD, "secret1");
            PressButton(hDlg, IDOK);
            LoginWith("新密码abc")(hDlg);
        });
        ASSERT_NE(StartMainWindow(), nullptr);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(g_nStartupResult, STARTUP_RUN);
    EXPECT_EQ(strShownName, "李四");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"您输入的密码错误请重新输入"});
    StopMainWindow();
    w32test::ClearHooks();
}
