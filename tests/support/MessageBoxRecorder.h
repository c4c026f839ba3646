// MessageBoxA for tests without a GUI: every call is recorded and answered
// with a value the test chooses (IDOK unless set).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace testsupport {

struct MessageBoxCall {
    HWND hWnd;
    std::string text;     // GBK, as the program passed it
    std::string caption;  // GBK
    UINT type;
};

// Calls since the last ClearMessageBoxes(), oldest first.
const std::vector<MessageBoxCall>& MessageBoxCalls();
// Just the texts, oldest first.
std::vector<std::string> MessageBoxTexts();
void ClearMessageBoxes();
// Value every later MessageBoxA returns (IDOK, IDYES, IDNO, IDCANCEL, ...).
void SetMessageBoxResult(int nResult);
// Runs while each later box is "up" (before it returns); cleared by
// ClearMessageBoxes(). Lets a test look at the world while the program waits.
void SetMessageBoxHook(std::function<void()> fnHook);

}  // namespace testsupport
