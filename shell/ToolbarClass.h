// The main toolbar and the router of its commands (the main window's
// WM_COMMAND). The module buttons form one check group; each view selects
// its module's button itself when it is opened or restored.
#pragma once

#include "win32.h"

class BaseDialogClass;

class ToolbarClass {
public:
    static const int kMaxButtons = 30;

    ToolbarClass();
    ~ToolbarClass();

    // Creates the bar. 0, or -1 after a message.
    int Create(HINSTANCE hInstance, HWND hParent, DWORD dwStyle, int nID);
    int SetImageList(int nList, HIMAGELIST hImageList);
    // Collect button records; nothing shows until CommitButtons.
    // -1 when the 30 records are used up.
    int AddCheckButton(LPCSTR pszLabel, int nCommand, int nImage);
    int AddButton(LPCSTR pszLabel, int nCommand, int nImage);
    int AddSeparator();
    int CommitButtons();
    // Presses (bCheck 1) or releases (0) a button.
    int CheckButton(int nCommand, int bCheck);
    // The bar's height (bottom of its client rectangle); -1 without a bar.
    int GetHeight();
    void AutoSize();

    // The view a module button (homepage, opportunities, accounts, contacts,
    // tasks, mail, setting, export) opens; the program sets them with its
    // buttons. A button without a view does nothing.
    void SetTarget(int nCommand, BaseDialogClass* pView);
    BaseDialogClass* Target(int nCommand) const;

    // 0 when the low word of wParam is a toolbar command (after running its
    // handler), -1 otherwise.
    int OnCommand(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    int OnHomepage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnOpportunities(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnAccounts(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnContacts(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnTasks(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnMail(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Back / Forward through the history; also called by the record forms
    // to leave the form. Entries without a view are skipped.
    int OnBack(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnForward(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnSetting(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    int OnExport(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

public:
    HWND m_hToolbar;
    int m_nButtons;
    TBBUTTON m_Buttons[kMaxButtons];

private:
    struct Route {
        int nCommand;
        BaseDialogClass* pView;
    };
    Route m_Routes[kMaxButtons];
    int m_nRoutes;

    int AddLabelled(LPCSTR pszLabel, int nCommand, int nImage, BYTE fsStyle);
};

extern ToolbarClass g_Toolbar;
