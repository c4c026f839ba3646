#include <cstring>
#include <string>

#include "store/Opp_DetailClass.h"
#include "tests/store/StoreTestUtil.h"

using namespace storetest;

namespace {

class OppTest : public DataTest {
protected:
    // Adds an opportunity through the class and returns its id.
    ULONG Add(const std::string& strSubject, const std::string& strDescription = "", const char* pszImportant = "高",
              const char* pszPhase = "初步接触", double fEstimate = 1000, ULONG ulAcc = 0, ULONG ulCon = 0,
              ULONG ulTas = 0) {
        Opp_DetailClass opp;
        EXPECT_EQ(0, opp.cod_AllocHead());
        Fill(opp, strSubject, strDescription, pszImportant, pszPhase, fEstimate);
        opp.m_ulAccID = ulAcc;
        opp.m_ulConID = ulCon;
        opp.m_ulTasID = ulTas;
        EXPECT_EQ(0, opp.cod_AddOpportunity());
        EXPECT_EQ(0, opp.cod_GetLastOpportunityID());
        return opp.m_ulOppID;
    }
    static void Fill(Opp_DetailClass& opp, const std::string& strSubject, const std::string& strDescription,
                     const char* pszImportant, const char* pszPhase, double fEstimate) {
        OppNode* p = opp.m_pCurrent;
        snprintf(p->opp_subject, sizeof p->opp_subject, "%s", strSubject.c_str());
        ASSERT_EQ(0, opp.cod_AllocNodeDescription((unsigned)strDescription.size()));
        memcpy(p->opp_description, strDescription.c_str(), strDescription.size() + 1);
        p->opp_create_date = {2024, 9, 1};
        p->opp_die_date = {2024, 10, 15};
        p->opp_recent_contact_date = {2024, 9, 30};
        p->opp_estimate_sale = fEstimate;
        p->opp_sale = 0.5;
        snprintf(p->opp_important, sizeof p->opp_important, "%s", pszImportant);
        snprintf(p->opp_phase, sizeof p->opp_phase, "%s", pszPhase);
        p->opp_succeed_probability = 10;
        p->opp_private = 1;
    }
};

TEST_F(OppTest, TextsWithQuotesGbkAndLongDescriptionsRoundTripExactly) {
    std::string strDescription;
    for (int i = 0; i < 600; ++i) strDescription += "第'" + std::to_string(i) + "'行\r\n";  // far beyond 2048 bytes
    ULONG id = Add("O'Brien's 项目 ''x''", strDescription);
    ASSERT_GT(id, 0u);

    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_GetOpportunity(id));
    const OppNode* p = opp.m_pOppHead;
    EXPECT_EQ(id, p->opp_id);
    EXPECT_STREQ("O'Brien's 项目 ''x''", p->opp_subject);
    EXPECT_EQ(strDescription, p->opp_description);
    EXPECT_EQ(2024, p->opp_die_date.year);
    EXPECT_EQ(10, p->opp_die_date.month);
    EXPECT_EQ(15, p->opp_die_date.day);
    EXPECT_DOUBLE_EQ(1000, p->opp_estimate_sale);
    EXPECT_DOUBLE_EQ(0.5, p->opp_sale);
    EXPECT_STREQ("高", p->opp_important);
    EXPECT_EQ(10, p->opp_succeed_probability);
    EXPECT_EQ(1, p->opp_private);

    // Change it: quotes again, a description twice as long, an absurd amount.
    OppNode* q = opp.m_pCurrent;
    snprintf(q->opp_subject, sizeof q->opp_subject, "%s", "it's changed");
    std::string strLonger = strDescription + strDescription;
    delete[] q->opp_description;
    q->opp_description = nullptr;
    ASSERT_EQ(0, opp.cod_AllocNodeDescription((unsigned)strLonger.size()));
    memcpy(q->opp_description, strLonger.c_str(), strLonger.size() + 1);
    q->opp_estimate_sale = 1e300;
    ASSERT_EQ(0, opp.cod_ChageOpportunity(id));
    opp.cod_FreeList();
    ASSERT_EQ(0, opp.cod_GetOpportunity(id));
    EXPECT_STREQ("it's changed", opp.m_pOppHead->opp_subject);
    EXPECT_EQ(strLonger, opp.m_pOppHead->opp_description);
    EXPECT_DOUBLE_EQ(1e300, opp.m_pOppHead->opp_estimate_sale);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(OppTest, AddWritesItsLinksOnce) {
    ULONG id = Add("with links", "", "高", "初步接触", 1, 7, 9, 0);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts WHERE opp_id=" + std::to_string(id) +
                        " AND con_id=9 AND acc_id=7"));
    EXPECT_EQ(
        1, Number("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=" + std::to_string(id) + " AND acc_id=7"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities_tasks"));

    ULONG id2 = Add("task only", "", "高", "初步接触", 1, 0, 0, 5);
    EXPECT_EQ(1,
              Number("SELECT COUNT(*) FROM opportunities_tasks WHERE opp_id=" + std::to_string(id2) + " AND tas_id=5"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_accounts"));
}

TEST_F(OppTest, LinkTwiceWritesOneRowAndUnlinkKeepsOtherAccounts) {
    ULONG id = Add("linked");
    Opp_DetailClass opp;
    opp.m_ulOppID = id;
    opp.m_ulAccID = 3;
    opp.m_ulConID = 4;
    opp.m_ulTasID = 5;
    ASSERT_EQ(0, opp.cod_LinkOpportunity());
    ASSERT_EQ(0, opp.cod_LinkOpportunity());
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_accounts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_tasks"));
    opp.m_ulConID = opp.m_ulTasID = 0;
    opp.m_ulAccID = 8;
    ASSERT_EQ(0, opp.cod_LinkOpportunity());

    opp.m_ulAccID = 3;
    ASSERT_EQ(0, opp.cod_UnlinkOpportunity());
    auto rows = Raw("SELECT acc_id FROM opportunities_accounts");
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("8", rows[0][0]);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts"));
}

TEST_F(OppTest, DeleteRemovesTheRowsOfAllThreeLinkTables) {
    ULONG id = Add("doomed", "", "高", "初步接触", 1, 2, 3, 4);
    ULONG other = Add("stays", "", "高", "初步接触", 1, 2, 3, 4);
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_DeleteOpportunity(id));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities WHERE opp_id=" + std::to_string(id)));
    for (const char* t : {"opportunities_accounts", "opportunities_contacts", "opportunities_tasks"}) {
        EXPECT_EQ(0, Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE opp_id=" + std::to_string(id))) << t;
        EXPECT_EQ(1, Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE opp_id=" + std::to_string(other))) << t;
    }
}

TEST_F(OppTest, DeleteThatFailsPartWayLeavesNoLinkToAMissingRecord) {
    ULONG id = Add("half deleted", "", "高", "初步接触", 1, 2, 3, 4);
    Exec(
        "CREATE TRIGGER keep_task_links BEFORE DELETE ON opportunities_tasks BEGIN SELECT RAISE(ABORT, 'locked'); END");
    Opp_DetailClass opp;
    EXPECT_EQ(-1, opp.cod_DeleteOpportunity(id));
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    // Whatever link rows are left still name an existing opportunity.
    for (const char* t : {"opportunities_accounts", "opportunities_contacts", "opportunities_tasks"})
        EXPECT_EQ(0, Number(std::string("SELECT COUNT(*) FROM ") + t +
                            " WHERE opp_id NOT IN (SELECT opp_id FROM opportunities)"))
            << t;
}

TEST_F(OppTest, MissingOpportunityIsReportedAndChangeTouchesNothing) {
    Opp_DetailClass opp;
    EXPECT_EQ(-1, opp.cod_GetOpportunity(4711));
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 163: co_GetNextData Error."}, Boxes());
    EXPECT_EQ(4711u, opp.m_pOppHead->opp_id);
    Fill(opp, "ghost", "", "高", "初步接触", 1);
    EXPECT_EQ(-100, opp.cod_ChageOpportunity(4711));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities"));
}

TEST_F(OppTest, EmptyResultIsOneZeroFilledNodeAndCountZero) {
    Opp_DetailClass opp;
    EXPECT_EQ(0, opp.cod_InitDetail());
    ASSERT_NE(nullptr, opp.m_pOppHead);
    EXPECT_EQ(nullptr, opp.m_pOppHead->next);
    EXPECT_EQ(0u, opp.m_pOppHead->opp_id);
    EXPECT_EQ(0, opp.cod_GetByAccount(0));
    // A head that is still held: AllocHead refuses silently.
    EXPECT_EQ(-1, opp.cod_AllocHead());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(OppTest, NullDescriptionReadsAsEmptyText) {
    Exec("INSERT INTO opportunities(opp_subject, opp_description) VALUES('bare', NULL)");
    Opp_DetailClass opp;
    ASSERT_EQ(1, opp.cod_InitDetail());
    ASSERT_NE(nullptr, opp.m_pOppHead->opp_description);
    EXPECT_STREQ("", opp.m_pOppHead->opp_description);
    EXPECT_EQ(0, opp.m_pOppHead->opp_die_date.year);
}

TEST_F(OppTest, SearchAndResortKeepTheKeywordFilter) {
    Add("alpha it's", "", "高");
    Add("beta", "mentions it's here", "中");
    Add("gamma", "", "低");
    Opp_DetailClass opp;
    snprintf(opp.m_szKeyword, sizeof opp.m_szKeyword, "%s", "it's");
    opp.m_iQueryMode = 1;
    ASSERT_EQ(2, opp.cod_InitDetail());
    EXPECT_EQ(1, opp.m_bSearch);
    EXPECT_EQ(0, opp.m_iQueryMode);
    for (int bDesc : {0, 1}) {
        opp.m_iQueryMode = 2;
        opp.m_iSortColumn = 0;
        opp.m_bDesc = bDesc;
        ASSERT_EQ(2, opp.cod_InitDetail());
        std::string first = opp.m_pOppHead->opp_subject;
        EXPECT_EQ(bDesc ? "beta" : "alpha it's", first);
    }
    opp.m_iQueryMode = 0;
    ASSERT_EQ(3, opp.cod_InitDetail());
    EXPECT_EQ(0, opp.m_bSearch);
    opp.m_iQueryMode = 2;
    opp.m_bDesc = 1;
    ASSERT_EQ(3, opp.cod_InitDetail());
    EXPECT_STREQ("gamma", opp.m_pOppHead->opp_subject);
}

TEST_F(OppTest, SortColumnOutsideTheTableRunsNothing) {
    Add("one");
    Opp_DetailClass opp;
    ASSERT_EQ(1, opp.cod_InitDetail());
    for (int iColumn : {-1, 8, 1000}) {
        opp.m_iQueryMode = 2;
        opp.m_iSortColumn = iColumn;
        EXPECT_EQ(-1, opp.cod_InitDetail());
        EXPECT_EQ(-1, opp.cod_GetByImportant("高"));
        EXPECT_EQ(-1, opp.cod_GetAdd(Day(2024, 1, 1), Day(2024, 12, 31)));
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(nullptr, opp.m_pOppHead);  // the list held is untouched
}

TEST_F(OppTest, LookupLoadersFillTheirArraysAndReportAnEmptyTable) {
    Opp_DetailClass opp;
    EXPECT_EQ(3, opp.cod_LoadImportantTable());
    EXPECT_STREQ("中", opp.m_szImportant[1]);
    EXPECT_EQ(7, opp.cod_LoadPhaseTable());
    EXPECT_STREQ("结束－成功", opp.m_szPhase[5]);
    EXPECT_STREQ("100", opp.m_szPhaseProbability[5]);
    EXPECT_STREQ("25", opp.m_szPhaseProbability[1]);

    Exec("DELETE FROM important");
    EXPECT_EQ(-1, opp.cod_LoadImportantTable());
    EXPECT_EQ(0, opp.m_nImportant);
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 163: co_GetNextData Error."}, Boxes());
}

TEST_F(OppTest, LookupTableLongerThanItsArrayNeverSpillsOver) {
    for (int i = 0; i < Opp_DetailClass::MAX_PHASE + 5; ++i)
        Exec("INSERT INTO phase VALUES('p" + std::to_string(i) + "', " + std::to_string(i) + ")");
    Exec("INSERT INTO important VALUES('last')");
    Opp_DetailClass opp;
    EXPECT_EQ(4, opp.cod_LoadImportantTable());
    EXPECT_EQ(Opp_DetailClass::MAX_PHASE, opp.cod_LoadPhaseTable());
    EXPECT_EQ(Opp_DetailClass::MAX_PHASE, opp.m_nPhase);
    EXPECT_STREQ("last", opp.m_szImportant[3]);
    EXPECT_EQ(1u, Boxes().size());  // the one notice that categories were left out
    EXPECT_EQ(Opp_DetailClass::MAX_PHASE, opp.cod_LoadPhaseTable());
    EXPECT_EQ(1u, Boxes().size());
}

TEST_F(OppTest, FailuresShowTheirMessages) {
    Exec("DROP TABLE opportunities_accounts");
    Opp_DetailClass opp;
    opp.m_ulOppID = 1;
    opp.m_ulAccID = 2;
    EXPECT_EQ(-1, opp.cod_LinkOpportunity());
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());

    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, opp.cod_UnlinkOpportunity());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());

    testsupport::ClearMessageBoxes();
    Exec("DROP VIEW rel_accounts_opportunities");
    EXPECT_EQ(-1, opp.cod_GetByAccount(2));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
}

TEST_F(OppTest, FailingFetchEndsTheListInsteadOfCountingARow) {
    Add("first");
    Add("second");
    Opp_DetailClass opp;
    opp.m_ulOppID = 1;
    opp.m_ulTasID = 7;
    ASSERT_EQ(0, opp.cod_LinkOpportunity());
    opp.m_ulOppID = 2;
    ASSERT_EQ(0, opp.cod_LinkOpportunity());
    ReleaseResult();
    // A saved query whose second row cannot be computed.
    Exec("DROP VIEW rel_tasks_opportunities");
    Exec(
        "CREATE VIEW rel_tasks_opportunities AS SELECT o.opp_id, o.opp_subject, o.opp_description, o.opp_create_date, "
        "o.opp_die_date, o.opp_estimate_sale, o.opp_sale, o.opp_important, o.opp_phase, o.opp_recent_contact_date, "
        "o.opp_private, CASE WHEN o.opp_id = 2 THEN abs(-9223372036854775807 - 1) ELSE o.opp_succeed_probability END "
        "AS opp_succeed_probability, l.tas_id FROM opportunities_tasks l JOIN opportunities o ON o.opp_id = l.opp_id");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, opp.cod_GetByTask(7));
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 277: co_ExecSQL Error."}, Boxes());
    EXPECT_EQ(1u, opp.m_pOppHead->opp_id);
    EXPECT_EQ(nullptr, opp.m_pOppHead->next);
}

// History entries and link rows hold ids: the id of a deleted record is
// never given to a new one, so they can never name an unrelated record.
TEST_F(OppTest, DeletedIdIsNeverGivenToANewRecord) {
    Add("first");
    ULONG second = Add("second");
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_DeleteOpportunity(second));
    ULONG third = Add("third");
    EXPECT_GT(third, second);
    EXPECT_EQ(-1, opp.cod_GetOpportunity(second));
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 163: co_GetNextData Error."}, Boxes());
}

}  // namespace
