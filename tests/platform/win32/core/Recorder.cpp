#include "Recorder.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QWidget>

#include "win32_testhooks.h"

bool g_logPaint = false;
RecHandler g_recHandler;

std::vector<Rec>& Log() {
    static std::vector<Rec> log;
    return log;
}

void ClearLog() { Log().clear(); }

HINSTANCE Inst() { return reinterpret_cast<HINSTANCE>(uintptr_t(0x400000)); }

static LRESULT CALLBACK RecProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    bool noisy = m == WM_PAINT || m == WM_ERASEBKGND || m == WM_SETCURSOR || m == WM_MOUSEMOVE ||
                 m == WM_CTLCOLORSTATIC || m == WM_CTLCOLORDLG || m == WM_GETTEXT || m == WM_GETTEXTLENGTH;
    if (!noisy || g_logPaint) Log().push_back(Rec{h, m, wp, lp});
    if (g_recHandler) {
        LRESULT r = 0;
        if (g_recHandler(h, m, wp, lp, &r)) return r;
    }
    return DefWindowProcA(h, m, wp, lp);
}

void RegisterRec() {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = RecProc;
    wc.hInstance = Inst();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "RecWnd";
    RegisterClassA(&wc);
}

HWND MakeTop(int w, int h, const char* title) {
    RegisterRec();
    return CreateWindowExA(0, "RecWnd", title, WS_OVERLAPPEDWINDOW, 10, 10, w, h, nullptr, nullptr, Inst(), nullptr);
}

HWND MakeChild(HWND parent, int x, int y, int w, int h, int id, DWORD style) {
    RegisterRec();
    return CreateWindowExA(0, "RecWnd", "", style, x, y, w, h, parent, reinterpret_cast<HMENU>(intptr_t(id)), Inst(),
                           nullptr);
}

std::vector<UINT> Trace(HWND h) {
    std::vector<UINT> v;
    for (auto& r : Log())
        if (!h || r.hwnd == h) v.push_back(r.msg);
    return v;
}

int Count(UINT msg, HWND h) {
    int n = 0;
    for (auto& r : Log())
        if (r.msg == msg && (!h || r.hwnd == h)) ++n;
    return n;
}

// Widgets of destroyed windows may wait for deletion under a handle value
// that a new window reuses: shown widgets come first.
static std::vector<QWidget*> WidgetsOf(HWND h) {
    std::vector<QWidget*> shown, hidden;
    for (QWidget* w : QApplication::allWidgets())
        if (w->property("w32hwnd").toULongLong() == reinterpret_cast<uintptr_t>(h))
            (w->isVisible() ? shown : hidden).push_back(w);
    shown.insert(shown.end(), hidden.begin(), hidden.end());
    return shown;
}

QWidget* WidgetOf(HWND h) {
    auto all = WidgetsOf(h);
    return all.empty() ? nullptr : all.front();
}

QWidget* PartOf(HWND h, const char* objectName) {
    for (QWidget* outer : WidgetsOf(h))
        for (QObject* o : outer->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w) continue;
            if (*objectName ? w->objectName() == QLatin1String(objectName) : w->property("w32canvas").toBool())
                return w;
        }
    return nullptr;
}

QMessageBox* ShownBox() {
    QMessageBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
    return box;
}
