// Random statement texts through the Jet translator and the whole driver:
// nothing may crash, hang or trip the sanitizers, and well-formed pieces of
// the dialect must keep translating the same way.
#include <random>

#include "OdbcTestUtil.h"
#include "platform/gbk/gbk.h"
#include "jetsql.h"

using namespace odbctest;

namespace {

const char* const kPieces[] = {
    "SELECT",
    " * ",
    "FROM",
    " opportunities ",
    " accounts ",
    " que_contacts_accounts ",
    " WHERE ",
    "opp_id",
    "=",
    "-1",
    " AND ",
    " OR ",
    "(",
    ")",
    ",",
    "'",
    "''",
    "'abc'",
    "'中文'",
    "#",
    "#2024-1-5#",
    "#9:5:0#",
    "#2024-13-1#",
    "#1/2/2024#",
    "#12:00 PM#",
    "DELETE",
    "DELETE * FROM",
    "*",
    " AS ",
    "1",
    "20",
    "2.5e3",
    "ORDER BY",
    " ORDER BY 2 DESC",
    " DESC",
    " ASC",
    " COLLATE ",
    "GROUP BY",
    "LIKE",
    "'%kw%'",
    "DATEADD(",
    "'d'",
    ",-6,",
    "'2024-1-7'",
    "\t",
    "  ",
    ";",
    "--",
    "/*",
    "*/",
    "\"",
    "[",
    "]",
    "`",
    "MIN(",
    "COUNT(*)",
    "INSERT INTO tasks(tas_subject) VALUES(",
    "UPDATE setting SET set_sign=",
    "\x80",
    "\xff",
    "\xd6\xd0",
    "\xe4\xb8",
    "NULL",
    "IS NULL",
    "<>",
    "<=",
    ">=",
    "||",
    "0x",
    "e",
    ".",
    "..",
    "1.",
    "\n",
};

std::string RandomText(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(0, 24), pick(0, int(std::size(kPieces)) - 1), mode(0, 9), byte(0, 255);
    std::string s;
    int n = count(rng);
    for (int i = 0; i < n; ++i) {
        if (mode(rng) == 0)
            s += char(byte(rng));
        else
            s += kPieces[pick(rng)];
    }
    return s;
}

// A statement of the dialect with random parts (names, literals, operators,
// an order, now and then a stray byte): most run, some are refused (an
// impossible date, a byte where a name goes).
std::string RandomStatement(std::mt19937& rng) {
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    struct Table {
        const char* pszName;
        const char* pszColumns[3];
    };
    const Table tables[] = {
        {"opportunities", {"opp_id", "opp_subject", "opp_create_date"}},
        {"accounts", {"acc_id", "acc_name", "acc_create_date"}},
        {"tasks", {"tas_id", "tas_subject", "tas_date"}},
    };
    const char* const literals[] = {"-1",     "20",        "2.5e3",      "'abc'",      "'\xd6\xd0\xce\xc4'",
                                    "''",     "'it''s'",   "#2024-1-5#", "#1/2/2024#", "#2024-13-1#",
                                    "'%kw%'", "#12:00 PM#"};
    const char* const ops[] = {"=", "<>", "<=", ">=", " LIKE ", " IS NULL", " IS NOT NULL"};
    auto literal = [&] { return std::string(literals[pick(int(std::size(literals)))]); };
    std::string s;
    if (pick(5) == 0) {
        s = "INSERT INTO tasks(tas_subject) VALUES(" + literal() + ")";
    } else {
        const Table& t = tables[pick(int(std::size(tables)))];
        s = std::string("SELECT ") + (pick(3) == 0 ? "*" : t.pszColumns[pick(3)]) + " FROM " + t.pszName;
        for (int i = 0, n = pick(3); i < n; ++i) {
            const std::string op = ops[pick(int(std::size(ops)))];
            s += (i == 0 ? " WHERE " : (pick(2) ? " AND " : " OR ")) + std::string(t.pszColumns[pick(3)]) + op;
            if (op.find("NULL") == std::string::npos) s += literal();
        }
        if (pick(2)) s += std::string(" ORDER BY ") + char('1' + pick(2)) + (pick(2) ? " DESC" : "");
    }
    if (pick(6) == 0) s.insert(s.begin() + pick(int(s.size()) + 1), char(pick(256)));
    return s;
}

TEST(TranslatorFuzz, RandomTextsTranslateWithoutHarm) {
    std::mt19937 rng(20240107);
    jetsql::Translation tr;
    for (int i = 0; i < 40000; ++i) {
        std::string text = RandomText(rng);
        bool ok = jetsql::Translate(text, tr);
        if (ok) {
            // The output is plain SQLite: translating it again changes nothing.
            EXPECT_TRUE(tr.error.empty());
            jetsql::Translation again;
            ASSERT_TRUE(jetsql::Translate(tr.sql, again)) << text << "\n" << tr.sql << "\n" << again.error;
            EXPECT_EQ(tr.sql, again.sql) << text;
            EXPECT_EQ(tr.kind, again.kind);
        } else {
            EXPECT_FALSE(tr.error.empty()) << text;
        }
    }
}

TEST(TranslatorFuzz, DateTimeParsingOfRandomTexts) {
    std::mt19937 rng(7);
    const char alphabet[] = "0123456789-/: APMapm#T";
    std::uniform_int_distribution<int> len(0, 24), ch(0, int(sizeof alphabet) - 2);
    for (int i = 0; i < 50000; ++i) {
        std::string s;
        for (int k = len(rng); k > 0; --k) s += alphabet[ch(rng)];
        jetsql::DateTime dt;
        if (jetsql::ParseDateTime(s, dt)) {
            std::string iso = jetsql::FormatDateTime(dt);
            jetsql::DateTime again;
            ASSERT_TRUE(jetsql::ParseDateTime(iso, again)) << s << " -> " << iso;
            EXPECT_EQ(iso, jetsql::FormatDateTime(again));
            jetsql::DateTime moved;
            if (dt.HasDate() && jetsql::DateAdd("d", -400, dt, moved)) {
                jetsql::DateTime back;
                ASSERT_TRUE(jetsql::DateAdd("d", 400, moved, back));
                EXPECT_EQ(iso, jetsql::FormatDateTime(back));
            }
        }
    }
}

// The stored shapes 'YYYY-MM-DD' and 'HH:MM:SS' are read at once; with a
// blank before them the general reading runs: both agree on every text.
TEST(TranslatorFuzz, StoredDateAndTimeShapesReadAsTheGeneralReadingDoes) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> digit(0, 9), other(0, 3);
    for (int i = 0; i < 50000; ++i) {
        std::string s = i % 2 ? "0000-00-00" : "00:00:00";
        for (char& c : s)
            if (c == '0') c = char('0' + digit(rng));
        if (other(rng) == 0) s[size_t(digit(rng)) % s.size()] = "x -:"[other(rng)];
        jetsql::DateTime fast, general;
        const bool ok = jetsql::ParseDateTime(s, fast);
        ASSERT_EQ(ok, jetsql::ParseDateTime(" " + s, general)) << s;
        if (ok) {
            EXPECT_EQ(jetsql::FormatDateTime(general), jetsql::FormatDateTime(fast)) << s;
        }
    }
    jetsql::DateTime dt;
    EXPECT_TRUE(jetsql::ParseDateTime("2024-02-29", dt));
    EXPECT_EQ("2024-02-29", jetsql::FormatDateTime(dt));
    EXPECT_FALSE(jetsql::ParseDateTime("2023-02-29", dt));
    EXPECT_FALSE(jetsql::ParseDateTime("0099-01-01", dt));
    EXPECT_FALSE(jetsql::ParseDateTime("2024-13-01", dt));
    EXPECT_TRUE(jetsql::ParseDateTime("23:59:59", dt));
    EXPECT_EQ("23:59:59", jetsql::FormatDateTime(dt));
    EXPECT_FALSE(jetsql::ParseDateTime("24:00:00", dt));
    EXPECT_FALSE(jetsql::ParseDateTime("12:60:00", dt));
}

TEST(TranslatorFuzz, CollationIsATotalOrder) {
    std::mt19937 rng(11);
    std::vector<std::string> words;
    for (const char* w : {"a", "A", "b", "Bob", "alice", "阿", "李", "王", "张", "赵", "中文", "", "z", "Z1"})
        words.push_back(gbk::ToUtf8(w));
    // UTF-8 outside GBK, and broken sequences.
    for (const char* w : {"\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xc3", "\xe4\xb8", "\xe4\xb8\xad"}) words.push_back(w);
    std::vector<std::string> v;
    std::uniform_int_distribution<int> pick(0, int(words.size()) - 1), n(1, 3);
    for (int i = 0; i < 300; ++i) {
        std::string s;
        for (int k = n(rng); k > 0; --k) s += words[size_t(pick(rng))];
        v.push_back(s);
    }
    auto cmp = [](const std::string& a, const std::string& b) {
        return jetsql::CompareGbkNoCase(a.data(), a.size(), b.data(), b.size());
    };
    for (const auto& a : v)
        for (const auto& b : v) {
            EXPECT_EQ(cmp(a, b), -cmp(b, a));
            if (a == b) {
                EXPECT_EQ(0, cmp(a, b));
            }
        }
}

// Texts after a common beginning of whole characters compare as the texts
// alone do; Chinese characters in pinyin order, Latin letters without case.
TEST(TranslatorFuzz, CollationComparesWholeCharactersAfterACommonBeginning) {
    auto cmp = [](const std::string& a, const std::string& b) {
        return jetsql::CompareGbkNoCase(a.data(), a.size(), b.data(), b.size());
    };
    const std::string zhong = gbk::ToUtf8("中"), wen = gbk::ToUtf8("文");
    const std::vector<std::string> ordered = {"",
                                              "a",
                                              "B",
                                              gbk::ToUtf8("阿"),
                                              gbk::ToUtf8("李"),
                                              gbk::ToUtf8("王"),
                                              gbk::ToUtf8("张"),
                                              gbk::ToUtf8("赵"),
                                              "\xf0\x9f\x98\x80"};
    const std::vector<std::string> beginnings = {"", "Ab", zhong + wen, "\xe2\x82\xac", zhong + "x" + wen};
    for (const std::string& p : beginnings)
        for (size_t i = 0; i < ordered.size(); ++i)
            for (size_t j = 0; j < ordered.size(); ++j) {
                const int want = i < j ? -1 : (i > j ? 1 : 0);
                EXPECT_EQ(want, cmp(p + ordered[i], p + ordered[j])) << i << " " << j;
                if (i > 0 && j > 0 && i != j) {  // one character each: what follows does not count
                    EXPECT_EQ(want, cmp(p + ordered[i] + wen, p + ordered[j] + zhong)) << i << " " << j;
                }
            }
    EXPECT_EQ(-1, cmp(zhong, zhong + wen));
    EXPECT_EQ(0, cmp(gbk::ToUtf8("北京ab"), gbk::ToUtf8("北京AB")));
    // Broken sequences after equal characters: one byte each, after GBK.
    EXPECT_EQ(1, cmp(zhong + "\xe4\xb8", zhong + wen));
    EXPECT_EQ(-1, cmp(zhong + wen, zhong + "\xe4"));
}

class DriverFuzz : public OdbcTest {};

TEST_F(DriverFuzz, RandomStatementsFailCleanlyAndLeaveTheFileIntact) {
    std::mt19937 rng(424242);
    int succeeded = 0, refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string text = i % 2 ? RandomText(rng) : RandomStatement(rng);
        // Keep the shipped rows: only SELECTs and changes to the tasks table.
        if (text.find("DELETE") != std::string::npos || text.find("UPDATE") != std::string::npos) continue;
        SQLRETURN rc = Exec(text);
        if (rc == SQL_SUCCESS) {
            ++succeeded;
            while (SQLFetch(m_hStmt) == SQL_SUCCESS) {
                char buf[8];
                SQLLEN ind;
                SQLGetData(m_hStmt, 1, SQL_C_CHAR, buf, sizeof buf, &ind);
            }
        } else {
            ++refused;
            EXPECT_TRUE(rc == SQL_ERROR || rc == SQL_NO_DATA) << rc;
        }
    }
    // Both ways are exercised: statements that run and statements refused.
    EXPECT_GT(succeeded, 500);
    EXPECT_GT(refused, 500);
    EXPECT_EQ("3", Value("SELECT COUNT(*) FROM important"));
    EXPECT_EQ("ok", Value("PRAGMA integrity_check"));
}

}  // namespace
