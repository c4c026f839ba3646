#include "tests/support/TestDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "store/ODBCClass.h"
#include "platform/gbk/gbk.h"

namespace testsupport {

std::string TemplateDatabasePath() { return TARVEL_DB_TEMPLATE_PATH; }

TempDatabase::TempDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-test-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
        ADD_FAILURE() << "mkdtemp failed: " << std::strerror(errno);
        return;
    }
    m_strFolder = std::string(buf.data()) + "/";
    m_strPath = m_strFolder + "mydata.tvd";
    std::error_code ec;
    std::filesystem::copy_file(TemplateDatabasePath(), m_strPath, ec);
    if (ec) ADD_FAILURE() << "cannot copy " << TemplateDatabasePath() << ": " << ec.message();
}

TempDatabase::~TempDatabase() {
    if (m_strFolder.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(m_strFolder, ec);
}

void ResetGlobalConnection() {
    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
}

int ConnectGlobal(const std::string& strPath) {
    ResetGlobalConnection();
    std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(strPath) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) {
        ADD_FAILURE() << "database path too long for the connection string: " << strPath;
        return -1;
    }
    std::memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
    return g_ODBC.co_InitODBC();
}

std::vector<std::vector<std::string>> RawQuery(const std::string& strPath, const std::string& strSql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(strPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << strPath;
        sqlite3_close(db);
        return rows;
    }
    sqlite3_busy_timeout(db, 2000);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, strSql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "raw query failed: " << sqlite3_errmsg(db) << "\n" << strSql;
        sqlite3_close(db);
        return rows;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char* t = sqlite3_column_text(st, i);
            row.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) ADD_FAILURE() << "raw query failed: " << sqlite3_errmsg(db) << "\n" << strSql;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

void RawExec(const std::string& strPath, const std::string& strSql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(strPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << strPath;
        sqlite3_close(db);
        return;
    }
    sqlite3_busy_timeout(db, 2000);
    char* pszError = nullptr;
    if (sqlite3_exec(db, strSql.c_str(), nullptr, nullptr, &pszError) != SQLITE_OK)
        ADD_FAILURE() << "raw statement failed: " << (pszError ? pszError : "") << "\n" << strSql;
    sqlite3_free(pszError);
    sqlite3_close(db);
}

std::string LinksToMissingRecords(const std::string& strPath) {
    static const char kSql[] =
        "SELECT 'opportunities_accounts', opp_id, acc_id FROM opportunities_accounts"
        " WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) OR acc_id NOT IN (SELECT acc_id FROM accounts)"
        " UNION ALL SELECT 'opportunities_contacts', opp_id, con_id FROM opportunities_contacts"
        " WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) OR con_id NOT IN (SELECT con_id FROM contacts)"
        " OR (acc_id<>0 AND acc_id NOT IN (SELECT acc_id FROM accounts))"
        " UNION ALL SELECT 'opportunities_tasks', opp_id, tas_id FROM opportunities_tasks"
        " WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) OR tas_id NOT IN (SELECT tas_id FROM tasks)"
        " UNION ALL SELECT 'accounts_contacts', acc_id, con_id FROM accounts_contacts"
        " WHERE acc_id NOT IN (SELECT acc_id FROM accounts) OR con_id NOT IN (SELECT con_id FROM contacts)"
        " UNION ALL SELECT 'accounts_tasks', acc_id, tas_id FROM accounts_tasks"
        " WHERE acc_id NOT IN (SELECT acc_id FROM accounts) OR tas_id NOT IN (SELECT tas_id FROM tasks)"
        " UNION ALL SELECT 'contacts_tasks', con_id, tas_id FROM contacts_tasks"
        " WHERE con_id NOT IN (SELECT con_id FROM contacts) OR tas_id NOT IN (SELECT tas_id FROM tasks)";
    std::string out;
    for (const auto& row : RawQuery(strPath, kSql)) out += row[0] + " (" + row[1] + ", " + row[2] + ")\n";
    return out;
}

}  // namespace testsupport
