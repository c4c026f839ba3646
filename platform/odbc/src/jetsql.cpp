// Jet SQL -> SQLite SQL: a tokenizer that respects quoted text, and the few
// rewrites the dialects need.
#include "jetsql.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace jetsql {
namespace {

enum class Tok { Space, Word, Number, Text, Ident, DateLit, Punct };

struct Token {
    Tok kind = Tok::Space;
    std::string_view text;  // as written
    std::string repl;       // replacement when set
    bool replaced = false;
    std::string suffix;  // appended after the token
};

bool IsWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }
bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool EqualsNoCase(std::string_view a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// Splits s into tokens; false with an error text for an unterminated quote.
bool Tokenize(std::string_view s, std::vector<Token>& out, std::string& error) {
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t start = i;
        Tok kind;
        if (IsSpace(c)) {
            while (i < n && IsSpace(static_cast<unsigned char>(s[i]))) ++i;
            kind = Tok::Space;
        } else if (c == '\'' || c == '"' || c == '`') {
            // Quoted text or identifier; the quote is written twice inside.
            char q = static_cast<char>(c);
            ++i;
            for (;;) {
                if (i >= n) {
                    error = (q == '\'') ? "unterminated text literal" : "unterminated quoted name";
                    return false;
                }
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            kind = (q == '\'') ? Tok::Text : Tok::Ident;
        } else if (c == '[') {
            size_t e = s.find(']', i + 1);
            if (e == std::string_view::npos) {
                error = "unterminated bracketed name";
                return false;
            }
            i = e + 1;
            kind = Tok::Ident;
        } else if (c == '#') {
            size_t e = s.find('#', i + 1);
            if (e == std::string_view::npos) {
                error = "unterminated date literal";
                return false;
            }
            i = e + 1;
            kind = Tok::DateLit;
        } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            if (i < n && s[i] == '.') {
                ++i;
                while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            }
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) {
                    i = j;
                    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
                }
            }
            kind = Tok::Number;
        } else if (IsWordStart(c)) {
            while (i < n && IsWordChar(static_cast<unsigned char>(s[i]))) ++i;
            kind = Tok::Word;
        } else {
            ++i;
            if (i < n) {
                char d = s[i];
                if ((c == '<' && (d == '>' || d == '=')) || (c == '>' && d == '=') || (c == '!' && d == '=') ||
                    (c == '|' && d == '|') || (c == '=' && d == '='))
                    ++i;
            }
            kind = Tok::Punct;
        }
        Token tok;
        tok.kind = kind;
        tok.text = s.substr(start, i - start);
        out.push_back(std::move(tok));
    }
    return true;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Reads an unsigned number of at most maxDigits digits at s[i].
bool ReadNumber(std::string_view s, size_t& i, int maxDigits, int& value) {
    size_t start = i;
    long v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && int(i - start) < maxDigits) {
        v = v * 10 + (s[i] - '0');
        ++i;
    }
    if (i == start) return false;
    if (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) return false;  // too many digits
    value = int(v);
    return true;
}

void SkipSpaces(std::string_view s, size_t& i) {
    while (i < s.size() && IsSpace(static_cast<unsigned char>(s[i]))) ++i;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeap(y)) ? 29 : kDays[m - 1];
}
bool ValidDate(int y, int m, int d) {
    return y >= 100 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// Days since 1970-01-01 of a civil date, and back.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long yy = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

bool ParseDatePart(std::string_view s, size_t& i, DateTime& dt) {
    int a, b, c;
    size_t start = i;
    if (!ReadNumber(s, i, 4, a)) return false;
    size_t aLen = i - start;
    if (i >= s.size() || (s[i] != '-' && s[i] != '/')) return false;
    char sep = s[i++];
    if (!ReadNumber(s, i, 2, b)) return false;
    if (i >= s.size() || s[i] != sep) return false;
    ++i;
    size_t cStart = i;
    if (!ReadNumber(s, i, 4, c)) return false;
    if (sep == '-' || aLen > 2) {
        dt.year = a, dt.month = b, dt.day = c;  // y-m-d, y/m/d
    } else {
        if (i - cStart <= 2) c += (c < 30) ? 2000 : 1900;  // two-digit year
        dt.year = c, dt.month = a, dt.day = b;             // m/d/y
    }
    return ValidDate(dt.year, dt.month, dt.day);
}

bool ParseTimePart(std::string_view s, size_t& i, DateTime& dt) {
    int h, m, sec = 0;
    if (!ReadNumber(s, i, 2, h)) return false;
    if (i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!ReadNumber(s, i, 2, m)) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!ReadNumber(s, i, 2, sec)) return false;
    }
    size_t j = i;
    SkipSpaces(s, j);
    if (j + 2 <= s.size()) {
        std::string_view ap = s.substr(j, 2);
        bool am = EqualsNoCase(ap, "AM"), pm = EqualsNoCase(ap, "PM");
        if (am || pm) {
            if (h < 1 || h > 12) return false;
            h = (h % 12) + (pm ? 12 : 0);
            i = j + 2;
        }
    }
    if (h > 23 || m > 59 || sec > 59) return false;
    dt.hour = h, dt.minute = m, dt.second = sec;
    return true;
}

void AppendPadded(std::string& out, int v, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, v);
    out += buf;
}

// Appends the COLLATE clause to every term of the ORDER BY that starts at
// token index `from` (the token after BY). The clause ends at the closing
// parenthesis of its subquery, a semicolon or the next clause's keyword.
void CollateOrderBy(std::vector<Token>& toks, size_t from) {
    int depth = 0;
    size_t lastSig = SIZE_MAX, prevSig = SIZE_MAX;  // last two significant tokens of the term
    bool hasCollate = false;
    auto closeTerm = [&]() {
        if (lastSig == SIZE_MAX || hasCollate) return;
        size_t at = lastSig;
        if (toks[lastSig].kind == Tok::Word &&
            (EqualsNoCase(toks[lastSig].text, "ASC") || EqualsNoCase(toks[lastSig].text, "DESC"))) {
            if (prevSig == SIZE_MAX) return;  // a column named like the keyword
            at = prevSig;
        }
        toks[at].suffix += " COLLATE ";
        toks[at].suffix += kOrderCollation;
        if (at + 1 < toks.size() && (toks[at + 1].kind == Tok::Word || toks[at + 1].kind == Tok::Number))
            toks[at].suffix += ' ';  // keep the next word apart
    };
    for (size_t i = from; i < toks.size(); ++i) {
        Token& t = toks[i];
        if (t.kind == Tok::Space) continue;
        if (t.kind == Tok::Punct) {
            if (t.text == "(")
                ++depth;
            else if (t.text == ")") {
                if (depth == 0) break;  // end of the enclosing subquery
                --depth;
            } else if (depth == 0 && t.text == ",") {
                closeTerm();
                lastSig = prevSig = SIZE_MAX;
                hasCollate = false;
                continue;
            } else if (depth == 0 && t.text == ";") {
                break;
            }
        } else if (t.kind == Tok::Word) {
            if (depth == 0) {
                static const char* const kEnd[] = {"LIMIT", "OFFSET", "UNION", "FOR",  "NULLS",  "ORDER",
                                                   "GROUP", "HAVING", "WHERE", "FROM", "SELECT", "WINDOW"};
                bool end = false;
                for (const char* k : kEnd) end = end || EqualsNoCase(t.text, k);
                if (end) break;
            }
            if (EqualsNoCase(t.text, "COLLATE")) hasCollate = true;  // the term names its own
        }
        prevSig = lastSig;
        lastSig = i;
    }
    closeTerm();
}

// s between two quote characters q.
std::string Quoted(char q, std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += q;
    out.append(s.data(), s.size());
    out += q;
    return out;
}

// True when the next significant token after index i is the given word.
bool NextIsWord(const std::vector<Token>& toks, size_t i, const char* word) {
    for (size_t j = i + 1; j < toks.size(); ++j) {
        if (toks[j].kind == Tok::Space) continue;
        return toks[j].kind == Tok::Word && EqualsNoCase(toks[j].text, word);
    }
    return false;
}

}  // namespace

bool ParseDateTime(std::string_view text, DateTime& out) {
    out = DateTime{};
    // The shapes the file stores ('YYYY-MM-DD', 'HH:MM:SS') read at once,
    // with the same checks as the general reading below.
    auto digits = [&](size_t at, size_t n) {
        int v = 0;
        for (size_t k = at; k < at + n; ++k) {
            if (text[k] < '0' || text[k] > '9') return -1;
            v = v * 10 + (text[k] - '0');
        }
        return v;
    };
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (y >= 0 && m >= 0 && d >= 0) {
            if (!ValidDate(y, m, d)) return false;
            out.year = y, out.month = m, out.day = d;
            return true;
        }
    } else if (text.size() == 8 && text[2] == ':' && text[5] == ':') {
        const int h = digits(0, 2), m = digits(3, 2), sec = digits(6, 2);
        if (h >= 0 && m >= 0 && sec >= 0) {
            if (h > 23 || m > 59 || sec > 59) return false;
            out.hour = h, out.minute = m, out.second = sec;
            return true;
        }
    }
    size_t i = 0;
    SkipSpaces(text, i);
    size_t save = i;
    DateTime dt;
    if (ParseDatePart(text, i, dt)) {
        size_t j = i;
        SkipSpaces(text, j);
        // A time follows after blanks, or right after a 'T' (ISO form).
        if (j < text.size() && (j > i || text[j] == 'T')) {
            if (j == i) ++j;
            DateTime t;
            if (!ParseTimePart(text, j, t)) return false;
            dt.hour = t.hour, dt.minute = t.minute, dt.second = t.second;
            i = j;
        }
    } else {
        i = save;
        dt = DateTime{};
        if (!ParseTimePart(text, i, dt)) return false;
    }
    SkipSpaces(text, i);
    if (i != text.size()) return false;
    out = dt;
    return true;
}

std::string FormatDateTime(const DateTime& dt) {
    std::string s;
    if (dt.HasDate()) {
        AppendPadded(s, dt.year, 4);
        s += '-';
        AppendPadded(s, dt.month, 2);
        s += '-';
        AppendPadded(s, dt.day, 2);
    }
    if (dt.HasTime()) {
        if (!s.empty()) s += ' ';
        AppendPadded(s, dt.hour, 2);
        s += ':';
        AppendPadded(s, dt.minute, 2);
        s += ':';
        AppendPadded(s, dt.second, 2);
    }
    return s;
}

bool DateAdd(std::string_view interval, long long number, const DateTime& in, DateTime& out) {
    const long long kMaxDays = 3700000;  // well beyond the years 100-9999
    if (number > kMaxDays * 86400LL || number < -kMaxDays * 86400LL) return false;
    out = in;
    bool hasDate = in.HasDate();
    int y = hasDate ? in.year : 1899, m = hasDate ? in.month : 12, d = hasDate ? in.day : 30;
    long long secs = in.HasTime() ? in.hour * 3600LL + in.minute * 60LL + in.second : 0;
    auto addMonths = [&](long long months) -> bool {
        long long total = (long long)y * 12 + (m - 1) + months;
        if (total < 100 * 12 || total > 9999LL * 12 + 11) return false;
        y = int(total / 12);
        m = int(total % 12) + 1;
        if (d > DaysInMonth(y, m)) d = DaysInMonth(y, m);  // Jan 31 + 1 month = Feb 28/29
        return true;
    };
    long long addSecs = 0, addDays = 0;
    if (EqualsNoCase(interval, "YYYY")) {
        if (!addMonths(number * 12)) return false;
    } else if (EqualsNoCase(interval, "Q")) {
        if (!addMonths(number * 3)) return false;
    } else if (EqualsNoCase(interval, "M")) {
        if (!addMonths(number)) return false;
    } else if (EqualsNoCase(interval, "D") || EqualsNoCase(interval, "Y") || EqualsNoCase(interval, "W")) {
        addDays = number;
    } else if (EqualsNoCase(interval, "WW")) {
        addDays = number * 7;
    } else if (EqualsNoCase(interval, "H")) {
        addSecs = number * 3600;
    } else if (EqualsNoCase(interval, "N")) {
        addSecs = number * 60;
    } else if (EqualsNoCase(interval, "S")) {
        addSecs = number;
    } else {
        return false;
    }
    long long days = DaysFromCivil(y, m, d) + addDays;
    secs += addSecs;
    days += secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    secs = ((secs % 86400) + 86400) % 86400;
    if (days < DaysFromCivil(100, 1, 1) || days > DaysFromCivil(9999, 12, 31)) return false;
    CivilFromDays(days, y, m, d);
    out.year = y, out.month = m, out.day = d;
    if (in.HasTime() || addSecs != 0) {
        out.hour = int(secs / 3600), out.minute = int(secs / 60 % 60), out.second = int(secs % 60);
    }
    return true;
}

bool Translate(std::string_view jet, Translation& out) {
    out = Translation{};
    std::vector<Token> toks;
    toks.reserve(jet.size() / 3 + 8);
    if (!Tokenize(jet, toks, out.error)) return false;

    size_t prevSig = SIZE_MAX;  // index of the previous significant token
    for (size_t i = 0; i < toks.size(); ++i) {
        Token& t = toks[i];
        if (t.kind == Tok::Space) continue;
        if (prevSig == SIZE_MAX && t.kind == Tok::Word) {
            if (EqualsNoCase(t.text, "SELECT"))
                out.kind = StatementKind::Select;
            else if (EqualsNoCase(t.text, "INSERT"))
                out.kind = StatementKind::Insert;
            else if (EqualsNoCase(t.text, "UPDATE"))
                out.kind = StatementKind::Update;
            else if (EqualsNoCase(t.text, "DELETE"))
                out.kind = StatementKind::Delete;
        }
        switch (t.kind) {
        case Tok::DateLit: {
            DateTime dt;
            std::string_view inner = t.text.substr(1, t.text.size() - 2);
            if (!ParseDateTime(inner, dt)) {
                out.error = "invalid date literal " + std::string(t.text);
                return false;
            }
            t.repl = Quoted('\'', FormatDateTime(dt));
            t.replaced = true;
            break;
        }
        case Tok::Punct:
            // Jet has no comments: "5--3" is five minus minus three, and "/*"
            // is a division by a star; keep SQLite from reading comments.
            if (i + 1 < toks.size() && toks[i + 1].kind == Tok::Punct &&
                ((t.text == "-" && toks[i + 1].text[0] == '-') || (t.text == "/" && toks[i + 1].text[0] == '*')))
                t.suffix += ' ';
            // DELETE * FROM: Jet's optional star.
            if (t.text == "*" && prevSig != SIZE_MAX && toks[prevSig].kind == Tok::Word &&
                EqualsNoCase(toks[prevSig].text, "DELETE") && NextIsWord(toks, i, "FROM")) {
                t.replaced = true;  // repl stays empty
            }
            break;
        case Tok::Number:
            // Numeric column alias: AS 2 -> AS "2".
            if (prevSig != SIZE_MAX && toks[prevSig].kind == Tok::Word && EqualsNoCase(toks[prevSig].text, "AS") &&
                AllDigits(t.text)) {
                t.repl = Quoted('"', t.text);
                t.replaced = true;
            }
            break;
        case Tok::Word:
            if (EqualsNoCase(t.text, "BY") && prevSig != SIZE_MAX && toks[prevSig].kind == Tok::Word &&
                EqualsNoCase(toks[prevSig].text, "ORDER")) {
                // The terms' tokens are still stepped through below: date
                // literals and aliases inside them are rewritten as anywhere.
                CollateOrderBy(toks, i + 1);
            }
            break;
        default: break;
        }
        prevSig = i;
    }

    out.sql.reserve(jet.size() + 64);
    for (const Token& t : toks) {
        if (t.replaced)
            out.sql += t.repl;
        else
            out.sql.append(t.text.data(), t.text.size());
        out.sql += t.suffix;
    }
    return true;
}

}  // namespace jetsql
