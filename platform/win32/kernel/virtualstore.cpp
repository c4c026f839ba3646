// File virtualization: an installed program's own folder seen through each
// account's copies (win32_virtualstore.h). POSIX calls only: <filesystem>
// pulls in <chrono>, which does not compile with a GBK execution charset.
#include "win32_virtualstore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

bool IsDirectory(const std::string& p) {
    struct stat sb;
    return stat(p.c_str(), &sb) == 0 && S_ISDIR(sb.st_mode);
}

bool Exists(const std::string& p) {
    struct stat sb;
    return stat(p.c_str(), &sb) == 0;
}

std::string Folder(const std::string& p) {
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : slash == 0 ? std::string("/") : p.substr(0, slash);
}

// Makes the folder and the missing ones above it, each of mode 700 as the XDG
// base directories are made; the folder itself loses others' rights
// when it is the account's own. False when it is no folder afterwards.
bool MakeOwnFolder(const std::string& folder) {
    for (size_t at = 1; at <= folder.size(); ++at)
        if (at == folder.size() || folder[at] == '/') (void)mkdir(folder.substr(0, at).c_str(), 0700);
    struct stat sb;
    if (stat(folder.c_str(), &sb) != 0 || !S_ISDIR(sb.st_mode)) return false;
    if ((sb.st_mode & (S_IRWXG | S_IRWXO)) && sb.st_uid == geteuid()) (void)chmod(folder.c_str(), S_IRWXU);
    return true;
}

// Copies `from` to `to` (mode 600) unless `to` exists: through a file beside
// it, linked in place, so that a second instance starting at the same time
// keeps the first one's copy and nobody reads half a file.
bool CopyOnce(const std::string& from, const std::string& to) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const std::string tmp = to + ".new" + std::to_string(getpid());
    const int out = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = out >= 0;
    char buf[65536];
    for (ssize_t n; ok && (n = read(in, buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = write(out, buf + done, size_t(n - done));
            if (w < 0 && errno == EINTR) continue;
            ok = w > 0;
            done += ok ? w : 0;
        }
    }
    const int saved = errno;
    close(in);
    if (out >= 0) {
        ok = fsync(out) == 0 && ok;
        ok = close(out) == 0 && ok;
    }
    if (ok) ok = link(tmp.c_str(), to.c_str()) == 0 || errno == EEXIST;
    if (out >= 0) unlink(tmp.c_str());
    errno = ok ? 0 : saved;
    return ok;
}

}  // namespace

namespace w32kernel {

std::string UserDataFolder() {
    const char* d = std::getenv("XDG_DATA_HOME");
    if (d && d[0] == '/') return d;
    const char* h = std::getenv("HOME");
    std::string home = h && *h ? h : "";
    if (home.empty())
        if (const passwd* pw = getpwuid(getuid())) home = pw->pw_dir;
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return (home == "/" ? "" : home) + "/.local/share";
}

std::string VirtualStorePath(const std::string& path, bool forWriting) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0 || path.empty()) return path;
    const std::string exe(self, size_t(n)), own = Folder(exe);
    if (own.empty() || own == "/") return path;
    const std::string name = exe.substr(own.size() + 1);
    std::string full = path;
    if (full[0] != '/') {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return path;
        full = std::string(cwd) + "/" + full;
    }
    // Only a file of the program's own folder that is not there itself, of
    // an installed program.
    if (Folder(full) != own || Exists(full)) return path;
    const std::string data = Folder(own) + "/share/" + name;
    if (!IsDirectory(data)) return path;
    const std::string file = full.substr(own.size() + 1);
    const std::string store = UserDataFolder() + "/" + name, copy = store + "/" + file;
    if (Exists(copy)) return copy;
    if (!forWriting) return Exists(data + "/" + file) ? data + "/" + file : copy;
    if (!MakeOwnFolder(store)) return {};
    if (Exists(data + "/" + file) && !CopyOnce(data + "/" + file, copy)) return {};
    return copy;
}

}  // namespace w32kernel
