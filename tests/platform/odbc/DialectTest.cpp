// The Access (Jet) statement forms the program writes, run against the
// shipped schema with known rows.
#include <cstring>

#include "OdbcTestUtil.h"

using namespace odbctest;

namespace {

typedef std::vector<std::vector<std::string>> Table;

std::vector<std::string> Column(const Table& t, size_t c = 0) {
    std::vector<std::string> v;
    for (const auto& row : t) v.push_back(row.at(c));
    return v;
}

class DialectTest : public OdbcTest {
protected:
    void Run(const std::string& sql) { ASSERT_EQ(SQL_SUCCESS, Exec(sql)) << sql << "\n" << Diag(); }

    void AddOpportunity(const char* subject, const char* desc, const char* created, const char* die, double estimate,
                        const char* important, const char* phase) {
        char sql[2048];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO opportunities(opp_subject,\t\topp_description,opp_create_date,opp_die_date,"
                      "opp_estimate_sale,opp_sale,\t\topp_important,opp_phase,opp_recent_contact_date,\t\topp_private,"
                      "opp_succeed_probability) \t\tVALUES('%s','%s',#%s#,#%s#,%f,%f,'%s','%s',#%s#,%d,%d)",
                      subject, desc, created, die, estimate, 0.0, important, phase, created, 0, 50);
        Run(sql);
    }
    void AddAccount(const char* name, const char* important, const char* created) {
        char sql[2048];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO accounts(acc_name,acc_description,\t\tacc_important,acc_type,acc_industry,"
                      "acc_relation,acc_address,acc_postcode,\t\tacc_province,acc_telephone,acc_fax,acc_website,"
                      "acc_create_date,\t\tacc_recent_contact_date,acc_private) \t\tVALUES('%s','%s','%s','%s','%s',"
                      "'%s','%s','%s','%s','%s','%s','%s',#%s#,#%s#,%d)",
                      name, "", important, "代理商", "软件", "客户", "", "", "北京", "", "", "", created, created, 0);
        Run(sql);
    }
    void AddContact(const char* name, const char* desc, const char* important) {
        char sql[2048];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO contacts(con_name,con_nickname,\t\tcon_description,con_department_title,"
                      "con_telephone,con_mobile,\t\tcon_email,con_im,con_postcode,con_family,con_important,"
                      "con_relation,con_create_date,con_recent_contact_date,\t\tcon_private,con_province) \t\t"
                      "VALUES('%s','%s','%s','%s','%s','%s',\t\t'%s','%s','%s','%s','%s','%s',#%s#,#%s#,%d,'%s')",
                      name, "", desc, "", "", "", "", "", "", "", important, "", "2024-3-1", "2024-3-2", 0, "");
        Run(sql);
    }
    void AddTask(const char* subject, const char* date, const char* time, int closed) {
        char sql[2048];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO tasks(tas_subject,tas_date,\t\ttas_time,tas_outlay,tas_remind,tas_closed,"
                      "tas_description,tas_private ) \t\tVALUES('%s',#%s#,#%s#,%f,%d,%d,'%s',%d)",
                      subject, date, time, 12.5, 0, closed, "", 0);
        Run(sql);
    }
};

// ---------------------------------------------------------------------------
// Dates and times
// ---------------------------------------------------------------------------

TEST_F(DialectTest, DateLiteralsSelectRangesAcrossMonthAndYearEnds) {
    AddOpportunity("d-0104", "", "2024-1-1", "2024-1-4", 1, "高", "初步接触");
    AddOpportunity("d-0105", "", "2024-1-1", "2024-1-5", 1, "高", "初步接触");
    AddOpportunity("d-0930", "", "2024-1-1", "2024-9-30", 1, "高", "初步接触");
    AddOpportunity("d-1002", "", "2024-1-1", "2024-10-2", 1, "高", "初步接触");
    AddOpportunity("d-1231", "", "2024-1-1", "2024-12-31", 1, "高", "初步接触");
    AddOpportunity("d-2501", "", "2024-1-1", "2025-1-1", 1, "高", "初步接触");
    Table t = Rows("SELECT * FROM opportunities WHERE \t\t\t(opp_die_date>=#2024-1-5# AND opp_die_date<=#2024-12-31#)");
    EXPECT_EQ((std::vector<std::string>{"d-0105", "d-0930", "d-1002", "d-1231"}), Column(t, 1));
    t = Rows(
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_die_date>=#2024-9-1# AND opp_die_date<=#2025-1-1#) "
        "ORDER BY opp_die_date DESC");
    EXPECT_EQ((std::vector<std::string>{"d-2501", "d-1231", "d-1002", "d-0930"}), Column(t, 1));
    // Month list: the 1st to the last day.
    t = Rows("SELECT * FROM opportunities WHERE \t\t\topp_recent_contact_date<=#2024-1-1#");
    EXPECT_EQ(6u, t.size());
}

TEST_F(DialectTest, TimeLiteralsAndMultiKeyDescendingOrder) {
    AddTask("a", "2024-1-5", "9:5:0", 0);
    AddTask("b", "2024-1-5", "14:30:0", 0);
    AddTask("c", "2024-1-5", "10:0:0", 1);
    AddTask("d", "2023-12-31", "23:59:59", 0);
    AddTask("e", "2024-1-6", "0:0:0", 1);
    Table t = Rows("SELECT * FROM tasks WHERE tas_date=#2024-1-5# \t\tORDER BY tas_time DESC");
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a"}), Column(t, 1));
    EXPECT_EQ((std::vector<std::string>{"14:30:00", "10:00:00", "09:05:00"}), Column(t, 3));
    t = Rows("SELECT * FROM tasks \t\t\tORDER BY tas_date DESC,tas_time DESC");
    EXPECT_EQ((std::vector<std::string>{"e", "b", "c", "a", "d"}), Column(t, 1));
    t = Rows("SELECT * FROM tasks WHERE tas_closed=1 ORDER BY tas_date DESC,tas_time DESC");
    EXPECT_EQ((std::vector<std::string>{"e", "c"}), Column(t, 1));
    t = Rows("SELECT * FROM tasks \t\tWHERE tas_date>=#2024-1-1# AND \t\ttas_date<=#2024-1-31#");
    EXPECT_EQ(4u, t.size());
    t = Rows("SELECT * FROM tasks \t\tWHERE tas_date>=#2023-12-1# AND \t\ttas_date<=#2023-12-31#");
    EXPECT_EQ((std::vector<std::string>{"d"}), Column(t, 1));
}

TEST_F(DialectTest, DateAddWithNegativeOffsetsOnTextDates) {
    AddTask("dec28", "2023-12-28", "8:0:0", 0);
    AddTask("dec31", "2023-12-31", "8:30:0", 0);
    AddTask("jan1", "2024-1-1", "9:0:0", 0);
    AddTask("jan7", "2024-1-7", "10:0:0", 0);
    AddTask("jan8", "2024-1-8", "11:0:0", 0);
    Table t = Rows(
        "SELECT * FROM tasks \t\tWHERE tas_date>=DATEADD('d',-6,'2024-1-7') AND \t\t"
        "tas_date<=DATEADD('d',0,'2024-1-7') ORDER BY tas_time DESC");
    EXPECT_EQ((std::vector<std::string>{"jan7", "jan1"}), Column(t, 1));
    // A week that starts in the old year.
    t = Rows(
        "SELECT * FROM tasks \t\tWHERE tas_date>=DATEADD('d',-6,'2024-1-3') AND \t\t"
        "tas_date<=DATEADD('d',0,'2024-1-3') ORDER BY tas_time DESC");
    EXPECT_EQ((std::vector<std::string>{"jan1", "dec31", "dec28"}), Column(t, 1));
    EXPECT_EQ("2024-02-29", Value("SELECT DATEADD('d',1,'2024-2-28')"));
    EXPECT_EQ("2024-02-29", Value("SELECT DATEADD('m',1,'2024-1-31')"));
    EXPECT_EQ("2023-02-28", Value("SELECT DATEADD('yyyy',-1,'2024-2-29')"));
    EXPECT_EQ(SQL_ERROR, Exec("SELECT DATEADD('d',1,'not a date')"));
}

TEST_F(DialectTest, MinOverDatesStillReadsAsADate) {
    AddAccount("甲", "高", "2024-5-6");
    AddAccount("乙", "高", "2023-11-2");
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT MIN(acc_create_date) AS 14 FROM accounts"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    DATE_STRUCT d{};
    SQLLEN ind = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 1, SQL_C_TYPE_DATE, &d, 0, &ind));
    EXPECT_EQ(2023, d.year);
    EXPECT_EQ(11, d.month);
    EXPECT_EQ(2, d.day);
}

// ---------------------------------------------------------------------------
// Statement forms
// ---------------------------------------------------------------------------

TEST_F(DialectTest, DeleteStarAndParenthesisedConditions) {
    Run("INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(3,4)");
    Run("INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(3,5)");
    Run("DELETE * FROM opportunities_accounts \t\t\tWHERE (opp_id=3 AND acc_id=4)");
    EXPECT_EQ("5", Value("SELECT acc_id FROM opportunities_accounts"));
    EXPECT_EQ(SQL_NO_DATA, Exec("DELETE * FROM opportunities_accounts \t\t\tWHERE (acc_id=4 AND opp_id=3)"));
}

TEST_F(DialectTest, LikeIsCaseInsensitiveOnTextAndMemo) {
    AddOpportunity("Server ABC upgrade", "", "2024-1-1", "2024-1-1", 1, "高", "初步接触");
    AddOpportunity("其他", "needs abc licences", "2024-1-1", "2024-1-1", 1, "高", "初步接触");
    AddOpportunity("网络改造", "光纤", "2024-1-1", "2024-1-1", 1, "高", "初步接触");
    Table t = Rows("SELECT * FROM opportunities \t\t\tWHERE opp_subject LIKE '%aBc%' OR opp_description LIKE '%aBc%'");
    EXPECT_EQ((std::vector<std::string>{"Server ABC upgrade", "其他"}), Column(t, 1));
    t = Rows("SELECT * FROM opportunities \t\t\tWHERE opp_subject LIKE '%改造%' OR opp_description LIKE '%改造%'");
    EXPECT_EQ((std::vector<std::string>{"网络改造"}), Column(t, 1));
    t = Rows("SELECT * FROM opportunities \t\t\tWHERE opp_subject LIKE '%纤%' OR opp_description LIKE '%纤%'");
    EXPECT_EQ((std::vector<std::string>{"网络改造"}), Column(t, 1));
}

TEST_F(DialectTest, DoubledQuotesAreOneQuote) {
    AddAccount("O''Brien Ltd", "高", "2024-1-1");
    Table t =
        Rows("SELECT * FROM accounts WHERE \t\t\tacc_name LIKE '%O''Brien%' OR acc_description LIKE '%O''Brien%'");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("O'Brien Ltd", t[0][1]);
}

TEST_F(DialectTest, CountAndSumInOneRowSumOfNoRowsIsNull) {
    AddOpportunity("a", "", "2024-1-1", "2024-1-1", 1000.25, "高", "结束－成功");
    AddOpportunity("b", "", "2024-1-1", "2024-1-1", 234.5, "高", "初步接触");
    AddOpportunity("c", "", "2024-1-1", "2024-1-1", 99, "低", "初步接触");
    ASSERT_EQ(SQL_SUCCESS,
              Exec("SELECT COUNT(*), SUM(opp_estimate_sale) \t\tFROM opportunities WHERE opp_important='高'"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    SQLINTEGER n = 0;
    float sum = 0;
    SQLLEN ind = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 1, SQL_C_SLONG, &n, 0, &ind));
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 2, SQL_C_FLOAT, &sum, 0, &ind));
    EXPECT_EQ(2, n);
    EXPECT_FLOAT_EQ(1234.75f, sum);
    ASSERT_EQ(SQL_SUCCESS,
              Exec("SELECT COUNT(*), SUM(opp_estimate_sale) \t\t\tFROM opportunities WHERE opp_important='中'"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    sum = 7.0f;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 1, SQL_C_SLONG, &n, 0, &ind));
    EXPECT_EQ(0, n);
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 2, SQL_C_FLOAT, &sum, 0, &ind));
    EXPECT_EQ(SQL_NULL_DATA, ind);
    EXPECT_EQ(7.0f, sum);
    // A full-width dash in a GBK literal.
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM opportunities WHERE \t\t\t(opp_die_date>=#2024-1-1# \t\t\t"
                         "AND opp_die_date<=#2024-1-1# AND opp_phase='结束－成功')"));
}

TEST_F(DialectTest, NotEmptyExcludesEmptyAndNull) {
    AddOpportunity("a", "", "2024-1-1", "2024-1-1", 1, "高", "");
    AddOpportunity("b", "", "2024-1-1", "2024-1-1", 1, "", "初步接触");
    Run("INSERT INTO opportunities(opp_subject) VALUES('c')");
    EXPECT_EQ((std::vector<std::string>{"高"}),
              Column(Rows("SELECT opp_important FROM opportunities \t\tWHERE opp_important<>''")));
    EXPECT_EQ((std::vector<std::string>{"初步接触"}),
              Column(Rows("SELECT opp_phase FROM opportunities \t\tWHERE opp_phase<>''")));
}

TEST_F(DialectTest, TableNamesAndTextComparesIgnoreLatinCase) {
    EXPECT_EQ(Rows("SELECT * FROM important"), Rows("SELECT * FROM Important"));
    EXPECT_EQ(Rows("SELECT * FROM type"), Rows("SELECT * FROM Type"));
    EXPECT_EQ(6u, Rows("SELECT * FROM TYPE").size());
    Run("INSERT INTO type(typ_description) \t\t\tVALUES('VIP')");
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM type WHERE typ_description='vip'"));
    Run("DELETE * FROM type WHERE typ_description='Vip'");
    EXPECT_EQ("6", Value("SELECT COUNT(*) FROM Type"));
    AddAccount("a", "High", "2024-1-1");
    AddAccount("b", "HIGH", "2024-1-1");
    EXPECT_EQ("2", Value("SELECT COUNT(*) \t\tFROM accounts WHERE acc_important='high'"));
}

TEST_F(DialectTest, QuotedTextIntoANumberAndNumberReadAsText) {
    Run("UPDATE phase SET pha_description='方案确认',\t\t\tpha_succeed_probability='50' \t\t\t"
        "WHERE pha_description='方案制定'");
    Run("INSERT INTO phase(pha_description,\t\t\tpha_succeed_probability) VALUES('验收',90)");
    Table t = Rows("SELECT * FROM Phase");
    ASSERT_EQ(8u, t.size());
    EXPECT_EQ((std::vector<std::string>{"方案确认", "50"}), t[2]);
    EXPECT_EQ((std::vector<std::string>{"验收", "90"}), t[7]);
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT pha_succeed_probability FROM phase WHERE pha_description='方案确认'"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    SQLINTEGER p = 0;
    SQLLEN ind = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 1, SQL_C_SLONG, &p, 0, &ind));
    EXPECT_EQ(50, p);
}

TEST_F(DialectTest, FloatLiteralsAndNewestIdFirst) {
    AddOpportunity("a", "", "2024-1-1", "2024-1-1", 1234.5, "高", "初步接触");
    AddOpportunity("b", "", "2024-1-1", "2024-1-1", 0, "高", "初步接触");
    Run("UPDATE opportunities SET opp_subject='a2',\t\topp_description='', opp_create_date=#2024-1-2#,"
        "opp_die_date=#2024-2-3#,\t\topp_estimate_sale=1234.500000,opp_sale=0.000000,opp_important='高',"
        "opp_phase='x',\t\topp_recent_contact_date=#2024-1-2#,\t\topp_private=0,opp_succeed_probability=10 "
        "WHERE opp_id=1");
    EXPECT_EQ("2", Rows("SELECT opp_id FROM opportunities ORDER BY opp_id DESC")[0][0]);
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT opp_estimate_sale, opp_sale FROM opportunities WHERE opp_id=1"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    double est = 0, sale = -1;
    SQLLEN ind = 0;
    SQLGetData(m_hStmt, 1, SQL_C_DOUBLE, &est, 0, &ind);
    SQLGetData(m_hStmt, 2, SQL_C_DOUBLE, &sale, 0, &ind);
    EXPECT_EQ(1234.5, est);
    EXPECT_EQ(0.0, sale);
}

TEST_F(DialectTest, SettingRowReadWithoutWhere) {
    Run("UPDATE setting SET set_loginname='张三',\t\tset_loginpwd='0123456789abcdef0123456789abcdef' WHERE set_id=1");
    Table t = Rows("SELECT set_loginname,set_loginpwd FROM setting");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("张三", t[0][0]);
    Run("UPDATE setting SET set_emailaddress='a@b.c',\t\tset_smtpserver='smtp.b.c', set_user='u',set_pwd='p',\t\t"
        "set_port='25',set_esmtp=1,set_ssl=0,set_sign='签名',set_name='名字',set_againtime=3 WHERE set_id=1");
    t = Rows("SELECT * FROM setting");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("a@b.c", t[0][1]);
    EXPECT_EQ("签名", t[0][8]);
    EXPECT_EQ("名字", t[0][9]);
    EXPECT_EQ("3", t[0][16]);
    EXPECT_EQ("1", Value("SELECT set_init FROM setting WHERE set_id=1").empty() ? "" : "1");
}

// ---------------------------------------------------------------------------
// Saved queries, grouping, numeric aliases, sort order
// ---------------------------------------------------------------------------

class SavedQueryTest : public DialectTest {
protected:
    void SetUp() override {
        DialectTest::SetUp();
        AddAccount("北京科技", "高", "2024-1-1");                                     // 1
        AddAccount("Alpha Co", "中", "2023-6-1");                                     // 2
        AddAccount("无机会公司", "低", "2022-1-1");                                   // 3
        AddContact("张三", "老客户", "高");                                           // 1
        AddContact("李四", "", "中");                                                 // 2
        AddContact("王五", "新客户", "高");                                           // 3
        AddContact("赵六", "", "低");                                                 // 4
        AddContact("阿明", "", "高");                                                 // 5
        AddContact("Bob", "", "");                                                    // 6
        AddContact("alice", "", "");                                                  // 7
        AddOpportunity("项目一", "", "2024-1-1", "2024-6-1", 100, "高", "初步接触");  // 1
        AddOpportunity("项目二", "", "2024-1-1", "2024-6-1", 200, "中", "初步接触");  // 2
        Run("INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(1,1)");
        Run("INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(2,1)");
        Run("INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(2,2)");
        Run("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(1,1)");
        Run("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(2,2)");
        Run("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(1,3)");
        Run("INSERT INTO opportunities_contacts(opp_id,con_id,acc_id) VALUES(1,1,1)");
        Run("INSERT INTO opportunities_contacts(opp_id,con_id,acc_id) VALUES(2,1,1)");
        Run("INSERT INTO opportunities_contacts(opp_id,con_id,acc_id) VALUES(2,2,2)");
    }
};

TEST_F(SavedQueryTest, ChineseNamesSortInPinyinOrderLatinWithoutCase) {
    Table t = Rows("SELECT * FROM que_contacts_accounts ORDER BY con_name DESC");
    EXPECT_EQ((std::vector<std::string>{"赵六", "张三", "王五", "李四", "阿明", "Bob", "alice"}), Column(t, 1));
    t = Rows("SELECT * FROM que_contacts_accounts \t\t\t\t\tORDER BY con_name");
    EXPECT_EQ((std::vector<std::string>{"alice", "Bob", "阿明", "李四", "王五", "张三", "赵六"}), Column(t, 1));
}

TEST_F(SavedQueryTest, ContactsComeOnceWithTheirAccountOrNulls) {
    Table t = Rows("SELECT * FROM que_contacts_accounts WHERE con_id=1");
    ASSERT_EQ(1u, t.size());
    ASSERT_EQ(21u, t[0].size());
    EXPECT_EQ("北京科技", t[0][18]);
    EXPECT_EQ("代理商", t[0][19]);
    t = Rows("SELECT * FROM que_contacts_accounts WHERE con_id=4");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ(kNull, t[0][17]);
    EXPECT_EQ(kNull, t[0][18]);
    EXPECT_EQ(7u, Rows("SELECT * FROM que_contacts_accounts").size());
    t = Rows("SELECT * FROM que_contacts_accounts WHERE acc_id=1 ORDER BY con_name DESC");
    EXPECT_EQ((std::vector<std::string>{"张三", "王五"}), Column(t, 1));
    EXPECT_EQ("3", Value("SELECT COUNT(*) \t\tFROM que_contacts_accounts WHERE acc_industry='软件'"));
    // Saved queries compare text without Latin case as their tables do.
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM que_contacts_accounts WHERE acc_name='ALPHA co'"));
    EXPECT_EQ("2", Value("SELECT COUNT(*) FROM rel_opportunities_contacts WHERE con_name='BOB' OR con_name LIKE 'A%'"));
}

TEST_F(SavedQueryTest, LikeOverANullJoinColumn) {
    Table t = Rows(
        "SELECT * FROM que_contacts_accounts \t\t\tWHERE (con_name LIKE '%六%' OR con_description LIKE "
        "'%六%' OR acc_name LIKE '%六%') ORDER BY con_name DESC");
    EXPECT_EQ((std::vector<std::string>{"赵六"}), Column(t, 1));
    t = Rows(
        "SELECT * FROM que_contacts_accounts \t\t\tWHERE (con_name LIKE '%科技%' OR con_description LIKE "
        "'%科技%' OR acc_name LIKE '%科技%') ORDER BY con_name DESC");
    EXPECT_EQ((std::vector<std::string>{"张三", "王五"}), Column(t, 1));
    t = Rows(
        "SELECT * FROM que_contacts_accounts \t\t\tWHERE (con_name LIKE '%客户%' OR con_description LIKE "
        "'%客户%' OR acc_name LIKE '%客户%') ORDER BY con_name DESC");
    EXPECT_EQ((std::vector<std::string>{"张三", "王五"}), Column(t, 1));
}

TEST_F(SavedQueryTest, AccountsWithAndWithoutOpportunities) {
    EXPECT_EQ((std::vector<std::string>{"1", "2"}),
              Column(Rows("SELECT DISTINCT acc_id \t\tFROM rel_opportunities_accounts WHERE opp_id<>0 ORDER BY 1")));
    EXPECT_EQ((std::vector<std::string>{"3"}),
              Column(Rows("SELECT DISTINCT acc_id \t\tFROM rel_opportunities_accounts WHERE opp_id IS NULL")));
    const std::string select =
        "SELECT MIN(acc_id) AS 1,MIN(acc_name) AS 2,MIN(acc_name) AS 3,\t\t\t\tMIN(acc_important) AS 4,\t\t\t\t"
        "MIN(acc_type) AS 5,MIN(acc_industry) AS 6,\t\t\t\tMIN(acc_relation) AS 7,MIN(acc_address) AS 8,"
        "MIN(acc_postcode) AS 9,\t\t\t\tMIN(acc_province) AS 10,MIN(acc_telephone) AS 11,\t\t\t\tMIN(acc_fax) AS 12,"
        "MIN(acc_website) AS 13,MIN(acc_create_date) AS 14,\t\t\t\tMIN(acc_recent_contact_date) AS 15,\t\t\t\t"
        "MIN(acc_private) AS 16,MIN(opp_id) AS 17";
    Table t = Rows(select + " \t\t\t\tFROM rel_opportunities_accounts WHERE opp_id<>0 GROUP BY acc_id");
    ASSERT_EQ(2u, t.size());
    ASSERT_EQ(17u, t[0].size());
    EXPECT_EQ((std::vector<std::string>{"1", "北京科技", "北京科技", "高"}),
              std::vector<std::string>(t[0].begin(), t[0].begin() + 4));
    EXPECT_EQ("1", t[0][16]);  // smallest opportunity id
    t = Rows(select + " FROM rel_opportunities_accounts \t\t\t\t\t\tWHERE opp_id<>0 GROUP BY acc_id ORDER BY 2 DESC");
    EXPECT_EQ((std::vector<std::string>{"北京科技", "Alpha Co"}), Column(t, 1));
    t = Rows(select + " FROM rel_opportunities_accounts \t\t\t\t\t\tWHERE opp_id<>0 GROUP BY acc_id ORDER BY 14");
    EXPECT_EQ((std::vector<std::string>{"Alpha Co", "北京科技"}), Column(t, 1));
    t = Rows(select + " FROM rel_opportunities_accounts WHERE \t\t\t\topp_id IS NULL GROUP BY acc_id");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("无机会公司", t[0][1]);
    EXPECT_EQ(kNull, t[0][16]);
}

TEST_F(SavedQueryTest, ContactsWithAndWithoutOpportunitiesSortByNumber) {
    const std::string select =
        "SELECT con_id,MIN(con_name) AS 2,MIN(con_nickname) AS 3,\t\t\t\tMIN(con_name) AS 4,\t\t\t\t"
        "MIN(con_department_title) AS 5,MIN(con_telephone) AS 6,\t\t\t\tMIN(con_mobile) AS 7,MIN(con_email) AS 8,"
        "MIN(con_important) AS 9,\t\t\t\tMIN(con_relation) AS 10,MIN(con_create_date) AS 11,\t\t\t\t"
        "MIN(con_recent_contact_date) AS 12,MIN(con_private) AS 13,\t\t\t\tMIN(con_province) AS 14,"
        "MIN(con_family) AS 15,MIN(con_postcode) AS 16,\t\t\t\tMIN(con_im) AS 17,MIN(acc_name) AS 18,\t\t\t\t"
        "MIN(acc_name) AS 19,MIN(acc_name) AS 20 \t\t\t\t";
    Table t =
        Rows(select + "FROM rel_opportunities_contacts WHERE \t\t\t\topp_id IS NULL GROUP BY con_id ORDER BY 2 DESC");
    EXPECT_EQ((std::vector<std::string>{"赵六", "王五", "阿明", "Bob", "alice"}), Column(t, 1));
    ASSERT_EQ(20u, t[0].size());
    EXPECT_EQ("王五", t[1][3]);
    EXPECT_EQ("北京科技", t[1][18]);
    t = Rows(select + "FROM rel_opportunities_contacts WHERE opp_id<>0 GROUP BY con_id");
    EXPECT_EQ((std::vector<std::string>{"张三", "李四"}), Column(t, 1));
    t = Rows(select + "FROM rel_opportunities_contacts \t\t\t\t\tWHERE opp_id<>0 GROUP BY con_id ORDER BY 19");
    EXPECT_EQ((std::vector<std::string>{"李四", "张三"}), Column(t, 1));  // Alpha Co before 北京科技
    t = Rows(select + "FROM rel_opportunities_contacts \t\t\t\t\tWHERE opp_id<>0 GROUP BY con_id ORDER BY 19 DESC");
    EXPECT_EQ((std::vector<std::string>{"张三", "李四"}), Column(t, 1));
    // A date column read from the grouped result.
    ASSERT_EQ(SQL_SUCCESS, Exec(select + "FROM rel_opportunities_contacts WHERE opp_id<>0 GROUP BY con_id"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    DATE_STRUCT d{};
    SQLLEN ind = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetData(m_hStmt, 11, SQL_C_TYPE_DATE, &d, 0, &ind));
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(3, d.month);
    EXPECT_EQ(1, d.day);
    EXPECT_EQ((std::vector<std::string>{"1", "2"}),
              Column(Rows("SELECT DISTINCT con_id \t\tFROM rel_opportunities_contacts WHERE opp_id<>0")));
}

TEST_F(SavedQueryTest, ExplicitColumnListsWithFilterColumns) {
    const std::string cols =
        "SELECT con_id,con_name,con_nickname,con_description,\t\tcon_department_title,con_telephone,con_mobile,"
        "con_email,con_important,con_relation,\t\tcon_create_date,con_recent_contact_date,con_private,con_province,"
        "con_family,\t\tcon_postcode,con_im,opp_id,acc_name,\t\tacc_type FROM rel_opportunities_contacts";
    Table t = Rows(cols + " WHERE (opp_id=2 AND acc_id=2)");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("李四", t[0][1]);
    EXPECT_EQ("2", t[0][17]);
    EXPECT_EQ("Alpha Co", t[0][18]);
    EXPECT_EQ(2u, Rows(cols + " WHERE opp_id=2").size());
    EXPECT_EQ((std::vector<std::string>{"项目一", "项目二"}),
              Column(Rows("SELECT * FROM rel_accounts_opportunities WHERE acc_id=1"), 1));
    EXPECT_EQ(0u, Rows("SELECT * FROM rel_accounts_opportunities WHERE acc_id=-1").size());
    EXPECT_EQ((std::vector<std::string>{"项目一", "项目二"}),
              Column(Rows("SELECT * FROM rel_contacts_opportunities WHERE con_id=1"), 1));
}

TEST_F(SavedQueryTest, TasksOfRecordsThroughSavedQueries) {
    AddTask("拜访", "2024-1-5", "9:0:0", 0);
    AddTask("电话", "2024-1-6", "8:0:0", 0);
    Run("INSERT INTO accounts_tasks(acc_id,tas_id) VALUES(1,1)");
    Run("INSERT INTO accounts_tasks(tas_id,acc_id) VALUES(2,1)");
    Run("INSERT INTO contacts_tasks(con_id,tas_id) VALUES(3,2)");
    Run("INSERT INTO opportunities_tasks(opp_id,tas_id) VALUES(1,1)");
    const std::string cols =
        "SELECT tas_id,tas_subject,tas_date,tas_time,tas_outlay,\t\ttas_description,tas_private,tas_remind,"
        "tas_closed FROM ";
    EXPECT_EQ((std::vector<std::string>{"电话", "拜访"}),
              Column(Rows(cols + "rel_accounts_tasks WHERE acc_id=1 \t\tORDER BY tas_date DESC,tas_time DESC"), 1));
    EXPECT_EQ((std::vector<std::string>{"电话"}),
              Column(Rows(cols + "rel_contacts_tasks WHERE con_id=3 \t\tORDER BY tas_date DESC,tas_time DESC"), 1));
    EXPECT_EQ(
        (std::vector<std::string>{"拜访"}),
        Column(Rows(cols + "rel_opportunities_tasks WHERE opp_id=1 \t\tORDER BY tas_date DESC,tas_time DESC"), 1));
    EXPECT_EQ((std::vector<std::string>{"项目一"}),
              Column(Rows("SELECT * FROM rel_tasks_opportunities WHERE tas_id=1"), 1));
    Table t = Rows(
        "SELECT acc_id,acc_name,acc_description,acc_important,\t\tacc_type,acc_industry,acc_relation,"
        "acc_address,acc_postcode,acc_province,acc_telephone,\t\tacc_fax,acc_website,acc_create_date,"
        "acc_recent_contact_date,acc_private \t\tFROM rel_tasks_accounts WHERE tas_id=2");
    EXPECT_EQ((std::vector<std::string>{"北京科技"}), Column(t, 1));
    t = Rows(
        "SELECT con_id,con_name,con_nickname,con_description,\t\tcon_department_title,con_telephone,con_mobile,"
        "con_email,con_important,con_relation,\t\tcon_create_date,con_recent_contact_date,con_private,"
        "con_province,con_family,\t\tcon_postcode,con_im,tas_id,acc_name,\t\tacc_type FROM rel_tasks_contacts "
        "WHERE (tas_id=2 AND acc_id=1) ORDER BY con_name DESC");
    ASSERT_EQ(1u, t.size());
    EXPECT_EQ("王五", t[0][1]);
    EXPECT_EQ("北京科技", t[0][18]);
}

}  // namespace
