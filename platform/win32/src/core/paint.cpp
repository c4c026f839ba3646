// Invalidation and painting over backing images, window DCs, window scroll
// bars and ScrollWindow.
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <set>

#include "core.h"

namespace w32 {
namespace {

std::set<HWND>& Dirty() {
    static auto* s = new std::set<HWND>;
    return *s;
}

}  // namespace

void InvalidateClient(Window* w, const QRegion& r, bool erase) {
    if (!w || w->destroyed) return;
    QRegion add = r & ClientRect(w);
    if (add.isEmpty()) return;
    w->update += add;
    if (erase) w->eraseUpdate = true;
    Dirty().insert(w->hwnd);
    SchedulePaint();
}

void PaintNow(Window* w, bool promised) {
    if (!w || w->destroyed || !ReallyVisible(w)) return;
    if (w->update.isEmpty()) {
        Dirty().erase(w->hwnd);
        return;
    }
    HWND h = w->hwnd;
    if (PaintsOnScreen(w)) {
        Dirty().erase(h);
        // Inside its own WM_PAINT the area waits for the next paint.
        if (!w->painting) RepaintOnScreen(w, promised);
        return;
    }
    Send(w, WM_PAINT, 0, 0);
    w = FromHwnd(h);
    if (!w) return;
    // A procedure that neither painted nor validated would be asked forever.
    if (!w->update.isEmpty()) {
        w->update = QRegion();
        w->eraseUpdate = false;
        if (w->client) w->client->update();
    }
    Dirty().erase(h);
}

void FlushPaints() {
    // Parents (older handles) before children.
    std::vector<HWND> list(Dirty().begin(), Dirty().end());
    for (HWND h : list) {
        Window* w = FromHwnd(h);
        if (!w) {
            Dirty().erase(h);
            continue;
        }
        if (ReallyVisible(w)) PaintNow(w, false);
    }
}

}  // namespace w32

using namespace w32;

BOOL InvalidateRect(HWND hWnd, const RECT* r, BOOL bErase) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (!IsUiThread()) {
        RunOnUiThread([&] { InvalidateRect(hWnd, r, bErase); });
        return TRUE;
    }
    InvalidateClient(w, r ? ToQRect(*r) : ClientRect(w), bErase != FALSE);
    // Built-in controls drawn by Qt repaint themselves.
    if (w->cls->factory && w->client) {
        // A scroll area (list view, multi-line edit) draws in its viewport.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w->client))
            area->viewport()->update();
        else
            w->client->update();
    }
    return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* r) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (r)
        w->update -= ToQRect(*r);
    else
        w->update = QRegion();
    if (w->update.isEmpty()) w->eraseUpdate = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = ToRECT(w->update.boundingRect());
    return !w->update.isEmpty();
}

BOOL RedrawWindow(HWND hWnd, const RECT* r, HRGN, UINT flags) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    if (flags & RDW_INVALIDATE) {
        InvalidateRect(hWnd, r, (flags & RDW_ERASE) ? TRUE : FALSE);
        if (flags & RDW_ALLCHILDREN)
            for (Window* c : std::vector<Window*>(w->children)) RedrawWindow(c->hwnd, nullptr, nullptr, flags);
    }
    if (flags & RDW_VALIDATE) ValidateRect(hWnd, r);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hWnd);
    return TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT ps) {
    Window* w = FromHwnd(hWnd);
    if (!w || !ps) return nullptr;
    *ps = PAINTSTRUCT{};
    WantBacking(w);
    QRegion region = w->update & ClientRect(w);
    bool erase = w->eraseUpdate;
    w->update = QRegion();
    w->eraseUpdate = false;
    HDC dc = CreateWindowDC(w, true, region);
    ps->hdc = dc;
    ps->rcPaint = ToRECT(region.boundingRect());
    ps->fErase = TRUE;
    if (erase) ps->fErase = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    DestroyWindowDC(ps->hdc);
    // A window painting on screen shows its pixels when its paint event ends.
    if (Window* w = FromHwnd(hWnd); w && w->client && !w->painting) w->client->update(ToQRect(ps->rcPaint));
    return TRUE;
}

HDC GetDC(HWND hWnd) {
    Window* w = FromHwnd(hWnd);
    if (!w) return nullptr;
    WantBacking(w);
    return CreateWindowDC(w, false, QRegion());
}

HDC GetWindowDC(HWND hWnd) { return GetDC(hWnd); }

int ReleaseDC(HWND hWnd, HDC hDC) {
    if (!hDC) return 0;
    DestroyWindowDC(hDC);
    if (Window* w = FromHwnd(hWnd); w && w->client && !w->painting) w->client->update();
    return 1;
}

// ---------------------------------------------------------------------------
// Window scroll bars
// ---------------------------------------------------------------------------
static ScrollBarState* Bar(HWND h, int nBar) {
    Window* w = FromHwnd(h);
    if (!w || (nBar != SB_HORZ && nBar != SB_VERT)) return nullptr;
    return nBar == SB_HORZ ? &w->hscroll : &w->vscroll;
}

static void ClampPos(ScrollBarState* s) { s->nPos = std::clamp(s->nPos, s->nMin, MaxScrollPos(*s)); }

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO si, BOOL) {
    ScrollBarState* s = Bar(hwnd, nBar);
    if (!s || !si) return 0;
    if (si->fMask & SIF_RANGE) {
        s->nMin = si->nMin;
        s->nMax = std::max(si->nMin, si->nMax);
    }
    if (si->fMask & SIF_PAGE) {
        int range = s->nMax - s->nMin + 1;
        s->nPage = std::min<UINT>(si->nPage, UINT(std::max(range, 0)));
    }
    if (si->fMask & SIF_POS) s->nPos = si->nPos;
    ClampPos(s);
    SyncScrollBar(FromHwnd(hwnd), nBar);
    return s->nPos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO si) {
    ScrollBarState* s = Bar(hwnd, nBar);
    if (!s || !si) return FALSE;
    if (si->fMask & SIF_RANGE) {
        si->nMin = s->nMin;
        si->nMax = s->nMax;
    }
    if (si->fMask & SIF_PAGE) si->nPage = s->nPage;
    if (si->fMask & SIF_POS) si->nPos = s->nPos;
    if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s->nTrackPos;
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL) {
    ScrollBarState* s = Bar(hWnd, nBar);
    if (!s) return 0;
    int old = s->nPos;
    s->nPos = nPos;
    ClampPos(s);
    SyncScrollBar(FromHwnd(hWnd), nBar);
    return old;
}

int GetScrollPos(HWND hWnd, int nBar) {
    ScrollBarState* s = Bar(hWnd, nBar);
    return s ? s->nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO si{sizeof(si), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
    ScrollBarState* s = Bar(hWnd, nBar);
    if (!s) return FALSE;
    if (lpMinPos) *lpMinPos = s->nMin;
    if (lpMaxPos) *lpMaxPos = s->nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow) {
    Window* w = FromHwnd(hWnd);
    if (!w) return FALSE;
    DWORD bits = wBar == SB_HORZ ? WS_HSCROLL : wBar == SB_VERT ? WS_VSCROLL : (WS_HSCROLL | WS_VSCROLL);
    if (bShow)
        w->style |= bits;
    else
        w->style &= ~bits;
    return SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

BOOL EnableScrollBar(HWND, UINT, UINT) { return TRUE; }

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT*, const RECT*, HRGN, LPRECT prcUpdate, UINT flags) {
    Window* w = FromHwnd(hWnd);
    if (!w) return 0;
    if (dx == 0 && dy == 0) return NULLREGION;
    QRect client = ClientRect(w);
    // A window painting on screen keeps no pixels to move: all of it is
    // painted again, its children moved.
    if (PaintsOnScreen(w)) {
        if (flags & SW_SCROLLCHILDREN) {
            for (Window* c : std::vector<Window*>(w->children)) {
                OffsetRect(&c->rect, dx, dy);
                SyncGeometry(c);
            }
        }
        InvalidateClient(w, client, true);
        if (prcUpdate) *prcUpdate = ToRECT(client);
        return client.isEmpty() ? NULLREGION : SIMPLEREGION;
    }
    // Move the pixels (a window that never painted has none).
    if (w->backingPending) EnsureBacking(w);
    if (!w->backing.isNull()) {
        QImage copy = w->backing.copy();
        QPainter p(&w->backing);
        p.drawImage(dx, dy, copy);
    }
    QRegion uncovered = QRegion(client) - QRegion(client.translated(dx, dy));
    // The pending update region moves with the pixels.
    if (!w->update.isEmpty()) w->update = w->update.translated(dx, dy) & client;
    if (flags & SW_SCROLLCHILDREN) {
        for (Window* c : std::vector<Window*>(w->children)) {
            OffsetRect(&c->rect, dx, dy);
            SyncGeometry(c);
        }
    }
    InvalidateClient(w, uncovered, true);
    if (w->client) w->client->update();
    if (prcUpdate) *prcUpdate = ToRECT(uncovered.boundingRect());
    return uncovered.isEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect) {
    // Without a rectangle every child window moves with the client area.
    UINT flags = SW_INVALIDATE | SW_ERASE | (lpRect ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hWnd, XAmount, YAmount, lpRect, lpClipRect, nullptr, nullptr, flags) != 0;
}
