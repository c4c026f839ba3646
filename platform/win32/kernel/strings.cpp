// KERNEL32 code-page conversion and string resources.
#include <cstring>
#include <string>

#include "../src/res/resdata.h"
#include "platform/gbk/gbk.h"
#include "win32.h"

namespace {

enum class Page { Gbk, Utf8, Unknown };

Page PageOf(UINT codePage) {
    if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == 936) return Page::Gbk;
    if (codePage == CP_UTF8) return Page::Utf8;
    return Page::Unknown;
}

// Decodes UTF-8 into code points; malformed bytes become U+FFFD and set *bad.
std::u32string DecodeUtf8(const std::string& s, bool* bad) {
    std::u32string out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) ||
                   (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(0xFFFD);
            *bad = true;
            ++i;
            continue;
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

void EncodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
    Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t len = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::string in(lpMultiByteStr, len);
    bool bad = false;
    std::string utf8;
    if (page == Page::Gbk) {
        utf8 = gbk::ToUtf8(in);
        if (gbk::FromUtf8(utf8) != in) bad = true;  // a byte sequence GBK does not define
    } else {
        utf8 = in;
    }
    std::u32string cps = DecodeUtf8(utf8, &bad);
    if (bad && (dwFlags & MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    int n = static_cast<int>(cps.size());
    if (cchWideChar == 0) return n;
    if (cchWideChar < n) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (int i = 0; i < n; ++i) lpWideCharStr[i] = static_cast<wchar_t>(cps[i]);
    return n;
}

int WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar) {
    Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr) || (page == Page::Utf8 && (lpDefaultChar || lpUsedDefaultChar))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t len = cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    std::string out;
    bool usedDefault = false;
    for (size_t i = 0; i < len; ++i) {
        char32_t cp = static_cast<char32_t>(lpWideCharStr[i]);
        bool valid = cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        std::string one;
        EncodeUtf8(valid ? cp : 0xFFFD, one);
        if (page == Page::Utf8) {
            out += one;
            continue;
        }
        std::string g = cp < 0x80 ? one : gbk::FromUtf8(one);
        if (!valid || (g == "?" && cp != '?')) {
            out.push_back(lpDefaultChar ? lpDefaultChar[0] : '?');
            usedDefault = true;
        } else {
            out += g;
        }
    }
    if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    int n = static_cast<int>(out.size());
    if (cbMultiByte == 0) return n;
    if (cbMultiByte < n) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpMultiByteStr, out.data(), out.size());
    return n;
}

int LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const w32res::StringEntry* e = w32res::FindString(uID);
    if (!e) {
        lpBuffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    return static_cast<int>(
        gbk::CopyCut(lpBuffer, static_cast<size_t>(cchBufferMax), std::string_view(e->text, e->length)));
}
