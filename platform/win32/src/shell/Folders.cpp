// SHELL32 special folders (the XDG user folders) and change notifications.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "platform/gbk/gbk.h"
#include "shell/shell_internal.h"
#include "win32.h"
#include "win32_virtualstore.h"

namespace {

std::string Home() {
    const char* h = std::getenv("HOME");
    if (h && *h) return h;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir;
    return "/";
}

std::string TrimSlashes(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// The folder an XDG user-dirs.dirs entry (XDG_<key>_DIR) names, else
// ~/<fallback>. Values are "$HOME/..." or absolute paths.
std::string XdgUserDir(const std::string& key, const std::string& fallback) {
    std::string home = TrimSlashes(Home());
    const char* cfg = std::getenv("XDG_CONFIG_HOME");
    std::string configHome = (cfg && cfg[0] == '/') ? std::string(cfg) : home + "/.config";
    std::ifstream in(configHome + "/user-dirs.dirs");
    std::string line, want = "XDG_" + key + "_DIR";
    std::string found;
    while (std::getline(in, line)) {
        size_t p = line.find_first_not_of(" \t");
        if (p == std::string::npos || line[p] == '#') continue;
        if (line.compare(p, want.size(), want) != 0) continue;
        size_t eq = line.find('=', p + want.size());
        if (eq == std::string::npos || line.find_first_not_of(" \t", p + want.size()) != eq) continue;
        std::string v = line.substr(eq + 1);
        v.erase(0, v.find_first_not_of(" \t"));
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r')) v.pop_back();
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        std::string unescaped;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i] == '\\' && i + 1 < v.size()) ++i;
            unescaped.push_back(v[i]);
        }
        if (unescaped.compare(0, 5, "$HOME") == 0 && (unescaped.size() == 5 || unescaped[5] == '/'))
            found = home + unescaped.substr(5);
        else if (!unescaped.empty() && unescaped[0] == '/')
            found = unescaped;
    }
    if (found.empty()) found = home + "/" + fallback;
    return TrimSlashes(found);
}

}  // namespace

namespace w32shell {

TestState& Tests() {
    static auto* s = new TestState;
    return *s;
}

std::string ToFsPath(const char* gbkPath) {
    std::string p = gbk::ToUtf8(gbkPath ? gbkPath : "");
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string DesktopFolder() {
    {
        std::lock_guard<std::mutex> lock(w32shell::Tests().folderMutex);
        if (!w32shell::Tests().desktopOverride.empty()) return TrimSlashes(w32shell::Tests().desktopOverride);
    }
    return XdgUserDir("DESKTOP", "Desktop");
}

std::string DocumentsFolder() { return XdgUserDir("DOCUMENTS", "Documents"); }

std::string DataFolder() { return TrimSlashes(w32kernel::UserDataFolder()); }

}  // namespace w32shell

BOOL SHGetSpecialFolderPathA(HWND, LPSTR lpszPath, int csidl, BOOL fCreate) {
    if (!lpszPath) return FALSE;
    lpszPath[0] = '\0';
    std::string folder;
    switch (csidl & 0xFF) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: folder = w32shell::DesktopFolder(); break;
    case CSIDL_PERSONAL: folder = w32shell::DocumentsFolder(); break;
    case CSIDL_APPDATA: folder = w32shell::DataFolder(); break;
    default: return FALSE;
    }
    std::string gbkPath = gbk::FromUtf8(folder);
    // A path GBK cannot hold would name another folder.
    if (gbk::ToUtf8(gbkPath) != folder || gbkPath.size() >= MAX_PATH) return FALSE;
    std::memcpy(lpszPath, gbkPath.c_str(), gbkPath.size() + 1);
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return TRUE;
    if (fCreate || (csidl & 0x8000)) return std::filesystem::create_directories(folder, ec) ? TRUE : FALSE;
    return FALSE;
}

void SHChangeNotify(LONG, UINT, LPCVOID, LPCVOID) {}
