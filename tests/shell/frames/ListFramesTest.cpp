// The contract of the list frames (ListPageClass, KeywordListPage,
// CategoryStatPage, DateStatPage, StartPageClass), run on small test pages:
// listing with ids by row, searching from every box, sorting, failures,
// Back and Forward, and the hand-over of a row to the record form.
#include <gtest/gtest.h>

#include "shell/HistoryClass.h"
#include "shell/ListViewClass.h"
#include "tests/shell/frames/FramePages.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

#include <cstdio>

using namespace frametest;

namespace {

class ListFrame : public ThreeRecords {
protected:
    ListViewClass& list = g_List.m_ListView;
};

TEST_F(ListFrame, OpeningListsEveryRowWithItsIdAtTheSameRow) {
    const int nEntries = g_History.Count();
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    // The rows go in at the top: the query's order reversed.
    ASSERT_EQ(RowCount(list), 3);
    EXPECT_EQ(Cell(list, 0, 0), "gamma");
    EXPECT_EQ(Cell(list, 2, 0), "alpha");
    EXPECT_EQ(IDs(g_List), (std::vector<ULONG>{c, b, a}));
    EXPECT_STREQ(g_List.m_szCaption, "共3条");
    EXPECT_EQ(g_History.Count(), nEntries + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_pView, &g_List);
}

TEST_F(ListFrame, AFailedQueryKeepsRowsIdsCountAndCaption) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_Store.Add("delta", "乙", 1);
    g_Store.failNext = true;
    SendMessageA(g_List.m_hWnd, UM_OPENVIEW, 0, 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"list failed"});
    EXPECT_EQ(RowCount(list), 3);
    EXPECT_EQ(IDs(g_List), (std::vector<ULONG>{c, b, a}));
    EXPECT_STREQ(g_List.m_szCaption, "共3条");
}

TEST_F(ListFrame, AnEmptyResultEmptiesListAndIds) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_Store.rows.clear();
    SendMessageA(g_List.m_hWnd, UM_OPENVIEW, 0, 0);
    EXPECT_EQ(RowCount(list), 0);
    EXPECT_EQ(g_List.m_pulID, nullptr);
    EXPECT_EQ(g_List.m_nIDCount, 0);
}

TEST_F(ListFrame, EnterInTheOwnBoxSearchesInANewEntryTheButtonInTheCurrentOne) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    const int nEntries = g_History.Count();
    SetText(g_List.m_hSearchEdit, "a");
    PressEnter(g_List.m_hSearchEdit);
    EXPECT_EQ(g_History.Count(), nEntries + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "a");
    EXPECT_EQ(RowCount(list), 3);

    SetText(g_List.m_hSearchEdit, "et");
    Click(g_List, kSearch);
    EXPECT_EQ(g_History.Count(), nEntries + 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "et");
    EXPECT_EQ(IDs(g_List), std::vector<ULONG>{b});
    EXPECT_STREQ(g_List.m_szCaption, "关键字=\"et\"共1条");
}

TEST_F(ListFrame, EverySearchBoxOfTheModuleSearchesOnTheListPage) {
    // The start page, the category page, the date page and the form: Enter and
    // the button alike hand the keyword over.
    for (PageFrameClass* pPage : {(PageFrameClass*)&g_Start, (PageFrameClass*)&g_Categories, (PageFrameClass*)&g_Dates,
                                  (PageFrameClass*)&g_Form}) {
        for (bool bEnter : {true, false}) {
            char szClass[64] = "";
            GetClassNameA(pPage->m_hWnd, szClass, sizeof(szClass));
            SCOPED_TRACE(std::string(szClass) + (bEnter ? " enter" : " button"));
            StartFresh();
            g_Store.Add("alpha", "甲", 3);
            g_Store.Add("beta", "乙", 5);
            BaseDialogClass* pOld = g_pCurrentDialog;
            pPage->ShowDialog();
            FinishViewSwitch(pOld, pPage);
            SetText(pPage->m_hSearchEdit, "lph");
            if (bEnter)
                PressEnter(pPage->m_hSearchEdit);
            else
                Click(*pPage, kSearch);
            EXPECT_EQ(g_pCurrentDialog, &g_List);
            EXPECT_STREQ(g_List.m_szKeyword, "lph");
            EXPECT_EQ(RowCount(list), 1);
            EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
        }
    }
}

TEST_F(ListFrame, ATypedKeywordLongerThanTheBoxIsHandedOverWhole) {
    // Typed key by key: the box scrolls on instead of stopping at its width.
    const std::string keyword = "a-keyword-much-longer-than-the-box-shows-40";
    for (PageFrameClass* pPage : {(PageFrameClass*)&g_List, (PageFrameClass*)&g_Form}) {
        StartFresh();
        BaseDialogClass* pOld = g_pCurrentDialog;
        pPage->ShowDialog();
        FinishViewSwitch(pOld, pPage);
        SetText(pPage->m_hSearchEdit, "");  // an earlier search leaves its keyword in the box
        SetFocus(pPage->m_hSearchEdit);
        w32test::TypeText(keyword, pPage->m_hSearchEdit);
        EXPECT_EQ(Text(pPage->m_hSearchEdit), keyword);
        PressEnter(pPage->m_hSearchEdit);
        EXPECT_EQ(g_pCurrentDialog, &g_List);
        EXPECT_EQ(std::string(g_List.m_szKeyword), keyword);
    }
}

TEST_F(ListFrame, ClickingAColumnSortsAndTheSameColumnAgainTogglesTheDirection) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    ClickColumn(g_List, list, 2);
    EXPECT_EQ(g_Store.sortColumn, 2);
    EXPECT_FALSE(g_Store.desc);
    EXPECT_EQ(Cell(list, 0, 0), "gamma");  // day 9 last in the query, first on screen
    ClickColumn(g_List, list, 2);
    EXPECT_TRUE(g_Store.desc);
    EXPECT_EQ(Cell(list, 0, 0), "alpha");
    EXPECT_EQ(IDs(g_List), (std::vector<ULONG>{a, b, c}));
    ClickColumn(g_List, list, 0);
    EXPECT_TRUE(g_Store.desc) << "another column keeps the direction";
    EXPECT_EQ(g_Store.sortColumn, 0);
    // A column the list does not have is ignored.
    const int nQueries = g_Store.queries;
    ClickColumn(g_List, list, 7);
    EXPECT_EQ(g_Store.queries, nQueries);
}

TEST_F(ListFrame, AListWithOneOrderIgnoresColumnClicks) {
    g_List.sortable = FALSE;
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    const int nQueries = g_Store.queries;
    ClickColumn(g_List, list, 2);
    EXPECT_EQ(g_Store.queries, nQueries);
    EXPECT_EQ(g_List.m_nLastSortColumn, -1);
}

TEST_F(ListFrame, ASortAfterAKeywordSearchKeepsTheKeyword) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    SetText(g_List.m_hSearchEdit, "et");
    PressEnter(g_List.m_hSearchEdit);
    ClickColumn(g_List, list, 1);
    EXPECT_EQ(IDs(g_List), std::vector<ULONG>{b});
}

TEST_F(ListFrame, BackAndForwardRerunTheirEntries) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    SetText(g_List.m_hSearchEdit, "gam");
    PressEnter(g_List.m_hSearchEdit);
    ASSERT_EQ(RowCount(list), 1);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_List);
    EXPECT_EQ(RowCount(list), 3);
    EXPECT_STREQ(g_List.m_szCaption, "共3条");
    Forward();
    EXPECT_EQ(IDs(g_List), std::vector<ULONG>{c});
    EXPECT_STREQ(g_List.m_szCaption, "关键字=\"gam\"共1条");
    Back();
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Start);
}

TEST_F(ListFrame, ADoubleClickHandsTheListAndTitleToTheForm) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    DoubleClickRow(g_List, list, 1);
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_EQ(IDs(g_Form), IDs(g_List));
    EXPECT_NE(g_Form.m_pulID, g_List.m_pulID);
    EXPECT_EQ(g_Form.m_nRow, 1);
    EXPECT_EQ(g_Form.m_ulRecordID, b);
    EXPECT_STREQ(g_Form.m_szTitle, "全部记录");
    EXPECT_EQ(Text(g_Form.m_hName), "beta");
    EXPECT_FALSE(IsWindowVisible(g_List.m_hWnd));
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_List);
}

TEST_F(ListFrame, ADoubleClickBelowTheRowsOpensANewRecordAndOutsideTheListNothing) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    DoubleClickRow(g_List, list, 3);
    EXPECT_EQ(g_pCurrentDialog, &g_List);
    DoubleClickRow(g_List, list, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_EQ(g_Form.m_nIDCount, 0);
}

TEST_F(ListFrame, ACategoryClickListsItsRecordsAndBackRestoresIt) {
    SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT);
    ListViewClass& cats = g_Categories.m_CategoryList;
    ASSERT_EQ(RowCount(cats), 2);
    EXPECT_EQ(Cell(cats, 0, 0), "乙");  // category i in row count - 1 - i
    EXPECT_EQ(Cell(cats, 1, 1), "2");
    ClickRow(g_Categories, cats, 1);
    EXPECT_EQ(IDs(g_Categories), (std::vector<ULONG>{c, a}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 0);

    DoubleClickRow(g_Categories, g_Categories.m_ListView, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_STREQ(g_Form.m_szTitle, "分类=\"甲\"");
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Categories);
    EXPECT_EQ(IDs(g_Categories), (std::vector<ULONG>{c, a}));
}

TEST_F(ListFrame, AFailedCountShowsTheCountTextAFailedListingTheQueryText) {
    g_Categories.failCount = true;
    SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"count failed"});
    g_Categories.failCount = false;
    g_Store.failNext = true;
    ClickRow(g_Categories, g_Categories.m_CategoryList, 1);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"category failed"});
}

TEST_F(ListFrame, ACategoryListNotificationEndsTheHoverLookOnlyOnPagesWhoseListsDo) {
    SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT);
    g_Categories.m_bHover = 1;
    ClickRow(g_Categories, g_Categories.m_CategoryList, 0);
    EXPECT_EQ(g_Categories.m_bHover, 0);
    g_Categories.m_bListEndsHover = FALSE;
    g_Categories.m_bHover = 1;
    ClickRow(g_Categories, g_Categories.m_CategoryList, 1);
    EXPECT_EQ(g_Categories.m_bHover, 1);
    SendMessageA(g_Categories.m_hWnd, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(g_Categories.m_bHover, 0);
    g_Categories.m_bListEndsHover = TRUE;
}

TEST_F(ListFrame, ABlankLastColumnIsNeitherSortedNorExported) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    char szCaption[16] = "x";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = szCaption;
    col.cchTextMax = sizeof(szCaption);
    ASSERT_TRUE(SendMessageA(list.m_hListView, LVM_GETCOLUMNA, 3, (LPARAM)&col));
    EXPECT_STREQ(szCaption, "");
    EXPECT_EQ(Cell(list, 0, 3), "");
    const int nQueries = g_Store.queries;
    ClickColumn(g_List, list, 3);
    EXPECT_EQ(g_Store.queries, nQueries);
    const std::string path = ::testing::TempDir() + "frames_blank_column.txt";
    const struct Removed {  // when the test ends, however
        std::string path;
        ~Removed() { std::remove(path.c_str()); }
    } removed{path};
    w32test::AnswerSaveDialog(path);
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall&) { return IDNO; });  // do not open it
    SendMessageA(g_List.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    w32test::SetMessageBoxHook(nullptr);
    w32test::SetSaveDialogHook(nullptr);
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char line[256] = "";
    ASSERT_NE(fgets(line, sizeof line, f), nullptr);
    fclose(f);
    EXPECT_STREQ(line, "名称\t分类\t日\t\r\n");
}

TEST_F(ListFrame, APagesExportMenuGoesWithItsWindow) {
    // The page made afresh, as a main window made again makes its pages.
    const int nBefore = w32test::LiveObjects().menus;
    ASSERT_EQ(g_SpareList.CreateDialog(GetModuleHandleA(nullptr), MainWindow(), "FrameTestSpareList", 0), 0);
    g_SpareList.m_bInit = 0;
    g_SpareList.InitDialog(g_SpareList.m_hWnd);
    ASSERT_NE(g_SpareList.m_hExportMenu, nullptr);
    EXPECT_GT(w32test::LiveObjects().menus, nBefore);
    DestroyWindow(g_SpareList.m_hWnd);
    g_SpareList.m_hWnd = nullptr;
    EXPECT_EQ(g_SpareList.m_hExportMenu, nullptr);
    EXPECT_EQ(w32test::LiveObjects().menus, nBefore) << "the loaded menu and its submenus are destroyed";
}

TEST_F(ListFrame, ARestoreByACategoryIndexThatNoLongerExistsListsNothing) {
    SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT);
    ClickRow(g_Categories, g_Categories.m_CategoryList, 0);  // 乙, index 1
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_Categories.categories = {"甲"};
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Categories);
    EXPECT_EQ(RowCount(g_Categories.m_ListView), 0);
    EXPECT_EQ(g_Categories.m_nIDCount, 0);
}

TEST_F(ListFrame, ADateRowQueriesWithItsDatesAndBackRerunsThem) {
    SwitchViewGuarded(&g_Dates, UM_OPEN_DATE);
    SYSTEMTIME st = {};
    GetLocalTime(&st);
    st.wDay = 4;
    SendMessageA(g_Dates.m_hFrom[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    st.wDay = 9;
    SendMessageA(g_Dates.m_hTo[0], DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    Click(g_Dates, kRow1Find);
    EXPECT_EQ(IDs(g_Dates), (std::vector<ULONG>{c, b}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_stTo.wDay, 9);

    ClickColumn(g_Dates, g_Dates.m_ListView, 2);
    ClickColumn(g_Dates, g_Dates.m_ListView, 2);
    EXPECT_EQ(IDs(g_Dates), (std::vector<ULONG>{b, c}));

    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_Store.desc = false;
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Dates);
    EXPECT_EQ(IDs(g_Dates), (std::vector<ULONG>{c, b}));
}

TEST_F(ListFrame, TheStartPagesLinksRunTheirSwitches) {
    SendMessageA(g_Start.m_hWnd, WM_COMMAND, kMenu0 + 1, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_List);
    SendMessageA(g_List.m_hWnd, WM_COMMAND, kMenu0 + 2, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Categories);
    SendMessageA(g_Categories.m_hWnd, WM_COMMAND, kMenu0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kNew);
}

}  // namespace
