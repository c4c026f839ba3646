#include "tests/views/placeholders/PlaceholderShell.h"

#include "program/HomepageDialogClass.h"
#include "tests/shell/ShellTestSupport.h"
#include "store/ODBCClass.h"

namespace placeholders_test {

namespace {

HWND s_hMain = NULL;
shelltest::ProgramDatabase* s_pDatabase = nullptr;

}  // namespace

shelltest::ProgramDatabase& Database()
{
    EnsureShell();
    if (g_ODBC.m_hStmt)
        SQLCloseCursor(g_ODBC.m_hStmt);
    return *s_pDatabase;
}

HWND EnsureShell()
{
    if (s_hMain)
        return s_hMain;
    // One program per process, on a fresh copy of the database, logged in.
    s_pDatabase = new shelltest::ProgramDatabase;
    s_pDatabase->SetLogin("tester", "secret1");
    shelltest::DialogScript script;
    script.Then("ID_DLG_LOGIN", shelltest::LoginWith("secret1"));
    s_hMain = shelltest::StartMainWindow();
    if (s_hMain)
        ShowWindow(s_hMain, SW_SHOW);
    return s_hMain;
}

void ResetToStartPage()
{
    for (int i = 0; i < VIEW_COUNT; i++) {
        if (g_ViewTable[i] != &g_Homepage && IsWindowVisible(g_ViewTable[i]->m_hWnd))
            g_ViewTable[i]->HideDialog();
    }
    g_Homepage.ShowDialog();
    g_pCurrentDialog = &g_Homepage;
    g_History.FreeAll();
    g_History.AllocHead();
    g_History.m_pHead->m_pView = &g_Homepage;
    g_Toolbar.CheckButton(IDC_TB_HOMEPAGE, 1);
}

bool IsButtonChecked(int nCommand)
{
    return SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, nCommand, 0) != 0;
}

int VisibleViewCount()
{
    int n = 0;
    for (int i = 0; i < VIEW_COUNT; i++) {
        if (IsWindowVisible(g_ViewTable[i]->m_hWnd))
            n++;
    }
    return n;
}

std::string ClassOf(const BaseDialogClass& view)
{
    char sz[64] = {};
    GetClassNameA(view.m_hWnd, sz, sizeof sz);
    return sz;
}

std::string StatusText(int nPart)
{
    char sz[256] = {};
    SendMessageA(g_StatusBar.m_hStatusBar, SB_GETTEXTA, nPart, (LPARAM)sz);
    return sz;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace placeholders_test
