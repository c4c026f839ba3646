// The desktop folder: XDG user folders, the fallback, creation and GBK paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"
#include "win32.h"
#include "win32_testhooks_shell.h"

namespace {

namespace fs = std::filesystem;
using shelltest::EnvVar;
using shelltest::G;

TEST(DesktopFolder, ReadsTheXdgUserDirsFile) {
    shelltest::TempDir home;
    EnvVar h("HOME", home.path());
    EnvVar c("XDG_CONFIG_HOME", home.path() + "/cfg");
    fs::create_directories(home.path() + "/cfg");
    fs::create_directories(home.path() + "/桌面");
    std::ofstream(home.path() + "/cfg/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                          "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n"
                                                          "XDG_DESKTOP_DIR=\"$HOME/桌面/\"\n";
    char buf[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(std::string(buf), home.gbk() + G("/桌面"));  // GBK, no trailing separator
    // The program appends "\Tarvel Sales Logs.lnk": the result names a file in it.
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOP, FALSE));
    EXPECT_EQ(std::string(buf), home.gbk() + G("/桌面"));
}

TEST(DesktopFolder, FallsBackToHomeDesktopAndReportsAMissingFolder) {
    shelltest::TempDir home;
    EnvVar h("HOME", home.path());
    EnvVar c("XDG_CONFIG_HOME", home.path() + "/nothing-here");
    char buf[MAX_PATH];
    // ~/Desktop does not exist: FALSE, but the path is still given.
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(std::string(buf), home.gbk() + "/Desktop");
    EXPECT_FALSE(fs::exists(home.path() + "/Desktop"));
    // Asked to create it, it does.
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, TRUE));
    EXPECT_TRUE(fs::is_directory(home.path() + "/Desktop"));
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, buf, 0x7F, FALSE));  // unknown folder
}

TEST(DesktopFolder, TestHookMovesTheDesktop) {
    shelltest::TempDir elsewhere;
    w32test::SetDesktopFolder(elsewhere.path() + "/");
    char buf[MAX_PATH];
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(std::string(buf), elsewhere.gbk());
    w32test::SetDesktopFolder("");
}

TEST(DesktopFolder, PathsGbkCannotHoldOrTooLongAreRefused) {
    shelltest::TempDir base;
    std::string emoji = base.path() + "/\xF0\x9F\x98\x80";
    fs::create_directories(emoji);
    w32test::SetDesktopFolder(emoji);
    char buf[MAX_PATH];
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_STREQ(buf, "");
    w32test::SetDesktopFolder("/" + std::string(MAX_PATH, 'a'));
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE));
    w32test::SetDesktopFolder("");
    // Change notifications are accepted and do nothing.
    SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHA | SHCNF_FLUSH, "x", nullptr);
}

}  // namespace
