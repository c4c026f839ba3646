// The lookup-category editor: its six lists, adding, renaming and deleting by
// text, the Idle / Adding / Modifying states, and what the other pages offer
// afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gbk/gbk.h"
#include "resources/settings_ids.h"
#include "settings/OptionSettingDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

using Texts = std::vector<std::string>;
using Mode = OptionSettingDialogClass::Mode;

struct ListCase {
    int (*pfnGoto)();
    Mode mode;
    const char* pszTable;
    const char* pszColumn;
    const char* pszCaption;
};

const ListCase kLists[] = {
    {GotoOptionSetting_Important, OptionSettingDialogClass::MODE_IMPORTANT, "important", "imp_description", "重要性"},
    {GotoOptionSetting_Relation, OptionSettingDialogClass::MODE_RELATION, "relation", "rel_description", "关系"},
    {GotoOptionSetting_Province, OptionSettingDialogClass::MODE_PROVINCE, "province", "pro_description", "区域"},
    {GotoOptionSetting_Phase, OptionSettingDialogClass::MODE_PHASE, "phase", "pha_description", "项目阶段"},
    {GotoOptionSetting_Industry, OptionSettingDialogClass::MODE_INDUSTRY, "industry", "ind_description", "行业"},
    {GotoOptionSetting_Type, OptionSettingDialogClass::MODE_TYPE, "type", "typ_description", "类型"},
};

OptionSettingDialogClass& E() { return g_OptionSetting; }

std::string ColumnCaption(int nColumn) {
    char sz[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = sz;
    col.cchTextMax = sizeof sz;
    E().m_ValueList.GetColumn(nColumn, &col);
    return sz;
}

Texts Stored(const ListCase& c) {
    Texts v;
    for (auto& row : Database().Query(std::string("SELECT ") + c.pszColumn + " FROM " + c.pszTable))
        v.push_back(gbk::FromUtf8(row[0]));
    std::sort(v.begin(), v.end());
    return v;
}

Texts Sorted(Texts v) {
    std::sort(v.begin(), v.end());
    return v;
}

long long Count(const std::string& table, const std::string& where) {
    return QueryInt("SELECT COUNT(*) FROM " + table + " WHERE " + where);
}

Texts ComboItems(HWND hCombo) {
    Texts v;
    const int n = (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        char sz[256] = "";
        SendMessageA(hCombo, CB_GETLBTEXT, i, (LPARAM)sz);
        v.push_back(sz);
    }
    return v;
}

bool Has(const Texts& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

void Add(const std::string& value, const std::string& probability = "") {
    Click(E(), IDC_OSET_ADD);
    SetText(E().m_hValueEdit, value);
    SetText(E().m_hProbabilityEdit, probability);
    Click(E(), IDC_OSET_OK);
}

int RowOf(const std::string& value) {
    const Texts v = Column(E().m_ValueList, 0);
    auto it = std::find(v.begin(), v.end(), value);
    return it == v.end() ? -1 : (int)(it - v.begin());
}

class OptionSetting : public ::testing::TestWithParam<ListCase> {
protected:
    void SetUp() override { StartFresh(); }
};

class OptionEditor : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
};

std::string NameOf(const ::testing::TestParamInfo<ListCase>& info) { return info.param.pszTable; }

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.pszTable; }

}  // namespace

TEST_P(OptionSetting, ShowsItsListAndAddsRenamesAndDeletesByText) {
    const ListCase& c = GetParam();
    c.pfnGoto();
    ASSERT_EQ(g_pCurrentDialog, &E());
    EXPECT_EQ(E().m_nMode, c.mode);
    EXPECT_EQ(ColumnCaption(0), c.pszCaption);
    EXPECT_EQ(Sorted(Column(E().m_ValueList, 0)), Stored(c));
    EXPECT_EQ(IsWindowVisible(E().m_hProbabilityEdit) != FALSE, c.mode == OptionSettingDialogClass::MODE_PHASE);

    Add("新'值");
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Count(c.pszTable, std::string(c.pszColumn) + "='新''值'"), 1);
    ASSERT_GE(RowOf("新'值"), 0);

    ClickRow(E(), E().m_ValueList, RowOf("新'值"));
    EXPECT_EQ(Text(E().m_hValueEdit), "新'值");
    Click(E(), IDC_OSET_MODIFY);
    SetText(E().m_hValueEdit, "改'名");
    Click(E(), IDC_OSET_OK);
    EXPECT_EQ(Count(c.pszTable, std::string(c.pszColumn) + "='新''值'"), 0);
    EXPECT_EQ(Count(c.pszTable, std::string(c.pszColumn) + "='改''名'"), 1);
    EXPECT_GE(RowOf("改'名"), 0);

    ClickRow(E(), E().m_ValueList, RowOf("改'名"));
    Click(E(), IDC_OSET_DELETE);
    EXPECT_TRUE(TakeBoxes().empty()) << "no question before a delete";
    EXPECT_EQ(Count(c.pszTable, std::string(c.pszColumn) + "='改''名'"), 0);
    EXPECT_EQ(RowOf("改'名"), -1);
    EXPECT_EQ(Text(E().m_hValueEdit), "");
}

INSTANTIATE_TEST_SUITE_P(SixLists, OptionSetting, ::testing::ValuesIn(kLists), NameOf);

TEST_F(OptionEditor, ThePhaseListCarriesTheProbability) {
    GotoOptionSetting_Phase();
    EXPECT_TRUE(IsWindowVisible(E().m_hProbabilityEdit));
    EXPECT_EQ(SendMessageA(E().m_hProbabilityEdit, EM_GETLIMITTEXT, 0, 0), 9);
    Add("签约", "50");
    EXPECT_EQ(QueryInt("SELECT pha_succeed_probability FROM phase WHERE pha_description='签约'"), 50);
    EXPECT_EQ(Cell(E().m_ValueList, RowOf("签约"), 1), "50");
    Add("空概率", "");
    EXPECT_EQ(QueryInt("SELECT pha_succeed_probability FROM phase WHERE pha_description='空概率'"), 0);
    // A long text is cut to the field, never past it.
    Add("长概率", "123456789012345");
    EXPECT_EQ(QueryInt("SELECT pha_succeed_probability FROM phase WHERE pha_description='长概率'"), 123456789);

    // Renaming writes the probability as a number too.
    ClickRow(E(), E().m_ValueList, RowOf("签约"));
    EXPECT_EQ(Text(E().m_hProbabilityEdit), "50");
    Click(E(), IDC_OSET_MODIFY);
    SetText(E().m_hProbabilityEdit, "75%");
    Click(E(), IDC_OSET_OK);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryText("SELECT typeof(pha_succeed_probability) FROM phase WHERE pha_description='签约'"), "integer");
    EXPECT_EQ(QueryInt("SELECT pha_succeed_probability FROM phase WHERE pha_description='签约'"), 75);

    GotoOptionSetting_Type();
    EXPECT_FALSE(IsWindowVisible(E().m_hProbabilityEdit));
}

TEST_F(OptionEditor, TheStatesDecideWhatButtonsAndClicksDo) {
    GotoOptionSetting_Important();
    EXPECT_EQ(E().State(), OptionSettingDialogClass::STATE_IDLE);
    EXPECT_FALSE(Enabled(E().m_hOkButton));
    EXPECT_FALSE(Enabled(E().m_hCancelButton));
    EXPECT_NE(GetWindowLongA(E().m_hValueEdit, GWL_STYLE) & ES_READONLY, 0);
    const int nFirst = RowOf("高"), nSecond = RowOf("低");
    ASSERT_GE(nFirst, 0);
    ASSERT_GE(nSecond, 0);

    // Idle: a click takes the row; 确定 and 取消 do nothing.
    ClickRow(E(), E().m_ValueList, nFirst);
    EXPECT_EQ(Text(E().m_hValueEdit), "高");
    Click(E(), IDC_OSET_OK);
    EXPECT_EQ(Count("important", "imp_description='高'"), 1);

    // Modifying: a click on another row changes nothing, so 确定 renames the
    // value that was chosen.
    Click(E(), IDC_OSET_MODIFY);
    EXPECT_EQ(E().State(), OptionSettingDialogClass::STATE_MODIFYING);
    EXPECT_FALSE(Enabled(E().m_hAddButton));
    EXPECT_FALSE(Enabled(E().m_hDeleteButton));
    EXPECT_TRUE(Enabled(E().m_hOkButton));
    EXPECT_EQ(GetWindowLongA(E().m_hValueEdit, GWL_STYLE) & ES_READONLY, 0);
    ClickRow(E(), E().m_ValueList, nSecond);
    EXPECT_EQ(Text(E().m_hValueEdit), "高");
    Click(E(), IDC_OSET_DELETE);  // disabled in this state: nothing
    SetText(E().m_hValueEdit, "很高");
    Click(E(), IDC_OSET_OK);
    EXPECT_EQ(E().State(), OptionSettingDialogClass::STATE_IDLE);
    EXPECT_EQ(Count("important", "imp_description='很高'"), 1);
    EXPECT_EQ(Count("important", "imp_description='高'"), 0);
    EXPECT_EQ(Count("important", "imp_description='低'"), 1);

    // Adding, then 取消: the typed text stays, read-only; nothing stored.
    Click(E(), IDC_OSET_ADD);
    EXPECT_EQ(Text(E().m_hValueEdit), "");
    ClickRow(E(), E().m_ValueList, 0);
    EXPECT_EQ(Text(E().m_hValueEdit), "");
    SetText(E().m_hValueEdit, "不要");
    Click(E(), IDC_OSET_CANCEL);
    EXPECT_EQ(E().State(), OptionSettingDialogClass::STATE_IDLE);
    EXPECT_EQ(Text(E().m_hValueEdit), "不要");
    EXPECT_NE(GetWindowLongA(E().m_hValueEdit, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(Count("important", "imp_description='不要'"), 0);
    EXPECT_TRUE(Enabled(E().m_hAddButton));
}

TEST_F(OptionEditor, ASharedTextIsRenamedAndDeletedInEveryRow) {
    ASSERT_EQ(Exec("INSERT INTO relation(rel_description) VALUES('双份')"), 0);
    ASSERT_EQ(Exec("INSERT INTO relation(rel_description) VALUES('双份')"), 0);
    GotoOptionSetting_Relation();
    ClickRow(E(), E().m_ValueList, RowOf("双份"));
    Click(E(), IDC_OSET_MODIFY);
    SetText(E().m_hValueEdit, "两份");
    Click(E(), IDC_OSET_OK);
    EXPECT_EQ(Count("relation", "rel_description='两份'"), 2);
    ClickRow(E(), E().m_ValueList, RowOf("两份"));
    Click(E(), IDC_OSET_DELETE);
    EXPECT_EQ(Count("relation", "rel_description='两份'"), 0);
}

TEST_F(OptionEditor, AnEmptyTableShowsOneEmptyRow) {
    Database().Exec("DELETE FROM industry");
    GotoOptionSetting_Industry();
    EXPECT_EQ(Column(E().m_ValueList, 0), Texts{""});
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(OptionEditor, OneEntryPerListAndTheRestoreCaptions) {
    const int n = HistoryCount();
    GotoOptionSetting_Important();
    GotoOptionSetting_Important();
    EXPECT_EQ(HistoryCount(), n + 1);
    GotoOptionSetting_Province();
    GotoOptionSetting_Phase();
    GotoOptionSetting_Relation();
    EXPECT_EQ(ColumnCaption(0), "关系");
    Back();
    EXPECT_EQ(E().m_nMode, OptionSettingDialogClass::MODE_PHASE);
    EXPECT_EQ(ColumnCaption(0), "销售阶段");
    EXPECT_TRUE(IsWindowVisible(E().m_hProbabilityEdit));
    Back();
    EXPECT_EQ(E().m_nMode, OptionSettingDialogClass::MODE_PROVINCE);
    EXPECT_EQ(ColumnCaption(0), "地区");
    EXPECT_FALSE(IsWindowVisible(E().m_hProbabilityEdit));
    Back();
    EXPECT_EQ(E().m_nMode, OptionSettingDialogClass::MODE_IMPORTANT);
    EXPECT_EQ(ColumnCaption(0), "重要性");
    EXPECT_EQ(Sorted(Column(E().m_ValueList, 0)), Stored(kLists[0]));
    EXPECT_TRUE(IsButtonChecked(IDC_TB_SETTING));
}

TEST_F(OptionEditor, TheFormsOfferTheChangedValuesAtTheirNextOpening) {
    GotoOptionSetting_Phase();
    Add("新阶段", "35");
    GotoOptionSetting_Important();
    Add("极高");
    GotoOptionSetting_Type();
    Add("伙伴");
    GotoOpp_DetailNew();
    ASSERT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_TRUE(Has(ComboItems(g_Opp_Detail.m_hPhase), "新阶段"));
    EXPECT_TRUE(Has(ComboItems(g_Opp_Detail.m_hImportant), "极高"));
    GotoAcc_DetailNew();
    ASSERT_EQ(g_pCurrentDialog, &g_Acc_Detail);
    EXPECT_TRUE(Has(ComboItems(g_Acc_Detail.m_hType), "伙伴"));
}

TEST_F(OptionEditor, TablesPastTheFormsCapacitiesCorruptNothing) {
    // More values in every table than any form or statistics page holds.
    for (const ListCase& c : kLists) {
        std::string sql = std::string("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<130) ") +
                          "INSERT INTO " + c.pszTable + "(" + c.pszColumn + ") SELECT 'v' || i FROM n";
        Database().Exec(sql);
    }
    for (const ListCase& c : kLists) {
        c.pfnGoto();
        EXPECT_EQ(RowCount(E().m_ValueList), (int)Stored(c).size()) << c.pszTable;
    }
    AddOpp({.subject = "大表", .phase = "v130"});
    for (int (*pfn)() :
         {GotoOpp_DetailNew, GotoOpp_PhaseStat, GotoOpp_ImportantStat, GotoAcc_DetailNew, GotoAcc_ImportantStat,
          GotoAcc_TypeStat, GotoAcc_IndustryStat, GotoAcc_ProvinceStat, GotoAcc_RelationStat, GotoCon_DetailNew,
          GotoCon_Important, GotoCon_Industry, GotoCon_Province, GotoCon_Relation}) {
        pfn();
        PumpMessages();
    }
    EXPECT_LE((int)ComboItems(g_Opp_Detail.m_hPhase).size(), 101);
    TakeBoxes();
    // The program still works after all of it.
    GotoOptionSetting_Phase();
    Add("最后", "5");
    EXPECT_EQ(Count("phase", "pha_description='最后'"), 1);
}
