// mkdb OUTPUT SQLFILE...
// Makes a new database file from SQL files (UTF-8), run in order in one
// transaction. An existing OUTPUT is replaced only when all files ran.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT SQLFILE...\n", argv[0]);
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
