// ShellExecuteA: what is handed to the desktop for links, mail and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"
#include "win32.h"
#include "win32_testhooks_shell.h"

namespace {

namespace fs = std::filesystem;
using shelltest::G;

class ShellExecute : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::RecordShellExecuteOnly(true);
        w32test::ClearShellExecutes();
    }
    std::string LastTarget() {
        auto calls = w32test::ShellExecutes();
        return calls.empty() ? std::string("<none>") : calls.back().target;
    }
};

bool Succeeded(HINSTANCE h) { return reinterpret_cast<intptr_t>(h) > 32; }

TEST_F(ShellExecute, WebLinkIsHandedOverAsIs) {
    HWND page = reinterpret_cast<HWND>(0x1234);
    EXPECT_TRUE(Succeeded(
        ShellExecuteA(page, nullptr, "http://www.example.com/help?page=3&x=1", nullptr, nullptr, SW_SHOWNORMAL)));
    auto calls = w32test::ShellExecutes();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].hwnd, page);
    EXPECT_EQ(calls[0].operation, "");
    EXPECT_EQ(calls[0].file, "http://www.example.com/help?page=3&x=1");
    EXPECT_EQ(calls[0].showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(calls[0].target, "http://www.example.com/help?page=3&x=1");
}

TEST_F(ShellExecute, MailtoKeepsTheCommaListAndEncodesChinese) {
    EXPECT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, "mailto:a@x.com,b@y.org", nullptr, nullptr, SW_SHOW)));
    EXPECT_EQ(LastTarget(), "mailto:a@x.com,b@y.org");
    // An empty address still opens the mail program.
    EXPECT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, "mailto:", nullptr, nullptr, SW_SHOW)));
    EXPECT_EQ(LastTarget(), "mailto:");
    // GBK text is converted and percent-encoded (UTF-8), blanks too.
    std::string chinese = "mailto:" + G("张三") + " <z@x.cn>";
    EXPECT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, chinese.c_str(), nullptr, nullptr, SW_SHOW)));
    EXPECT_EQ(LastTarget(), "mailto:%E5%BC%A0%E4%B8%89%20%3Cz@x.cn%3E");
    EXPECT_EQ(w32test::ShellExecutes().back().file, chinese);  // recorded as passed
}

TEST_F(ShellExecute, ExportedFileWithBackslashesAndChineseName) {
    shelltest::TempDir dir;
    std::ofstream(dir.path() + "/导出 1.txt") << "x";
    std::string gbkPath = dir.gbk() + "\\" + G("导出 1.txt");
    EXPECT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, gbkPath.c_str(), nullptr, nullptr, SW_SHOW)));
    EXPECT_EQ(LastTarget(), "file://" + dir.path() + "/%E5%AF%BC%E5%87%BA%201.txt");
    // Relative to the directory given.
    EXPECT_TRUE(
        Succeeded(ShellExecuteA(nullptr, "open", G("导出 1.txt").c_str(), nullptr, dir.gbk().c_str(), SW_SHOW)));
    EXPECT_EQ(LastTarget(), "file://" + dir.path() + "/%E5%AF%BC%E5%87%BA%201.txt");
}

TEST_F(ShellExecute, MissingFileReportsFileNotFound) {
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, "/no/such/file.xls", nullptr, nullptr, SW_SHOW);
    EXPECT_EQ(reinterpret_cast<intptr_t>(r), SE_ERR_FNF);
    EXPECT_EQ(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, SW_SHOW)),
              SE_ERR_FNF);
    // A drive letter is not a URL scheme.
    r = ShellExecuteA(nullptr, nullptr, "C:\\export.txt", nullptr, nullptr, SW_SHOW);
    EXPECT_EQ(reinterpret_cast<intptr_t>(r), SE_ERR_FNF);
}

// The desktop's opener decides: a desktop without a program for the address
// (the opener fails, or there is none) gives an error code, not success.
class DesktopOpener : public ShellExecute {
protected:
    void SetUp() override {
        ShellExecute::SetUp();
        w32test::RecordShellExecuteOnly(false);
    }
    void TearDown() override { w32test::RecordShellExecuteOnly(true); }
    // A PATH holding only an opener that exits with `code` (none for -1).
    void Opener(int code) {
        if (code >= 0) {
            std::ofstream(bin.path() + "/xdg-open") << "#!/bin/sh\nexit " << code << "\n";
            fs::permissions(bin.path() + "/xdg-open", fs::perms::owner_all);
        }
    }
    shelltest::TempDir bin;
    shelltest::EnvVar path{"PATH", bin.path()};
};

TEST_F(DesktopOpener, NoProgramForTheAddressIsAnError) {
    Opener(3);
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, "http://www.example.com/", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_LE(reinterpret_cast<intptr_t>(r), 32);
}

TEST_F(DesktopOpener, NoOpenerAtAllIsAnError) {
    Opener(-1);
    shelltest::TempDir dir;
    std::ofstream(dir.path() + "/list.txt") << "x";
    HINSTANCE r = ShellExecuteA(nullptr, nullptr, (dir.gbk() + "/list.txt").c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_EQ(reinterpret_cast<intptr_t>(r), SE_ERR_NOASSOC);
}

TEST_F(DesktopOpener, AnOpenerThatTakesTheAddressIsSuccess) {
    Opener(0);
    EXPECT_TRUE(Succeeded(ShellExecuteA(nullptr, nullptr, "http://www.example.com/", nullptr, nullptr, SW_SHOWNORMAL)));
}

}  // namespace
