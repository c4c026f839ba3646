#include "views/contacts/Con_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "views/RelatingGlobals.h"
#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "platform/gbk/gbk.h"
#include "views/accounts/Acc_DetailDialogClass.h"

#include <new>

namespace {

const RelationTab kTabs[] = {
    {"工作日志", RelatedTasksPageProc_ConDetail},
    {"销售机会", RelatedOpportunitiesPageProc_ConDetail},
};

}  // namespace

Con_DetailDialogClass g_Con_Detail;

Con_DetailDialogClass::Con_DetailDialogClass()
    : RecordFormDialogClass("Con_Detail", TB_CONTACTS, {240, 350, 780, 260, kTabs, 2}),
      m_ulAccountID(0)
{
}

void Con_DetailDialogClass::OnShowRecord(int nRow, ULONG ulID)
{
    // The account of the contact now shown; none when it cannot be read.
    m_ulAccountID = 0;
    if (ulID != 0 && m_Contact.ccd_GetAccountID(ulID) == 0)
        m_ulAccountID = m_Contact.m_ulAccID;
    g_ulRelatingAccID = m_ulAccountID;
    RecordFormDialogClass::OnShowRecord(nRow, ulID);
}

void Con_DetailDialogClass::OnNewRecord()
{
    m_ulAccountID = 0;
    g_ulRelatingAccID = 0;
    RecordFormDialogClass::OnNewRecord();
}

// Opens the contact's account in the account form as a one-entry list.
void Con_DetailDialogClass::OnOpenAccount()
{
    if (m_ulRecordID == 0 || m_ulAccountID == 0)
        return;
    // The list is made first, so that a failure leaves both forms as they were.
    ULONG* pulID = new (std::nothrow) ULONG[1];
    if (!pulID) {
        MessageBoxA(NULL, "Opp_HomepageDialogClass.cpp 89: m_pulID Error.", TARVEL_CAPTION, MB_OK);
        return;
    }
    pulID[0] = m_ulAccountID;
    BaseDialogClass* pOld = g_pCurrentDialog;
    g_Acc_Detail.ShowDialog();
    g_Acc_Detail.FreeIDArray();
    g_Acc_Detail.m_pulID = pulID;
    g_Acc_Detail.m_nIDCount = 1;
    gbk::CopyCut(g_Acc_Detail.m_szTitle, sizeof g_Acc_Detail.m_szTitle, "所有客户");
    SendMessageA(g_Acc_Detail.m_hWnd, UM_SHOWRECORD, 0, (LPARAM)m_ulAccountID);
    FinishViewSwitch(pOld, &g_Acc_Detail);
}

LRESULT Con_DetailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == UM_OPENACCOUNT) {
        OnOpenAccount();
        return 0;
    }
    return RecordFormDialogClass::DialogProc(hWnd, uMsg, wParam, lParam);
}
