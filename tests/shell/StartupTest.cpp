// Start-up of the real program headless: first start with the wizard,
// later starts with the login, the ways start-up ends, and the main window
// it leaves (bars, views, start page, toolbar routing).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/FirstRunWizard.h"
#include "program/HomepageDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "program/main.h"
#include "platform/gbk/gbk.h"
#include "store/SettingClass.h"
#include "store/md5.h"
#include "win32_testhooks_shell.h"
#include "win32_testhooks.h"

namespace fs = std::filesystem;
using programtest::DialogScript;
using Texts = std::vector<std::string>;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::ClearMessageBoxes();
        m_strDesktop = m_Db.Folder() + "desktop";
        fs::create_directories(m_strDesktop);
        w32test::SetDesktopFolder(m_strDesktop);
        // The launchers' icon goes into the test's folder, not the user's.
        if (const char* p = getenv("XDG_DATA_HOME")) m_strDataHome = p;
        setenv("XDG_DATA_HOME", (m_Db.Folder() + "data").c_str(), 1);
        g_nLoginAttempts = 0;
        g_Setting.set_init = 0;
    }
    void TearDown() override {
        programtest::StopMainWindow();
        w32test::SetDesktopFolder("");
        if (m_strDataHome.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", m_strDataHome.c_str(), 1);
        w32test::ClearHooks();
    }
    std::string SettingValue(const char* pszColumn) {
        auto rows = m_Db.Query(std::string("SELECT ") + pszColumn + " FROM setting WHERE set_id=1");
        return rows.empty() ? "<none>" : rows[0][0];
    }
    std::vector<std::string> DesktopFiles() {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(m_strDesktop)) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
    bool ToolbarChecked(int nCommand) {
        return SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, (WPARAM)nCommand, 0) != 0;
    }
    void ExpectStartPageRunning(HWND hWnd) {
        ASSERT_NE(nullptr, hWnd);
        EXPECT_EQ(STARTUP_RUN, g_nStartupResult);
        EXPECT_TRUE(IsWindowVisible(hWnd));
        EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
        EXPECT_EQ(1, g_History.Count());
        EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_History.m_pHead->m_pView);
        EXPECT_TRUE(ToolbarChecked(IDC_TB_HOMEPAGE));
    }
    void ExpectQuitWithoutMainWindow(HWND hWnd) {
        ASSERT_NE(nullptr, hWnd);
        EXPECT_EQ(STARTUP_QUIT, g_nStartupResult);
        EXPECT_FALSE(IsWindowVisible(hWnd));
        EXPECT_EQ(nullptr, g_History.m_pHead);  // the start page ran no query
        EXPECT_EQ(nullptr, g_pCurrentDialog);
        EXPECT_FALSE(IsWindowVisible(g_Homepage.m_hWnd));  // never shown
        EXPECT_EQ(0, RunMessageLoop());                    // the quit is already there
    }

    programtest::ProgramDatabase m_Db;
    std::string m_strDesktop;
    std::string m_strDataHome;
};

// --- later starts: the login ---

TEST_F(StartupTest, RightPasswordOpensTheStartPage) {
    m_Db.SetLogin("abc", "secret1");
    std::string strShownName;
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [&](HWND hDlg) {
        strShownName = programtest::GetText(hDlg, IDC_LOGIN_USER);
        w32test::GrabWindow(hDlg, programtest::GrabFolder() + "login.png");
        programtest::LoginWith("secret1")(hDlg);
    });
    HWND hWnd = programtest::StartMainWindow();
    ExpectStartPageRunning(hWnd);
    EXPECT_EQ("abc", strShownName);
    EXPECT_TRUE(programtest::MessageTexts().empty());
    EXPECT_TRUE(script.Finished());
    w32test::WaitFor([] { return w32test::BackingPixel(g_Homepage.m_hWnd, 435, 300) == 0xFFE7CEu; });
    w32test::GrabWindow(hWnd, programtest::GrabFolder() + "main-window-start-page.png");
}

TEST_F(StartupTest, FourWrongPasswordsThenTheRightOneStart) {
    m_Db.SetLogin("abc", "secret1");
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [&](HWND hDlg) {
        for (int i = 0; i < 4; ++i) {
            programtest::SetText(hDlg, IDC_LOGIN_PWD, "wrong");
            programtest::PressButton(hDlg, IDOK);
            EXPECT_EQ("", programtest::GetText(hDlg, IDC_LOGIN_PWD));  // emptied after each
        }
        programtest::LoginWith("secret1")(hDlg);
    });
    ExpectStartPageRunning(programtest::StartMainWindow());
    EXPECT_EQ(Texts(4, "您输入的密码错误请重新输入"), programtest::MessageTexts());
}

TEST_F(StartupTest, FifthWrongPasswordEndsTheProgram) {
    m_Db.SetLogin("abc", "secret1");
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [&](HWND hDlg) {
        for (int i = 0; i < 5; ++i) {
            // Only the password counts; a changed name makes no difference.
            programtest::SetText(hDlg, IDC_LOGIN_USER, "someone");
            programtest::SetText(hDlg, IDC_LOGIN_PWD, "secret2");
            programtest::PressButton(hDlg, IDOK);
        }
    });
    ExpectQuitWithoutMainWindow(programtest::StartMainWindow());
    EXPECT_EQ(Texts(5, "您输入的密码错误请重新输入"), programtest::MessageTexts());
}

TEST_F(StartupTest, CancelledLoginEndsWithExitCodeZero) {
    m_Db.SetLogin("abc", "secret1");
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [](HWND hDlg) { programtest::PressButton(hDlg, IDCANCEL); });
    EXPECT_EQ(0, WinMain(programtest::TestInstance(), nullptr, nullptr, 0));
    EXPECT_EQ(STARTUP_QUIT, g_nStartupResult);
    EXPECT_EQ(nullptr, g_History.m_pHead);
}

TEST_F(StartupTest, ClosingTheMainWindowEndsWithExitCodeZero) {
    m_Db.SetLogin("abc", "secret1");
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [](HWND hDlg) {
        PostMessageA(g_hMainWnd, WM_CLOSE, 0, 0);  // handled once the loop runs
        programtest::LoginWith("secret1")(hDlg);
    });
    EXPECT_EQ(0, WinMain(programtest::TestInstance(), nullptr, nullptr, 0));
    EXPECT_EQ(STARTUP_RUN, g_nStartupResult);
}

// --- start-up failures ---

TEST_F(StartupTest, MissingDatabaseShowsTwoMessagesAndExitsMinusOne) {
    programtest::ProgramDatabase::PointConnectionAt(m_Db.Folder() + "no-such-folder/mydata.tvd");
    DialogScript script;  // no dialog may open
    EXPECT_EQ(-1, WinMain(programtest::TestInstance(), nullptr, nullptr, 0));
    const Texts texts = programtest::MessageTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ("main.cpp 137: co_InitODBC Error.", texts[texts.size() - 2]);
    EXPECT_EQ("main.cpp 57: CreateWindow Error.", texts.back());
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(StartupTest, UnreadableFirstRunFlagNeverRunsTheWizard) {
    // An installation whose flag cannot be read: the stored login must not
    // be replaced by a new wizard run.
    m_Db.SetLogin("abc", "secret1");
    m_Db.Exec("ALTER TABLE setting RENAME COLUMN set_init TO set_init_gone");
    DialogScript script;
    EXPECT_EQ(-1, WinMain(programtest::TestInstance(), nullptr, nullptr, 0));
    EXPECT_EQ(STARTUP_FAIL, g_nStartupResult);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ("main.cpp 57: CreateWindow Error.", programtest::MessageTexts().back());
    EXPECT_EQ("abc", SettingValue("set_loginname"));
}

// --- first start: the wizard ---

void Agree(HWND hDlg) {
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDOK)));  // until a choice is made
    EXPECT_EQ((UINT)BST_UNCHECKED, IsDlgButtonChecked(hDlg, IDC_AGREE));
    EXPECT_EQ((UINT)BST_UNCHECKED, IsDlgButtonChecked(hDlg, IDC_DISAGREE));
    w32test::Click(GetDlgItem(hDlg, IDC_AGREE));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDOK)));
    programtest::PressButton(hDlg, IDOK);
}

TEST_F(StartupTest, CompletedWizardStoresTheLoginAndOpensTheStartPage) {
    std::string strAgreement;
    DialogScript script;
    script
        .Then("ID_DLG_INSTALL1",
              [&](HWND hDlg) {
                  // The shortcut is there as soon as the welcome page shows.
                  EXPECT_TRUE(fs::exists(m_strDesktop + "/Tarvel Sales Logs.desktop"));
                  w32test::GrabWindow(hDlg, programtest::GrabFolder() + "wizard-1-welcome.png");
                  programtest::PressButton(hDlg, IDOK);
              })
        .Then("ID_DLG_INSTALL2",
              [&](HWND hDlg) {
                  strAgreement = programtest::GetText(hDlg, IDC_AGREEMENT);
                  w32test::GrabWindow(hDlg, programtest::GrabFolder() + "wizard-2-agreement.png");
                  Agree(hDlg);
              })
        .Then("ID_DLG_LOGINSETTING", [&](HWND hDlg) {
            EXPECT_EQ("0", SettingValue("set_init"));
            w32test::GrabWindow(hDlg, programtest::GrabFolder() + "wizard-3-login-setting.png");
            programtest::SetLoginAs("abc", "secret1")(hDlg);
        });
    ExpectStartPageRunning(programtest::StartMainWindow());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("1", SettingValue("set_init"));
    EXPECT_EQ("abc", SettingValue("set_loginname"));
    char szDigest[33];
    MD5DigestText("secret1", szDigest);
    EXPECT_EQ(szDigest, SettingValue("set_loginpwd"));
    EXPECT_EQ((std::vector<std::string>{"Tarvel Sales Logs.desktop", "abc-Tarvel Sales Logs.desktop"}), DesktopFiles());
    // The agreement is the five strings joined in order.
    EXPECT_NE(std::string::npos, strAgreement.find("软件使用协议"));
    EXPECT_NE(std::string::npos, strAgreement.find("四、其他"));
    EXPECT_LT(strAgreement.find("一、"), strAgreement.find("四、"));
}

TEST_F(StartupTest, TheStoredLoginOpensTheNextStart) {
    {
        DialogScript script;
        script.Then("ID_DLG_INSTALL1", [](HWND h) { programtest::PressButton(h, IDOK); })
            .Then("ID_DLG_INSTALL2", Agree)
            .Then("ID_DLG_LOGINSETTING", programtest::SetLoginAs("张'三 --", "密码六位"));
        ExpectStartPageRunning(programtest::StartMainWindow());
    }
    // A quote in the name is stored as typed, and the password with it.
    EXPECT_EQ(gbk::ToUtf8("张'三 --"), SettingValue("set_loginname"));
    EXPECT_EQ(32u, SettingValue("set_loginpwd").size());
    EXPECT_EQ("1", SettingValue("set_init"));
    programtest::StopMainWindow();
    programtest::ProgramDatabase::PointConnectionAt(m_Db.Path());

    // The next start reads the flag from the file, shows the login with the
    // stored name and the focus in the password field, and takes the new
    // password.
    g_Setting.set_init = 0;
    std::strcpy(g_Setting.set_user, "");
    std::string strShownName;
    bool bFocusInPassword = false;
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [&](HWND hDlg) {
        strShownName = programtest::GetText(hDlg, IDC_LOGIN_USER);
        bFocusInPassword = GetFocus() == GetDlgItem(hDlg, IDC_LOGIN_PWD);
        programtest::LoginWith("密码六位")(hDlg);
    });
    ExpectStartPageRunning(programtest::StartMainWindow());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("张'三 --", strShownName);
    EXPECT_TRUE(bFocusInPassword);
    EXPECT_TRUE(programtest::MessageTexts().empty());
}

TEST_F(StartupTest, ASecondMainWindowInTheProcessBuildsItsPagesAgain) {
    m_Db.SetLogin("abc", "secret1");
    for (int nStart = 1; nStart <= 2; ++nStart) {
        SCOPED_TRACE("start " + std::to_string(nStart));
        DialogScript script;
        script.Then("ID_DLG_LOGIN", programtest::LoginWith("secret1"));
        ExpectStartPageRunning(programtest::StartMainWindow());
        // The start page's list and links live in its window of this start.
        HWND hList = g_Homepage.m_ListView.m_hListView;
        EXPECT_TRUE(IsWindow(hList));
        EXPECT_EQ(g_Homepage.m_hWnd, GetParent(hList));
        EXPECT_NE(nullptr, GetDlgItem(g_Homepage.m_hWnd, IDC_HOME_LINK_FIRST));
        EXPECT_NE(nullptr, GetDlgItem(g_Homepage.m_hWnd, IDC_HOME_LINK_LAST));
        programtest::StopMainWindow();
        programtest::ProgramDatabase::PointConnectionAt(m_Db.Path());
    }
}

TEST_F(StartupTest, CancellingEachWizardPageEndsTheProgramAndKeepsTheFlagAtZero) {
    for (int nPage = 0; nPage < 3; ++nPage) {
        SCOPED_TRACE(nPage);
        DialogScript script;
        auto cancel = [](HWND h) { programtest::PressButton(h, IDCANCEL); };
        script.Then(
            "ID_DLG_INSTALL1", nPage == 0 ? cancel : [](HWND h) { programtest::PressButton(h, IDOK); });
        if (nPage >= 1) script.Then("ID_DLG_INSTALL2", nPage == 1 ? cancel : DialogScript::Step(Agree));
        if (nPage >= 2) script.Then("ID_DLG_LOGINSETTING", cancel);
        HWND hWnd = programtest::StartMainWindow();
        ExpectQuitWithoutMainWindow(hWnd);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ("0", SettingValue("set_init"));
        EXPECT_EQ("", SettingValue("set_loginname"));
        programtest::StopMainWindow();
        programtest::ProgramDatabase::PointConnectionAt(m_Db.Path());
    }
}

TEST_F(StartupTest, BackAndNextWalkThePagesOneAtATime) {
    DialogScript script;
    auto next = [](HWND h) { programtest::PressButton(h, IDOK); };
    auto back = [](HWND h) { programtest::PressButton(h, IDC_BACK); };
    script.Then("ID_DLG_INSTALL1", next)
        .Then("ID_DLG_INSTALL2", back)
        .Then("ID_DLG_INSTALL1", next)
        .Then("ID_DLG_INSTALL2", Agree)
        .Then("ID_DLG_LOGINSETTING", back)
        .Then("ID_DLG_INSTALL2", Agree)  // a fresh page: nothing chosen, 下一步 off
        .Then("ID_DLG_LOGINSETTING", programtest::SetLoginAs("abc", "secret1"));
    ExpectStartPageRunning(programtest::StartMainWindow());
    EXPECT_TRUE(script.Finished());
    // The welcome page ran twice but wrote the one shortcut.
    EXPECT_EQ((std::vector<std::string>{"Tarvel Sales Logs.desktop", "abc-Tarvel Sales Logs.desktop"}), DesktopFiles());
}

TEST_F(StartupTest, DisagreeingEndsTheProgram) {
    DialogScript script;
    script.Then("ID_DLG_INSTALL1", [](HWND h) { programtest::PressButton(h, IDOK); })
        .Then("ID_DLG_INSTALL2", [](HWND h) {
            w32test::Click(GetDlgItem(h, IDC_DISAGREE));
            programtest::PressButton(h, IDOK);
        });
    ExpectQuitWithoutMainWindow(programtest::StartMainWindow());
    ASSERT_EQ(1u, w32test::MessageBoxes().size());
    EXPECT_EQ("信息提示", w32test::MessageBoxes()[0].caption);
    EXPECT_EQ(0u, w32test::MessageBoxes()[0].text.find(
                      "很遗憾您不同意我们的软件使用协议，如果您有什么意见或建议请在方便的时候和我们联系，"));
    EXPECT_EQ("0", SettingValue("set_init"));
}

TEST_F(StartupTest, UserNamePageChecksItsInput) {
    DialogScript script;
    script.Then("ID_DLG_INSTALL1", [](HWND h) { programtest::PressButton(h, IDOK); })
        .Then("ID_DLG_INSTALL2", Agree)
        .Then("ID_DLG_LOGINSETTING", [&](HWND h) {
            programtest::SetText(h, IDC_SET_USER, "ab");
            programtest::SetText(h, IDC_SET_PWD, "secret1");
            programtest::SetText(h, IDC_SET_PWD2, "secret1");
            programtest::PressButton(h, IDOK);
            EXPECT_EQ("ab", programtest::GetText(h, IDC_SET_USER));  // nothing cleared
            programtest::SetText(h, IDC_SET_USER, "abc");
            programtest::SetText(h, IDC_SET_PWD, "12345");
            programtest::SetText(h, IDC_SET_PWD2, "12345");
            programtest::PressButton(h, IDOK);
            programtest::SetText(h, IDC_SET_PWD, "secret1");
            programtest::SetText(h, IDC_SET_PWD2, "secret2");
            programtest::PressButton(h, IDOK);
            EXPECT_EQ("", programtest::GetText(h, IDC_SET_PWD));
            EXPECT_EQ("", programtest::GetText(h, IDC_SET_PWD2));
            EXPECT_EQ("0", SettingValue("set_init"));
            // Byte lengths: two Chinese characters pass the three-byte rule,
            // three pass the six-byte rule. A name with a slash gives no
            // personal shortcut (a file name cannot hold it).
            programtest::SetText(h, IDC_SET_USER, "../李:");
            programtest::SetText(h, IDC_SET_PWD, "三个字");
            programtest::SetText(h, IDC_SET_PWD2, "三个字");
            programtest::PressButton(h, IDOK);
        });
    ExpectStartPageRunning(programtest::StartMainWindow());
    EXPECT_EQ((Texts{"您输入的用户名小于3个字符，请重新输入", "您输入的密码小于6个字符，请重新输入",
                     "您输入的密码不一致请重新输入"}),
              programtest::MessageTexts());
    EXPECT_EQ((std::vector<std::string>{"Tarvel Sales Logs.desktop"}), DesktopFiles());
    EXPECT_EQ(gbk::ToUtf8("../李:"), SettingValue("set_loginname"));
}

TEST_F(StartupTest, ALoginThatCannotBeStoredKeepsTheWizardOpen) {
    m_Db.Exec("ALTER TABLE setting RENAME COLUMN set_loginpwd TO set_loginpwd_gone");
    DialogScript script;
    script.Then("ID_DLG_INSTALL1", [](HWND h) { programtest::PressButton(h, IDOK); })
        .Then("ID_DLG_INSTALL2", Agree)
        .Then("ID_DLG_LOGINSETTING", [&](HWND h) {
            programtest::SetLoginAs("abc", "secret1")(h);
            EXPECT_TRUE(IsWindow(h));  // still on the page after the store's message
            EXPECT_FALSE(programtest::MessageTexts().empty());
            programtest::PressButton(h, IDCANCEL);
        });
    ExpectQuitWithoutMainWindow(programtest::StartMainWindow());
    EXPECT_EQ("0", SettingValue("set_init"));
}

TEST(ShortcutNameTest, NamesAreUsedAsTypedUnlessTheyHoldAPathSeparator) {
    char sz[64];
    EXPECT_EQ(3, MakeSafeFileName("abc", sz, sizeof(sz)));
    EXPECT_STREQ("abc", sz);
    // Characters other systems refuse are fine here, Chinese included.
    EXPECT_EQ(12, MakeSafeFileName("a:b*c?\"<>|..", sz, sizeof(sz)));
    EXPECT_STREQ("a:b*c?\"<>|..", sz);
    EXPECT_EQ(8, MakeSafeFileName("张三李四", sz, sizeof(sz)));
    EXPECT_STREQ("张三李四", sz);
    // A separator: no personal shortcut at all.
    EXPECT_EQ(0, MakeSafeFileName("a/b", sz, sizeof(sz)));
    EXPECT_STREQ("", sz);
    EXPECT_EQ(0, MakeSafeFileName("a\\b", sz, sizeof(sz)));
    EXPECT_EQ(0, MakeSafeFileName("", sz, sizeof(sz)));
    // GBK trail bytes may equal '\\' or '|': characters stay whole.
    const char kTrail5C[] = {(char)0x81, (char)0x5C, 0};  // a GBK character ending in 0x5C
    EXPECT_EQ(2, MakeSafeFileName(kTrail5C, sz, sizeof(sz)));
    EXPECT_EQ(0, std::memcmp(sz, kTrail5C, 3));
    // Bounded by the output, never cut inside a character.
    EXPECT_EQ(4, MakeSafeFileName("张三李四", sz, 6));
    EXPECT_STREQ("张三", sz);
}

// --- the main window ---

class MainWindowTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        m_Db.SetLogin("abc", "secret1");
        m_pScript = new DialogScript;
        m_pScript->Then("ID_DLG_LOGIN", programtest::LoginWith("secret1"));
        m_hWnd = programtest::StartMainWindow();
        ASSERT_NE(nullptr, m_hWnd);
    }
    void TearDown() override {
        delete m_pScript;
        StartupTest::TearDown();
    }
    int VisibleViews() {
        int n = 0;
        for (int i = 0; i < VIEW_COUNT; ++i) n += IsWindowVisible(ViewAt(i)->m_hWnd) ? 1 : 0;
        return n;
    }
    void Command(int nID) { SendMessageA(m_hWnd, WM_COMMAND, (WPARAM)nID, 0); }
    DialogScript* m_pScript = nullptr;
    HWND m_hWnd = nullptr;
};

TEST_F(MainWindowTest, BarsAndAllViewsExist) {
    char sz[256] = "";
    GetWindowTextA(m_hWnd, sz, sizeof(sz));
    EXPECT_STREQ("Tarvel Sales Logs", sz);
    EXPECT_EQ(12, (int)SendMessageA(g_Toolbar.m_hToolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(10, ImageList_GetImageCount(g_hImageList));
    HWND hStatus = GetDlgItem(m_hWnd, IDC_MAIN_STATUSBAR);
    ASSERT_EQ(g_StatusBar.m_hStatusBar, hStatus);
    SendMessageA(hStatus, SB_GETTEXTA, 0, (LPARAM)sz);
    EXPECT_STREQ("北京塔维尔信息技术有限公司", sz);
    SendMessageA(hStatus, SB_GETTEXTA, 1, (LPARAM)sz);
    EXPECT_STREQ("", sz);

    const int nTop = g_Toolbar.GetHeight();
    EXPECT_GT(nTop, 0);
    for (int i = 0; i < VIEW_COUNT; ++i) {
        SCOPED_TRACE(g_ViewClassNames[i]);
        BaseDialogClass* v = ViewAt(i);
        ASSERT_TRUE(IsWindow(v->m_hWnd));
        EXPECT_EQ(v, BaseDialogClass::HwndToDialog(v->m_hWnd));
        EXPECT_EQ(nTop, v->m_nTop);
        char szClass[64] = "";
        GetClassNameA(v->m_hWnd, szClass, sizeof(szClass));
        EXPECT_STREQ(g_ViewClassNames[i], szClass);
    }
    EXPECT_EQ(1, VisibleViews());
}

TEST_F(MainWindowTest, EachModuleButtonOpensItsPageAndIsPressed) {
    const struct {
        int nCommand, nView;
    } cases[] = {
        {IDC_TB_OPPORTUNITIES, VIEW_OPP_START}, {IDC_TB_ACCOUNTS, VIEW_ACC_START}, {IDC_TB_CONTACTS, VIEW_CON_START},
        {IDC_TB_TASKS, VIEW_TAS_HOMEPAGE},      {IDC_TB_MAIL, VIEW_MAIL},          {IDC_TB_SETTING, VIEW_MAILSETTING},
        {IDC_TB_EXPORT, VIEW_EXPORT},           {IDC_TB_HOMEPAGE, VIEW_HOMEPAGE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nCommand);
        Command(c.nCommand);
        EXPECT_EQ(ViewAt(c.nView), g_pCurrentDialog);
        EXPECT_EQ(1, VisibleViews());
        if (c.nView != VIEW_HOMEPAGE) {
            EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, c.nCommand, 0));
        }
    }
    // Back through all of them restores each page and presses its button.
    for (int i = 0; i < 7; ++i) Command(IDC_TB_BACK);
    EXPECT_EQ(ViewAt(VIEW_OPP_START), g_pCurrentDialog);
    EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, IDC_TB_OPPORTUNITIES, 0));
    Command(IDC_TB_BACK);
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, IDC_TB_HOMEPAGE, 0));
    Command(IDC_TB_FORWARD);
    EXPECT_EQ(ViewAt(VIEW_OPP_START), g_pCurrentDialog);
    EXPECT_EQ(1, VisibleViews());
}

TEST_F(MainWindowTest, GuardedCommandsForTheShownPageAndUnknownIdsDoNothing) {
    const int nBefore = g_History.Count();
    Command(IDC_TB_HOMEPAGE);
    EXPECT_EQ(nBefore, g_History.Count());
    EXPECT_EQ(-1, g_Toolbar.OnCommand(m_hWnd, WM_COMMAND, 12345, 0));
    EXPECT_EQ(0, g_Toolbar.OnCommand(m_hWnd, WM_COMMAND, IDC_TB_BACK, 0));  // head: nothing
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    Command(IDC_TB_SETTING);
    const int n = g_History.Count();
    Command(IDC_TB_SETTING);
    EXPECT_EQ(n, g_History.Count());
}

TEST_F(MainWindowTest, OptionSettingActionsAlwaysReloadTheSamePage) {
    GotoOptionSetting_Important();
    EXPECT_EQ(ViewAt(VIEW_OPTIONSETTING), g_pCurrentDialog);
    const int n = g_History.Count();
    GotoOptionSetting_Relation();
    GotoOptionSetting_Province();
    EXPECT_EQ(ViewAt(VIEW_OPTIONSETTING), g_pCurrentDialog);
    EXPECT_EQ(n + 2, g_History.Count());
    EXPECT_EQ(1, VisibleViews());
}

TEST_F(MainWindowTest, ResizingLaysOutEveryView) {
    ShowWindow(m_hWnd, SW_RESTORE);
    programtest::SetClientSize(m_hWnd, 800, 600);
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    for (int i = 0; i < VIEW_COUNT; ++i) {
        RECT rcView;
        GetWindowRect(ViewAt(i)->m_hWnd, &rcView);
        EXPECT_EQ(rcClient.right, rcView.right - rcView.left);
        EXPECT_EQ(std::max(0, (int)rcClient.bottom - 78), (int)(rcView.bottom - rcView.top));
    }
}

}  // namespace
