#include "shell/Mailto.h"

#include "resources/message_texts.h"
#include "win32_shell.h"

bool OpenMailto(HWND hWnd, const char* pszMailto, HWND hOwner) {
    // Values up to 32 are the shell's error codes.
    if ((INT_PTR)ShellExecuteA(hWnd, nullptr, pszMailto, nullptr, nullptr, SW_SHOW) > 32) return true;
    MessageBoxA(hOwner, msg::kNoProgramForMail, msg::kInfoCaption, MB_OK | MB_ICONWARNING);
    return false;
}
