// The first-run wizard (welcome, usage agreement, user name and password)
// and the login dialog that guards every later start.
#pragma once

#include "win32.h"

// Dialog procedures of the four dialogs.
INT_PTR CALLBACK Install1DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Install2DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LoginSettingDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LoginDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// How a wizard page or the login ended (the dialog's result).
enum WizardStep {
    WIZ_QUIT = 0,  // cancelled, refused or locked out: the program ends
    WIZ_NEXT = 1,  // go on to the next page (the last page: start the program)
    WIZ_BACK = 2,  // back to the previous page
};

// Runs the wizard's pages one at a time until it completes (1) or ends the
// program (0). The pages run without an owner.
int RunFirstRunWizard(HINSTANCE hInstance);
// Runs the login dialog: 1 when the password was right, 0 when the program
// ends (cancel or the fifth wrong password).
int RunLogin(HINSTANCE hInstance);

// Wrong passwords so far in this run.
extern int g_nLoginAttempts;
const int kMaxLoginAttempts = 5;

// The user name as the personal shortcut's file-name part: as typed, or empty
// for a name holding a path separator ("/" or "\"), which a file name cannot
// hold. Returns the length written (0: no shortcut).
int MakeSafeFileName(const char* pszName, char* pszOut, int nOutSize);
// Writes the desktop shortcut (a .desktop file) named pszFileName in the
// desktop folder. 0, or -1 (silently) when it cannot be written.
int MakeDesktopShortcut(const char* pszFileName);
