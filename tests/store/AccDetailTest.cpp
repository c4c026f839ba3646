#include <cstring>
#include <set>
#include <string>

#include "store/Acc_DetailClass.h"
#include "tests/store/StoreTestUtil.h"

using namespace storetest;

namespace {

class AccTest : public DataTest {
protected:
    ULONG Add(const std::string& strName, const std::string& strDescription = "", const char* pszImportant = "高",
              ULONG ulOpp = 0, ULONG ulTas = 0) {
        Acc_DetailClass acc;
        EXPECT_EQ(0, acc.cad_AllocHead());
        Fill(acc, strName, strDescription, pszImportant);
        acc.m_ulOppID = ulOpp;
        acc.m_ulTasID = ulTas;
        EXPECT_EQ(0, acc.cad_AddAccount());
        EXPECT_EQ(0, acc.cad_GetLastAccountID());
        return acc.m_ulAccID;
    }
    static void Fill(Acc_DetailClass& acc, const std::string& strName, const std::string& strDescription,
                     const char* pszImportant) {
        AccNode* p = acc.m_pCurrent;
        snprintf(p->acc_name, sizeof p->acc_name, "%s", strName.c_str());
        ASSERT_EQ(0, acc.cad_AllocNodeDescription((unsigned)strDescription.size()));
        memcpy(p->acc_description, strDescription.c_str(), strDescription.size() + 1);
        snprintf(p->acc_important, sizeof p->acc_important, "%s", pszImportant);
        strcpy(p->acc_type, "代理商");
        strcpy(p->acc_industry, "金融");
        strcpy(p->acc_relation, "客户");
        strcpy(p->acc_address, "长安街1号");
        strcpy(p->acc_postcode, "100000");
        strcpy(p->acc_province, "北京");
        strcpy(p->acc_telephone, "010-1234");
        strcpy(p->acc_fax, "010-5678");
        strcpy(p->acc_website, "www.example.com");
        p->acc_create_date = {2024, 2, 29};
        p->acc_recent_contact_date = {2024, 3, 1};
        p->acc_private = 1;
    }
    std::set<std::string> Names(Acc_DetailClass& acc, int n) {
        std::set<std::string> s;
        acc.m_pCurrent = acc.m_pAccHead;
        for (int i = 0; i < n; ++i, acc.cad_NextNode()) s.insert(acc.m_pCurrent->acc_name);
        return s;
    }
};

TEST_F(AccTest, AddChangeAndReadBackEveryField) {
    std::string strLong(5000, 'x');
    strLong += "'尾'";
    ULONG id = Add("O'Neil 公司", strLong);
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_GetAccount(id));
    EXPECT_EQ(1, acc.m_bFound);
    const AccNode* p = acc.m_pAccHead;
    EXPECT_EQ(id, p->acc_id);
    EXPECT_STREQ("O'Neil 公司", p->acc_name);
    EXPECT_EQ(strLong, p->acc_description);
    EXPECT_STREQ("代理商", p->acc_type);
    EXPECT_STREQ("100000", p->acc_postcode);
    EXPECT_STREQ("www.example.com", p->acc_website);
    EXPECT_EQ(29, p->acc_create_date.day);
    EXPECT_EQ(3, p->acc_recent_contact_date.month);
    EXPECT_EQ(1, p->acc_private);

    strcpy(acc.m_pCurrent->acc_name, "it''s new");
    ASSERT_EQ(0, acc.cad_ChageAccount(id));
    EXPECT_EQ(U("it''s new"), Value("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(id)));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AccTest, MissingAccountIsFoundEmptyAndItsChangeReportsNoRow) {
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_GetAccount(99));
    EXPECT_EQ(0, acc.m_bFound);
    EXPECT_EQ(99u, acc.m_pAccHead->acc_id);
    EXPECT_STREQ("", acc.m_pAccHead->acc_name);
    Fill(acc, "ghost", "", "高");
    EXPECT_EQ(-100, acc.cad_ChageAccount(99));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts"));
    // A list still held: the single read refuses with its message.
    EXPECT_EQ(-1, acc.cad_GetAccount(99));
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 158: cod_AllocHead Error."}, Boxes());
}

TEST_F(AccTest, AddWithBothLinksAndLinkTwiceWritesEachRowOnce) {
    ULONG id = Add("linked", "", "高", 5, 6);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=5 AND acc_id=" + std::to_string(id)));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_tasks WHERE tas_id=6 AND acc_id=" + std::to_string(id)));
    Acc_DetailClass acc;
    acc.m_ulAccID = id;
    acc.m_ulOppID = 5;
    acc.m_ulTasID = 6;
    ASSERT_EQ(0, acc.cad_LinkAccount());
    acc.m_ulOppID = 7;
    ASSERT_EQ(0, acc.cad_LinkAccount());
    ASSERT_EQ(0, acc.cad_LinkAccount());
    EXPECT_EQ(2, Number("SELECT COUNT(*) FROM opportunities_accounts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_tasks"));
}

TEST_F(AccTest, UnlinkRemovesThatOpportunityOnlyWithItsContactRowsOfThisAccount) {
    Exec("INSERT INTO opportunities_accounts VALUES(5, 1), (6, 1), (5, 2)");
    Exec("INSERT INTO opportunities_contacts VALUES(5, 10, 1), (5, 11, 2), (6, 12, 1)");
    Exec("INSERT INTO accounts_tasks VALUES(1, 20), (1, 21)");
    Acc_DetailClass acc;
    acc.m_ulAccID = 1;
    acc.m_ulOppID = 5;
    acc.m_ulTasID = 20;
    ASSERT_EQ(0, acc.cad_UnlinkAccount());
    EXPECT_EQ(2, Number("SELECT COUNT(*) FROM opportunities_accounts"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=5 AND acc_id=1"));
    EXPECT_EQ(2, Number("SELECT COUNT(*) FROM opportunities_contacts"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities_contacts WHERE con_id=10"));
    EXPECT_EQ("21", Value("SELECT tas_id FROM accounts_tasks"));
}

TEST_F(AccTest, DeleteKeepsContactsAndZeroesTheirOpportunityLinks) {
    ULONG id = Add("to delete", "", "高", 5, 6);
    Exec("INSERT INTO contacts(con_name) VALUES('c')");
    Exec("INSERT INTO accounts_contacts VALUES(" + std::to_string(id) + ", 1)");
    Exec("INSERT INTO opportunities_contacts VALUES(5, 1, " + std::to_string(id) + ")");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_DeleteAccount(id));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM contacts"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities_accounts"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts_contacts"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts_tasks"));
    EXPECT_EQ("0", Value("SELECT acc_id FROM opportunities_contacts WHERE opp_id=5 AND con_id=1"));
}

TEST_F(AccTest, DeleteThatFailsPartWayLeavesNoLinkToAMissingAccount) {
    ULONG id = Add("half", "", "高", 5, 6);
    Exec("CREATE TRIGGER keep_task_links BEFORE DELETE ON accounts_tasks BEGIN SELECT RAISE(ABORT, 'locked'); END");
    Acc_DetailClass acc;
    EXPECT_EQ(-1, acc.cad_DeleteAccount(id));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts_tasks WHERE acc_id NOT IN (SELECT acc_id FROM accounts)"));
    EXPECT_EQ(0,
              Number("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id NOT IN (SELECT acc_id FROM accounts)"));
}

TEST_F(AccTest, KeywordSearchWithQuoteThenResortKeepsTheSameAccounts) {
    Add("Bob's shop");
    Add("Ann's shop", "");
    Add("Carl", "bought at Bob's");
    Add("Dora");
    Acc_DetailClass acc;
    strcpy(acc.m_szKeyword, "'s");
    acc.m_iQueryMode = 1;
    ASSERT_EQ(3, acc.cad_GetAllAccounts());
    std::set<std::string> found = Names(acc, 3);
    for (int bDesc : {1, 0}) {
        acc.m_iQueryMode = 2;
        acc.m_iSortColumn = 0;
        acc.m_bDesc = bDesc;
        ASSERT_EQ(3, acc.cad_GetAllAccounts());
        EXPECT_EQ(found, Names(acc, 3));
        EXPECT_STREQ(bDesc ? "Carl" : "Ann's shop", acc.m_pAccHead->acc_name);
    }
    acc.m_iQueryMode = 0;
    ASSERT_EQ(4, acc.cad_GetAllAccounts());
    EXPECT_EQ(0, acc.m_bSearch);
    acc.m_iQueryMode = 2;
    acc.m_iSortColumn = 8;
    EXPECT_EQ(-1, acc.cad_GetAllAccounts());
    EXPECT_EQ(-1, acc.cad_GetByOpportunities(0));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AccTest, CategoriesTableFirstThenValuesInUse) {
    Exec("DELETE FROM important");
    Exec("INSERT INTO important VALUES('high'), ('low')");
    Add("a", "", "low");
    Add("b", "", "medium");
    Add("c", "", "");
    Acc_DetailClass acc;
    EXPECT_EQ(3, acc.cad_GetImportantCategories());
    EXPECT_STREQ("high", acc.m_szImportant[0]);
    EXPECT_STREQ("low", acc.m_szImportant[1]);
    EXPECT_STREQ("medium", acc.m_szImportant[2]);
    ASSERT_EQ(0, acc.cad_CountByImportant());
    EXPECT_EQ(0, acc.m_iCount[0]);
    EXPECT_EQ(1, acc.m_iCount[1]);
    EXPECT_EQ(1, acc.m_iCount[2]);
    EXPECT_EQ(6, acc.cad_LoadTypeTable());
    EXPECT_EQ(16, acc.cad_LoadIndustryTable());
    EXPECT_EQ(34, acc.cad_LoadProvinceTable());
    EXPECT_EQ(6, acc.cad_LoadRelationTable());
}

TEST_F(AccTest, EachCategoryKindListsItsLookupTableThenTheValuesAccountsCarry) {
    Acc_DetailClass acc;
    // Without accounts: 0, the lookup names stay.
    EXPECT_EQ(0, acc.cad_GetTypeCategories());
    EXPECT_EQ(6, acc.m_nType);
    EXPECT_EQ(0, acc.cad_GetRelationCategories());
    EXPECT_EQ(6, acc.m_nRelation);
    EXPECT_EQ(0, acc.cad_GetIndustryCategories());
    EXPECT_EQ(16, acc.m_nIndustry);
    EXPECT_EQ(0, acc.cad_GetProvinceCategories());
    EXPECT_EQ(34, acc.m_nProvince);
    // Values in use: a listed one and an empty one add nothing; new ones
    // follow the table's names, once each, in the accounts' order.
    Exec(
        "INSERT INTO accounts(acc_name, acc_type, acc_relation, acc_industry, acc_province) VALUES"
        "('a', 'T1', 'R1', 'I1', 'P1'), ('b', '', 'R1', " +
        Q("金融") + ", 'P2'), ('c', 'T2', 'R2', 'I1', " + Q("北京") + ")");
    EXPECT_EQ(8, acc.cad_GetTypeCategories());
    EXPECT_STREQ("T1", acc.m_szType[6]);
    EXPECT_STREQ("T2", acc.m_szType[7]);
    EXPECT_EQ(8, acc.cad_GetRelationCategories());
    EXPECT_STREQ("R1", acc.m_szRelation[6]);
    EXPECT_STREQ("R2", acc.m_szRelation[7]);
    EXPECT_EQ(17, acc.cad_GetIndustryCategories());
    EXPECT_STREQ("I1", acc.m_szIndustry[16]);
    EXPECT_EQ(36, acc.cad_GetProvinceCategories());
    EXPECT_STREQ("P1", acc.m_szProvince[34]);
    EXPECT_STREQ("P2", acc.m_szProvince[35]);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AccTest, CategoryNameWithQuoteIsListedAndCounted) {
    Add("q1", "", "it's");
    Add("q2", "", "it's");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_CountByImportant());
    ASSERT_EQ(4, acc.m_nImportant);
    EXPECT_EQ(2, acc.m_iCount[3]);
    EXPECT_EQ(2, acc.cad_GetByImportant("it's"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(AccTest, MoreCategoriesThanTheArraysHoldStopAtCapacity) {
    // 34 shipped regions plus 80 in use; 12 importance values in use.
    for (int i = 0; i < 80; ++i)
        Exec("INSERT INTO accounts(acc_name, acc_province, acc_important) VALUES('a" + std::to_string(i) + "', 'r" +
             std::to_string(i) + "', 'i" + std::to_string(i % 12) + "')");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_CountByImportant());
    EXPECT_EQ(Acc_DetailClass::MAX_IMPORTANT, acc.m_nImportant);
    EXPECT_EQ(1u, Boxes().size());  // one notice for the object
    ASSERT_EQ(0, acc.cad_CountByProvince());
    EXPECT_EQ(Acc_DetailClass::MAX_PROVINCE, acc.m_nProvince);
    EXPECT_EQ(1u, Boxes().size());
    // Counts beyond the 40th region land in their own entries.
    for (int i = 34; i < 100; ++i) {
        EXPECT_EQ("r" + std::to_string(i - 34), std::string(acc.m_szProvince[i]));
        EXPECT_EQ(1, acc.m_iCount[i]) << i;
    }
    // The arrays beside them are intact.
    EXPECT_STREQ("i0", acc.m_szImportant[3]);
    EXPECT_EQ(0, acc.m_nIndustry);
    EXPECT_STREQ("", acc.m_szIndustry[0]);
}

TEST_F(AccTest, WithAndWithoutOpportunities) {
    ULONG a = Add("Zed", "", "高");
    ULONG b = Add("Amy", "", "高");
    Add("Lone", "", "高");
    Exec("INSERT INTO opportunities(opp_id, opp_subject) VALUES(1, 'o1'), (2, 'o2'), (3, 'o3'), (4, 'o4')");
    for (int opp : {1, 2, 3})
        Exec("INSERT INTO opportunities_accounts VALUES(" + std::to_string(opp) + ", " + std::to_string(a) + ")");
    Exec("INSERT INTO opportunities_accounts VALUES(4, " + std::to_string(b) + ")");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_CountByOpportunities());
    EXPECT_EQ(2, acc.m_iCount[0]);
    EXPECT_EQ(1, acc.m_iCount[1]);
    ASSERT_EQ(2, acc.cad_GetByOpportunities(0));
    EXPECT_STREQ(acc.m_pAccHead->acc_name, acc.m_pAccHead->acc_description);
    acc.m_iQueryMode = 2;
    acc.m_iSortColumn = 0;
    acc.m_bDesc = 1;
    ASSERT_EQ(2, acc.cad_GetByOpportunities(0));
    EXPECT_EQ(0, acc.m_iQueryMode);  // a re-sort is served once
    EXPECT_STREQ("Zed", acc.m_pAccHead->acc_name);
    ASSERT_EQ(1, acc.cad_GetByOpportunities(1));
    EXPECT_STREQ("Lone", acc.m_pAccHead->acc_name);
    char sz[20];
    EXPECT_EQ(0, acc.cad_GetOpportunitiesCategoryName(1, sz));
    EXPECT_STREQ("不存在销售机会", sz);
    EXPECT_EQ(-1, acc.cad_GetOpportunitiesCategoryName(2, sz));
}

TEST_F(AccTest, LinkedListingsAndDates) {
    Exec("INSERT INTO opportunities(opp_id, opp_subject) VALUES(9, 'o9')");
    ULONG a = Add("first", "", "高", 9, 8);
    Add("second", "", "高", 0, 8);
    Acc_DetailClass acc;
    ASSERT_EQ(1, acc.cad_GetByOpportunity(9));
    EXPECT_EQ(a, acc.m_pAccHead->acc_id);
    EXPECT_EQ(2, acc.cad_GetByTask(8));
    EXPECT_EQ(2, acc.cad_GetAdd(Day(2024, 2, 29), Day(2024, 2, 29)));
    EXPECT_EQ(0, acc.cad_GetAdd(Day(2024, 3, 1), Day(2025, 1, 1)));
    EXPECT_EQ(2, acc.cad_NoTrack(Day(2024, 3, 1)));
    EXPECT_EQ(0, acc.cad_NoTrack(Day(2024, 2, 29)));
    EXPECT_EQ(2, acc.cad_GetTrack(Day(2024, 3, 1), Day(2024, 12, 31)));
}

TEST_F(AccTest, FailingFetchEndsACountingLoop) {
    Add("one", "", "高", 1);
    Add("two", "", "高", 2);
    Exec("DROP VIEW rel_opportunities_accounts");
    Exec(
        "CREATE VIEW rel_opportunities_accounts AS SELECT a.*, CASE WHEN a.acc_id = 2 THEN abs(-9223372036854775807 - "
        "1) "
        "ELSE l.opp_id END AS opp_id FROM accounts a LEFT JOIN opportunities_accounts l ON l.acc_id = a.acc_id");
    Acc_DetailClass acc;
    EXPECT_EQ(-1, acc.cad_CountByOpportunities());
    EXPECT_EQ(1, acc.m_iCount[0]);  // the real row before the failure, not the failed fetch
    EXPECT_EQ("Acc_DetailClass.cpp 645: co_ExecSQL Error.", Boxes().back());
}

// Each failing step reports its own text and stops there.
TEST_F(AccTest, FailuresShowTheirMessages) {
    ULONG a = Add("kept");
    Exec("DROP TABLE accounts_tasks");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_AllocHead());
    Fill(acc, "new", "", "高");
    acc.m_ulTasID = 9;
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_AddAccount());  // its task link fails: the account is not kept either
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts"));

    testsupport::ClearMessageBoxes();
    acc.m_ulAccID = a;
    EXPECT_EQ(-1, acc.cad_LinkAccount());
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());

    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_UnlinkAccount());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());

    Exec("CREATE TRIGGER no_change BEFORE UPDATE ON accounts BEGIN SELECT RAISE(ABORT, 'locked'); END");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_ChageAccount(a));
    EXPECT_EQ("Acc_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    EXPECT_EQ("kept", Value("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(a)));

    Exec("DELETE FROM important");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_LoadImportantTable());
    EXPECT_EQ(0, acc.m_nImportant);
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 163: co_GetNextData Error."}, Boxes());

    acc.cad_FreeList();
    Exec("DROP TRIGGER no_change");
    Exec("DROP TABLE accounts");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_GetAccount(a));
    EXPECT_EQ("Opp_DetailClass.cpp 153: co_ExecSQL Error.", Boxes().back());
    EXPECT_EQ(0, acc.m_bFound);
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_GetAllAccounts());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, acc.cad_GetLastAccountID());
    EXPECT_EQ("Acc_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
