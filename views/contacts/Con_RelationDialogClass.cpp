#include "views/contacts/Con_RelationDialogClass.h"

#include "resources/contacts_ids.h"

namespace {
const ConCategoryPageDef kPage = {
    ConCategoryPageDef::kRelation,
    UM_OPEN_RELATION,
    IDC_CONR_BASE,
    IDC_CONR_MENU_BASE,
    "关系",
    700,
    "所有联系人按其关系分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "关系=\"%s\"",
    FALSE,
};
}  // namespace

Con_RelationDialogClass g_Con_Relation;

Con_RelationDialogClass::Con_RelationDialogClass() : Con_CategoryStatClass(kPage) {}
