// The relation tab pages of the four record forms. Each page is a modeless dialog made
// from the template "ID_DLG_RELATING" by TabControlClass and made afresh on
// every change of tab; it works on the record g_ulRelatingID and reloads on
// UM_RELOADRELATED.
#pragma once

#include "win32.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"

// Template of every relation page (an empty child page).
#define IDD_RELATING "ID_DLG_RELATING"

// Opportunity form: 计划日志, 联系人, 客户单位.
INT_PTR CALLBACK RelatedTasksPageProc_OppDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedContactsPageProc_OppDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedAccountsPageProc_OppDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Account form: 计划日志, 联系人, 销售机会.
INT_PTR CALLBACK RelatedTasksPageProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedContactsPageProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedOpportunitiesPageProc_AccDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Contact form: 工作日志, 销售机会.
INT_PTR CALLBACK RelatedTasksPageProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedOpportunitiesPageProc_ConDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Task form: 销售机会, 联系人, 客户.
INT_PTR CALLBACK RelatedOpportunitiesPageProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedContactsPageProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RelatedAccountsPageProc_TasDetail(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The record id a relation page last loaded its list for (kept in the page
// window's user data), or 0.
ULONG RelatedPageLoadedID(HWND hPage);
