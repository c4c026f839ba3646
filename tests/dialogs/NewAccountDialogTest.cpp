// The new-account dialog: what 确定 stores, what each kind of member hands
// back or links, and that cancelling or a failed insert hands back nothing.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "shell/RelatingGlobals.h"
#include "shell/RecordFormClass.h"
#include "views/contacts/Con_DetailDialogClass.h"

#include <string>

using namespace programtest;
using namespace dialogtest;

namespace {

class NewAccountDialog : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        m_hEdit = CreateWindowExA(0, "EDIT", "旧客户", WS_CHILD, 0, 0, 100, 20, g_hMainWnd, NULL, g_hInstance, NULL);
        g_hNewContactAccountEdit = m_hEdit;
        g_ulRelatingAccID = 77;
        g_ulRelatingID = 0;
    }
    void TearDown() override {
        g_hNewContactAccountEdit = NULL;
        g_ulRelatingAccID = 0;
        g_ulRelatingID = 0;
        DestroyWindow(m_hEdit);
    }
    long long Accounts() { return QueryInt("SELECT COUNT(*) FROM accounts"); }
    HWND m_hEdit = NULL;
};

TEST_F(NewAccountDialog, AnUntouchedFormStoresEmptyTextsTodayAndNotPrivate) {
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [](HWND h) { PressButton(h, IDC_NEWRECORD_OK); });
    auto rows = Database().Query(
        "SELECT acc_name, acc_important, acc_type, acc_create_date, acc_recent_contact_date, acc_private, "
        "acc_id FROM accounts ORDER BY acc_id DESC LIMIT 1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "");
    EXPECT_EQ(rows[0][1], "");
    EXPECT_EQ(rows[0][2], "");
    EXPECT_EQ(rows[0][3], Today());
    EXPECT_EQ(rows[0][4], Today());
    EXPECT_EQ(rows[0][5], "0");
    // The nested member hands the new account to the new-contact dialog.
    EXPECT_EQ(Text(m_hEdit), "");
    EXPECT_EQ(std::to_string(g_ulRelatingAccID), rows[0][6]);
}

TEST_F(NewAccountDialog, ALongNameIsCutAt49BytesAndALongDescriptionKeptWhole) {
    std::string name;
    for (int i = 0; i < 30; ++i) name += "客";  // 60 GBK bytes
    std::string description(6000, 'x');
    description += "'尾";
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [&](HWND h) {
        SetText(h, IDC_NEWACC_NAME, name);
        SetText(h, IDC_NEWACC_DESCRIPTION, description);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(QueryText("SELECT acc_name FROM accounts ORDER BY acc_id DESC"), name.substr(0, 48));
    // Read back whole (UTF-8): 6000 x, the quote and one character.
    auto rows = Database().Query(
        "SELECT length(acc_description), substr(acc_description, 5995) FROM accounts "
        "ORDER BY acc_id DESC LIMIT 1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "6002");
    EXPECT_EQ(rows[0][1], "xxxxxx'\xE5\xB0\xBE");
    EXPECT_EQ(Text(m_hEdit), name.substr(0, 48));
}

TEST_F(NewAccountDialog, FourLookupsAreSortedAndImportanceKeepsTheTableOrder) {
    Exec("DELETE FROM important");
    Exec("INSERT INTO important VALUES('重要')");
    Exec("INSERT INTO important VALUES('一般')");
    Exec("INSERT INTO important VALUES('A')");
    Exec("DELETE FROM industry");
    for (const char* psz : {"c", "a", "b"}) Exec(std::string("INSERT INTO industry VALUES('") + psz + "')");
    std::vector<std::string> important, industry;
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [&](HWND h) {
        auto read = [h](int nID) {
            std::vector<std::string> v;
            HWND hBox = GetDlgItem(h, nID);
            const int n = (int)SendMessageA(hBox, CB_GETCOUNT, 0, 0);
            for (int i = 0; i < n; ++i) {
                char sz[64] = {};
                SendMessageA(hBox, CB_GETLBTEXT, i, (LPARAM)sz);
                v.push_back(sz);
            }
            return v;
        };
        important = read(IDC_NEWACC_IMPORTANT);
        industry = read(IDC_NEWACC_INDUSTRY);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(important, (std::vector<std::string>{"重要", "一般", "A"}));
    EXPECT_EQ(industry, (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(NewAccountDialog, CancelEscAndTheCloseBoxStoreAndWriteNothing) {
    const long long n = Accounts();
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "不要");
        PressButton(h, IDCANCEL);
    });
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "不要");
        w32test::PressKey(VK_ESCAPE, false, false, GetDlgItem(h, IDC_NEWACC_NAME));
    });
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "不要");
        SendMessageA(h, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Accounts(), n);
    EXPECT_EQ(Text(m_hEdit), "旧客户");
    EXPECT_EQ(g_ulRelatingAccID, 77u);
}

TEST_F(NewAccountDialog, AFailedInsertKeepsTheDialogOpenAndHandsNothingBack) {
    FailInsertsInto("accounts");
    const AfterOk seen = TypeAndPressOk(IDD_NEW_ACCOUNT, NewAccountDlgProc_NewContact, IDC_NEWACC_NAME, "失败");
    EXPECT_TRUE(seen.bOpen);
    EXPECT_EQ(seen.typed, "失败");
    EXPECT_EQ(Text(m_hEdit), "旧客户");
    EXPECT_EQ(g_ulRelatingAccID, 77u);
    const auto boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.");
}

TEST_F(NewAccountDialog, TheContactsPageMembersLinkTheShownRecordAtOnce) {
    const unsigned o = AddOpp({.subject = "机会"});
    const unsigned t = AddTask({.subject = "日志"});
    g_ulRelatingID = o;
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_OppDetailContacts, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "甲");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const long long a = QueryInt("SELECT acc_id FROM accounts WHERE acc_name='甲'");
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_accounts WHERE opp_id=" + std::to_string(o)), a);
    EXPECT_EQ((long long)g_ulRelatingAccID, a);
    g_ulRelatingID = t;
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_TasDetailContacts, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "乙");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const long long b = QueryInt("SELECT acc_id FROM accounts WHERE acc_name='乙'");
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_tasks WHERE tas_id=" + std::to_string(t)), b);
    EXPECT_EQ(Text(m_hEdit), "乙");
}

TEST_F(NewAccountDialog, TheContactFormGetsTheNameAndIdOfTheNewAccount) {
    HandOverToForm(&g_Con_Detail, nullptr, 0, -1, "");  // a blank contact form
    ASSERT_NE(g_Con_Detail.m_hAccountEdit, nullptr);
    g_Con_Detail.m_ulAccountID = 0;
    RunDialog(IDD_NEW_ACCOUNT, NewAccountDlgProc_ConDetail, [](HWND h) {
        SetText(h, IDC_NEWACC_NAME, "丙公司");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(Text(g_Con_Detail.m_hAccountEdit), "丙公司");
    EXPECT_EQ((long long)g_Con_Detail.m_ulAccountID, QueryInt("SELECT acc_id FROM accounts WHERE acc_name='丙公司'"));
    g_Con_Detail.m_ulAccountID = 0;
    SetWindowTextA(g_Con_Detail.m_hAccountEdit, "");
}

}  // namespace
