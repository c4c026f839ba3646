// A fresh copy of the shipped database, connected through the ODBC layer.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odbc.h"

namespace odbctest {

inline const char kNull[] = "<NULL>";

// Copies the pristine database into a new temporary folder.
std::string MakeTempCopy(std::string& folder);

class OdbcTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Connects a new connection handle with the given connection string.
    SQLRETURN Connect(SQLHDBC& dbc, const std::string& connect);
    std::string ConnectString(const std::string& path) const;

    // Runs a statement (GBK text) on a new statement handle kept in m_hStmt.
    SQLRETURN Exec(const std::string& sql);
    // Exec, expecting SQL_SUCCESS, then every row, every column read as
    // SQL_C_CHAR (GBK); NULL reads as kNull.
    std::vector<std::vector<std::string>> Rows(const std::string& sql);
    // Single value of a one-row, one-column result.
    std::string Value(const std::string& sql);
    // SQLSTATE and message of the statement handle's first diagnostic.
    std::string Diag();

    std::string m_folder, m_path;
    SQLHENV m_hEnv = nullptr;
    SQLHDBC m_hDbc = nullptr;
    SQLHSTMT m_hStmt = nullptr;
};

}  // namespace odbctest
