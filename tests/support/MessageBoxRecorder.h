// The store's reporter for tests without a GUI: every report is recorded as
// the message box the program would show (its caption, an OK button).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace testsupport {

struct MessageBoxCall {
    HWND hWnd;
    std::string text;     // GBK, as the store passed it
    std::string caption;  // GBK
    UINT type;
};

// Makes the recorder the store's reporter (linking this library does it too).
void RecordStoreReports();
// Calls since the last ClearMessageBoxes(), oldest first.
const std::vector<MessageBoxCall>& MessageBoxCalls();
// Just the texts, oldest first.
std::vector<std::string> MessageBoxTexts();
void ClearMessageBoxes();
// Runs while each later report is "up" (before it returns); cleared by
// ClearMessageBoxes(). Lets a test look at the world while the program waits.
void SetMessageBoxHook(std::function<void()> fnHook);

}  // namespace testsupport
