// Fresh copies of the shipped database file for tests, and the global
// connection g_ODBC pointed at them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// The pristine database file the build makes from resources/*.sql.
std::string TemplateDatabasePath();

// A new temporary folder holding a copy of the pristine mydata.tvd;
// the folder and everything in it go with the object.
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::string& Folder() const { return m_strFolder; }  // ends with '/'
    const std::string& Path() const { return m_strPath; }      // Folder() + "mydata.tvd"

private:
    std::string m_strFolder;
    std::string m_strPath;
};

// Destroys g_ODBC and constructs it anew in place (unconnected, as after
// the program's static initialisation).
void ResetGlobalConnection();
// ResetGlobalConnection(), then points g_ODBC's connection string at the
// file (UTF-8 path) and runs co_InitODBC; returns its result.
int ConnectGlobal(const std::string& strPath);

// Runs a statement with plain SQLite (no ODBC layer) on the file and returns
// the rows as UTF-8 texts ("" for NULL); fails the test on an error.
std::vector<std::vector<std::string>> RawQuery(const std::string& strPath, const std::string& strSql);
// The link rows of the file (the six link tables) that name a record that
// does not exist, one line each ("" when every link row names records that
// exist; an opportunity's contact may have account 0).
std::string LinksToMissingRecords(const std::string& strPath);
// Runs statements (one or more) with plain SQLite on the file; fails the
// test on an error.
void RawExec(const std::string& strPath, const std::string& strSql);

// Fixture (library store_testsupport only): each test gets a fresh database copy, g_ODBC connected to it and
// an empty message-box record.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const std::string& DatabasePath() const { return m_pDatabase->Path(); }
    std::vector<std::vector<std::string>> Raw(const std::string& strSql) { return RawQuery(DatabasePath(), strSql); }

    TempDatabase* m_pDatabase = nullptr;
};

}  // namespace testsupport
