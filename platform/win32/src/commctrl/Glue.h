// What the common controls add to the window layer's helpers (w32_internal.h:
// text, colour, font and image conversions, which they use by those names).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "w32_internal.h"
#include "win32.h"

namespace w32::cc {

bool DrawImageOnDc(HDC hdc, int x, int y, const QImage& image);
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
