#include "views/tasks/Tas_HomepageDialogClass.h"

#include "shell/ViewMessages.h"

Tas_HomepageDialogClass g_Tas_Homepage;

Tas_HomepageDialogClass::Tas_HomepageDialogClass()
    : PlaceholderDialogClass(TB_TASKS, {UM_OPENVIEW, UM_OPEN_TODAY}), m_stDate{}
{
}

HistoryNode* Tas_HomepageDialogClass::OnOpen(UINT uMsg)
{
    if (uMsg == UM_OPEN_TODAY || m_stDate.wYear == 0)
        GetLocalTime(&m_stDate);
    HistoryNode* pNode = PlaceholderDialogClass::OnOpen(uMsg);
    if (pNode)
        pNode->m_stFrom = m_stDate;
    return pNode;
}

void Tas_HomepageDialogClass::OnRestore()
{
    if (g_History.IsCurrentOf(this) && g_History.m_pCurrent->m_stFrom.wYear != 0)
        m_stDate = g_History.m_pCurrent->m_stFrom;
    PlaceholderDialogClass::OnRestore();
}
