// CreateFileA / WriteFile / ReadFile / CloseHandle on real files: GBK names,
// '\' separators, creation modes, failures reported, bytes unchanged.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gbk/gbk.h"
#include "win32.h"

namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/w32files_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    std::string Slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    HANDLE CreateForExport(const std::string& gbkPath) {
        return CreateFileA(gbkPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    std::string dir_;
};

TEST_F(Files, ExportWritesRawGbkBytesUnderAChineseNameWithBackslashes) {
    // The program builds "folder\导出.txt" in GBK.
    std::string gbkPath = gbk::FromUtf8(dir_) + "\\" + "导出.txt";
    HANDLE h = CreateForExport(gbkPath);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const std::string data = "客户\t金额\t\r\n甲\t1.50\t\r\n";  // GBK bytes
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    EXPECT_EQ(written, data.size());
    EXPECT_TRUE(CloseHandle(h));
    fs::path onDisk = fs::path(dir_) / fs::path(gbk::ToUtf8("导出.txt"));
    ASSERT_TRUE(fs::exists(onDisk));
    EXPECT_EQ(Slurp(onDisk), data);  // no conversion of the contents
}

TEST_F(Files, CreateAlwaysTruncatesAndReportsAnExistingFile) {
    fs::path p = fs::path(dir_) / "old.txt";
    std::ofstream(p) << "a much longer previous content";
    HANDLE h = CreateForExport(p.string());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "new", 3, &n, nullptr));
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_EQ(Slurp(p), "new");

    h = CreateForExport((fs::path(dir_) / "fresh.txt").string());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(h);
}

TEST_F(Files, OpenModesFollowTheDisposition) {
    std::string p = (fs::path(dir_) / "f.bin").string();
    EXPECT_EQ(CreateFileA(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    HANDLE h = CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    CloseHandle(h);
    EXPECT_EQ(CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    // OPEN_ALWAYS keeps the contents; reading returns them, then end of file.
    h = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buf[32] = {};
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(n, 10u);
    EXPECT_STREQ(buf, "0123456789");
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(n, 0u);
    // Writing through a read-only handle fails and says so.
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(n, 0u);
    CloseHandle(h);

    h = CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(fs::file_size(p), 0u);
}

TEST_F(Files, FailuresGiveInvalidHandleOrFalse) {
    // A folder that does not exist, a folder in place of a file, a read-only folder.
    std::string missing = (fs::path(dir_) / "no" / "such.txt").string();
    EXPECT_EQ(CreateForExport(missing), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateForExport(dir_), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    if (geteuid() != 0) {
        fs::path ro = fs::path(dir_) / "ro";
        fs::create_directory(ro);
        fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(CreateForExport((ro / "x.txt").string()), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(CreateForExport(""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);

    // Writes to a closed handle, a thread handle or junk fail instead of crashing.
    HANDLE h = CreateForExport((fs::path(dir_) / "c.txt").string());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(h));
    DWORD n = 5;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, "x", 1, &n, nullptr));
    EXPECT_FALSE(CloseHandle(h));
}

// An installed program (a data folder <prefix>/share/<name>/ beside its
// <prefix>/bin/) writing a file of its own folder writes the account's copy,
// made from the data folder's file (600 in a folder of 700); what it only
// reads comes from the data folder. The installed tree stays as it was. This
// test program runs itself, copied into such a tree, for the program's part.
TEST_F(Files, AnInstalledProgramWritesItsOwnFolderIntoTheAccountsCopies) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    if (getenv("W32FILES_INSTALLED")) {
        HANDLE h = CreateFileA((self.parent_path() / "notes.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        char buf[16] = "";
        DWORD n = 0;
        ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
        EXPECT_EQ(std::string(buf, n), "pristine");
        EXPECT_TRUE(WriteFile(h, "+mine", 5, &n, nullptr));
        CloseHandle(h);
        h = CreateFileA((self.parent_path() / "font.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
        EXPECT_EQ(std::string(buf, n), "glyphs");
        CloseHandle(h);
        return;
    }
    const fs::path bin = fs::path(dir_) / "usr/bin", data = fs::path(dir_) / "usr/share" / self.filename();
    fs::create_directories(bin);
    fs::create_directories(data);
    fs::copy_file(self, bin / self.filename());
    std::ofstream(data / "notes.txt") << "pristine";
    std::ofstream(data / "font.txt") << "glyphs";
    const std::string run = "W32FILES_INSTALLED=1 HOME='" + dir_ + "/home' XDG_DATA_HOME= '" +
                            (bin / self.filename()).string() +
                            "' --gtest_filter=Files.AnInstalled* --gtest_repeat=1 >/dev/null";
    ASSERT_EQ(std::system(run.c_str()), 0);
    const fs::path store = fs::path(dir_) / "home/.local/share" / self.filename();
    EXPECT_EQ(Slurp(store / "notes.txt"), "pristine+mine");
    EXPECT_EQ(fs::status(store / "notes.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(store).permissions(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(store / "font.txt"));
    EXPECT_EQ(Slurp(data / "notes.txt"), "pristine");
    EXPECT_FALSE(fs::exists(bin / "notes.txt"));
}

TEST_F(Files, FullDiskIsAWriteFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    HANDLE h = CreateFileA("/dev/full", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_FALSE(WriteFile(h, "data", 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    CloseHandle(h);
}

}  // namespace
