// ODBC entry points over SQLite 3: handles, connection, statements, results.
#include "driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gbk/gbk.h"
#include "win32_virtualstore.h"

using namespace odbcdrv;

namespace {

const char kDriverName[] = "Microsoft Access Driver (*.mdb)";
const char kPrefix[] = ODBC_DIAG_PREFIX;
const int kBusyTimeoutMs = 1500;

template <typename T>
T* As(SQLHANDLE h, uint32_t magic) {
    if (!h) return nullptr;
    T* p = static_cast<T*>(h);
    return p->magic == magic ? p : nullptr;
}

bool EqualsNoCase(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

// Text of a call argument: SQL_NTS, or an explicit length that stops at a NUL.
std::string ArgText(const SQLCHAR* p, long len) {
    if (!p) return std::string();
    const char* s = reinterpret_cast<const char*>(p);
    if (len == SQL_NTS) return std::string(s);
    if (len < 0) return std::string();
    return std::string(s, strnlen(s, size_t(len)));
}

// GBK diagnostic text from a SQLite (UTF-8) message.
std::string DiagText(const char* utf8) {
    std::string out = kPrefix;
    jetsql::Utf8ToGbk(utf8, std::strlen(utf8), out);
    return out;
}

// Parses "KEY=value;KEY={value};..." into (upper-case key, value) pairs.
bool ParseConnectString(const std::string& s, std::vector<std::pair<std::string, std::string>>& out) {
    size_t i = 0, n = s.size();
    while (i < n) {
        while (i < n && (s[i] == ';' || std::isspace(static_cast<unsigned char>(s[i])))) ++i;
        if (i >= n) break;
        size_t eq = s.find('=', i);
        if (eq == std::string::npos) return false;
        std::string key = Trim(s.substr(i, eq - i));
        for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
        i = eq + 1;
        while (i < n && s[i] == ' ') ++i;
        std::string value;
        if (i < n && s[i] == '{') {
            ++i;
            for (;;) {
                if (i >= n) return false;
                if (s[i] == '}') {
                    if (i + 1 < n && s[i + 1] == '}') {
                        value += '}';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s[i++];
            }
            while (i < n && s[i] != ';') {
                if (!std::isspace(static_cast<unsigned char>(s[i]))) return false;
                ++i;
            }
        } else {
            size_t semi = s.find(';', i);
            if (semi == std::string::npos) semi = n;
            value = Trim(s.substr(i, semi - i));
            i = semi;
        }
        if (key.empty()) return false;
        out.emplace_back(key, value);
    }
    return true;
}

// Blanks around numbers in texts: ASCII only, whatever the C library's locale.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text between leading and trailing blanks, without one leading '+'
// (which from_chars does not take); false when nothing is left.
bool NumberText(const char* s, const char*& begin, const char*& end) {
    while (IsBlank(*s)) ++s;
    const char* e = s + std::strlen(s);
    while (e > s && IsBlank(e[-1])) --e;
    if (s < e && *s == '+') ++s;
    if (s == e) return false;
    begin = s;
    end = e;
    return true;
}

// A decimal number with '.' as the decimal point, read without the C
// library's locale; false for anything else or a value out of range.
bool ParseDouble(const char* s, double& v) {
    const char *b, *e;
    if (!NumberText(s, b, e)) return false;
    double d;
    auto r = std::from_chars(b, e, d, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != e) return false;
    v = d;
    return true;
}

// A whole number, or a decimal one (cut towards zero) within range.
bool ParseLong(const char* s, long long& v) {
    const char *b, *e;
    if (!NumberText(s, b, e)) return false;
    long long x;
    auto r = std::from_chars(b, e, x, 10);
    if (r.ec == std::errc() && r.ptr == e) {
        v = x;
        return true;
    }
    double d;
    if (!ParseDouble(s, d) || !std::isfinite(d) || d > 9.2e18 || d < -9.2e18) return false;
    v = (long long)d;
    return true;
}

void FreeStmt(Stmt* s) {
    s->Reset();
    auto& v = s->dbc->stmts;
    v.erase(std::remove(v.begin(), v.end(), s), v.end());
    s->magic = 0;
    delete s;
}

}  // namespace

namespace odbcdrv {

void Stmt::Reset() {
    if (st) sqlite3_finalize(st);
    st = nullptr;
    kind = jetsql::StatementKind::Other;
    columns = 0;
    pendingRow = onRow = done = false;
    rowCount = -1;
    cacheColumn = -1;
}

const char* StateOf(int rc, const char* msg) {
    int primary = rc & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) return "HYT00";
    if (rc == SQLITE_CONSTRAINT_DATATYPE || primary == SQLITE_MISMATCH) return "22018";
    if (primary == SQLITE_CONSTRAINT) return "23000";
    if (msg) {
        if (std::strstr(msg, "no such table")) return "42S02";
        if (std::strstr(msg, "no such column")) return "42S22";
        if (std::strstr(msg, "syntax error") || std::strstr(msg, "unrecognized token") ||
            std::strstr(msg, "incomplete input"))
            return "42000";
    }
    return "HY000";
}

}  // namespace odbcdrv

// ---------------------------------------------------------------------------
// Handles
// ---------------------------------------------------------------------------

SQLRETURN SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    if (!output) return SQL_ERROR;
    *output = SQL_NULL_HANDLE;
    switch (type) {
    case SQL_HANDLE_ENV: *output = new Env(); return SQL_SUCCESS;
    case SQL_HANDLE_DBC: {
        Env* env = As<Env>(input, kEnvMagic);
        if (!env) return SQL_INVALID_HANDLE;
        env->ClearDiag();
        if (env->version == 0) return env->Fail("HY010", ODBC_DIAG_PREFIX "ODBC version not set");
        Dbc* dbc = new Dbc(env);
        env->dbcs.push_back(dbc);
        *output = dbc;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        Dbc* dbc = As<Dbc>(input, kDbcMagic);
        if (!dbc) return SQL_INVALID_HANDLE;
        dbc->ClearDiag();
        if (!dbc->db) return dbc->Fail("08003", ODBC_DIAG_PREFIX "Connection not open");
        Stmt* s = new Stmt(dbc);
        dbc->stmts.push_back(s);
        *output = s;
        return SQL_SUCCESS;
    }
    default: return SQL_ERROR;
    }
}

SQLRETURN SQLFreeHandle(SQLSMALLINT type, SQLHANDLE h) {
    switch (type) {
    case SQL_HANDLE_ENV: {
        Env* env = As<Env>(h, kEnvMagic);
        if (!env) return SQL_INVALID_HANDLE;
        env->ClearDiag();
        if (!env->dbcs.empty()) return env->Fail("HY010", ODBC_DIAG_PREFIX "Connection handles still allocated");
        env->magic = 0;
        delete env;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
        Dbc* dbc = As<Dbc>(h, kDbcMagic);
        if (!dbc) return SQL_INVALID_HANDLE;
        SQLDisconnect(dbc);
        auto& v = dbc->env->dbcs;
        v.erase(std::remove(v.begin(), v.end(), dbc), v.end());
        dbc->magic = 0;
        delete dbc;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        Stmt* s = As<Stmt>(h, kStmtMagic);
        if (!s) return SQL_INVALID_HANDLE;
        FreeStmt(s);
        return SQL_SUCCESS;
    }
    default: return SQL_ERROR;
    }
}

SQLRETURN SQLSetEnvAttr(SQLHENV h, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
    Env* env = As<Env>(h, kEnvMagic);
    if (!env) return SQL_INVALID_HANDLE;
    env->ClearDiag();
    if (attribute != SQL_ATTR_ODBC_VERSION) return env->Fail("HY092", ODBC_DIAG_PREFIX "Attribute not supported");
    SQLUINTEGER v = SQLUINTEGER(reinterpret_cast<uintptr_t>(value));
    if (v != SQL_OV_ODBC3 && v != SQL_OV_ODBC2) return env->Fail("HY024", ODBC_DIAG_PREFIX "Invalid version");
    env->version = v;
    return SQL_SUCCESS;
}

// ---------------------------------------------------------------------------
// Connection
// ---------------------------------------------------------------------------

SQLRETURN SQLDriverConnect(SQLHDBC h, SQLHWND, SQLCHAR* in, SQLSMALLINT inLen, SQLCHAR* out, SQLSMALLINT outSize,
                           SQLSMALLINT* outLen, SQLUSMALLINT completion) {
    Dbc* dbc = As<Dbc>(h, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->ClearDiag();
    if (dbc->db) return dbc->Fail("08002", ODBC_DIAG_PREFIX "Connection already open");
    if (!in) return dbc->Fail("HY009", ODBC_DIAG_PREFIX "No connection string");
    std::string conn = ArgText(in, inLen);

    std::vector<std::pair<std::string, std::string>> pairs;
    if (!ParseConnectString(conn, pairs)) return dbc->Fail("08001", ODBC_DIAG_PREFIX "Malformed connection string");
    std::string driver, dbq;
    bool hasDriver = false, hasDbq = false;
    for (auto& [k, v] : pairs) {
        if (k == "DRIVER")
            driver = v, hasDriver = true;
        else if (k == "DBQ")
            dbq = v, hasDbq = true;
    }
    if (!hasDriver || !EqualsNoCase(driver, kDriverName))
        return dbc->Fail("IM002", ODBC_DIAG_PREFIX "Data source name not found and no default driver specified");
    if (!hasDbq || dbq.empty()) return dbc->Fail("08001", ODBC_DIAG_PREFIX "No database file given (DBQ)");

    // The file must exist: an ODBC connect never makes a new database. The
    // file is opened for writing as the kernel opens one: a file of an
    // installed program's own folder is the account's copy of it.
    std::string path = w32kernel::VirtualStorePath(gbk::ToUtf8(dbq), true);
    struct stat sb;
    if (path == ":memory:" || stat(path.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode))
        return dbc->Error("HY024", std::string(kPrefix) + "Not a valid file name: '" + dbq + "'");
    // An empty file is no database (SQLite would take it for a new one).
    if (sb.st_size == 0)
        return dbc->Error("HY000", std::string(kPrefix) + "Unrecognized database format '" + dbq + "'");

    // A database file is its owner's alone, as a mail client keeps its
    // password file: one that others may read or write (copied, made under a
    // loose umask) loses those rights when its owner opens it. SQLite gives
    // the journal the file's mode. Another user's file is left as it is.
    if ((sb.st_mode & (S_IRWXG | S_IRWXO)) && sb.st_uid == geteuid()) (void)chmod(path.c_str(), sb.st_mode & S_IRWXU);

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = DiagText(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        int native = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close_v2(db);
        return dbc->Error("08001", msg, native);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Check that this is a readable database now, not at the first statement.
    // synchronous=EXTRA also syncs the folder after the rollback journal is
    // deleted, so a commit survives a power loss right after it.
    const char* setup =
        "PRAGMA synchronous=EXTRA;"
        "PRAGMA foreign_keys=OFF;"
        "SELECT count(*) FROM sqlite_master;";
    char* err = nullptr;
    rc = sqlite3_exec(db, setup, nullptr, nullptr, &err);
    if (rc == SQLITE_OK) rc = odbcdrv::RegisterFunctions(db);
    if (rc != SQLITE_OK) {
        rc = sqlite3_extended_errcode(db) ? sqlite3_extended_errcode(db) : rc;
        std::string msg = DiagText(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        sqlite3_close_v2(db);
        return dbc->Error((rc & 0xFF) == SQLITE_BUSY ? "HYT00" : "08001", msg, rc);
    }
    dbc->db = db;
    dbc->damaged = false;

    SQLRETURN ret = SQL_SUCCESS;
    if (outLen) *outLen = SQLSMALLINT(std::min<size_t>(conn.size(), 32767));
    if (out && outSize > 0) {
        size_t n = gbk::CopyCut(reinterpret_cast<char*>(out), size_t(outSize), conn);
        if (n < conn.size()) {
            dbc->Info("01004", ODBC_DIAG_PREFIX "String data, right truncated");
            ret = SQL_SUCCESS_WITH_INFO;
        }
    }
    (void)completion;
    return ret;
}

SQLRETURN SQLDisconnect(SQLHDBC h) {
    Dbc* dbc = As<Dbc>(h, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->ClearDiag();
    while (!dbc->stmts.empty()) FreeStmt(dbc->stmts.back());
    if (!dbc->db) return dbc->Fail("08003", ODBC_DIAG_PREFIX "Connection not open");
    // A transaction left open is rolled back, as closing the file does.
    sqlite3_close_v2(dbc->db);
    dbc->db = nullptr;
    return SQL_SUCCESS;
}

// ---------------------------------------------------------------------------
// Transactions
// ---------------------------------------------------------------------------

namespace {

// Commits or rolls back the open transaction of a connection, if any. Every
// cursor of the connection is closed first (cursor behaviour SQL_CB_CLOSE).
SQLRETURN EndTransaction(Dbc* dbc, bool commit) {
    if (!dbc->db || sqlite3_get_autocommit(dbc->db)) return SQL_SUCCESS;
    for (Stmt* st : dbc->stmts) st->Reset();
    int rc = sqlite3_exec(dbc->db, commit ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return SQL_SUCCESS;
    rc = sqlite3_extended_errcode(dbc->db);
    dbc->NoteResult(rc);
    const char* msg = sqlite3_errmsg(dbc->db);
    return dbc->Error(StateOf(rc, msg), DiagText(msg), rc);
}

}  // namespace

SQLRETURN SQLSetConnectAttr(SQLHDBC h, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
    Dbc* dbc = As<Dbc>(h, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->ClearDiag();
    if (attribute != SQL_ATTR_AUTOCOMMIT) return dbc->Fail("HY092", ODBC_DIAG_PREFIX "Attribute not supported");
    SQLUINTEGER v = SQLUINTEGER(reinterpret_cast<uintptr_t>(value));
    if (v != SQL_AUTOCOMMIT_ON && v != SQL_AUTOCOMMIT_OFF)
        return dbc->Fail("HY024", ODBC_DIAG_PREFIX "Invalid attribute value");
    bool on = v == SQL_AUTOCOMMIT_ON;
    // Back to auto-commit mode: the open transaction is committed.
    if (on && !dbc->autocommit) {
        SQLRETURN ret = EndTransaction(dbc, true);
        if (ret != SQL_SUCCESS) return ret;
    }
    dbc->autocommit = on;
    return SQL_SUCCESS;
}

SQLRETURN SQLGetConnectAttr(SQLHDBC h, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER, SQLINTEGER* length) {
    Dbc* dbc = As<Dbc>(h, kDbcMagic);
    if (!dbc) return SQL_INVALID_HANDLE;
    dbc->ClearDiag();
    if (attribute != SQL_ATTR_AUTOCOMMIT) return dbc->Fail("HY092", ODBC_DIAG_PREFIX "Attribute not supported");
    if (!value) return dbc->Fail("HY009", ODBC_DIAG_PREFIX "Invalid use of null pointer");
    SQLUINTEGER v = dbc->autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    std::memcpy(value, &v, sizeof v);
    if (length) *length = sizeof v;
    return SQL_SUCCESS;
}

SQLRETURN SQLEndTran(SQLSMALLINT type, SQLHANDLE h, SQLSMALLINT completion) {
    std::vector<Dbc*> dbcs;
    Handle* hd = nullptr;
    if (type == SQL_HANDLE_DBC) {
        Dbc* dbc = As<Dbc>(h, kDbcMagic);
        if (!dbc) return SQL_INVALID_HANDLE;
        dbcs.push_back(dbc);
        hd = dbc;
    } else if (type == SQL_HANDLE_ENV) {
        Env* env = As<Env>(h, kEnvMagic);
        if (!env) return SQL_INVALID_HANDLE;
        dbcs = env->dbcs;
        hd = env;
    } else {
        return SQL_INVALID_HANDLE;
    }
    hd->ClearDiag();
    if (completion != SQL_COMMIT && completion != SQL_ROLLBACK)
        return hd->Fail("HY012", ODBC_DIAG_PREFIX "Invalid transaction operation code");
    SQLRETURN ret = SQL_SUCCESS;
    for (Dbc* dbc : dbcs) {
        dbc->ClearDiag();
        if (EndTransaction(dbc, completion == SQL_COMMIT) == SQL_SUCCESS) continue;
        ret = SQL_ERROR;
        if (hd != dbc)
            for (const DiagRecord& d : dbc->diags) hd->diags.push_back(d);
    }
    return ret;
}

// ---------------------------------------------------------------------------
// Statements
// ---------------------------------------------------------------------------

SQLRETURN SQLExecDirect(SQLHSTMT h, SQLCHAR* text, SQLINTEGER len) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    s->Reset();
    if (!text) return s->Fail("HY009", ODBC_DIAG_PREFIX "No statement text");
    const char* p = reinterpret_cast<const char*>(text);
    size_t n = (len == SQL_NTS) ? std::strlen(p) : (len >= 0 ? strnlen(p, size_t(len)) : 0);
    if (len < 0 && len != SQL_NTS) return s->Fail("HY090", ODBC_DIAG_PREFIX "Invalid string length");

    std::string_view gbkText(p, n);
    if (gbk::IsAscii(gbkText)) {
        s->utf8.assign(p, n);
    } else {
        // Text that is not code page 936 is refused whole: a guessed
        // character could change what the statement means.
        size_t bad = gbk::FindInvalid(gbkText);
        if (bad != std::string_view::npos)
            return s->Error("22021", std::string(kPrefix) + "Character not in code page 936 at byte " +
                                         std::to_string(bad) + " of the statement");
        s->utf8 = gbk::ToUtf8(gbkText);
    }

    if (!jetsql::Translate(s->utf8, s->translation))
        return s->Error("42000", std::string(kPrefix) + "Syntax error: " + s->translation.error);
    const std::string& sql = s->translation.sql;

    Dbc* dbc = s->dbc;
    sqlite3* db = dbc->db;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &s->st, &tail);
    if (rc != SQLITE_OK) {
        rc = sqlite3_extended_errcode(db);
        dbc->NoteResult(rc);
        const char* msg = sqlite3_errmsg(db);
        return s->Error(StateOf(rc, msg), DiagText(msg), rc);
    }
    if (!s->st) return s->Fail("42000", ODBC_DIAG_PREFIX "Empty statement");
    if (dbc->damaged && !sqlite3_stmt_readonly(s->st)) {
        s->Reset();
        return s->Error("HY000", std::string(kPrefix) + "The database file is damaged: nothing more is written to it",
                        SQLITE_CORRUPT);
    }
    // One statement per text: only blanks and semicolons may follow.
    for (const char* t = tail; t && *t;) {
        if (std::isspace(static_cast<unsigned char>(*t)) || *t == ';') {
            ++t;
        } else {
            s->Reset();
            return s->Fail("42000", ODBC_DIAG_PREFIX "Characters found after end of SQL statement");
        }
    }
    s->kind = s->translation.kind;
    s->columns = sqlite3_column_count(s->st);
    s->offsets.assign(size_t(s->columns), 0);

    // Manual-commit mode: the first statement opens the transaction that
    // SQLEndTran ends. It takes the write lock at once, so that a later
    // write of the same transaction never finds the file taken.
    if (!dbc->autocommit && sqlite3_get_autocommit(db)) {
        rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            rc = sqlite3_extended_errcode(db);
            dbc->NoteResult(rc);
            const char* msg = sqlite3_errmsg(db);
            SQLRETURN ret = s->Error(StateOf(rc, msg), DiagText(msg), rc);
            s->Reset();
            return ret;
        }
    }

    rc = sqlite3_step(s->st);
    if (rc == SQLITE_ROW) {
        s->pendingRow = true;
        return SQL_SUCCESS;
    }
    if (rc == SQLITE_DONE) {
        s->done = true;
        if (s->columns == 0) {
            s->rowCount = sqlite3_changes64(db);
            bool searched = s->kind == jetsql::StatementKind::Update || s->kind == jetsql::StatementKind::Delete;
            if (searched && s->rowCount == 0) return SQL_NO_DATA;
        }
        return SQL_SUCCESS;
    }
    rc = sqlite3_extended_errcode(db);
    dbc->NoteResult(rc);
    const char* msg = sqlite3_errmsg(db);
    SQLRETURN ret = s->Error(StateOf(rc, msg), DiagText(msg), rc);
    s->Reset();
    return ret;
}

SQLRETURN SQLFetch(SQLHSTMT h) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (!s->st || s->columns == 0) return s->Fail("24000", ODBC_DIAG_PREFIX "Invalid cursor state");
    s->onRow = false;
    s->cacheColumn = -1;
    if (s->pendingRow) {
        s->pendingRow = false;
    } else {
        if (s->done) return SQL_NO_DATA;
        int rc = sqlite3_step(s->st);
        if (rc == SQLITE_DONE) {
            s->done = true;
            return SQL_NO_DATA;
        }
        if (rc != SQLITE_ROW) {
            s->done = true;
            rc = sqlite3_extended_errcode(s->dbc->db);
            s->dbc->NoteResult(rc);
            const char* msg = sqlite3_errmsg(s->dbc->db);
            return s->Error(StateOf(rc, msg), DiagText(msg), rc);
        }
    }
    s->onRow = true;
    std::fill(s->offsets.begin(), s->offsets.end(), 0);
    return SQL_SUCCESS;
}

SQLRETURN SQLCloseCursor(SQLHSTMT h) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (!s->st) return s->Fail("24000", ODBC_DIAG_PREFIX "Invalid cursor state");
    s->Reset();
    return SQL_SUCCESS;
}

namespace {

// The current row's value of column c (0-based) as GBK text.
void CellText(Stmt* s, int c, sqlite3_value* v, int valueType, const char*& data, size_t& size) {
    if (s->cacheColumn == c) {
        data = s->cacheData;
        size = s->cacheSize;
        return;
    }
    switch (valueType) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        // Numbers as text with '.' as the decimal point, whatever the C
        // library's locale (15 significant digits, as Jet shows a double).
        char buf[40];
        auto r = valueType == SQLITE_INTEGER
                     ? std::to_chars(buf, buf + sizeof buf, (long long)sqlite3_value_int64(v))
                     : std::to_chars(buf, buf + sizeof buf, sqlite3_value_double(v), std::chars_format::general, 15);
        s->cacheBuffer.assign(buf, r.ec == std::errc() ? size_t(r.ptr - buf) : 0);
        data = s->cacheBuffer.data();
        size = s->cacheBuffer.size();
        break;
    }
    case SQLITE_BLOB:
        data = static_cast<const char*>(sqlite3_value_blob(v));
        size = size_t(sqlite3_value_bytes(v));
        if (!data) data = "";
        break;
    default: {
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
        size_t n = size_t(sqlite3_value_bytes(v));
        if (!t) t = "", n = 0;
        if (gbk::IsAscii(std::string_view(t, n))) {
            data = t;
            size = n;
        } else {
            s->cacheBuffer.clear();
            jetsql::Utf8ToGbk(t, n, s->cacheBuffer);
            data = s->cacheBuffer.data();
            size = s->cacheBuffer.size();
        }
        break;
    }
    }
    s->cacheColumn = c;
    s->cacheData = data;
    s->cacheSize = size;
}

// Writes a fixed-size value to the caller's buffer and its size to the indicator.
template <typename T>
SQLRETURN PutValue(SQLPOINTER target, SQLLEN* ind, const T& v) {
    std::memcpy(target, &v, sizeof v);
    if (ind) *ind = sizeof v;
    return SQL_SUCCESS;
}

SQLRETURN ConversionError(Stmt* s) { return s->Fail("22018", ODBC_DIAG_PREFIX "Invalid character value for cast"); }

// Numeric value of a cell for the numeric C types.
bool CellNumber(sqlite3_value* v, int valueType, bool wantInteger, long long& i, double& d) {
    switch (valueType) {
    case SQLITE_INTEGER:
        i = sqlite3_value_int64(v);
        d = double(i);
        return true;
    case SQLITE_FLOAT:
        d = sqlite3_value_double(v);
        if (!std::isfinite(d)) return false;
        i = (d > 9.2e18 || d < -9.2e18) ? 0 : (long long)d;
        return !wantInteger || (d <= 9.2e18 && d >= -9.2e18);
    case SQLITE_TEXT: {
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
        if (!t) return false;
        if (wantInteger) {
            if (!ParseLong(t, i)) return false;
            d = double(i);
            return true;
        }
        if (!ParseDouble(t, d) || !std::isfinite(d)) return false;
        i = (d > 9.2e18 || d < -9.2e18) ? 0 : (long long)d;
        return true;
    }
    default: return false;
    }
}

bool CellDateTime(sqlite3_value* v, int valueType, jetsql::DateTime& dt) {
    if (valueType != SQLITE_TEXT) return false;
    const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return t && jetsql::ParseDateTime(t, dt);
}

}  // namespace

SQLRETURN SQLGetData(SQLHSTMT h, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER target, SQLLEN bufLen, SQLLEN* ind) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (!s->st || !s->onRow) return s->Fail("24000", ODBC_DIAG_PREFIX "Invalid cursor state");
    if (column < 1 || column > s->columns) return s->Fail("07009", ODBC_DIAG_PREFIX "Invalid descriptor index");
    int c = column - 1;
    // The cell read through its value: one call into SQLite for the cell, not
    // one per question asked of it. The value is unprotected, which is sound
    // as the connection is opened without a mutex and used by one thread at
    // a time.
    sqlite3_value* v = sqlite3_column_value(s->st, c);
    int valueType = sqlite3_value_type(v);
    if (valueType == SQLITE_NULL) {
        // NULL: only the indicator is written; the buffer stays as it was.
        if (!ind) return s->Fail("22002", ODBC_DIAG_PREFIX "Indicator variable required but not supplied");
        *ind = SQL_NULL_DATA;
        return SQL_SUCCESS;
    }

    switch (type) {
    case SQL_C_CHAR: {
        int32_t& offset = s->offsets[size_t(c)];
        if (offset < 0) return SQL_NO_DATA;  // returned whole already
        if (bufLen < 0) return s->Fail("HY090", ODBC_DIAG_PREFIX "Invalid string or buffer length");
        if (valueType == SQLITE_TEXT && offset == 0 && s->cacheColumn != c && target && bufLen > 0) {
            // A whole read of a text that fits for sure (GBK is never longer
            // than UTF-8): converted straight into the caller's buffer.
            const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
            const size_t n = t ? size_t(sqlite3_value_bytes(v)) : 0;
            if (n < size_t(bufLen)) {
                char* out = static_cast<char*>(target);
                const size_t size = n ? jetsql::Utf8ToGbk(t, n, out) : 0;
                out[size] = '\0';
                if (ind) *ind = SQLLEN(size);
                offset = -1;
                return SQL_SUCCESS;
            }
        }
        const char* data;
        size_t size;
        CellText(s, c, v, valueType, data, size);
        size_t left = size - size_t(offset);
        if (ind) *ind = SQLLEN(left);
        if (bufLen == 0 || !target) {
            // Length probe: nothing is consumed.
            s->Info("01004", ODBC_DIAG_PREFIX "String data, right truncated");
            return SQL_SUCCESS_WITH_INFO;
        }
        char* out = static_cast<char*>(target);
        if (left < size_t(bufLen)) {
            std::memcpy(out, data + offset, left);
            out[left] = '\0';
            offset = -1;
            return SQL_SUCCESS;
        }
        // Cut before a double-byte character that would not fit whole.
        size_t cut = gbk::SafeCut(data + offset, left, size_t(bufLen) - 1);
        std::memcpy(out, data + offset, cut);
        out[cut] = '\0';
        offset += int32_t(cut);
        s->Info("01004", ODBC_DIAG_PREFIX "String data, right truncated");
        return SQL_SUCCESS_WITH_INFO;
    }
    case SQL_C_SLONG:
    case SQL_C_LONG:
    case SQL_C_ULONG:
    case SQL_C_SHORT: {
        long long i;
        double d;
        if (!CellNumber(v, valueType, true, i, d)) return ConversionError(s);
        if (type == SQL_C_SHORT) {
            if (i < -32768 || i > 32767) return s->Fail("22003", ODBC_DIAG_PREFIX "Numeric value out of range");
            return PutValue(target, ind, SQLSMALLINT(i));
        }
        bool isUnsigned = type == SQL_C_ULONG;
        if (isUnsigned ? (i < 0 || i > 4294967295LL) : (i < INT32_MIN || i > INT32_MAX))
            return s->Fail("22003", ODBC_DIAG_PREFIX "Numeric value out of range");
        return PutValue(target, ind, int32_t(uint32_t(i)));
    }
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT: {
        long long i;
        double d;
        if (!CellNumber(v, valueType, false, i, d)) return ConversionError(s);
        if (type == SQL_C_DOUBLE) return PutValue(target, ind, d);
        if (std::fabs(d) > double(FLT_MAX)) return s->Fail("22003", ODBC_DIAG_PREFIX "Numeric value out of range");
        return PutValue(target, ind, float(d));
    }
    case SQL_C_TYPE_DATE: {
        jetsql::DateTime dt;
        if (!CellDateTime(v, valueType, dt) || !dt.HasDate()) return ConversionError(s);
        DATE_STRUCT v{SQLSMALLINT(dt.year), SQLUSMALLINT(dt.month), SQLUSMALLINT(dt.day)};
        return PutValue(target, ind, v);
    }
    case SQL_C_TYPE_TIME: {
        jetsql::DateTime dt;
        if (!CellDateTime(v, valueType, dt)) return ConversionError(s);
        TIME_STRUCT v{0, 0, 0};
        if (dt.HasTime()) v = TIME_STRUCT{SQLUSMALLINT(dt.hour), SQLUSMALLINT(dt.minute), SQLUSMALLINT(dt.second)};
        return PutValue(target, ind, v);
    }
    case SQL_C_TYPE_TIMESTAMP: {
        jetsql::DateTime dt;
        if (!CellDateTime(v, valueType, dt)) return ConversionError(s);
        TIMESTAMP_STRUCT v{};
        if (dt.HasDate())
            v.year = SQLSMALLINT(dt.year), v.month = SQLUSMALLINT(dt.month), v.day = SQLUSMALLINT(dt.day);
        else
            v.year = 1899, v.month = 12, v.day = 30;
        if (dt.HasTime())
            v.hour = SQLUSMALLINT(dt.hour), v.minute = SQLUSMALLINT(dt.minute), v.second = SQLUSMALLINT(dt.second);
        return PutValue(target, ind, v);
    }
    default: return s->Fail("HY003", ODBC_DIAG_PREFIX "Program type out of range");
    }
}

SQLRETURN SQLNumResultCols(SQLHSTMT h, SQLSMALLINT* count) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (!s->st) return s->Fail("HY010", ODBC_DIAG_PREFIX "Function sequence error");
    if (count) *count = SQLSMALLINT(s->columns);
    return SQL_SUCCESS;
}

SQLRETURN SQLDescribeCol(SQLHSTMT h, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT nameSize, SQLSMALLINT* nameLen,
                         SQLSMALLINT* dataType, SQLULEN* columnSize, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (!s->st) return s->Fail("HY010", ODBC_DIAG_PREFIX "Function sequence error");
    if (column < 1 || column > s->columns) return s->Fail("07009", ODBC_DIAG_PREFIX "Invalid descriptor index");
    const char* n8 = sqlite3_column_name(s->st, column - 1);
    std::string n;
    if (n8) jetsql::Utf8ToGbk(n8, std::strlen(n8), n);
    SQLRETURN ret = SQL_SUCCESS;
    if (nameLen) *nameLen = SQLSMALLINT(n.size());
    if (name && nameSize > 0) {
        if (gbk::CopyCut(reinterpret_cast<char*>(name), size_t(nameSize), n) < n.size()) {
            s->Info("01004", ODBC_DIAG_PREFIX "String data, right truncated");
            ret = SQL_SUCCESS_WITH_INFO;
        }
    }
    if (dataType) {
        const char* decl = sqlite3_column_decltype(s->st, column - 1);
        SQLSMALLINT t = SQL_VARCHAR;
        if (decl) {
            std::string d = decl;
            for (char& ch : d) ch = char(std::toupper(static_cast<unsigned char>(ch)));
            if (d.find("INT") != std::string::npos)
                t = SQL_INTEGER;
            else if (d.find("REAL") != std::string::npos || d.find("DOUB") != std::string::npos)
                t = SQL_DOUBLE;
        }
        *dataType = t;
    }
    if (columnSize) *columnSize = 0;
    if (digits) *digits = 0;
    if (nullable) *nullable = SQL_NULLABLE_UNKNOWN;
    return ret;
}

SQLRETURN SQLRowCount(SQLHSTMT h, SQLLEN* rows) {
    Stmt* s = As<Stmt>(h, kStmtMagic);
    if (!s) return SQL_INVALID_HANDLE;
    s->ClearDiag();
    if (rows) *rows = SQLLEN(s->rowCount);
    return SQL_SUCCESS;
}

SQLRETURN SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE h, SQLSMALLINT rec, SQLCHAR* state, SQLINTEGER* native,
                        SQLCHAR* text, SQLSMALLINT textSize, SQLSMALLINT* textLen) {
    Handle* hd = nullptr;
    switch (type) {
    case SQL_HANDLE_ENV: hd = As<Env>(h, kEnvMagic); break;
    case SQL_HANDLE_DBC: hd = As<Dbc>(h, kDbcMagic); break;
    case SQL_HANDLE_STMT: hd = As<Stmt>(h, kStmtMagic); break;
    default: return SQL_ERROR;
    }
    if (!hd) return SQL_INVALID_HANDLE;
    if (rec < 1) return SQL_ERROR;
    if (size_t(rec) > hd->diags.size()) return SQL_NO_DATA;
    const DiagRecord& d = hd->diags[size_t(rec) - 1];
    if (state) {
        std::memcpy(state, d.state, 5);
        state[5] = 0;
    }
    if (native) *native = d.native;
    std::string_view message = d.Message();
    if (textLen) *textLen = SQLSMALLINT(std::min<size_t>(message.size(), 32767));
    if (text && textSize > 0) {
        if (gbk::CopyCut(reinterpret_cast<char*>(text), size_t(textSize), message) < message.size())
            return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
}
