#include "platform/gbk/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace gbk {
namespace {

// One converter per direction, made once and shared under a lock
// (iconv_t keeps shift state and is not thread-safe).
struct Converter {
    iconv_t cd;
    std::mutex mtx;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != (iconv_t)-1) iconv_close(cd);
    }
};

Converter& ToUtf8Conv() {
    static Converter c("UTF-8", "GBK");
    return c;
}
Converter& FromUtf8Conv() {
    static Converter c("GBK", "UTF-8");
    return c;
}

// Runs the converter over s; on an unconvertible or invalid sequence writes
// '?' and skips one character of the input (charLen tells how long).
template <typename CharLen>
std::string Run(Converter& conv, std::string_view s, CharLen charLen) {
    std::string out;
    out.reserve(s.size() * 3 / 2 + 4);
    std::lock_guard<std::mutex> lock(conv.mtx);
    if (conv.cd == (iconv_t)-1) {
        for (unsigned char c : s) out.push_back(c < 0x80 ? char(c) : '?');
        return out;
    }
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(s.data());
    size_t inLeft = s.size();
    char buf[4096];
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof(buf);
        size_t r = iconv(conv.cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, o - buf);
        if (r == (size_t)-1) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: replace one input character.
            size_t n = charLen(reinterpret_cast<const unsigned char*>(in), inLeft);
            if (n == 0 || n > inLeft) n = 1;
            in += n;
            inLeft -= n;
            out.push_back('?');
            iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// Which two-byte codes the converter assigns a character to, found once by
// converting every pair on its own.
struct AssignedPairs {
    bool assigned[0x80][0x100] = {};  // [lead - 0x80][trail]

    AssignedPairs() {
        Converter& conv = ToUtf8Conv();
        std::lock_guard<std::mutex> lock(conv.mtx);
        if (conv.cd == (iconv_t)-1) return;
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!IsTrailByte((unsigned char)trail)) continue;
                char in[2] = {char(lead), char(trail)};
                char out[8];
                char* pi = in;
                char* po = out;
                size_t inLeft = 2, outLeft = sizeof out;
                iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
                size_t r = iconv(conv.cd, &pi, &inLeft, &po, &outLeft);
                assigned[lead - 0x80][trail] = r != (size_t)-1 && inLeft == 0 && po > out;
            }
    }
};

const AssignedPairs& Pairs() {
    static const AssignedPairs* pairs = new AssignedPairs();  // lives for the whole run
    return *pairs;
}

}  // namespace

size_t FindInvalid(std::string_view s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size();
    const AssignedPairs* pairs = nullptr;
    for (size_t i = 0; i < n;) {
        unsigned char c = p[i];
        if (c <= 0x80) {  // ASCII, and 0x80: the euro sign of code page 936
            ++i;
            continue;
        }
        if (!IsLeadByte(c) || i + 1 >= n || !IsTrailByte(p[i + 1])) return i;
        if (!pairs) pairs = &Pairs();
        if (!pairs->assigned[c - 0x80][p[i + 1]]) return i;
        i += 2;
    }
    return std::string_view::npos;
}

bool IsAscii(std::string_view s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size(), i = 0;
    // Eight bytes at a time: the driver runs this over every result text.
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ULL) return false;
    }
    for (; i < n; ++i)
        if (p[i] & 0x80) return false;
    return true;
}

std::string ToUtf8(std::string_view s) {
    if (IsAscii(s)) return std::string(s);
    // A pair is skipped as one character only when its second byte can
    // continue it: a lead byte before a quote must not swallow the quote.
    return Run(ToUtf8Conv(), s, [](const unsigned char* p, size_t left) -> size_t {
        return (IsLeadByte(p[0]) && left >= 2 && IsTrailByte(p[1])) ? 2 : 1;
    });
}

std::string FromUtf8(std::string_view s) {
    if (IsAscii(s)) return std::string(s);
    return Run(FromUtf8Conv(), s, [](const unsigned char* p, size_t left) -> size_t {
        size_t n = 1;
        if (p[0] >= 0xF0)
            n = 4;
        else if (p[0] >= 0xE0)
            n = 3;
        else if (p[0] >= 0xC0)
            n = 2;
        // Never step over a byte that does not continue the sequence.
        for (size_t i = 1; i < n; ++i)
            if (i >= left || (p[i] & 0xC0) != 0x80) return i;
        return n;
    });
}

size_t SafeCut(const char* s, size_t len, size_t max) {
    size_t limit = len < max ? len : max;
    size_t i = 0;
    while (i < limit) {
        size_t n = IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        // A lead byte without its trail byte (cut here or at the text's end) is dropped.
        if (i + n > limit) break;
        i += n;
    }
    return i;
}

size_t CopyCut(char* dst, size_t size, std::string_view src) {
    if (size == 0) return 0;
    size_t n = SafeCut(src.data(), src.size(), size - 1);
    if (n > 0) memcpy(dst, src.data(), n);
    dst[n] = '\0';
    return n;
}

}  // namespace gbk
