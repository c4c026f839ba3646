// Shared by the shell calls (SHELL32, comdlg32, ole32).
#pragma once

#include <string>

namespace w32shell {

// A GBK path as the file system takes it: UTF-8, '\' as '/'.
std::string ToFsPath(const char* gbk);

// The desktop and documents folders (UTF-8, no trailing '/').
std::string DesktopFolder();
std::string DocumentsFolder();

}  // namespace w32shell
