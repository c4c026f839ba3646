// gbkrank OUTPUT
// Writes the sort rank of every GBK code (gbk::SortRank) as the initialiser
// of a 0x10000-entry array, sixteen ranks a line. The order is ICU's Chinese
// collation (pinyin) for every character, ASCII among them: spaces and
// punctuation, symbols, digits, Latin letters (full-width, accented and
// plain together), Greek, Cyrillic, kana, then Chinese in pinyin order.
// Characters the collation ignores (the ASCII controls) rank first, by code;
// codes GBK leaves empty rank last, by code.
//
// A text is compared a character at a time, the first two characters of
// different rank deciding. The collation compares the letters of the whole
// texts first (its primary level), and accents (secondary), case and width
// (tertiary) only between texts whose letters are all the same. Ranks that
// told a from ā or Ａ would let that difference decide before the letters
// after it: ālan after every plain "a..." name, Ａlpha after them all. So a
// rank is the character's primary weight alone: a, A, ａ, Ａ, ā, á, ǎ and à
// rank the same, as do 1 and １, u and ǚ; texts order as the collation orders
// them at primary strength, and texts that differ only by accent, case or
// width compare equal, as texts differing only by case always did.
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gbk/gbk.h"

namespace {

// The character of GBK code `code` (one byte or lead << 8 | trail), as the
// program's converter reads it; -1 when GBK has none.
UChar32 CharOf(unsigned code) {
    if (code < 0x80) return UChar32(code);
    if (code == 0x80) return 0x20AC;  // code page 936's euro sign
    if (!gbk::IsLeadByte((unsigned char)(code >> 8)) || !gbk::IsTrailByte((unsigned char)code)) return -1;
    const char pair[2] = {char(code >> 8), char(code & 0xFF)};
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(gbk::ToUtf8(std::string_view(pair, 2)));
    if (u.countChar32() != 1 || u.char32At(0) == '?') return -1;
    return u.char32At(0);
}

// The code of the one character of GBK text s (this file's literals are GBK).
unsigned CodeOf(const char* s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    return p[1] ? unsigned(p[0]) << 8 | p[1] : p[0];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> coll(icu::Collator::createInstance(icu::Locale("zh", "CN"), status));
    // The Chinese collation puts Chinese before the other scripts; in the
    // scripts' common order Latin letters (the full-width ones of GBK, as the
    // ASCII ones) come before Chinese, which keeps its pinyin order.
    const int32_t commonOrder = UCOL_REORDER_CODE_NONE;
    if (U_SUCCESS(status) && status != U_USING_DEFAULT_WARNING) coll->setReorderCodes(&commonOrder, 1, status);
    if (U_SUCCESS(status)) coll->setStrength(icu::Collator::PRIMARY);
    if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) {
        std::fprintf(stderr, "%s: no Chinese collation in ICU (%s)\n", argv[0], u_errorName(status));
        return 1;
    }

    struct Entry {
        std::string key;  // the collation's sort key, primary weights only
        unsigned code;
    };
    std::vector<Entry> chars;
    std::vector<unsigned> empty;
    for (unsigned code = 0; code < 0x10000; ++code) {
        UChar32 c = CharOf(code);
        if (c < 0) {
            empty.push_back(code);
            continue;
        }
        icu::UnicodeString u(c);
        std::string key(64, '\0');
        int n = coll->getSortKey(u, reinterpret_cast<uint8_t*>(key.data()), int(key.size()));
        if (n > int(key.size())) {
            key.resize(size_t(n));
            n = coll->getSortKey(u, reinterpret_cast<uint8_t*>(key.data()), int(key.size()));
        }
        key.resize(size_t(n));
        chars.push_back({key, code});
    }
    std::sort(chars.begin(), chars.end(),
              [](const Entry& a, const Entry& b) { return a.key != b.key ? a.key < b.key : a.code < b.code; });

    // One rank for the characters of one primary weight; the ignored ones
    // (an empty weight: the key is its terminating zero alone) each on their
    // own.
    std::vector<uint16_t> rank(0x10000);
    unsigned next = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i > 0 && (chars[i].key != chars[i - 1].key || chars[i].key.size() <= 1)) ++next;
        rank[chars[i].code] = uint16_t(next);
    }
    for (unsigned code : empty) rank[code] = uint16_t(++next);

    // Without the converter or the collation's pinyin data the order is
    // wrong: 阿 (B0A2) before 岑 (E1AF) before 喆 (86B4) before 朱 (D6EC);
    // and Latin letters of every form together, before Chinese.
    auto r = [&rank](const char* s) { return rank[CodeOf(s)]; };
    if (chars.size() < 20000 || !(r("阿") < r("岑") && r("岑") < r("喆") && r("喆") < r("朱")) ||
        !(r("a") == r("A") && r("a") == r("Ａ") && r("a") == r("ā") && r("1") == r("１") && r("u") == r("ǚ")) ||
        !(r("~") < r("1") && r("9") < r("a") && r("z") < r("阿"))) {
        std::fprintf(stderr, "%s: no GBK converter or no pinyin order\n", argv[0]);
        return 1;
    }
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (size_t i = 0; i < rank.size(); ++i) std::fprintf(f, "0x%04X,%s", rank[i], i % 16 == 15 ? "\n" : "");
    return std::fclose(f) == 0 ? 0 : 1;
}
