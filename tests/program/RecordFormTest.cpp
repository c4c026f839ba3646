// The record forms' hand-over: the id list a page gives a form, the form's
// history entry, its relation tab pages and the record they work on.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_Navigation.h"
#include "views/tasks/Tas_Navigation.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "program/HomepageDialogClass.h"
#include "dialogs/RelatedPages.h"
#include "shell/RelatingGlobals.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "win32_testhooks.h"

#include <cstring>
#include <string>
#include <vector>

using namespace programtest;

// Test names show the form, not its address.
void PrintTo(RecordFormClass* p, std::ostream* os) { *os << ViewClassName(p); }

namespace {

class RecordForm : public ::testing::TestWithParam<RecordFormClass*> {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
    }

    // What a list page does on a double click of row nRow.
    void HandOver(const ULONG* pulID, int nCount, int nRow, const char* pszTitle) {
        ASSERT_EQ(HandOverToForm(GetParam(), pulID, nCount, nRow, pszTitle), 0);
    }
};

std::string NameOf(const ::testing::TestParamInfo<RecordFormClass*>& info) { return ViewClassName(info.param); }

const ULONG kIDs[] = {11, 22, 33};

// True when the position line's area (166, 16) shows any text: a pixel on
// screen there differs from the page's background beside it.
bool PositionLineShown(RecordFormClass* pForm) {
    PumpMessages();
    const COLORREF background = w32test::BackingPixel(pForm->m_hWnd, 690, 20);
    for (int y = 17; y < 33; y++)
        for (int x = 166; x < 560; x++)
            if (w32test::BackingPixel(pForm->m_hWnd, x, y) != background) return true;
    return false;
}

bool AllStepsDisabled(RecordFormClass* pForm) {
    return !Enabled(pForm->m_hFirstButton) && !Enabled(pForm->m_hPrevButton) && !Enabled(pForm->m_hNextButton) &&
           !Enabled(pForm->m_hLastButton);
}

}  // namespace

TEST_P(RecordForm, AHandedListIsCopiedIntoTheFormsEntry) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 1, "所有计划日志");

    EXPECT_EQ(g_pCurrentDialog, pForm);
    EXPECT_TRUE(IsButtonChecked(pForm->Def().nButton));
    EXPECT_EQ(pForm->m_ulRecordID, 22u);
    EXPECT_EQ(pForm->m_nRow, 1);
    EXPECT_EQ(g_ulRelatingID, 22u);

    const HistoryNode* pNode = g_History.m_pCurrent;
    ASSERT_EQ(pNode->m_pView, pForm);
    EXPECT_EQ(pNode->m_nRecordID, 22u);
    EXPECT_EQ(pNode->m_nParam, 1);
    ASSERT_EQ(pNode->m_nIDCount, 3);
    ASSERT_NE(pNode->m_pulID, nullptr);
    EXPECT_NE(pNode->m_pulID, pForm->m_pulID) << "the entry keeps its own copy";
    EXPECT_EQ(pNode->m_pulID[2], 33u);
    ASSERT_NE(pNode->m_pszTitle, nullptr);
    EXPECT_STREQ(pNode->m_pszTitle, "所有计划日志");
}

TEST_P(RecordForm, ShowingAgainAtTheSameRowAddsNoEntry) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 2, "t");
    int nCount = g_History.Count();
    // A relation page reports a change of links.
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)-1, 33);
    EXPECT_EQ(g_History.Count(), nCount);
    EXPECT_EQ(pForm->m_nRow, 2);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 2);
}

TEST_P(RecordForm, ARecordOutsideTheHandedListIsAListOfOne) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    const int nCount = g_History.Count();
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, 7, 99);
    EXPECT_EQ(pForm->m_ulRecordID, 99u);
    EXPECT_EQ(pForm->m_nRow, 0);
    ASSERT_EQ(pForm->m_nIDCount, 1);
    EXPECT_EQ(pForm->m_pulID[0], 99u);
    EXPECT_FALSE(pForm->HasRow(1));
    // The form's own entry follows, so that Back and Forward rebuild the same.
    EXPECT_EQ(g_History.Count(), nCount);
    EXPECT_EQ(g_History.m_pCurrent->m_nRecordID, 99u);
    EXPECT_EQ(g_History.m_pCurrent->m_nIDCount, 1);

    // A row outside the list is refused by the hand-over itself.
    EXPECT_EQ(HandOverToForm(pForm, kIDs, 3, 3, "t"), -1);
    EXPECT_EQ(HandOverToForm(pForm, nullptr, 0, 0, "t"), -1);
    EXPECT_EQ(pForm->m_ulRecordID, 99u);
}

TEST_P(RecordForm, ATitleCutInsideACharacterLosesOnlyThatCharacter) {
    RecordFormClass* pForm = GetParam();
    char szTitle[128];
    memset(szTitle, 'x', 126);
    szTitle[126] = (char)0xC4;  // a lead byte without its second byte
    szTitle[127] = '\0';
    HandOver(kIDs, 3, 0, szTitle);
    EXPECT_EQ(strlen(pForm->m_szTitle), 126u);
    ASSERT_NE(g_History.m_pCurrent->m_pszTitle, nullptr);
    EXPECT_EQ(strlen(g_History.m_pCurrent->m_pszTitle), 126u);
}

TEST_P(RecordForm, FreeIDArrayForgetsTheCountWithTheList) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    pForm->FreeIDArray();
    EXPECT_EQ(pForm->m_pulID, nullptr);
    EXPECT_EQ(pForm->m_nIDCount, 0);
    EXPECT_FALSE(pForm->HasRow(0));
    // Freed twice, as the hand-over does after UM_NEWRECORD.
    pForm->FreeIDArray();
    EXPECT_EQ(pForm->m_nIDCount, 0);
}

TEST_P(RecordForm, TheHandOverOfNoRowOpensANewRecordWithoutAList) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 1, "t");
    EXPECT_EQ(HandOverToForm(pForm, kIDs, 3, -1, "t"), 0);
    EXPECT_EQ(g_pCurrentDialog, pForm);
    EXPECT_EQ(pForm->m_ulRecordID, 0u);
    EXPECT_EQ(pForm->m_pulID, nullptr);
    EXPECT_EQ(pForm->m_nIDCount, 0);
    EXPECT_EQ(pForm->CurrentMode(), RecordFormClass::kNew);
}

TEST_P(RecordForm, BackToTheFormRestoresItsListFromTheEntry) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 1, "第一张表");
    GotoTas_Week();
    // Another page replaces the form's list meanwhile.
    pForm->FreeIDArray();
    strcpy(pForm->m_szTitle, "other");
    g_ulRelatingID = 0;

    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, pForm);
    ASSERT_EQ(pForm->m_nIDCount, 3);
    ASSERT_NE(pForm->m_pulID, nullptr);
    EXPECT_EQ(pForm->m_pulID[0], 11u);
    EXPECT_STREQ(pForm->m_szTitle, "第一张表");
    EXPECT_EQ(pForm->m_ulRecordID, 22u);
    EXPECT_EQ(pForm->m_nRow, 1);
    EXPECT_EQ(g_ulRelatingID, 22u);
    EXPECT_EQ(RelatedPageLoadedID(pForm->m_Tab.m_hPage), 22u);
}

TEST_P(RecordForm, ANewRecordClearsTheRelatedRecord) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    ASSERT_EQ(g_ulRelatingID, 11u);
    int nCount = g_History.Count();
    SendMessageA(pForm->m_hWnd, UM_NEWRECORD, 0, 0);
    EXPECT_EQ(pForm->m_ulRecordID, 0u);
    EXPECT_EQ(g_ulRelatingID, 0u);
    EXPECT_EQ(g_History.Count(), nCount) << "the form's entry is current already";
    EXPECT_EQ(RelatedPageLoadedID(pForm->m_Tab.m_hPage), 0u);
}

TEST_P(RecordForm, TabsMakeAFreshPageForTheRecordShown) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 2, "t");
    ASSERT_NE(pForm->m_Tab.m_hTab, nullptr);
    ASSERT_GE(pForm->m_Tab.m_nPages, 2);
    // The form shows its first tab after it was built.
    EXPECT_EQ(SendMessageA(pForm->m_Tab.m_hTab, TCM_GETCURSEL, 0, 0), 0);
    HWND hFirst = pForm->m_Tab.m_hPage;
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(RelatedPageLoadedID(hFirst), 33u);

    pForm->m_Tab.SetCurSel(1);
    pForm->m_Tab.OnSelChange();
    PumpMessages();
    EXPECT_FALSE(IsWindow(hFirst)) << "the previous page is destroyed";
    HWND hSecond = pForm->m_Tab.m_hPage;
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(RelatedPageLoadedID(hSecond), 33u);

    pForm->m_Tab.SetCurSel(0);
    pForm->m_Tab.OnSelChange();
    pForm->m_Tab.SetCurSel(1);
    pForm->m_Tab.OnSelChange();
    PumpMessages();
    EXPECT_NE(pForm->m_Tab.m_hPage, nullptr);
    EXPECT_EQ(RelatedPageLoadedID(pForm->m_Tab.m_hPage), 33u);
}

TEST_P(RecordForm, ClickingTabHeadersRemakesOnlyForAnotherTab) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 1, "t");
    HWND hTab = pForm->m_Tab.m_hTab;
    ASSERT_NE(hTab, nullptr);
    auto clickTab = [&](int nIndex) {
        RECT rc{};
        ASSERT_TRUE(SendMessageA(hTab, TCM_GETITEMRECT, nIndex, (LPARAM)&rc));
        w32test::Click(hTab, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PumpMessages();
    };
    HWND hFirst = pForm->m_Tab.m_hPage;
    ASSERT_NE(hFirst, nullptr);

    // The header of the tab already shown: no change, the same page.
    clickTab(0);
    EXPECT_EQ(pForm->m_Tab.m_hPage, hFirst);
    EXPECT_TRUE(IsWindow(hFirst));

    // Another header: that tab's page is made for the record shown.
    clickTab(1);
    EXPECT_EQ(SendMessageA(hTab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(IsWindow(hFirst));
    ASSERT_NE(pForm->m_Tab.m_hPage, nullptr);
    EXPECT_EQ(RelatedPageLoadedID(pForm->m_Tab.m_hPage), 22u);
    HWND hSecond = pForm->m_Tab.m_hPage;
    clickTab(1);
    EXPECT_EQ(pForm->m_Tab.m_hPage, hSecond);
}

TEST_P(RecordForm, AFormWithoutAPageStillShowsRecords) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    HWND hPage = pForm->m_Tab.m_hPage;
    pForm->m_Tab.m_hPage = NULL;
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, 1, 22);
    EXPECT_EQ(g_ulRelatingID, 22u);
    pForm->m_Tab.m_hPage = hPage;
}

TEST_P(RecordForm, ASavedNewRecordIsShownWithoutAPositionLine) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 1, "t");
    ASSERT_TRUE(PositionLineShown(pForm)) << "a handed list shows its line";

    SendMessageA(pForm->m_hWnd, UM_NEWRECORD, 0, 0);
    EXPECT_FALSE(PositionLineShown(pForm));
    Click(*pForm, pForm->Def().ids.nSave);
    const ULONG ulNew = pForm->m_ulRecordID;
    ASSERT_NE(ulNew, 0u);
    EXPECT_EQ(pForm->CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_FALSE(PositionLineShown(pForm));
    EXPECT_TRUE(AllStepsDisabled(pForm));

    // A relation page shows it again; stepping stays where it is.
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ulNew);
    Click(*pForm, pForm->Def().ids.nLast);
    EXPECT_EQ(pForm->m_ulRecordID, ulNew);
    EXPECT_FALSE(PositionLineShown(pForm));
    EXPECT_TRUE(AllStepsDisabled(pForm));

    // Back to the entry current before the save (the handed list's) and
    // Forward to the saved record: no line again.
    Back();
    EXPECT_EQ(pForm->m_ulRecordID, 22u);
    EXPECT_TRUE(PositionLineShown(pForm));
    Forward();
    EXPECT_EQ(pForm->m_ulRecordID, ulNew);
    EXPECT_FALSE(PositionLineShown(pForm));
    EXPECT_TRUE(AllStepsDisabled(pForm));
}

TEST_P(RecordForm, ShownAndNewRecordsLeaveTheKeyboardFocusWhereItIs) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    HWND hSearch = pForm->m_hSearchEdit;
    SetFocus(hSearch);
    ASSERT_EQ(GetFocus(), hSearch);

    Click(*pForm, pForm->Def().ids.nNext);
    EXPECT_EQ(pForm->m_nRow, 1);
    EXPECT_EQ(GetFocus(), hSearch) << "after a step";
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)-1, 22);
    EXPECT_EQ(GetFocus(), hSearch) << "after a re-show";
    SendMessageA(pForm->m_hWnd, UM_NEWRECORD, 0, 0);
    EXPECT_EQ(GetFocus(), hSearch) << "after a new record";
    Click(*pForm, pForm->Def().ids.nSave);
    EXPECT_NE(pForm->m_ulRecordID, 0u);
    EXPECT_EQ(GetFocus(), hSearch) << "after a save";
}

INSTANTIATE_TEST_SUITE_P(Forms, RecordForm,
                         ::testing::Values<RecordFormClass*>(&g_Acc_Detail, &g_Con_Detail, &g_Tas_Detail), NameOf);

class ContactAccount : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
        GotoCon_DetailNew();
    }
};

TEST_F(ContactAccount, OpensTheContactsAccountAsAOneEntryList) {
    g_Con_Detail.m_ulRecordID = 5;
    g_Con_Detail.m_ulAccountID = 9;
    SendMessageA(g_Con_Detail.m_hWnd, UM_OPENACCOUNT, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(VisibleViewCount(), 1);
    ASSERT_EQ(g_Acc_Detail.m_nIDCount, 1);
    EXPECT_EQ(g_Acc_Detail.m_pulID[0], 9u);
    EXPECT_STREQ(g_Acc_Detail.m_szTitle, "所有客户");
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, 9u);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &g_Acc_Detail);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_ACCOUNTS));
    // Back returns to the contact.
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Detail);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
}

TEST_F(ContactAccount, DoesNothingWithoutAStoredContactOrAccount) {
    int nCount = g_History.Count();
    g_Con_Detail.m_ulRecordID = 0;
    g_Con_Detail.m_ulAccountID = 9;
    SendMessageA(g_Con_Detail.m_hWnd, UM_OPENACCOUNT, 0, 0);
    g_Con_Detail.m_ulRecordID = 5;
    g_Con_Detail.m_ulAccountID = 0;
    SendMessageA(g_Con_Detail.m_hWnd, UM_OPENACCOUNT, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Detail);
    EXPECT_EQ(g_History.Count(), nCount);
}

TEST_F(ContactAccount, AShownContactOpensTheAccountItBelongsTo) {
    programtest::ProgramDatabase& db = Database();
    db.Exec("INSERT INTO accounts (acc_name) VALUES ('Acme')");
    db.Exec("INSERT INTO contacts (con_name) VALUES ('Dora')");
    db.Exec("INSERT INTO contacts (con_name) VALUES ('Eve')");
    ULONG ulAcc = std::stoul(db.Query("SELECT MAX(acc_id) FROM accounts")[0][0]);
    ULONG ulDora = std::stoul(db.Query("SELECT con_id FROM contacts WHERE con_name = 'Dora'")[0][0]);
    ULONG ulEve = std::stoul(db.Query("SELECT con_id FROM contacts WHERE con_name = 'Eve'")[0][0]);
    db.Exec("INSERT INTO accounts_contacts (acc_id, con_id) VALUES (" + std::to_string(ulAcc) + ", " +
            std::to_string(ulDora) + ")");

    // Eve has no account: nothing to open.
    SendMessageA(g_Con_Detail.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ulEve);
    EXPECT_EQ(g_Con_Detail.m_ulAccountID, 0u);
    SendMessageA(g_Con_Detail.m_hWnd, UM_OPENACCOUNT, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Con_Detail);

    SendMessageA(g_Con_Detail.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ulDora);
    EXPECT_EQ(g_Con_Detail.m_ulAccountID, ulAcc);
    EXPECT_EQ(g_ulRelatingAccID, ulAcc);
    SendMessageA(g_Con_Detail.m_hWnd, UM_OPENACCOUNT, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, ulAcc);
    EXPECT_EQ(g_ulRelatingID, ulAcc);

    // A new contact has no account yet.
    GotoCon_DetailNew();
    EXPECT_EQ(g_Con_Detail.m_ulAccountID, 0u);
}

// The form as shown: its frame, the navigation caption of the handed list at
// (166, 16) and the relation tabs with the first tab's page; saved as a
// picture of the main window too.
TEST_P(RecordForm, ShowsItsFrameCaptionAndRelationTabs) {
    RecordFormClass* pForm = GetParam();
    HandOver(kIDs, 3, 0, "t");
    PumpMessages();
    ExpectFramePainted(*pForm);
    EXPECT_GT(InkPixels(pForm->m_hWnd, RECT{166, 16, 166 + 300, 16 + 15}), 100);
    ASSERT_NE(pForm->m_Tab.m_hTab, nullptr);
    EXPECT_TRUE(IsWindowVisible(pForm->m_Tab.m_hTab));
    ASSERT_NE(pForm->m_Tab.m_hPage, nullptr);
    EXPECT_TRUE(IsWindowVisible(pForm->m_Tab.m_hPage));
    EXPECT_EQ(GetParent(pForm->m_Tab.m_hPage), pForm->m_Tab.m_hTab);
    w32test::GrabWindow(g_hMainWnd, programtest::GrabFolder() + "program-" + ViewClassName(pForm) + ".png");
}

// Every record form of the program takes a list through the one hand-over.
TEST(HandOver, EachOfTheFourFormsTakesAListThroughTheOneHelper) {
    EnsureProgram();
    ResetToStartPage();
    ProgramDatabase& db = Database();
    // Each form is handed records of its own kind.
    const struct {
        RecordFormClass* pForm;
        const char* pszTable;
        const char* pszText;
        const char* pszID;
    } kForms[] = {
        {&g_Opp_Detail, "opportunities", "opp_subject", "opp_id"},
        {&g_Acc_Detail, "accounts", "acc_name", "acc_id"},
        {&g_Con_Detail, "contacts", "con_name", "con_id"},
        {&g_Tas_Detail, "tasks", "tas_subject", "tas_id"},
    };
    for (const auto& f : kForms) {
        RecordFormClass* pForm = f.pForm;
        const std::string table = f.pszTable;
        for (int i = 0; i < 3; i++)
            db.Exec("INSERT INTO " + table + " (" + f.pszText + ") VALUES ('o" + std::to_string(i) + "')");
        std::vector<ULONG> ids;
        for (const auto& row :
             db.Query(std::string("SELECT ") + f.pszID + " FROM " + table + " ORDER BY " + f.pszID + " DESC LIMIT 3"))
            ids.push_back(std::stoul(row[0]));
        ASSERT_EQ(ids.size(), 3u);
        SCOPED_TRACE(ViewClassName(pForm));
        const int nEntries = g_History.Count();
        ASSERT_EQ(HandOverToForm(pForm, ids.data(), 3, 2, "列表"), 0);
        EXPECT_EQ(g_pCurrentDialog, pForm);
        EXPECT_EQ(VisibleViewCount(), 1);
        EXPECT_TRUE(IsButtonChecked(pForm->Def().nButton));
        ASSERT_EQ(pForm->m_nIDCount, 3);
        EXPECT_NE(pForm->m_pulID, ids.data());
        EXPECT_EQ(pForm->m_pulID[2], ids[2]);
        EXPECT_EQ(pForm->m_nRow, 2);
        EXPECT_EQ(pForm->m_ulRecordID, ids[2]);
        EXPECT_STREQ(pForm->m_szTitle, "列表");
        EXPECT_TRUE(pForm->m_bFound);
        EXPECT_EQ(g_History.Count(), nEntries + 1);
        EXPECT_EQ(g_History.m_pCurrent->m_pView, pForm);
        EXPECT_EQ(g_History.m_pCurrent->m_nIDCount, 3);
    }
}

// A blank new-record entry restored by Back keeps what the combo boxes hold:
// their lists as loaded for the new record, and the contact's region.
TEST(BlankEntry, RestoredFormsKeepTheirListsAndTheContactsRegion) {
    StartFresh();
    ProgramDatabase& db = Database();
    const auto count = [](HWND h) { return (int)SendMessageA(h, CB_GETCOUNT, 0, 0); };

    GotoCon_DetailNew();
    const int nRegions = count(g_Con_Detail.m_hProvince);
    ASSERT_GE(nRegions, 2);
    w32test::SelectComboItem(g_Con_Detail.m_hProvince, 1);
    const int nImportant = count(g_Con_Detail.m_hImportant);
    GotoAcc_DetailNew();
    const int nAccRegions = count(g_Acc_Detail.m_hProvince);
    const int nAccTypes = count(g_Acc_Detail.m_hType);

    // New lookup values arrive meanwhile.
    db.Exec("INSERT INTO province VALUES ('新区域')");
    db.Exec("INSERT INTO important VALUES ('新重要性')");
    db.Exec("INSERT INTO type VALUES ('新类型')");
    GotoTas_Week();

    Back();
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(count(g_Acc_Detail.m_hProvince), nAccRegions);
    EXPECT_EQ(count(g_Acc_Detail.m_hType), nAccTypes);

    Back();
    ASSERT_EQ(g_pCurrentDialog, &g_Con_Detail);
    EXPECT_EQ(g_Con_Detail.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(count(g_Con_Detail.m_hProvince), nRegions);
    EXPECT_EQ(count(g_Con_Detail.m_hImportant), nImportant);
    EXPECT_EQ(SendMessageA(g_Con_Detail.m_hProvince, CB_GETCURSEL, 0, 0), 1) << "the region keeps its selection";
    EXPECT_EQ(SendMessageA(g_Con_Detail.m_hImportant, CB_GETCURSEL, 0, 0), -1);

    // A new record loads the lists again.
    GotoCon_DetailNew();
    EXPECT_EQ(count(g_Con_Detail.m_hProvince), nRegions + 1);
}
