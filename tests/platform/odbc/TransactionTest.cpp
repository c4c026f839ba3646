// Manual-commit mode (SQL_ATTR_AUTOCOMMIT, SQLEndTran), files SQLite reports
// damaged, numbers under a decimal-comma locale.
#include <sqlite3.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "OdbcTestUtil.h"

using namespace odbctest;

namespace {

class TransactionTest : public OdbcTest {
protected:
    // Rows of a table as another connection (plain SQLite) sees them.
    int CountFromOutside(const char* table) {
        sqlite3* db = nullptr;
        EXPECT_EQ(SQLITE_OK, sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr));
        sqlite3_busy_timeout(db, 2000);
        sqlite3_stmt* st = nullptr;
        std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
        int n = -1;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(db);
        return n;
    }
    SQLRETURN SetAutocommit(SQLUINTEGER v) {
        return SQLSetConnectAttr(m_hDbc, SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)(uintptr_t)v, SQL_IS_UINTEGER);
    }
};

TEST_F(TransactionTest, AutocommitIsOnUntilSwitchedOff) {
    SQLUINTEGER v = 99;
    ASSERT_EQ(SQL_SUCCESS, SQLGetConnectAttr(m_hDbc, SQL_ATTR_AUTOCOMMIT, &v, sizeof v, nullptr));
    EXPECT_EQ(SQL_AUTOCOMMIT_ON, v);
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    ASSERT_EQ(SQL_SUCCESS, SQLGetConnectAttr(m_hDbc, SQL_ATTR_AUTOCOMMIT, &v, sizeof v, nullptr));
    EXPECT_EQ(SQL_AUTOCOMMIT_OFF, v);
    EXPECT_EQ(SQL_ERROR, SetAutocommit(7));
    EXPECT_EQ(SQL_ERROR, SQLSetConnectAttr(m_hDbc, 12345, nullptr, 0));
}

TEST_F(TransactionTest, RollbackUndoesEveryStatementSinceTheLastEnd) {
    int before = CountFromOutside("important");
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('a')"));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('b')"));
    EXPECT_EQ("2",
              Value("SELECT COUNT(*) FROM important WHERE imp_description IN ('a','b')"));  // seen inside
    EXPECT_EQ(before, CountFromOutside("important"));                                       // not outside
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_ROLLBACK));
    EXPECT_EQ(before, CountFromOutside("important"));
    EXPECT_EQ("0", Value("SELECT COUNT(*) FROM important WHERE imp_description IN ('a','b')"));
}

TEST_F(TransactionTest, CommitMakesTheStatementsVisibleTogether) {
    int before = CountFromOutside("important");
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('a')"));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('b')"));
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_COMMIT));
    EXPECT_EQ(before + 2, CountFromOutside("important"));
    // The next statement opens the next transaction.
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('c')"));
    EXPECT_EQ(before + 2, CountFromOutside("important"));
    // Back to auto-commit mode: the open transaction is committed.
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_ON));
    EXPECT_EQ(before + 3, CountFromOutside("important"));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('d')"));
    EXPECT_EQ(before + 4, CountFromOutside("important"));
}

TEST_F(TransactionTest, EndTranClosesCursorsAndAcceptsNothingToEnd) {
    EXPECT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_COMMIT));  // nothing open
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT * FROM important"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_ENV, m_hEnv, SQL_ROLLBACK));
    EXPECT_EQ(SQL_ERROR, SQLFetch(m_hStmt));  // the cursor is closed
    EXPECT_EQ(SQL_ERROR, SQLEndTran(SQL_HANDLE_DBC, m_hDbc, 5));
    EXPECT_EQ(SQL_INVALID_HANDLE, SQLEndTran(SQL_HANDLE_STMT, m_hStmt, SQL_COMMIT));
}

TEST_F(TransactionTest, AnOpenTransactionIsRolledBackByTheDisconnect) {
    int before = CountFromOutside("important");
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('a')"));
    SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
    m_hStmt = nullptr;
    ASSERT_EQ(SQL_SUCCESS, SQLDisconnect(m_hDbc));
    EXPECT_EQ(before, CountFromOutside("important"));
}

TEST_F(TransactionTest, AWriterElsewhereMakesTheFirstStatementWaitThenFail) {
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    ASSERT_EQ(SQL_SUCCESS, SetAutocommit(SQL_AUTOCOMMIT_OFF));
    EXPECT_EQ(SQL_ERROR, Exec("INSERT INTO important(imp_description) VALUES('a')"));
    EXPECT_EQ("HYT00", Diag().substr(0, 5));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('a')"));
    ASSERT_EQ(SQL_SUCCESS, SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_COMMIT));
}

// A garbled data page: reads of that table fail with SQLITE_CORRUPT, and from
// then on nothing is written into the file through the connection.
TEST_F(TransactionTest, NoWriteAfterSQLiteReportedTheFileDamaged) {
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO opportunities(opp_subject) VALUES('" + std::string(200, 'x') + "')"));
    long root = std::stol(Value("SELECT rootpage FROM sqlite_master WHERE name='opportunities'"));
    long pageSize = std::stol(Value("PRAGMA page_size"));
    int importantBefore = std::stoi(Value("SELECT COUNT(*) FROM important"));
    SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
    m_hStmt = nullptr;
    SQLDisconnect(m_hDbc);
    {
        FILE* f = std::fopen(m_path.c_str(), "r+b");
        ASSERT_NE(nullptr, f);
        std::fseek(f, (root - 1) * pageSize, SEEK_SET);
        std::string junk(size_t(pageSize), '\x5A');
        std::fwrite(junk.data(), 1, junk.size(), f);
        std::fclose(f);
    }
    SQLCHAR out[512];
    SQLSMALLINT outLen;
    std::string cs = ConnectString(m_path);
    ASSERT_EQ(SQL_SUCCESS, SQLDriverConnect(m_hDbc, nullptr, (SQLCHAR*)cs.c_str(), SQL_NTS, out, sizeof out, &outLen,
                                            SQL_DRIVER_NOPROMPT));
    // Writes still run while nothing has been reported.
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('before')"));
    SQLRETURN rc = Exec("SELECT * FROM opportunities");
    while (rc == SQL_SUCCESS) rc = SQLFetch(m_hStmt);
    ASSERT_EQ(SQL_ERROR, rc);
    SQLINTEGER native = 0;
    SQLCHAR state[6];
    SQLGetDiagRec(SQL_HANDLE_STMT, m_hStmt, 1, state, &native, nullptr, 0, nullptr);
    EXPECT_EQ(SQLITE_CORRUPT, native & 0xFF);

    EXPECT_EQ(SQL_ERROR, Exec("INSERT INTO important(imp_description) VALUES('after')"));
    SQLGetDiagRec(SQL_HANDLE_STMT, m_hStmt, 1, state, &native, nullptr, 0, nullptr);
    EXPECT_EQ(SQLITE_CORRUPT, native & 0xFF);
    EXPECT_EQ(SQL_ERROR, Exec("DELETE * FROM important"));
    EXPECT_EQ(std::to_string(importantBefore + 1),
              Value("SELECT COUNT(*) FROM important"));  // reads still run
}

TEST_F(TransactionTest, AFileThatIsNoDatabaseIsReportedAsSuch) {
    SQLDisconnect(m_hDbc);
    {
        FILE* f = std::fopen(m_path.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs(std::string(4096, 'Q').c_str(), f);
        std::fclose(f);
    }
    SQLCHAR out[512];
    SQLSMALLINT outLen;
    std::string cs = ConnectString(m_path);
    ASSERT_EQ(SQL_ERROR, SQLDriverConnect(m_hDbc, nullptr, (SQLCHAR*)cs.c_str(), SQL_NTS, out, sizeof out, &outLen,
                                          SQL_DRIVER_NOPROMPT));
    SQLINTEGER native = 0;
    SQLCHAR state[6];
    SQLGetDiagRec(SQL_HANDLE_DBC, m_hDbc, 1, state, &native, nullptr, 0, nullptr);
    EXPECT_EQ(SQLITE_NOTADB, native & 0xFF);
}

// Numbers cross the driver with '.' as the decimal point whatever LC_NUMERIC
// says (a decimal-comma locale is built for the test).
TEST_F(TransactionTest, NumbersIgnoreTheDecimalCommaOfTheLocale) {
    // The locale and LOCPATH as they were, whatever way the test ends.
    const char* old = std::getenv("LOCPATH");
    struct Restore {
        bool bHad;
        std::string strPath;
        ~Restore() {
            std::setlocale(LC_NUMERIC, "C");
            if (bHad)
                setenv("LOCPATH", strPath.c_str(), 1);
            else
                unsetenv("LOCPATH");
        }
    } restore{old != nullptr, old ? old : ""};
    const char* set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!set) {
        std::string dir = m_folder + "locale";
        std::filesystem::create_directories(dir);
        std::string cmd = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) {
            setenv("LOCPATH", dir.c_str(), 1);
            set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        }
    }
    if (!set) GTEST_SKIP() << "no decimal-comma locale on this machine (localedef and the locales package)";
    ASSERT_STREQ(",", std::localeconv()->decimal_point);

    std::string text, real;
    {
        auto rows = Rows("SELECT 1234.5, '12.5', 0.1");
        ASSERT_EQ(1u, rows.size());
        text = rows[0][0];
        real = rows[0][2];
    }
    ASSERT_EQ(SQL_SUCCESS, Exec("SELECT '12.5', ' +2.25e1 ', '1,5'"));
    ASSERT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
    double d = 0;
    SQLLEN ind = 0;
    SQLRETURN r1 = SQLGetData(m_hStmt, 1, SQL_C_DOUBLE, &d, sizeof d, &ind);
    double d2 = 0;
    SQLRETURN r2 = SQLGetData(m_hStmt, 2, SQL_C_DOUBLE, &d2, sizeof d2, &ind);
    double d3 = 0;
    SQLRETURN r3 = SQLGetData(m_hStmt, 3, SQL_C_DOUBLE, &d3, sizeof d3, &ind);

    std::setlocale(LC_NUMERIC, "C");

    EXPECT_EQ("1234.5", text);
    EXPECT_EQ("0.1", real);
    EXPECT_EQ(SQL_SUCCESS, r1);
    EXPECT_EQ(12.5, d);
    EXPECT_EQ(SQL_SUCCESS, r2);
    EXPECT_EQ(22.5, d2);
    EXPECT_EQ(SQL_ERROR, r3);  // a comma is no decimal point here
}

}  // namespace
