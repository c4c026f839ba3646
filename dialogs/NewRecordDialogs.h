// The new-record dialogs: new account, new contact, new opportunity and new
// task. Each template has one core; the procedures below are its members and
// differ only in what the new record is linked to and what they hand back.
// Openers run them with DialogBoxParamA(g_hInstance, <template>, owner,
// member, 0) and ignore the result.
#pragma once

#include "win32.h"

#define IDD_NEW_ACCOUNT "ID_DLG_NEW_ACCOUNT"
#define IDD_NEW_CONTACT "ID_DLG_NEW_CONTACT"
#define IDD_NEW_TASK "ID_DLG_NEW_TASK"

// 确定 of every new-record dialog (not IDOK: Enter does not confirm).
#define IDC_NEWRECORD_OK 1112

// New account: the fields.
enum {
    IDC_NEWACC_NAME = 1000,
    IDC_NEWACC_ADDRESS = 1001,
    IDC_NEWACC_POSTCODE = 1002,
    IDC_NEWACC_TELEPHONE = 1003,
    IDC_NEWACC_FAX = 1004,
    IDC_NEWACC_WEBSITE = 1005,
    IDC_NEWACC_DESCRIPTION = 1027,
    IDC_NEWACC_IMPORTANT = 1028,
    IDC_NEWACC_TYPE = 1029,
    IDC_NEWACC_INDUSTRY = 1030,
    IDC_NEWACC_RELATION = 1031,
    IDC_NEWACC_PRIVATE = 1032,
    IDC_NEWACC_PROVINCE = 1033,
    IDC_NEWACC_CREATE_DATE = 1034,
    IDC_NEWACC_RECENT_DATE = 1035,
};

// New task: the fields.
enum {
    IDC_NEWTASK_TITLE = 1081,
    IDC_NEWTASK_DATE = 1082,
    IDC_NEWTASK_CONTENT = 1083,
    IDC_NEWTASK_TIME = 1084,
    IDC_NEWTASK_PRIVATE = 1085,
    IDC_NEWTASK_COST = 1086,
    IDC_NEWTASK_REMIND = 1087,
    IDC_NEWTASK_CLOSED = 1089,
};

// New contact: the 工作单位 field (read-only; the opener or the "..." menu
// fills it).
#define IDC_NEWCONTACT_ACCOUNT 1067

// The 工作单位 field of the new-contact dialog now open (nested new-account
// dialogs and account pickers write the chosen name into it), or NULL.
extern HWND g_hNewContactAccountEdit;

// New account. Record forms: the contact form (工作单位) and the task form.
INT_PTR CALLBACK NewAccountDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewAccountDlgProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Opened from a new-contact dialog: the account the contact is to join; the
// two contacts-page members also link it to the record the form shows.
INT_PTR CALLBACK NewAccountDlgProc_NewContact(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewAccountDlgProc_OppDetailContacts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewAccountDlgProc_TasDetailContacts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The accounts pages of the opportunity and task forms: linked to the shown
// record, then the form shows it again.
INT_PTR CALLBACK NewAccountDlgProc_OppDetailAccounts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewAccountDlgProc_TasDetailAccounts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// New task of the tasks pages: linked to the record the form shows, whose
// recent-contact date becomes today; then the form shows it again.
INT_PTR CALLBACK NewTaskDlgProc_OppDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewTaskDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewTaskDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// New contact of the account form's contacts page.
INT_PTR CALLBACK NewContactDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
