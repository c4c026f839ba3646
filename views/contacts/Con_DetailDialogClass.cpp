#include "views/contacts/Con_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/RelatingGlobals.h"
#include "shell/ViewMessages.h"
#include "views/accounts/Acc_DetailDialogClass.h"

namespace {

const RelationTabDef kTabs[] = {
    {"工作日志", RelatedTasksPageProc_ConDetail},
    {"销售机会", RelatedOpportunitiesPageProc_ConDetail},
};

}  // namespace

Con_DetailDialogClass g_Con_Detail;

Con_DetailDialogClass::Con_DetailDialogClass()
    : RecordFormClass(FieldlessFormDef(TB_CONTACTS, 13001, 240, 350, 780, 260, kTabs, 2, &g_Con_Homepage,
                                       g_Con_Homepage.m_szKeyword)),
      m_ulAccountID(0) {}

void Con_DetailDialogClass::ClearForm() {
    RecordFormClass::ClearForm();
    m_ulAccountID = 0;
    g_ulRelatingAccID = 0;
}

int Con_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    // The account of the contact now shown; none when it cannot be read.
    m_ulAccountID = 0;
    if (ulID != 0 && m_Contact.ccd_GetAccountID(ulID) == 0) m_ulAccountID = m_Contact.m_ulAccID;
    g_ulRelatingAccID = m_ulAccountID;
    return 0;
}

// Opens the contact's account in the account form as a one-entry list.
void Con_DetailDialogClass::OnOpenAccount() {
    if (m_ulRecordID == 0 || m_ulAccountID == 0) return;
    const ULONG ulAccount = m_ulAccountID;
    HandOverToForm(&g_Acc_Detail, &ulAccount, 1, 0, "所有客户");
}

LRESULT Con_DetailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == UM_OPENACCOUNT) {
        OnOpenAccount();
        return 0;
    }
    return RecordFormClass::DialogProc(hWnd, uMsg, wParam, lParam);
}
