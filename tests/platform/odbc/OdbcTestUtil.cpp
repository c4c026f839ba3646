#include "OdbcTestUtil.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace odbctest {

std::string MakeTempCopy(std::string& folder) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-odbc-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
        ADD_FAILURE() << "mkdtemp failed";
        return "";
    }
    folder = std::string(buf.data()) + "/";
    std::string path = folder + "mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
    return path;
}

void OdbcTest::SetUp() {
    m_path = MakeTempCopy(m_folder);
    ASSERT_EQ(SQL_SUCCESS, SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_hEnv));
    ASSERT_EQ(SQL_SUCCESS, SQLSetEnvAttr(m_hEnv, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, SQL_IS_INTEGER));
    ASSERT_EQ(SQL_SUCCESS, Connect(m_hDbc, ConnectString(m_path)));
}

void OdbcTest::TearDown() {
    if (m_hStmt) SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
    m_hStmt = nullptr;
    if (m_hDbc) {
        SQLDisconnect(m_hDbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_hDbc);
    }
    if (m_hEnv) SQLFreeHandle(SQL_HANDLE_ENV, m_hEnv);
    m_hDbc = m_hEnv = nullptr;
    std::error_code ec;
    if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ec);
}

std::string OdbcTest::ConnectString(const std::string& path) const {
    return "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + path + ";Uid=Admin;Pwd=qe7volnar;";
}

SQLRETURN OdbcTest::Connect(SQLHDBC& dbc, const std::string& connect) {
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_DBC, m_hEnv, &dbc);
    if (rc != SQL_SUCCESS) return rc;
    SQLCHAR out[1024];
    SQLSMALLINT outLen = 0;
    std::vector<char> in(256, '\0');
    if (connect.size() < in.size()) std::memcpy(in.data(), connect.c_str(), connect.size());
    // The program passes the whole 256-byte buffer as the length.
    return SQLDriverConnect(dbc, nullptr, (SQLCHAR*)in.data(), 256, out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT);
}

SQLRETURN OdbcTest::Exec(const std::string& sql) {
    if (m_hStmt) SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
    m_hStmt = nullptr;
    EXPECT_EQ(SQL_SUCCESS, SQLAllocHandle(SQL_HANDLE_STMT, m_hDbc, &m_hStmt));
    return SQLExecDirect(m_hStmt, (SQLCHAR*)sql.c_str(), SQL_NTS);
}

std::vector<std::vector<std::string>> OdbcTest::Rows(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    SQLRETURN rc = Exec(sql);
    EXPECT_EQ(SQL_SUCCESS, rc) << sql << "\n" << Diag();
    if (rc != SQL_SUCCESS) return rows;
    SQLSMALLINT cols = 0;
    SQLNumResultCols(m_hStmt, &cols);
    while ((rc = SQLFetch(m_hStmt)) == SQL_SUCCESS) {
        std::vector<std::string> row;
        for (SQLUSMALLINT c = 1; c <= cols; ++c) {
            char buf[4096];
            SQLLEN ind = 0;
            SQLRETURN r = SQLGetData(m_hStmt, c, SQL_C_CHAR, buf, sizeof buf, &ind);
            EXPECT_TRUE(r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO) << Diag();
            row.emplace_back(ind == SQL_NULL_DATA ? std::string(kNull) : std::string(buf));
        }
        rows.push_back(std::move(row));
    }
    EXPECT_EQ(SQL_NO_DATA, rc) << Diag();
    return rows;
}

std::string OdbcTest::Value(const std::string& sql) {
    auto rows = Rows(sql);
    if (rows.size() != 1 || rows[0].size() != 1) {
        ADD_FAILURE() << "expected one value from " << sql << ", got " << rows.size() << " rows";
        return "";
    }
    return rows[0][0];
}

std::string OdbcTest::Diag() {
    SQLCHAR state[6] = "";
    SQLCHAR msg[512] = "";
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    if (!m_hStmt || SQLGetDiagRec(SQL_HANDLE_STMT, m_hStmt, 1, state, &native, msg, sizeof msg, &len) != SQL_SUCCESS)
        return "";
    return std::string((char*)state) + " " + (char*)msg;
}

}  // namespace odbctest
