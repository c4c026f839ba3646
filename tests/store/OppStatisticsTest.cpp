#include <cmath>
#include <set>
#include <string>

#include "store/Opp_DetailClass.h"
#include "tests/store/StoreTestUtil.h"

using namespace storetest;

namespace {

class OppStatTest : public DataTest {
protected:
    void Insert(const std::string& strSubject, const std::string& strImportant, const std::string& strPhase,
                const std::string& strEstimate = "0", const std::string& strDie = "2024-01-01",
                const std::string& strCreate = "2024-01-01", const std::string& strRecent = "2024-01-01") {
        Exec(
            "INSERT INTO opportunities(opp_subject, opp_important, opp_phase, opp_estimate_sale, opp_die_date, "
            "opp_create_date, opp_recent_contact_date) VALUES(" +
            Q(strSubject) + ", " + Q(strImportant) + ", " + Q(strPhase) + ", " + strEstimate + ", '" + strDie + "', '" +
            strCreate + "', '" + strRecent + "')");
    }
    static std::set<std::string> Subjects(Opp_DetailClass& opp, int n) {
        std::set<std::string> s;
        opp.m_pCurrent = opp.m_pOppHead;
        for (int i = 0; i < n; ++i, opp.cod_NextNode()) s.insert(opp.m_pCurrent->opp_subject);
        return s;
    }
};

TEST_F(OppStatTest, CategoriesAreTableRowsThenValuesInUse) {
    Exec("DELETE FROM important");
    Exec("INSERT INTO important VALUES('" + U("高") + "'), ('" + U("中") + "')");
    Insert("a", "中", "x");
    Insert("b", "低", "x");
    Insert("c", "", "x");
    Opp_DetailClass opp;
    EXPECT_EQ(3, opp.cod_GetImportantCategories());
    ASSERT_EQ(3, opp.m_nImportant);
    EXPECT_STREQ("高", opp.m_szImportant[0]);
    EXPECT_STREQ("中", opp.m_szImportant[1]);
    EXPECT_STREQ("低", opp.m_szImportant[2]);
}

TEST_F(OppStatTest, CountsAndSumsPerCategoryFollowTheData) {
    Exec("DELETE FROM important");
    Exec("INSERT INTO important VALUES('" + U("高") + "'), ('" + U("中") + "')");
    Insert("a", "高", "x", "100.25");
    Insert("b", "中", "x", "12345678.90");
    Insert("c", "低", "x", "1");
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_CountByImportant());
    ASSERT_EQ(3, opp.m_nImportant);
    EXPECT_EQ(1, opp.m_iCount[0]);
    EXPECT_DOUBLE_EQ(100.25, opp.m_fSum[0]);
    // A sum above 16.7 million keeps its cents.
    char sz[32];
    snprintf(sz, sizeof sz, "%.2f", opp.m_fSum[1]);
    EXPECT_STREQ("12345678.90", sz);

    // After its only opportunity is gone the category shows 0 and 0.00,
    // not the sum of the earlier count.
    Exec("DELETE FROM opportunities WHERE opp_important='" + U("高") + "'");
    ASSERT_EQ(0, opp.cod_CountByImportant());
    EXPECT_STREQ("高", opp.m_szImportant[0]);
    EXPECT_EQ(0, opp.m_iCount[0]);
    EXPECT_EQ(0.0, opp.m_fSum[0]);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(OppStatTest, CategoryNamesWithQuotesAreCountedAndListed) {
    Insert("a", "it's hot", "x", "5");
    Insert("b", "it's hot", "x", "6");
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_CountByImportant());
    ASSERT_EQ(4, opp.m_nImportant);
    EXPECT_STREQ("it's hot", opp.m_szImportant[3]);
    EXPECT_EQ(2, opp.m_iCount[3]);
    EXPECT_DOUBLE_EQ(11, opp.m_fSum[3]);
    EXPECT_EQ(2, opp.cod_GetByImportant("it's hot"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(OppStatTest, MorePhasesThanTheOldArraysHoldAreAllCounted) {
    // 7 shipped phases plus 20 in use: more than 20 categories.
    for (int i = 0; i < 20; ++i)
        Insert("o" + std::to_string(i), "高", "phase" + std::to_string(i), std::to_string(i + 1));
    Opp_DetailClass opp;
    ASSERT_EQ(3, opp.cod_LoadImportantTable());
    ASSERT_EQ(0, opp.cod_CountByPhase());
    ASSERT_EQ(27, opp.m_nPhase);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ("phase" + std::to_string(i), std::string(opp.m_szPhase[7 + i]));
        EXPECT_EQ(1, opp.m_iCount[7 + i]);
        EXPECT_DOUBLE_EQ(i + 1, opp.m_fSum[7 + i]);
    }
    // The importance names beside them are intact.
    EXPECT_STREQ("高", opp.m_szImportant[0]);
    EXPECT_STREQ("低", opp.m_szImportant[2]);
}

TEST_F(OppStatTest, CategoryListingAndResort) {
    Insert("b1", "高", "x", "3");
    Insert("b2", "高", "x", "1");
    Insert("other", "中", "x", "2");
    Opp_DetailClass opp;
    ASSERT_EQ(2, opp.cod_GetByImportant("高"));
    opp.m_iQueryMode = 2;
    opp.m_iSortColumn = 4;  // estimated sale
    opp.m_bDesc = 1;
    ASSERT_EQ(2, opp.cod_GetByImportant("高"));
    EXPECT_STREQ("b1", opp.m_pOppHead->opp_subject);
    EXPECT_EQ(0, opp.m_iQueryMode);
    opp.m_iQueryMode = 2;
    opp.m_bDesc = 0;
    ASSERT_EQ(2, opp.cod_GetByImportant("高"));
    EXPECT_STREQ("b2", opp.m_pOppHead->opp_subject);
}

TEST_F(OppStatTest, DateListingsIncludeBothEndsAcrossMonthAndYearEnds) {
    Insert("before", "高", "x", "0", "2023-12-30");
    Insert("first", "高", "x", "0", "2023-12-31");
    Insert("last", "高", "x", "0", "2024-01-01");
    Insert("after", "高", "x", "0", "2024-01-02");
    Insert("sep", "高", "x", "0", "2024-09-30");
    Insert("oct", "高", "x", "0", "2024-10-01");
    Opp_DetailClass opp;
    ASSERT_EQ(2, opp.cod_GetEstimateOver(Day(2023, 12, 31), Day(2024, 1, 1)));
    EXPECT_EQ((std::set<std::string>{"first", "last"}), Subjects(opp, 2));
    // Unpadded months: September and October compare as dates.
    ASSERT_EQ(1, opp.cod_GetEstimateOver(Day(2024, 9, 1), Day(2024, 9, 30)));
    EXPECT_STREQ("sep", opp.m_pOppHead->opp_subject);
    ASSERT_EQ(2, opp.cod_GetEstimateOver(Day(2024, 9, 30), Day(2024, 10, 1)));
}

TEST_F(OppStatTest, NoTrackIncludesTheDayAndWonLostMatchExactPhases) {
    Insert("old", "高", "结束－成功", "0", "2024-05-05", "2024-01-01", "2024-03-01");
    Insert("edge", "高", "结束－失败", "0", "2024-05-06", "2024-01-01", "2024-03-02");
    Insert("new", "高", "结束－成功x", "0", "2024-05-07", "2024-01-01", "2024-03-03");
    Opp_DetailClass opp;
    ASSERT_EQ(2, opp.cod_NoTrack(Day(2024, 3, 2)));
    EXPECT_EQ((std::set<std::string>{"old", "edge"}), Subjects(opp, 2));
    ASSERT_EQ(1, opp.cod_GetSucceed(Day(2024, 1, 1), Day(2024, 12, 31)));
    EXPECT_STREQ("old", opp.m_pOppHead->opp_subject);
    ASSERT_EQ(1, opp.cod_GetFail(Day(2024, 1, 1), Day(2024, 12, 31)));
    EXPECT_STREQ("edge", opp.m_pOppHead->opp_subject);
    ASSERT_EQ(3, opp.cod_GetTrack(Day(2024, 3, 1), Day(2024, 3, 3)));
    ASSERT_EQ(3, opp.cod_GetAdd(Day(2024, 1, 1), Day(2024, 1, 1)));
    opp.m_iQueryMode = 2;
    opp.m_iSortColumn = 6;  // latest contact
    opp.m_bDesc = 1;
    ASSERT_EQ(3, opp.cod_GetTrack(Day(2024, 3, 1), Day(2024, 3, 3)));
    EXPECT_STREQ("new", opp.m_pOppHead->opp_subject);
}

TEST_F(OppStatTest, CountFailuresShowTheirMessages) {
    Exec("DROP TABLE opportunities");
    Opp_DetailClass opp;
    EXPECT_EQ(-1, opp.cod_CountByImportant());
    std::vector<std::string> boxes = Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ("Opp_DetailClass.cpp 645: co_ExecSQL Error.", boxes.back());
    EXPECT_NE(boxes.end(), std::find(boxes.begin(), boxes.end(), "Opp_DetailClass.cpp 153: co_ExecSQL Error."));
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, opp.cod_CountByPhase());
    EXPECT_EQ("Opp_DetailClass.cpp 730: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
