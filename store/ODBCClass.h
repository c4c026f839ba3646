// The program's one connection to its database file "mydata.tvd".
#pragma once

#include <string>

#include "odbc.h"

class ODBCClass {
public:
    char m_szSQL[2048];  // statement text; callers format into it
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

    // Ends the current statement and its result, so that the file is not
    // kept locked once the caller has what it reads.
    void co_CloseStatement();

    // Transactions of the store's operations (see store::Transaction).
    // co_BeginTrans switches to manual-commit mode; calls nest, and only the
    // outermost co_EndTrans ends the transaction: it commits when bCommit
    // and no inner level has asked for a rollback, else it rolls back.
    // Returns 0, or -1 (rolled back) after a message.
    int co_BeginTrans();
    int co_EndTrans(bool bCommit);
    // Before the program waits for the user (a message box): ends the
    // current statement and rolls back an open transaction at once, so that
    // no lock on the file is held while the box is up.
    void co_ReleaseFile();

    // True when the last failure on the connection or statement was SQLite
    // reporting the file damaged or not a database.
    bool co_LastFailureIsDamage(SQLSMALLINT nHandleType, SQLHANDLE hHandle) const;
    // Shows that the database file (named) is damaged or not this program's.
    void co_ShowDamaged() const;

    // What keeps the file from being used, by the last failure on the
    // connection or statement.
    enum FileTrouble { kNoTrouble, kFileInUse, kFileReadOnly, kDiskFull };
    FileTrouble co_LastFileTrouble(SQLSMALLINT nHandleType, SQLHANDLE hHandle) const;
    // Shows what keeps the file (named) from being used, once per failed
    // action: not again for the following failures until the action ends
    // (co_EndAction), a statement succeeds, a transaction begins, or a change
    // is run on its own.
    void co_ShowFileTrouble(FileTrouble nTrouble);
    // The user's action is over: the next failure shows its trouble again.
    void co_EndAction() { m_bTroubleShown = false; }

private:
    char* m_pszLongSQL;  // set while the pending statement is longer than m_szSQL
    int m_nTransDepth = 0;
    bool m_bRollbackOnly = false;
    bool m_bTroubleShown = false;  // the failed action's file trouble was shown

    // The file's name as the connection string gives it.
    std::string FileName() const;
    // Shows the trouble of the last failure on the handle, if any.
    void ShowTroubleOf(SQLSMALLINT nHandleType, SQLHANDLE hHandle);
    // -1 when a table is missing or cannot be read (nTrouble says why when
    // the file is in use or cannot be used).
    int CheckTables(FileTrouble& nTrouble);
};

extern ODBCClass g_ODBC;
