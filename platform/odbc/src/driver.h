// Handle objects of the ODBC driver over SQLite.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jetsql.h"
#include "odbc.h"

namespace odbcdrv {

enum : uint32_t { kEnvMagic = 0x454e5631, kDbcMagic = 0x44424331, kStmtMagic = 0x53544d31 };

struct DiagRecord {
    const char* state;  // five-character SQLSTATE
    int native = 0;     // SQLite result code, or 0
    const char* fixed;  // a constant message, or null
    std::string text;   // else this one (GBK)
    const char* Message() const { return fixed ? fixed : text.c_str(); }
};

// Prefix of every diagnostic text.
#define ODBC_DIAG_PREFIX "[Tarvel][ODBC Access over SQLite] "

struct Handle {
    uint32_t magic;
    std::vector<DiagRecord> diags;
    explicit Handle(uint32_t m) : magic(m) {}
    void ClearDiag() { diags.clear(); }
    SQLRETURN Error(const char* state, std::string message, int native = 0) {
        diags.push_back(DiagRecord{state, native, nullptr, std::move(message)});
        return SQL_ERROR;
    }
    // Constant texts: no allocation on the paths that run per cell.
    SQLRETURN Fail(const char* state, const char* constantMessage) {
        diags.push_back(DiagRecord{state, 0, constantMessage, std::string()});
        return SQL_ERROR;
    }
    void Info(const char* state, const char* constantMessage) {
        diags.push_back(DiagRecord{state, 0, constantMessage, std::string()});
    }
};

struct Dbc;

struct Env : Handle {
    SQLUINTEGER version = 0;
    std::vector<Dbc*> dbcs;
    Env() : Handle(kEnvMagic) {}
};

struct Stmt;

struct Dbc : Handle {
    Env* env;
    sqlite3* db = nullptr;
    std::vector<Stmt*> stmts;
    bool autocommit = true;  // SQL_ATTR_AUTOCOMMIT
    // SQLite reported the file damaged or not a database during this
    // connection: no statement that writes is run on it any more.
    bool damaged = false;
    explicit Dbc(Env* e) : Handle(kDbcMagic), env(e) {}
    // Notes a SQLite result code; true when it reports a damaged file.
    bool NoteResult(int rc) {
        int primary = rc & 0xFF;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) damaged = true;
        return damaged;
    }
};

struct Stmt : Handle {
    Dbc* dbc;
    sqlite3_stmt* st = nullptr;
    jetsql::StatementKind kind = jetsql::StatementKind::Other;
    int columns = 0;
    bool pendingRow = false;  // the first row was stepped by SQLExecDirect
    bool onRow = false;       // SQLFetch positioned on a row
    bool done = false;        // no further row
    long long rowCount = -1;
    // Per column of the current row: bytes of character data already
    // returned, or -1 once the whole value has been returned.
    std::vector<int32_t> offsets;
    // GBK text of one cell of the current row, kept across partial reads.
    int cacheColumn = -1;
    const char* cacheData = nullptr;
    size_t cacheSize = 0;
    std::string cacheBuffer;
    std::string utf8;  // statement text, reused
    jetsql::Translation translation;

    explicit Stmt(Dbc* d) : Handle(kStmtMagic), dbc(d) {}
    void Reset();
};

// Registers the collation and the Jet functions on a new connection.
int RegisterFunctions(sqlite3* db);

// Maps a SQLite failure to an SQLSTATE.
const char* StateOf(int rc, const char* message);

}  // namespace odbcdrv
