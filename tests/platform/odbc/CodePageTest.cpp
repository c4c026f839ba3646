// Every character of code page 936 goes into the file and comes back as the
// same bytes; byte sequences that are no such character are refused whole.
#include <vector>

#include "OdbcTestUtil.h"
#include "platform/gbk/gbk.h"

using namespace odbctest;

namespace {

class CodePageTest : public OdbcTest {
protected:
    // Reads column 1 of the single row of the statement in full (GBK).
    std::string ReadText(const std::string& sql) {
        EXPECT_EQ(SQL_SUCCESS, Exec(sql)) << Diag();
        EXPECT_EQ(SQL_SUCCESS, SQLFetch(m_hStmt));
        std::vector<char> buf(1 << 16);
        SQLLEN ind = 0;
        SQLRETURN rc = SQLGetData(m_hStmt, 1, SQL_C_CHAR, buf.data(), SQLLEN(buf.size()), &ind);
        EXPECT_EQ(SQL_SUCCESS, rc) << Diag();
        return rc == SQL_SUCCESS ? std::string(buf.data(), size_t(ind)) : std::string();
    }
};

// Every valid character: ASCII, the euro sign 0x80 and every assigned pair.
std::vector<std::string> AllCharacters() {
    std::vector<std::string> all;
    for (int c = 0x20; c < 0x7F; ++c)
        if (c != '\'') all.push_back(std::string(1, char(c)));
    all.push_back("\x80");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            std::string ch{char(lead), char(trail)};
            if (gbk::IsValid(ch)) all.push_back(ch);
        }
    return all;
}

TEST_F(CodePageTest, EveryCharacterComesBackAsTheSameBytes) {
    std::vector<std::string> all = AllCharacters();
    ASSERT_GT(all.size(), 21000u);
    // In texts of 1,000 characters, each written and read back.
    size_t checked = 0;
    for (size_t i = 0; i < all.size(); i += 1000) {
        std::string text;
        for (size_t k = i; k < all.size() && k < i + 1000; ++k) text += all[k];
        ASSERT_EQ(SQL_SUCCESS, Exec("DELETE * FROM important")) << Diag();
        ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('" + text + "')")) << Diag();
        std::string back = ReadText("SELECT imp_description FROM important");
        if (back != text) {
            for (size_t k = i; k < all.size() && k < i + 1000; ++k) {
                ASSERT_EQ(SQL_SUCCESS, Exec("DELETE * FROM important"));
                ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('" + all[k] + "')"));
                ASSERT_EQ(all[k], ReadText("SELECT imp_description FROM important"))
                    << "character " << std::hex << (unsigned)(unsigned char)all[k][0];
            }
        }
        checked += 1000;
    }
    EXPECT_GE(checked, all.size());
}

TEST_F(CodePageTest, TheEuroSignIsStoredAsItsOwnCharacter) {
    ASSERT_EQ(SQL_SUCCESS, Exec("INSERT INTO important(imp_description) VALUES('\x80"
                                "100')"));
    EXPECT_EQ(
        "\x80"
        "100",
        ReadText("SELECT imp_description FROM important WHERE imp_description LIKE '%100'"));
    // In the file: U+20AC as UTF-8.
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM important WHERE imp_description = '\x80"
                         "100'"));
}

TEST_F(CodePageTest, InvalidSequencesAreRefusedAndNothingIsWritten) {
    std::string before = Value("SELECT COUNT(*) FROM important");
    const char* const kInvalid[] = {
        "\xFF",              // no character
        "a\x81",             // a lead byte at the end
        "\x9D',\x9D",        // a lead byte before a quote
        "\x81\x7F",          // 0x7F is no trail byte
        "\x81\x30\x81\x30",  // a four-byte sequence
        "\xA1\x40",          // an unassigned pair
    };
    for (const char* bad : kInvalid) {
        EXPECT_EQ(SQL_ERROR, Exec(std::string("INSERT INTO important(imp_description) VALUES('x") + bad + "')")) << bad;
        EXPECT_EQ("22021", Diag().substr(0, 5)) << bad;
    }
    // A quote after an invalid byte stays a quote: the statement is never
    // taken as something else (here: a delete of every row).
    EXPECT_EQ(SQL_ERROR, Exec("DELETE * FROM important WHERE imp_description='\x81'' OR 1=1 OR 1=\x81'"));
    EXPECT_EQ(before, Value("SELECT COUNT(*) FROM important"));
}

}  // namespace
