// The program's instance and main window, which the shell's windows and
// dialogs are created with. The program sets them at start-up.
#pragma once

#include "win32.h"

extern HINSTANCE g_hInstance;
// The main window, null until it is created.
extern HWND g_hMainWnd;
