// gbkrank OUTPUT
// Writes the sort rank of every GBK code (gbk::SortRank) as the initialiser
// of a 0x10000-entry array, sixteen ranks a line. The order is ICU's Chinese
// collation (pinyin): ASCII keeps its byte, Latin letters folded to lower
// case; the euro sign and every two-byte character follow from 0x80 on in
// the collation's order (codes it holds equal by their code); codes GBK
// leaves empty come last, by code.
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

// The character of GBK code `code`, as the program's converter reads it;
// 0 when GBK has none.
UChar32 CharOf(unsigned code) {
    if (code == 0x80) return 0x20AC;  // code page 936's euro sign
    if (!gbk::IsLeadByte((unsigned char)(code >> 8)) || !gbk::IsTrailByte((unsigned char)code)) return 0;
    const char pair[2] = {char(code >> 8), char(code & 0xFF)};
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(gbk::ToUtf8(std::string_view(pair, 2)));
    if (u.countChar32() != 1 || u.char32At(0) == '?') return 0;
    return u.char32At(0);
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
    if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) {
        std::fprintf(stderr, "%s: no Chinese collation in ICU (%s)\n", argv[0], u_errorName(status));
        return 1;
    }

    struct Entry {
        std::string key;  // the collation's sort key
        unsigned code;
    };
    std::vector<Entry> chars;
    std::vector<unsigned> empty;
    for (unsigned code = 0x80; code < 0x10000; ++code) {
        UChar32 c = CharOf(code);
        if (c == 0) {
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

    std::vector<uint16_t> rank(0x10000);
    for (unsigned c = 0; c < 0x80; ++c) rank[c] = uint16_t((c >= 'A' && c <= 'Z') ? c + 32 : c);
    unsigned next = 0x80;
    for (const Entry& e : chars) rank[e.code] = uint16_t(next++);
    for (unsigned code : empty) rank[code] = uint16_t(next++);

    // Without the converter or the collation's pinyin data the order is
    // wrong: 阿 (B0A2) before 岑 (E1AF) before 喆 (86B4) before 朱 (D6EC).
    if (chars.size() < 20000 ||
        !(rank[0xB0A2] < rank[0xE1AF] && rank[0xE1AF] < rank[0x86B4] && rank[0x86B4] < rank[0xD6EC])) {
        std::fprintf(stderr, "%s: no GBK converter or no pinyin order\n", argv[0]);
        return 1;
    }
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (size_t i = 0; i < rank.size(); ++i) std::fprintf(f, "0x%04X,%s", rank[i], i % 16 == 15 ? "\n" : "");
    return std::fclose(f) == 0 ? 0 : 1;
}
