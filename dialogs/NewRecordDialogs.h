// The new-record dialogs: new account, new contact, new opportunity and new
// task. Each template has one core; the procedures below are its members and
// differ only in what the new record is linked to and what they hand back.
// Openers run them with DialogBoxParamA(g_hInstance, <template>, owner,
// member, 0) and ignore the result.
#pragma once

#include "win32.h"

#define IDD_NEW_ACCOUNT "ID_DLG_NEW_ACCOUNT"
#define IDD_NEW_CONTACT "ID_DLG_NEW_CONTACT"
#define IDD_NEW_OPPORTUNITY "ID_DLG_NEW_OPPORTUNITY"
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

// New contact: the fields. 工作单位 is read-only: the opener or the "..."
// menu (IDC_NEWCONTACT_ACCOUNTMENU) fills it.
enum {
    IDC_NEWCONTACT_NAME = 1063,
    IDC_NEWCONTACT_NICKNAME = 1064,
    IDC_NEWCONTACT_PRIVATE = 1065,
    IDC_NEWCONTACT_DESCRIPTION = 1066,
    IDC_NEWCONTACT_ACCOUNT = 1067,
    IDC_NEWCONTACT_ACCOUNTMENU = 1068,
    IDC_NEWCONTACT_DEPARTMENT = 1069,
    IDC_NEWCONTACT_PROVINCE = 1070,
    IDC_NEWCONTACT_TELEPHONE = 1071,
    IDC_NEWCONTACT_MOBILE = 1072,
    IDC_NEWCONTACT_EMAIL = 1073,
    IDC_NEWCONTACT_IMPORTANT = 1074,
    IDC_NEWCONTACT_RELATION = 1075,
    IDC_NEWCONTACT_CREATE_DATE = 1076,
    IDC_NEWCONTACT_RECENT_DATE = 1077,
    IDC_NEWCONTACT_IM = 1078,
    IDC_NEWCONTACT_POSTCODE = 1079,
    IDC_NEWCONTACT_FAMILY = 1080,
};

// New opportunity: the fields.
enum {
    IDC_NEWOPP_SUBJECT = 1052,
    IDC_NEWOPP_DESCRIPTION = 1053,
    IDC_NEWOPP_DIE_DATE = 1054,
    IDC_NEWOPP_CREATE_DATE = 1055,
    IDC_NEWOPP_ESTIMATE = 1056,
    IDC_NEWOPP_SALE = 1057,
    IDC_NEWOPP_IMPORTANT = 1058,
    IDC_NEWOPP_PHASE = 1059,
    IDC_NEWOPP_PROBABILITY = 1060,
    IDC_NEWOPP_RECENT_DATE = 1061,
    IDC_NEWOPP_PRIVATE = 1062,
};

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

// New contact. The task form: name into its subject, id to be linked on
// save. The contacts pages: linked to the shown record (the opportunity's
// and task's with the account chosen through "..."; the account's to that
// account). The accounts pages: linked to the shown record under the
// clicked account (g_ulRelatingAccID) and to that account. The page-level
// members then have the form show its record again.
INT_PTR CALLBACK NewContactDlgProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewContactDlgProc_OppDetailContacts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewContactDlgProc_TasDetailContacts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewContactDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewContactDlgProc_OppDetailAccounts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewContactDlgProc_TasDetailAccounts(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// New opportunity. The task form: subject into its subject field, id to be
// linked on save. The opportunities pages of the account, contact (with the
// contact's account, g_ulRelatingAccID) and task forms: linked to the shown
// record, then the form shows it again.
INT_PTR CALLBACK NewOpportunityDlgProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewOpportunityDlgProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewOpportunityDlgProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NewOpportunityDlgProc_TasDetailOpportunities(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
