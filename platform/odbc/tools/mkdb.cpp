// mkdb OUTPUT SQLFILE...
// Makes a new database file from SQL files (UTF-8), run in order in one
// transaction. An existing OUTPUT is replaced only when all files ran.
// mkdb --texts HEADER SQLFILE...
// Writes a C++ header with the text SQLite keeps for each table and view of
// the database those files make (kSchemaTexts, by name).
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// `s` as a C++ string literal; characters beyond ASCII stay as they are.
std::string Literal(const char* s) {
    std::string out = "\"";
    for (; *s; ++s) {
        const unsigned char c = static_cast<unsigned char>(*s);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\%03o", c);
            out += esc;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

int WriteTexts(int argc, char** argv) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    char* err = nullptr;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        if (!in || sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "mkdb: %s: %s\n", argv[i], err ? err : "cannot read");
            sqlite3_close(db);
            return 1;
        }
    }
    std::string out =
        "// Made by mkdb from the database's SQL files: the text SQLite keeps for\n"
        "// each table and view, by name.\n"
        "#pragma once\n\n"
        "struct SchemaText {\n    const char* name;\n    const char* sql;\n};\n\n"
        "inline constexpr SchemaText kSchemaTexts[] = {\n";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY name", -1, &st,
                       nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        out += "    {" + Literal(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) + ", " +
               Literal(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))) + "},\n";
    sqlite3_finalize(st);
    sqlite3_close(db);
    out += "};\n";
    std::ofstream header(argv[2], std::ios::binary | std::ios::trunc);
    header << out;
    return header ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--texts") return WriteTexts(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT SQLFILE...\n       %s --texts HEADER SQLFILE...\n", argv[0], argv[0]);
        return 2;
    }
    std::string out = argv[1];
    std::string tmp = out + ".tmp";
    std::remove(tmp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: cannot create %s: %s\n", tmp.c_str(), db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return 1;
    }
    auto fail = [&](const std::string& what, const char* msg) {
        std::fprintf(stderr, "mkdb: %s: %s\n", what.c_str(), msg);
        sqlite3_close(db);
        std::remove(tmp.c_str());
        return 1;
    };
    char* err = nullptr;
    if (sqlite3_exec(db, "PRAGMA journal_mode=DELETE; BEGIN;", nullptr, nullptr, &err) != SQLITE_OK)
        return fail("begin", err);
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) return fail(argv[i], "cannot read");
        std::stringstream ss;
        ss << in.rdbuf();
        if (sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) return fail(argv[i], err);
    }
    if (sqlite3_exec(db, "COMMIT; VACUUM;", nullptr, nullptr, &err) != SQLITE_OK) return fail("commit", err);
    if (sqlite3_close(db) != SQLITE_OK) return fail("close", "database busy");
    db = nullptr;
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
        std::perror("mkdb: rename");
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}
