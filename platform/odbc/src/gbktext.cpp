// Fast UTF-8 -> GBK for result texts and the sort order of ORDER BY, both
// driven by one table from Unicode (BMP) to GBK codes, made by the build; the
// order ranks the codes as GBK text is ranked everywhere (gbk::SortRank).
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/gbk/gbk.h"
#include "gbktable.h"
#include "jetsql.h"

namespace jetsql {
namespace {

// kTable.code[cp]: GBK code of code point cp (two-byte codes as lead << 8 |
// trail, single bytes as the byte), 0 when GBK has no such character; made
// by the build (gbktable.h).
struct GbkTable {
    uint16_t code[0x10000];
};

constexpr GbkTable kTable = {{
#include "gbk_table.inc"
}};

inline const GbkTable& Table() { return kTable; }

// Sort key of one character: GBK characters (ASCII among them) by the rank
// of their code (Latin letters without case, accent or width, Chinese in
// pinyin order), everything else after all of GBK.
inline uint32_t SortKey(const GbkTable& t, uint32_t cp) {
    if (cp < 0x80) return gbk::kSortRank[cp];
    if (cp < 0x10000 && t.code[cp]) return gbk::SortRank(t.code[cp]);
    return 0x10000 + cp;
}

// A well-formed three-byte character (every Chinese one) starts at p.
inline bool IsThreeByte(const unsigned char* p, const unsigned char* end) {
    return (*p & 0xF0) == 0xE0 && end - p > 2 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80;
}
inline uint32_t DecodeThree(const unsigned char* p) {
    return uint32_t(*p & 0x0F) << 12 | uint32_t(p[1] & 0x3F) << 6 | uint32_t(p[2] & 0x3F);
}

}  // namespace

size_t Utf8ToGbk(const char* s, size_t n, char* out) {
    const GbkTable& t = Table();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
    const unsigned char* end = p + n;
    char* o = out;
    while (p < end) {
        if (*p < 0x80) {
            *o++ = char(*p++);
            continue;
        }
        uint32_t cp;
        if (IsThreeByte(p, end)) {  // decoded in place
            cp = DecodeThree(p);
            p += 3;
        } else {
            p = DecodeUtf8(p, end, cp);
        }
        uint16_t g = cp < 0x10000 ? t.code[cp] : 0;
        if (g == 0)
            *o++ = '?';
        else if (g < 0x100)
            *o++ = char(g);
        else {
            *o++ = char(g >> 8);
            *o++ = char(g & 0xFF);
        }
    }
    return size_t(o - out);
}

void Utf8ToGbk(const char* s, size_t n, std::string& out) {
    size_t base = out.size();
    out.resize(base + n);  // GBK is never longer than UTF-8
    out.resize(base + Utf8ToGbk(s, n, out.data() + base));
}

int CompareGbkNoCase(const char* a, size_t na, const char* b, size_t nb) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pe = p + na;
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    const unsigned char* qe = q + nb;
    const GbkTable* t = nullptr;
    while (p < pe && q < qe) {
        uint32_t x, y;
        if (*p < 0x80 && *q < 0x80) {
            x = gbk::kSortRank[*p++];
            y = gbk::kSortRank[*q++];
        } else if (IsThreeByte(p, pe) && IsThreeByte(q, qe)) {
            // Two Chinese characters, decoded in place; the same one twice
            // needs no look-up.
            const uint32_t cx = DecodeThree(p), cy = DecodeThree(q);
            p += 3;
            q += 3;
            if (cx == cy) continue;
            if (!t) t = &Table();
            x = SortKey(*t, cx);
            y = SortKey(*t, cy);
        } else {
            if (!t) t = &Table();
            uint32_t cx, cy;
            p = DecodeUtf8(p, pe, cx);
            q = DecodeUtf8(q, qe, cy);
            x = SortKey(*t, cx);
            y = SortKey(*t, cy);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (p < pe) return 1;
    if (q < qe) return -1;
    return 0;
}

}  // namespace jetsql
