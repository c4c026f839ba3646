#include "views/accounts/Acc_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "shell/ViewMessages.h"

namespace {

const RelationTabDef kTabs[] = {
    {"计划日志", RelatedTasksPageProc_AccDetail},
    {"联系人", RelatedContactsPageProc_AccDetail},
    {"销售机会", RelatedOpportunitiesPageProc_AccDetail},
};

}  // namespace

Acc_DetailDialogClass g_Acc_Detail;

Acc_DetailDialogClass::Acc_DetailDialogClass()
    : RecordFormClass(FieldlessFormDef(TB_ACCOUNTS, 12001, 240, 350, 780, 262, kTabs, 3, &g_Acc_Homepage,
                                       g_Acc_Homepage.m_szKeyword)) {}
