// The Jet -> SQLite rewrites, text for text.
#include <gtest/gtest.h>

#include "jetsql.h"

namespace {

std::string Tr(const std::string& jet) {
    jetsql::Translation t;
    EXPECT_TRUE(jetsql::Translate(jet, t)) << jet << ": " << t.error;
    return t.sql;
}

std::string Error(const std::string& jet) {
    jetsql::Translation t;
    EXPECT_FALSE(jetsql::Translate(jet, t)) << jet;
    return t.error;
}

TEST(JetTranslate, DateAndTimeLiteralsBecomePaddedText) {
    EXPECT_EQ("WHERE d>='2024-01-05' AND d<='2024-12-31'", Tr("WHERE d>=#2024-1-5# AND d<=#2024-12-31#"));
    EXPECT_EQ("VALUES('09:05:00')", Tr("VALUES(#9:5:0#)"));
    EXPECT_EQ("'2024-01-05'", Tr("#1/5/2024#"));  // Jet reads m/d/y
    EXPECT_EQ("'2024-01-05'", Tr("#2024/1/5#"));
    EXPECT_EQ("'2024-01-05 13:30:00'", Tr("#2024-1-5 1:30 PM#"));
    EXPECT_EQ("'00:15:00'", Tr("# 12:15 am #"));
    EXPECT_EQ("'2024-02-29'", Tr("#2024-2-29#"));
    EXPECT_FALSE(Error("#2023-2-29#").empty());
    EXPECT_FALSE(Error("#2024-13-1#").empty());
    EXPECT_FALSE(Error("#24:00:00#").empty());
    EXPECT_FALSE(Error("#2024-1-5").empty());
    EXPECT_FALSE(Error("##").empty());
}

TEST(JetTranslate, QuotedTextPassesUntouched) {
    EXPECT_EQ("SET a='#2024-1-5#', b='DELETE * FROM x', c='O''Neil -- x'",
              Tr("SET a='#2024-1-5#', b='DELETE * FROM x', c='O''Neil -- x'"));
    EXPECT_EQ("SELECT [a b], \"c#d#\" FROM t", Tr("SELECT [a b], \"c#d#\" FROM t"));
    EXPECT_FALSE(Error("UPDATE setting SET set_sign='it's' WHERE set_id=1").empty());
    EXPECT_FALSE(Error("SELECT 'abc").empty());
    EXPECT_FALSE(Error("SELECT [abc").empty());
}

TEST(JetTranslate, NoCommentsInJet) {
    EXPECT_EQ("SELECT 5- -3", Tr("SELECT 5--3"));
    EXPECT_EQ("SELECT a/ *b", Tr("SELECT a/*b"));
    EXPECT_EQ("WHERE x='--' AND y='/*'", Tr("WHERE x='--' AND y='/*'"));
}

TEST(JetTranslate, DeleteStarAndNumericAliases) {
    EXPECT_EQ("DELETE  FROM t WHERE a=1", Tr("DELETE * FROM t WHERE a=1"));
    EXPECT_EQ("DELETE\t\t FROM t", Tr("DELETE\t\t* FROM t"));
    EXPECT_EQ("SELECT COUNT(*) FROM t", Tr("SELECT COUNT(*) FROM t"));
    EXPECT_EQ("SELECT MIN(a) AS \"1\",MIN(b) AS \"20\", c AS x", Tr("SELECT MIN(a) AS 1,MIN(b) AS 20, c AS x"));
}

TEST(JetTranslate, OrderByTermsGetTheCollation) {
    EXPECT_EQ("ORDER BY a COLLATE GBK_NOCASE DESC,b COLLATE GBK_NOCASE", Tr("ORDER BY a DESC,b"));
    EXPECT_EQ("GROUP BY con_id ORDER BY 2 COLLATE GBK_NOCASE DESC", Tr("GROUP BY con_id ORDER BY 2 DESC"));
    EXPECT_EQ("ORDER BY\ttas_date COLLATE GBK_NOCASE DESC,tas_time COLLATE GBK_NOCASE DESC",
              Tr("ORDER BY\ttas_date DESC,tas_time DESC"));
    EXPECT_EQ("ORDER BY f(a, b) COLLATE GBK_NOCASE", Tr("ORDER BY f(a, b)"));
    EXPECT_EQ("ORDER BY a COLLATE BINARY", Tr("ORDER BY a COLLATE BINARY"));
    EXPECT_EQ("SELECT * FROM (SELECT a FROM t ORDER BY a COLLATE GBK_NOCASE) ORDER BY 1 COLLATE GBK_NOCASE",
              Tr("SELECT * FROM (SELECT a FROM t ORDER BY a) ORDER BY 1"));
}

TEST(JetTranslate, StatementKind) {
    jetsql::Translation t;
    ASSERT_TRUE(jetsql::Translate("\t update t set a=1", t));
    EXPECT_EQ(jetsql::StatementKind::Update, t.kind);
    ASSERT_TRUE(jetsql::Translate("DELETE * FROM t", t));
    EXPECT_EQ(jetsql::StatementKind::Delete, t.kind);
    ASSERT_TRUE(jetsql::Translate("SELECT 1", t));
    EXPECT_EQ(jetsql::StatementKind::Select, t.kind);
    ASSERT_TRUE(jetsql::Translate("INSERT INTO t VALUES(1)", t));
    EXPECT_EQ(jetsql::StatementKind::Insert, t.kind);
}

TEST(JetTranslate, DateAddCountsCalendarUnits) {
    jetsql::DateTime in, out;
    ASSERT_TRUE(jetsql::ParseDateTime("2024-1-7", in));
    ASSERT_TRUE(jetsql::DateAdd("d", -6, in, out));
    EXPECT_EQ("2024-01-01", jetsql::FormatDateTime(out));
    ASSERT_TRUE(jetsql::DateAdd("d", -7, in, out));
    EXPECT_EQ("2023-12-31", jetsql::FormatDateTime(out));
    ASSERT_TRUE(jetsql::DateAdd("ww", 8, in, out));
    EXPECT_EQ("2024-03-03", jetsql::FormatDateTime(out));
    ASSERT_TRUE(jetsql::DateAdd("q", 1, in, out));
    EXPECT_EQ("2024-04-07", jetsql::FormatDateTime(out));
    ASSERT_TRUE(jetsql::DateAdd("h", -1, in, out));
    EXPECT_EQ("2024-01-06 23:00:00", jetsql::FormatDateTime(out));
    EXPECT_FALSE(jetsql::DateAdd("x", 1, in, out));
    EXPECT_FALSE(jetsql::DateAdd("yyyy", 100000, in, out));
}

}  // namespace
