// What the common controls need from the window layer, in one place.
#pragma once

#include <QFont>
#include <QImage>

#include "win32.h"

namespace w32::cc {

QImage BitmapImage(HBITMAP hbm);
QImage IconImage(HICON hicon);
bool DrawImageOnDc(HDC hdc, int x, int y, const QImage& image);
// The font of an HFONT; the application font for a null or unknown handle.
QFont FontOf(HFONT hfont);

// Fills hwndFrom, idFrom and code and sends WM_NOTIFY to the control's parent.
LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr);
// Sends WM_COMMAND(MAKEWPARAM(id, notifyCode), from) to the control's parent.
LRESULT SendCommand(HWND from, int id, int notifyCode);

}  // namespace w32::cc
