// The shipped database: every table and saved query delivers its columns in
// the order the program reads them, with the shipped rows in place.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "OdbcTestUtil.h"

using namespace odbctest;

namespace {

typedef std::vector<std::string> Names;

const Names kOpportunity = {"opp_id",          "opp_subject",
                            "opp_description", "opp_create_date",
                            "opp_die_date",    "opp_estimate_sale",
                            "opp_sale",        "opp_important",
                            "opp_phase",       "opp_recent_contact_date",
                            "opp_private",     "opp_succeed_probability"};
const Names kAccount = {
    "acc_id",        "acc_name",     "acc_description", "acc_important",   "acc_type",
    "acc_industry",  "acc_relation", "acc_address",     "acc_postcode",    "acc_province",
    "acc_telephone", "acc_fax",      "acc_website",     "acc_create_date", "acc_recent_contact_date",
    "acc_private"};
const Names kContact = {"con_id",
                        "con_name",
                        "con_nickname",
                        "con_description",
                        "con_department_title",
                        "con_telephone",
                        "con_mobile",
                        "con_email",
                        "con_important",
                        "con_relation",
                        "con_create_date",
                        "con_recent_contact_date",
                        "con_private",
                        "con_province",
                        "con_family",
                        "con_postcode",
                        "con_im"};
const Names kTask = {"tas_id",          "tas_subject", "tas_date",   "tas_time",  "tas_outlay",
                     "tas_description", "tas_private", "tas_remind", "tas_closed"};

Names Join(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SchemaTest : public OdbcTest {
protected:
    Names ColumnsOf(const std::string& table) {
        Names names;
        EXPECT_EQ(SQL_SUCCESS, Exec("SELECT * FROM " + table)) << table << " " << Diag();
        SQLSMALLINT n = 0;
        SQLNumResultCols(m_hStmt, &n);
        for (SQLUSMALLINT c = 1; c <= n; ++c) {
            SQLCHAR name[128];
            SQLSMALLINT len = 0;
            SQLDescribeCol(m_hStmt, c, name, sizeof name, &len, nullptr, nullptr, nullptr, nullptr);
            names.emplace_back((char*)name);
        }
        return names;
    }
    // The first `prefix.size()` columns are exactly `prefix`, and every name
    // of `also` is somewhere in the result.
    void ExpectColumns(const std::string& table, const Names& prefix, const Names& also = {}) {
        Names got = ColumnsOf(table);
        ASSERT_GE(got.size(), prefix.size()) << table;
        EXPECT_EQ(prefix, Names(got.begin(), got.begin() + long(prefix.size()))) << table;
        for (const std::string& n : also)
            EXPECT_NE(got.end(), std::find(got.begin(), got.end(), n)) << table << " lacks " << n;
    }
};

TEST_F(SchemaTest, RecordTablesInReadingOrder) {
    EXPECT_EQ(kOpportunity, ColumnsOf("opportunities"));
    EXPECT_EQ(kAccount, ColumnsOf("accounts"));
    EXPECT_EQ(kContact, ColumnsOf("contacts"));
    EXPECT_EQ(kTask, ColumnsOf("tasks"));
}

TEST_F(SchemaTest, LinkTables) {
    std::map<std::string, Names> links = {
        {"opportunities_accounts", {"opp_id", "acc_id"}}, {"opportunities_contacts", {"opp_id", "con_id", "acc_id"}},
        {"opportunities_tasks", {"opp_id", "tas_id"}},    {"accounts_contacts", {"acc_id", "con_id"}},
        {"accounts_tasks", {"acc_id", "tas_id"}},         {"contacts_tasks", {"con_id", "tas_id"}},
    };
    for (auto& [table, cols] : links) {
        Names got = ColumnsOf(table);
        std::sort(got.begin(), got.end());
        std::sort(cols.begin(), cols.end());
        EXPECT_EQ(cols, got) << table;
    }
}

TEST_F(SchemaTest, LookupTablesAndTheirValues) {
    EXPECT_EQ(Names{"imp_description"}, ColumnsOf("important"));
    EXPECT_EQ(Names{"rel_description"}, ColumnsOf("relation"));
    EXPECT_EQ(Names{"pro_description"}, ColumnsOf("province"));
    EXPECT_EQ((Names{"pha_description", "pha_succeed_probability"}), ColumnsOf("phase"));
    EXPECT_EQ(Names{"ind_description"}, ColumnsOf("industry"));
    EXPECT_EQ(Names{"typ_description"}, ColumnsOf("type"));
    // Within what the data classes' arrays hold.
    const std::map<std::string, int> limits = {{"important", 10}, {"relation", 10}, {"province", 100},
                                               {"phase", 20},     {"industry", 50}, {"type", 10}};
    for (const auto& [table, limit] : limits) {
        int n = std::stoi(Value("SELECT COUNT(*) FROM " + table));
        EXPECT_GT(n, 0) << table;
        EXPECT_LE(n, limit) << table;
        // Every value fits a 50-byte buffer with its terminator.
        auto rows = Rows("SELECT * FROM " + table);
        for (const auto& row : rows) EXPECT_LT(row[0].size(), 50u) << table;
    }
    EXPECT_EQ("100", Value("SELECT pha_succeed_probability FROM phase WHERE pha_description='结束－成功'"));
    EXPECT_EQ("0", Value("SELECT pha_succeed_probability FROM phase WHERE pha_description='结束－失败'"));
    EXPECT_EQ((Names{"高", "中", "低"}), [&] {
        Names v;
        for (auto& r : Rows("SELECT * FROM Important")) v.push_back(r[0]);
        return v;
    }());
}

TEST_F(SchemaTest, SettingTableHasItsOneRow) {
    Names cols = ColumnsOf("setting");
    ASSERT_GE(cols.size(), 17u);
    EXPECT_EQ("set_id", cols[0]);
    EXPECT_EQ((Names{"set_emailaddress", "set_smtpserver", "set_user", "set_pwd", "set_port", "set_esmtp", "set_ssl",
                     "set_sign", "set_name"}),
              Names(cols.begin() + 1, cols.begin() + 10));
    EXPECT_EQ("set_againtime", cols[16]);
    for (const char* c : {"set_init", "set_loginname", "set_loginpwd"})
        EXPECT_NE(cols.end(), std::find(cols.begin(), cols.end(), c)) << c;
    auto rows = Rows("SELECT set_id, set_init FROM setting");
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ((Names{"1", "0"}), rows[0]);
}

TEST_F(SchemaTest, SavedQueriesDeliverTheColumnsReadByPosition) {
    ExpectColumns("rel_accounts_opportunities", kOpportunity, {"acc_id"});
    ExpectColumns("rel_contacts_opportunities", kOpportunity, {"con_id"});
    ExpectColumns("rel_tasks_opportunities", kOpportunity, {"tas_id"});
    ExpectColumns("rel_opportunities_accounts", kAccount, {"opp_id"});
    ExpectColumns("rel_tasks_accounts", kAccount, {"tas_id"});
    ExpectColumns("rel_opportunities_contacts", Join(kContact, {"opp_id", "acc_name", "acc_type"}), {"acc_id"});
    ExpectColumns("rel_tasks_contacts", Join(kContact, {"tas_id", "acc_name", "acc_type"}), {"acc_id"});
    ExpectColumns("rel_opportunities_tasks", kTask, {"opp_id"});
    ExpectColumns("rel_accounts_tasks", kTask, {"acc_id"});
    ExpectColumns("rel_contacts_tasks", kTask, {"con_id"});
    Names que = ColumnsOf("que_contacts_accounts");
    ASSERT_GE(que.size(), 20u);
    EXPECT_EQ(kContact, Names(que.begin(), que.begin() + 17));
    EXPECT_EQ("acc_name", que[18]);
    EXPECT_EQ("acc_type", que[19]);
    for (const char* c : {"acc_id", "acc_industry"}) EXPECT_NE(que.end(), std::find(que.begin(), que.end(), c)) << c;
}

// The file needs nothing of the driver: the plain SQLite library (and so the
// sqlite3 tool) reads every table and saved query.
TEST_F(SchemaTest, PlainSqliteReadsEveryTableAndSavedQuery) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(TARVEL_DB_TEMPLATE_PATH, &db, SQLITE_OPEN_READONLY, nullptr));
    sqlite3_stmt* list = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(db,
                                            "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') "
                                            "AND name NOT LIKE 'sqlite%'",
                                            -1, &list, nullptr));
    int tables = 0, views = 0;
    while (sqlite3_step(list) == SQLITE_ROW) {
        std::string name = (const char*)sqlite3_column_text(list, 0);
        (std::string((const char*)sqlite3_column_text(list, 1)) == "view" ? views : tables)++;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(db, ("SELECT * FROM " + name).c_str(), -1, &st, nullptr))
            << name << ": " << sqlite3_errmsg(db);
        if (st) {
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            }
            EXPECT_EQ(SQLITE_DONE, rc) << name << ": " << sqlite3_errmsg(db);
        }
        sqlite3_finalize(st);
    }
    sqlite3_finalize(list);
    EXPECT_EQ(4 + 6 + 6 + 1, tables);
    EXPECT_EQ(11, views);
    sqlite3_close(db);
}

// The plan SQLite makes for a statement, its detail lines joined.
std::string PlanOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    std::string plan;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) != SQLITE_OK)
        return std::string("error: ") + sqlite3_errmsg(db);
    while (sqlite3_step(st) == SQLITE_ROW) plan += std::string((const char*)sqlite3_column_text(st, 3)) + "; ";
    sqlite3_finalize(st);
    return plan;
}

// A day's tasks are found through the date index, not by reading the whole
// table; the lists sorted with the Chinese collation still read the table
// and sort it, so their row order is what it was without the index.
TEST_F(SchemaTest, TasksOfADayAreFoundByDateAndSortedListsStillSort) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(TARVEL_DB_TEMPLATE_PATH, &db, SQLITE_OPEN_READONLY, nullptr));
    // Order alone matters to a plan: any comparison serves for the collation.
    sqlite3_create_collation(db, "GBK_NOCASE", SQLITE_UTF8, nullptr,
                             [](void*, int na, const void* a, int nb, const void* b) {
                                 const int c = std::memcmp(a, b, size_t(std::min(na, nb)));
                                 return c ? c : na - nb;
                             });
    EXPECT_NE(std::string::npos, PlanOf(db,
                                        "SELECT * FROM tasks WHERE tas_date='2024-01-05' ORDER BY tas_time "
                                        "COLLATE GBK_NOCASE DESC")
                                     .find("USING INDEX tasks_date"));
    EXPECT_NE(std::string::npos,
              PlanOf(db, "SELECT * FROM tasks WHERE tas_date>='2024-01-01' AND tas_date<='2024-01-31'")
                  .find("USING INDEX tasks_date"));
    const std::string all =
        PlanOf(db, "SELECT * FROM tasks ORDER BY tas_date COLLATE GBK_NOCASE DESC,tas_time COLLATE GBK_NOCASE DESC");
    EXPECT_EQ(std::string::npos, all.find("INDEX")) << all;
    EXPECT_NE(std::string::npos, all.find("TEMP B-TREE FOR ORDER BY")) << all;
    sqlite3_close(db);
}

TEST_F(SchemaTest, ShippedFileHasNoRecords) {
    for (const char* t :
         {"opportunities", "accounts", "contacts", "tasks", "opportunities_accounts", "opportunities_contacts",
          "opportunities_tasks", "accounts_contacts", "accounts_tasks", "contacts_tasks"})
        EXPECT_EQ("0", Value(std::string("SELECT COUNT(*) FROM ") + t)) << t;
}

}  // namespace
