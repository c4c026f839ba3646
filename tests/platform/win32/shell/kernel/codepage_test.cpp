// MultiByteToWideChar / WideCharToMultiByte with the ANSI code page (GBK).
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "win32.h"

namespace {

TEST(CodePage, GbkTextBecomesWideCharactersWithTheTerminator) {
    const char* name = "张三-Tarvel Sales Logs.lnk";  // GBK bytes
    int need = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    EXPECT_EQ(need, 2 + 22 + 1);  // two characters, 22 ASCII, NUL
    std::wstring w(static_cast<size_t>(need), L'x');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, name, -1, w.data(), need), need);
    EXPECT_EQ(w[0], L'\u5f20');
    EXPECT_EQ(w[1], L'\u4e09');
    EXPECT_EQ(w[2], L'-');
    EXPECT_EQ(w[need - 1], L'\0');
    EXPECT_EQ(std::wcslen(w.c_str()), static_cast<size_t>(need - 1));
}

TEST(CodePage, ExplicitLengthsAndSmallBuffers) {
    const char* s = "ab中";
    wchar_t buf[8];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, s, 2, buf, 8), 2);  // no terminator when counted
    EXPECT_EQ(MultiByteToWideChar(936, 0, s, 4, buf, 8), 3);
    EXPECT_EQ(buf[2], L'\u4e2d');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, s, -1, buf, 3), 0);  // needs 4
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, s, 0, buf, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, s, -1, buf, 8), 0);  // only GBK and UTF-8 are known
}

TEST(CodePage, InvalidSequencesAreReplacedOrRefused) {
    const char bad[] = {'a', '\x81', '\0'};  // a lead byte with no trail byte
    wchar_t buf[8];
    int n = MultiByteToWideChar(CP_ACP, 0, bad, -1, buf, 8);
    ASSERT_GT(n, 0);
    EXPECT_EQ(buf[0], L'a');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bad, -1, buf, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    const char utf8[] = "\xE4\xB8\xAD";  // 中 in UTF-8
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 3, buf, 8), 1);
    EXPECT_EQ(buf[0], L'\u4e2d');
}

TEST(CodePage, WideToGbkRoundTripAndDefaultCharacter) {
    const wchar_t* w = L"\u5ba2\u6237 A\U0001F600";  // 客户 A and an emoji GBK lacks
    char buf[16];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, &usedDefault);
    EXPECT_EQ(n, 8);  // 4 + 2 + '?' + NUL
    EXPECT_STREQ(buf, "客户 A?");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u5ba2", 1, buf, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u5ba2", -1, nullptr, 0, nullptr, nullptr), 4);
}

}  // namespace
