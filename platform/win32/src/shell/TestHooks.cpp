// Test hooks of the shell calls (library w32_testhooks): the desktop folder,
// answers to the save dialog, ShellExecute recorded instead of run.
#include <mutex>
#include <string>
#include <vector>

#include "shell/shell_internal.h"
#include "win32_testhooks_shell.h"

void w32test::SetDesktopFolder(const std::string& utf8Path) {
    std::lock_guard<std::mutex> lock(w32shell::Tests().folderMutex);
    w32shell::Tests().desktopOverride = utf8Path;
}

void w32test::SetSaveDialogHook(SaveDialogHook hook) {
    std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
    w32shell::Tests().saveHook = std::move(hook);
}

void w32test::AnswerSaveDialog(const std::string& typedGbk) {
    SetSaveDialogHook([typedGbk](const SaveDialogCall&, std::string* typed) {
        *typed = typedGbk;
        return true;
    });
}

void w32test::CancelSaveDialog() {
    SetSaveDialogHook([](const SaveDialogCall&, std::string*) { return false; });
}

std::vector<w32test::SaveDialogCall> w32test::SaveDialogs() {
    std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
    return w32shell::Tests().saveCalls;
}

void w32test::ClearSaveDialogs() {
    std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
    w32shell::Tests().saveCalls.clear();
}

void w32test::RecordShellExecuteOnly(bool on) {
    std::lock_guard<std::mutex> lock(w32shell::Tests().execMutex);
    w32shell::Tests().recordOnly = on ? 1 : 0;
}

std::vector<w32test::ShellExecuteCall> w32test::ShellExecutes() {
    std::lock_guard<std::mutex> lock(w32shell::Tests().execMutex);
    return w32shell::Tests().execCalls;
}

void w32test::ClearShellExecutes() {
    std::lock_guard<std::mutex> lock(w32shell::Tests().execMutex);
    w32shell::Tests().execCalls.clear();
}
