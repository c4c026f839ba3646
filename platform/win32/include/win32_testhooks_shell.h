// Test hooks of the shell calls: answer the save dialog, record ShellExecuteA
// instead of opening anything, and move the desktop folder. Used only by tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace w32test {

// ---------------------------------------------------------------------------
// GetSaveFileNameA
// ---------------------------------------------------------------------------
struct SaveDialogCall {
    HWND owner;
    std::vector<std::string> filter;  // description, pattern, description, ... (GBK)
    std::string initialFile;          // lpstrFile on entry (GBK)
    std::string initialDir;           // lpstrInitialDir or ""
    std::string defExt;               // lpstrDefExt or ""
    DWORD flags;
};
// Answers the dialog without showing it: return true with the name "typed"
// into the dialog (GBK; '\' allowed; a relative name is taken in the initial
// folder, else the current folder), or false to cancel. The layer then does
// what the dialog does with a typed name (default extension, GBK check, ...).
using SaveDialogHook = std::function<bool(const SaveDialogCall&, std::string* typed)>;
void SetSaveDialogHook(SaveDialogHook hook);         // empty: the real dialog
void AnswerSaveDialog(const std::string& typedGbk);  // every dialog answers this name
void CancelSaveDialog();                             // every dialog is cancelled
// Every dialog asked for (answered or not) since the last ClearSaveDialogs.
std::vector<SaveDialogCall> SaveDialogs();
void ClearSaveDialogs();

// ---------------------------------------------------------------------------
// ShellExecuteA
// ---------------------------------------------------------------------------
struct ShellExecuteCall {
    HWND hwnd;
    std::string operation, file, parameters, directory;  // as passed (GBK), "" for NULL
    INT showCmd;
    std::string target;  // what would be opened: the URL, or the file's URL ("file:///...")
};
// On: calls are recorded and nothing is opened. Off: calls are recorded and
// handed to the desktop. Defaults to on under the offscreen platform.
void RecordShellExecuteOnly(bool on);
std::vector<ShellExecuteCall> ShellExecutes();
void ClearShellExecutes();

// ---------------------------------------------------------------------------
// Special folders
// ---------------------------------------------------------------------------
// Uses utf8Path as the desktop folder ("" goes back to the XDG desktop folder).
void SetDesktopFolder(const std::string& utf8Path);

}  // namespace w32test
