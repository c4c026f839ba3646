// Translation of Microsoft Access (Jet) SQL into SQLite SQL, and the text
// helpers the driver registers with SQLite. Exposed for the driver's tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jetsql {

// Name of the collation that ORDER BY terms get: Chinese in pinyin order
// (whatever the character's GBK level), Latin letters before it without
// regard to case, accent or width (gbk::SortRank).
inline constexpr const char* kOrderCollation = "GBK_NOCASE";

enum class StatementKind { Other, Select, Insert, Update, Delete };

struct Translation {
    std::string sql;  // SQLite text
    StatementKind kind = StatementKind::Other;
    std::string error;  // set when the text cannot be translated
};

// Translates one Jet statement (UTF-8) into SQLite SQL:
//  - #y-m-d#, #h:m:s# and #y-m-d h:m:s# literals become zero-padded ISO text
//    ('2024-01-05', '09:05:00'); #m/d/y# is read as month/day/year;
//  - DELETE * FROM becomes DELETE FROM;
//  - a numeric column alias (AS 1) is quoted;
//  - every ORDER BY term gets COLLATE GBK_NOCASE (numbers are unaffected);
//  - quoted literals and identifiers pass through untouched.
// Returns false (with Translation::error) for an unterminated quote or an
// invalid date literal.
bool Translate(std::string_view jet, Translation& out);

// Parses a Jet date/time text: "y-m-d", "y/m/d", "m/d/y", "h:m[:s]" (with an
// optional AM/PM), or a date followed by a time. Fields absent stay -1.
struct DateTime {
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = -1, second = -1;
    bool HasDate() const { return year >= 0; }
    bool HasTime() const { return hour >= 0; }
};
bool ParseDateTime(std::string_view text, DateTime& out);
// 'YYYY-MM-DD', 'HH:MM:SS' or 'YYYY-MM-DD HH:MM:SS'.
std::string FormatDateTime(const DateTime& dt);

// DATEADD(interval, number, date) as Jet computes it; false for an unknown
// interval or a date out of range.
bool DateAdd(std::string_view interval, long long number, const DateTime& in, DateTime& out);

// Compares two UTF-8 texts as the Chinese (PRC) sort order has them: the
// characters of GBK by gbk::SortRank (Latin letters without case, accent or
// width, Chinese in pinyin order), characters outside GBK after all others.
int CompareGbkNoCase(const char* a, size_t na, const char* b, size_t nb);

// UTF-8 -> GBK through a table built once from the shared iconv converter;
// appends to out. Characters GBK cannot hold become '?'.
void Utf8ToGbk(const char* s, size_t n, std::string& out);
// The same into out, which holds at least n bytes; returns the GBK length.
size_t Utf8ToGbk(const char* s, size_t n, char* out);

}  // namespace jetsql
