// GBK (code page 936) <-> UTF-8 conversion shared by the platform layers.
// Program text is GBK; Qt, the file system and the database file use UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

// Converts GBK bytes to UTF-8. Invalid or incomplete sequences become '?'.
std::string ToUtf8(std::string_view gbk);

// Converts UTF-8 to GBK. Characters GBK cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);

// True when every byte is below 0x80 (the text reads the same in GBK and UTF-8).
bool IsAscii(std::string_view s);

// True when byte c starts a two-byte GBK character.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length of the longest prefix of s (at most max bytes) that does not end
// in the middle of a two-byte character; a lone lead byte at the end of the
// text is not counted either.
size_t SafeCut(const char* s, size_t len, size_t max);

// Copies src into dst (size bytes, size > 0), cut at a character boundary,
// always NUL-terminated. Returns the number of bytes copied.
size_t CopyCut(char* dst, size_t size, std::string_view src);

}  // namespace gbk
