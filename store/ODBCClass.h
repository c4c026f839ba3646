// The program's one connection to its database file "mydata.tvd".
#pragma once

#include "odbc.h"

class ODBCClass {
public:
    char m_szSQL[2048];       // statement text; callers format into it
    SQLHENV m_hEnv;
    SQLHDBC m_hDbc;
    SQLRETURN m_nResult;      // return code of the last ODBC call
    SQLINTEGER m_nIndicator;  // length/indicator of the last column read
    char m_szConnect[256];    // connection string, built by the constructor
    SQLHSTMT m_hStmt;

    ODBCClass();
    ~ODBCClass();

    int co_InitODBC();
    int co_ExecSQL();
    int co_GetNextData();
    int co_SQLGetData(SQLUSMALLINT nColumn, SQLSMALLINT nType, SQLPOINTER pBuffer, SQLINTEGER nLength);
    int co_GetDataLen(SQLUSMALLINT nColumn, SQLUSMALLINT nType, SQLPOINTER pBuffer);

    // Bounded statement formatting: every statement of the data classes goes
    // through here. A text that fits goes into m_szSQL; a longer one (a long
    // description) goes into a heap buffer that co_ExecSQL runs instead, so
    // nothing is ever cut or written past m_szSQL. Returns 0, or -1 with a
    // message when the text cannot be formatted.
    int co_FormatSQL(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));
    // The statement text that co_ExecSQL will run.
    const char* co_GetSQL() const;

private:
    char* m_pszLongSQL;  // set while the pending statement is longer than m_szSQL
};

extern ODBCClass g_ODBC;
