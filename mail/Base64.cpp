#include "mail/Base64.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

size_t Base64EncodedSize(size_t nLength, int nLineLimit) {
    const size_t nChars = (nLength + 2) / 3 * 4;
    // A line ends after the first group that takes it past nLineLimit - 4.
    const size_t nPerLine = nLineLimit > 0 ? (size_t)(nLineLimit > 4 ? nLineLimit - 4 : 0) / 4 * 4 + 4 : 0;
    const size_t nBreaks = nPerLine ? nChars / nPerLine : 0;
    return nChars + 2 * nBreaks + 1;
}

int Base64Encode(const unsigned char* pIn, char* pOut, int nLength, int nLineLimit) {
    char* p = pOut;
    int nLine = 0;
    int i = 0;
    for (; i + 3 <= nLength; i += 3) {
        const unsigned b0 = pIn[i], b1 = pIn[i + 1], b2 = pIn[i + 2];
        *p++ = kAlphabet[b0 >> 2];
        *p++ = kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
        *p++ = kAlphabet[((b1 & 0x0F) << 2) | (b2 >> 6)];
        *p++ = kAlphabet[b2 & 0x3F];
        nLine += 4;
        if (nLineLimit > 0 && nLine > nLineLimit - 4) {
            *p++ = '\r';
            *p++ = '\n';
            nLine = 0;
        }
    }
    const int nRest = nLength - i;
    if (nRest > 0) {
        const unsigned b0 = pIn[i], b1 = nRest == 2 ? pIn[i + 1] : 0;
        *p++ = kAlphabet[b0 >> 2];
        *p++ = kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
        *p++ = nRest == 2 ? kAlphabet[(b1 & 0x0F) << 2] : '=';
        *p++ = '=';
    }
    *p = '\0';
    return (int)(p - pOut);
}

std::string Base64Encode(const std::string& in, int nLineLimit) {
    std::string out(Base64EncodedSize(in.size(), nLineLimit), '\0');
    const int n =
        Base64Encode(reinterpret_cast<const unsigned char*>(in.data()), out.data(), (int)in.size(), nLineLimit);
    out.resize((size_t)n);
    return out;
}
