#include "views/contacts/Con_ImportantDialogClass.h"

#include "resources/contacts_ids.h"

namespace {
const ConCategoryPageDef kPage = {
    ConCategoryPageDef::kImportant,
    UM_OPEN_IMPORTANT,
    IDC_CONI_BASE,
    IDC_CONI_BASE + 6,
    "重要性",
    700,
    "所有联系人按其重要性分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "重要性=\"%s\"",
    FALSE,
};
}  // namespace

Con_ImportantDialogClass g_Con_Important;

Con_ImportantDialogClass::Con_ImportantDialogClass() : Con_CategoryStatClass(kPage) {}
