#include "shell/ToolbarClass.h"

#include <cstring>

#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

ToolbarClass g_Toolbar;

ToolbarClass::ToolbarClass() : m_hToolbar(nullptr), m_nButtons(0), m_Buttons{}, m_Routes{}, m_nRoutes(0) {}

ToolbarClass::~ToolbarClass() {}

int ToolbarClass::Create(HINSTANCE hInstance, HWND hParent, DWORD dwStyle, int nID) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    m_hToolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", dwStyle, 0, 0, 0, 0, hParent, (HMENU)(INT_PTR)nID, hInstance,
                                 nullptr);
    if (!m_hToolbar) {
        ReportError(msg::kToolbarCreate);
        return -1;
    }
    SendMessageA(m_hToolbar, TB_BUTTONSTRUCTSIZE, (WPARAM)sizeof(TBBUTTON), 0);
    return 0;
}

int ToolbarClass::SetImageList(int nList, HIMAGELIST hImageList) {
    SendMessageA(m_hToolbar, TB_SETIMAGELIST, (WPARAM)nList, (LPARAM)hImageList);
    return 0;
}

int ToolbarClass::AddLabelled(LPCSTR pszLabel, int nCommand, int nImage, BYTE fsStyle) {
    if (m_nButtons >= kMaxButtons) return -1;
    // One label of at most 31 bytes, ended by the double zero of a string list.
    // Never end the label inside a character.
    char szLabel[31 + 2] = {};
    if (pszLabel) gbk::CopyCut(szLabel, 31 + 1, pszLabel);
    const LRESULT nString = SendMessageA(m_hToolbar, TB_ADDSTRINGA, 0, (LPARAM)szLabel);
    TBBUTTON& b = m_Buttons[m_nButtons];
    std::memset(&b, 0, sizeof(b));
    b.iBitmap = nImage;
    b.idCommand = nCommand;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = fsStyle;
    b.dwData = 0;
    b.iString = (INT_PTR)nString;
    ++m_nButtons;
    return 0;
}

int ToolbarClass::AddCheckButton(LPCSTR pszLabel, int nCommand, int nImage) {
    return AddLabelled(pszLabel, nCommand, nImage, (BYTE)(BTNS_CHECK | BTNS_GROUP));
}

int ToolbarClass::AddButton(LPCSTR pszLabel, int nCommand, int nImage) {
    return AddLabelled(pszLabel, nCommand, nImage, (BYTE)BTNS_BUTTON);
}

int ToolbarClass::AddSeparator() {
    if (m_nButtons >= kMaxButtons) return -1;
    TBBUTTON& b = m_Buttons[m_nButtons];
    std::memset(&b, 0, sizeof(b));
    b.iBitmap = -1;
    b.idCommand = 0;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_SEP;
    ++m_nButtons;
    return 0;
}

int ToolbarClass::CommitButtons() {
    SendMessageA(m_hToolbar, TB_ADDBUTTONSA, (WPARAM)m_nButtons, (LPARAM)m_Buttons);
    SendMessageA(m_hToolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(m_hToolbar, SW_SHOW);
    return 0;
}

int ToolbarClass::CheckButton(int nCommand, int bCheck) {
    SendMessageA(m_hToolbar, TB_CHECKBUTTON, (WPARAM)nCommand, MAKELPARAM(bCheck ? 1 : 0, 0));
    return 0;
}

int ToolbarClass::GetHeight() {
    if (!m_hToolbar) {
        ReportError(msg::kToolbarHeight);
        return -1;
    }
    RECT rc{0, 0, 0, 0};
    GetClientRect(m_hToolbar, &rc);
    return rc.bottom;
}

void ToolbarClass::AutoSize() {
    if (!m_hToolbar) {
        ReportError(msg::kToolbarAutoSize);
        return;
    }
    SendMessageA(m_hToolbar, TB_AUTOSIZE, 0, 0);
}

void ToolbarClass::SetTarget(int nCommand, BaseDialogClass* pView) {
    for (int i = 0; i < m_nRoutes; ++i) {
        if (m_Routes[i].nCommand == nCommand) {
            m_Routes[i].pView = pView;
            return;
        }
    }
    if (m_nRoutes < kMaxButtons) m_Routes[m_nRoutes++] = {nCommand, pView};
}

BaseDialogClass* ToolbarClass::Target(int nCommand) const {
    for (int i = 0; i < m_nRoutes; ++i) {
        if (m_Routes[i].nCommand == nCommand) return m_Routes[i].pView;
    }
    return nullptr;
}

int ToolbarClass::OnCommand(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_TB_HOMEPAGE: OnHomepage(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_OPPORTUNITIES: OnOpportunities(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_ACCOUNTS: OnAccounts(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_CONTACTS: OnContacts(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_TASKS: OnTasks(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_MAIL: OnMail(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_BACK: OnBack(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_FORWARD: OnForward(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_SETTING: OnSetting(hWnd, uMsg, wParam, lParam); return 0;
    case IDC_TB_EXPORT: OnExport(hWnd, uMsg, wParam, lParam); return 0;
    default: return -1;
    }
}

int ToolbarClass::OnHomepage(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_HOMEPAGE), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnOpportunities(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_OPPORTUNITIES), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnAccounts(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_ACCOUNTS), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnContacts(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_CONTACTS), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnTasks(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_TASKS), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnMail(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewHideFirst(Target(IDC_TB_MAIL), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnBack(HWND, UINT, WPARAM, LPARAM) {
    MoveInHistory(-1);
    return 0;
}

int ToolbarClass::OnForward(HWND, UINT, WPARAM, LPARAM) {
    MoveInHistory(+1);
    return 0;
}

int ToolbarClass::OnSetting(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewGuarded(Target(IDC_TB_SETTING), UM_OPENVIEW);
    return 0;
}

int ToolbarClass::OnExport(HWND, UINT, WPARAM, LPARAM) {
    SwitchViewHideFirst(Target(IDC_TB_EXPORT), UM_OPENVIEW);
    return 0;
}
