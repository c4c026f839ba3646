#include "views/tasks/Tas_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "shell/ViewMessages.h"

namespace {

// Control ids of the form's frame.
enum {
    kSearchEdit = 14001, kSearch, kHelp, kSave, kCancel, kEdit, kDelete, kFirst, kPrev, kNext, kLast,
};

const RelationTabDef kTabs[] = {
    {"销售机会", RelatedOpportunitiesPageProc_TasDetail},
    {"联系人", RelatedContactsPageProc_TasDetail},
    {"客户", RelatedAccountsPageProc_TasDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_TASKS;
    def.nSearchEditID = kSearchEdit;
    def.nSearchID = kSearch;
    def.nHelpID = kHelp;
    def.ids = {kSave, kCancel, kEdit, kDelete, kFirst, kPrev, kNext, kLast};
    def.nTabX = 240;
    def.nTabY = 270;
    def.nTabWidth = 780;
    def.nTabHeight = 342;
    def.pTabs = kTabs;
    def.nTabs = 3;
    def.texts = {"", "", "", "Opp_HomepageDialogClass.cpp 89: m_pulID Error."};
    return def;
}

}  // namespace

Tas_DetailDialogClass g_Tas_Detail;

Tas_DetailDialogClass::Tas_DetailDialogClass() : RecordFormClass(MakeDef()) {}
