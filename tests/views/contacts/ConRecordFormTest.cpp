// The contact record form: stepping, editing, adding, deleting with the
// database checked, the failure paths, its lookup lists, the 工作单位 field
// (double click to the account form, its menu), the nickname that follows
// the name and the address handed to the mail program.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"
#include "win32_testhooks_shell.h"

using namespace programtest;

namespace {

class ConRecordForm : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddContact(
            {.name = "张三", .email = "zhang@example.com", .important = "高", .relation = "客户", .province = "北京"});
        b = AddContact({.name = "李四", .important = "低", .province = "上海"});
        c = AddContact({.name = "王五", .important = "中"});
        acc = AddAccount({.name = "华东光纤公司"});
        Link("accounts", acc, "contacts", b);
        GotoCon_Homepage();
    }
    void Open(int row) { DoubleClickRow(g_Con_Homepage, g_Con_Homepage.m_ListView, row); }
    int RowOf(unsigned id) {
        for (int r = 0; r < g_Con_Homepage.m_nIDCount; r++)
            if (g_Con_Homepage.m_pulID[r] == id) return r;
        return -1;
    }
    void AddTrigger(const char* when) {
        ASSERT_EQ(Exec(std::string("CREATE TRIGGER refuse BEFORE ") + when +
                       " ON contacts BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                  0);
    }
    std::string Stored(const char* column, unsigned id) {
        return QueryText(std::string("SELECT ") + column + " FROM contacts WHERE con_id=" + std::to_string(id));
    }
    unsigned a = 0, b = 0, c = 0, acc = 0;
    Con_DetailDialogClass& form = g_Con_Detail;
};

bool NavState(bool first, bool prev, bool next, bool last) {
    return Enabled(g_Con_Detail.m_hFirstButton) == first && Enabled(g_Con_Detail.m_hPrevButton) == prev &&
           Enabled(g_Con_Detail.m_hNextButton) == next && Enabled(g_Con_Detail.m_hLastButton) == last;
}

TEST_F(ConRecordForm, OpeningShowsTheContactReadOnlyWithItsAccountAndPosition) {
    Open(RowOf(b));
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, b);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(Text(form.m_hName), "李四");
    EXPECT_EQ(Text(form.m_hAccountEdit), "华东光纤公司");
    EXPECT_EQ(form.m_ulAccountID, acc);
    EXPECT_EQ(g_ulRelatingAccID, acc);
    EXPECT_EQ(g_ulRelatingID, b);
    EXPECT_STREQ(g_szRelatingName, "李四");
    EXPECT_EQ(Text(form.m_hProvince), "上海");
    EXPECT_STREQ(form.m_szTitle, "所有联系人");
    EXPECT_EQ(form.m_nIDCount, 3);
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.Field(IDC_COND_ACCOUNT_MENU)));
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
    Grab(form, "con_detail");
}

TEST_F(ConRecordForm, SteppingStopsAtBothEndsAndAListOfOneDisablesAllFour) {
    Open(0);
    EXPECT_TRUE(NavState(false, false, true, true));
    Click(form, IDC_COND_NEXT);
    EXPECT_EQ(form.m_ulRecordID, g_Con_Homepage.m_pulID[1]);
    EXPECT_TRUE(NavState(true, true, true, true));
    Click(form, IDC_COND_LAST);
    EXPECT_EQ(form.m_ulRecordID, g_Con_Homepage.m_pulID[2]);
    EXPECT_TRUE(NavState(true, true, false, false));
    Click(form, IDC_COND_NEXT);  // disabled in the UI; the step is clamped anyway
    EXPECT_EQ(form.m_nRow, 2);

    SetText(g_Con_Homepage.m_hSearchEdit, "王五");
    GotoCon_Homepage();
    SetText(g_Con_Homepage.m_hSearchEdit, "王五");
    SendMessageA(g_Con_Homepage.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(g_Con_Homepage.m_nIDCount, 1);
    Open(0);
    EXPECT_TRUE(NavState(false, false, false, false));
}

TEST_F(ConRecordForm, StepsWithoutAListReadNothingAndStayDisabled) {
    GotoCon_DetailNew();
    EXPECT_EQ(form.m_pulID, nullptr);
    EXPECT_TRUE(NavState(false, false, false, false));
    Click(form, IDC_COND_LAST);
    Click(form, IDC_COND_PREV);
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
}

TEST_F(ConRecordForm, EditingAndSavingStoresEveryFieldAndKeepsTheAccountLink) {
    Open(RowOf(b));
    Click(form, IDC_COND_EDIT);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_TRUE(Enabled(form.Field(IDC_COND_ACCOUNT_MENU)));
    SetText(form.m_hName, "李四新");
    SetText(form.m_hNickname, "小李");
    SetText(form.m_hTelephone, "010-1234");
    SetText(form.m_hEmail, "li@example.cn");
    SetText(form.m_hDescription, "老客户");
    SendMessageA(form.m_hImportant, CB_SETCURSEL,
                 SendMessageA(form.m_hImportant, CB_FINDSTRINGEXACT, -1, (LPARAM) "高"), 0);
    const int nEntries = HistoryCount();
    Click(form, IDC_COND_SAVE);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(Stored("con_name", b), "李四新");
    EXPECT_EQ(Stored("con_nickname", b), "小李");
    EXPECT_EQ(Stored("con_telephone", b), "010-1234");
    EXPECT_EQ(Stored("con_email", b), "li@example.cn");
    EXPECT_EQ(Stored("con_description", b), "老客户");
    EXPECT_EQ(Stored("con_important", b), "高");
    EXPECT_EQ(Stored("con_province", b), "上海");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts WHERE con_id=" + std::to_string(b)), 1);
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(ConRecordForm, NamesAreCutOnWholeCharactersToTheirStoredWidth) {
    Open(0);
    Click(form, IDC_COND_EDIT);
    SetText(form.m_hName, "一二三四五六七八九十");         // 20 bytes: 9 characters fit in 19
    SetText(form.m_hNickname, "a一二三四五六七八九十");    // the cut falls inside a character
    SetText(form.m_hFamily, std::string(48, 'x') + "路");  // 50 bytes: the last character goes
    Click(form, IDC_COND_SAVE);
    const unsigned id = form.m_ulRecordID;
    EXPECT_EQ(Stored("con_name", id), "一二三四五六七八九");
    EXPECT_EQ(Stored("con_nickname", id), "a一二三四五六七八九");
    EXPECT_EQ(Stored("con_family", id), std::string(48, 'x'));
}

TEST_F(ConRecordForm, TypingTheNameOverwritesTheNickname) {
    GotoCon_DetailNew();
    SetText(form.m_hNickname, "旧昵称");
    SetText(form.m_hName, "赵");
    EXPECT_EQ(Text(form.m_hNickname), "赵");
    SetText(form.m_hName, "赵六");
    EXPECT_EQ(Text(form.m_hNickname), "赵六");
    SetText(form.m_hNickname, "小赵");  // the nickname can be changed afterwards
    EXPECT_EQ(Text(form.m_hName), "赵六");
}

TEST_F(ConRecordForm, SavingANewContactStoresItAndShowsItReadOnly) {
    GotoCon_DetailNew();
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_TRUE(Enabled(form.m_hCreateDate));
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    SetText(form.m_hName, "新人");
    SendMessageA(form.m_hRelation, CB_SETCURSEL,
                 SendMessageA(form.m_hRelation, CB_FINDSTRINGEXACT, -1, (LPARAM) "供应商"), 0);
    Click(form, IDC_COND_SAVE);
    const unsigned id = form.m_ulRecordID;
    ASSERT_NE(id, 0u);
    EXPECT_EQ(Stored("con_name", id), "新人");
    EXPECT_EQ(Stored("con_nickname", id), "新人");
    EXPECT_EQ(Stored("con_relation", id), "供应商");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_TRUE(NavState(false, false, false, false));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts WHERE con_id=" + std::to_string(id)), 0);
}

TEST_F(ConRecordForm, AFailedAddStaysNewWithTheTypedValues) {
    GotoCon_DetailNew();
    AddTrigger("INSERT");
    SetText(form.m_hName, "不会保存");
    const int nEntries = HistoryCount();
    Click(form, IDC_COND_SAVE);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.");
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hName), "不会保存");
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts"), 3);
}

TEST_F(ConRecordForm, AFailedChangeKeepsTheEdits) {
    Open(RowOf(a));
    Click(form, IDC_COND_EDIT);
    AddTrigger("UPDATE");
    SetText(form.m_hName, "改过");
    Click(form, IDC_COND_SAVE);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_EQ(Text(form.m_hName), "改过");
    EXPECT_EQ(Stored("con_name", a), "张三");
}

TEST_F(ConRecordForm, AFailedDeleteStaysOnTheRecord) {
    Open(RowOf(a));
    AddTrigger("DELETE");
    HistoryNode* pNode = g_History.m_pCurrent;
    AnswerBoxes(IDYES);
    Click(form, IDC_COND_DELETE);
    TakeBoxes();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts WHERE con_id=" + std::to_string(a)), 1);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
    EXPECT_EQ(pNode->m_nRecordID, a);
}

TEST_F(ConRecordForm, DeleteRemovesTheContactAndItsLinksAndForwardShowsABlankForm) {
    Open(RowOf(b));
    AnswerBoxes(IDYES);
    Click(form, IDC_COND_DELETE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts WHERE con_id=" + std::to_string(b)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts WHERE con_id=" + std::to_string(b)), 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Homepage);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hName), "");
}

TEST_F(ConRecordForm, AContactDeletedMeanwhileIsShownMissingAndCannotBeSavedOver) {
    ASSERT_EQ(Exec("DELETE FROM contacts WHERE con_id=" + std::to_string(a)), 0);
    Open(RowOf(a));
    TakeBoxes();
    EXPECT_FALSE(form.m_bFound);
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    Click(form, IDC_COND_EDIT);
    Click(form, IDC_COND_SAVE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts"), 2);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts"), 1);
}

TEST_F(ConRecordForm, ALookupValueMissingFromItsTableIsShownLastAndSavedBack) {
    ASSERT_EQ(Exec("DELETE FROM relation WHERE rel_description='客户'"), 0);
    Open(RowOf(a));
    const int n = (int)SendMessageA(form.m_hRelation, CB_GETCOUNT, 0, 0);
    EXPECT_EQ(n, 6);  // five left in the table, then the record's own
    EXPECT_EQ((int)SendMessageA(form.m_hRelation, CB_GETCURSEL, 0, 0), n - 1);
    EXPECT_EQ(Text(form.m_hRelation), "客户");
    Click(form, IDC_COND_EDIT);
    Click(form, IDC_COND_SAVE);
    EXPECT_EQ(Stored("con_relation", a), "客户");
}

TEST_F(ConRecordForm, AFullLookupTableStillShowsTheRecordsOwnValue) {
    ASSERT_EQ(Exec("DELETE FROM important"), 0);
    for (int i = 0; i < Con_DetailClass::MAX_IMPORTANT + 2; i++)
        ASSERT_EQ(Exec("INSERT INTO important(imp_description) VALUES('级别" + std::to_string(i) + "')"), 0);
    TakeBoxes();
    Open(RowOf(a));
    TakeBoxes();
    EXPECT_EQ(Text(form.m_hImportant), "高");
    EXPECT_EQ((int)SendMessageA(form.m_hImportant, CB_GETCOUNT, 0, 0), Con_DetailClass::MAX_IMPORTANT + 1);
}

TEST_F(ConRecordForm, ARestoredNewRecordEntryKeepsItsListsAndItsRegion) {
    GotoCon_DetailNew();
    SendMessageA(form.m_hProvince, CB_SETCURSEL, 3, 0);
    SendMessageA(form.m_hImportant, CB_SETCURSEL, 1, 0);
    GotoCon_Homepage();
    ASSERT_EQ(Exec("INSERT INTO province(pro_description) VALUES('新区域')"), 0);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ((int)SendMessageA(form.m_hProvince, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ((int)SendMessageA(form.m_hImportant, CB_GETCURSEL, 0, 0), -1);
    EXPECT_LT((int)SendMessageA(form.m_hProvince, CB_FINDSTRINGEXACT, -1, (LPARAM) "新区域"), 0);
    // A new record loads the lists again.
    GotoCon_DetailNew();
    EXPECT_GE((int)SendMessageA(form.m_hProvince, CB_FINDSTRINGEXACT, -1, (LPARAM) "新区域"), 0);
}

TEST_F(ConRecordForm, BackOntoAContactNamesItForTheRelationPages) {
    Open(RowOf(a));
    GotoCon_Homepage();
    Open(RowOf(c));
    EXPECT_STREQ(g_szRelatingName, "王五");
    Back();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, a);
    EXPECT_STREQ(g_szRelatingName, "张三");
    EXPECT_EQ(g_ulRelatingID, a);
}

TEST_F(ConRecordForm, DoubleClickingTheAccountOpensItOnlyWhenThereIsOne) {
    Open(RowOf(a));  // no account
    SendMessageA(form.m_hAccountEdit, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &form);

    GotoCon_DetailNew();
    SendMessageA(form.m_hAccountEdit, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &form);

    GotoCon_Homepage();
    Open(RowOf(b));
    SendMessageA(form.m_hAccountEdit, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, acc);
    EXPECT_EQ(g_Acc_Detail.m_nIDCount, 1);
    EXPECT_EQ(g_Acc_Detail.m_nRow, 0);
    EXPECT_STREQ(g_Acc_Detail.m_szTitle, "所有客户");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, b);
}

TEST_F(ConRecordForm, TheAccountMenuOffersItsTwoEntriesAndTheyChangeNothingYet) {
    Open(RowOf(b));
    Click(form, IDC_COND_EDIT);
    std::vector<std::string> items;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& call) {
        for (const auto& item : call.items) items.push_back(item);
        return 0;
    });
    Click(form, IDC_COND_ACCOUNT_MENU);
    w32test::SetPopupMenuHook(nullptr);
    EXPECT_EQ(items, (std::vector<std::string>{"新建客户", "选择客户"}));
    {
        // The new-account dialog cancelled changes nothing.
        DialogScript script;
        script.Then("ID_DLG_NEW_ACCOUNT", [](HWND h) { PressButton(h, IDCANCEL); });
        SendMessageA(form.m_hWnd, WM_COMMAND, IDM_NEWACCOUNT, 0);
        EXPECT_TRUE(script.Finished());
    }
    {
        // The account picker: a click, then 取消, changes nothing.
        DialogScript script;
        script.Then("ID_DLG_SELECT_OBJECT", [](HWND h) {
            NMITEMACTIVATE nm = {};
            nm.hdr.hwndFrom = GetDlgItem(h, 1051);
            nm.hdr.idFrom = 1051;
            nm.hdr.code = NM_CLICK;
            nm.iItem = 0;
            SendMessageA(h, WM_NOTIFY, 1051, (LPARAM)&nm);
            PressButton(h, IDCANCEL);
        });
        SendMessageA(form.m_hWnd, WM_COMMAND, IDM_SELECTACCOUNT, 0);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulAccountID, acc);
    EXPECT_EQ(Text(form.m_hAccountEdit), "华东光纤公司");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), 1);
    // Confirmed, the new account is the contact's 工作单位.
    DialogScript script;
    script.Then("ID_DLG_NEW_ACCOUNT", [](HWND h) {
        SetText(h, 1000, "新客户");
        PressButton(h, 1112);
    });
    SendMessageA(form.m_hWnd, WM_COMMAND, IDM_NEWACCOUNT, 0);
    EXPECT_EQ(Text(form.m_hAccountEdit), "新客户");
    EXPECT_EQ((long long)form.m_ulAccountID, QueryInt("SELECT acc_id FROM accounts WHERE acc_name='新客户'"));
    // Picked: a double click on the first account writes its name and id.
    DialogScript pick;
    pick.Then("ID_DLG_SELECT_OBJECT", [](HWND h) {
        DoubleClickRow(h, 1051, 1);
        PressButton(h, IDCANCEL);
    });
    SendMessageA(form.m_hWnd, WM_COMMAND, IDM_SELECTACCOUNT, 0);
    EXPECT_EQ(Text(form.m_hAccountEdit),
              QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(form.m_ulAccountID)));
    EXPECT_NE(Text(form.m_hAccountEdit), "新客户");
}

TEST_F(ConRecordForm, TheMailButtonHandsThePercentEncodedAddressToTheDesktop) {
    EXPECT_EQ(MailtoURL(""), "mailto:");
    EXPECT_EQ(MailtoURL("a b?c&d%e#f@x.cn"), "mailto:a%20b%3Fc%26d%25e%23f@x.cn");
    Open(RowOf(a));
    Click(form, IDC_COND_EDIT);
    SetText(form.m_hEmail, "张?a&b%c@例子.cn");
    w32test::ClearShellExecutes();
    Click(form, IDC_COND_MAILTO);
    auto calls = w32test::ShellExecutes();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, "mailto:%E5%BC%A0%3Fa%26b%25c@%E4%BE%8B%E5%AD%90.cn");
    EXPECT_EQ(calls[0].target, calls[0].file);
    EXPECT_EQ(calls[0].showCmd, SW_SHOW);
}

// Where no program takes mailto links (the offscreen desktop has none), the
// user is told, as the help links tell.
TEST_F(ConRecordForm, TheMailButtonSaysSoWhenNoMailProgramOpens) {
    Open(RowOf(a));
    Click(form, IDC_COND_EDIT);
    SetText(form.m_hEmail, "a@b.cn");
    TakeBoxes();
    Click(form, IDC_COND_MAILTO);
    EXPECT_TRUE(TakeBoxes().empty());  // recorded as opened
    w32test::RecordShellExecuteOnly(false);
    Click(form, IDC_COND_MAILTO);
    w32test::RecordShellExecuteOnly(true);
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{
                               "没有找到可以写邮件的程序，请安装邮件程序后再试，或把邮件地址复制到您的邮件程序中。"}));
}

TEST_F(ConRecordForm, TheEmailFieldIsNeverMatchedThroughItsCommandId) {
    Open(RowOf(a));
    Click(form, IDC_COND_EDIT);
    w32test::ClearShellExecutes();
    // A change in the e-mail edit notifies with the low 16 bits of its id.
    SetText(form.m_hEmail, "x@y.cn");
    SendMessageA(form.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_COND_EMAIL & 0xFFFF, EN_CHANGE), (LPARAM)form.m_hEmail);
    EXPECT_TRUE(w32test::ShellExecutes().empty());
    EXPECT_EQ(Text(form.m_hNickname), "");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
}

// When the new record's id cannot be read back (a trigger adds a row whose id
// no 32-bit number holds), the add is not stored at all: the form stays new
// with the input, and the next save stores the record once.
TEST_F(ConRecordForm, AnAddWhoseNewIdCannotBeReadIsNotStoredSoASecondSaveStoresItOnce) {
    GotoCon_DetailNew();
    Database().Exec(
        "CREATE TRIGGER unreadable_id AFTER INSERT ON contacts WHEN NEW.con_id < 5000000000 BEGIN "
        "INSERT INTO contacts(con_id, con_name) VALUES(5000000000, 'x'); END");
    const long long n = QueryInt("SELECT COUNT(*) FROM contacts");
    SetText(form.m_hName, "只存一次");
    AnswerBoxes(IDOK);
    Click(form, IDC_COND_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hName), "只存一次");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts"), n);
    Database().Exec("DROP TRIGGER unreadable_id");
    Click(form, IDC_COND_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts"), n + 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts WHERE con_name='只存一次'"), 1);
    EXPECT_EQ((long long)form.m_ulRecordID, QueryInt("SELECT MAX(con_id) FROM contacts"));
}

}  // namespace
