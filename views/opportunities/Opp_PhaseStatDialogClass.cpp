#include "views/opportunities/Opp_PhaseStatDialogClass.h"

#include "resources/opportunities_ids.h"

namespace {
const OppCategoryPageDef kPage = {
    TRUE,
    UM_OPEN_PHASE,
    IDC_OPPP_SEARCH_EDIT,
    IDC_OPPP_SEARCH,
    IDC_OPPP_CATEGORIES,
    IDC_OPPP_EXPORT,
    IDC_OPPP_LIST,
    IDC_OPPP_HELP,
    {IDC_OPPP_MENU0, IDC_OPPP_MENU1, IDC_OPPP_MENU2, IDC_OPPP_MENU3, IDC_OPPP_MENU4},
    "销售阶段",
    530,
    "所有项目机会按其项目阶段分类统计如下表，用鼠标单击某项目阶段分类，可以显示符合条件的记录。",
    "销售阶段=\"%s\"",
};
}  // namespace

Opp_PhaseStatDialogClass g_Opp_PhaseStat;

Opp_PhaseStatDialogClass::Opp_PhaseStatDialogClass() : Opp_CategoryStatClass(kPage) {}
