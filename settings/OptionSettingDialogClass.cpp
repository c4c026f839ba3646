#include "settings/OptionSettingDialogClass.h"

#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"

OptionSettingDialogClass g_OptionSetting;

OptionSettingDialogClass::OptionSettingDialogClass()
    : PlaceholderDialogClass(TB_SETTING,
                             {UM_OPEN_IMPORTANT, UM_OPEN_RELATION, UM_OPEN_PROVINCE, UM_OPEN_PHASE,
                              UM_OPEN_INDUSTRY, UM_OPEN_TYPE}),
      m_nMode(MODE_IMPORTANT)
{
}

int OptionSettingDialogClass::ModeOfMessage(UINT uMsg)
{
    switch (uMsg) {
    case UM_OPEN_IMPORTANT: return MODE_IMPORTANT;
    case UM_OPEN_RELATION: return MODE_RELATION;  // never "with / without opportunities" here
    case UM_OPEN_PROVINCE: return MODE_PROVINCE;
    case UM_OPEN_PHASE: return MODE_PHASE;
    case UM_OPEN_INDUSTRY: return MODE_INDUSTRY;
    case UM_OPEN_TYPE: return MODE_TYPE;
    }
    return -1;
}

HistoryNode* OptionSettingDialogClass::OnOpen(UINT uMsg)
{
    int nMode = ModeOfMessage(uMsg);
    if (nMode < 0)
        return nullptr;
    m_nMode = nMode;
    CheckOwnButton();
    // Choosing the list already shown adds no second entry.
    HistoryNode* pNode = nullptr;
    if (g_History.IsCurrentOf(this) && g_History.m_pCurrent->m_nKind == nMode + 1)
        pNode = g_History.m_pCurrent;
    else if ((pNode = g_History.OpenEntry(this)) != nullptr)
        pNode->m_nKind = nMode + 1;
    Repaint();
    return pNode;
}

void OptionSettingDialogClass::OnRestore()
{
    if (g_History.IsCurrentOf(this)) {
        int nKind = g_History.m_pCurrent->m_nKind;
        if (nKind >= 1 && nKind <= 6)
            m_nMode = nKind - 1;
    }
    PlaceholderDialogClass::OnRestore();
}
