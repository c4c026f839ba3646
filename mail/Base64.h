// Base64 (RFC 4648 alphabet) in lines, as mail bodies and AUTH LOGIN use it.
#pragma once

#include <string>

// Encodes nLength bytes of pIn into pOut: every complete group of three bytes
// gives four characters; once a line holds more than nLineLimit - 4
// characters a CR LF follows (so the limit 74 gives lines of 72). A last
// group of one or two bytes is padded with "=" and ends the text without a
// line break. pOut must hold Base64EncodedSize(nLength, nLineLimit) bytes.
// Returns the characters written before the terminating zero.
int Base64Encode(const unsigned char* pIn, char* pOut, int nLength, int nLineLimit);
// The buffer size Base64Encode needs: 4 per started group, 2 per line break, 1
// for the terminating zero.
size_t Base64EncodedSize(size_t nLength, int nLineLimit);
// The same as a string; nLineLimit 0 writes one line of any length.
std::string Base64Encode(const std::string& in, int nLineLimit);
