// The account record form: modes, stepping through a handed list, editing,
// adding, deleting and cancelling with the database checked afterwards, and
// what the form does when a data call fails or its account is gone.
#include <gtest/gtest.h>

#include "dialogs/RelatedPages.h"
#include "resources/accounts_ids.h"
#include "tests/support/ProgramTest.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class AccRecordForm : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddAccount({.name = "甲公司",
                        .important = "高",
                        .type = "代理商",
                        .industry = "金融",
                        .relation = "客户",
                        .province = "北京",
                        .telephone = "010-1"});
        b = AddAccount({.name = "乙公司",
                        .important = "中",
                        .type = "集成商",
                        .industry = "电信",
                        .relation = "供应商",
                        .province = "上海"});
        c = AddAccount({.name = "丙公司", .important = "低"});
        GotoAcc_Homepage();
    }
    // Opens the list's row in the form (row 0 shows 丙, row 2 甲).
    void Open(int row) { DoubleClickRow(g_Acc_Homepage, g_Acc_Homepage.m_ListView, row); }
    void AddTrigger(const char* when) {
        ASSERT_EQ(Exec(std::string("CREATE TRIGGER refuse BEFORE ") + when +
                       " ON accounts BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                  0);
    }
    std::string Stored(const std::string& column, unsigned id) {
        return QueryText("SELECT " + column + " FROM accounts WHERE acc_id=" + std::to_string(id));
    }
    static std::string Selected(HWND hCombo) {
        const int i = (int)SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
        if (i < 0) return "<none>";
        char sz[64] = "";
        SendMessageA(hCombo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)sz);
        return sz;
    }
    unsigned a = 0, b = 0, c = 0;
    Acc_DetailDialogClass& form = g_Acc_Detail;
};

bool NavState(bool first, bool prev, bool next, bool last) {
    return Enabled(g_Acc_Detail.m_hFirstButton) == first && Enabled(g_Acc_Detail.m_hPrevButton) == prev &&
           Enabled(g_Acc_Detail.m_hNextButton) == next && Enabled(g_Acc_Detail.m_hLastButton) == last;
}

TEST_F(AccRecordForm, BrowsingShowsTheAccountReadOnlyWithItsValues) {
    Open(2);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_ACCOUNTS));
    EXPECT_EQ(Text(form.m_hName), "甲公司");
    EXPECT_EQ(Text(form.m_hTelephone), "010-1");
    EXPECT_EQ(Selected(form.m_hImportant), "高");
    EXPECT_EQ(Selected(form.m_hType), "代理商");
    EXPECT_EQ(Selected(form.m_hIndustry), "金融");
    EXPECT_EQ(Selected(form.m_hRelation), "客户");
    EXPECT_EQ(Selected(form.m_hProvince), "北京");
    EXPECT_EQ(GetWindowLongA(form.m_hName, GWL_STYLE) & ES_READONLY, ES_READONLY);
    EXPECT_FALSE(Enabled(form.m_hImportant));
    EXPECT_FALSE(Enabled(form.m_hCreateDate));
    EXPECT_FALSE(Enabled(form.m_hContactDate));
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    EXPECT_TRUE(Enabled(form.m_hDeleteButton));
    EXPECT_TRUE(Enabled(form.m_hMenuButtons[0]));
    // 修改 unlocks everything but the dates; the last contact date never.
    Click(form, IDC_ACCD_EDIT);
    EXPECT_EQ(GetWindowLongA(form.m_hName, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_TRUE(Enabled(form.m_hImportant));
    EXPECT_FALSE(Enabled(form.m_hCreateDate));
    EXPECT_FALSE(Enabled(form.m_hContactDate));
    EXPECT_FALSE(Enabled(form.m_hMenuButtons[0]));
    EXPECT_TRUE(Enabled(form.m_hDeleteButton));
}

TEST_F(AccRecordForm, SteppingFollowsTheListAsShownAndStopsAtBothEnds) {
    Open(0);  // 丙, the top row
    EXPECT_TRUE(NavState(false, false, true, true));
    const int nEntries = HistoryCount();
    HistoryNode* pNode = g_History.m_pCurrent;
    Click(form, IDC_ACCD_NEXT);
    EXPECT_EQ(Text(form.m_hName), "乙公司");
    EXPECT_TRUE(NavState(true, true, true, true));
    Click(form, IDC_ACCD_LAST);
    EXPECT_EQ(Text(form.m_hName), "甲公司");
    EXPECT_TRUE(NavState(true, true, false, false));
    SendMessageA(form.m_hWnd, WM_COMMAND, IDC_ACCD_NEXT, 0);  // past the end: nothing
    EXPECT_EQ(form.m_nRow, 2);
    Click(form, IDC_ACCD_PREV);
    EXPECT_EQ(Text(form.m_hName), "乙公司");
    Click(form, IDC_ACCD_FIRST);
    EXPECT_EQ(Text(form.m_hName), "丙公司");
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(pNode->m_nParam, 0);
    EXPECT_EQ(pNode->m_nRecordID, c);
    EXPECT_EQ(g_ulRelatingID, c);
}

TEST_F(AccRecordForm, EditingAndSavingStoresEveryField) {
    Open(1);  // 乙
    Click(form, IDC_ACCD_EDIT);
    SetText(form.m_hName, "乙公司（新）");
    SetText(form.m_hDescription, "说明 with 'quote'");
    SetText(form.m_hAddress, "南京路1号");
    SetText(form.m_hPostcode, "200001");
    SetText(form.m_hFax, "021-2");
    SetText(form.m_hWebsite, "www.yi.cn");
    SendMessageA(form.m_hIndustry, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "软件");
    SendMessageA(form.m_hPrivate, BM_SETCHECK, BST_CHECKED, 0);
    const int nEntries = HistoryCount();
    Click(form, IDC_ACCD_SAVE);
    EXPECT_EQ(Stored("acc_name", b), "乙公司（新）");
    EXPECT_EQ(Stored("acc_description", b), "说明 with 'quote'");
    EXPECT_EQ(Stored("acc_address", b), "南京路1号");
    EXPECT_EQ(Stored("acc_postcode", b), "200001");
    EXPECT_EQ(Stored("acc_fax", b), "021-2");
    EXPECT_EQ(Stored("acc_website", b), "www.yi.cn");
    EXPECT_EQ(Stored("acc_industry", b), "软件");
    EXPECT_EQ(Stored("acc_province", b), "上海");
    EXPECT_EQ(Stored("acc_private", b), "1");
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    EXPECT_EQ(form.m_nRow, 1);
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_STREQ(g_szRelatingName, "乙公司（新）");
}

TEST_F(AccRecordForm, ANewAccountIsSavedWithoutAListAfterTheBlankFormsEntry) {
    GotoAcc_DetailNew();
    EXPECT_EQ(g_ulRelatingID, 0u);
    EXPECT_TRUE(Enabled(form.m_hCreateDate));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_EQ(SendMessageA(form.m_hImportant, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(form.m_hProvince, CB_GETCOUNT, 0, 0), 34);
    EXPECT_EQ(SendMessageA(form.m_hIndustry, CB_GETCOUNT, 0, 0), 16);
    HistoryNode* pBlank = g_History.m_pCurrent;
    SetText(form.m_hName, "新公司");
    SendMessageA(form.m_hType, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "分销商");
    Click(form, IDC_ACCD_SAVE);
    const unsigned id = (unsigned)QueryInt("SELECT MAX(acc_id) FROM accounts");
    EXPECT_EQ(Stored("acc_name", id), "新公司");
    EXPECT_EQ(Stored("acc_type", id), "分销商");
    EXPECT_EQ(form.m_ulRecordID, id);
    EXPECT_EQ(form.m_pulID, nullptr);
    EXPECT_TRUE(NavState(false, false, false, false));
    EXPECT_EQ(g_History.m_pCurrent->m_pPrev, pBlank);
    // No link rows were written for it.
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id=" + std::to_string(id)), 0);
    Back();
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(Text(form.m_hName), "");
}

TEST_F(AccRecordForm, DeletingRemovesTheAccountAndItsLinksThenBackAndForward) {
    const unsigned o = AddOpp({.subject = "机会"});
    Link("opportunities", o, "accounts", b);
    Open(1);
    AnswerBoxes(IDNO);
    Click(form, IDC_ACCD_DELETE);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts WHERE acc_id=" + std::to_string(b)), 1);
    AnswerBoxes(IDYES);
    Click(form, IDC_ACCD_DELETE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts WHERE acc_id=" + std::to_string(b)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id=" + std::to_string(b)), 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Homepage);
    EXPECT_EQ(RowCount(g_Acc_Homepage.m_ListView), 2);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
}

TEST_F(AccRecordForm, CancelGoesBackWithoutSaving) {
    Open(2);
    Click(form, IDC_ACCD_EDIT);
    SetText(form.m_hName, "不存");
    Click(form, IDC_ACCD_CANCEL);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Homepage);
    EXPECT_EQ(Stored("acc_name", a), "甲公司");
}

TEST_F(AccRecordForm, AFailedAddStaysNewWithTheInputAndShowsNoOtherAccount) {
    GotoAcc_DetailNew();
    const int nEntries = HistoryCount();
    AddTrigger("INSERT");
    SetText(form.m_hName, "加不进");
    AnswerBoxes(IDOK);
    Click(form, IDC_ACCD_SAVE);
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(Text(form.m_hName), "加不进");
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), 3);
    EXPECT_EQ(Stored("acc_name", c), "丙公司");
}

TEST_F(AccRecordForm, AFailedChangeStaysInEditWithTheInput) {
    Open(2);
    Click(form, IDC_ACCD_EDIT);
    AddTrigger("UPDATE");
    SetText(form.m_hName, "改不了");
    AnswerBoxes(IDOK);
    Click(form, IDC_ACCD_SAVE);
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_DetailDialogClass.cpp 281: cad_ChageAccount Error.");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_EQ(Text(form.m_hName), "改不了");
    EXPECT_EQ(Stored("acc_name", a), "甲公司");
}

TEST_F(AccRecordForm, AFailedDeleteKeepsTheAccountItsEntryAndTheForm) {
    Open(2);
    HistoryNode* pNode = g_History.m_pCurrent;
    AddTrigger("DELETE");
    AnswerBoxes(IDYES);
    Click(form, IDC_ACCD_DELETE);
    TakeBoxes();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts WHERE acc_id=" + std::to_string(a)), 1);
    EXPECT_EQ(pNode->m_nRecordID, a);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
}

TEST_F(AccRecordForm, AnAccountThatNoLongerExistsIsShownAsMissing) {
    Open(2);
    GotoAcc_Homepage();
    ASSERT_EQ(Exec("DELETE FROM accounts WHERE acc_id=" + std::to_string(a)), 0);
    AnswerBoxes(IDOK);
    Back();  // to the form's entry of the deleted account
    TakeBoxes();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_FALSE(form.m_bFound);
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_EQ(Text(form.m_hName), "");
    // Nothing can be saved over it.
    SendMessageA(form.m_hWnd, WM_COMMAND, IDC_ACCD_SAVE, 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), 2);
}

TEST_F(AccRecordForm, ValuesMissingFromFullLookupTablesAreShownSelectedAndSavedBack) {
    for (const char* table : {"important", "type", "relation"}) {
        const std::string column = std::string(table).substr(0, 3) + "_description";
        ASSERT_EQ(Exec(std::string("DELETE FROM ") + table), 0);
        for (int i = 0; i < 10; i++)
            ASSERT_EQ(
                Exec(std::string("INSERT INTO ") + table + "(" + column + ") VALUES('值" + std::to_string(i) + "')"),
                0);
    }
    const unsigned d = AddAccount({.name = "丁公司", .important = "旧重要性", .type = "旧类型", .relation = "旧关系"});
    GotoAcc_Homepage();
    Open(0);
    ASSERT_EQ(form.m_ulRecordID, d);
    EXPECT_EQ(Selected(form.m_hImportant), "旧重要性");
    EXPECT_EQ(Selected(form.m_hType), "旧类型");
    EXPECT_EQ(Selected(form.m_hRelation), "旧关系");
    EXPECT_EQ(SendMessageA(form.m_hImportant, CB_GETCOUNT, 0, 0), 11);
    Click(form, IDC_ACCD_EDIT);
    SetText(form.m_hTelephone, "123");
    Click(form, IDC_ACCD_SAVE);
    EXPECT_EQ(Stored("acc_important", d), "旧重要性");
    EXPECT_EQ(Stored("acc_type", d), "旧类型");
    EXPECT_EQ(Stored("acc_relation", d), "旧关系");
    EXPECT_EQ(Stored("acc_telephone", d), "123");
}

TEST_F(AccRecordForm, TheNameTakesWholeCharactersUpTo49BytesAndThePostcode9) {
    Open(1);
    Click(form, IDC_ACCD_EDIT);
    SetText(form.m_hName, "");
    std::string typed = "A";
    for (int i = 0; i < 40; i++) typed += "长";
    SetFocus(form.m_hName);
    w32test::TypeText(typed, form.m_hName);
    EXPECT_EQ(Text(form.m_hName), typed.substr(0, 49));
    SetText(form.m_hPostcode, "");
    SetFocus(form.m_hPostcode);
    w32test::TypeText("1234567890123", form.m_hPostcode);
    EXPECT_EQ(Text(form.m_hPostcode), "123456789");
    Click(form, IDC_ACCD_SAVE);
    EXPECT_EQ(Stored("acc_name", b), typed.substr(0, 49));
    EXPECT_EQ(Stored("acc_postcode", b), "123456789");
}

TEST_F(AccRecordForm, ARestoreWithoutAnIdListDropsTheOldListAndStepping) {
    Open(1);
    // The entry of a form opened with no list.
    g_History.SetIDArray(nullptr, 0);
    g_History.m_pCurrent->m_nIDCount = 0;
    GotoAcc_Homepage();
    Back();
    EXPECT_EQ(form.m_ulRecordID, b);
    EXPECT_EQ(form.m_pulID, nullptr);
    EXPECT_EQ(form.m_nIDCount, 0);
    EXPECT_TRUE(NavState(false, false, false, false));
    SendMessageA(form.m_hWnd, WM_COMMAND, IDC_ACCD_NEXT, 0);
    EXPECT_EQ(form.m_ulRecordID, b);
}

TEST_F(AccRecordForm, ARowOutsideTheListIsAListOfOne) {
    Open(0);
    SendMessageA(form.m_hWnd, UM_SHOWRECORD, 7, (LPARAM)a);
    EXPECT_EQ(form.m_nIDCount, 1);
    EXPECT_EQ(form.m_nRow, 0);
    EXPECT_EQ(Text(form.m_hName), "甲公司");
    EXPECT_TRUE(NavState(false, false, false, false));
}

// The name of the account shown reaches the new-task and new-contact
// dialogs, also after Back brought the account back.
HWND MakeWithEdit(DLGPROC proc, int nID) {
    HWND hDlg = CreateDialogParamA(g_hInstance, IDD_RELATING, g_hMainWnd, proc, 0);
    if (!hDlg) return nullptr;
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, hDlg, (HMENU)(INT_PTR)nID, g_hInstance,
                    nullptr);
    SendMessageA(hDlg, WM_INITDIALOG, 0, 0);
    return hDlg;
}

std::string DialogText(DLGPROC proc, int nID) {
    HWND hDlg = MakeWithEdit(proc, nID);
    if (!hDlg) return "<no dialog>";
    char sz[256] = "";
    GetDlgItemTextA(hDlg, nID, sz, sizeof sz);
    DestroyWindow(hDlg);
    return sz;
}

TEST_F(AccRecordForm, TheAccountsNameReachesTheNewTaskAndNewContactDialogsAlsoAfterBack) {
    const unsigned o = AddOpp({.subject = "某机会"});
    Open(2);  // 甲
    EXPECT_EQ(DialogText(NewTaskDlgProc_AccDetail, IDC_NEWTASK_TITLE), "甲公司");
    EXPECT_EQ(DialogText(NewContactDlgProc_AccDetail, IDC_NEWCONTACT_ACCOUNT), "甲公司");
    GotoOpp_Homepage();
    DoubleClickRow(g_Opp_Homepage, g_Opp_Homepage.m_ListView, 0);
    ASSERT_EQ(g_Opp_Detail.m_ulRecordID, o);
    EXPECT_STREQ(g_szRelatingName, "某机会");
    Back();
    Back();  // the account form again
    ASSERT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(g_ulRelatingID, a);
    EXPECT_EQ(DialogText(NewTaskDlgProc_AccDetail, IDC_NEWTASK_TITLE), "甲公司");
    EXPECT_EQ(DialogText(NewContactDlgProc_AccDetail, IDC_NEWCONTACT_ACCOUNT), "甲公司");
    // And Forward to the opportunity names the opportunity again.
    Forward();
    Forward();
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_STREQ(g_szRelatingName, "某机会");
}

// When the new record's id cannot be read back (a trigger adds a row whose id
// no 32-bit number holds), the add is not stored at all: the form stays new
// with the input, and the next save stores the record once.
TEST_F(AccRecordForm, AnAddWhoseNewIdCannotBeReadIsNotStoredSoASecondSaveStoresItOnce) {
    GotoAcc_DetailNew();
    Database().Exec(
        "CREATE TRIGGER unreadable_id AFTER INSERT ON accounts WHEN NEW.acc_id < 5000000000 BEGIN "
        "INSERT INTO accounts(acc_id, acc_name) VALUES(5000000000, 'x'); END");
    const long long n = QueryInt("SELECT COUNT(*) FROM accounts");
    SetText(form.m_hName, "只存一次");
    AnswerBoxes(IDOK);
    Click(form, IDC_ACCD_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hName), "只存一次");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), n);
    Database().Exec("DROP TRIGGER unreadable_id");
    Click(form, IDC_ACCD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), n + 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts WHERE acc_name='只存一次'"), 1);
    EXPECT_EQ((long long)form.m_ulRecordID, QueryInt("SELECT MAX(acc_id) FROM accounts"));
}

}  // namespace
