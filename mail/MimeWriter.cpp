#include "mail/MimeWriter.h"

#include "mail/Base64.h"

#include <cstdio>

namespace {

const char* const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Bytes per encoded word: 45 bytes give 60 base64 characters, and with
// "=?gb2312?B?" and "?=" a word of 73 stays within the 75 RFC 2047 allows.
const size_t kWordBytes = 45;

bool HasHighBytes(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return true;
    return false;
}

// A display name that holds an address special goes in quotes.
std::string PhraseText(const std::string& strName) {
    const std::string s = MimeHeaderText(strName);
    if (HasHighBytes(strName) || s.find_first_of("()<>[]:;@\\,.\"") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

}  // namespace

std::string MimeDate(time_t t) {
    struct tm lt;
    localtime_r(&t, &lt);
    const long nOffset = lt.tm_gmtoff / 60;
    const long nAbs = nOffset < 0 ? -nOffset : nOffset;
    char sz[64];
    snprintf(sz, sizeof sz, "%s, %02d %s %d %02d:%02d:%02d %c%02ld%02ld", kWeekdays[lt.tm_wday % 7], lt.tm_mday,
             kMonths[lt.tm_mon % 12], lt.tm_year + 1900, lt.tm_hour, lt.tm_min, lt.tm_sec, nOffset < 0 ? '-' : '+',
             nAbs / 60, nAbs % 60);
    return sz;
}

std::string MimeHeaderText(const std::string& strGbk) {
    std::string s;
    s.reserve(strGbk.size());
    for (size_t i = 0; i < strGbk.size(); i++) {
        const char c = strGbk[i];
        if (c == '\r' || c == '\n') {
            if (i == 0 || (strGbk[i - 1] != '\r' && strGbk[i - 1] != '\n')) s += ' ';
        } else {
            s += c;
        }
    }
    if (!HasHighBytes(s)) return s;
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        // Cut on a character boundary: a lead byte takes its trail byte along.
        size_t j = i;
        while (j < s.size() && j - i < kWordBytes) {
            const size_t n = ((unsigned char)s[j] >= 0x81 && j + 1 < s.size()) ? 2 : 1;
            if (j - i + n > kWordBytes) break;
            j += n;
        }
        if (!out.empty()) out += "\r\n ";
        out += "=?gb2312?B?" + Base64Encode(s.substr(i, j - i), 0) + "?=";
        i = j;
    }
    return out;
}

std::string MimeBodyText(const std::string& strNickname, const std::string& strContent, bool bSalutation) {
    if (!bSalutation) return strContent;
    return strNickname + ",\n\n" + strContent;
}

std::string MimeMessage(const MimeMail& mail, time_t t) {
    const std::string strBody = Base64Encode(mail.strBody, 74);
    std::string m;
    m.reserve(strBody.size() + 1024);
    m += "Date: " + MimeDate(t) + "\r\n";
    m += "From: " + PhraseText(mail.strName) + "<" + MimeHeaderText(mail.strFrom) + ">\r\n";
    m += "To: " + MimeHeaderText(mail.strTo) + "\r\n";
    m += "Subject: " + MimeHeaderText(mail.strSubject) + "\r\n";
    m += "X-Mailer: Dravenhold Mail\r\n";
    m += "Mime-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n boundary=\"Dravenhold_Mail_all\"\r\n";
    m += "\r\n";
    m += "This is a multi-part message in MIME format.\r\n";
    m += "\r\n";
    m += "--Dravenhold_Mail_all\r\n";
    m += "Content-Type: multipart/alternative;\r\n boundary=\"Dravenhold_Mail_text\"\r\n";
    m += "\r\n\r\n";
    m += "--Dravenhold_Mail_text\r\n";
    m += "Content-Type: text/plain;\r\n charset=gb2312\r\nContent-Transfer-Encoding: base64\r\n";
    m += "\r\n";
    m += strBody;
    m += "\r\n\r\n";
    m += "--Dravenhold_Mail_text--\r\n";
    m += "\r\n";
    m += "\r\n";
    m += "--Dravenhold_Mail_all--\r\n";
    return m;
}
