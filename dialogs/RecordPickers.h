// The record pickers on "ID_DLG_SELECT_OBJECT": a list of the records of one
// kind with a keyword search. Linking pickers link the double-clicked row to
// the record the form shows (g_ulRelatingID) at once and stay open; 确定
// links the row the list shows selected (clicked, or reached with the keys)
// and closes. Handing pickers write the chosen record's name and id into
// their opener. Openers run them with
// DialogBoxParamA(g_hInstance, IDD_SELECT_OBJECT, owner, picker, 0).
#pragma once

#include "win32.h"

#define IDD_SELECT_OBJECT "ID_DLG_SELECT_OBJECT"

enum {
    IDC_PICK_KEYWORD = 123,
    IDC_PICK_LIST = 1051,
    IDC_PICK_SEARCH = 1092,
    IDC_PICK_OK = 1112,
};

// Tasks pages.
INT_PTR CALLBACK SelectTaskDlgProc_OppDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectTaskDlgProc_AccDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectTaskDlgProc_ConDetail(HWND, UINT, WPARAM, LPARAM);
// Accounts pages.
INT_PTR CALLBACK SelectAccountDlgProc_OppDetailAccounts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectAccountDlgProc_TasDetailAccounts(HWND, UINT, WPARAM, LPARAM);
// Opportunities pages.
INT_PTR CALLBACK SelectOpportunityDlgProc_AccDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectOpportunityDlgProc_ConDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectOpportunityDlgProc_TasDetailOpportunities(HWND, UINT, WPARAM, LPARAM);
// Contacts pages (the opportunity's and task's also link the contact's
// account; the account's lists only contacts without an account).
INT_PTR CALLBACK SelectContactDlgProc_OppDetailContacts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectContactDlgProc_TasDetailContacts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectContactDlgProc_AccDetail(HWND, UINT, WPARAM, LPARAM);
// Contacts of the account clicked on an accounts page (g_ulRelatingAccID).
INT_PTR CALLBACK SelectContactDlgProc_OppDetailAccounts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectContactDlgProc_TasDetailAccounts(HWND, UINT, WPARAM, LPARAM);
// A new contact's account: linked to the shown record and handed to the
// new-contact dialog; the last one only hands it (and closes on a double
// click).
INT_PTR CALLBACK SelectAccountDlgProc_OppDetailContacts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectAccountDlgProc_TasDetailContacts(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectAccountDlgProc_NewContact(HWND, UINT, WPARAM, LPARAM);
// Handing pickers of the record forms: the contact form's 工作单位 and the
// task form's related record.
INT_PTR CALLBACK SelectAccountDlgProc_ConDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectAccountDlgProc_TasDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectOpportunityDlgProc_TasDetail(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SelectContactDlgProc_TasDetail(HWND, UINT, WPARAM, LPARAM);

// Enter in a picker's search box presses 搜索.
LRESULT CALLBACK SearchEditProc_SelectObject(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
extern WNDPROC g_pfnOldSelectEditProc;
