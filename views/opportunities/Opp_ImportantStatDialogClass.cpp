#include "views/opportunities/Opp_ImportantStatDialogClass.h"

#include "resources/opportunities_ids.h"

namespace {
const OppCategoryPageDef kPage = {
    FALSE,
    UM_OPEN_IMPORTANT,
    IDC_OPPI_SEARCH_EDIT,
    IDC_OPPI_SEARCH,
    IDC_OPPI_CATEGORIES,
    IDC_OPPI_EXPORT,
    IDC_OPPI_LIST,
    IDC_OPPI_HELP,
    {IDC_OPPI_MENU0, IDC_OPPI_MENU1, IDC_OPPI_MENU2, IDC_OPPI_MENU3, IDC_OPPI_MENU4},
    "重要性",
    550,
    "所有项目机会按其重要性分类统计如下表，用鼠标单击某重要性分类，可以显示符合条件的记录。",
    "重要性=\"%s\"",
};
}  // namespace

Opp_ImportantStatDialogClass g_Opp_ImportantStat;

Opp_ImportantStatDialogClass::Opp_ImportantStatDialogClass() : Opp_CategoryStatClass(kPage) {}
