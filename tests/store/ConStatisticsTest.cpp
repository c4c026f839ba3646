#include <string>

#include "store/Con_DetailClass.h"
#include "tests/store/StoreTestUtil.h"

using namespace storetest;

namespace {

class ConStatTest : public DataTest {
protected:
    void Contact(const std::string& strName, const std::string& strImportantSql, const std::string& strProvince = "x") {
        Exec("INSERT INTO contacts(con_name, con_important, con_province, con_recent_contact_date) VALUES(" +
             Q(strName) + ", " + strImportantSql + ", " + Q(strProvince) + ", '2024-01-0" +
             std::to_string(strName.size() % 9 + 1) + "')");
    }
};

TEST_F(ConStatTest, TableNamesThenValuesInUseWithOneCountEach) {
    Contact("a", Q("高"));
    Contact("b", "''");
    Contact("c", "NULL");
    Contact("d", Q("特别"));
    Contact("e", Q("特别"));
    Con_DetailClass con;
    EXPECT_EQ(4, con.ccd_GetImportantCategories());
    ASSERT_EQ(0, con.ccd_CountByImportant());
    ASSERT_EQ(4, con.m_nImportant);
    EXPECT_STREQ("特别", con.m_szImportant[3]);
    EXPECT_EQ(1, con.m_iCount[0]);
    EXPECT_EQ(0, con.m_iCount[1]);
    EXPECT_EQ(0, con.m_iCount[2]);
    EXPECT_EQ(2, con.m_iCount[3]);
    EXPECT_EQ(2, con.ccd_GetByImportant("特别"));
    EXPECT_EQ(0, con.m_nType);
}

TEST_F(ConStatTest, EmptyLookupTableGivesOneMessageThenTheValuesInUse) {
    Exec("DELETE FROM relation");
    Exec("INSERT INTO contacts(con_name, con_relation) VALUES('a', 'friend'), ('b', 'foe')");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_CountByRelation());
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 163: co_GetNextData Error."}, Boxes());
    ASSERT_EQ(2, con.m_nRelation);
    EXPECT_STREQ("friend", con.m_szRelation[0]);
    EXPECT_EQ(1, con.m_iCount[1]);
}

TEST_F(ConStatTest, WithoutContactsTheResultIsZeroButTheLookupNamesAreCounted) {
    Con_DetailClass con;
    EXPECT_EQ(0, con.ccd_GetImportantCategories());
    EXPECT_EQ(3, con.m_nImportant);
    con.m_iCount[2] = 99;
    ASSERT_EQ(0, con.ccd_CountByImportant());
    EXPECT_EQ(0, con.m_iCount[0]);
    EXPECT_EQ(0, con.m_iCount[2]);
    EXPECT_EQ(3, con.ccd_LoadImportantTable());
    EXPECT_EQ(6, con.ccd_LoadRelationTable());
    EXPECT_EQ(16, con.ccd_LoadIndustryTable());
    EXPECT_EQ(34, con.ccd_LoadProvinceTable());
}

TEST_F(ConStatTest, RelationIndustryAndRegionListTheirLookupTableThenTheValuesInUse) {
    Con_DetailClass con;
    // No row in use: 0, the lookup names stay.
    EXPECT_EQ(0, con.ccd_GetRelationCategories());
    EXPECT_EQ(6, con.m_nRelation);
    EXPECT_EQ(0, con.ccd_GetIndustryCategories());
    EXPECT_EQ(16, con.m_nIndustry);
    EXPECT_EQ(0, con.ccd_GetProvinceCategories());
    EXPECT_EQ(34, con.m_nProvince);
    // Relation and region from the contacts, industry from the accounts;
    // empty and NULL values and names already listed add nothing.
    Exec(
        "INSERT INTO contacts(con_name, con_relation, con_province) VALUES('a', 'R1', 'P1'), ('b', '', NULL), "
        "('c', 'R1', " +
        Q("北京") + "), ('d', 'R2', 'P2')");
    Exec("INSERT INTO accounts(acc_name, acc_industry) VALUES('A', 'I1'), ('B', ''), ('C', 'I1')");
    EXPECT_EQ(8, con.ccd_GetRelationCategories());
    EXPECT_STREQ("R1", con.m_szRelation[6]);
    EXPECT_STREQ("R2", con.m_szRelation[7]);
    EXPECT_EQ(17, con.ccd_GetIndustryCategories());
    EXPECT_STREQ("I1", con.m_szIndustry[16]);
    EXPECT_EQ(36, con.ccd_GetProvinceCategories());
    EXPECT_STREQ("P1", con.m_szProvince[34]);
    EXPECT_STREQ("P2", con.m_szProvince[35]);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConStatTest, IndustriesComeFromAccountsAndCountTheirContacts) {
    Exec("INSERT INTO accounts(acc_name, acc_industry) VALUES('A', 'robots'), ('B', 'ships'), ('C', " + Q("金融") +
         ")");
    Exec("INSERT INTO contacts(con_name) VALUES('x'), ('y'), ('z')");
    Exec("INSERT INTO accounts_contacts VALUES(1, 1), (1, 2), (3, 3)");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_CountByIndustry());
    ASSERT_EQ(18, con.m_nIndustry);
    EXPECT_STREQ("robots", con.m_szIndustry[16]);
    EXPECT_STREQ("ships", con.m_szIndustry[17]);
    EXPECT_EQ(2, con.m_iCount[16]);
    EXPECT_EQ(0, con.m_iCount[17]);  // an industry whose account has no contact
    EXPECT_EQ(1, con.m_iCount[1]);   // 金融
    EXPECT_EQ(2, con.ccd_GetByIndustry("robots"));
}

TEST_F(ConStatTest, MoreRegionsThanTheOldCountArrayHoldAreCountedInPlace) {
    for (int i = 0; i < 70; ++i) Contact("c" + std::to_string(i), "''", "r'" + std::to_string(i));
    Contact("extra", "''", "r'0");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_CountByProvince());
    ASSERT_EQ(Con_DetailClass::MAX_PROVINCE, con.m_nProvince);
    EXPECT_EQ(1u, Boxes().size());  // one notice: four regions were left out
    EXPECT_EQ("r'0", std::string(con.m_szProvince[34]));
    EXPECT_EQ(2, con.m_iCount[34]);
    for (int i = 35; i < 100; ++i) EXPECT_EQ(1, con.m_iCount[i]) << i;
    EXPECT_EQ(0, con.m_nImportant);
    EXPECT_EQ(2, con.ccd_GetByProvince("r'0"));
}

TEST_F(ConStatTest, WithAndWithoutOpportunities) {
    Exec("INSERT INTO accounts(acc_name, acc_type) VALUES('Zeta', 'T1'), ('Alpha', 'T2'), ('Rival', " + Q("竞争对手") +
         ")");
    Exec(
        "INSERT INTO contacts(con_name, con_recent_contact_date) VALUES('two opps', '2024-05-01'), "
        "('one opp', '2024-01-01'), ('none', '2024-03-01')");
    Exec("INSERT INTO accounts_contacts VALUES(1, 1), (2, 2), (3, 3)");
    Exec("INSERT INTO opportunities(opp_id, opp_subject) VALUES(10, 'a'), (11, 'b'), (12, 'c')");
    Exec("INSERT INTO opportunities_contacts VALUES(10, 1, 1), (11, 1, 1), (12, 2, 2)");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_CountByOpportunities());
    EXPECT_EQ(2, con.m_iCount[0]);
    EXPECT_EQ(1, con.m_iCount[1]);
    ASSERT_EQ(2, con.ccd_GetByOpportunities(0));
    EXPECT_STREQ(con.m_pConHead->con_name, con.m_pConHead->con_description);
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 1;  // account name
    con.m_bDesc = 0;
    ASSERT_EQ(2, con.ccd_GetByOpportunities(0));
    EXPECT_EQ(0, con.m_iQueryMode);  // a re-sort is served once
    EXPECT_STREQ("one opp", con.m_pConHead->con_name);
    EXPECT_STREQ("Alpha", con.m_pConHead->acc_name);
    // Both lists carry the account's customer type, as every contact list does.
    EXPECT_STREQ("T2", con.m_pConHead->acc_type);
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 9;  // latest contact
    con.m_bDesc = 1;
    ASSERT_EQ(2, con.ccd_GetByOpportunities(0));
    EXPECT_STREQ("two opps", con.m_pConHead->con_name);
    ASSERT_EQ(1, con.ccd_GetByOpportunities(1));
    EXPECT_STREQ("none", con.m_pConHead->con_name);
    EXPECT_STREQ("Rival", con.m_pConHead->acc_name);
    EXPECT_STREQ("竞争对手", con.m_pConHead->acc_type);
    char sz[20];
    EXPECT_EQ(0, con.ccd_GetOpportunitiesCategoryName(0, sz));
    EXPECT_STREQ("存在销售机会", sz);
    EXPECT_EQ(-1, con.ccd_GetOpportunitiesCategoryName(2, sz));
    EXPECT_STREQ("存在销售机会", sz);
}

TEST_F(ConStatTest, CategoryResortKeepsTheCategory) {
    Contact("bb", Q("高"));
    Contact("a", Q("高"));
    Contact("ccc", Q("低"));
    Con_DetailClass con;
    ASSERT_EQ(2, con.ccd_GetByImportant("高"));
    EXPECT_STREQ("bb", con.m_pConHead->con_name);
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 0;
    con.m_bDesc = 0;
    ASSERT_EQ(2, con.ccd_GetByImportant("高"));
    EXPECT_STREQ("a", con.m_pConHead->con_name);
    EXPECT_EQ(0, con.m_iQueryMode);
    con.m_iQueryMode = 2;
    con.m_iSortColumn = -1;
    EXPECT_EQ(-1, con.ccd_GetByImportant("高"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConStatTest, CountFailuresShowTheirMessages) {
    Exec("DROP VIEW rel_opportunities_contacts");
    Con_DetailClass con;
    EXPECT_EQ(-1, con.ccd_CountByOpportunities());
    EXPECT_EQ("Acc_DetailClass.cpp 645: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_GetByOpportunities(0));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    Exec("DROP TABLE contacts");
    EXPECT_EQ(-1, con.ccd_CountByImportant());
    EXPECT_EQ("Acc_DetailClass.cpp 645: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
