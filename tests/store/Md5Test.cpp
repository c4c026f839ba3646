#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/md5.h"

namespace {

std::string Digest(const std::string& s) {
    char sz[33];
    MD5DigestText(s.c_str(), sz);
    return sz;
}

TEST(Md5, Rfc1321TestSuite) {
    EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Digest(""));
    EXPECT_EQ("0cc175b9c0f1b6a831c399e269772661", Digest("a"));
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", Digest("abc"));
    EXPECT_EQ("f96b697d7cb7938d525a2f31aaf161d0", Digest("message digest"));
    EXPECT_EQ("c3fcd3d76192e4007dfb496cca67e13b", Digest("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ("d174ab98d277d9f5a5611c2c9f419d9f",
              Digest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"));
    EXPECT_EQ("57edf4a22be3c955ac49da2e2107b67a",
              Digest("12345678901234567890123456789012345678901234567890123456789012345678901234567890"));
}

TEST(Md5, InputSplitAnywhereGivesTheSameDigest) {
    // Lengths around the 56- and 64-byte padding and block boundaries.
    for (size_t nLen : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 200u}) {
        std::string s(nLen, '\0');
        for (size_t i = 0; i < nLen; ++i) s[i] = (char)('A' + i % 26);
        std::string whole = Digest(s);
        for (size_t nSplit = 0; nSplit <= nLen; nSplit += 7) {
            MD5_CTX ctx;
            unsigned char digest[16];
            MD5Init(&ctx);
            MD5Update(&ctx, reinterpret_cast<const unsigned char*>(s.data()), (unsigned)nSplit);
            MD5Update(&ctx, reinterpret_cast<const unsigned char*>(s.data()) + nSplit, (unsigned)(nLen - nSplit));
            MD5Final(digest, &ctx);
            char sz[33];
            for (int i = 0; i < 16; ++i) snprintf(sz + 2 * i, 3, "%02x", digest[i]);
            EXPECT_EQ(whole, sz) << "length " << nLen << " split at " << nSplit;
        }
    }
}

TEST(Md5, FinalLeavesNoTraceInTheContext) {
    MD5_CTX ctx;
    unsigned char digest[16];
    MD5Init(&ctx);
    MD5Update(&ctx, reinterpret_cast<const unsigned char*>("secret"), 6);
    MD5Final(digest, &ctx);
    MD5_CTX zero;
    memset(&zero, 0, sizeof zero);
    EXPECT_EQ(0, memcmp(&ctx, &zero, sizeof ctx));
}

TEST(Md5, LetterCaseAndGbkBytesCount) {
    EXPECT_NE(Digest("Secret"), Digest("secret"));
    EXPECT_NE(Digest("密码"), Digest("密碼"));
    EXPECT_EQ(32u, Digest("密码").size());
}

}  // namespace
