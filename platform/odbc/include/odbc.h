// ODBC 3 call level interface, the part this program uses, implemented by
// our own driver over SQLite 3 (platform/odbc/src). The driver accepts the
// Microsoft Access (Jet) SQL dialect and speaks GBK (code page 936) at its
// edge; the database file itself stores UTF-8.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Scalar types
// ---------------------------------------------------------------------------
typedef unsigned char SQLCHAR;
typedef signed char SQLSCHAR;
typedef int16_t SQLSMALLINT;
typedef uint16_t SQLUSMALLINT;
typedef int32_t SQLINTEGER;
typedef uint32_t SQLUINTEGER;
typedef int32_t SQLLEN;  // lengths and indicators: signed 32-bit
typedef uint32_t SQLULEN;
typedef double SQLDOUBLE;
typedef double SQLFLOAT;
typedef float SQLREAL;
typedef void* SQLPOINTER;
typedef SQLSMALLINT SQLRETURN;

typedef void* SQLHANDLE;
typedef SQLHANDLE SQLHENV;
typedef SQLHANDLE SQLHDBC;
typedef SQLHANDLE SQLHSTMT;
typedef void* SQLHWND;

#define SQL_NULL_HANDLE 0
#define SQL_NULL_HENV 0
#define SQL_NULL_HDBC 0
#define SQL_NULL_HSTMT 0

// ---------------------------------------------------------------------------
// Return codes
// ---------------------------------------------------------------------------
#define SQL_SUCCESS 0
#define SQL_SUCCESS_WITH_INFO 1
#define SQL_NO_DATA 100
#define SQL_NO_DATA_FOUND SQL_NO_DATA
#define SQL_ERROR (-1)
#define SQL_INVALID_HANDLE (-2)
#define SQL_STILL_EXECUTING 2
#define SQL_NEED_DATA 99
#define SQL_SUCCEEDED(rc) (((rc) & (~1)) == 0)

// ---------------------------------------------------------------------------
// Handles, attributes, lengths
// ---------------------------------------------------------------------------
#define SQL_HANDLE_ENV 1
#define SQL_HANDLE_DBC 2
#define SQL_HANDLE_STMT 3

#define SQL_ATTR_ODBC_VERSION 200
#define SQL_ATTR_AUTOCOMMIT 102
#define SQL_AUTOCOMMIT_OFF 0UL
#define SQL_AUTOCOMMIT_ON 1UL

#define SQL_COMMIT 0
#define SQL_ROLLBACK 1
#define SQL_OV_ODBC2 2UL
#define SQL_OV_ODBC3 3UL

#define SQL_IS_POINTER (-4)
#define SQL_IS_UINTEGER (-5)
#define SQL_IS_INTEGER (-6)
#define SQL_IS_USMALLINT (-7)
#define SQL_IS_SMALLINT (-8)

#define SQL_NTS (-3)
#define SQL_NULL_DATA (-1)
#define SQL_NO_TOTAL (-4)

#define SQL_DRIVER_NOPROMPT 0
#define SQL_DRIVER_COMPLETE 1
#define SQL_DRIVER_PROMPT 2
#define SQL_DRIVER_COMPLETE_REQUIRED 3

#define SQL_MAX_MESSAGE_LENGTH 512

// ---------------------------------------------------------------------------
// C data types (targets of SQLGetData)
// ---------------------------------------------------------------------------
#define SQL_C_CHAR 1
#define SQL_C_LONG 4
#define SQL_C_SHORT 5
#define SQL_C_FLOAT 7
#define SQL_C_DOUBLE 8
#define SQL_C_DEFAULT 99
#define SQL_C_SLONG (-16)
#define SQL_C_ULONG (-18)
#define SQL_C_TYPE_DATE 91
#define SQL_C_TYPE_TIME 92
#define SQL_C_TYPE_TIMESTAMP 93

// SQL data types (reported by SQLDescribeCol)
#define SQL_UNKNOWN_TYPE 0
#define SQL_CHAR 1
#define SQL_NUMERIC 2
#define SQL_INTEGER 4
#define SQL_DOUBLE 8
#define SQL_VARCHAR 12
#define SQL_LONGVARCHAR (-1)
#define SQL_TYPE_DATE 91
#define SQL_TYPE_TIME 92
#define SQL_NO_NULLS 0
#define SQL_NULLABLE 1
#define SQL_NULLABLE_UNKNOWN 2

// ---------------------------------------------------------------------------
// Structures
// ---------------------------------------------------------------------------
typedef struct tagDATE_STRUCT {
    SQLSMALLINT year;
    SQLUSMALLINT month;
    SQLUSMALLINT day;
} DATE_STRUCT, SQL_DATE_STRUCT;

typedef struct tagTIME_STRUCT {
    SQLUSMALLINT hour;
    SQLUSMALLINT minute;
    SQLUSMALLINT second;
} TIME_STRUCT, SQL_TIME_STRUCT;

typedef struct tagTIMESTAMP_STRUCT {
    SQLSMALLINT year;
    SQLUSMALLINT month;
    SQLUSMALLINT day;
    SQLUSMALLINT hour;
    SQLUSMALLINT minute;
    SQLUSMALLINT second;
    SQLUINTEGER fraction;
} TIMESTAMP_STRUCT, SQL_TIMESTAMP_STRUCT;

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------
SQLRETURN SQLAllocHandle(SQLSMALLINT HandleType, SQLHANDLE InputHandle, SQLHANDLE* OutputHandle);
SQLRETURN SQLFreeHandle(SQLSMALLINT HandleType, SQLHANDLE Handle);
SQLRETURN SQLSetEnvAttr(SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER StringLength);

// Connection string keys: DRIVER={Microsoft Access Driver (*.mdb)} and DBQ=<file>;
// UID and PWD are accepted. The file must exist: it is never created.
SQLRETURN SQLDriverConnect(SQLHDBC ConnectionHandle, SQLHWND WindowHandle, SQLCHAR* InConnectionString,
                           SQLSMALLINT StringLength1, SQLCHAR* OutConnectionString, SQLSMALLINT BufferLength,
                           SQLSMALLINT* StringLength2Ptr, SQLUSMALLINT DriverCompletion);
SQLRETURN SQLDisconnect(SQLHDBC ConnectionHandle);

// SQL_ATTR_AUTOCOMMIT only. With SQL_AUTOCOMMIT_OFF the first statement
// after a connect or an SQLEndTran opens a transaction (taking the file's
// write lock); SQLEndTran commits or rolls it back and closes every cursor
// of the connection. Setting SQL_AUTOCOMMIT_ON commits an open transaction.
SQLRETURN SQLSetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER StringLength);
SQLRETURN SQLGetConnectAttr(SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value, SQLINTEGER BufferLength,
                            SQLINTEGER* StringLengthPtr);
SQLRETURN SQLEndTran(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT CompletionType);

// Runs one statement. A searched UPDATE or DELETE that touches no row returns
// SQL_NO_DATA; a text holding more than one statement, or a byte sequence that
// is no code page 936 character (SQLSTATE 22021), is refused. Once SQLite has
// reported the file damaged (native error SQLITE_CORRUPT or SQLITE_NOTADB),
// no statement that writes runs on the connection.
SQLRETURN SQLExecDirect(SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength);
SQLRETURN SQLFetch(SQLHSTMT StatementHandle);
SQLRETURN SQLGetData(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLSMALLINT TargetType,
                     SQLPOINTER TargetValue, SQLLEN BufferLength, SQLLEN* StrLen_or_IndPtr);
SQLRETURN SQLCloseCursor(SQLHSTMT StatementHandle);
SQLRETURN SQLNumResultCols(SQLHSTMT StatementHandle, SQLSMALLINT* ColumnCountPtr);
SQLRETURN SQLDescribeCol(SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLCHAR* ColumnName,
                         SQLSMALLINT BufferLength, SQLSMALLINT* NameLengthPtr, SQLSMALLINT* DataTypePtr,
                         SQLULEN* ColumnSizePtr, SQLSMALLINT* DecimalDigitsPtr, SQLSMALLINT* NullablePtr);
SQLRETURN SQLRowCount(SQLHSTMT StatementHandle, SQLLEN* RowCountPtr);
SQLRETURN SQLGetDiagRec(SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber, SQLCHAR* SQLState,
                        SQLINTEGER* NativeErrorPtr, SQLCHAR* MessageText, SQLSMALLINT BufferLength,
                        SQLSMALLINT* TextLengthPtr);
