#include "commctrl/Glue.h"

#include <QPainter>

#include "w32_internal.h"

namespace w32::cc {

bool DrawImageOnDc(HDC hdc, int x, int y, const QImage& image) {
    QPoint origin;
    QPaintDevice* target = w32::DCDevice(hdc, &origin);
    if (!target) return false;
    QPainter p(target);
    p.translate(origin);
    p.drawImage(QPoint(x, y), image);
    return true;
}

std::string_view InText(const char* p) {
    if (!p || p == reinterpret_cast<const char*>(-1)) return {};
    return std::string_view(p);
}

void AlignToParent(HWND hwnd, DWORD style, int height, bool bottom) {
    if (style & (CCS_NOPARENTALIGN | CCS_NORESIZE)) return;
    HWND parent = GetParent(hwnd);
    RECT rc{};
    if (!parent || !GetClientRect(parent, &rc)) return;
    MoveWindow(hwnd, 0, bottom ? rc.bottom - height : 0, rc.right - rc.left, height, TRUE);
}

LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr) {
    w32::Window* w = w32::FromHwnd(from);
    if (!w || w->destroyed) return 0;
    return w32::NotifyParent(w, code, hdr);
}

LRESULT SendCommand(HWND from, int id, int notifyCode) {
    w32::Window* w = w32::FromHwnd(from);
    if (!w || w->destroyed) return 0;
    if (!w->parent) return 0;
    return w32::Send(w->parent, WM_COMMAND, MAKEWPARAM(id, notifyCode), reinterpret_cast<LPARAM>(from));
}

}  // namespace w32::cc
