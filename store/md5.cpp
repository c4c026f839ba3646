#include "store/md5.h"

#include <cstdio>
#include <cstring>

namespace {

// Per-step additive constants: the integer part of 2^32 * |sin(i + 1)| (as
// listed with the algorithm; computing them would pull in the maths library).
const uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

const int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rotate(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t state[4], const unsigned char block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = (uint32_t)block[i * 4] | ((uint32_t)block[i * 4 + 1] << 8) | ((uint32_t)block[i * 4 + 2] << 16) |
               ((uint32_t)block[i * 4 + 3] << 24);
    const uint32_t* k = kSines;
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g, round = i / 16;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            g = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            g = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
            break;
        }
        uint32_t t = d;
        d = c;
        c = b;
        b = b + Rotate(a + f + k[i] + x[g], kShift[round][i % 4]);
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    explicit_bzero(x, sizeof x);  // a wipe the compiler may not drop
}

}  // namespace

void MD5Init(MD5_CTX* pContext) {
    pContext->count[0] = pContext->count[1] = 0;
    pContext->state[0] = 0x67452301;
    pContext->state[1] = 0xefcdab89;
    pContext->state[2] = 0x98badcfe;
    pContext->state[3] = 0x10325476;
    memset(pContext->buffer, 0, sizeof pContext->buffer);
}

void MD5Update(MD5_CTX* pContext, const unsigned char* pInput, unsigned int nLength) {
    unsigned int nIndex = (pContext->count[0] >> 3) & 0x3F;
    uint32_t nBits = (uint32_t)nLength << 3;
    pContext->count[0] += nBits;
    if (pContext->count[0] < nBits) ++pContext->count[1];
    pContext->count[1] += (uint32_t)nLength >> 29;

    unsigned int nPart = 64 - nIndex, i = 0;
    if (nLength >= nPart) {
        memcpy(&pContext->buffer[nIndex], pInput, nPart);
        Transform(pContext->state, pContext->buffer);
        for (i = nPart; i + 63 < nLength; i += 64) Transform(pContext->state, &pInput[i]);
        nIndex = 0;
    }
    if (nLength > i) memcpy(&pContext->buffer[nIndex], &pInput[i], nLength - i);
}

void MD5Final(unsigned char digest[16], MD5_CTX* pContext) {
    unsigned char bits[8];
    for (int i = 0; i < 8; ++i) bits[i] = (unsigned char)(pContext->count[i / 4] >> ((i % 4) * 8));
    static const unsigned char kPadding[64] = {0x80};
    unsigned int nIndex = (pContext->count[0] >> 3) & 0x3F;
    unsigned int nPad = nIndex < 56 ? 56 - nIndex : 120 - nIndex;
    MD5Update(pContext, kPadding, nPad);
    MD5Update(pContext, bits, 8);
    for (int i = 0; i < 16; ++i) digest[i] = (unsigned char)(pContext->state[i / 4] >> ((i % 4) * 8));
    explicit_bzero(pContext, sizeof *pContext);
}

void MD5DigestText(const char* pszText, char szDigest[33]) {
    MD5_CTX context;
    unsigned char digest[16];
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char*>(pszText), (unsigned int)strlen(pszText));
    MD5Final(digest, &context);
    for (int i = 0; i < 16; ++i) snprintf(szDigest + i * 2, 3, "%02x", digest[i]);
    explicit_bzero(digest, sizeof digest);
}
