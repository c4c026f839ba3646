// "mailto:" links handed to the desktop's mail program.
#pragma once

#include "win32.h"

// Hands the link to the desktop (ShellExecuteA with window hWnd, the default
// verb and SW_SHOW). Where no program takes it, the user is told in a box
// owned by hOwner, and the result is false.
bool OpenMailto(HWND hWnd, const char* pszMailto, HWND hOwner);
