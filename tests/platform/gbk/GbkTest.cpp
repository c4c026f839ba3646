#include <gtest/gtest.h>

#include <cstring>

#include "platform/gbk/gbk.h"

TEST(GbkLiterals, ChineseLiteralsAreGbkBytes) {
    // The program's literals are compiled to GBK.
    const char* s = "宋体";
    ASSERT_EQ(strlen(s), 4u);
    EXPECT_EQ((unsigned char)s[0], 0xCB);
    EXPECT_EQ((unsigned char)s[1], 0xCE);
    EXPECT_EQ((unsigned char)s[2], 0xCC);
    EXPECT_EQ((unsigned char)s[3], 0xE5);
}

TEST(GbkConversion, RoundTripsAndReplacesWhatGbkCannotHold) {
    // UTF-8 bytes of "结束－成功" (u8 literals are not narrow strings in C++20).
    std::string utf8 = "\xE7\xBB\x93\xE6\x9D\x9F\xEF\xBC\x8D\xE6\x88\x90\xE5\x8A\x9F O'Brien";
    EXPECT_EQ(gbk::FromUtf8(utf8), std::string("结束－成功 O'Brien"));
    EXPECT_EQ(gbk::ToUtf8("结束－成功 O'Brien"), utf8);
    // An emoji has no GBK code: one '?' per character, the rest kept.
    EXPECT_EQ(gbk::FromUtf8("a\xF0\x9F\x98\x80"
                            "b"),
              "a?b");
    // A lone lead byte at the end of GBK text becomes '?'.
    EXPECT_EQ(gbk::ToUtf8("ab\xCB"), "ab?");
}

TEST(GbkCut, NeverLeavesHalfACharacter) {
    std::string s = "a宋体";  // 1 + 2 + 2 bytes
    EXPECT_EQ(gbk::SafeCut(s.data(), s.size(), 5), 5u);
    EXPECT_EQ(gbk::SafeCut(s.data(), s.size(), 4), 3u);
    EXPECT_EQ(gbk::SafeCut(s.data(), s.size(), 2), 1u);
    EXPECT_EQ(gbk::SafeCut(s.data(), s.size(), 0), 0u);

    char buf[5];
    EXPECT_EQ(gbk::CopyCut(buf, sizeof buf, s), 3u);
    EXPECT_STREQ(buf, "a宋");

    // A text that fits but ends in a lone lead byte loses that byte.
    std::string broken = "ab\xCB";
    char big[16];
    EXPECT_EQ(gbk::CopyCut(big, sizeof big, broken), 2u);
    EXPECT_STREQ(big, "ab");

    // Empty source, including one without storage.
    EXPECT_EQ(gbk::CopyCut(big, sizeof big, std::string_view()), 0u);
    EXPECT_STREQ(big, "");
}

// A byte that cannot continue the character before it is never taken into
// that character: a lead byte followed by a quote keeps the quote.
TEST(GbkConversion, AnInvalidLeadByteNeverSwallowsTheByteAfterIt) {
    EXPECT_EQ(gbk::ToUtf8("\x9D',\x9D"), "?',?");
    EXPECT_EQ(gbk::ToUtf8("\x81''"), "?''");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
        for (unsigned next = 0x01; next < 0x40; ++next) {
            std::string in{char(lead), char(next)};
            std::string out = gbk::ToUtf8(in);
            ASSERT_EQ(2u, out.size()) << std::hex << lead << ' ' << next;
            EXPECT_EQ(char(next), out[1]) << std::hex << lead << ' ' << next;
        }
}

TEST(GbkValidity, CodePage936CharactersOnly) {
    EXPECT_TRUE(gbk::IsValid(""));
    EXPECT_TRUE(gbk::IsValid("plain ASCII '\"; --"));
    EXPECT_TRUE(gbk::IsValid("结束－成功"));
    EXPECT_TRUE(gbk::IsValid("\x80"));  // the euro sign
    EXPECT_EQ(std::string_view::npos, gbk::FindInvalid("a\x80宋"));

    EXPECT_EQ(0u, gbk::FindInvalid("\xFF"));              // no character
    EXPECT_EQ(1u, gbk::FindInvalid("a\x81"));             // lead byte at the end
    EXPECT_EQ(1u, gbk::FindInvalid("a\x81'b"));           // lead byte before an ASCII byte
    EXPECT_EQ(0u, gbk::FindInvalid("\x81\x7F"));          // 0x7F is no trail byte
    EXPECT_EQ(0u, gbk::FindInvalid("\x81\x30\x81\x30"));  // four-byte sequence of GB18030
    EXPECT_EQ(2u, gbk::FindInvalid("宋\xA1\x40"));        // an unassigned pair
    EXPECT_EQ(2u, gbk::FindInvalid("宋\xFE\xFE"));        // in the user-defined area
}
