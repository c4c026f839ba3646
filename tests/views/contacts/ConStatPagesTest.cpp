// The contact statistics pages, one family run from one table: their opening
// message, ids and texts, categories in use after the table's values,
// industry by account, many regions, a lookup table that shrank, the pages
// that keep their rows between visits, and with / without opportunities.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"
#include "win32_testhooks.h"

#include <map>

using namespace programtest;

namespace {

struct StatRow {
    Con_CategoryStatClass* pPage;
    int (*pfnGoto)();
    UINT uOpen;
    int nBase, nMenuBase;
    const char* pszCaption;
    const char* pszTitle;  // for category "中" / "客户" / "金融" / "北京" / index 0
    bool bKeepsRows;
    const char* pszName;  // of the test
};

// Test lists show the page's name, not the row's bytes.
void PrintTo(const StatRow& row, std::ostream* os) { *os << row.pszName; }

const StatRow kRows[] = {
    {&g_Con_Important, GotoCon_Important, UM_OPEN_IMPORTANT, 10851, 10857, "重要性", "重要性=\"高\"", false,
     "Important"},
    {&g_Con_Relation, GotoCon_Relation, UM_OPEN_RELATION, 10901, 11007, "关系", "关系=\"客户\"", false, "Relation"},
    {&g_Con_Industry, GotoCon_Industry, UM_OPEN_INDUSTRY, 11001, 11007, "行业", "行业=\"金融\"", true, "Industry"},
    {&g_Con_Province, GotoCon_Province, UM_OPEN_PROVINCE, 11051, 11057, "区域", "区域=\"北京\"", false, "Province"},
    {&g_Con_Opportunities, GotoCon_Opportunities, UM_OPEN_HASOPP, 10951, 10957, "是否存在销售机会", nullptr, true,
     "Opportunities"},
};

class ConStatPages : public ::testing::TestWithParam<StatRow> {
protected:
    void SetUp() override {
        StartFresh();
        acc = AddAccount({.name = "银行", .industry = "金融"});
        a = AddContact({.name = "甲", .important = "高", .relation = "客户", .province = "北京"});
        b = AddContact({.name = "乙", .important = "高", .relation = "客户", .province = "北京"});
        c = AddContact({.name = "丙", .important = "低", .relation = "其他", .province = "上海"});
        Link("accounts", acc, "contacts", a);
        Link("accounts", acc, "contacts", b);
        const unsigned o = AddOpp({.subject = "项目"});
        Link("opportunities", o, "contacts", a);
        Link("opportunities", o, "contacts", b);
    }
    // The category list's row of a category name.
    int RowOfCategory(Con_CategoryStatClass& page, const std::string& name) {
        for (int r = 0; r < RowCount(page.m_CategoryList); r++)
            if (Cell(page.m_CategoryList, r, 0) == name) return r;
        return -1;
    }
    std::string FirstCategory(const StatRow& row) {
        const std::string t = row.pszTitle ? row.pszTitle : "x=\"存在销售机会\"";
        return t.substr(t.find('"') + 1, t.size() - t.find('"') - 2);
    }
    unsigned acc = 0, a = 0, b = 0, c = 0;
};

TEST_P(ConStatPages, OpeningCountsClickingListsWithTheRowsIdsAndTitle) {
    const StatRow& row = GetParam();
    Con_CategoryStatClass& page = *row.pPage;
    const int nEntries = HistoryCount();
    row.pfnGoto();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(HistoryCount(), nEntries + 1);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_CONTACTS));
    EXPECT_EQ(page.PageDef().uOpenMessage, row.uOpen);
    EXPECT_EQ(GetDlgCtrlID(page.m_hSearchEdit), row.nBase);
    EXPECT_EQ(GetDlgCtrlID(page.m_ListView.m_hListView), row.nBase + 3);
    EXPECT_EQ(GetDlgCtrlID(page.m_hMailButton), row.nBase + 5);
    EXPECT_EQ(GetDlgCtrlID(page.m_hMenuButtons[0]), row.nMenuBase);
    EXPECT_EQ(GetDlgCtrlID(page.m_hHelpLink), row.nMenuBase + 8);
    const int r = RowOfCategory(page, FirstCategory(row));
    ASSERT_GE(r, 0);
    EXPECT_EQ(Cell(page.m_CategoryList, r, 1), "2");
    ClickRow(page, page.m_CategoryList, r);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(page.m_nCategory, RowCount(page.m_CategoryList) - 1 - r);
    ASSERT_EQ(RowCount(page.m_ListView), 2);
    std::vector<std::string> names = Column(page.m_ListView, 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"甲", "乙"}));

    GotoCon_Homepage();
    DoubleClickRow(g_Con_Homepage, g_Con_Homepage.m_ListView, 0);  // the form's title is "所有联系人"
    Back();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    DoubleClickRow(page, page.m_ListView, 1);
    EXPECT_EQ(g_Con_Detail.m_ulRecordID, page.m_pulID[1]);
    EXPECT_EQ(g_Con_Detail.m_nIDCount, 2);
    EXPECT_STREQ(g_Con_Detail.m_szTitle, row.pszTitle ? row.pszTitle : "所有联系人");
    Back();
    Grab(page, std::string("con_stat_") + ClassOf(page));
}

TEST_P(ConStatPages, MassMailHandsTheClickedCategoryOrKeepsTheMailPagesContacts) {
    const StatRow& row = GetParam();
    Con_CategoryStatClass& page = *row.pPage;
    GotoCon_Homepage();
    Click(g_Con_Homepage, IDC_CONH_MAIL);
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    row.pfnGoto();
    Click(page, row.nBase + 5);  // no category clicked in this visit
    EXPECT_EQ(g_pCurrentDialog, &g_Mail);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 3);
    Back();
    ClickRow(page, page.m_CategoryList, RowOfCategory(page, FirstCategory(row)));
    ClickColumn(page, page.m_ListView, 2);
    Click(page, row.nBase + 5);
    std::vector<std::string> names = MailNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"甲", "乙"}));

    Back();
    const std::string view =
        BreakContactView(row.pPage == &g_Con_Opportunities ? "rel_opportunities_contacts" : "que_contacts_accounts");
    Click(page, row.nBase + 5);  // a failed query hands over no contact
    TakeBoxes();
    EXPECT_EQ(g_Mail.m_nConCount, 0);
    EXPECT_EQ(RowCount(g_Mail.m_RecipientList), 0);
    MendContactView(view);
}

TEST_P(ConStatPages, ReEnteringKeepsTheRowsOnlyWhereThePageDoesAndBackShowsNone) {
    const StatRow& row = GetParam();
    Con_CategoryStatClass& page = *row.pPage;
    row.pfnGoto();
    ClickRow(page, page.m_CategoryList, RowOfCategory(page, FirstCategory(row)));
    ASSERT_EQ(RowCount(page.m_ListView), 2);
    GotoCon_Homepage();
    row.pfnGoto();
    EXPECT_EQ(RowCount(page.m_ListView), row.bKeepsRows ? 2 : 0);
    EXPECT_EQ(page.m_nIDCount, RowCount(page.m_ListView));
    if (row.bKeepsRows) {
        DoubleClickRow(page, page.m_ListView, 0);
        EXPECT_EQ(g_Con_Detail.m_ulRecordID, page.m_pulID[0]);
        Back();  // this visit's entry: categories only
        EXPECT_EQ(g_pCurrentDialog, &page);
        EXPECT_EQ(RowCount(page.m_ListView), 0);
    }
}

TEST_P(ConStatPages, AStaleCategoryIndexShowsTheCategoriesAlone) {
    const StatRow& row = GetParam();
    Con_CategoryStatClass& page = *row.pPage;
    row.pfnGoto();
    ClickRow(page, page.m_CategoryList, 0);  // the last category
    g_History.m_pCurrent->m_nParam = 500;    // a category that is gone
    GotoCon_Homepage();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_GT(RowCount(page.m_CategoryList), 0);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    ClickColumn(page, page.m_ListView, 1);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Family, ConStatPages, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<StatRow>& info) { return std::string(info.param.pszName); });

class ConStatValues : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
};

TEST_F(ConStatValues, AValueInUseMissingFromTheTableIsListedOnceAfterTheTablesValues) {
    AddContact({.name = "甲", .important = "特急"});
    AddContact({.name = "乙", .important = "特急"});
    AddContact({.name = "丙", .important = ""});
    GotoCon_Important();
    Con_CategoryStatClass& page = g_Con_Important;
    ASSERT_EQ(RowCount(page.m_CategoryList), 4);
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 0), "特急");  // last category, top row
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "2");
    EXPECT_EQ(Cell(page.m_CategoryList, 3, 0), "高");
    EXPECT_EQ(Cell(page.m_CategoryList, 3, 1), "0");
}

TEST_F(ConStatValues, IndustryCountsByTheAccountsIndustry) {
    const unsigned bank = AddAccount({.name = "银行", .industry = "金融"});
    AddAccount({.name = "电厂", .industry = "能源"});
    const unsigned x = AddContact({.name = "甲"});
    Link("accounts", bank, "contacts", x);
    AddContact({.name = "乙"});
    GotoCon_Industry();
    Con_CategoryStatClass& page = g_Con_Industry;
    std::map<std::string, std::string> counts;
    for (int r = 0; r < RowCount(page.m_CategoryList); r++)
        counts[Cell(page.m_CategoryList, r, 0)] = Cell(page.m_CategoryList, r, 1);
    EXPECT_EQ(counts["金融"], "1");
    EXPECT_EQ(counts["能源"], "0");
}

TEST_F(ConStatValues, FiftyRegionsInUseKeepEveryNameAndCount) {
    for (int i = 0; i < 50; i++) {
        const std::string region = "区" + std::to_string(i);
        for (int k = 0; k <= i % 3; k++) AddContact({.name = "人" + std::to_string(i), .province = region});
    }
    GotoCon_Province();
    TakeBoxes();
    Con_CategoryStatClass& page = g_Con_Province;
    ASSERT_EQ(RowCount(page.m_CategoryList), 34 + 50);
    for (int i = 0; i < 50; i++) {
        const std::string region = "区" + std::to_string(i);
        const int n = page.CategoryCount();
        int found = -1;
        for (int k = 0; k < n; k++)
            if (region == page.CategoryName(k)) found = k;
        ASSERT_GE(found, 0) << region;
        EXPECT_EQ(Cell(page.m_CategoryList, n - 1 - found, 1), std::to_string(i % 3 + 1)) << region;
    }
}

TEST_F(ConStatValues, ACategoryNameWithAQuoteCountsAndLists) {
    AddContact({.name = "甲", .province = "O'Hare"});
    GotoCon_Province();
    Con_CategoryStatClass& page = g_Con_Province;
    ASSERT_EQ(Cell(page.m_CategoryList, 0, 0), "O'Hare");
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "1");
    ClickRow(page, page.m_CategoryList, 0);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"甲"});
}

TEST_F(ConStatValues, AContactWithThreeOpportunitiesCountsAndListsOnce) {
    const unsigned x = AddContact({.name = "甲"});
    AddContact({.name = "乙"});
    for (int i = 0; i < 3; i++) Link("opportunities", AddOpp({.subject = "项" + std::to_string(i)}), "contacts", x);
    GotoCon_Opportunities();
    Con_CategoryStatClass& page = g_Con_Opportunities;
    ASSERT_EQ(RowCount(page.m_CategoryList), 2);
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 0), "不存在销售机会");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 0), "存在销售机会");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 1), "1");
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "1");
    ClickRow(page, page.m_CategoryList, 1);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{"甲"});
}

TEST_F(ConStatValues, WithNoContactsBothOpportunityCategoriesShowZero) {
    GotoCon_Opportunities();
    Con_CategoryStatClass& page = g_Con_Opportunities;
    ASSERT_EQ(RowCount(page.m_CategoryList), 2);
    EXPECT_EQ(Cell(page.m_CategoryList, 0, 1), "0");
    EXPECT_EQ(Cell(page.m_CategoryList, 1, 1), "0");
}

TEST_F(ConStatValues, SortingByAccountOrdersByTheAccountName) {
    const unsigned o = AddOpp({.subject = "项目"});
    const char* const kAccounts[3] = {"乙公司", "甲公司", "丙公司"};
    for (int i = 0; i < 3; i++) {
        const unsigned x = AddContact({.name = "人" + std::to_string(i)});
        Link("accounts", AddAccount({.name = kAccounts[i]}), "contacts", x);
        Link("opportunities", o, "contacts", x);
    }
    GotoCon_Opportunities();
    Con_CategoryStatClass& page = g_Con_Opportunities;
    ClickRow(page, page.m_CategoryList, 1);
    ClickColumn(page, page.m_ListView, 1);  // 客户单位: ascending query, shown bottom up
    std::vector<std::string> shown = Column(page.m_ListView, 1);
    std::vector<std::string> sorted = shown;
    std::sort(sorted.rbegin(), sorted.rend());
    EXPECT_EQ(shown, sorted);
    EXPECT_EQ(shown.size(), 3u);
}

TEST_F(ConStatValues, RestoringAfterTheLookupTableShrankListsTodaysCategory) {
    AddContact({.name = "甲", .important = "低"});
    GotoCon_Important();
    Con_CategoryStatClass& page = g_Con_Important;
    ClickRow(page, page.m_CategoryList, 0);  // 低, the last of three
    ASSERT_EQ(page.m_nCategory, 2);
    GotoCon_Homepage();
    ASSERT_EQ(Exec("DELETE FROM important WHERE imp_description<>'高'"), 0);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    // 低 is still in use: listed after the table's one value.
    EXPECT_EQ(RowCount(page.m_CategoryList), 2);
    EXPECT_EQ(Column(page.m_ListView, 0), std::vector<std::string>{});
}

}  // namespace
