#include "mail/MimeWriter.h"

#include "mail/Base64.h"

#include <iconv.h>

#include <algorithm>
#include <cstdio>

namespace {

const char* const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// RFC 2047: a line holding encoded words is at most 76 characters, an
// encoded word at most 75.
const size_t kLineChars = 76;
const size_t kWordChars = 75;

bool HasHighBytes(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return true;
    return false;
}

// One converter GBK -> GB2312 per thread (the check runs on the send thread
// and in the tests), closed when the thread ends.
struct Gb2312Check {
    iconv_t cd = iconv_open("GB2312", "GBK");
    ~Gb2312Check() {
        if (cd != (iconv_t)-1) iconv_close(cd);
    }
};

// CR and LF become one blank each run, so a value is always one header line.
std::string OneLine(const std::string& strGbk) {
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
    return s;
}

// The header value as encoded words, folded so that no line is longer than
// 76 characters; the first line already holds nUsed characters.
std::string EncodedWords(const std::string& s, size_t nUsed) {
    const std::string strStart = std::string("=?") + MimeCharset(s) + "?B?";
    const size_t nOverhead = strStart.size() + 2;
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        // What the word may hold: the rest of the first line, or a folded
        // line after its blank; always at least one character.
        const size_t nRoom = std::min(kWordChars, kLineChars - (out.empty() ? std::min(nUsed, kLineChars) : 1));
        const size_t nMaxBytes = nRoom > nOverhead ? (nRoom - nOverhead) / 4 * 3 : 0;
        // Cut on a character boundary: a lead byte takes its trail byte along.
        size_t j = i;
        while (j < s.size()) {
            const size_t n = ((unsigned char)s[j] >= 0x81 && j + 1 < s.size()) ? 2 : 1;
            if (j - i + n > nMaxBytes && j > i) break;
            j += n;
        }
        if (!out.empty()) out += "\r\n ";
        out += strStart + Base64Encode(s.substr(i, j - i), 0) + "?=";
        i = j;
    }
    return out;
}

// A display name: encoded words when it is not ASCII, in quotes when it
// holds an address special.
std::string PhraseText(const std::string& strName, size_t nUsed) {
    const std::string s = OneLine(strName);
    if (HasHighBytes(s)) return EncodedWords(s, nUsed);
    if (s.find_first_of("()<>[]:;@\\,.\"") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

// Characters on the last line of a header text.
size_t LastLineChars(const std::string& s) {
    const size_t n = s.rfind('\n');
    return n == std::string::npos ? s.size() : s.size() - n - 1;
}

}  // namespace

const char* MimeCharset(const std::string& strGbk) {
    if (!HasHighBytes(strGbk)) return "gb2312";
    static thread_local Gb2312Check check;
    if (check.cd == (iconv_t)-1) return "GBK";
    iconv(check.cd, nullptr, nullptr, nullptr, nullptr);
    std::string in = strGbk;
    std::string out(in.size() + 16, '\0');
    char* pIn = in.data();
    size_t nIn = in.size();
    char* pOut = out.data();
    size_t nOut = out.size();
    // Every character converts, none is left: the text is GB2312.
    return iconv(check.cd, &pIn, &nIn, &pOut, &nOut) != (size_t)-1 && nIn == 0 ? "gb2312" : "GBK";
}

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

std::string MimeHeaderText(const std::string& strGbk, size_t nUsed) {
    const std::string s = OneLine(strGbk);
    return HasHighBytes(s) ? EncodedWords(s, nUsed) : s;
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
    // "From: name <address>", the address on a line of its own when it does
    // not fit after the name.
    const std::string strPhrase = PhraseText(mail.strName, 6);
    const std::string strAddress = "<" + OneLine(mail.strFrom) + ">";
    std::string strFrom = "From: " + strPhrase;
    if (strPhrase.empty())
        strFrom += strAddress;
    else if (LastLineChars(strFrom) + 1 + strAddress.size() > kLineChars && HasHighBytes(mail.strName))
        strFrom += "\r\n " + strAddress;
    else
        strFrom += " " + strAddress;
    m += strFrom + "\r\n";
    m += "To: " + MimeHeaderText(mail.strTo, 4) + "\r\n";
    m += "Subject: " + MimeHeaderText(mail.strSubject, 9) + "\r\n";
    m += "X-Mailer: Dravenhold Mail\r\n";
    m += "Mime-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n boundary=\"Dravenhold_Mail_all\"\r\n";
    m += "\r\n";
    m += "This is a multi-part message in MIME format.\r\n";
    m += "\r\n";
    m += "--Dravenhold_Mail_all\r\n";
    m += "Content-Type: multipart/alternative;\r\n boundary=\"Dravenhold_Mail_text\"\r\n";
    m += "\r\n\r\n";
    m += "--Dravenhold_Mail_text\r\n";
    m += "Content-Type: text/plain;\r\n charset=";
    m += MimeCharset(mail.strBody);
    m += "\r\nContent-Transfer-Encoding: base64\r\n";
    m += "\r\n";
    m += strBody;
    m += "\r\n\r\n";
    m += "--Dravenhold_Mail_text--\r\n";
    m += "\r\n";
    m += "\r\n";
    m += "--Dravenhold_Mail_all--\r\n";
    return m;
}
