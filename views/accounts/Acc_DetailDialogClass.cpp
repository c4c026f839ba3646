#include "views/accounts/Acc_DetailDialogClass.h"

#include "dialogs/RelatedPages.h"
#include "shell/ViewMessages.h"

namespace {

// Control ids of the form's frame.
enum {
    kSearchEdit = 12001, kSearch, kHelp, kSave, kCancel, kEdit, kDelete, kFirst, kPrev, kNext, kLast,
};

const RelationTabDef kTabs[] = {
    {"计划日志", RelatedTasksPageProc_AccDetail},
    {"联系人", RelatedContactsPageProc_AccDetail},
    {"销售机会", RelatedOpportunitiesPageProc_AccDetail},
};

RecordFormDef MakeDef() {
    RecordFormDef def = {};
    def.nButton = TB_ACCOUNTS;
    def.nSearchEditID = kSearchEdit;
    def.nSearchID = kSearch;
    def.nHelpID = kHelp;
    def.ids = {kSave, kCancel, kEdit, kDelete, kFirst, kPrev, kNext, kLast};
    def.nTabX = 240;
    def.nTabY = 350;
    def.nTabWidth = 780;
    def.nTabHeight = 262;
    def.pTabs = kTabs;
    def.nTabs = 3;
    def.texts = {"", "", "", "Opp_HomepageDialogClass.cpp 89: m_pulID Error."};
    return def;
}

}  // namespace

Acc_DetailDialogClass g_Acc_Detail;

Acc_DetailDialogClass::Acc_DetailDialogClass() : RecordFormClass(MakeDef()) {}
