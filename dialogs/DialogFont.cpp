#include "dialogs/DialogFont.h"

#include <cstring>

namespace {

HFONT MakeFont() {
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -15;
    lf.lfWeight = 400;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 2;
    strcpy(lf.lfFaceName, "宋体");
    return CreateFontIndirectA(&lf);
}

}  // namespace

void AttachDialogFont(HWND hDlg) {
    ReleaseDialogFont(hDlg);
    HFONT hFont = MakeFont();
    if (!hFont) return;
    SetWindowLongPtrA(hDlg, DWLP_USER, (LONG_PTR)hFont);
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        SendMessageA(h, WM_SETFONT, (WPARAM)hFont, 1);
}

void ReleaseDialogFont(HWND hDlg) {
    HFONT hFont = (HFONT)GetWindowLongPtrA(hDlg, DWLP_USER);
    SetWindowLongPtrA(hDlg, DWLP_USER, 0);
    if (hFont) DeleteObject(hFont);
}
