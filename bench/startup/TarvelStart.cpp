// The real program for the start-up benchmark: the layer's entry and the
// program's own WinMain on the database given as the first argument, with the
// login answered at once (the password is the second argument) and the idle
// probe. A message box means start-up failed: it is printed and the process
// ends with status 2.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/startup/IdleReport.h"
#include "platform/gbk/gbk.h"
#include "program/main.h"
#include "resources/shell_ids.h"
#include "store/ODBCClass.h"
#include "win32_testhooks.h"

typedef int(WINAPI* W32WinMainFn)(HINSTANCE, HINSTANCE, LPSTR, int);
int w32_main(int argc, char** argv, W32WinMainFn winMain);

namespace {

std::string g_strFile, g_strPassword;

int WINAPI StartWinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nShowCmd) {
    const std::string connect =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(g_strFile) + ";Uid=Admin;Pwd=qe7volnar;";
    if (connect.size() >= sizeof(g_ODBC.m_szConnect)) return 2;
    std::memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);

    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall& box) -> int {
        std::fprintf(stderr, "message box: %s\n", gbk::ToUtf8(box.text).c_str());
        _exit(2);
    });
    w32test::SetDialogHook([](HWND hDlg, const std::string& name) {
        if (name != "ID_DLG_LOGIN") {
            std::fprintf(stderr, "unexpected dialog %s\n", name.c_str());
            _exit(2);
        }
        SetDlgItemTextA(hDlg, IDC_LOGIN_PWD, g_strPassword.c_str());
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
    });
    startupbench::IdleProbe probe([] { return g_hMainWnd && IsWindowVisible(g_hMainWnd); });
    return WinMain(hInstance, hPrev, lpCmdLine, nShowCmd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s database password\n", argv[0]);
        return 2;
    }
    g_strFile = argv[1];
    g_strPassword = argv[2];
    return w32_main(argc, argv, &StartWinMain);
}
