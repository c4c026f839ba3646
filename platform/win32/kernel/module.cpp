// KERNEL32 module handles: the executable is the only module.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/gbk/gbk.h"
#include "win32.h"

namespace {

// The executable's base address on Windows, which is what programs see as
// their instance handle; the window layer hands the same value to WinMain.
HMODULE const kExecutable = reinterpret_cast<HMODULE>(uintptr_t(0x400000));

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string BaseName(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExe(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0 ? name.substr(0, name.size() - 4) : name;
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
    if (!lpModuleName) return kExecutable;
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n > 0) {
        std::string own = WithoutExe(Lower(BaseName(std::string(self, size_t(n)))));
        std::string asked = WithoutExe(Lower(BaseName(gbk::ToUtf8(lpModuleName))));
        if (!asked.empty() && asked == own) return kExecutable;
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}
