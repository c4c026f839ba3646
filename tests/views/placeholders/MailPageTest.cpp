// The mail page and its send thread: the thread reads the recipient list and
// writes the status bar from its own thread, and ends the run with a message
// that the page handles on the UI thread.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "program/HomepageDialogClass.h"
#include "mail/MailDialogClass.h"


#include "platform/gbk/gbk.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class MailPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureProgram();
        ResetToStartPage();
        g_Toolbar.OnMail(NULL, 0, 0, 0);
        ASSERT_EQ(g_pCurrentDialog, &g_Mail);
        ASSERT_NE(g_Mail.m_RecipientList.m_hListView, nullptr);
        g_Mail.m_RecipientList.DeleteAllItems();
    }

    void AddRecipient(const char* pszNickname, const char* pszEmail, bool bSelected)
    {
        int nRow = g_Mail.m_RecipientList.InsertItem(0, pszNickname);
        g_Mail.m_RecipientList.SetItemText(nRow, MailDialogClass::kColumnEmail, pszEmail);
        g_Mail.m_RecipientList.SetCheck(nRow, bSelected ? 0 : 1);
    }

    // Runs the UI thread's loop until the run is over (bounded).
    void WaitForRunEnd()
    {
        w32test::WaitFor(
            [] {
                PumpMessages();
                return !g_Mail.IsSending();
            },
            20000);
    }
};

}  // namespace

TEST_F(MailPage, HasTheCheckImagesOnItsRecipientList)
{
    EXPECT_TRUE(IsButtonChecked(IDC_TB_MAIL));
    EXPECT_NE(g_Mail.m_hCheckImages, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(g_Mail.m_hCheckImages), 2);
    AddRecipient("a", "a@example.com", true);
    AddRecipient("b", "b@example.com", false);
    EXPECT_EQ(g_Mail.m_RecipientList.GetCheck(0), 1);  // rows are inserted at the top
    EXPECT_EQ(g_Mail.m_RecipientList.GetCheck(1), 0);
}

TEST_F(MailPage, ARunReadsTheListFromItsThreadAndEndsOnTheUiThread)
{
    // Rows from the top: last, first, skipped (each row is inserted at the top).
    AddRecipient("skipped", "skipped@example.com", false);
    AddRecipient("first", "first@example.com", true);
    AddRecipient("last", "last@example.com", true);
    g_Mail.m_nMailTotal = 2;
    g_StatusBar.SetText(1, "");

    SendMessageA(g_Mail.m_hWnd, UM_MAILSTART, 0, 0);
    ASSERT_TRUE(g_Mail.IsSending());
    EXPECT_EQ(StatusText(1), "准备发送邮件,共2封邮件");

    // The thread waits for this thread to answer its reads: the run cannot
    // end before the loop runs, and no new recipients are taken meanwhile.
    EXPECT_EQ(SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0), -1);
    int nEntries = g_History.Count();

    WaitForRunEnd();
    ASSERT_FALSE(g_Mail.IsSending());
    EXPECT_EQ(g_History.Count(), nEntries);
    // The thread read the cells of the selected rows and passed over the
    // unselected bottom row.
    EXPECT_STREQ(g_Mail.m_szRecipient, "first@example.com");
    EXPECT_EQ(StatusText(1), "");

    // Idle again: recipients are taken, with a history entry.
    EXPECT_EQ(SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0), 0);
    EXPECT_EQ(g_History.Count(), nEntries + 1);
}

TEST_F(MailPage, ASecondStartDuringARunIsIgnored)
{
    AddRecipient("one", "one@example.com", true);
    SendMessageA(g_Mail.m_hWnd, UM_MAILSTART, 0, 0);
    HANDLE hThread = g_Mail.m_hThread;
    SendMessageA(g_Mail.m_hWnd, UM_MAILSTART, 0, 0);
    EXPECT_EQ(g_Mail.m_hThread, hThread);
    WaitForRunEnd();
    EXPECT_FALSE(g_Mail.IsSending());
}

TEST_F(MailPage, RecipientsHandedToANeverShownPageBuildItFirst)
{
    // g_Mail was shown by SetUp; what matters is that the message works
    // before the page is shown again and the sender then switches.
    ResetToStartPage();
    EXPECT_EQ(SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0), 0);
    EXPECT_TRUE(g_Mail.m_bInit);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &g_Mail);
}

TEST_F(MailPage, HandedContactsBecomeRecipientsInNameOrder)
{
    programtest::ProgramDatabase& db = Database();
    db.Exec("DELETE FROM accounts_contacts");
    db.Exec("DELETE FROM contacts");
    // Program literals are GBK; the database file holds UTF-8.
    db.Exec(gbk::ToUtf8("INSERT INTO accounts (acc_name, acc_type) VALUES ('对手公司', '竞争对手')"));
    std::string strAcc = db.Query("SELECT MAX(acc_id) FROM accounts")[0][0];
    db.Exec("INSERT INTO contacts (con_name, con_nickname, con_email) VALUES ('Bob', 'b', 'bob@example.com')");
    db.Exec("INSERT INTO contacts (con_name, con_nickname, con_email) VALUES ('Ann', 'a', 'ann@example.com')");
    db.Exec("INSERT INTO contacts (con_name, con_nickname, con_email) VALUES ('Cat', 'c', 'cat@example.com')");
    std::string strCat = db.Query("SELECT con_id FROM contacts WHERE con_name = 'Cat'")[0][0];
    db.Exec("INSERT INTO accounts_contacts (acc_id, con_id) VALUES (" + strAcc + ", " + strCat + ")");

    // What a contact page does before it hands its contacts over.
    g_Mail.m_ConDetail.ccd_FreeList();
    g_Mail.m_nConCount = g_Mail.m_ConDetail.ccd_GetAllContactsByName();
    ASSERT_EQ(g_Mail.m_nConCount, 3);
    ResetToStartPage();
    ASSERT_EQ(SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0), 0);

    ListViewClass& list = g_Mail.m_RecipientList;
    ASSERT_EQ(list.GetItemCount(), 3);
    char sz[64];
    const char* names[] = {"Ann", "Bob", "Cat"};
    for (int i = 0; i < 3; i++) {
        list.GetItemText(i, 1, sz, sizeof sz);
        EXPECT_STREQ(sz, names[i]) << "row " << i;
        std::string strID = db.Query(std::string("SELECT con_id FROM contacts WHERE con_name = '") + names[i] + "'")[0][0];
        EXPECT_EQ(g_Mail.m_pulID[i], std::stoul(strID)) << "row " << i;
    }
    list.GetItemText(2, MailDialogClass::kColumnEmail, sz, sizeof sz);
    EXPECT_STREQ(sz, "cat@example.com");
    EXPECT_EQ(list.GetCheck(0), 0);
    EXPECT_EQ(list.GetCheck(1), 0);
    list.GetItemText(2, 3, sz, sizeof sz);
    EXPECT_STREQ(sz, "竞争对手");
    EXPECT_EQ(list.GetCheck(2), 1) << "competitors start unselected";

    // A failed load fills nothing.
    g_Mail.m_nConCount = -1;
    SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(g_Mail.m_pulID, nullptr);

    // A count handed without a loaded list: a message, no rows and no ids.
    g_Mail.m_ConDetail.ccd_FreeList();
    g_Mail.m_nConCount = 3;
    w32test::ClearMessageBoxes();
    SendMessageA(g_Mail.m_hWnd, UM_MAILTOLIST, 0, 0);
    ASSERT_EQ(w32test::MessageBoxes().size(), 1u);
    EXPECT_EQ(w32test::MessageBoxes()[0].text, "Acc_HomepageDialogClass 135: m_pConHead Error.");
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(g_Mail.m_pulID, nullptr);
    EXPECT_EQ(g_Mail.m_nConCount, 0);
}

TEST_F(MailPage, GrabOfTheMailPageWithItsToolbar)
{
    AddRecipient("a", "a@example.com", true);
    AddRecipient("b", "b@example.com", false);
    PumpMessages();
    EXPECT_TRUE(w32test::GrabWindow(g_hMainWnd, programtest::GrabFolder() + "placeholders-mail-page.png"));
}
