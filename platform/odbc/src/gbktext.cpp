// Fast UTF-8 -> GBK for result texts and the GBK sort order, both driven by
// one table from Unicode (BMP) to GBK codes, filled once from the shared
// iconv converter.
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/gbk/gbk.h"
#include "jetsql.h"

namespace jetsql {
namespace {

// kTable[cp]: GBK code of code point cp (two-byte codes as lead << 8 | trail,
// single bytes as the byte), 0 when GBK has no such character.
struct GbkTable {
    uint16_t code[0x10000];

    GbkTable() {
        std::memset(code, 0, sizeof code);
        for (unsigned c = 0; c < 0x80; ++c) code[c] = uint16_t(c);
        // Code page 936's one single byte above ASCII: 0x80 is the euro sign.
        code[0x20AC] = 0x80;
        // Every two-byte GBK code in one conversion: each pair yields exactly
        // one character ('?' for the codes GBK leaves empty).
        std::string all;
        all.reserve(126 * 191 * 2);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                all.push_back(char(lead));
                all.push_back(char(trail));
            }
        std::string utf8 = gbk::ToUtf8(all);
        const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8.data());
        const unsigned char* end = p + utf8.size();
        for (size_t k = 0; k + 1 < all.size() && p < end; k += 2) {
            uint32_t cp;
            p = Decode(p, end, cp);
            if (cp == '?' || cp >= 0x10000) continue;
            if (code[cp] == 0) code[cp] = uint16_t((unsigned char)all[k] << 8 | (unsigned char)all[k + 1]);
        }
    }

    // Decodes one UTF-8 character; malformed bytes decode as U+FFFD, one byte each.
    static const unsigned char* Decode(const unsigned char* p, const unsigned char* end, uint32_t& cp) {
        unsigned char c = *p;
        if (c < 0x80) {
            cp = c;
            return p + 1;
        }
        int n;
        uint32_t v;
        if (c >= 0xF0 && c < 0xF8)
            n = 3, v = c & 0x07;
        else if (c >= 0xE0)
            n = 2, v = c & 0x0F;
        else if (c >= 0xC0)
            n = 1, v = c & 0x1F;
        else {
            cp = 0xFFFD;
            return p + 1;
        }
        if (end - p <= n) {
            cp = 0xFFFD;
            return p + 1;
        }
        for (int i = 1; i <= n; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                cp = 0xFFFD;
                return p + 1;
            }
            v = (v << 6) | (p[i] & 0x3F);
        }
        cp = v;
        return p + n + 1;
    }
};

const GbkTable& Table() {
    static const GbkTable* table = new GbkTable();  // lives for the whole run
    return *table;
}

// Sort key of one character: Latin letters folded to lower case, GBK
// characters by code, everything else after all GBK codes.
inline uint32_t SortKey(const GbkTable& t, uint32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp < 0x10000 && t.code[cp]) return t.code[cp];
    return 0x10000 + cp;
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
        if ((*p & 0xF0) == 0xE0 && end - p > 2 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            // Three bytes, as every Chinese character: decoded in place.
            cp = uint32_t(*p & 0x0F) << 12 | uint32_t(p[1] & 0x3F) << 6 | uint32_t(p[2] & 0x3F);
            p += 3;
        } else {
            p = GbkTable::Decode(p, end, cp);
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
            x = *p++;
            y = *q++;
            if (x >= 'A' && x <= 'Z') x += 32;
            if (y >= 'A' && y <= 'Z') y += 32;
        } else {
            if (!t) t = &Table();
            uint32_t cx, cy;
            p = GbkTable::Decode(p, pe, cx);
            q = GbkTable::Decode(q, qe, cy);
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
