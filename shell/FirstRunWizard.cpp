#include "shell/FirstRunWizard.h"

#include <cstdio>
#include <cstring>

#include "shell/MainWindow.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"
#include "store/SettingClass.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

int g_nLoginAttempts = 0;

namespace {

#define SHORTCUT_SUFFIX "Tarvel Sales Logs.lnk"

// What the open dialog owns; only one of these dialogs is open at a time.
HFONT s_hDlgFont = nullptr;
HBITMAP s_hPicture = nullptr;

void OpenDialogResources(HWND hDlg, const int* pIDs, int nIDs, const char* pszPicture) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -15;
    lf.lfWeight = 400;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 2;
    std::strcpy(lf.lfFaceName, "宋体");
    s_hDlgFont = CreateFontIndirectA(&lf);
    for (int i = 0; i < nIDs; ++i) SendDlgItemMessageA(hDlg, pIDs[i], WM_SETFONT, (WPARAM)s_hDlgFont, TRUE);
    s_hPicture = LoadBitmapA(g_hInstance, pszPicture);
}

void CloseDialogResources() {
    if (s_hDlgFont) DeleteObject(s_hDlgFont);
    if (s_hPicture) DeleteObject(s_hPicture);
    s_hDlgFont = nullptr;
    s_hPicture = nullptr;
}

void DrawPicture(HDC hdc, int x, int y, int w, int h) {
    if (!s_hPicture) return;
    HDC hMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hMem, s_hPicture);
    StretchBlt(hdc, x, y, w, h, hMem, 0, 0, w, h, SRCCOPY);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
}

void PaintBanner(HWND hDlg) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hDlg, &ps);
    DrawPicture(hdc, 0, 0, 499, 59);
    EndPaint(hDlg, &ps);
}

// The white area and the side picture of the user-name page and the login.
void PaintSide(HDC hdc) {
    HGDIOBJ hOld = SelectObject(hdc, GetStockObject(WHITE_BRUSH));
    Rectangle(hdc, 165, 0, 581, 305);
    SelectObject(hdc, hOld);
    DrawPicture(hdc, 0, 2, 165, 303);
}

INT_PTR Quit(HWND hDlg) {
    PostQuitMessage(0);
    EndDialog(hDlg, WIZ_QUIT);
    return TRUE;
}

void TextAt(HDC hdc, int x, int y, const char* psz) { TextOutA(hdc, x, y, psz, (int)std::strlen(psz)); }

}  // namespace

int MakeSafeFileName(const char* pszName, char* pszOut, int nOutSize) {
    if (!pszOut || nOutSize <= 0) return 0;
    pszOut[0] = '\0';
    if (!pszName) return 0;
    // The name as typed; a path separator ("/", or "\" outside a double-byte
    // character) cannot be part of a file name, and such a name gives none.
    int n = 0;
    for (size_t i = 0; pszName[i];) {
        const unsigned char c = (unsigned char)pszName[i];
        const int nLen = gbk::IsLeadByte(c) && pszName[i + 1] ? 2 : 1;
        if (nLen == 1 && (c == '/' || c == '\\')) {
            pszOut[0] = '\0';
            return 0;
        }
        if (n + nLen > nOutSize - 1) break;
        for (int k = 0; k < nLen; ++k) pszOut[n++] = pszName[i + k];
        i += nLen;
    }
    pszOut[n] = '\0';
    return n;
}

int MakeDesktopShortcut(const char* pszFileName) {
    if (!pszFileName || !*pszFileName) return -1;
    char szTarget[MAX_PATH] = "";
    char szDesktop[MAX_PATH] = "";
    char szLink[MAX_PATH * 2];
    GetModuleFileNameA(nullptr, szTarget, sizeof(szTarget));
    if (!SHGetSpecialFolderPathA(nullptr, szDesktop, CSIDL_DESKTOPDIRECTORY, FALSE)) return -1;
    const int n = std::snprintf(szLink, sizeof(szLink), "%s\\%s", szDesktop, pszFileName);
    if (n < 0 || n >= (int)sizeof(szLink)) return -1;

    int nResult = -1;
    CoInitialize(nullptr);
    IShellLinkA* pLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&pLink)) &&
        pLink) {
        pLink->SetPath(szTarget);
        IPersistFile* pFile = nullptr;
        if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void**)&pFile)) && pFile) {
            WCHAR wszLink[MAX_PATH * 2];
            if (MultiByteToWideChar(CP_ACP, 0, szLink, -1, wszLink, MAX_PATH * 2) > 0 &&
                SUCCEEDED(pFile->Save(wszLink, TRUE)))
                nResult = 0;
            pFile->Release();
        }
        pLink->Release();
    }
    SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHA | SHCNF_FLUSH, szLink, nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR | SHCNE_INTERRUPT, SHCNF_PATHA | SHCNF_FLUSH, szDesktop, nullptr);
    CoUninitialize();
    return nResult;
}

INT_PTR CALLBACK Install1DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        MakeDesktopShortcut(SHORTCUT_SUFFIX);
        static const int ids[] = {
            IDOK, IDCANCEL, IDC_WELCOME_LINE1, IDC_WELCOME_LINE2, IDC_WELCOME_LINE3, IDC_WELCOME_LINE4};
        OpenDialogResources(hDlg, ids, 6, "ID_BMP_INSTALL1");
        return TRUE;
    }
    case WM_PAINT: PaintBanner(hDlg); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(hDlg, WIZ_NEXT);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) return Quit(hDlg);
        return FALSE;
    case WM_CLOSE: return Quit(hDlg);
    case WM_DESTROY: CloseDialogResources(); return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK Install2DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        static const int ids[] = {IDCANCEL, IDC_AGREEMENT, IDC_AGREE, IDC_DISAGREE, IDC_BACK, IDOK};
        OpenDialogResources(hDlg, ids, 6, "ID_BMP_INSTALL1");
        EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
        // The agreement: strings 1 to 5 joined, bounded by the buffer.
        char szText[4096];
        size_t nUsed = 0;
        szText[0] = '\0';
        for (int id = IDS_AGREEMENT1; id <= IDS_AGREEMENT5; ++id) {
            char szPart[1024];
            const int n = LoadStringA(g_hInstance, (UINT)id, szPart, sizeof(szPart));
            if (n <= 0) continue;
            nUsed += gbk::CopyCut(szText + nUsed, sizeof(szText) - nUsed, szPart);
        }
        SetDlgItemTextA(hDlg, IDC_AGREEMENT, szText);
        return TRUE;
    }
    case WM_PAINT: PaintBanner(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_AGREE:
        case IDC_DISAGREE:
            if (HIWORD(wParam) == BN_CLICKED) EnableWindow(GetDlgItem(hDlg, IDOK), TRUE);
            return TRUE;
        case IDOK:
            if (IsDlgButtonChecked(hDlg, IDC_AGREE) != BST_CHECKED) {
                MessageBoxA(nullptr, msg::kDisagreed, msg::kInfoCaption, MB_OK);
                return Quit(hDlg);
            }
            EndDialog(hDlg, WIZ_NEXT);
            return TRUE;
        case IDC_BACK: EndDialog(hDlg, WIZ_BACK); return TRUE;
        case IDCANCEL: return Quit(hDlg);
        default: return FALSE;
        }
    case WM_CLOSE: return Quit(hDlg);
    case WM_DESTROY: CloseDialogResources(); return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK LoginSettingDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        static const int ids[] = {IDC_BACK, IDOK, IDCANCEL, IDC_SET_USER, IDC_SET_PWD, IDC_SET_PWD2};
        OpenDialogResources(hDlg, ids, 6, "ID_BMP_INSTALL2");
        // Name and password are stored in 50-byte fields.
        for (int id : {IDC_SET_USER, IDC_SET_PWD, IDC_SET_PWD2}) SendDlgItemMessageA(hDlg, id, EM_LIMITTEXT, 49, 0);
        g_Setting.set_init = 0;
        g_Setting.cst_SetInit();
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hDlg, &ps);
        PaintSide(hdc);
        HGDIOBJ hOld = SelectObject(hdc, s_hDlgFont);
        SetBkMode(hdc, TRANSPARENT);  // the text sits on the white area
        TextAt(hdc, 170, 20, "请输入您的用户名和密码，密码需要经过二次确");
        TextAt(hdc, 170, 40, "认，请保管好该密码。");
        TextAt(hdc, 170, 80, "用户名要求3个字符以上，密码要求6个字符以上。");
        TextAt(hdc, 170, 174, "您的用户名：");
        TextAt(hdc, 170, 212, "您的密码：");
        TextAt(hdc, 170, 250, "二次确认密码：");
        SelectObject(hdc, hOld);
        EndPaint(hDlg, &ps);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            char szConfirm[50] = "";
            GetDlgItemTextA(hDlg, IDC_SET_USER, g_Setting.set_user, 50);
            GetDlgItemTextA(hDlg, IDC_SET_PWD, g_Setting.set_pwd, 50);
            GetDlgItemTextA(hDlg, IDC_SET_PWD2, szConfirm, sizeof(szConfirm));
            if (std::strlen(g_Setting.set_user) < 3) {
                ReportError(msg::kUserNameTooShort);
                return TRUE;
            }
            if (std::strlen(g_Setting.set_pwd) < 6) {
                ReportError(msg::kPasswordTooShort);
                return TRUE;
            }
            if (std::strcmp(g_Setting.set_pwd, szConfirm) != 0) {
                ReportError(msg::kPasswordsDiffer);
                SetDlgItemTextA(hDlg, IDC_SET_PWD, "");
                SetDlgItemTextA(hDlg, IDC_SET_PWD2, "");
                return TRUE;
            }
            char szSafe[64];
            if (MakeSafeFileName(g_Setting.set_user, szSafe, sizeof(szSafe)) > 0) {
                char szFile[128];
                std::snprintf(szFile, sizeof(szFile), "%s-%s", szSafe, SHORTCUT_SUFFIX);
                MakeDesktopShortcut(szFile);
            }
            // Without a stored login the installation is not done:
            // the page stays (the store has shown its message).
            if (g_Setting.cst_SetLogin() == -1) return TRUE;
            g_Setting.set_init = 1;
            g_Setting.cst_SetInit();
            EndDialog(hDlg, WIZ_NEXT);
            return TRUE;
        }
        case IDC_BACK: EndDialog(hDlg, WIZ_BACK); return TRUE;
        case IDCANCEL: return Quit(hDlg);
        default: return FALSE;
        }
    case WM_CLOSE: return Quit(hDlg);
    case WM_DESTROY: CloseDialogResources(); return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK LoginDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        static const int ids[] = {IDOK,
                                  IDCANCEL,
                                  IDC_LOGIN_PWD,
                                  IDC_LOGIN_USER,
                                  IDC_LOGIN_NOTE1,
                                  IDC_LOGIN_NOTE2,
                                  IDC_LOGIN_NOTE3,
                                  IDC_LOGIN_NOTE4,
                                  IDC_LOGIN_NOTE5,
                                  IDC_LOGIN_USERLABEL,
                                  IDC_LOGIN_PWDLABEL};
        OpenDialogResources(hDlg, ids, 11, "ID_BMP_INSTALL2");
        SendDlgItemMessageA(hDlg, IDC_LOGIN_PWD, EM_LIMITTEXT, 49, 0);
        g_Setting.cst_GetLoginName();
        SetDlgItemTextA(hDlg, IDC_LOGIN_USER, g_Setting.set_user);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hDlg, &ps);
        PaintSide(hdc);
        EndPaint(hDlg, &ps);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID((HWND)lParam);
        if (id >= IDC_LOGIN_NOTE1 && id <= IDC_LOGIN_NOTE5) {
            SetTextColor((HDC)wParam, RGB(255, 0, 0));
            return (INT_PTR)GetStockObject(WHITE_BRUSH);
        }
        if (id == IDC_LOGIN_USERLABEL || id == IDC_LOGIN_PWDLABEL) return (INT_PTR)GetStockObject(WHITE_BRUSH);
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            GetDlgItemTextA(hDlg, IDC_LOGIN_PWD, g_Setting.set_pwd, 50);
            g_Setting.m_iCategory = 0;
            g_Setting.cst_CheckLogin();
            if (g_Setting.m_iCategory == 1) {
                EndDialog(hDlg, WIZ_NEXT);
                return TRUE;
            }
            ReportError(msg::kWrongPassword);
            SetDlgItemTextA(hDlg, IDC_LOGIN_PWD, "");
            if (++g_nLoginAttempts >= kMaxLoginAttempts) return Quit(hDlg);
            return TRUE;
        case IDCANCEL: return Quit(hDlg);
        default: return FALSE;
        }
    case WM_CLOSE: return Quit(hDlg);
    case WM_DESTROY: CloseDialogResources(); return FALSE;
    default: return FALSE;
    }
}

int RunFirstRunWizard(HINSTANCE hInstance) {
    static const char* const kPages[3] = {"ID_DLG_INSTALL1", "ID_DLG_INSTALL2", "ID_DLG_LOGINSETTING"};
    static const DLGPROC kProcs[3] = {Install1DlgProc, Install2DlgProc, LoginSettingDlgProc};
    int nPage = 0;
    for (;;) {
        const INT_PTR r = DialogBoxParamA(hInstance, kPages[nPage], nullptr, kProcs[nPage], 0);
        if (r == WIZ_NEXT) {
            if (nPage == 2) return 1;
            ++nPage;
        } else if (r == WIZ_BACK) {
            if (nPage > 0) --nPage;
        } else {
            if (r == -1) PostQuitMessage(0);  // the page could not be shown
            return 0;
        }
    }
}

int RunLogin(HINSTANCE hInstance) {
    const INT_PTR r = DialogBoxParamA(hInstance, "ID_DLG_LOGIN", nullptr, LoginDlgProc, 0);
    if (r == WIZ_NEXT) return 1;
    if (r == -1) PostQuitMessage(0);
    return 0;
}
