// First-run shortcuts: the shell-link object, driven the way the program
// does it, writes an executable desktop entry on the desktop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QtCore/QBuffer>
#include <QtGui/QImage>
#include <QtGui/QImageReader>

#include <filesystem>
#include <string>

#include "res/resdata.h"
#include "test_support.h"
#include "win32.h"

namespace {

namespace fs = std::filesystem;
using shelltest::G;

// The program's sequence: COM, link object, SetPath, IPersistFile::Save of the
// GBK path converted with MultiByteToWideChar, release, uninitialise.
HRESULT WriteShortcut(const std::string& gbkTarget, const std::string& gbkLink) {
    HRESULT init = CoInitialize(nullptr);
    EXPECT_TRUE(SUCCEEDED(init));
    IShellLinkA* link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<LPVOID*>(&link));
    if (SUCCEEDED(hr)) {
        link->SetPath(gbkTarget.c_str());
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, gbkLink.c_str(), -1, wide, MAX_PATH);
            hr = file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return hr;
}

TEST(Shortcuts, LnkPathBecomesAnExecutableDesktopEntry) {
    shelltest::TempDir desk;
    std::string target = "/opt/tarvel/Tarvel Sales Logs.exe";
    ASSERT_EQ(WriteShortcut(target, desk.gbk() + "\\Tarvel Sales Logs.lnk"), S_OK);
    fs::path entry = fs::path(desk.path()) / "Tarvel Sales Logs.desktop";
    ASSERT_TRUE(fs::exists(entry));
    EXPECT_FALSE(fs::exists(fs::path(desk.path()) / "Tarvel Sales Logs.lnk"));
    std::string text = shelltest::Slurp(entry);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nName=Tarvel Sales Logs\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=\"/opt/tarvel/Tarvel Sales Logs.exe\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nPath=/opt/tarvel\n"), std::string::npos) << text;
    struct stat st;
    ASSERT_EQ(stat(entry.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);
    // No temporary files are left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(desk.path()), fs::directory_iterator()), 1);
}

TEST(Shortcuts, UserNamedShortcutKeepsTheChineseNameAndIsOverwritten) {
    shelltest::TempDir desk;
    std::string link = desk.gbk() + "\\" + G("张三") + "-Tarvel Sales Logs.lnk";
    ASSERT_EQ(WriteShortcut("/first/target", link), S_OK);
    ASSERT_EQ(WriteShortcut("/second/target", link), S_OK);
    fs::path entry = fs::path(desk.path()) / "张三-Tarvel Sales Logs.desktop";
    ASSERT_TRUE(fs::exists(entry));
    std::string text = shelltest::Slurp(entry);
    EXPECT_NE(text.find("Name=张三-Tarvel Sales Logs\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Exec=\"/second/target\"\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("/first/target"), std::string::npos) << text;
}

TEST(Shortcuts, ExecQuotesReservedCharactersOfTheTarget) {
    shelltest::TempDir desk;
    ASSERT_EQ(WriteShortcut("C:\\Program Files\\100%\\a$b\"c.exe", desk.gbk() + "/q.lnk"), S_OK);
    std::string text = shelltest::Slurp(fs::path(desk.path()) / "q.desktop");
    // '\' became '/', '%' is doubled, '$' and '"' are escaped (and the escaping
    // backslash itself is escaped in the file).
    EXPECT_NE(text.find("Exec=\"C:/Program Files/100%%/a\\\\$b\\\\\"c.exe\"\n"), std::string::npos) << text;
}

TEST(Shortcuts, MissingFolderFailsWithoutWritingAnything) {
    shelltest::TempDir desk;
    std::string link = desk.gbk() + "/no such folder/x.lnk";
    EXPECT_TRUE(FAILED(WriteShortcut("/t", link)));
    EXPECT_EQ(std::distance(fs::directory_iterator(desk.path()), fs::directory_iterator()), 0);
}

TEST(Shortcuts, ComObjectRulesHold) {
    IShellLinkA* link = nullptr;
    // Without CoInitialize on this thread no object is made.
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<LPVOID*>(&link)),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(link, nullptr);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // nested
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(IID_IPersistFile, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<LPVOID*>(&link)),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<LPVOID*>(&link)),
              S_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(link->QueryInterface(CLSID_ShellLink, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    // Interfaces of one object share one count: the object lives while any is held.
    IPersistFile* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    EXPECT_EQ(link->Release(), 1u);
    CLSID cls{};
    EXPECT_EQ(file->GetClassID(&cls), S_OK);
    EXPECT_TRUE(IsEqualCLSID(cls, CLSID_ShellLink));
    EXPECT_EQ(file->Save(nullptr, TRUE), E_INVALIDARG);  // nothing to save to yet
    EXPECT_EQ(file->Release(), 0u);
    CoUninitialize();
}

TEST(Shortcuts, LinkFieldsReadBackInGbk) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkA* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<LPVOID*>(&link)),
              S_OK);
    std::string target = G("/opt/销售/tarvel");
    EXPECT_EQ(link->SetPath(target.c_str()), S_OK);
    char buf[8];
    EXPECT_EQ(link->GetPath(buf, sizeof buf, nullptr, 0), S_OK);
    EXPECT_STREQ(buf, G("/opt/销").c_str());  // cut to the buffer, whole characters only
    EXPECT_EQ(link->SetArguments(G("--user \"张 三\"").c_str()), S_OK);
    shelltest::TempDir desk;
    IPersistFile* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    std::wstring wpath = std::wstring(desk.path().begin(), desk.path().end()) + L"/args.lnk";
    EXPECT_EQ(file->Save(wpath.c_str(), TRUE), S_OK);
    EXPECT_EQ(file->Save(nullptr, FALSE), S_OK);  // the remembered file
    std::string text = shelltest::Slurp(fs::path(desk.path()) / "args.desktop");
    EXPECT_NE(text.find("Exec=\"/opt/销售/tarvel\" \"--user\" \"张 三\"\n"), std::string::npos) << text;
    file->Release();
    link->Release();
    CoUninitialize();
}

// A link without an icon location shows its target's own icon, as on
// Windows: for this program, its first icon (APPLICATION, named before the
// numbered one) at its largest size, as a PNG file the entry names. Links to
// another program name none.
TEST(Shortcuts, LinkToTheProgramShowsTheProgramsFirstIcon) {
    shelltest::TempDir desk, data;
    shelltest::EnvVar dataHome("XDG_DATA_HOME", data.path());
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    ASSERT_EQ(WriteShortcut(self, desk.gbk() + "/one.lnk"), S_OK);
    ASSERT_EQ(WriteShortcut(self, desk.gbk() + "/two.lnk"), S_OK);
    ASSERT_EQ(WriteShortcut("/opt/other/program", desk.gbk() + "/other.lnk"), S_OK);
    const std::string text = shelltest::Slurp(fs::path(desk.path()) / "one.desktop");
    const size_t at = text.find("\nIcon=");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string icon = text.substr(at + 6, text.find('\n', at + 1) - at - 6);
    EXPECT_EQ(icon.rfind(data.path() + "/icons/", 0), 0u) << icon;
    EXPECT_NE(shelltest::Slurp(fs::path(desk.path()) / "two.desktop").find("\nIcon=" + icon + "\n"), std::string::npos);
    EXPECT_EQ(shelltest::Slurp(fs::path(desk.path()) / "other.desktop").find("Icon="), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(data.path() + "/icons"), fs::directory_iterator()), 1);

    // Its pixels are the icon resource's largest image, as Qt's own reader
    // decodes it.
    const w32res::BinaryData* resource = w32res::FindIcon("APPLICATION");
    ASSERT_NE(resource, nullptr);
    QByteArray bytes(reinterpret_cast<const char*>(resource->data), static_cast<qsizetype>(resource->size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    QImage largest;
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i)
        if (QImage image = reader.read(); image.width() > largest.width()) largest = image;
    ASSERT_EQ(largest.width(), 128);
    const QImage written(QString::fromStdString(icon), "PNG");
    EXPECT_EQ(written.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              largest.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

}  // namespace
