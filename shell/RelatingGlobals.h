// The record that the record form now shown works on, shared by the forms,
// their relation tab pages and the new-record dialogs opened from those pages.
#pragma once

#include "win32.h"

// Id of the record the form shows; 0 while a new record is being entered.
extern ULONG g_ulRelatingID;
// Name of the record the form last showed through UM_SHOWRECORD (the
// new-task dialog offers it as the task's title).
extern char g_szRelatingName[256];
// Name of the account the account form last showed (the new-contact dialog
// offers it as the contact's 工作单位). One buffer, two names.
extern char g_szRelatingAccName[256];
extern char (&g_szRelatingAccountName)[256];
// Account picked on an accounts page of the opportunity or task form (or
// the account of the contact or account the form shows); its name is in
// g_szRelatingAccName. The two are only ever set together.
extern ULONG g_ulRelatingAccID;

// Copies pszName into one of the name buffers above, cut at a character
// boundary; a null name empties it.
void SetRelatingName(char (&szBuffer)[256], const char* pszName);
// Sets g_ulRelatingAccID and g_szRelatingAccName together (0: no account,
// and no name).
void SetRelatingAccount(ULONG ulAccID, const char* pszName);
