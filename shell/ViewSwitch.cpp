#include "shell/ViewSwitch.h"

#include "shell/BaseDialogClass.h"
#include "shell/HistoryClass.h"
#include "shell/ViewMessages.h"

BaseDialogClass* g_pCurrentDialog = nullptr;

void FinishViewSwitch(BaseDialogClass* pOld, BaseDialogClass* pTarget) {
    if (g_pCurrentDialog != pOld) {
        // The receiver switched views itself while it handled the message:
        // that switch stands; only the view it left behind must not stay up.
        if (pTarget && pTarget != g_pCurrentDialog) pTarget->HideDialog();
        return;
    }
    if (pOld && pOld != pTarget) pOld->HideDialog();
    g_pCurrentDialog = pTarget;
}

int SwitchViewGuarded(BaseDialogClass* pTarget, UINT uMsg) {
    // The page already shown keeps its state: no reload, no history entry.
    if (!pTarget || g_pCurrentDialog == pTarget) return 0;
    return SwitchViewAlways(pTarget, uMsg);
}

int SwitchViewAlways(BaseDialogClass* pTarget, UINT uMsg) {
    if (!pTarget) return 0;
    if (g_pCurrentDialog == pTarget) {
        SendMessageA(pTarget->m_hWnd, uMsg, 0, 0);
        return 0;
    }
    BaseDialogClass* pOld = g_pCurrentDialog;
    pTarget->ShowDialog();
    SendMessageA(pTarget->m_hWnd, uMsg, 0, 0);
    FinishViewSwitch(pOld, pTarget);
    return 0;
}

int SwitchViewHideFirst(BaseDialogClass* pTarget, UINT uMsg) {
    if (!pTarget || g_pCurrentDialog == pTarget) return 0;
    BaseDialogClass* pOld = g_pCurrentDialog;
    pTarget->ShowDialog();
    if (pOld) pOld->HideDialog();
    g_pCurrentDialog = pTarget;
    SendMessageA(pTarget->m_hWnd, uMsg, 0, 0);
    return 0;
}

int SwitchViewAfterSend(BaseDialogClass* pTarget, UINT uMsg) {
    if (!pTarget) return 0;
    BaseDialogClass* pOld = g_pCurrentDialog;
    SendMessageA(pTarget->m_hWnd, uMsg, 0, 0);
    if (g_pCurrentDialog != pOld) return 0;  // the receiver switched views itself
    pTarget->ShowDialog();
    if (pOld && pOld != pTarget) pOld->HideDialog();
    g_pCurrentDialog = pTarget;
    return 0;
}

int MoveInHistory(int nStep) {
    HistoryNode* pNode = nStep < 0 ? g_History.PrevWithView() : g_History.NextWithView();
    if (!pNode) return 0;
    g_History.m_pCurrent = pNode;
    BaseDialogClass* pView = pNode->m_pView;
    BaseDialogClass* pOld = g_pCurrentDialog;
    pView->ShowDialog();
    SendMessageA(pView->m_hWnd, UM_RESTOREVIEW, 0, 0);
    FinishViewSwitch(pOld, pView);
    return 0;
}
