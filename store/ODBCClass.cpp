// The program's one connection to its database file "mydata.tvd".
#include "store/ODBCClass.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "store/RecordList.h"
#include "win32.h"
#include "resources/message_texts.h"

ODBCClass g_ODBC;

namespace {

// Longest statement accepted: far beyond any record a form can hold
// (descriptions of tens of thousands of bytes, their quotes doubled).
const size_t kMaxStatement = 1u << 20;

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
    DWORD nLen = GetModuleFileNameA(NULL, szPath, sizeof(szPath));
    if (nLen == 0 || nLen >= sizeof(szPath) - 1) return;  // unknown, or cut: no usable folder
    char* pSep = std::strrchr(szPath, '/');
    if (!pSep) return;
    pSep[1] = '\0';

    int n = std::snprintf(m_szConnect, sizeof(m_szConnect),
                          "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=%smydata.tvd;Uid=Admin;Pwd=qe7volnar;", szPath);
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
    m_nResult = SQLDriverConnect(m_hDbc, NULL, (SQLCHAR*)m_szConnect, sizeof(m_szConnect), szOut, sizeof(szOut),
                                 &nOutLen, SQL_DRIVER_NOPROMPT);
    if (m_nResult != SQL_SUCCESS) {
        ShowError(msg::kOdbcConnect);
        return -1;
    }
    return 0;
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
    m_nResult = SQLExecDirect(m_hStmt, (SQLCHAR*)co_GetSQL(), SQL_NTS);
    // A long statement runs once; the next one is formatted afresh.
    std::free(m_pszLongSQL);
    m_pszLongSQL = nullptr;
    if (m_nResult == SQL_SUCCESS) return 0;
    if (m_nResult == SQL_NO_DATA) return -100;
    ShowError(msg::kOdbcExec);
    return -1;
}

int ODBCClass::co_GetNextData() {
    m_nResult = SQLFetch(m_hStmt);
    if (m_nResult == SQL_NO_DATA) return -1;
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
