// The sort order of GBK text: one rank per code, made by the build.
#include "platform/gbk/gbk.h"

namespace gbk {

const uint16_t kSortRank[0x10000] = {
#include "gbk_rank.inc"
};

int CompareNoCase(std::string_view a, std::string_view b) {
    // The code of the character at s[i]: a lead byte and the trail byte after
    // it, or one byte.
    auto next = [](std::string_view s, size_t& i) -> unsigned {
        unsigned c = (unsigned char)s[i++];
        if (IsLeadByte((unsigned char)c) && i < s.size()) return c << 8 | (unsigned char)s[i++];
        return c;
    };
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned x = next(a, i), y = next(b, j);
        if (x == y) continue;
        x = SortRank(x);
        y = SortRank(y);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = a[i], y = b[i];
        if (IsLeadByte(x) && i + 1 < a.size()) {  // a two-byte character: both bytes alike
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z')) {
            return false;
        }
    }
    return true;
}

}  // namespace gbk
