// Shared by the shell calls (SHELL32, comdlg32, ole32).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "win32_testhooks_shell.h"

namespace w32shell {

// A GBK path as the file system takes it: UTF-8, '\' as '/'.
std::string ToFsPath(const char* gbk);

// The desktop, documents and user data ($XDG_DATA_HOME) folders (UTF-8, no
// trailing '/').
std::string DesktopFolder();
std::string DocumentsFolder();
std::string DataFolder();

// What the tests asked of the shell calls (set through the test hooks
// library); each part is guarded by its mutex.
struct TestState {
    std::mutex folderMutex;
    std::string desktopOverride;  // the desktop folder instead of the user's (UTF-8)
    std::mutex saveMutex;         // also guards the save dialog's last folder
    w32test::SaveDialogHook saveHook;
    std::vector<w32test::SaveDialogCall> saveCalls;
    std::mutex execMutex;
    std::vector<w32test::ShellExecuteCall> execCalls;
    int recordOnly = -1;  // -1: not chosen, on under the offscreen platform
};
TestState& Tests();

}  // namespace w32shell
