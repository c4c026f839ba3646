// The opportunity record form: stepping through a handed list, editing,
// adding, deleting and cancelling with the database checked afterwards, and
// what the form does when a data call fails or its record is gone.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "shell/RelatingGlobals.h"
#include "resources/opportunities_ids.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;

namespace {

class OppRecordForm : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddOpp({.subject = "甲项目", .important = "高", .phase = "需求分析", .estimate = 300, .probability = 25});
        b = AddOpp({.subject = "乙项目", .important = "中", .estimate = 100.5});
        c = AddOpp({.subject = "丙项目", .important = "低", .estimate = 200});
        GotoOpp_Homepage();
    }
    // Opens the list's row in the form.
    void Open(int row) { DoubleClickRow(g_Opp_Homepage, g_Opp_Homepage.m_ListView, row); }
    void AddTrigger(const char* when) {
        ASSERT_EQ(Exec(std::string("CREATE TRIGGER refuse BEFORE ") + when +
                       " ON opportunities BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                  0);
    }
    // Selects a phase of the combo box as the user would (null: none) and
    // tells the form; false when the combo box does not hold it.
    bool ChoosePhase(const char* pszPhase) {
        int i = -1;
        if (pszPhase) {
            i = (int)SendMessageA(form.m_hPhase, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)pszPhase);
            if (i < 0) return false;
        }
        SendMessageA(form.m_hPhase, CB_SETCURSEL, (WPARAM)i, 0);
        SendMessageA(form.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_OPPD_PHASE, CBN_SELCHANGE), (LPARAM)form.m_hPhase);
        return true;
    }
    unsigned a = 0, b = 0, c = 0;
    Opp_DetailDialogClass& form = g_Opp_Detail;
};

bool NavState(bool first, bool prev, bool next, bool last) {
    return Enabled(g_Opp_Detail.m_hFirstButton) == first && Enabled(g_Opp_Detail.m_hPrevButton) == prev &&
           Enabled(g_Opp_Detail.m_hNextButton) == next && Enabled(g_Opp_Detail.m_hLastButton) == last;
}

TEST_F(OppRecordForm, SteppingFollowsTheListAsShownAndStopsAtBothEnds) {
    Open(0);  // 丙, the top row
    EXPECT_TRUE(NavState(false, false, true, true));
    const int nEntries = HistoryCount();
    HistoryNode* pNode = g_History.m_pCurrent;
    Click(form, IDC_OPPD_NEXT);
    EXPECT_EQ(Text(form.m_hSubject), "乙项目");
    EXPECT_TRUE(NavState(true, true, true, true));
    Click(form, IDC_OPPD_LAST);
    EXPECT_EQ(Text(form.m_hSubject), "甲项目");
    EXPECT_TRUE(NavState(true, true, false, false));
    // Past the end nothing happens.
    SendMessageA(form.m_hWnd, WM_COMMAND, IDC_OPPD_NEXT, 0);
    EXPECT_EQ(form.m_nRow, 2);
    Click(form, IDC_OPPD_FIRST);
    EXPECT_EQ(Text(form.m_hSubject), "丙项目");
    // Stepping changes the form's own entry, it adds none.
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(pNode->m_nParam, 0);
    EXPECT_EQ(pNode->m_nRecordID, c);
    EXPECT_EQ(g_ulRelatingID, c);
    EXPECT_STREQ(g_szRelatingName, "丙项目");
    Grab(form, "opp_detail");
}

TEST_F(OppRecordForm, SteppingNeverWritesIntoAnotherPagesEntry) {
    Open(0);
    GotoOpp_Homepage();
    HistoryNode* pList = g_History.m_pCurrent;
    Click(form, IDC_OPPD_NEXT);
    EXPECT_EQ(pList->m_nParam, 0);
    EXPECT_EQ(pList->m_nRecordID, 0u);
    EXPECT_EQ(pList->m_pView, &g_Opp_Homepage);
}

TEST_F(OppRecordForm, AListOfOneDisablesAllFourButtons) {
    SetText(g_Opp_Homepage.m_hSearchEdit, "乙");
    SendMessageA(g_Opp_Homepage.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    Open(0);
    EXPECT_TRUE(NavState(false, false, false, false));
}

TEST_F(OppRecordForm, EditingAndSavingStoresTheValuesAndReturnsToBrowsing) {
    Open(1);
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    Click(form, IDC_OPPD_EDIT);
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hMenuButtons[0]));
    SetText(form.m_hSubject, "乙项目（二期）");
    SetText(form.m_hEstimateSale, "1500.5");
    SetText(form.m_hDescription, "说明 with 'quote'");
    const int nEntries = HistoryCount();
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(b)), "乙项目（二期）");
    EXPECT_EQ(QueryText("SELECT opp_estimate_sale FROM opportunities WHERE opp_id=" + std::to_string(b)), "1500.5");
    EXPECT_EQ(QueryText("SELECT opp_description FROM opportunities WHERE opp_id=" + std::to_string(b)),
              "说明 with 'quote'");
    EXPECT_EQ(Text(form.m_hEstimateSale), "1500.50");
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    EXPECT_EQ(form.m_nRow, 1);
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(OppRecordForm, TheSubjectTakesWholeCharactersUpToItsStoredWidth) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hSubject, "");
    std::string typed;
    for (int i = 0; i < 140; i++) typed += "长";
    SetFocus(form.m_hSubject);
    w32test::TypeText(typed, form.m_hSubject);
    const std::string shown = Text(form.m_hSubject);
    EXPECT_EQ(shown, typed.substr(0, 254));
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(b)), shown);
    EXPECT_EQ(Text(form.m_hSubject), shown);
}

TEST_F(OppRecordForm, ALargeAmountSurvivesBeingShownAndSavedAgain) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hEstimateSale, "1e60");
    Click(form, IDC_OPPD_SAVE);
    const std::string sql = "SELECT opp_estimate_sale = 1e60 FROM opportunities WHERE opp_id=" + std::to_string(b);
    ASSERT_EQ(QueryInt(sql), 1);
    EXPECT_GT(Text(form.m_hEstimateSale).size(), 60u);
    // Saving the record again writes back the amount it shows.
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hSubject, "乙项目二");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(b)), "乙项目二");
    EXPECT_EQ(QueryInt(sql), 1);
}

TEST_F(OppRecordForm, ChoosingAPhaseWritesItsProbabilityAndSavingKeepsTheNumber) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    ASSERT_TRUE(ChoosePhase("商务谈判"));
    EXPECT_EQ(Text(form.m_hProbability), "60%");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryInt("SELECT opp_succeed_probability FROM opportunities WHERE opp_id=" + std::to_string(b)), 60);
    EXPECT_EQ(QueryText("SELECT opp_phase FROM opportunities WHERE opp_id=" + std::to_string(b)), "商务谈判");
}

TEST_F(OppRecordForm, APhaseOnlyTheRecordHoldsKeepsTheProbabilityShown) {
    const unsigned d = AddOpp({.subject = "丁", .phase = "旧阶段", .probability = 33});
    GotoOpp_Homepage();
    Open(0);
    ASSERT_EQ(form.m_ulRecordID, d);
    Click(form, IDC_OPPD_EDIT);
    ASSERT_TRUE(ChoosePhase("旧阶段"));
    EXPECT_EQ(Text(form.m_hProbability), "33%");
}

TEST_F(OppRecordForm, APhaseChangeWithNothingSelectedLeavesTheProbability) {
    Open(2);  // 甲, 25%
    Click(form, IDC_OPPD_EDIT);
    ChoosePhase(nullptr);
    EXPECT_EQ(Text(form.m_hProbability), "25%");
}

TEST_F(OppRecordForm, SavingANewRecordAddsItsEntryAfterTheBlankForms) {
    GotoOpp_DetailNew();
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_TRUE(NavState(false, false, false, false));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_TRUE(Enabled(form.m_hCreateDate));
    HistoryNode* pBlank = g_History.m_pCurrent;
    ASSERT_EQ(pBlank->m_pView, &form);
    SetText(form.m_hSubject, "新项目");
    SetText(form.m_hEstimateSale, "88");
    SendMessageA(form.m_hImportant, CB_SETCURSEL, 0, 0);
    Click(form, IDC_OPPD_SAVE);
    const long long id = QueryInt("SELECT opp_id FROM opportunities WHERE opp_subject='新项目'");
    ASSERT_GT(id, 0);
    EXPECT_EQ(QueryText("SELECT opp_important FROM opportunities WHERE opp_id=" + std::to_string(id)), "高");
    EXPECT_EQ(form.m_ulRecordID, (ULONG)id);
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_EQ(g_History.m_pCurrent->m_pPrev, pBlank);
    EXPECT_EQ(g_History.m_pCurrent->m_nRecordID, (ULONG)id);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
    EXPECT_EQ(Text(form.m_hSubject), "");
}

TEST_F(OppRecordForm, AddingFromTheMenuWhileTheFormIsShownAddsNoEntry) {
    GotoOpp_DetailNew();
    const int nEntries = HistoryCount();
    Click(form, IDC_OPPD_MENU0);
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(OppRecordForm, CancelGoesBackToTheList) {
    Open(0);
    Click(form, IDC_OPPD_CANCEL);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
}

TEST_F(OppRecordForm, DeleteAsksFirstThenRemovesTheRecordAndItsLinks) {
    ASSERT_EQ(Exec("INSERT INTO opportunities_tasks(tas_id, opp_id) VALUES(5, " + std::to_string(c) + ")"), 0);
    Open(0);
    AnswerBoxes(IDNO);
    Click(form, IDC_OPPD_DELETE);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"您确认要删除记录吗?删除后数据将不可恢复!"});
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), 3);

    AnswerBoxes(IDYES);
    Click(form, IDC_OPPD_DELETE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities WHERE opp_id=" + std::to_string(c)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_tasks"), 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
}

TEST_F(OppRecordForm, ARecordDeletedMeanwhileIsShownAsMissingAndCannotBeEdited) {
    Open(2);  // 甲
    GotoOpp_Homepage();
    ASSERT_EQ(Exec("DELETE FROM opportunities WHERE opp_id=" + std::to_string(a)), 0);
    AnswerBoxes(IDOK);
    Back();
    TakeBoxes();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_FALSE(form.m_bFound);
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_EQ(Text(form.m_hSubject), "");
    // Neither a stray 修改 nor 确定 writes anything.
    Click(form, IDC_OPPD_EDIT);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), 2);
    // Its neighbours in the list are still reachable.
    EXPECT_TRUE(Enabled(form.m_hFirstButton));
    Click(form, IDC_OPPD_FIRST);
    EXPECT_TRUE(form.m_bFound);
    EXPECT_EQ(Text(form.m_hSubject), "丙项目");
}

TEST_F(OppRecordForm, SavingARecordDeletedMeanwhileSaysSoAndKeepsTheInput) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hSubject, "我的修改");
    ASSERT_EQ(Exec("DELETE FROM opportunities WHERE opp_id=" + std::to_string(b)), 0);
    AnswerBoxes(IDOK);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{g_szRecordMissing});
    EXPECT_FALSE(form.m_bFound);
    EXPECT_EQ(Text(form.m_hSubject), "我的修改");
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), 2);
}

TEST_F(OppRecordForm, AFailedChangeStaysInEditModeWithTheInput) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    AddTrigger("UPDATE");
    SetText(form.m_hSubject, "改过的名字");
    const int nEntries = HistoryCount();
    AnswerBoxes(IDOK);
    Click(form, IDC_OPPD_SAVE);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.");
    EXPECT_EQ(Text(form.m_hSubject), "改过的名字");
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(b)), "乙项目");
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(OppRecordForm, AFailedAddStaysANewRecordWithTheInputAndShowsNoOtherRecord) {
    GotoOpp_DetailNew();
    AddTrigger("INSERT");
    SetText(form.m_hSubject, "不会保存");
    HistoryNode* pNode = g_History.m_pCurrent;
    const int nEntries = HistoryCount();
    AnswerBoxes(IDOK);
    Click(form, IDC_OPPD_SAVE);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.");
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hSubject), "不会保存");
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
    EXPECT_EQ(pNode->m_nRecordID, 0u);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), 3);
}

TEST_F(OppRecordForm, AFailedDeleteKeepsTheRecordTheFormAndItsEntry) {
    Open(1);
    AddTrigger("DELETE");
    HistoryNode* pNode = g_History.m_pCurrent;
    AnswerBoxes(IDYES);
    Click(form, IDC_OPPD_DELETE);
    TakeBoxes();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities WHERE opp_id=" + std::to_string(b)), 1);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
    EXPECT_EQ(pNode->m_nRecordID, b);
}

TEST_F(OppRecordForm, AValueMissingFromAFullLookupTableIsStillShownAndSavedBack) {
    ASSERT_EQ(Exec("DELETE FROM important"), 0);
    for (int i = 0; i < Opp_DetailClass::MAX_IMPORTANT; i++)
        ASSERT_EQ(Exec("INSERT INTO important(imp_description) VALUES('级别" + std::to_string(i) + "')"), 0);
    const unsigned d = AddOpp({.subject = "特殊", .important = "特急"});
    GotoOpp_Homepage();
    Open(0);
    ASSERT_EQ(form.m_ulRecordID, d);
    EXPECT_EQ(Text(form.m_hImportant), "特急");
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hSubject, "特殊二");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(QueryText("SELECT opp_important FROM opportunities WHERE opp_id=" + std::to_string(d)), "特急");
}

TEST_F(OppRecordForm, AnImportanceMissingFromTheTableIsShownSelectedAtTheEnd) {
    const unsigned d = AddOpp({.subject = "特殊", .important = "特急"});
    GotoOpp_Homepage();
    Open(0);
    ASSERT_EQ(form.m_ulRecordID, d);
    EXPECT_EQ(SendMessageA(form.m_hImportant, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(form.m_hImportant, CB_GETCURSEL, 0, 0), 3);
}

TEST_F(OppRecordForm, TabAndShiftTabFollowTheFormsOwnOrder) {
    Open(1);
    Click(form, IDC_OPPD_EDIT);
    SetFocus(form.m_hSubject);
    SendMessageA(form.m_hSubject, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), form.m_hPrivate);
    SetFocus(form.m_hSale);
    SendMessageA(form.m_hSale, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), form.m_hImportant);
    w32test::PressKey(VK_TAB, true, false, form.m_hSubject);
    EXPECT_EQ(GetFocus(), form.m_hPhase);
}

TEST_F(OppRecordForm, RealTabKeysWalkTheWholeCycleBothWays) {
    GotoOpp_DetailNew();  // the creation date takes part in a new record
    ASSERT_TRUE(Enabled(form.m_hCreateDate));
    SetFocus(form.m_hSubject);
    // Forward: 销售机会 -> 私有 -> 简述, typed text lands there.
    w32test::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.m_hPrivate);
    w32test::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.m_hDescription);
    w32test::TypeText("abc");
    EXPECT_NE(Text(form.m_hDescription).find("abc"), std::string::npos);
    const HWND forward[] = {form.m_hCreateDate, form.m_hDieDate, form.m_hEstimateSale, form.m_hSale,
                            form.m_hImportant,  form.m_hPhase,   form.m_hSubject};
    SetFocus(form.m_hCreateDate);
    for (size_t i = 1; i < std::size(forward); ++i) {
        w32test::PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), forward[i]) << "after Tab number " << i;
    }
    // Backward the same way round, then 私有 and 创建日期 step back.
    for (size_t i = std::size(forward) - 1; i > 0; --i) {
        w32test::PressKey(VK_TAB, true);
        EXPECT_EQ(GetFocus(), forward[i - 1]) << "after Shift+Tab from " << i;
    }
    w32test::PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), form.m_hDescription);
    SetFocus(form.m_hPrivate);
    w32test::PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), form.m_hSubject);
}

TEST_F(OppRecordForm, ChangingTheRelationTabMakesTheNewTabsPage) {
    Open(0);
    HWND hFirst = form.m_Tab.m_hPage;
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(SendMessageA(form.m_Tab.m_hTab, TCM_GETCURSEL, 0, 0), 0);
    w32test::ClickTab(form.m_Tab.m_hTab, 2);
    w32test::ProcessEvents(0);
    EXPECT_EQ(SendMessageA(form.m_Tab.m_hTab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_NE(form.m_Tab.m_hPage, nullptr);
    EXPECT_FALSE(IsWindow(hFirst));
    EXPECT_EQ(g_ulRelatingID, c);
}

TEST_F(OppRecordForm, AReloadFromARelationPageKeepsTheRowAndAddsNoEntry) {
    Open(1);
    const int nEntries = HistoryCount();
    SendMessageA(form.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)b);
    EXPECT_EQ(form.m_nRow, 1);
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(Text(form.m_hSubject), "乙项目");
}

TEST_F(OppRecordForm, BackAndForwardRestoreTheRowAndTheList) {
    Open(0);
    Click(form, IDC_OPPD_NEXT);
    GotoOpp_Homepage();
    Back();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_nRow, 1);
    EXPECT_EQ(Text(form.m_hSubject), "乙项目");
    EXPECT_EQ(form.m_nIDCount, 3);
    EXPECT_STREQ(form.m_szTitle, "所有项目机会");
    EXPECT_TRUE(NavState(true, true, true, true));
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Homepage);
}

// When the new record's id cannot be read back (a trigger adds a row whose id
// no 32-bit number holds), the add is not stored at all: the form stays new
// with the input, and the next save stores the record once.
TEST_F(OppRecordForm, AnAddWhoseNewIdCannotBeReadIsNotStoredSoASecondSaveStoresItOnce) {
    GotoOpp_DetailNew();
    Database().Exec(
        "CREATE TRIGGER unreadable_id AFTER INSERT ON opportunities WHEN NEW.opp_id < 5000000000 BEGIN "
        "INSERT INTO opportunities(opp_id, opp_subject) VALUES(5000000000, 'x'); END");
    const long long n = QueryInt("SELECT COUNT(*) FROM opportunities");
    SetText(form.m_hSubject, "只存一次");
    AnswerBoxes(IDOK);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hSubject), "只存一次");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), n);
    Database().Exec("DROP TRIGGER unreadable_id");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities"), n + 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities WHERE opp_subject='只存一次'"), 1);
    EXPECT_EQ((long long)form.m_ulRecordID, QueryInt("SELECT MAX(opp_id) FROM opportunities"));
}

}  // namespace
