// MD5 message digest (RFC 1321), used for the stored login password.
#pragma once

#include <cstdint>

struct MD5_CTX {
    uint32_t state[4];         // A, B, C, D
    uint32_t count[2];         // number of bits absorbed, low word first
    unsigned char buffer[64];  // input not yet processed
};

void MD5Init(MD5_CTX* pContext);
void MD5Update(MD5_CTX* pContext, const unsigned char* pInput, unsigned int nLength);
// Pads, appends the length, writes the 16-byte digest and zeroes the context.
void MD5Final(unsigned char digest[16], MD5_CTX* pContext);

// The digest of a NUL-terminated text as 32 lower-case hexadecimal digits
// and a NUL (33 bytes).
void MD5DigestText(const char* pszText, char szDigest[33]);
