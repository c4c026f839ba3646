// Base64 in lines and the text of one mail (header values, date, body).
#include <gtest/gtest.h>

#include "mail/Base64.h"
#include "mail/MimeWriter.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/gbk/gbk.h"

namespace {

std::string Encode(const std::string& in, int limit = 74) {
    std::string out(Base64EncodedSize(in.size(), limit), '#');
    const int n = Base64Encode(reinterpret_cast<const unsigned char*>(in.data()), out.data(), (int)in.size(), limit);
    EXPECT_EQ(out[(size_t)n], '\0');
    EXPECT_LE((size_t)n + 1, out.size());
    return out.substr(0, (size_t)n);
}

TEST(Base64, GroupsAndPadding) {
    EXPECT_EQ(Encode("abc"), "YWJj");
    EXPECT_EQ(Encode("a"), "YQ==");
    EXPECT_EQ(Encode("ab"), "YWI=");
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode(std::string("\xff\xfe\x00", 3)), "//4A");
}

TEST(Base64, LinesOf72Characters) {
    const std::string in54(54, 'x');
    const std::string out = Encode(in54);
    ASSERT_EQ(out.size(), 74u);
    EXPECT_EQ(out.substr(72), "\r\n");
    EXPECT_EQ(out.find('\r'), 72u);
    // Three more bytes start a second line; one more byte pads it.
    EXPECT_EQ(Encode(std::string(57, 'x')).size(), 72u + 2 + 4);
    EXPECT_EQ(Encode(std::string(55, 'x')).substr(74), "eA==");
    // Long inputs: every line but the last holds 72 characters.
    const std::string big = Encode(std::string(1000, '\x9a'));
    size_t start = 0, end;
    while ((end = big.find("\r\n", start)) != std::string::npos) {
        EXPECT_EQ(end - start, 72u);
        start = end + 2;
    }
    EXPECT_LE(big.size() - start, 72u);
}

TEST(Base64, BufferSizeFitsEveryLengthAndLimit) {
    for (int limit : {0, 1, 4, 8, 74, 76})
        for (size_t n = 0; n < 200; n++) {
            const std::string in(n, 'q');
            std::string out(Base64EncodedSize(n, limit) + 8, '#');
            const int w = Base64Encode(reinterpret_cast<const unsigned char*>(in.data()), out.data(), (int)n, limit);
            EXPECT_LE((size_t)w + 1, Base64EncodedSize(n, limit)) << n << " " << limit;
            EXPECT_EQ(out[Base64EncodedSize(n, limit)], '#');
        }
    EXPECT_EQ(Base64Encode(std::string("user"), 74), "dXNlcg==");
}

class MimeDateTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = getenv("TZ");
        m_bHadTz = tz != nullptr;
        if (tz) m_strTz = tz;
    }
    void TearDown() override {
        if (m_bHadTz)
            setenv("TZ", m_strTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static void Zone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
    bool m_bHadTz = false;
    std::string m_strTz;
};

TEST_F(MimeDateTest, PaddedFieldsAndNumericOffset) {
    Zone("Asia/Shanghai");
    // 2025-01-05 01:05:03 UTC is a Sunday, 09:05:03 in Beijing.
    EXPECT_EQ(MimeDate(1736039103), "Sun, 05 Jan 2025 09:05:03 +0800");
    // 2022-12-31 12:00:00 UTC, a Saturday.
    EXPECT_EQ(MimeDate(1672488000), "Sat, 31 Dec 2022 20:00:00 +0800");
    Zone("America/St_Johns");  // half-hour offset, west of Greenwich
    EXPECT_EQ(MimeDate(1736039103), "Sat, 04 Jan 2025 21:35:03 -0330");
    Zone("UTC");
    EXPECT_EQ(MimeDate(1736039103), "Sun, 05 Jan 2025 01:05:03 +0000");
}

TEST(MimeHeaderText, LineBreaksNeverStartAHeader) {
    EXPECT_EQ(MimeHeaderText("Hi\r\nBcc: evil@example.com"), "Hi Bcc: evil@example.com");
    EXPECT_EQ(MimeHeaderText("a\nb\rc"), "a b c");
    EXPECT_EQ(MimeHeaderText("plain"), "plain");
    EXPECT_EQ(MimeHeaderText(""), "");
}

TEST(MimeHeaderText, ChineseBecomesEncodedWordsCutOnCharacters) {
    const std::string subject = gbk::FromUtf8("季度报价");
    EXPECT_EQ(MimeHeaderText(subject), "=?gb2312?B?" + Base64Encode(subject, 0) + "?=");
    // A long text is folded into several words of whole characters.
    std::string longText = "x";
    for (int i = 0; i < 60; i++) longText += gbk::FromUtf8("销");
    const std::string h = MimeHeaderText(longText);
    size_t start = 0;
    int words = 0;
    for (;;) {
        const size_t end = h.find("\r\n ", start);
        const std::string word = h.substr(start, end == std::string::npos ? std::string::npos : end - start);
        ASSERT_EQ(word.rfind("=?gb2312?B?", 0), 0u);
        EXPECT_LE(word.size(), 75u);
        words++;
        if (end == std::string::npos) break;
        start = end + 3;
    }
    EXPECT_GE(words, 3);
    EXPECT_NE(h.find("\r\n "), std::string::npos);
}

TEST(MimeHeaderText, EncodedLinesStayWithin76AfterTheFieldName) {
    std::string subject;
    for (int i = 0; i < 40; i++) subject += gbk::FromUtf8("报");
    const std::string h = "Subject: " + MimeHeaderText(subject, 9);
    size_t start = 0;
    int lines = 0;
    for (;;) {
        const size_t end = h.find("\r\n", start);
        EXPECT_LE((end == std::string::npos ? h.size() : end) - start, 76u);
        lines++;
        if (end == std::string::npos) break;
        start = end + 2;
    }
    EXPECT_GE(lines, 2);
}

TEST(MimeCharset, Gb2312UnlessACharacterIsOutsideIt) {
    EXPECT_STREQ(MimeCharset("Offer"), "gb2312");
    EXPECT_STREQ(MimeCharset(gbk::FromUtf8("季度报价，请查收！")), "gb2312");
    for (const char* c : {"喆", "镕", "堃"})
        EXPECT_STREQ(MimeCharset(gbk::FromUtf8(std::string("报价") + c)), "GBK") << c;
    // The label follows the text into the header and the part.
    MimeMail m;
    m.strFrom = "sales@example.com";
    m.strTo = "lee@example.com";
    m.strSubject = gbk::FromUtf8("堃");
    m.strBody = gbk::FromUtf8("喆");
    const std::string text = MimeMessage(m, 0);
    EXPECT_NE(text.find("Subject: =?GBK?B?"), std::string::npos);
    EXPECT_NE(text.find(" charset=GBK\r\n"), std::string::npos);
    // No name: the address alone.
    EXPECT_NE(text.find("\r\nFrom: <sales@example.com>\r\n"), std::string::npos);
}

TEST(MimeBody, SalutationAndContent) {
    EXPECT_EQ(MimeBodyText("Lee", "hi", true), "Lee,\n\nhi");
    EXPECT_EQ(MimeBodyText("Lee", "", true), "Lee,\n\n");
    EXPECT_EQ(MimeBodyText("Lee", "hi", false), "hi");
    EXPECT_EQ(MimeBodyText("Lee", "", false), "");
}

TEST(MimeMessage, LayoutOfOneMail) {
    MimeMail m;
    m.strName = gbk::FromUtf8("销售部");
    m.strFrom = "sales@example.com";
    m.strTo = "lee@example.com";
    m.strSubject = "Offer";
    m.strBody = "";
    const std::string text = MimeMessage(m, 1736039103);
    EXPECT_NE(text.find("\r\nFrom: =?gb2312?B?" + Base64Encode(m.strName, 0) + "?= <sales@example.com>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nTo: lee@example.com\r\nSubject: Offer\r\nX-Mailer: Dravenhold Mail\r\n"
                        "Mime-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n "
                        "boundary=\"Dravenhold_Mail_all\"\r\n\r\n"),
              std::string::npos);
    // An empty body: nothing between the part header and its end.
    EXPECT_NE(text.find("Content-Transfer-Encoding: base64\r\n\r\n\r\n\r\n--Dravenhold_Mail_text--\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 29), "\r\n\r\n--Dravenhold_Mail_all--\r\n");
    // No line of the message starts with a dot.
    EXPECT_EQ(text.find("\n."), std::string::npos);
    // A display name with an address special is quoted.
    m.strName = "Sales, East";
    EXPECT_NE(MimeMessage(m, 0).find("From: \"Sales, East\" <sales@example.com>\r\n"), std::string::npos);
}

}  // namespace
