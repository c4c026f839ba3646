// The account pages' state that lives in their global objects from one test
// to the next, reset by programtest::StartFresh.
#include "tests/support/ProgramTest.h"
#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"

namespace {

void ResetAccPages() {
    g_Acc_Homepage.m_nLastSortColumn = 0;
    g_Acc_Homepage.m_Acc.m_bDesc = 0;
    g_Acc_Homepage.m_Acc.m_iQueryMode = 0;
    g_Acc_Homepage.m_Acc.m_bSearch = 0;
    if (g_Acc_Homepage.m_bInit) {
        g_Acc_Homepage.EmptyRecordList();
        SetWindowTextA(g_Acc_Homepage.m_hSearchEdit, "");
    }
    for (Acc_CategoryStatClass* p :
         {(Acc_CategoryStatClass*)&g_Acc_ImportantStat, (Acc_CategoryStatClass*)&g_Acc_RelationStat,
          (Acc_CategoryStatClass*)&g_Acc_TypeStat, (Acc_CategoryStatClass*)&g_Acc_IndustryStat,
          (Acc_CategoryStatClass*)&g_Acc_ProvinceStat, (Acc_CategoryStatClass*)&g_Acc_OpportunitiesStat}) {
        p->m_nLastSortColumn = 0;
        p->m_nCategory = 0;
        p->m_Acc.m_bDesc = 0;
        p->m_Acc.m_iQueryMode = 0;
        p->m_Acc.m_bCategoryNotice = false;  // shown once per run of the program
        if (p->m_bInit) p->EmptyRecordList();
    }
    g_Acc_DateStat.m_nLastSortColumn = 0;
    g_Acc_DateStat.m_Acc.m_bDesc = 0;
    g_Acc_DateStat.m_Acc.m_iQueryMode = 0;
    g_Acc_DateStat.m_nKind = 0;
    if (g_Acc_DateStat.m_bInit) g_Acc_DateStat.EmptyRecordList();
}

const bool kRegistered = programtest::AddPageReset(ResetAccPages);

}  // namespace
