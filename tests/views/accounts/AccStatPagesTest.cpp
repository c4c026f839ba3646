// The account statistics pages by category, table-driven over the family:
// opening, ids and titles per page, counts per category (table values first,
// then values in use only), more categories than the old count array held,
// restores after the categories changed, and the page of accounts with and
// without opportunities.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/accounts_ids.h"
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

using namespace programtest;

namespace {

struct PageCase {
    const char* pszName;
    Acc_CategoryStatClass* pPage;
    int (*pfnGoto)();
    const char* pszClass;
    const char* pszTable;   // lookup table
    const char* pszColumn;  // its column
    const char* pszField;   // the accounts' column
    int nCategoryListID, nMenu0ID, nHelpID;
    const char* pszHeader;
    const char* pszTitle;  // for the category 甲类
};

const PageCase kPages[] = {
    {"Important", &g_Acc_ImportantStat, GotoAcc_ImportantStat, "Acc_ImportantStat", "important", "imp_description",
     "acc_important", 10503, 10506, 10515, "重要性", "重要性=\"甲类\""},
    {"Relation", &g_Acc_RelationStat, GotoAcc_RelationStat, "Acc_RelationStat", "relation", "rel_description",
     "acc_relation", 10603, 10606, 10615, "客户关系", "关系=\"甲类\""},
    {"Type", &g_Acc_TypeStat, GotoAcc_TypeStat, "Acc_TypeStat", "type", "typ_description", "acc_type", 10503, 10506,
     10515, "客户类型", "类型=\"甲类\""},
    {"Industry", &g_Acc_IndustryStat, GotoAcc_IndustryStat, "Acc_IndustryStat", "industry", "ind_description",
     "acc_industry", 10653, 10454, 10464, "客户行业", "行业=\"甲类\""},
    {"Province", &g_Acc_ProvinceStat, GotoAcc_ProvinceStat, "Acc_ProvinceStat", "province", "pro_description",
     "acc_province", 10703, 10706, 10715, "所在区域", "区域=\"甲类\""},
};

void PrintTo(const PageCase& p, std::ostream* os) { *os << p.pszName; }

class AccCategoryPages : public ::testing::TestWithParam<PageCase> {
protected:
    void SetUp() override {
        StartFresh();
        const PageCase& p = GetParam();
        // Lookup rows A and B; accounts carry B (twice) and D (in use only).
        ASSERT_EQ(Exec(std::string("DELETE FROM ") + p.pszTable), 0);
        for (const char* name : {"甲类", "乙类"})
            ASSERT_EQ(Exec(std::string("INSERT INTO ") + p.pszTable + "(" + p.pszColumn + ") VALUES('" + name + "')"),
                      0);
        b1 = Add("乙一", "乙类");
        b2 = Add("乙二", "乙类");
        d = Add("丁一", "丁类");
    }
    unsigned Add(const std::string& name, std::string value) {
        const unsigned id = AddAccount({.name = name});
        for (size_t i = value.find('\''); i != std::string::npos; i = value.find('\'', i + 2)) value.insert(i, "'");
        EXPECT_EQ(Exec(std::string("UPDATE accounts SET ") + GetParam().pszField + "='" + value +
                       "' WHERE acc_id=" + std::to_string(id)),
                  0);
        return id;
    }
    static std::vector<std::string> Categories(Acc_CategoryStatClass& page) {
        std::vector<std::string> rows;
        for (int r = 0; r < RowCount(page.m_CategoryList); r++)
            rows.push_back(Cell(page.m_CategoryList, r, 0) + "|" + Cell(page.m_CategoryList, r, 1));
        return rows;
    }
    unsigned b1 = 0, b2 = 0, d = 0;
};

TEST_P(AccCategoryPages, OpeningCountsEveryCategoryTopRowLast) {
    const PageCase& p = GetParam();
    Acc_CategoryStatClass& page = *p.pPage;
    const int nBefore = HistoryCount();
    SetText(page.m_hSearchEdit, "旧");
    p.pfnGoto();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(ClassOf(page), p.pszClass);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_ACCOUNTS));
    EXPECT_EQ(Categories(page), (std::vector<std::string>{"丁类|1", "乙类|2", "甲类|0"}));
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(Text(page.m_hSearchEdit), "");
    EXPECT_EQ(HistoryCount(), nBefore + 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    // The page's own ids.
    EXPECT_EQ(GetDlgCtrlID(page.m_CategoryList.m_hListView), p.nCategoryListID);
    EXPECT_EQ(GetDlgCtrlID(page.m_hMenuButtons[0]), p.nMenu0ID);
    EXPECT_EQ(GetDlgCtrlID(page.m_hHelpLink), p.nHelpID);
    char szCaption[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = szCaption;
    col.cchTextMax = sizeof(szCaption);
    SendMessageA(page.m_CategoryList.m_hListView, LVM_GETCOLUMNA, 0, (LPARAM)&col);
    EXPECT_STREQ(szCaption, p.pszHeader);
}

TEST_P(AccCategoryPages, AClickListsTheCategoryAndHandsItOverWithThePagesTitle) {
    const PageCase& p = GetParam();
    Acc_CategoryStatClass& page = *p.pPage;
    p.pfnGoto();
    const int nEntries = HistoryCount();
    ClickRow(page, page.m_CategoryList, 0);  // 丁类
    EXPECT_EQ(page.m_nCategory, 2);
    ASSERT_EQ(page.m_nIDCount, 1);
    EXPECT_EQ(page.m_pulID[0], d);
    ClickRow(page, page.m_CategoryList, 1);  // 乙类
    EXPECT_EQ(Column(page.m_ListView, 0), (std::vector<std::string>{"乙二", "乙一"}));
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 1);
    ClickRow(page, page.m_CategoryList, 2);  // 甲类: no accounts
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    // Stepping goes exactly through the listed rows, under the page's title.
    ClickRow(page, page.m_CategoryList, 1);
    DoubleClickRow(page, page.m_ListView, 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, b1);
    EXPECT_EQ(g_Acc_Detail.m_nIDCount, 2);
    std::string title = p.pszTitle;
    title.replace(title.find("甲类"), 4, "乙类");
    EXPECT_EQ(std::string(g_Acc_Detail.m_szTitle), title);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Column(page.m_ListView, 0), (std::vector<std::string>{"乙二", "乙一"}));
    // Off the rows: a blank form.
    ClickRow(page, page.m_CategoryList, 2);
    DoubleClickRow(page, page.m_ListView, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, 0u);
}

TEST_P(AccCategoryPages, BackAfterTheCategoriesChangedIsBoundedByTodaysCategories) {
    const PageCase& p = GetParam();
    Acc_CategoryStatClass& page = *p.pPage;
    p.pfnGoto();
    ClickRow(page, page.m_CategoryList, 0);  // 丁类, index 2
    GotoAcc_Homepage();
    // 丁类 disappears: index 2 is past today's two categories.
    ASSERT_EQ(Exec(std::string("UPDATE accounts SET ") + p.pszField + "='乙类'"), 0);
    Back();
    EXPECT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Categories(page), (std::vector<std::string>{"乙类|3", "甲类|0"}));
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    // A new category at the stored index is what Back then lists.
    GotoAcc_Homepage();
    ASSERT_EQ(Exec(std::string("INSERT INTO ") + p.pszTable + "(" + p.pszColumn + ") VALUES('丙类')"), 0);
    ASSERT_EQ(Exec(std::string("UPDATE accounts SET ") + p.pszField + "='丙类' WHERE acc_id=" + std::to_string(d)), 0);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"丁一"});
}

TEST_P(AccCategoryPages, ANameWithAQuoteIsCountedAndListed) {
    const PageCase& p = GetParam();
    Acc_CategoryStatClass& page = *p.pPage;
    const unsigned q = Add("引号", "O'K");
    p.pfnGoto();
    const std::vector<std::string> names = Column(page.m_CategoryList, 0);
    const int r = (int)(std::find(names.begin(), names.end(), "O'K") - names.begin());
    ASSERT_LT(r, (int)names.size());
    EXPECT_EQ(Cell(page.m_CategoryList, r, 1), "1");
    ClickRow(page, page.m_CategoryList, r);
    ASSERT_EQ(page.m_nIDCount, 1);
    EXPECT_EQ(page.m_pulID[0], q);
}

TEST_P(AccCategoryPages, TheFirstClickOnTheNameColumnSortsTheCategoryDescending) {
    const PageCase& p = GetParam();
    Acc_CategoryStatClass& page = *p.pPage;
    p.pfnGoto();
    ClickRow(page, page.m_CategoryList, 1);  // 乙类
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Acc.m_bDesc, 1);
    // Descending by name: 乙二 before 乙一 in the query, shown from the bottom.
    const std::vector<std::string> names = Column(page.m_ListView, 0);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 1);
}

INSTANTIATE_TEST_SUITE_P(Family, AccCategoryPages, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<PageCase>& i) { return std::string(i.param.pszName); });

class AccStatPages : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
};

TEST_F(AccStatPages, FiftyIndustriesAndAHundredRegionsAreCountedAndListed) {
    ASSERT_EQ(Exec("DELETE FROM industry"), 0);
    ASSERT_EQ(Exec("DELETE FROM province"), 0);
    for (int i = 0; i < 100; i++) {
        const std::string n = std::to_string(i);
        if (i < 50) {
            ASSERT_EQ(Exec("INSERT INTO industry(ind_description) VALUES('行业" + n + "')"), 0);
        }
        ASSERT_EQ(Exec("INSERT INTO province(pro_description) VALUES('区域" + n + "')"), 0);
    }
    AddAccount({.name = "末行业", .industry = "行业49", .province = "区域99"});
    AddAccount({.name = "首区域", .industry = "行业0", .province = "区域0"});
    AddAccount({.name = "又一个", .industry = "行业49", .province = "区域45"});
    GotoAcc_IndustryStat();
    ASSERT_EQ(RowCount(g_Acc_IndustryStat.m_CategoryList), 50);
    EXPECT_EQ(Cell(g_Acc_IndustryStat.m_CategoryList, 0, 0), "行业49");
    EXPECT_EQ(Cell(g_Acc_IndustryStat.m_CategoryList, 0, 1), "2");
    EXPECT_EQ(Cell(g_Acc_IndustryStat.m_CategoryList, 49, 1), "1");
    ClickRow(g_Acc_IndustryStat, g_Acc_IndustryStat.m_CategoryList, 0);
    EXPECT_EQ(g_Acc_IndustryStat.m_nIDCount, 2);

    GotoAcc_ProvinceStat();
    Acc_ProvinceStatDialogClass& pro = g_Acc_ProvinceStat;
    ASSERT_EQ(RowCount(pro.m_CategoryList), 100);
    EXPECT_EQ(Cell(pro.m_CategoryList, 0, 0), "区域99");
    EXPECT_EQ(Cell(pro.m_CategoryList, 0, 1), "1");
    EXPECT_EQ(Cell(pro.m_CategoryList, 54, 0), "区域45");
    EXPECT_EQ(Cell(pro.m_CategoryList, 54, 1), "1");
    EXPECT_EQ(Cell(pro.m_CategoryList, 99, 1), "1");
    EXPECT_EQ(Cell(pro.m_CategoryList, 50, 1), "0");
    ClickRow(pro, pro.m_CategoryList, 0);
    EXPECT_EQ(Column(pro.m_ListView, 0), std::vector<std::string>{"末行业"});
    Grab(pro, "acc_province_stat_100");
}

TEST_F(AccStatPages, RegionsPastTheCapacityStopWithOneNotice) {
    ASSERT_EQ(Exec("DELETE FROM province"), 0);
    for (int i = 0; i < 103; i++)
        ASSERT_EQ(Exec("INSERT INTO province(pro_description) VALUES('区" + std::to_string(i) + "')"), 0);
    AnswerBoxes(IDOK);
    GotoAcc_ProvinceStat();
    const std::vector<std::string> boxes = TakeBoxes();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(RowCount(g_Acc_ProvinceStat.m_CategoryList), 100);
}

TEST_F(AccStatPages, AFailedCountShowsTheCountBoxAndEndsAFailedListingKeepsTheListing) {
    AddAccount({.name = "某", .important = "高"});
    GotoAcc_ImportantStat();
    ClickRow(g_Acc_ImportantStat, g_Acc_ImportantStat.m_CategoryList, 2);  // 高
    ASSERT_EQ(g_Acc_ImportantStat.m_nIDCount, 1);
    ASSERT_EQ(Exec("ALTER TABLE accounts RENAME TO accounts_away"), 0);
    AnswerBoxes(IDOK);
    ClickColumn(g_Acc_ImportantStat, g_Acc_ImportantStat.m_ListView, 3);
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.");
    EXPECT_EQ(g_Acc_ImportantStat.m_nIDCount, RowCount(g_Acc_ImportantStat.m_ListView));
    GotoAcc_Homepage();
    TakeBoxes();
    ASSERT_EQ(Exec("DROP VIEW rel_opportunities_accounts"), 0);
    GotoAcc_OpportunitiesStat();  // the counting loops end on the failure
    boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_HomepageDialogClass.cpp 58: cod_InitDetail Error.");
    EXPECT_EQ(RowCount(g_Acc_OpportunitiesStat.m_CategoryList), 2);
}

TEST_F(AccStatPages, OnlyAMouseMoveOverThePageEndsTheLinksHoverLook) {
    AddAccount({.name = "某"});
    GotoAcc_TypeStat();
    g_Acc_TypeStat.m_bHover = 1;
    ClickRow(g_Acc_TypeStat, g_Acc_TypeStat.m_CategoryList, 0);
    ClickColumn(g_Acc_TypeStat, g_Acc_TypeStat.m_ListView, 2);
    EXPECT_EQ(g_Acc_TypeStat.m_bHover, 1);
    SendMessageA(g_Acc_TypeStat.m_hWnd, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(g_Acc_TypeStat.m_bHover, 0);
}

TEST_F(AccStatPages, ACategoryClickNeverWritesIntoAnotherPagesEntry) {
    AddAccount({.name = "某"});
    GotoAcc_RelationStat();
    GotoAcc_Homepage();
    HistoryNode* pList = g_History.m_pCurrent;
    ClickRow(g_Acc_RelationStat, g_Acc_RelationStat.m_CategoryList, 1);
    EXPECT_EQ(pList->m_nKind, 0);
    EXPECT_EQ(pList->m_nParam, 0);
}

// Accounts with and without opportunities.
class AccOpportunitiesPage : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        two = AddAccount({.name = "两个机会"});
        one = AddAccount({.name = "一个机会"});
        none = AddAccount({.name = "没有机会"});
        o1 = AddOpp({.subject = "机会一"});
        o2 = AddOpp({.subject = "机会二"});
        Link("opportunities", o1, "accounts", two);
        Link("opportunities", o2, "accounts", two);
        Link("opportunities", o1, "accounts", one);
    }
    unsigned two = 0, one = 0, none = 0, o1 = 0, o2 = 0;
    Acc_OpportunitiesStatDialogClass& page = g_Acc_OpportunitiesStat;
};

TEST_F(AccOpportunitiesPage, AccountsLandInTheirCategoryEachOnce) {
    GotoAcc_OpportunitiesStat();
    EXPECT_EQ(g_pCurrentDialog, &page);
    ASSERT_EQ(RowCount(page.m_CategoryList), 2);
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 0), "不存在销售机会");
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "1");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 0), "存在销售机会");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 1), "2");
    ClickRow(page, page.m_CategoryList, 0);
    EXPECT_EQ(page.m_nCategory, 1);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"没有机会"});
    ClickRow(page, page.m_CategoryList, 1);
    std::vector<std::string> names = Column(page.m_ListView, 0);
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {"一个机会", "两个机会"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    ASSERT_EQ(page.m_nIDCount, 2);
    DoubleClickRow(page, page.m_ListView, 0);
    EXPECT_STREQ(g_Acc_Detail.m_szTitle, "是否存在销售机会=\"存在销售机会\"");
    EXPECT_EQ(g_Acc_Detail.m_nIDCount, 2);
}

TEST_F(AccOpportunitiesPage, AnAccountThatLosesItsOnlyLinkMovesAtTheNextOpening) {
    GotoAcc_OpportunitiesStat();
    ASSERT_EQ(Exec("DELETE FROM opportunities_accounts WHERE acc_id=" + std::to_string(one)), 0);
    GotoAcc_Homepage();
    GotoAcc_OpportunitiesStat();
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "2");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 1), "1");
    ClickRow(page, page.m_CategoryList, 1);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"两个机会"});
}

TEST_F(AccOpportunitiesPage, AHeaderClickRightAfterOpeningListsThoseWithOpportunitiesSorted) {
    GotoAcc_OpportunitiesStat();
    ClickColumn(page, page.m_ListView, 0);
    EXPECT_EQ(page.m_Acc.m_bDesc, 1);
    // Descending by name in the query, shown from the bottom up.
    const std::vector<std::string> names = Column(page.m_ListView, 0);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(AccOpportunitiesPage, BackRebuildsTheCategoryThatEntryStored) {
    GotoAcc_OpportunitiesStat();
    ClickRow(page, page.m_CategoryList, 0);  // without
    GotoAcc_Homepage();
    GotoAcc_OpportunitiesStat();
    ClickRow(page, page.m_CategoryList, 1);  // with, on the later visit
    Back();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(page.m_nCategory, 1);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"没有机会"});
    Forward();
    Forward();
    EXPECT_EQ(page.m_nCategory, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 2);
}

TEST_F(AccOpportunitiesPage, ADoubleClickBelowTheRowsOpensABlankForm) {
    GotoAcc_OpportunitiesStat();
    DoubleClickRow(page, page.m_ListView, -1);
    EXPECT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, 0u);
    EXPECT_TRUE(Enabled(g_Acc_Detail.m_hSaveButton));
}

}  // namespace
