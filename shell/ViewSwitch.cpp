#include "ViewSwitch.h"

#include "main.h"

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

#define GOTO_GUARDED(name, view, msg) \
    int name() { return SwitchViewGuarded(ViewAt(view), msg); }
#define GOTO_ALWAYS(name, view, msg) \
    int name() { return SwitchViewAlways(ViewAt(view), msg); }

GOTO_ALWAYS(GotoOpp_Homepage, VIEW_OPP_HOMEPAGE, UM_OPENVIEW)
GOTO_GUARDED(GotoOpp_ImportantStat, VIEW_OPP_IMPORTANTSTAT, UM_OPEN_IMPORTANT)
GOTO_GUARDED(GotoOpp_PhaseStat, VIEW_OPP_PHASESTAT, UM_OPEN_PHASE)
GOTO_GUARDED(GotoOpp_DateStat, VIEW_OPP_DATESTAT, UM_OPEN_DATE)
GOTO_ALWAYS(GotoOpp_DetailNew, VIEW_OPP_DETAIL, UM_NEWRECORD)
GOTO_ALWAYS(GotoAcc_Homepage, VIEW_ACC_HOMEPAGE, UM_OPENVIEW)
GOTO_GUARDED(GotoAcc_ImportantStat, VIEW_ACC_IMPORTANTSTAT, UM_OPEN_IMPORTANT)
GOTO_GUARDED(GotoAcc_OpportunitiesStat, VIEW_ACC_OPPORTUNITIESSTAT, UM_OPEN_HASOPP)
GOTO_GUARDED(GotoAcc_RelationStat, VIEW_ACC_RELATIONSTAT, UM_OPEN_RELATION)
GOTO_GUARDED(GotoAcc_TypeStat, VIEW_ACC_TYPESTAT, UM_OPEN_TYPE)
GOTO_GUARDED(GotoAcc_IndustryStat, VIEW_ACC_INDUSTRYSTAT, UM_OPEN_INDUSTRY)
GOTO_GUARDED(GotoAcc_ProvinceStat, VIEW_ACC_PROVINCESTAT, UM_OPEN_PROVINCE)
GOTO_GUARDED(GotoAcc_DateStat, VIEW_ACC_DATESTAT, UM_OPEN_DATE)
GOTO_ALWAYS(GotoAcc_DetailNew, VIEW_ACC_DETAIL, UM_NEWRECORD)
GOTO_ALWAYS(GotoCon_Homepage, VIEW_CON_HOMEPAGE, UM_OPENVIEW)
GOTO_GUARDED(GotoCon_Important, VIEW_CON_IMPORTANT, UM_OPEN_IMPORTANT)
GOTO_GUARDED(GotoCon_Opportunities, VIEW_CON_OPPORTUNITIES, UM_OPEN_HASOPP)
GOTO_GUARDED(GotoCon_Relation, VIEW_CON_RELATION, UM_OPEN_RELATION)
GOTO_GUARDED(GotoCon_Industry, VIEW_CON_INDUSTRY, UM_OPEN_INDUSTRY)
GOTO_GUARDED(GotoCon_Province, VIEW_CON_PROVINCE, UM_OPEN_PROVINCE)
GOTO_GUARDED(GotoCon_Date, VIEW_CON_DATE, UM_OPEN_DATE)
GOTO_ALWAYS(GotoCon_DetailNew, VIEW_CON_DETAIL, UM_NEWRECORD)
GOTO_GUARDED(GotoTas_Homepage, VIEW_TAS_HOMEPAGE, UM_OPENVIEW)
GOTO_ALWAYS(GotoTas_HomepageToday, VIEW_TAS_HOMEPAGE, UM_OPEN_TODAY)
GOTO_GUARDED(GotoTas_Week, VIEW_TAS_WEEK, UM_OPEN_WEEK)
GOTO_GUARDED(GotoTas_Month, VIEW_TAS_MONTH, UM_OPEN_MONTH)
GOTO_ALWAYS(GotoTas_ListAll, VIEW_TAS_LISTALL, UM_OPENVIEW)
GOTO_ALWAYS(GotoTas_ClosedStat, VIEW_TAS_CLOSEDSTAT, UM_OPEN_CLOSED)
GOTO_ALWAYS(GotoTas_DetailNew, VIEW_TAS_DETAIL, UM_NEWRECORD)
GOTO_GUARDED(GotoMailSetting, VIEW_MAILSETTING, UM_OPENVIEW)
GOTO_ALWAYS(GotoOptionSetting_Important, VIEW_OPTIONSETTING, UM_OPEN_IMPORTANT)
GOTO_ALWAYS(GotoOptionSetting_Relation, VIEW_OPTIONSETTING, UM_OPEN_RELATION)
GOTO_ALWAYS(GotoOptionSetting_Province, VIEW_OPTIONSETTING, UM_OPEN_PROVINCE)
GOTO_ALWAYS(GotoOptionSetting_Phase, VIEW_OPTIONSETTING, UM_OPEN_PHASE)
GOTO_ALWAYS(GotoOptionSetting_Industry, VIEW_OPTIONSETTING, UM_OPEN_INDUSTRY)
GOTO_ALWAYS(GotoOptionSetting_Type, VIEW_OPTIONSETTING, UM_OPEN_TYPE)
GOTO_ALWAYS(GotoLoginSetting, VIEW_LOGINSETTING, UM_OPENVIEW)
