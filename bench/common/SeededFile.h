// The database files the list benchmarks share: a copy of the empty database
// in a folder of its own, filled (plain SQLite, one transaction) with records
// shaped like a salesperson's: Chinese names and subjects mixed with Latin
// letters and digits, Chinese keywords in the descriptions. The same kind and
// count give the same file in every benchmark. Also the list queries the
// pages run, and a bare sqlite3 read of them into strings: the yardsticks.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace bench {

enum class Records { Opportunities, Accounts, Contacts, Tasks };

// Sizes of the files the benchmarks compare on.
constexpr int kOpportunities = 100000;
constexpr int kAccounts = 100000;
constexpr int kContacts = 100000;
constexpr int kContactAccounts = 20000;  // the accounts the contacts work for
constexpr int kTasks = 50000;
constexpr int kTasksInJune2024 = 4500;  // the busy month the task calendar benchmarks show

// A fresh copy of the empty database in a temporary folder, removed with the
// object. Fill() seeds it; an empty path means it could not be made.
class SeededFile {
public:
    explicit SeededFile(const char* pszTag);
    ~SeededFile();
    SeededFile(const SeededFile&) = delete;
    SeededFile& operator=(const SeededFile&) = delete;

    // Adds `count` records of the kind (for contacts also kContactAccounts
    // accounts they work for, for accounts 1,000 opportunities linked to
    // every second one). False when a statement fails.
    bool Fill(Records kind, int count);
    const std::string& Path() const { return m_strPath; }
    // The first column of the first row of a statement on the file, or -1.
    long long Scalar(const char* pszSql) const;

private:
    std::string m_strFolder, m_strPath;
};

// The file of `count` records of the kind, made and filled at the first ask
// and kept (removed at exit); null when it could not be made.
const SeededFile* FileOf(Records kind, int count);

// What the driver adds to its connections (the collation of every ORDER BY
// term, DATEADD), for bare connections.
void AddDriverCollation(sqlite3* db);

// A statement text as the store formats it (GBK), in SQLite's dialect as the
// driver runs it (UTF-8, the Chinese collation on every ORDER BY term).
std::string ToSqlite(const char* pszJet);

// The all-records list of one kind as its page opens it and as it re-sorts
// it by its first column, one way and the other.
struct ListQueries {
    const char* pszName;
    const char* pszOpen;
    const char* pszSorted[2];  // ascending, descending
};
const ListQueries& QueriesOf(Records kind);

// Reads every row of the query into strings, as a hand-written program
// would; returns the row count, or -1.
int ReadAllRows(sqlite3* db, const std::string& sql, std::vector<std::string>& cells);

}  // namespace bench
