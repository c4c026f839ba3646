// The program's one connection to its database file "mydata.tvd".
#include "store/ODBCClass.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "schema_texts.h"
#include "store/RecordList.h"
#include "win32.h"
#include "resources/message_texts.h"

ODBCClass g_ODBC;

namespace {

// Longest statement accepted: far beyond any record a form can hold
// (descriptions of tens of thousands of bytes, their quotes doubled).
const size_t kMaxStatement = 1u << 20;

// True for a statement that changes the file (INSERT, UPDATE, DELETE).
bool IsChange(const char* pszSQL) {
    while (*pszSQL == ' ' || *pszSQL == '\t' || *pszSQL == '\n' || *pszSQL == '\r') ++pszSQL;
    for (const char* pszVerb : {"INSERT", "UPDATE", "DELETE"})
        if (strncasecmp(pszSQL, pszVerb, std::strlen(pszVerb)) == 0) return true;
    return false;
}

}  // namespace

using store::ShowError;

ODBCClass::ODBCClass() : m_pszLongSQL(nullptr) {
    m_hEnv = SQL_NULL_HENV;
    m_hDbc = SQL_NULL_HDBC;
    m_nResult = SQL_SUCCESS;
    m_nIndicator = 0;
    m_hStmt = SQL_NULL_HSTMT;
    m_szConnect[0] = '\0';

    // The database lives in the program's own folder: the executable's path
    // up to and including its last path separator.
    char szPath[MAX_PATH];
    DWORD nLen = GetModuleFileNameA(nullptr, szPath, sizeof(szPath));
    if (nLen == 0 || nLen >= sizeof(szPath) - 1) return;  // unknown, or cut: no usable folder
    char* pSep = std::strrchr(szPath, '/');
    if (!pSep) return;
    pSep[1] = '\0';

    // A folder holding a character of the connection-string syntax goes in
    // braces (a '}' in it doubled), so that the driver reads the whole path;
    // every other folder is written as it is.
    std::string strFile = std::string(szPath) + "mydata.tvd";
    if (strFile.find_first_of(";{}") != std::string::npos) {
        std::string strQuoted = "{";
        for (char c : strFile) {
            strQuoted += c;
            if (c == '}') strQuoted += '}';
        }
        strFile = strQuoted + "}";
    }
    int n = std::snprintf(m_szConnect, sizeof(m_szConnect),
                          "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=%s;Uid=Admin;Pwd=qe7volnar;", strFile.c_str());
    if (n < 0 || size_t(n) >= sizeof(m_szConnect)) m_szConnect[0] = '\0';  // never a cut path
}

ODBCClass::~ODBCClass() {
    if (m_hStmt) SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
    SQLDisconnect(m_hDbc);
    SQLFreeHandle(SQL_HANDLE_DBC, m_hDbc);
    SQLFreeHandle(SQL_HANDLE_ENV, m_hEnv);
    m_hStmt = m_hDbc = m_hEnv = nullptr;
    std::free(m_pszLongSQL);
    m_pszLongSQL = nullptr;
}

int ODBCClass::co_InitODBC() {
    if (m_hEnv) return -1;
    m_bTroubleShown = false;

    m_nResult = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_hEnv);
    if (m_nResult != SQL_SUCCESS) {
        ShowError(msg::kOdbcAllocEnv);
        return -1;
    }
    m_nResult = SQLSetEnvAttr(m_hEnv, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, SQL_IS_INTEGER);
    if (m_nResult != SQL_SUCCESS) {
        ShowError(msg::kOdbcSetEnvAttr);
        return -1;
    }
    m_nResult = SQLAllocHandle(SQL_HANDLE_DBC, m_hEnv, &m_hDbc);
    if (m_nResult != SQL_SUCCESS) {
        ShowError(msg::kOdbcAllocDbc);
        return -1;
    }
    if (m_szConnect[0] == '\0') {
        // The folder could not be put into the connection string.
        m_nResult = SQL_ERROR;
        ShowError(msg::kOdbcNoFolder);
        ShowError(msg::kOdbcConnect);
        return -1;
    }
    SQLCHAR szOut[1024];
    SQLSMALLINT nOutLen = 0;
    m_nResult = SQLDriverConnect(m_hDbc, nullptr, (SQLCHAR*)m_szConnect, sizeof(m_szConnect), szOut, sizeof(szOut),
                                 &nOutLen, SQL_DRIVER_NOPROMPT);
    if (m_nResult != SQL_SUCCESS) {
        if (co_LastFailureIsDamage(SQL_HANDLE_DBC, m_hDbc)) co_ShowDamaged();
        ShowTroubleOf(SQL_HANDLE_DBC, m_hDbc);
        ShowError(msg::kOdbcConnect);
        return -1;
    }
    FileTrouble nTrouble = kNoTrouble;
    if (CheckTables(nTrouble) == -1) {
        // A file another program holds is not called damaged.
        if (nTrouble != kNoTrouble)
            co_ShowFileTrouble(nTrouble);
        else
            co_ShowDamaged();
        ShowError(msg::kOdbcConnect);
        SQLDisconnect(m_hDbc);
        m_nResult = SQL_ERROR;
        return -1;
    }
    return 0;
}

// Every table and saved query the program reads must be in the file; a file
// without them is another program's database (or a damaged one).
int ODBCClass::CheckTables(FileTrouble& nTrouble) {
    static const char* const kNames[] = {
        "opportunities",
        "accounts",
        "contacts",
        "tasks",
        "setting",
        "important",
        "relation",
        "province",
        "phase",
        "industry",
        "type",
        "opportunities_accounts",
        "opportunities_contacts",
        "opportunities_tasks",
        "accounts_contacts",
        "accounts_tasks",
        "contacts_tasks",
        "rel_accounts_opportunities",
        "rel_contacts_opportunities",
        "rel_tasks_opportunities",
        "rel_opportunities_accounts",
        "rel_tasks_accounts",
        "rel_opportunities_contacts",
        "rel_tasks_contacts",
        "rel_opportunities_tasks",
        "rel_accounts_tasks",
        "rel_contacts_tasks",
        "que_contacts_accounts",
    };
    constexpr SQLINTEGER kCount = SQLINTEGER(sizeof kNames / sizeof kNames[0]);
    // The program's own file: every name's table or saved query has the very
    // text the program's database is made with, and so compiles as it does
    // there. Comparing the texts compiles no saved query.
    std::string strSame = "SELECT count(*) FROM sqlite_master WHERE name || '|' || sql IN (";
    for (const char* pszName : kNames)
        for (const SchemaText& t : kSchemaTexts) {
            if (std::strcmp(t.name, pszName) != 0) continue;
            strSame += strSame.back() == '(' ? "'" : ",'";
            strSame += t.name;
            strSame += '|';
            for (const char* p = t.sql; *p; ++p) {
                const char* q = std::strchr(p, '\'');
                if (!q) {
                    strSame += p;
                    break;
                }
                strSame.append(p, q).append("''");
                p = q;
            }
            strSame += '\'';
        }
    strSame += ')';
    SQLHSTMT hStmt = SQL_NULL_HSTMT;
    if (SQLAllocHandle(SQL_HANDLE_STMT, m_hDbc, &hStmt) != SQL_SUCCESS) return -1;
    int r = 0;
    SQLINTEGER nSame = 0;
    SQLLEN nInd = 0;
    if (SQLExecDirect(hStmt, (SQLCHAR*)strSame.c_str(), SQL_NTS) != SQL_SUCCESS) {
        // The file cannot be read (in use, damaged): that is the trouble.
        nTrouble = co_LastFileTrouble(SQL_HANDLE_STMT, hStmt);
        r = -1;
    } else if (SQLFetch(hStmt) != SQL_SUCCESS ||
               SQLGetData(hStmt, 1, SQL_C_SLONG, &nSame, sizeof nSame, &nInd) != SQL_SUCCESS || nSame != kCount) {
        // Any other file: one statement over every name, whose compiling
        // finds each name and compiles each saved query; no row is read. One
        // statement takes the file's read lock once, not once per name.
        std::string strCompile;
        for (const char* pszName : kNames) {
            if (!strCompile.empty()) strCompile += " UNION ALL ";
            strCompile += std::string("SELECT 1 FROM ") + pszName + " WHERE 1=0";
        }
        if (SQLExecDirect(hStmt, (SQLCHAR*)strCompile.c_str(), SQL_NTS) != SQL_SUCCESS) {
            nTrouble = co_LastFileTrouble(SQL_HANDLE_STMT, hStmt);
            r = -1;
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, hStmt);
    return r;
}

namespace {
// Calls fn with the SQLite primary result code of each diagnostic record the
// handle holds (the first 15), in order, until fn returns true; whether it did.
template <class Fn>
bool AnyPrimaryCode(SQLSMALLINT nHandleType, SQLHANDLE hHandle, Fn fn) {
    if (!hHandle) return false;
    SQLCHAR szState[6];
    SQLINTEGER nNative = 0;
    SQLSMALLINT nLen = 0;
    for (SQLSMALLINT i = 1;
         SQLGetDiagRec(nHandleType, hHandle, i, szState, &nNative, nullptr, 0, &nLen) != SQL_NO_DATA && i < 16; ++i) {
        if (fn(int(nNative & 0xFF))) return true;
    }
    return false;
}
}  // namespace

bool ODBCClass::co_LastFailureIsDamage(SQLSMALLINT nHandleType, SQLHANDLE hHandle) const {
    return AnyPrimaryCode(nHandleType, hHandle, [](int nPrimary) {
        return nPrimary == 11 || nPrimary == 26;  // SQLITE_CORRUPT, SQLITE_NOTADB
    });
}

ODBCClass::FileTrouble ODBCClass::co_LastFileTrouble(SQLSMALLINT nHandleType, SQLHANDLE hHandle) const {
    FileTrouble nTrouble = kNoTrouble;
    AnyPrimaryCode(nHandleType, hHandle, [&](int nPrimary) {
        switch (nPrimary) {
        case 5:                                   // SQLITE_BUSY
        case 6: nTrouble = kFileInUse; break;     // SQLITE_LOCKED
        case 8: nTrouble = kFileReadOnly; break;  // SQLITE_READONLY
        case 13: nTrouble = kDiskFull; break;     // SQLITE_FULL
        default: break;
        }
        return nTrouble != kNoTrouble;
    });
    return nTrouble;
}

void ODBCClass::co_ShowFileTrouble(FileTrouble nTrouble) {
    if (nTrouble == kNoTrouble || m_bTroubleShown) return;
    m_bTroubleShown = true;
    const std::string strFile = FileName();
    std::string strText;
    switch (nTrouble) {
    case kFileInUse: strText = msg::kFileInUseBefore + strFile + msg::kFileInUseAfter; break;
    case kFileReadOnly: strText = msg::kFileReadOnlyBefore + strFile + msg::kFileReadOnlyAfter; break;
    default: strText = msg::kFileFullBefore + strFile + msg::kFileFullAfter; break;
    }
    ShowError(strText.c_str());
}

void ODBCClass::ShowTroubleOf(SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    co_ShowFileTrouble(co_LastFileTrouble(nHandleType, hHandle));
}

void ODBCClass::co_ShowDamaged() const {
    std::string strText = msg::kDamagedFileBefore + FileName() + msg::kDamagedFileAfter;
    ShowError(strText.c_str());
}

std::string ODBCClass::FileName() const {
    // The file named in the connection string (DBQ=...; or DBQ={...};).
    std::string strFile = "mydata.tvd";
    const char* p = std::strstr(m_szConnect, "DBQ=");
    if (p && p[4] == '{') {
        strFile.clear();
        for (p += 5; *p && !(p[0] == '}' && p[1] != '}'); ++p) {
            strFile += *p;
            if (p[0] == '}') ++p;  // "}}" stands for one '}'
        }
    } else if (p) {
        p += 4;
        const char* e = std::strchr(p, ';');
        strFile.assign(p, e ? size_t(e - p) : std::strlen(p));
    }
    return strFile;
}

void ODBCClass::co_CloseStatement() {
    if (m_hStmt) {
        SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
        m_hStmt = SQL_NULL_HSTMT;
    }
}

int ODBCClass::co_BeginTrans() {
    if (m_nTransDepth++ > 0) return 0;
    m_bRollbackOnly = false;
    m_bTroubleShown = false;  // a new action
    co_CloseStatement();
    m_nResult = SQLSetConnectAttr(m_hDbc, SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)SQL_AUTOCOMMIT_OFF, SQL_IS_UINTEGER);
    if (m_nResult != SQL_SUCCESS) {
        m_nTransDepth = 0;
        ShowTroubleOf(SQL_HANDLE_DBC, m_hDbc);
        ShowError(msg::kStoreTransBegin);
        return -1;
    }
    return 0;
}

void ODBCClass::co_ReleaseFile() {
    co_CloseStatement();
    if (m_nTransDepth > 0 && m_hDbc) {
        m_bRollbackOnly = true;
        SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_ROLLBACK);
    }
}

int ODBCClass::co_EndTrans(bool bCommit) {
    if (m_nTransDepth <= 0) return -1;
    if (!bCommit) m_bRollbackOnly = true;
    if (--m_nTransDepth > 0) return 0;
    co_CloseStatement();
    bool bRollback = m_bRollbackOnly;
    m_bRollbackOnly = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_hDbc, bRollback ? SQL_ROLLBACK : SQL_COMMIT);
    bool bDamaged = rc != SQL_SUCCESS && co_LastFailureIsDamage(SQL_HANDLE_DBC, m_hDbc);
    const FileTrouble nTrouble = rc != SQL_SUCCESS ? co_LastFileTrouble(SQL_HANDLE_DBC, m_hDbc) : kNoTrouble;
    if (rc != SQL_SUCCESS && !bRollback) SQLEndTran(SQL_HANDLE_DBC, m_hDbc, SQL_ROLLBACK);
    // Back to auto-commit mode; nothing is open any more.
    SQLSetConnectAttr(m_hDbc, SQL_ATTR_AUTOCOMMIT, (SQLPOINTER)SQL_AUTOCOMMIT_ON, SQL_IS_UINTEGER);
    m_nResult = rc;
    if (rc == SQL_SUCCESS) return bRollback ? -1 : 0;
    if (bDamaged) co_ShowDamaged();
    co_ShowFileTrouble(nTrouble);
    ShowError(msg::kStoreTransCommit);
    return -1;
}

int ODBCClass::co_FormatSQL(const char* pszFormat, ...) {
    std::free(m_pszLongSQL);
    m_pszLongSQL = nullptr;

    va_list ap, ap2;
    va_start(ap, pszFormat);
    va_copy(ap2, ap);
    int n = std::vsnprintf(m_szSQL, sizeof(m_szSQL), pszFormat, ap);
    va_end(ap);
    if (n >= 0 && size_t(n) < sizeof(m_szSQL)) {
        va_end(ap2);
        return 0;
    }
    // Never leave a cut statement behind to be run.
    m_szSQL[0] = '\0';
    if (n < 0 || size_t(n) > kMaxStatement) {
        va_end(ap2);
        ShowError(msg::kOdbcTooLong);
        return -1;
    }
    m_pszLongSQL = static_cast<char*>(std::malloc(size_t(n) + 1));
    if (!m_pszLongSQL) {
        va_end(ap2);
        ShowError(msg::kOdbcTooLong);
        return -1;
    }
    std::vsnprintf(m_pszLongSQL, size_t(n) + 1, pszFormat, ap2);
    va_end(ap2);
    return 0;
}

const char* ODBCClass::co_GetSQL() const { return m_pszLongSQL ? m_pszLongSQL : m_szSQL; }

int ODBCClass::co_ExecSQL() {
    if (m_hStmt) {
        SQLFreeHandle(SQL_HANDLE_STMT, m_hStmt);
        m_hStmt = SQL_NULL_HSTMT;
    }
    m_nResult = SQLAllocHandle(SQL_HANDLE_STMT, m_hDbc, &m_hStmt);
    if (m_nResult != SQL_SUCCESS) {
        m_hStmt = SQL_NULL_HSTMT;
        std::free(m_pszLongSQL);
        m_pszLongSQL = nullptr;
        ShowError(msg::kOdbcAllocStmt);
        return -1;
    }
    // A change run outside a transaction is an action of its own.
    if (m_nTransDepth == 0 && IsChange(co_GetSQL())) m_bTroubleShown = false;
    m_nResult = SQLExecDirect(m_hStmt, (SQLCHAR*)co_GetSQL(), SQL_NTS);
    // A long statement runs once; the next one is formatted afresh.
    std::free(m_pszLongSQL);
    m_pszLongSQL = nullptr;
    if (m_nResult == SQL_SUCCESS || m_nResult == SQL_NO_DATA) {
        m_bTroubleShown = false;  // the file answers again
        return m_nResult == SQL_SUCCESS ? 0 : -100;
    }
    bool bDamaged = co_LastFailureIsDamage(SQL_HANDLE_STMT, m_hStmt);
    const FileTrouble nTrouble = co_LastFileTrouble(SQL_HANDLE_STMT, m_hStmt);
    co_CloseStatement();
    if (bDamaged) co_ShowDamaged();
    co_ShowFileTrouble(nTrouble);
    ShowError(msg::kOdbcExec);
    return -1;
}

int ODBCClass::co_GetNextData() {
    m_nResult = SQLFetch(m_hStmt);
    if (m_nResult == SQL_NO_DATA) return -1;
    if (m_nResult == SQL_ERROR && co_LastFailureIsDamage(SQL_HANDLE_STMT, m_hStmt)) co_ShowDamaged();
    if (m_nResult == SQL_ERROR) ShowTroubleOf(SQL_HANDLE_STMT, m_hStmt);
    return 0;
}

int ODBCClass::co_SQLGetData(SQLUSMALLINT nColumn, SQLSMALLINT nType, SQLPOINTER pBuffer, SQLINTEGER nLength) {
    m_nResult = SQLGetData(m_hStmt, nColumn, nType, pBuffer, nLength, &m_nIndicator);
    if (m_nResult == SQL_SUCCESS || m_nResult == SQL_SUCCESS_WITH_INFO) return 0;
    ShowError(msg::kOdbcGetData);
    return -1;
}

int ODBCClass::co_GetDataLen(SQLUSMALLINT nColumn, SQLUSMALLINT nType, SQLPOINTER pBuffer) {
    m_nResult = SQLGetData(m_hStmt, nColumn, SQLSMALLINT(nType), pBuffer, 0, &m_nIndicator);
    if (m_nResult == SQL_SUCCESS_WITH_INFO) return m_nIndicator;
    if (m_nResult == SQL_SUCCESS) return -2;
    ShowError(msg::kOdbcGetDataLen);
    return -1;
}
