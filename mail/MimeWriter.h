// The text of one outgoing mail: a multipart/mixed message holding a
// multipart/alternative part that holds one text/plain part in gb2312 (GBK
// when the text holds characters outside GB2312), base64-encoded. Texts are
// GBK bytes.
#pragma once

#include <ctime>
#include <string>

struct MimeMail {
    std::string strName;     // display name of the sender (may be empty)
    std::string strFrom;     // sender address
    std::string strTo;       // recipient address
    std::string strSubject;  // as typed
    std::string strBody;     // the text of the part
};

// The date as RFC 5322 writes it, in local time with its offset:
// "Sun, 05 Jan 2025 09:05:03 +0800".
std::string MimeDate(time_t t);
// The character set a GBK text is labelled with: "gb2312" when every
// character is in GB2312 (ASCII included), else "GBK".
const char* MimeCharset(const std::string& strGbk);
// A header value: CR and LF become one blank each run, so a value is always
// one header line; a value with bytes above 0x7F becomes RFC 2047 encoded
// words ("=?gb2312?B?...?=", or GBK), folded between words, never inside a
// character, so that no line is longer than 76 characters. nUsed: the
// characters before the value on its first line ("Subject: " is 9).
std::string MimeHeaderText(const std::string& strGbk, size_t nUsed = 0);
// The body text of a mail: the nickname, ",\n\n" and the content when the
// salutation is on, else the content alone.
std::string MimeBodyText(const std::string& strNickname, const std::string& strContent, bool bSalutation);
// The message from the header to the line before the final dot (which the
// SMTP client adds), every line ending in CR LF.
std::string MimeMessage(const MimeMail& mail, time_t t);
