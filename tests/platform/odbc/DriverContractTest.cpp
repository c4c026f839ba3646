// What the record store relies on from the ODBC layer: connecting, return
// codes, NULLs, the length probe, cut texts, refused statements.
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "OdbcTestUtil.h"
#include "platform/gbk/gbk.h"

using namespace odbctest;
namespace fs = std::filesystem;

namespace {

class DriverTest : public OdbcTest {
protected:
    SQLRETURN GetData(SQLUSMALLINT col, SQLSMALLINT type, void* buf, SQLLEN len, SQLLEN* ind) {
        return SQLGetData(m_hStmt, col, type, buf, len, ind);
    }
    void FetchOne(const std::string& sql) {
        ASSERT_EQ(SQL_SUCCESS, Exec(sql)) << Diag();
        ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt)) << Diag();
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Connecting
// ---------------------------------------------------------------------------

TEST_F(DriverTest, ConnectToMissingFileFailsAndCreatesNothing) {
    std::string missing = m_folder + "nothere.tvd";
    SQLHDBC dbc = nullptr;
    EXPECT_EQ(SQL_ERROR, Connect(dbc, ConnectString(missing)));
    EXPECT_FALSE(fs::exists(missing));
    SQLCHAR state[6] = "";
    SQLGetDiagRec(SQL_HANDLE_DBC, dbc, 1, state, nullptr, nullptr, 0, nullptr);
    EXPECT_STRNE("", (char*)state);
    SQLHSTMT st = nullptr;
    EXPECT_NE(SQL_SUCCESS, SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

TEST_F(DriverTest, EmptyFileIsNoDatabaseAndStaysEmpty) {
    std::string empty = m_folder + "empty.tvd";
    std::FILE* f = std::fopen(empty.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fclose(f);
    SQLHDBC dbc = nullptr;
    EXPECT_EQ(SQL_ERROR, Connect(dbc, ConnectString(empty)));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    EXPECT_EQ(0u, fs::file_size(empty));
}

TEST_F(DriverTest, ConnectNeedsTheAccessDriverAndAFile) {
    SQLHDBC dbc = nullptr;
    EXPECT_EQ(SQL_ERROR, Connect(dbc, "DRIVER={SQL Server};DBQ=" + m_path + ";"));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    EXPECT_EQ(SQL_ERROR, Connect(dbc, "DRIVER={Microsoft Access Driver (*.mdb)};Uid=Admin;"));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    EXPECT_EQ(SQL_ERROR, Connect(dbc, "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + m_folder + ";"));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    // Key case and spacing do not matter.
    EXPECT_EQ(SQL_SUCCESS, Connect(dbc, "driver={microsoft access driver (*.mdb)}; dbq=" + m_path + " ;uid=Admin"));
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

// A path holding ';' or braces is given in braces, a '}' in it doubled.
TEST_F(DriverTest, ABracedPathMayHoldSemicolonsAndBraces) {
    const std::string folder = m_folder + "a;b}c{d/";
    fs::create_directories(folder);
    fs::copy_file(m_path, folder + "mydata.tvd");
    SQLHDBC dbc = nullptr;
    EXPECT_EQ(SQL_SUCCESS, Connect(dbc, "DRIVER={Microsoft Access Driver (*.mdb)};DBQ={" + m_folder +
                                            "a;b}}c{d/mydata.tvd};Uid=Admin;"));
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    // Unbraced, the path ends at the ';'.
    EXPECT_EQ(SQL_ERROR, Connect(dbc, "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + folder + "mydata.tvd;"));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

TEST_F(DriverTest, ConnectReturnsTheCompletedString) {
    SQLHDBC dbc = nullptr;
    ASSERT_EQ(SQL_SUCCESS, SQLAllocHandle(SQL_HANDLE_DBC, m_hEnv, &dbc));
    std::string in = ConnectString(m_path);
    SQLCHAR out[1024];
    SQLSMALLINT outLen = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLDriverConnect(dbc, nullptr, (SQLCHAR*)in.c_str(), SQL_NTS, out, sizeof out, &outLen,
                                            SQL_DRIVER_NOPROMPT));
    EXPECT_EQ(in, std::string((char*)out));
    EXPECT_EQ(SQLSMALLINT(in.size()), outLen);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

TEST_F(DriverTest, LockedFileFailsTheConnectAndTheStatement) {
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr));
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO important VALUES('x');", nullptr, nullptr, nullptr));
    SQLHDBC dbc = nullptr;
    EXPECT_EQ(SQL_ERROR, Connect(dbc, ConnectString(m_path)));
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    // The connection made before the lock: its statements wait, then fail.
    EXPECT_EQ(SQL_ERROR, Exec("SELECT * FROM important"));
    EXPECT_EQ("HYT00", Diag().substr(0, 5));
    sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ("3", Value("SELECT COUNT(*) FROM important"));
}

// ---------------------------------------------------------------------------
// Return codes
// ---------------------------------------------------------------------------

TEST_F(DriverTest, GoodStatementsReturnExactlySuccess) {
    EXPECT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) \t\t\tVALUES('很高')"));
    EXPECT_EQ(SQL_SUCCESS, Exec("UPDATE important SET imp_description='极高' \t\t\tWHERE imp_description='很高'"));
    EXPECT_EQ(SQL_SUCCESS, Exec("DELETE * FROM important WHERE imp_description='极高'"));
    EXPECT_EQ(SQL_SUCCESS, Exec("SELECT * FROM important WHERE imp_description='none'"));
    EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_hStmt));
}

TEST_F(DriverTest, UpdateOrDeleteOfNoRowReturnsNoData) {
    EXPECT_EQ(SQL_NO_DATA, Exec("UPDATE accounts_contacts SET acc_id=3 WHERE con_id=9"));
    EXPECT_EQ(SQL_NO_DATA, Exec("DELETE * FROM opportunities WHERE opp_id=7"));
    EXPECT_EQ(SQL_NO_DATA, Exec("DELETE FROM tasks"));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(3,9)"));
    EXPECT_EQ(SQL_SUCCESS, Exec("UPDATE accounts_contacts SET acc_id=4 WHERE con_id=9"));
    SQLLEN rows = -1;
    SQLRowCount(m_hStmt, &rows);
    EXPECT_EQ(1, rows);
    EXPECT_EQ(SQL_SUCCESS, Exec("DELETE * FROM accounts_contacts WHERE con_id=9"));
}

TEST_F(DriverTest, ErrorsFailAndChangeNothing) {
    EXPECT_EQ(SQL_ERROR, Exec("UPDATE setting SET set_sign='it's' WHERE set_id=1"));
    EXPECT_EQ("42000", Diag().substr(0, 5));
    EXPECT_EQ(SQL_ERROR, Exec("SELECT * FROM nosuchtable"));
    EXPECT_EQ("42S02", Diag().substr(0, 5));
    EXPECT_EQ(SQL_ERROR, Exec("SELECT nosuchcolumn FROM accounts"));
    EXPECT_EQ("42S22", Diag().substr(0, 5));
    // A text where a number belongs.
    EXPECT_EQ(SQL_ERROR, Exec("UPDATE phase SET pha_description='x',\t\t\tpha_succeed_probability='abc' \t\t\t"
                              "WHERE pha_description='需求分析'"));
    EXPECT_EQ(SQL_ERROR, Exec("INSERT INTO tasks(tas_subject,tas_date) VALUES('x','tomorrow')"));
    EXPECT_EQ(SQL_ERROR, Exec("INSERT INTO tasks(tas_subject,tas_date) VALUES('x',#2024-2-30#)"));
    EXPECT_EQ("", Value("SELECT set_sign FROM setting"));
    EXPECT_EQ("25", Value("SELECT pha_succeed_probability FROM phase WHERE pha_description='需求分析'"));
    EXPECT_EQ("0", Value("SELECT COUNT(*) FROM tasks"));
}

TEST_F(DriverTest, TwoStatementsInOneTextAreRefusedUnrun) {
    EXPECT_EQ(SQL_ERROR, Exec("INSERT INTO important(imp_description) VALUES('a'); "
                              "INSERT INTO important(imp_description) VALUES('b')"));
    EXPECT_EQ(SQL_ERROR, Exec("SELECT * FROM important;DELETE * FROM important"));
    EXPECT_EQ(SQL_ERROR, Exec("SELECT * FROM important WHERE imp_description='';DROP TABLE important"));
    // Jet has no comments to hide a second statement behind.
    EXPECT_EQ(SQL_ERROR, Exec("SELECT * FROM important; -- DELETE * FROM important"));
    EXPECT_EQ("8", Value("SELECT 5--3"));
    EXPECT_EQ("3", Value("SELECT COUNT(*) FROM important"));
    // A semicolon inside a literal or at the end is no second statement.
    EXPECT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('a;b');"));
    EXPECT_EQ("a;b", Value("SELECT imp_description FROM important WHERE imp_description LIKE '%;%'"));
}

TEST_F(DriverTest, EmptyStatementFails) {
    EXPECT_EQ(SQL_ERROR, Exec(""));
    EXPECT_EQ(SQL_ERROR, Exec(" \t "));
}

TEST_F(DriverTest, CountersNeverReuseAnId) {
    for (int i = 0; i < 3; ++i) ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO tasks(tas_subject) VALUES('t')"));
    ASSERT_EQ(SQL_SUCCESS, Exec("DELETE * FROM tasks WHERE tas_id=3"));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO tasks(tas_subject) VALUES('t')"));
    EXPECT_EQ("4", Rows("SELECT tas_id FROM tasks ORDER BY tas_id DESC")[0][0]);
}

TEST_F(DriverTest, WritesAreJournalledAndSynced) {
    EXPECT_EQ("3", Value("PRAGMA synchronous"));  // EXTRA: the journal's deletion is synced too
    EXPECT_EQ("delete", Value("PRAGMA journal_mode"));
}

TEST_F(DriverTest, EachStatementIsCommittedAtOnceAsUtf8) {
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) \t\t\tVALUES('紧急')"));
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_path.c_str(), &other, SQLITE_OPEN_READONLY, nullptr));
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(SQLITE_OK,
              sqlite3_prepare_v2(other, "SELECT imp_description FROM important WHERE rowid=4", -1, &st, nullptr));
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(st));
    EXPECT_EQ(gbk::ToUtf8("紧急"), std::string((const char*)sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(other);
}

// ---------------------------------------------------------------------------
// SQLGetData
// ---------------------------------------------------------------------------

TEST_F(DriverTest, NullLeavesEveryBufferUntouched) {
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO opportunities(opp_subject) VALUES('only a subject')"));
    FetchOne(
        "SELECT opp_description, opp_create_date, opp_estimate_sale, opp_private, opp_important "
        "FROM opportunities");
    char text[8] = "keep";
    DATE_STRUCT date{7, 8, 9};
    double amount = 1.5;
    SQLINTEGER flag = 42;
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_CHAR, text, sizeof text, &ind));
    EXPECT_EQ(SQL_NULL_DATA, ind);
    EXPECT_STREQ("keep", text);
    EXPECT_EQ(SQL_SUCCESS, GetData(2, SQL_C_TYPE_DATE, &date, 0, &ind));
    EXPECT_EQ(SQL_NULL_DATA, ind);
    EXPECT_EQ(7, date.year);
    EXPECT_EQ(8, date.month);
    EXPECT_EQ(9, date.day);
    EXPECT_EQ(SQL_SUCCESS, GetData(3, SQL_C_DOUBLE, &amount, 0, &ind));
    EXPECT_EQ(1.5, amount);
    EXPECT_EQ(SQL_SUCCESS, GetData(4, SQL_C_SLONG, &flag, 0, &ind));
    EXPECT_EQ(42, flag);
    // The length probe of a NULL: SQL_SUCCESS with SQL_NULL_DATA.
    EXPECT_EQ(SQL_SUCCESS, GetData(5, SQL_C_CHAR, text, 0, &ind));
    EXPECT_EQ(SQL_NULL_DATA, ind);
}

TEST_F(DriverTest, LengthProbeConsumesNothing) {
    std::string memo;
    for (int i = 0; i < 3000; ++i) memo += "备注";  // 12000 GBK bytes
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO accounts(acc_name,acc_description) VALUES('','" + memo + "')"));
    FetchOne("SELECT acc_name, acc_description FROM accounts");
    char probe[1] = {'z'};
    SQLLEN ind = -7;
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(1, SQL_C_CHAR, probe, 0, &ind));
    EXPECT_EQ(0, ind);  // the empty text has a length too
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(2, SQL_C_CHAR, probe, 0, &ind));
    EXPECT_EQ(12000, ind);
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(2, SQL_C_CHAR, probe, 0, &ind));
    EXPECT_EQ(12000, ind);
    EXPECT_EQ('z', probe[0]);
    std::vector<char> buf(12001, 'x');
    EXPECT_EQ(SQL_SUCCESS, GetData(2, SQL_C_CHAR, buf.data(), 12001, &ind));
    EXPECT_EQ(12000, ind);
    EXPECT_EQ(memo, std::string(buf.data()));
}

TEST_F(DriverTest, LongTextIsCutAtACharacterBoundary) {
    // "ab中文": four GBK bytes after two ASCII letters.
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO contacts(con_name) VALUES('ab中文')"));
    char buf[8];
    SQLLEN ind = 0;
    FetchOne("SELECT con_name FROM contacts");
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(1, SQL_C_CHAR, buf, 4, &ind));  // room for 3 bytes
    EXPECT_STREQ("ab", buf);                                                 // never half of 中
    EXPECT_EQ(6, ind);
    FetchOne("SELECT con_name FROM contacts");
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(1, SQL_C_CHAR, buf, 5, &ind));
    EXPECT_STREQ("ab中", buf);
    EXPECT_EQ(6, ind);
    // The rest follows on the next read, then there is no more.
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
    EXPECT_STREQ("文", buf);
    EXPECT_EQ(2, ind);
    EXPECT_EQ(SQL_NO_DATA, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
    // Exactly fitting text is no cut.
    FetchOne("SELECT con_name FROM contacts");
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_CHAR, buf, 7, &ind));
    EXPECT_STREQ("ab中文", buf);
}

// Texts read whole into a buffer of any size around their UTF-8 and GBK
// lengths, a column taken up again after another was read, and characters
// GBK cannot hold (written to the file by another program).
TEST_F(DriverTest, TextsReadWholeOrInPartsWhateverTheOrderOfTheColumns) {
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr));
    // con_name: "ab" and two Chinese characters (8 UTF-8, 6 GBK bytes);
    // con_nickname: a Chinese character, an emoji and an e with an accent.
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other,
                                      "INSERT INTO contacts(con_name,con_nickname) VALUES('ab\xE4\xB8\xAD\xE6\x96\x87',"
                                      "'\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3\xA9')",
                                      nullptr, nullptr, nullptr));
    sqlite3_close(other);
    const std::string name = "ab中文";
    char buf[16];
    SQLLEN ind = 0;
    for (SQLLEN len = 7; len <= 10; ++len) {
        FetchOne("SELECT con_name, con_nickname FROM contacts");
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_CHAR, buf, len, &ind)) << len;
        EXPECT_EQ(name, std::string(buf)) << len;
        EXPECT_EQ(6, ind);
        EXPECT_EQ('x', buf[7]);
        EXPECT_EQ(SQL_NO_DATA, GetData(1, SQL_C_CHAR, buf, len, &ind));
    }
    // A part of column 1, column 2 whole, then the rest of column 1.
    FetchOne("SELECT con_name, con_nickname FROM contacts");
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(1, SQL_C_CHAR, buf, 5, &ind));
    EXPECT_STREQ("ab中", buf);
    EXPECT_EQ(SQL_SUCCESS, GetData(2, SQL_C_CHAR, buf, sizeof buf, &ind));
    EXPECT_STREQ("中?\xA8\xA6", buf);  // the emoji is not in GBK, the e with its accent is
    EXPECT_EQ(5, ind);
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
    EXPECT_STREQ("文", buf);
    EXPECT_EQ(2, ind);
    EXPECT_EQ(SQL_NO_DATA, GetData(2, SQL_C_CHAR, buf, sizeof buf, &ind));
}

TEST_F(DriverTest, NineChineseCharactersFitATwentyByteName) {
    std::string name = "一二三四五六七八九十";  // 20 bytes
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO contacts(con_name) VALUES('" + name + "')"));
    FetchOne("SELECT con_name FROM contacts");
    char buf[20];
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_SUCCESS_WITH_INFO, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
    EXPECT_EQ(name.substr(0, 18), std::string(buf));
    EXPECT_EQ(20, ind);
}

TEST_F(DriverTest, ValuesConvertToTheRequestedTypes) {
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO tasks(tas_subject,tas_date,\t\ttas_time,tas_outlay,tas_remind,tas_closed,"
                                "tas_description,tas_private ) \t\tVALUES('x',#2024-1-5#,#9:5:3#,12.345000,1,0,'',0)"));
    FetchOne("SELECT tas_id, tas_date, tas_time, tas_outlay, tas_outlay, tas_remind, tas_date FROM tasks");
    SQLINTEGER id = 0;
    DATE_STRUCT d{};
    TIME_STRUCT t{};
    float f = 0;
    double dbl = 0;
    char text[20];
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_SLONG, &id, 0, &ind));
    EXPECT_EQ(1, id);
    EXPECT_EQ(SQL_SUCCESS, GetData(2, SQL_C_TYPE_DATE, &d, 0, &ind));
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(1, d.month);
    EXPECT_EQ(5, d.day);
    EXPECT_EQ(SQL_SUCCESS, GetData(3, SQL_C_TYPE_TIME, &t, 0, &ind));
    EXPECT_EQ(9, t.hour);
    EXPECT_EQ(5, t.minute);
    EXPECT_EQ(3, t.second);
    EXPECT_EQ(SQL_SUCCESS, GetData(4, SQL_C_FLOAT, &f, 0, &ind));
    EXPECT_FLOAT_EQ(12.345f, f);
    EXPECT_EQ(SQL_SUCCESS, GetData(5, SQL_C_DOUBLE, &dbl, 0, &ind));
    EXPECT_DOUBLE_EQ(12.345, dbl);
    EXPECT_EQ(SQL_SUCCESS, GetData(6, SQL_C_CHAR, text, sizeof text, &ind));  // a number as text
    EXPECT_STREQ("1", text);
    EXPECT_EQ(SQL_SUCCESS, GetData(7, SQL_C_CHAR, text, sizeof text, &ind));
    EXPECT_STREQ("2024-01-05", text);
}

TEST_F(DriverTest, TextThatIsNoNumberOrDateFailsToConvert) {
    FetchOne("SELECT imp_description FROM important");
    SQLINTEGER n = 5;
    DATE_STRUCT d{};
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_ERROR, GetData(1, SQL_C_SLONG, &n, 0, &ind));
    EXPECT_EQ(5, n);
    EXPECT_EQ(SQL_ERROR, GetData(1, SQL_C_TYPE_DATE, &d, 0, &ind));
    EXPECT_EQ(SQL_ERROR, GetData(2, SQL_C_CHAR, &d, 0, &ind));  // no such column
    EXPECT_EQ("07009", Diag().substr(0, 5));
}

TEST_F(DriverTest, NumbersOutOfTheTargetRangeFailAndLeaveTheBuffer) {
    FetchOne("SELECT 1e39, '1e300', 'nan', 3000000000, '12.5'");
    float f = 7.0f;
    double d = 0;
    SQLINTEGER n = 9;
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_ERROR, GetData(1, SQL_C_FLOAT, &f, 0, &ind));
    EXPECT_EQ("22003", Diag().substr(0, 5));
    EXPECT_EQ(7.0f, f);
    EXPECT_EQ(SQL_SUCCESS, GetData(1, SQL_C_DOUBLE, &d, 0, &ind));
    EXPECT_DOUBLE_EQ(1e39, d);
    EXPECT_EQ(SQL_SUCCESS, GetData(2, SQL_C_DOUBLE, &d, 0, &ind));  // a text that is a number
    EXPECT_DOUBLE_EQ(1e300, d);
    EXPECT_EQ(SQL_ERROR, GetData(2, SQL_C_FLOAT, &f, 0, &ind));
    EXPECT_EQ(SQL_ERROR, GetData(2, SQL_C_SLONG, &n, 0, &ind));
    EXPECT_EQ(SQL_ERROR, GetData(3, SQL_C_DOUBLE, &d, 0, &ind));  // no number, though strtod reads it
    EXPECT_DOUBLE_EQ(1e300, d);
    EXPECT_EQ(SQL_ERROR, GetData(4, SQL_C_SLONG, &n, 0, &ind));
    EXPECT_EQ("22003", Diag().substr(0, 5));
    EXPECT_EQ(9, n);
    EXPECT_EQ(SQL_SUCCESS, GetData(5, SQL_C_FLOAT, &f, 0, &ind));
    EXPECT_EQ(12.5f, f);
}

TEST_F(DriverTest, GetDataNeedsACurrentRow) {
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT * FROM important"));
    char buf[50];
    SQLLEN ind = 0;
    EXPECT_EQ(SQL_ERROR, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
    int rows = 0;
    while (SQLFetch(m_hStmt) == SQL_SUCCESS) ++rows;
    EXPECT_EQ(3, rows);
    EXPECT_EQ(SQL_NO_DATA, SQLFetch(m_hStmt));
    EXPECT_EQ(SQL_ERROR, GetData(1, SQL_C_CHAR, buf, sizeof buf, &ind));
}

TEST_F(DriverTest, FreeingAStatementDropsUnreadRows) {
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT * FROM province"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    EXPECT_EQ(SQL_SUCCESS, SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt));
    m_hStmt = nullptr;
    EXPECT_EQ(SQL_SUCCESS, Exec("DELETE * FROM province WHERE pro_description='北京'"));
    EXPECT_EQ("33", Value("SELECT COUNT(*) FROM province"));
}

TEST_F(DriverTest, DescribeColNamesTheColumns) {
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT pha_description, pha_succeed_probability AS 2 FROM phase"));
    SQLCHAR name[64];
    SQLSMALLINT len = 0, type = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(m_hStmt, 1, name, sizeof name, &len, &type, nullptr, nullptr, nullptr));
    EXPECT_STREQ("pha_description", (char*)name);
    ASSERT_EQ(SQL_SUCCESS, SQLDescribeCol(m_hStmt, 2, name, sizeof name, &len, &type, nullptr, nullptr, nullptr));
    EXPECT_STREQ("2", (char*)name);
    EXPECT_EQ(SQL_INTEGER, type);
}

TEST_F(DriverTest, InvalidHandlesAreRejected) {
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLExecDirect(nullptr, (SQLCHAR*)"SELECT 1", SQL_NTS));
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLFetch(nullptr));
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLFreeHandle(SQL_HANDLE_STMT, nullptr));
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLDisconnect(nullptr));
    // A statement handle where a connection belongs.
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT 1"));
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLDisconnect(m_hStmt));
}
