#include "views/contacts/Con_ProvinceDialogClass.h"

#include "resources/contacts_ids.h"

namespace {
const ConCategoryPageDef kPage = {
    ConCategoryPageDef::kProvince,
    UM_OPEN_PROVINCE,
    IDC_CONP_BASE,
    IDC_CONP_BASE + 6,
    "区域",
    700,
    "所有联系人按其区域分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "区域=\"%s\"",
    FALSE,
};
}  // namespace

Con_ProvinceDialogClass g_Con_Province;

Con_ProvinceDialogClass::Con_ProvinceDialogClass() : Con_CategoryStatClass(kPage) {}
