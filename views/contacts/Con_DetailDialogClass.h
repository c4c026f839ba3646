// The contact record form. Window class "Con_Detail", one object
// g_Con_Detail. Pages open a contact here through HandOverToForm; besides,
// it opens the shown contact's account in the account form (UM_OPENACCOUNT).
#pragma once

#include "store/Con_DetailClass.h"
#include "views/RecordFormClass.h"

class Con_DetailDialogClass : public RecordFormClass {
public:
    Con_DetailDialogClass();

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void ClearForm() override;

    // The account (工作单位) of the contact shown; 0 when it has none.
    ULONG m_ulAccountID;
    Con_DetailClass m_Contact;

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    void OnOpenAccount();
};

extern Con_DetailDialogClass g_Con_Detail;
