// ole32 and the shell-link object. A saved link is a freedesktop desktop
// entry that starts the target: the Linux form of a shortcut.
#include <QtCore/QBuffer>
#include <QtGui/QImage>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gbk/gbk.h"
#include "shell/shell_internal.h"
#include "w32_internal.h"
#include "win32.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IPersist = {0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

thread_local int t_comInits = 0;

// A wide file name as UTF-8 (invalid code points become U+FFFD).
std::string WideToUtf8(LPCOLESTR s) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();  // the terminating NUL
    return out;
}

// A desktop-entry string value: no line breaks, backslashes escaped.
std::string EntryValue(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out.push_back(c);
    }
    return out;
}

// One Exec argument: quoted, with the characters the Exec key reserves
// escaped; '%' doubled (field codes). EntryValue then escapes backslashes.
std::string ExecArgument(const std::string& arg) {
    std::string q = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') q.push_back('\\');
        if (c == '%') q.push_back('%');
        q.push_back(c);
    }
    return q + "\"";
}

// Splits a Windows-style argument string at blanks outside double quotes.
std::vector<std::string> SplitArguments(const std::string& s) {
    std::vector<std::string> args;
    std::string cur;
    bool quoted = false, any = false;
    for (char c : s) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) args.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur.push_back(c);
            any = true;
        }
    }
    if (any) args.push_back(cur);
    return args;
}

// Writes `bytes` to `file` whole or not at all: into a file beside it, renamed
// over it. 0 when written, the error when the file cannot be made, else -1.
int WriteWhole(const std::string& file, const char* bytes, size_t size, mode_t mode) {
    std::string tmp = file + ".tmp" + std::to_string(getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return errno;
    bool ok = std::fwrite(bytes, 1, size, f) == size;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = ::chmod(tmp.c_str(), mode) == 0;
    if (ok) ok = std::rename(tmp.c_str(), file.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok ? 0 : -1;
}

// Writes the icon of a link without an icon location, its target's own as on
// Windows, and gives its file. Only this program's executable has its
// resources at hand: its icon is written as a PNG into the user's icon
// folder, named by its bytes (written once, and never replaced by another
// program's icon), and the entry names that file. Empty when the target is
// another program or the file cannot be written.
std::string WriteTargetIconFile(const std::string& target) {
    std::error_code ec;
    if (!std::filesystem::equivalent(target, "/proc/self/exe", ec)) return {};
    const QImage image = w32::ProgramIconImage();
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : png) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[24];
    std::snprintf(name, sizeof name, "-%016llx.png", static_cast<unsigned long long>(hash));
    const std::string folder = w32shell::DataFolder() + "/icons";
    const std::string file = folder + "/" + std::filesystem::path(target).stem().string() + name;
    if (std::filesystem::is_regular_file(file, ec)) return file;
    std::filesystem::create_directories(folder, ec);
    return WriteWhole(file, png.constData(), static_cast<size_t>(png.size()), 0644) == 0 ? file : std::string();
}

HRESULT CopyOut(const std::string& gbkText, LPSTR buf, int cch) {
    if (!buf || cch <= 0) return E_INVALIDARG;
    gbk::CopyCut(buf, static_cast<size_t>(cch), gbkText);
    return S_OK;
}

class ShellLink final : public IShellLinkA, public IPersistFile {
public:
    // IUnknown (both bases share this object's count)
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IShellLinkA)
            *ppv = static_cast<IShellLinkA*>(this);
        else if (riid == IID_IPersistFile || riid == IID_IPersist)
            *ppv = static_cast<IPersistFile*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }

    // IShellLinkA
    HRESULT GetPath(LPSTR pszFile, int cch, void*, DWORD) override { return CopyOut(path_, pszFile, cch); }
    HRESULT SetPath(LPCSTR pszFile) override { return Set(path_, pszFile); }
    HRESULT GetArguments(LPSTR pszArgs, int cch) override { return CopyOut(args_, pszArgs, cch); }
    HRESULT SetArguments(LPCSTR pszArgs) override { return Set(args_, pszArgs); }
    HRESULT GetDescription(LPSTR pszName, int cch) override { return CopyOut(description_, pszName, cch); }
    HRESULT SetDescription(LPCSTR pszName) override { return Set(description_, pszName); }
    HRESULT GetWorkingDirectory(LPSTR pszDir, int cch) override { return CopyOut(workDir_, pszDir, cch); }
    HRESULT SetWorkingDirectory(LPCSTR pszDir) override { return Set(workDir_, pszDir); }
    HRESULT GetIconLocation(LPSTR pszIconPath, int cch, int* piIcon) override {
        if (piIcon) *piIcon = iconIndex_;
        return CopyOut(icon_, pszIconPath, cch);
    }
    HRESULT SetIconLocation(LPCSTR pszIconPath, int iIcon) override {
        iconIndex_ = iIcon;
        return Set(icon_, pszIconPath);
    }
    HRESULT GetShowCmd(int* piShowCmd) override {
        if (!piShowCmd) return E_POINTER;
        *piShowCmd = showCmd_;
        return S_OK;
    }
    HRESULT SetShowCmd(int iShowCmd) override {
        showCmd_ = iShowCmd;
        return S_OK;
    }

    // IPersistFile
    HRESULT GetClassID(CLSID* pClassID) override {
        if (!pClassID) return E_POINTER;
        *pClassID = CLSID_ShellLink;
        return S_OK;
    }
    HRESULT IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    HRESULT Load(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT SaveCompleted(LPCOLESTR) override { return S_OK; }
    HRESULT GetCurFile(LPOLESTR* ppszFileName) override {
        if (ppszFileName) *ppszFileName = nullptr;
        return E_NOTIMPL;
    }

    HRESULT Save(LPCOLESTR pszFileName, BOOL fRemember) override {
        std::string file = pszFileName ? WideToUtf8(pszFileName) : current_;
        if (file.empty()) return E_INVALIDARG;
        std::replace(file.begin(), file.end(), '\\', '/');
        file = EntryFileName(file);
        if (path_.empty()) return E_FAIL;  // a link to nothing
        HRESULT hr = WriteEntry(file);
        if (SUCCEEDED(hr)) {
            if (fRemember) current_ = file;
            dirty_ = false;
        }
        return hr;
    }

    // "x.lnk" is saved as "x.desktop"; other names get ".desktop" added.
    static std::string EntryFileName(const std::string& file) {
        std::string::size_type slash = file.rfind('/');
        std::string::size_type dot = file.rfind('.');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
            std::string ext = file.substr(dot);
            for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (ext == ".lnk") return file.substr(0, dot) + ".desktop";
            if (ext == ".desktop") return file;
        }
        return file + ".desktop";
    }

private:
    ~ShellLink() = default;

    HRESULT Set(std::string& field, LPCSTR value) {
        if (!value) return E_INVALIDARG;
        field = value;
        dirty_ = true;
        return S_OK;
    }

    HRESULT WriteEntry(const std::string& file) {
        std::string name = std::filesystem::path(file).stem().string();
        const std::string target = w32shell::ToFsPath(path_.c_str());
        std::string exec = ExecArgument(target);
        for (const std::string& a : SplitArguments(gbk::ToUtf8(args_))) exec += " " + ExecArgument(a);
        std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
        text += "Name=" + EntryValue(name) + "\n";
        if (!description_.empty()) text += "Comment=" + EntryValue(gbk::ToUtf8(description_)) + "\n";
        text += "Exec=" + EntryValue(exec) + "\n";
        std::string dir = workDir_.empty() ? std::filesystem::path(target).parent_path().string()
                                           : w32shell::ToFsPath(workDir_.c_str());
        if (!dir.empty()) text += "Path=" + EntryValue(dir) + "\n";
        const std::string icon = icon_.empty() ? WriteTargetIconFile(target) : w32shell::ToFsPath(icon_.c_str());
        if (!icon.empty()) text += "Icon=" + EntryValue(icon) + "\n";
        text += "Terminal=false\n";

        // An existing entry is replaced whole or not at all.
        const int error = WriteWhole(file, text.data(), text.size(), 0755);
        if (error > 0) return error == ENOENT || error == ENOTDIR ? STG_E_PATHNOTFOUND : E_ACCESSDENIED;
        return error == 0 ? S_OK : STG_E_WRITEFAULT;
    }

    std::atomic<ULONG> refs_{1};
    std::string path_, args_, description_, workDir_, icon_;  // GBK
    int iconIndex_ = 0;
    int showCmd_ = SW_SHOWNORMAL;
    bool dirty_ = false;
    std::string current_;  // UTF-8
};

}  // namespace

HRESULT CoInitialize(LPVOID) { return ++t_comInits == 1 ? S_OK : S_FALSE; }

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD) { return CoInitialize(pvReserved); }

void CoUninitialize(void) {
    if (t_comInits > 0) --t_comInits;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (t_comInits == 0) return CO_E_NOTINITIALIZED;
    if (!(rclsid == CLSID_ShellLink)) return REGDB_E_CLASSNOTREG;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    ShellLink* link = new ShellLink;
    HRESULT hr = link->QueryInterface(riid, ppv);
    link->Release();  // the interface returned holds the only reference
    return hr;
}
