// SQL functions and the collation that Jet statements need on SQLite.
#include <cstring>
#include <string>

#include "driver.h"

namespace {

int CollateGbk(void*, int na, const void* a, int nb, const void* b) {
    return jetsql::CompareGbkNoCase(static_cast<const char*>(a), size_t(na), static_cast<const char*>(b), size_t(nb));
}

// DATEADD(interval, number, date): the date may be a date/time text in any
// form Jet reads ('2024-1-7', '2024-01-07 09:00:00', ...).
void DateAddFunc(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    (void)argc;
    for (int i = 0; i < 3; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    const char* interval = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    int numType = sqlite3_value_numeric_type(argv[1]);
    if (numType != SQLITE_INTEGER && numType != SQLITE_FLOAT) {
        sqlite3_result_error(ctx, "DATEADD: the number is not numeric", -1);
        return;
    }
    double number = sqlite3_value_double(argv[1]);
    if (!(number > -1e12 && number < 1e12)) {
        sqlite3_result_error(ctx, "DATEADD: number out of range", -1);
        return;
    }
    const char* dateText = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
    jetsql::DateTime in, out;
    if (!dateText || !jetsql::ParseDateTime(dateText, in)) {
        sqlite3_result_error(ctx, "DATEADD: invalid date", -1);
        return;
    }
    if (!interval || !jetsql::DateAdd(interval, (long long)number, in, out)) {
        sqlite3_result_error(ctx, "DATEADD: invalid interval or result out of range", -1);
        return;
    }
    std::string s = jetsql::FormatDateTime(out);
    sqlite3_result_text(ctx, s.c_str(), int(s.size()), SQLITE_TRANSIENT);
}

}  // namespace

namespace odbcdrv {

int RegisterFunctions(sqlite3* db) {
    int rc = sqlite3_create_collation(db, jetsql::kOrderCollation, SQLITE_UTF8, nullptr, CollateGbk);
    if (rc != SQLITE_OK) return rc;
    return sqlite3_create_function(db, "DATEADD", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, DateAddFunc, nullptr,
                                   nullptr);
}

}  // namespace odbcdrv
