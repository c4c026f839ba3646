#include "views/contacts/Con_IndustryDialogClass.h"

#include "resources/contacts_ids.h"

namespace {
const ConCategoryPageDef kPage = {
    ConCategoryPageDef::kIndustry,
    UM_OPEN_INDUSTRY,
    IDC_CONN_BASE,
    IDC_CONN_BASE + 6,
    "行业",
    700,
    "所有联系人按其行业分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "行业=\"%s\"",
    TRUE,
};
}  // namespace

Con_IndustryDialogClass g_Con_Industry;

Con_IndustryDialogClass::Con_IndustryDialogClass() : Con_CategoryStatClass(kPage) {}
