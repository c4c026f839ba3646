// The dialog manager: dialogs from compiled templates (2 pixels per dialog
// unit), modal loops, default dialog processing and dialog keyboard handling.
#include <QtWidgets/QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core.h"
#include "res/resdata.h"

namespace w32 {
namespace {

const char* const kDialogClass = "#32770";
constexpr int kDlgWindowExtra = 30;

struct DialogState : ControlState {
    DialogState() = default;
    DialogState(const DialogState&) = delete;
    DialogState& operator=(const DialogState&) = delete;
    // The font made from the template goes with the dialog (its controls,
    // which use it, are gone by then).
    ~DialogState() override {
        if (font) DeleteObject(font);
    }
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HFONT font = nullptr;  // made from the template's FONT, owned
    std::string templateName;
};

DialogState* DlgState(Window* w) { return w ? w->State<DialogState>() : nullptr; }

DLGPROC ProcOf(Window* w) { return reinterpret_cast<DLGPROC>(w->extra.size() > 1 ? w->extra[1] : 0); }

int DlgCode(Window* c, WPARAM vk) {
    MSG m{};
    m.hwnd = c->hwnd;
    m.message = WM_KEYDOWN;
    m.wParam = vk;
    return int(Send(c, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&m)));
}

bool IsAutoRadio(Window* c) { return c && c->cls->name == "BUTTON" && (c->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }

Window* DialogOf(Window* c) {
    // The dialog whose control c is (the nearest ancestor of the dialog class).
    for (Window* p = c; p; p = p->parent)
        if (DlgState(p)) return p;
    return nullptr;
}

bool Usable(Window* c) { return c->Visible() && c->Enabled(); }

void ClickDefault(Window* dlg, int id) {
    HWND ctl = GetDlgItem(dlg->hwnd, id);
    if (Window* c = FromHwnd(ctl); c && !c->Enabled()) {
        MessageBeep(0);
        return;
    }
    Send(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ctl));
}

void FocusControl(Window* c, bool fromKeyboard) {
    HWND h = c->hwnd;
    SetFocus(h);
    c = FromHwnd(h);
    if (!c) return;
    if (DlgCode(c, 0) & DLGC_HASSETSEL) Send(c, EM_SETSEL, 0, -1);
    // An unchecked auto radio button reached by the keyboard checks itself.
    if (fromKeyboard && IsAutoRadio(c) && Send(c, BM_GETCHECK, 0, 0) == BST_UNCHECKED) Send(c, BM_CLICK, 0, 0);
}

LRESULT CALLBACK DialogWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefDlgProcA(h, msg, wp, lp); }

}  // namespace

void GroupBounds(const std::vector<Window*>& kids, size_t i, size_t* first, size_t* last) {
    size_t start = i;
    while (start > 0 && !(kids[start]->style & WS_GROUP)) --start;
    size_t end = i + 1;
    while (end < kids.size() && !(kids[end]->style & WS_GROUP)) ++end;
    *first = start;
    *last = end;
}

bool IsModalDialog(const Window* w) {
    auto* s = w ? w->State<DialogState>() : nullptr;
    return s && s->modal && !s->ended;
}

void RegisterDialogClass() {
    if (FindClass(kDialogClass)) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = DialogWndProc;
    wc.cbWndExtra = kDlgWindowExtra;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kDialogClass;
    RegisterClassA(&wc);
    FindClass(kDialogClass)->builtin = true;
}

bool DialogKey(Window* target, WPARAM vk) {
    Window* dlg = DialogOf(target);
    if (!dlg) return false;
    HWND hd = dlg->hwnd;
    int code = target == dlg ? 0 : DlgCode(target, vk);
    if (code & DLGC_WANTMESSAGE) return false;
    bool shift = GetKeyState(VK_SHIFT) & 0x8000;
    switch (vk) {
    case VK_TAB: {
        if (code & DLGC_WANTTAB) return false;
        HWND next = GetNextDlgTabItem(hd, target == dlg ? nullptr : target->hwnd, shift);
        if (Window* n = FromHwnd(next)) FocusControl(n, true);
        return true;
    }
    case VK_RETURN: {
        if (target != dlg && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && target->Enabled()) {
            Send(dlg, WM_COMMAND, MAKEWPARAM(target->id, BN_CLICKED), reinterpret_cast<LPARAM>(target->hwnd));
            return true;
        }
        LRESULT def = Send(dlg, DM_GETDEFID, 0, 0);
        int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
        if (Window* d = FromHwnd(hd)) ClickDefault(d, id);
        return true;
    }
    case VK_ESCAPE: {
        HWND cancel = GetDlgItem(hd, IDCANCEL);
        if (Window* c = FromHwnd(cancel); c && !c->Enabled()) return true;
        Send(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (code & DLGC_WANTARROWS) return false;
        if (target == dlg) return false;
        // The next control of the group that can take the focus (labels cannot).
        HWND next = target->hwnd;
        for (int guard = 0; guard < 256; ++guard) {
            next = GetNextDlgGroupItem(hd, next, vk == VK_LEFT || vk == VK_UP);
            Window* n = FromHwnd(next);
            if (!n || n == target) return true;
            if (!(DlgCode(n, vk) & DLGC_STATIC)) {
                FocusControl(n, true);
                return true;
            }
        }
        return true;
    }
    }
    return false;
}

// Creates a dialog from a template. Returns null when the template is missing.
HWND CreateFromTemplate(HINSTANCE inst, LPCSTR name, HWND hParent, DLGPROC proc, LPARAM param, bool modal) {
    const w32res::DialogTemplate* t = w32res::FindDialog(name);
    if (!t) return nullptr;
    DWORD style = t->style;
    bool child = (style & WS_CHILD) != 0;
    if (child && !FromHwnd(hParent)) return nullptr;
    // The template gives the client area; a top-level dialog adds its frame.
    QMargins nc = StyleMargins(style, t->exStyle);
    int cw = t->cx * 2 + nc.left() + nc.right(), ch = t->cy * 2 + nc.top() + nc.bottom();
    int x = t->x * 2, y = t->y * 2;
    if (!child) {
        QRect area = ScreenArea();
        if ((style & DS_CENTER) || (x == 0 && y == 0)) {
            x = area.left() + (area.width() - cw) / 2;
            y = area.top() + (area.height() - ch) / 2;
        } else if (Window* o = FromHwnd(hParent)) {
            POINT p{x, y};
            ClientToScreen(TopLevelOf(o)->hwnd, &p);
            x = p.x;
            y = p.y;
        }
    }
    const char* cls = t->windowClass ? t->windowClass : kDialogClass;
    HWND hd = CreateWindowExA(t->exStyle, cls, t->caption, style & ~WS_VISIBLE, x, y, cw, ch, hParent, nullptr, inst,
                              nullptr);
    Window* dlg = FromHwnd(hd);
    if (!dlg) return nullptr;
    auto state = std::make_unique<DialogState>();
    state->modal = modal;
    state->templateName = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name;
    dlg->state = std::move(state);
    if (dlg->extra.size() < 3) dlg->extra.resize(3, 0);
    dlg->extra[1] = reinterpret_cast<LONG_PTR>(proc);

    HFONT font = nullptr;
    if ((style & DS_SETFONT) && t->fontFace) {
        LOGFONTA lf{};
        lf.lfHeight = -(t->fontPointSize * 96 + 36) / 72;
        lf.lfWeight = t->fontWeight ? t->fontWeight : FW_NORMAL;
        lf.lfItalic = t->fontItalic;
        lf.lfCharSet = t->fontCharset;
        snprintf(lf.lfFaceName, LF_FACESIZE, "%s", t->fontFace);
        font = CreateFontIndirectA(&lf);
        DlgState(dlg)->font = font;
        dlg->font = font;
    }
    for (uint32_t i = 0; i < t->itemCount; ++i) {
        const w32res::DialogItem& it = t->items[i];
        const char* text = it.text ? it.text : "";
        HWND c = CreateWindowExA(it.exStyle, it.windowClass, text, it.style | WS_CHILD, it.x * 2, it.y * 2, it.cx * 2,
                                 it.cy * 2, hd, reinterpret_cast<HMENU>(intptr_t(it.id)), inst, nullptr);
        if (c && font) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!IsWindow(hd)) return nullptr;
    }
    dlg = FromHwnd(hd);
    if (!dlg) return nullptr;
    HWND first = GetNextDlgTabItem(hd, nullptr, FALSE);
    if (proc) {
        if (Send(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param)) {
            first = GetNextDlgTabItem(hd, nullptr, FALSE);
            if (Window* f = FromHwnd(first)) FocusControl(f, false);
        }
    }
    if (!IsWindow(hd)) return nullptr;
    if ((style & WS_VISIBLE) && !modal) ShowWindow(hd, SW_SHOW);
    return hd;
}

}  // namespace w32

using namespace w32;

LRESULT DefDlgProcA(HWND hDlg, UINT msg, WPARAM wp, LPARAM lp) {
    Window* dlg = FromHwnd(hDlg);
    if (!dlg) return 0;
    if (DLGPROC proc = ProcOf(dlg)) {
        if (!dlg->extra.empty()) dlg->extra[0] = 0;
        INT_PTR r = proc(hDlg, msg, wp, lp);
        dlg = FromHwnd(hDlg);
        if (!dlg) return r;
        switch (msg) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
            if (r) return r;
            break;
        default:
            if (r) return dlg->extra.empty() ? 0 : dlg->extra[0];
        }
    }
    switch (msg) {
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(hDlg, IDCANCEL);
        if (Window* c = FromHwnd(cancel); c && !c->Enabled()) return 0;
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT rc{0, 0, dlg->ClientWidth(), dlg->ClientHeight()};
        // The colour query may change the DC; the paint that follows starts
        // from the DC's default state again.
        HDC dc = reinterpret_cast<HDC>(wp);
        int saved = SaveDC(dc);
        HBRUSH br = reinterpret_cast<HBRUSH>(Send(dlg, WM_CTLCOLORDLG, wp, reinterpret_cast<LPARAM>(hDlg)));
        FillRect(dc, &rc, br ? br : GetSysColorBrush(COLOR_BTNFACE));
        RestoreDC(dc, saved);
        return 1;
    }
    case DM_GETDEFID: {
        for (Window* c : dlg->children)
            if (c->cls->name == "BUTTON" && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                return MAKELONG(c->id, DC_HASDEFID);
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(dlg->font);
    case WM_INITDIALOG: return 0;
    case WM_NOTIFY: return 0;
    }
    return DefWindowProcA(hDlg, msg, wp, lp);
}

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    if (!IsUiThread()) {
        HWND r = nullptr;
        RunOnUiThread(
            [&] { r = CreateDialogParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam); });
        return r;
    }
    return CreateFromTemplate(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    if (!IsUiThread()) {
        INT_PTR r = -1;
        RunOnUiThread([&] { r = DialogBoxParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam); });
        return r;
    }
    if (!LayerAlive()) return -1;
    // The owner is the top-level window of the window given; it is disabled
    // while the dialog runs.
    HWND owner = nullptr;
    if (Window* o = FromHwnd(hWndParent)) owner = TopLevelOf(o)->hwnd;
    KeyboardReturn back(owner);
    HWND hd = CreateFromTemplate(hInstance, lpTemplateName, owner, lpDialogFunc, dwInitParam, true);
    if (!hd) return -1;
    bool ownerDisabled = false;
    if (Window* o = FromHwnd(owner); o && o->Enabled()) {
        EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }
    Window* dlg = FromHwnd(hd);
    std::string name = DlgState(dlg)->templateName;
    if (!DlgState(dlg)->ended) {
        if (dlg->widget && owner) dlg->widget->setWindowModality(Qt::WindowModal);
        ShowWindow(hd, SW_SHOW);
        if (Window* d = FromHwnd(hd); d && !DlgState(d)->ended) RunDialogHook(hd, name);
    }
    for (;;) {
        Window* d = FromHwnd(hd);
        if (!d || DlgState(d)->ended) break;
        ModalLoopTurn();
    }
    INT_PTR result = 0;
    if (Window* d = FromHwnd(hd)) result = DlgState(d)->result;
    if (ownerDisabled && IsWindow(owner)) EnableWindow(owner, TRUE);
    back.GiveBack();
    if (IsWindow(hd)) DestroyWindow(hd);
    return result;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    Window* dlg = FromHwnd(hDlg);
    DialogState* s = DlgState(dlg);
    if (!s) return FALSE;
    s->ended = true;
    s->result = nResult;
    // The ended dialog disappears at once; its loop destroys it.
    ShowWindow(hDlg, SW_HIDE);
    WakeLoops();
    return TRUE;
}

BOOL IsDialogMessageA(HWND hDlg, LPMSG msg) {
    if (!msg || !IsWindow(hDlg)) return FALSE;
    Window* target = FromHwnd(msg->hwnd);
    if (!target || (msg->hwnd != hDlg && !IsChild(hDlg, msg->hwnd))) return FALSE;
    if (msg->message == WM_KEYDOWN && DialogKey(target, msg->wParam)) return TRUE;
    if (msg->message == WM_CHAR && (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1b)) {
        int code = target == FromHwnd(hDlg) ? 0 : int(SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, 0));
        if (!(code & (DLGC_WANTMESSAGE | DLGC_WANTCHARS))) return TRUE;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* dlg = FromHwnd(hDlg);
    if (!dlg) return nullptr;
    for (Window* c : dlg->children)
        if (int(c->id) == nIDDlgItem && !c->destroyed) return c->hwnd;
    return nullptr;
}

BOOL SetDlgItemTextA(HWND hDlg, int id, LPCSTR s) { return SetWindowTextA(GetDlgItem(hDlg, id), s); }

UINT GetDlgItemTextA(HWND hDlg, int id, LPSTR s, int cchMax) {
    if (s && cchMax > 0) s[0] = '\0';
    return UINT(GetWindowTextA(GetDlgItem(hDlg, id), s, cchMax));
}

BOOL SetDlgItemInt(HWND hDlg, int id, UINT v, BOOL bSigned) {
    char buf[32];
    if (bSigned)
        snprintf(buf, sizeof buf, "%d", int(v));
    else
        snprintf(buf, sizeof buf, "%u", v);
    return SetDlgItemTextA(hDlg, id, buf);
}

UINT GetDlgItemInt(HWND hDlg, int id, BOOL* ok, BOOL bSigned) {
    char buf[64];
    GetDlgItemTextA(hDlg, id, buf, sizeof buf);
    char* end = nullptr;
    long v = strtol(buf, &end, 10);
    bool good = end && end != buf && (bSigned || v >= 0);
    if (ok) *ok = good;
    return good ? UINT(v) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int id, UINT uCheck) {
    SendMessageA(GetDlgItem(hDlg, id), BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int id) { return UINT(SendMessageA(GetDlgItem(hDlg, id), BM_GETCHECK, 0, 0)); }

BOOL CheckRadioButton(HWND hDlg, int first, int last, int check) {
    for (int id = first; id <= last; ++id)
        SendMessageA(GetDlgItem(hDlg, id), BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    Window* dlg = FromHwnd(hDlg);
    if (!dlg) return nullptr;
    std::vector<Window*> stops;
    for (Window* c : dlg->children)
        if ((c->style & WS_TABSTOP) && Usable(c)) stops.push_back(c);
    if (stops.empty()) return nullptr;
    Window* cur = FromHwnd(hCtl);
    if (!cur) return bPrevious ? stops.back()->hwnd : stops.front()->hwnd;
    auto& kids = dlg->children;
    auto pos = std::find(kids.begin(), kids.end(), cur);
    if (pos == kids.end()) return stops.front()->hwnd;
    size_t n = kids.size(), i = size_t(pos - kids.begin());
    for (size_t k = 1; k <= n; ++k) {
        size_t j = bPrevious ? (i + n - k) % n : (i + k) % n;
        Window* c = kids[j];
        if ((c->style & WS_TABSTOP) && Usable(c)) return c->hwnd;
    }
    return cur->hwnd;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    Window* dlg = FromHwnd(hDlg);
    Window* cur = FromHwnd(hCtl);
    if (!dlg || !cur) return nullptr;
    auto& kids = dlg->children;
    auto pos = std::find(kids.begin(), kids.end(), cur);
    if (pos == kids.end()) return hCtl;
    size_t i = size_t(pos - kids.begin()), start = 0, end = 0;
    GroupBounds(kids, i, &start, &end);
    size_t n = end - start;
    for (size_t k = 1; k < n; ++k) {
        size_t off = (i - start + (bPrevious ? n - k : k)) % n;
        Window* c = kids[start + off];
        if (Usable(c)) return c->hwnd;
    }
    return hCtl;
}

BOOL MapDialogRect(HWND, LPRECT r) {
    if (!r) return FALSE;
    r->left *= 2;
    r->right *= 2;
    r->top *= 2;
    r->bottom *= 2;
    return TRUE;
}

LONG GetDialogBaseUnits(void) { return MAKELONG(8, 16); }
