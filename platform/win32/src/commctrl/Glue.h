// What the common controls need from the window layer, in one place.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "win32.h"

namespace w32::cc {

QImage BitmapImage(HBITMAP hbm);
QImage IconImage(HICON hicon);
bool DrawImageOnDc(HDC hdc, int x, int y, const QImage& image);
// The font of an HFONT; the application font for a null or unknown handle.
QFont FontOf(HFONT hfont);

// The QColor of a COLORREF (0x00BBGGRR).
QColor ColorOf(COLORREF c);

// GBK text and Qt strings, through the layer's own conversions.
QString ToQ(std::string_view gbk);
std::string FromQ(const QString& s);
// Copies at most size - 1 bytes (never half a character) and a NUL into dst;
// returns the length copied (0 for a null or empty buffer).
int CopyOut(char* dst, int size, std::string_view src);
// The text an item, column or tab record points to; a null pointer or the
// callback marker (-1) reads as empty.
std::string_view InText(const char* p);

// The RECT of a QRect (right and bottom exclusive).
inline RECT ToRect(const QRect& r) { return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

// Stretches a bar across the top or bottom of its parent's client area,
// `height` high; leaves it alone with CCS_NOPARENTALIGN or CCS_NORESIZE.
void AlignToParent(HWND hwnd, DWORD style, int height, bool bottom);

// Fills hwndFrom, idFrom and code and sends WM_NOTIFY to the control's parent.
LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr);
// Sends WM_COMMAND(MAKEWPARAM(id, notifyCode), from) to the control's parent.
LRESULT SendCommand(HWND from, int id, int notifyCode);

}  // namespace w32::cc
