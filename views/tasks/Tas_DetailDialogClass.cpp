#include "views/tasks/Tas_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "shell/ViewMessages.h"

namespace {

const RelationTabDef kTabs[] = {
    {"销售机会", RelatedOpportunitiesPageProc_TasDetail},
    {"联系人", RelatedContactsPageProc_TasDetail},
    {"客户", RelatedAccountsPageProc_TasDetail},
};

}  // namespace

Tas_DetailDialogClass g_Tas_Detail;

Tas_DetailDialogClass::Tas_DetailDialogClass()
    : RecordFormClass(FieldlessFormDef(TB_TASKS, 14001, 240, 270, 780, 342, kTabs, 3, &g_Tas_ListAll,
                                       g_Tas_ListAll.m_szKeyword)) {}
