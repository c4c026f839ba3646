// A main window with the program's toolbar and all 37 views, made the way
// the program's main window makes them, for the tests of the pages. The
// start page is shown and owns the first history entry.
#pragma once

#include "program/main.h"

#include <string>

#include "tests/shell/ShellTestSupport.h"

namespace placeholders_test {

// Makes the window once per test program; later calls only return it.
HWND EnsureShell();
// The program's database (a fresh copy made by EnsureShell). Before direct
// SQL the program's open cursor (a query read only to its first row) is
// closed, so that the file is not locked for the test's own connection.
shelltest::ProgramDatabase& Database();
// Back to the state after start-up: only the start page shown and current,
// history with the start page's entry alone, 首页 pressed.
void ResetToStartPage();
// Whether toolbar button nCommand is pressed.
bool IsButtonChecked(int nCommand);
// Number of view windows now visible.
int VisibleViewCount();
// Window class name of a view's window.
std::string ClassOf(const BaseDialogClass& view);
// Text of status-bar part nPart.
std::string StatusText(int nPart);
// Dispatches the pending messages (also answers other threads' sends).
void PumpMessages();

}  // namespace placeholders_test
