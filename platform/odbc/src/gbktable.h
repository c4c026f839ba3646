// The table from Unicode (BMP) to GBK codes that the driver's fast UTF-8 ->
// GBK conversion and its sort order use, and the UTF-8 decoding they
// share. The build makes the table once (tools/gbktable.cpp, from the iconv
// converter) and compiles it into the driver.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/gbk/gbk.h"

namespace jetsql {

// Decodes one UTF-8 character; malformed bytes decode as U+FFFD, one byte each.
inline const unsigned char* DecodeUtf8(const unsigned char* p, const unsigned char* end, uint32_t& cp) {
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

// Fills code[cp] (0x10000 entries) with the GBK code of code point cp
// (two-byte codes as lead << 8 | trail, single bytes as the byte), 0 when
// GBK has no such character.
inline void BuildGbkTable(uint16_t* code) {
    std::memset(code, 0, 0x10000 * sizeof *code);
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
        p = DecodeUtf8(p, end, cp);
        if (cp == '?' || cp >= 0x10000) continue;
        if (code[cp] == 0) code[cp] = uint16_t((unsigned char)all[k] << 8 | (unsigned char)all[k + 1]);
    }
}

}  // namespace jetsql
