#include "views/contacts/Con_OpportunitiesDialogClass.h"

#include "resources/contacts_ids.h"

namespace {
const ConCategoryPageDef kPage = {
    ConCategoryPageDef::kOpportunities,
    UM_OPEN_HASOPP,
    IDC_CONO_BASE,
    IDC_CONO_BASE + 6,
    "是否存在销售机会",
    700,
    "所有联系人按其项目机会分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    nullptr,
    TRUE,
};
}  // namespace

Con_OpportunitiesDialogClass g_Con_Opportunities;

Con_OpportunitiesDialogClass::Con_OpportunitiesDialogClass() : Con_CategoryStatClass(kPage) {}
