#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "store/Con_DetailClass.h"
#include "tests/store/StoreTestUtil.h"

using namespace storetest;

namespace {

class ConTest : public DataTest {
protected:
    ULONG Add(const std::string& strName, const std::string& strDescription = "", ULONG ulAcc = 0, ULONG ulOpp = 0,
              ULONG ulTas = 0, const char* pszTelephone = "1") {
        Con_DetailClass con;
        EXPECT_EQ(0, con.ccd_AllocHead());
        Fill(con, strName, strDescription);
        strcpy(con.m_pCurrent->con_telephone, pszTelephone);
        con.m_ulAccID = ulAcc;
        con.m_ulOppID = ulOpp;
        con.m_ulTasID = ulTas;
        EXPECT_EQ(0, con.ccd_AddContact());
        EXPECT_EQ(0, con.ccd_GetLastContactID());
        return con.m_ulConID;
    }
    static void Fill(Con_DetailClass& con, const std::string& strName, const std::string& strDescription) {
        ConNode* p = con.m_pCurrent;
        snprintf(p->con_name, sizeof p->con_name, "%s", strName.c_str());
        strcpy(p->con_nickname, "小王");
        ASSERT_EQ(0, con.ccd_AllocNodeDescription((unsigned)strDescription.size()));
        memcpy(p->con_description, strDescription.c_str(), strDescription.size() + 1);
        strcpy(p->con_department_title, "销售部 经理");
        strcpy(p->con_mobile, "139");
        strcpy(p->con_email, "wang@example.com");
        strcpy(p->con_im, "im'1");
        strcpy(p->con_postcode, "100080");
        strcpy(p->con_family, "家");
        strcpy(p->con_important, "高");
        strcpy(p->con_relation, "客户");
        strcpy(p->con_province, "北京");
        p->con_create_date = {2023, 12, 31};
        p->con_recent_contact_date = {2024, 1, 1};
        p->con_private = 0;
    }
    static std::set<std::string> Names(Con_DetailClass& con, int n) {
        std::set<std::string> s;
        con.m_pCurrent = con.m_pConHead;
        for (int i = 0; i < n; ++i, con.ccd_NextNode()) s.insert(con.m_pCurrent->con_name);
        return s;
    }
};

TEST_F(ConTest, AddChangeReadBackWithItsAccount) {
    Exec("INSERT INTO accounts(acc_name, acc_type) VALUES('ACME', " + Q("代理商") + ")");
    std::string strLong(3000, '\'');
    ULONG id = Add("王'五", strLong, 1);
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_GetContact(id));
    EXPECT_EQ(1, con.m_bFound);
    const ConNode* p = con.m_pConHead;
    EXPECT_EQ((int)id, p->con_id);
    EXPECT_STREQ("王'五", p->con_name);
    EXPECT_STREQ("小王", p->con_nickname);
    EXPECT_EQ(strLong, p->con_description);
    EXPECT_STREQ("ACME", p->acc_name);
    EXPECT_STREQ("", p->acc_type);  // never read by the single read
    EXPECT_STREQ("im'1", p->con_im);
    EXPECT_STREQ("100080", p->con_postcode);
    EXPECT_EQ(2023, p->con_create_date.year);
    EXPECT_EQ(1, p->con_recent_contact_date.day);

    con.ccd_FreeList();
    ASSERT_EQ(1, con.ccd_GetAllContacts());
    EXPECT_STREQ("代理商", con.m_pConHead->acc_type);
    strcpy(con.m_pCurrent->con_name, "赵六");
    ASSERT_EQ(0, con.ccd_ChageContact(id));
    EXPECT_EQ(U("赵六"), Value("SELECT con_name FROM contacts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_contacts"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConTest, MissingContactAndAHeldList) {
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_GetContact(5));
    EXPECT_EQ(0, con.m_bFound);
    EXPECT_EQ(5, con.m_pConHead->con_id);
    EXPECT_STREQ("", con.m_pConHead->con_name);
    EXPECT_EQ(nullptr, con.m_pConHead->con_description);
    EXPECT_EQ(-1, con.ccd_GetContact(5));
    EXPECT_EQ(std::vector<std::string>{"Opp_DetailClass.cpp 158: cod_AllocHead Error."}, Boxes());
    Fill(con, "ghost", "");
    con.m_ulAccID = 3;
    EXPECT_EQ(-100, con.ccd_ChageContact(5));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM accounts_contacts"));  // no link for a contact that is gone
}

TEST_F(ConTest, ChangingTheAccountUpdatesOrInsertsItsLink) {
    ULONG id = Add("no account");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_GetContact(id));
    con.m_ulAccID = 7;
    ASSERT_EQ(0, con.ccd_ChageContact(id));
    EXPECT_EQ("7", Value("SELECT acc_id FROM accounts_contacts WHERE con_id=" + std::to_string(id)));
    con.m_ulAccID = 8;
    ASSERT_EQ(0, con.ccd_ChageContact(id));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_contacts"));
    EXPECT_EQ("8", Value("SELECT acc_id FROM accounts_contacts"));
    con.m_ulAccID = 0;  // keeps the link
    ASSERT_EQ(0, con.ccd_ChageContact(id));
    EXPECT_EQ("8", Value("SELECT acc_id FROM accounts_contacts"));
    ASSERT_EQ(0, con.ccd_GetAccountID(id));
    EXPECT_EQ(8u, con.m_ulAccID);
    ASSERT_EQ(0, con.ccd_GetAccountID(999));
    EXPECT_EQ(0u, con.m_ulAccID);
}

TEST_F(ConTest, AddWritesEachLinkAndLinkingTwiceWritesOneRow) {
    ULONG id = Add("linked", "", 2, 3, 4);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts WHERE opp_id=3 AND acc_id=2 AND con_id=" +
                        std::to_string(id)));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_contacts WHERE acc_id=2"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM contacts_tasks WHERE tas_id=4"));

    Con_DetailClass con;
    con.m_ulConID = id;
    con.m_ulOppID = 3;
    con.m_ulAccID = 2;
    con.m_ulTasID = 4;
    ASSERT_EQ(0, con.ccd_LinkContact());
    ASSERT_EQ(0, con.ccd_LinkAccount());
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_contacts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM contacts_tasks"));
    con.m_ulAccID = 9;  // the same opportunity through another account is a row of its own
    ASSERT_EQ(0, con.ccd_LinkContact());
    EXPECT_EQ(2, Number("SELECT COUNT(*) FROM opportunities_contacts"));

    // Unlinking by opportunity removes it under every account and nothing else.
    Exec("INSERT INTO opportunities_contacts VALUES(30, " + std::to_string(id) + ", 2)");
    con.m_ulAccID = 0;
    con.m_ulTasID = 0;
    ASSERT_EQ(0, con.ccd_UnlinkContact());
    EXPECT_EQ("30", Value("SELECT opp_id FROM opportunities_contacts"));
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_contacts"));
}

TEST_F(ConTest, DeleteRemovesTheContactAndItsLinks) {
    ULONG id = Add("gone", "", 2, 3, 4);
    ULONG other = Add("stays", "", 2, 3, 4);
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_DeleteContact(id));
    for (const char* t : {"contacts", "opportunities_contacts", "accounts_contacts", "contacts_tasks"}) {
        EXPECT_EQ(0, Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE con_id=" + std::to_string(id))) << t;
        EXPECT_EQ(1, Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE con_id=" + std::to_string(other))) << t;
    }
    EXPECT_EQ(0, con.ccd_DeleteContact(12345));  // nothing to delete is no failure
}

TEST_F(ConTest, DeleteThatFailsPartWayLeavesNoLinkToAMissingContact) {
    ULONG id = Add("half", "", 2, 3, 4);
    Exec("CREATE TRIGGER keep_task_links BEFORE DELETE ON contacts_tasks BEGIN SELECT RAISE(ABORT, 'locked'); END");
    Con_DetailClass con;
    EXPECT_EQ(-1, con.ccd_DeleteContact(id));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    for (const char* t : {"opportunities_contacts", "accounts_contacts", "contacts_tasks"})
        EXPECT_EQ(
            0, Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE con_id NOT IN (SELECT con_id FROM contacts)"))
            << t;
}

TEST_F(ConTest, AllContactsSearchAndResort) {
    Exec("INSERT INTO accounts(acc_name) VALUES('Bob''s firm')");
    Add("Ann", "", 1, 0, 0, "3");
    Add("Carl", "knows bob's", 0, 0, 0, "1");
    Add("Dan", "", 0, 0, 0, "2");
    Con_DetailClass con;
    ASSERT_EQ(3, con.ccd_GetAllContacts());
    EXPECT_STREQ("Dan", con.m_pConHead->con_name);  // name descending
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 3;  // telephone
    con.m_bDesc = 1;
    ASSERT_EQ(3, con.ccd_GetAllContacts());
    EXPECT_STREQ("Ann", con.m_pConHead->con_name);

    strcpy(con.m_szKeyword, "bob's");
    con.m_iQueryMode = 1;
    ASSERT_EQ(2, con.ccd_GetAllContacts());  // by account name and by description
    EXPECT_EQ((std::set<std::string>{"Ann", "Carl"}), Names(con, 2));
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 1;
    con.m_bDesc = 0;
    ASSERT_EQ(2, con.ccd_GetAllContacts());
    EXPECT_EQ((std::set<std::string>{"Ann", "Carl"}), Names(con, 2));
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 11;
    EXPECT_EQ(-1, con.ccd_GetAllContacts());
    EXPECT_EQ(3, con.ccd_GetAllContactsByName());
}

// Names in pinyin order whatever the GBK level of their characters (GB2312
// level 1, level 2, outside GB2312), Latin names first without regard to
// case, accent or width: full-width and tone letters, as an input method
// types them, beside their plain forms; both directions, the plain list and
// the re-sort.
TEST_F(ConTest, NamesListInPinyinOrderLatinFirst) {
    const std::vector<std::string> ascending = {"1号",        "１号楼", "ālan", "alice", "Ａlpha", "Bob", "carl", "IBM",
                                                "ＩＢＭ中国", "lu",     "Lǚbu", "Luo",   "阿",     "岑",  "陈",   "褚",
                                                "冯",         "邝",     "堃",   "镕",    "喆",     "朱"};
    for (const char* n : {"喆",   "Lǚbu", "Bob", "褚", "ＩＢＭ中国", "阿",  "１号楼", "镕", "carl", "Luo",    "朱",
                          "ālan", "邝",   "IBM", "岑", "alice",      "1号", "堃",     "lu", "陈",   "Ａlpha", "冯"})
        Add(n);
    auto listed = [](Con_DetailClass& con, int n) {
        std::vector<std::string> v;
        con.m_pCurrent = con.m_pConHead;
        for (int i = 0; i < n; ++i, con.ccd_NextNode()) v.push_back(con.m_pCurrent->con_name);
        return v;
    };
    const int count = int(ascending.size());
    const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    Con_DetailClass con;
    ASSERT_EQ(count, con.ccd_GetAllContacts());
    EXPECT_EQ(descending, listed(con, count));
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 0;  // name
    ASSERT_EQ(count, con.ccd_GetAllContacts());
    EXPECT_EQ(ascending, listed(con, count));
    con.m_iQueryMode = 2;
    con.m_bDesc = 1;
    ASSERT_EQ(count, con.ccd_GetAllContacts());
    EXPECT_EQ(descending, listed(con, count));
}

TEST_F(ConTest, ContactsOfAnAccount) {
    Exec("INSERT INTO accounts(acc_name) VALUES('A'), ('B')");
    Add("with", "it's here", 1);
    Add("without");
    Add("other", "", 2);
    Con_DetailClass con;
    EXPECT_EQ(0, con.ccd_GetByAccount(0));  // never the contacts without account
    EXPECT_EQ(1, con.ccd_GetByAccount(1));
    strcpy(con.m_szKeyword, "it's");
    con.m_iQueryMode = 1;
    EXPECT_EQ(1, con.ccd_GetByAccount(1));
    EXPECT_EQ(1, con.m_bSearch);
    con.m_iQueryMode = 1;
    EXPECT_EQ(0, con.ccd_GetByAccount(2));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConTest, LinkedContactsAndDates) {
    Exec("INSERT INTO accounts(acc_name) VALUES('A'), ('B')");
    Exec("INSERT INTO opportunities(opp_id, opp_subject) VALUES(5, 'o5')");
    ULONG a = Add("a", "", 1, 5, 6);
    Add("b", "", 2, 5, 6);
    Con_DetailClass con;
    EXPECT_EQ(2, con.ccd_GetByOpportunity(5));
    ASSERT_EQ(1, con.ccd_GetByOpportunityAccount(5, 1));
    EXPECT_EQ((int)a, con.m_pConHead->con_id);
    EXPECT_STREQ("A", con.m_pConHead->acc_name);
    ASSERT_EQ(2, con.ccd_GetByTask(6));
    EXPECT_STREQ("b", con.m_pConHead->con_name);
    EXPECT_EQ(1, con.ccd_GetByTaskAccount(6, 2));
    EXPECT_EQ(2, con.ccd_GetAdd(Day(2023, 12, 31), Day(2023, 12, 31)));
    EXPECT_EQ(2, con.ccd_GetTrack(Day(2023, 12, 31), Day(2024, 1, 1)));
    EXPECT_EQ(0, con.ccd_NoTrack(Day(2023, 12, 31)));
    EXPECT_EQ(2, con.ccd_NoTrack(Day(2024, 1, 1)));
    con.m_iQueryMode = 2;
    con.m_iSortColumn = 0;
    con.m_bDesc = 0;
    ASSERT_EQ(2, con.ccd_NoTrack(Day(2024, 1, 1)));
    EXPECT_STREQ("a", con.m_pConHead->con_name);
}

// A name longer than its field is cut before a whole character, never
// inside one, so that saving it again stores valid text.
TEST_F(ConTest, LongGbkNameIsCutOnACharacterBoundary) {
    Exec("INSERT INTO contacts(con_name, con_nickname) VALUES(" + Q("诸葛孔明先生的全名很长") + ", " +
         Q("a诸葛孔明先生的昵称") + ")");
    Con_DetailClass con;
    ASSERT_EQ(1, con.ccd_GetAllContacts());
    EXPECT_STREQ("诸葛孔明先生的全名", con.m_pConHead->con_name);       // 18 of 19 bytes
    EXPECT_STREQ("a诸葛孔明先生的昵称", con.m_pConHead->con_nickname);  // 19 bytes
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConTest, FailuresShowTheirMessages) {
    ULONG c = Add("kept");
    Exec("DROP TABLE contacts_tasks");
    Con_DetailClass con;
    ASSERT_EQ(0, con.ccd_AllocHead());
    Fill(con, "new", "");
    con.m_ulTasID = 9;
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_AddContact());  // its task link fails: the contact is not kept either
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM contacts"));

    testsupport::ClearMessageBoxes();
    con.m_ulConID = c;
    EXPECT_EQ(-1, con.ccd_LinkContact());
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_UnlinkContact());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());

    Exec("DROP TABLE accounts_contacts");
    con.m_ulTasID = 0;
    con.m_ulAccID = 3;
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_LinkAccount());
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_GetAccountID(c));
    EXPECT_EQ("Opp_DetailClass.cpp 153: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_ChageContact(c));  // the contact is written, its account link cannot be
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());

    Exec("DROP VIEW que_contacts_accounts");
    con.ccd_FreeList();
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_GetContact(c));
    EXPECT_EQ("Opp_DetailClass.cpp 153: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_GetAllContacts());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    Exec("DROP TABLE contacts");
    EXPECT_EQ(-1, con.ccd_GetLastContactID());
    EXPECT_EQ("Acc_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, con.ccd_DeleteContact(c));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
