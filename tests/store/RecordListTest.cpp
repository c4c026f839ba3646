#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "store/ODBCClass.h"
#include "store/RecordList.h"

using namespace store;

namespace {

std::string Formatted() { return g_ODBC.co_GetSQL(); }

TEST(FormatSQL, DoublesTheQuotesOfEveryTextValueOnly) {
    ASSERT_EQ(
        0, FormatSQL("SELECT * FROM t WHERE a='%s' AND b LIKE '%%%s%%' AND c=%d", "it's", "'); DROP TABLE t; --", -7));
    EXPECT_EQ("SELECT * FROM t WHERE a='it''s' AND b LIKE '%''); DROP TABLE t; --%' AND c=-7", Formatted());
    ASSERT_EQ(0, FormatSQL("x='%s'", "高'中"));
    EXPECT_EQ("x='高''中'", Formatted());
    ASSERT_EQ(0, FormatSQL("x='%s'", ""));
    EXPECT_EQ("x=''", Formatted());
}

TEST(FormatSQL, AmountsAreFixedPointAndNeverCut) {
    ASSERT_EQ(0, FormatSQL("v=%f", 1.5));
    EXPECT_EQ("v=1.500000", Formatted());
    ASSERT_EQ(0, FormatSQL("v=%f", -0.25));
    EXPECT_EQ("v=-0.250000", Formatted());
    ASSERT_EQ(0, FormatSQL("v=%f,w=%f", 1e300, 12345678.9));
    std::string s = Formatted();
    char szHuge[400];
    snprintf(szHuge, sizeof szHuge, "v=%f,", 1e300);  // the test runs in the C locale
    EXPECT_EQ(0u, s.find(szHuge));
    EXPECT_GT(s.size(), 310u);
    EXPECT_NE(std::string::npos, s.find(",w=12345678.900000"));
}

TEST(FormatSQL, LongStatementsAreKeptWhole) {
    std::string strLong(100000, 'a');
    strLong[5000] = '\'';
    ASSERT_EQ(0, FormatSQL("INSERT INTO t VALUES('%s')", strLong.c_str()));
    std::string s = Formatted();
    ASSERT_EQ(strLong.size() + 1 + strlen("INSERT INTO t VALUES('')"), s.size());
    EXPECT_EQ("''", s.substr(strlen("INSERT INTO t VALUES('") + 5000, 2));
}

TEST(EscapeQuotes, WritesEveryQuoteTwice) {
    const char* src = "'a''b'";
    char target[2 * 6 + 1];
    EscapeQuotes(src, target);
    EXPECT_STREQ("''a''''b''", target);
    EscapeQuotes("", target);
    EXPECT_STREQ("", target);
}

TEST(SortColumnName, OnlyInsideTheTable) {
    const char* const kTable[] = {"a", "b"};
    EXPECT_STREQ("b", SortColumnName(kTable, 2, 1));
    EXPECT_EQ(nullptr, SortColumnName(kTable, 2, 2));
    EXPECT_EQ(nullptr, SortColumnName(kTable, 2, -1));
}

}  // namespace
