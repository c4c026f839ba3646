// The font of the new-record dialogs and pickers: 宋体, 15 pixels. Each
// opening makes one; the dialog keeps it in its window and releases it when
// the window is destroyed, so repeated openings hold no fonts.
#pragma once

#include "win32.h"

// Makes the font, gives it to every control of hDlg and keeps it with the
// dialog in DWLP_USER (a font kept from an earlier WM_INITDIALOG of the same window is
// released first).
void AttachDialogFont(HWND hDlg);
// Releases the font kept with hDlg (on WM_DESTROY).
void ReleaseDialogFont(HWND hDlg);
