// GBK (code page 936) <-> UTF-8 conversion shared by the platform layers.
// Program text is GBK; Qt, the file system and the database file use UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gbk {

// Converts GBK bytes to UTF-8. Each invalid or incomplete character becomes
// one '?'; a byte that cannot continue the character before it (an ASCII
// byte, a quote among them) is never taken into that character.
std::string ToUtf8(std::string_view gbk);

// Converts UTF-8 to GBK. Characters GBK cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);

// True when every byte is below 0x80 (the text reads the same in GBK and UTF-8).
bool IsAscii(std::string_view s);

// True when byte c starts a two-byte GBK character.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// True when byte c can be the second byte of a two-byte GBK character.
inline bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Offset of the first byte that does not begin a character of code page 936
// (ASCII, 0x80 for the euro sign, or an assigned two-byte code), or
// std::string_view::npos when the whole text is valid.
size_t FindInvalid(std::string_view gbk);
inline bool IsValid(std::string_view gbk) { return FindInvalid(gbk) == std::string_view::npos; }

// Length of the longest prefix of s (at most max bytes) that does not end
// in the middle of a two-byte character; a lone lead byte at the end of the
// text is not counted either.
size_t SafeCut(const char* s, size_t len, size_t max);

// Copies src into dst (size bytes, size > 0), cut at a character boundary,
// always NUL-terminated. Returns the number of bytes copied.
size_t CopyCut(char* dst, size_t size, std::string_view src);

// Sort rank of GBK code `code` (a single byte, or lead << 8 | trail), the
// order of the Chinese (PRC) collation at primary strength: spaces and
// punctuation, symbols, digits, Latin letters, the other scripts, then
// Chinese characters in pinyin order whatever their GBK level; codes GBK
// leaves empty last. The forms of one letter (a, A, ａ, Ａ, ā, à ...) share a
// rank, as do 1, １ and ①. Made by the build (tools/gbkrank.cpp, from ICU's
// Chinese collation, which also says why one rank for all forms).
extern const uint16_t kSortRank[0x10000];
inline unsigned SortRank(unsigned code) { return kSortRank[code & 0xFFFF]; }

// Compares two GBK texts character by character by SortRank (Latin letters
// without case, accent or width, Chinese by pinyin). A trail byte is never
// taken for a letter.
int CompareNoCase(std::string_view a, std::string_view b);

// True when a and b hold the same characters, the letters A-Z without case
// (a list box's search for a string); a trail byte is never taken for a
// letter.
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace gbk
