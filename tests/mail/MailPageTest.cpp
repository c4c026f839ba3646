// The mail page and its send dialog in the program's main window: the
// recipient list, the mailto export, Send with missing settings, the send
// dialog, whole runs against a real SMTP server on 127.0.0.1, hand-overs, a
// reload during a run, and closing the program during a run.
#include <gtest/gtest.h>

#include "tests/mail/SmtpTestServer.h"
#include "tests/support/ProgramTest.h"

#include "mail/MailDialogClass.h"
#include "platform/gbk/gbk.h"
#include "resources/settings_ids.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "resources/contacts_ids.h"
#include "views/contacts/Con_Navigation.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_StartDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"
#include "win32_testhooks_shell.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using namespace programtest;
using mailtest::Certificates;
using mailtest::ReceivedMail;
using mailtest::SmtpTestServer;

namespace {

const char kUser[] = "sales";
const char kPassword[] = "s3cret";

class MailPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        setenv("SSL_CERT_FILE", Certificates().strCaFile.c_str(), 1);
        w32test::ClearShellExecutes();
        g_StatusBar.SetText(1, "");
    }

    void TearDown() override {
        // No run may outlive its test (its server goes with the test).
        g_Mail.StopRun(MailDialogClass::kStopWaitMs);
    }

    static void SeedSettings(int nPort, int nSsl, int nAgainTime = 0, const std::string& strSign = "") {
        char sz[1024];
        snprintf(sz, sizeof sz,
                 "UPDATE setting SET set_emailaddress='sales@example.com', set_smtpserver='%s', set_user='%s', "
                 "set_pwd='%s', set_port='%d', set_esmtp=1, set_ssl=%d, set_sign='%s', set_name='销售部', "
                 "set_againtime=%d WHERE set_id=1",
                 nSsl == 1 ? "localhost" : "127.0.0.1", kUser, kPassword, nPort, nSsl, strSign.c_str(), nAgainTime);
        ASSERT_EQ(Exec(sz), 0);
    }

    // A contact of an account of the given type (no account when type is "").
    static unsigned AddPerson(const std::string& name, const std::string& nickname, const std::string& email,
                              const std::string& type = "") {
        Contact c;
        c.name = name;
        c.nickname = nickname;
        c.email = email;
        const unsigned id = AddContact(c);
        if (!type.empty()) {
            Account a;
            a.name = name + "公司";
            a.type = type;
            Link("contacts", id, "accounts", AddAccount(a));
        }
        return id;
    }

    static void OpenPage() {
        g_Toolbar.OnMail(NULL, 0, 0, 0);
        ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    }

    static bool WaitForRunEnd() {
        return w32test::WaitFor([] { return !g_Mail.IsSending(); }, 120000);
    }

    // Send, then 发送 in the dialog with this subject and content.
    static void SendWith(const std::string& subject, const std::string& content, bool bSalutation = true) {
        DialogScript script;
        script.Then("ID_DLG_SENDMAIL", [=](HWND h) {
            SetText(h, 1107, subject);
            SetText(h, 1110, content);
            if (!bSalutation) w32test::Click(GetDlgItem(h, 1109));
            PressButton(h, 1111);
        });
        Click(g_Mail, MailDialogClass::kSendButtonID);
        EXPECT_TRUE(script.Finished());
    }

    static std::vector<std::string> Checks() {
        std::vector<std::string> v;
        for (int r = 0; r < RowCount(g_Mail.m_RecipientList); r++)
            v.push_back(Cell(g_Mail.m_RecipientList, r, 1) + (g_Mail.m_RecipientList.GetCheck(r) == 0 ? "+" : "-"));
        return v;
    }
};

// What a closing test's child process does before it closes the window.
void MailPageTest_Seed(int nPort, int nSsl, int nPause) {
    char sz[512];
    snprintf(sz, sizeof sz,
             "UPDATE setting SET set_emailaddress='sales@example.com', set_smtpserver='%s', set_user='%s', "
             "set_pwd='%s', set_port='%d', set_esmtp=1, set_ssl=%d, set_sign='', set_name='sales', "
             "set_againtime=%d WHERE set_id=1",
             nSsl == 1 ? "localhost" : "127.0.0.1", kUser, kPassword, nPort, nSsl, nPause);
    if (Exec(sz) != 0) std::exit(6);
}

void MailPageTest_SendToAnnAndBob() {
    for (const char* name : {"Ann", "Bob"}) {
        Contact c;
        c.name = name;
        c.nickname = name;
        c.email = std::string(name == std::string("Ann") ? "ann" : "bob") + "@example.com";
        AddContact(c);
    }
    g_Toolbar.OnMail(NULL, 0, 0, 0);
    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) { PressButton(h, 1111); });
    Click(g_Mail, MailDialogClass::kSendButtonID);
    if (!script.Finished() || !g_Mail.IsSending()) std::exit(7);
}

// ---------------------------------------------------------------------------
// The recipient list and the export
// ---------------------------------------------------------------------------

TEST_F(MailPage, CompetitorsStartUnselectedAndEmptyAddressesCountNowhere) {
    AddPerson("Ann", "a", "ann@example.com", "竞争对手");
    AddPerson("Bob", "b", "bob@example.com", "非竞争对手");
    AddPerson("Cat", "c", "");
    AddPerson("Dan", "d", "dan@example.com");
    OpenPage();
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));
    // The list shows the contacts by name; competitors alone are unselected.
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Ann-", "Bob+", "Cat+", "Dan+"}));
    EXPECT_EQ(g_Mail.CountRecipients(), 2);
    EXPECT_EQ(g_Mail.MailtoText(), "mailto:bob@example.com,dan@example.com");
    // Entry i of the id list belongs to row i.
    ASSERT_EQ(g_Mail.m_nIDCount, 4);
    EXPECT_EQ(std::to_string(g_Mail.m_pulID[3]), QueryText("SELECT con_id FROM contacts WHERE con_name='Dan'"));
}

// 联系人 → 项目机会查询 → 不存在销售机会 → 邮件群发: the rows show the
// account's type, and a competitor's contact starts unticked.
TEST_F(MailPage, ContactsWithoutOpportunitiesKeepTheirAccountTypeAndCompetitorsStartUnticked) {
    AddPerson("Ann", "a", "ann@example.com", "竞争对手");
    AddPerson("Bob", "b", "bob@example.com", "代理商");
    g_Toolbar.OnContacts(nullptr, 0, 0, 0);
    Click(g_Con_Start, GetDlgCtrlID(g_Con_Start.m_hMenuButtons[3]));
    Con_CategoryStatClass& page = g_Con_Opportunities;
    ASSERT_EQ(g_pCurrentDialog, &page);
    ASSERT_EQ(Cell(page.m_CategoryList, 0, 0), "不存在销售机会");
    ClickRow(page, page.m_CategoryList, 0);
    Click(page, GetDlgCtrlID(page.m_hMailButton));
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Ann-", "Bob+"}));
    EXPECT_EQ(Column(g_Mail.m_RecipientList, 3), (std::vector<std::string>{"竞争对手", "代理商"}));
    EXPECT_EQ(g_Mail.CountRecipients(), 1);
}

TEST_F(MailPage, ExportPercentEncodesAddressesAndRepeatsExactly) {
    AddPerson("A", "a", "a?cc=x@example.com");
    AddPerson("B", "b", "b&c@example.com");
    AddPerson("C", "c", "100%@example.com");
    AddPerson("D", "d", "d,e@example.com");
    OpenPage();
    Click(g_Mail, MailDialogClass::kExportButtonID);
    Click(g_Mail, MailDialogClass::kExportButtonID);
    const auto calls = w32test::ShellExecutes();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].file, "mailto:a%3Fcc=x@example.com,b%26c@example.com,100%25@example.com,d%2Ce@example.com");
    EXPECT_EQ(calls[1].file, calls[0].file);
    EXPECT_EQ(calls[0].showCmd, SW_SHOW);
    EXPECT_TRUE(TakeBoxes().empty());

    // Nothing selected: "mailto:" alone.
    for (int r = 0; r < 4; r++) g_Mail.m_RecipientList.SetCheck(r, 1);
    w32test::ClearShellExecutes();
    Click(g_Mail, MailDialogClass::kExportButtonID);
    ASSERT_EQ(w32test::ShellExecutes().size(), 1u);
    EXPECT_EQ(w32test::ShellExecutes()[0].file, "mailto:");
}

TEST_F(MailPage, LongExportGrowsAndSaysTheMailProgramMayCutIt) {
    for (int i = 0; i < 120; i++) {
        char sz[64];
        snprintf(sz, sizeof sz, "recipient%03d@example.com", i);
        AddPerson(sz, "n", sz);
    }
    OpenPage();
    Click(g_Mail, MailDialogClass::kExportButtonID);
    ASSERT_EQ(w32test::ShellExecutes().size(), 1u);
    const std::string text = w32test::ShellExecutes()[0].file;
    EXPECT_GT(text.size(), 2000u);
    EXPECT_NE(text.find("recipient119@example.com"), std::string::npos);
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"收件人较多，邮件程序可能收不全这份收件人列表。"}));
}

// Handed to the desktop's opener: where there is none (no program for the
// link), the user is told, as the contact form's mail button tells; an
// opener that takes the link leaves the page silent.
TEST_F(MailPage, ExportSaysSoOnlyWhenNoMailProgramTakesTheList) {
    AddPerson("A", "a", "a@example.com");
    OpenPage();
    char bin[] = "/tmp/mailopenerXXXXXX";
    ASSERT_NE(mkdtemp(bin), nullptr);
    const std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", bin, 1);
    w32test::RecordShellExecuteOnly(false);
    TakeBoxes();
    Click(g_Mail, MailDialogClass::kExportButtonID);
    const std::vector<std::string> none = TakeBoxes();
    std::ofstream(std::string(bin) + "/xdg-open") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(std::string(bin) + "/xdg-open", std::filesystem::perms::owner_all);
    Click(g_Mail, MailDialogClass::kExportButtonID);
    const std::vector<std::string> taken = TakeBoxes();
    w32test::RecordShellExecuteOnly(true);
    setenv("PATH", path.c_str(), 1);
    std::filesystem::remove_all(bin);
    EXPECT_EQ(none, (std::vector<std::string>{
                        "没有找到可以写邮件的程序，请安装邮件程序后再试，或把邮件地址复制到您的邮件程序中。"}));
    EXPECT_TRUE(taken.empty());
    EXPECT_EQ(w32test::ShellExecutes().size(), 2u);
}

// ---------------------------------------------------------------------------
// Hand-over from a contact page
// ---------------------------------------------------------------------------

TEST_F(MailPage, HandOverShowsTheContactsAndPressesTheMailButton) {
    AddPerson("Ann", "a", "ann@example.com");
    AddPerson("Bob", "b", "bob@example.com", "竞争对手");
    // What a contact page does: load, count, send, switch.
    g_Mail.m_ConDetail.ccd_FreeList();
    g_Mail.m_nConCount = g_Mail.m_ConDetail.ccd_GetAllContactsByName();
    ASSERT_EQ(g_Mail.m_nConCount, 2);
    const int nEntries = HistoryCount();
    SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));
    EXPECT_EQ(HistoryCount(), nEntries + 1);
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Ann+", "Bob-"}));

    // A count of 0, or -1 from a failed load, empties the list without a box.
    for (int n : {0, -1}) {
        g_Mail.m_nConCount = n;
        SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0);
        EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
        EXPECT_EQ(g_Mail.m_pulID, nullptr);
        EXPECT_EQ(g_Mail.m_nIDCount, 0);
    }
    EXPECT_TRUE(TakeBoxes().empty());

    // A count without a loaded list: the store's text, no rows, no ids.
    g_Mail.m_ConDetail.ccd_FreeList();
    g_Mail.m_nConCount = 3;
    SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0);
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"Acc_HomepageDialogClass.cpp 135: m_pConHead Error."}));
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
    EXPECT_EQ(g_Mail.m_nIDCount, 0);
}

// ---------------------------------------------------------------------------
// Send and the send dialog
// ---------------------------------------------------------------------------

TEST_F(MailPage, SendWithoutServerPortUserOrSenderGoesToTheSettings) {
    const char* const columns[] = {"set_smtpserver", "set_port", "set_user", "set_emailaddress"};
    for (const char* column : columns) {
        SeedSettings(25, 0);
        ASSERT_EQ(Exec(std::string("UPDATE setting SET ") + column + "='' WHERE set_id=1"), 0);
        OpenPage();
        DialogScript script;
        Click(g_Mail, MailDialogClass::kSendButtonID);
        EXPECT_TRUE(script.Seen().empty()) << column;
        EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"群发邮件前请设置邮件服务器信息"})) << column;
        EXPECT_EQ(g_pCurrentDialog, &g_MailSetting) << column;
    }
    // An empty password does not stop it; no recipient still opens the dialog.
    SeedSettings(25, 0);
    ASSERT_EQ(Exec("UPDATE setting SET set_pwd='' WHERE set_id=1"), 0);
    OpenPage();
    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) { PressButton(h, IDCANCEL); });
    Click(g_Mail, MailDialogClass::kSendButtonID);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(g_Mail.m_nMailTotal, 0);
}

TEST_F(MailPage, SendDialogOpensWithSalutationAndSignatureAndCancelKeepsEverything) {
    SeedSettings(25, 0, 0, "张三 销售部");
    AddPerson("Ann", "a", "ann@example.com");
    OpenPage();
    strcpy(g_Mail.m_szSubject, "old");
    // The content of a run before (the page owns it).
    delete[] g_Mail.m_pszContent;
    g_Mail.m_pszContent = new char[sizeof "old content"];
    strcpy(g_Mail.m_pszContent, "old content");
    const char* const pOldContent = g_Mail.m_pszContent;
    std::string content, subject;
    bool bSalutation = false;
    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [&](HWND h) {
        content = GetText(h, 1110);
        bSalutation = IsDlgButtonChecked(h, 1108) == BST_CHECKED && IsDlgButtonChecked(h, 1109) != BST_CHECKED;
        SetText(h, 1107, "new");
        PressButton(h, IDCANCEL);
    });
    Click(g_Mail, MailDialogClass::kSendButtonID);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(content, "\r\n\r\n张三 销售部");
    EXPECT_TRUE(bSalutation);
    EXPECT_EQ(g_Mail.m_nMailTotal, 1);
    EXPECT_STREQ(g_Mail.m_szSubject, "old");
    EXPECT_EQ(g_Mail.m_pszContent, pOldContent);
    EXPECT_STREQ(g_Mail.m_pszContent, "old content");
    EXPECT_FALSE(g_Mail.IsSending());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));

    // An empty signature still gives the two line breaks.
    SeedSettings(25, 0, 0, "");
    DialogScript again;
    again.Then("ID_DLG_SENDMAIL", [&](HWND h) {
        content = GetText(h, 1110);
        PressButton(h, IDCANCEL);
    });
    Click(g_Mail, MailDialogClass::kSendButtonID);
    EXPECT_EQ(content, "\r\n\r\n");
}

// ---------------------------------------------------------------------------
// Whole runs
// ---------------------------------------------------------------------------

TEST_F(MailPage, PlainRunMailsEverySelectedRecipientAndEnablesSendAtTheEnd) {
    SmtpTestServer server({"--auth", kUser, kPassword});
    ASSERT_NE(server.Port(), 0);
    SeedSettings(server.Port(), 0);
    AddPerson("Ann", "安妮", "ann@example.com");
    AddPerson("Bob", "Bobby", "bob@example.com", "竞争对手");
    AddPerson("Cat", "Kitty", "");
    AddPerson("Dan", "丹", "dan@example.com");
    OpenPage();
    SendWith("季度报价", "");
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));
    EXPECT_EQ(StatusText(1), "");
    EXPECT_EQ(g_Mail.m_nMailSent, 2);
    EXPECT_TRUE(TakeBoxes().empty());
    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_EQ(mails[0]["rcpt"], "ann@example.com");
    EXPECT_EQ(mails[0]["body"], "'" + gbk::ToUtf8("安妮") + ",\\n\\n'");
    EXPECT_EQ(mails[1]["rcpt"], "dan@example.com");
    EXPECT_EQ(mails[1]["body"], "'" + gbk::ToUtf8("丹") + ",\\n\\n'");
    EXPECT_EQ(mails[1]["subject"], gbk::ToUtf8("季度报价"));
    EXPECT_EQ(mails[1]["from_name"], gbk::ToUtf8("销售部"));
    for (const ReceivedMail& m : mails) {
        EXPECT_EQ(m["defects"], "");  // what a mail reader of today finds
        EXPECT_EQ(m["strict_from_name"], gbk::ToUtf8("销售部"));
        EXPECT_EQ(m["strict_subject"], gbk::ToUtf8("季度报价"));
    }
    EXPECT_NE(g_Mail.m_pszContent, nullptr);
    EXPECT_STREQ(g_Mail.m_pszContent, "");
}

TEST_F(MailPage, SslRunWithoutSalutation) {
    SmtpTestServer server(
        {"--auth", kUser, kPassword, "--tls", Certificates().strLocalhostCert, Certificates().strLocalhostKey});
    ASSERT_NE(server.Port(), 0);
    SeedSettings(server.Port(), 1);
    AddPerson("Ann", "a", "ann@example.com");
    AddPerson("Bob", "b", "bob@example.com");
    OpenPage();
    SendWith("Hello", "Line one\r\nLine two", false);
    ASSERT_TRUE(WaitForRunEnd());
    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 2u);
    for (const ReceivedMail& m : mails) EXPECT_EQ(m["body"], "'Line one\\r\\nLine two'");
    EXPECT_EQ(server.SniNames(), "localhost\n");
}

TEST_F(MailPage, SendStaysDisabledDuringARunAndAReloadChangesNoRecipient) {
    SmtpTestServer server({"--auth", kUser, kPassword});
    SeedSettings(server.Port(), 0, 1);  // one second between mails
    AddPerson("Ann", "安妮", "ann@example.com");
    AddPerson("Bob", "Bobby", "bob@example.com");
    AddPerson("Cat", "Kitty", "cat@example.com");
    OpenPage();
    SendWith("S", "C");
    ASSERT_TRUE(g_Mail.IsSending());
    EXPECT_FALSE(Enabled(g_Mail.m_hSendButton));
    ASSERT_TRUE(w32test::WaitFor([&] { return server.StoredCount() >= 1; }, 30000));
    // Mid-run the list is reloaded with other people in other rows.
    ASSERT_EQ(Exec("DELETE * FROM contacts WHERE con_name='Ann'"), 0);
    AddPerson("Abe", "Abie", "abe@example.com");
    SendMessageA(g_Mail.m_hWnd, UM_OPENVIEW, 0, 0);
    EXPECT_EQ(Cell(g_Mail.m_RecipientList, 0, 1), "Abe");
    EXPECT_FALSE(Enabled(g_Mail.m_hSendButton));
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));
    EXPECT_EQ(StatusText(1), "");
    std::set<std::string> got;
    for (const ReceivedMail& m : server.Messages()) got.insert(m["rcpt"] + " " + m["body"]);
    EXPECT_EQ(got, (std::set<std::string>{"ann@example.com '" + gbk::ToUtf8("安妮") + ",\\n\\nC'",
                                          "bob@example.com 'Bobby,\\n\\nC'", "cat@example.com 'Kitty,\\n\\nC'"}));
}

// A hand-over while a run goes shows the new contacts at once; the run
// mails those it started with, the next run the new ones.
TEST_F(MailPage, AHandOverDuringARunChangesTheNextRunsRecipients) {
    SmtpTestServer server({"--auth", kUser, kPassword});
    SeedSettings(server.Port(), 0, 1);  // one second between mails
    AddPerson("Ann", "a", "ann@example.com");
    AddPerson("Bob", "b", "bob@example.com");
    const unsigned cat = AddPerson("Cat", "c", "cat@example.com");
    OpenPage();
    SendWith("S", "C");
    ASSERT_TRUE(g_Mail.IsSending());
    // Only Cat is left to hand over.
    ASSERT_EQ(Exec("DELETE * FROM contacts WHERE con_id<>" + std::to_string(cat)), 0);
    GotoCon_Homepage();
    Click(g_Con_Homepage, IDC_CONH_MAIL);  // 邮件群发 on the contact list, during the run
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Cat+"}));
    ASSERT_TRUE(WaitForRunEnd());
    std::set<std::string> first;
    for (const ReceivedMail& m : server.Messages()) first.insert(m["rcpt"]);
    EXPECT_EQ(first, (std::set<std::string>{"ann@example.com", "bob@example.com", "cat@example.com"}));
    SendWith("S2", "C2");
    ASSERT_TRUE(WaitForRunEnd());
    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 4u);
    EXPECT_EQ(mails[3]["rcpt"], "cat@example.com");
    EXPECT_EQ(mails[3]["subject"], "S2");
}

// A stored port out of range would wrap (70000 went to port 4464): Send
// refuses it and leads to the settings.
TEST_F(MailPage, AStoredPortOutOfRangeIsRefusedBeforeTheRun) {
    AddPerson("Ann", "a", "ann@example.com");
    for (const char* port : {"70000", "0", "-25", "25x"}) {
        SeedSettings(25, 0);
        ASSERT_EQ(Exec(std::string("UPDATE setting SET set_port='") + port + "' WHERE set_id=1"), 0);
        OpenPage();
        DialogScript script;
        Click(g_Mail, MailDialogClass::kSendButtonID);
        EXPECT_TRUE(script.Seen().empty()) << port;
        EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"服务器(SMTP)端口号应是1到65535之间的数字，请重新输入"}))
            << port;
        EXPECT_EQ(g_pCurrentDialog, &g_MailSetting) << port;
        EXPECT_FALSE(g_Mail.IsSending());
    }
}

// The shipped customer types hold 竞争对手, and the contacts of an account
// given that type (as the user picks it) start unticked.
TEST_F(MailPage, AFreshDatabaseListsCompetitorsAndTheirContactsStartUnticked) {
    g_OptionSetting.ShowDialog();
    SendMessageA(g_OptionSetting.m_hWnd, UM_OPEN_TYPE, 0, 0);
    const std::vector<std::string> types = Column(g_OptionSetting.m_ValueList, 0);
    EXPECT_NE(std::find(types.begin(), types.end(), "竞争对手"), types.end());
    g_OptionSetting.HideDialog();
    const std::string picked = QueryText("SELECT typ_description FROM type WHERE typ_description='竞争对手'");
    ASSERT_EQ(picked, "竞争对手");
    AddPerson("Ann", "a", "ann@example.com", picked);
    AddPerson("Bob", "b", "bob@example.com", "最终用户");
    OpenPage();
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Ann-", "Bob+"}));
}

TEST_F(MailPage, RunWhoseMailsAllFailEndsIdle) {
    SmtpTestServer server(
        {"--auth", kUser, kPassword, "--refuse-rcpt", "ann@example.com", "--refuse-rcpt", "bob@example.com"});
    SeedSettings(server.Port(), 0);
    AddPerson("Ann", "a", "ann@example.com");
    AddPerson("Bob", "b", "bob@example.com");
    OpenPage();
    SendWith("S", "C");
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));
    EXPECT_EQ(StatusText(1), "");
    EXPECT_EQ(TakeBoxes().size(), 2u);
    EXPECT_EQ(server.StoredCount(), 0);
}

// The user closes the main window (WM_CLOSE, as its close box does) in each
// phase of a run: the run ends while the window goes (its WM_DESTROY waits
// for it) and the program's globals go without a fault. A message box of the
// run is shown for real and is open when the window closes.
class MailPageClose : public MailPage, public ::testing::WithParamInterface<const char*> {};

void CloseInPhase(const std::string& phase) {
    std::vector<std::string> options = {"--auth", kUser, kPassword};
    int nSsl = 0, nPause = 0;
    if (phase == "box") options.insert(options.end(), {"--refuse-rcpt", "ann@example.com"});
    if (phase == "pause") nPause = 3600;
    if (phase == "connect") options = {"--full-backlog"};
    if (phase == "handshake" || phase == "reply") options = {"--mute"};
    if (phase == "connect" || phase == "handshake") nSsl = 1;
    SmtpTestServer server(options);
    if (server.Port() == 0) std::exit(4);
    MailPageTest_Seed(server.Port(), nSsl, nPause);
    if (phase == "box") {  // the box is shown for real and stays open
        w32test::SetMessageBoxHook(nullptr);
        w32test::AutoAnswerMessageBoxes(false);
    }
    MailPageTest_SendToAnnAndBob();
    std::function<bool()> reached;
    if (phase == "box") reached = mailtest::MessageBoxShown;
    if (phase == "pause") reached = [&] { return server.StoredCount() == 1; };
    if (phase == "connect") reached = [&] { return mailtest::ConnectingTo(server.Port()) > 0; };
    if (phase == "handshake" || phase == "reply") reached = [&] { return server.Accepted() > 0; };
    if (!w32test::WaitFor(reached, 30000)) std::exit(3);
    SendMessageA(g_hMainWnd, WM_CLOSE, 0, 0);
    std::exit(IsWindow(g_hMainWnd) ? 5 : g_Mail.IsSending() ? 2 : 0);
}

TEST_P(MailPageClose, ClosingTheMainWindowEndsTheRunAndTheProcessCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CloseInPhase(GetParam()), ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Phases, MailPageClose, ::testing::Values("box", "pause", "connect", "handshake", "reply"));

// ---------------------------------------------------------------------------
// One walk on a real X server with real input events
// ---------------------------------------------------------------------------

class MailXvfb : public MailPage {
protected:
    void TearDown() override {
        MailPage::TearDown();
        // The walk left no link row naming a record that does not exist.
        EXPECT_EQ(testsupport::LinksToMissingRecords(Database().Path()), "");
    }
    // Emptied, clicked into, then typed key by key.
    static void TypeInto(HWND h, const std::string& text) {
        SetText(h, "");
        w32test::Click(h);
        ASSERT_TRUE(w32test::WaitFor([h] { return GetFocus() == h; }));
        w32test::TypeText(text, h);
        ASSERT_TRUE(w32test::WaitFor([h, text] { return Text(h) == text; }));
    }

    // Clicked until it shows the wanted state.
    static void SetCheckBox(HWND h, bool bChecked) {
        const auto checked = [h] { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; };
        if (checked() != bChecked) w32test::Click(h);
        ASSERT_TRUE(w32test::WaitFor([&] { return checked() == bChecked; }));
    }
};

TEST_F(MailXvfb, ToolbarMailSendAndTheMailsArrive) {
    SmtpTestServer server({"--auth", kUser, kPassword});
    ASSERT_NE(server.Port(), 0);
    SeedSettings(server.Port(), 0, 0, "销售部 张三");
    AddPerson("Ann", "安妮", "ann@example.com");
    AddPerson("Bob", "Bobby", "bob@example.com", "竞争对手");
    AddPerson("Cat", "Kitty", "cat@example.com");
    AddPerson("Dan", "丹", "dan@example.com");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_MAIL);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Mail && RowCount(g_Mail.m_RecipientList) == 4; }));
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));
    EXPECT_EQ(Checks(), (std::vector<std::string>{"Ann+", "Bob-", "Cat+", "Dan+"}));
    // The user takes Cat off the list with a click on its check image.
    w32test::ClickListStateImage(g_Mail.m_RecipientList.m_hListView, 2);
    ASSERT_TRUE(w32test::WaitFor([] { return g_Mail.m_RecipientList.GetCheck(2) != 0; }));

    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) {
        HWND hSubject = GetDlgItem(h, 1107);
        w32test::Click(hSubject);
        w32test::TypeText("季度报价", hSubject);
        w32test::Click(GetDlgItem(h, 1111));
    });
    w32test::Click(g_Mail.m_hSendButton);
    ASSERT_TRUE(script.Finished());
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));
    EXPECT_EQ(StatusText(1), "");
    EXPECT_TRUE(TakeBoxes().empty());
    Grab(g_Mail, "mail_page_xvfb");

    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 2u);
    const std::string sign = "\\r\\n\\r\\n" + gbk::ToUtf8("销售部 张三");
    EXPECT_EQ(mails[0]["rcpt"], "ann@example.com");
    EXPECT_EQ(mails[0]["subject"], gbk::ToUtf8("季度报价"));
    EXPECT_EQ(mails[0]["body"], "'" + gbk::ToUtf8("安妮") + ",\\n\\n" + sign + "'");
    EXPECT_EQ(mails[1]["rcpt"], "dan@example.com");
    EXPECT_EQ(mails[1]["body"], "'" + gbk::ToUtf8("丹") + ",\\n\\n" + sign + "'");
}

// The road from the contact list: 联系人 → 所有联系人 → 邮件群发 hands the
// listed contacts over; Send → 发送 mails them.
TEST_F(MailXvfb, ContactListHandsOverAndTheMailsArrive) {
    SmtpTestServer server(
        {"--auth", kUser, kPassword, "--tls", Certificates().strLocalhostCert, Certificates().strLocalhostKey});
    ASSERT_NE(server.Port(), 0);
    SeedSettings(server.Port(), 1);
    AddPerson("Ann", "安妮", "ann@example.com");
    AddPerson("Bob", "Bobby", "bob@example.com", "竞争对手");
    AddPerson("Cat", "Kitty", "cat@example.com");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_CONTACTS);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Start; }));
    w32test::Click(g_Con_Start.m_hMenuButtons[1]);  // 所有联系人
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Homepage; }));
    ASSERT_EQ(RowCount(g_Con_Homepage.m_ListView), 3);
    w32test::Click(g_Con_Homepage.m_hMailButton);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Mail; }));
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    EXPECT_EQ(g_Mail.CountRecipients(), 2);  // the competitor starts unselected

    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) {
        HWND hSubject = GetDlgItem(h, 1107);
        w32test::Click(hSubject);
        w32test::TypeText("新品", hSubject);
        w32test::Click(GetDlgItem(h, 1111));
    });
    w32test::Click(g_Mail.m_hSendButton);
    ASSERT_TRUE(script.Finished());
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(TakeBoxes().empty());
    std::set<std::string> got;
    for (const ReceivedMail& m : server.Messages()) got.insert(m["rcpt"] + " " + m["subject"]);
    EXPECT_EQ(got, (std::set<std::string>{"ann@example.com " + gbk::ToUtf8("新品"),
                                          "cat@example.com " + gbk::ToUtf8("新品")}));
}

// The whole road with nothing seeded but the contacts: 选项设置 → the
// mail settings typed and saved → 联系人 → 所有联系人 → 邮件群发 → Send →
// 发送, and the server holds one mail for each contact with an address.
TEST_F(MailXvfb, SettingsTypedOnTheSettingsPageThenTheContactsAreMailed) {
    SmtpTestServer server({"--auth", kUser, kPassword});
    ASSERT_NE(server.Port(), 0);
    AddPerson("Ann", "安妮", "ann@example.com");
    AddPerson("Cat", "Kitty", "");
    AddPerson("Dan", "丹", "dan@example.com");

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_SETTING);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_MailSetting; }));
    EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
    TypeInto(g_MailSetting.Field(IDC_MSET_NAME), "销售部");
    TypeInto(g_MailSetting.Field(IDC_MSET_EMAIL), "sales@example.com");
    TypeInto(g_MailSetting.Field(IDC_MSET_SMTPSERVER), "127.0.0.1");
    SetCheckBox(g_MailSetting.Field(IDC_MSET_ESMTP), true);  // 身份验证
    TypeInto(g_MailSetting.Field(IDC_MSET_USER), kUser);
    TypeInto(g_MailSetting.Field(IDC_MSET_PASSWORD), kPassword);
    TypeInto(g_MailSetting.Field(IDC_MSET_PORT), server.PortText());
    SetCheckBox(g_MailSetting.Field(IDC_MSET_SSL), false);
    TypeInto(g_MailSetting.Field(IDC_MSET_AGAINTIME), "0");
    TypeInto(g_MailSetting.Field(IDC_MSET_SIGN), "");
    w32test::Click(g_MailSetting.Field(IDC_MSET_SAVE));
    ASSERT_TRUE(w32test::WaitFor([&] { return QueryText("SELECT set_port FROM setting") == server.PortText(); }));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM setting"), 1);
    EXPECT_EQ(QueryText("SELECT set_name FROM setting"), "销售部");
    EXPECT_EQ(QueryText("SELECT set_emailaddress FROM setting"), "sales@example.com");
    EXPECT_EQ(QueryText("SELECT set_smtpserver FROM setting"), "127.0.0.1");
    EXPECT_EQ(QueryText("SELECT set_user FROM setting"), kUser);
    EXPECT_EQ(QueryText("SELECT set_pwd FROM setting"), kPassword);
    EXPECT_EQ(QueryInt("SELECT set_esmtp FROM setting"), 1);
    EXPECT_EQ(QueryInt("SELECT set_ssl FROM setting"), 0);
    EXPECT_EQ(QueryInt("SELECT set_againtime FROM setting"), 0);

    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_CONTACTS);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Start; }));
    w32test::Click(g_Con_Start.m_hMenuButtons[1]);  // 所有联系人
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Homepage; }));
    ASSERT_EQ(RowCount(g_Con_Homepage.m_ListView), 3);
    w32test::Click(g_Con_Homepage.m_hMailButton);  // 邮件群发
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Mail; }));
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    EXPECT_EQ(g_Mail.CountRecipients(), 2);  // Cat has no address

    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) {
        HWND hSubject = GetDlgItem(h, 1107);
        w32test::Click(hSubject);
        w32test::TypeText("年终问候", hSubject);
        w32test::Click(GetDlgItem(h, 1111));  // 发送
    });
    w32test::Click(g_Mail.m_hSendButton);
    ASSERT_TRUE(script.Finished());
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(Enabled(g_Mail.m_hSendButton));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(g_Mail.m_nMailSent, 2);
    Grab(g_Mail, "mail_after_settings_xvfb");

    const std::vector<ReceivedMail> mails = server.Messages();
    std::multiset<std::string> got;
    for (const ReceivedMail& m : mails) {
        got.insert(m["rcpt"] + " " + m["body"]);
        EXPECT_EQ(m["subject"], gbk::ToUtf8("年终问候"));
        EXPECT_EQ(m["from_name"], gbk::ToUtf8("销售部"));
        EXPECT_EQ(m["from_addr"], "sales@example.com");
    }
    // The dialog's content: the blank lines before the (empty) signature.
    const std::string body = ",\\n\\n\\r\\n\\r\\n'";
    EXPECT_EQ(got, (std::multiset<std::string>{"ann@example.com '" + gbk::ToUtf8("安妮") + body,
                                               "dan@example.com '" + gbk::ToUtf8("丹") + body}));
    EXPECT_NE(server.Commands().find("AUTH"), std::string::npos);
}

}  // namespace
