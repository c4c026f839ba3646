// The opportunity pages' state that lives in their global objects from one
// test to the next, reset by programtest::StartFresh.
#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"

namespace {

void ResetOppPages() {
    g_Opp_Homepage.m_nLastSortColumn = -1;
    g_Opp_Homepage.m_Opp.m_bDesc = 0;
    g_Opp_Homepage.m_Opp.m_iQueryMode = 0;
    for (Opp_CategoryStatClass* p :
         {(Opp_CategoryStatClass*)&g_Opp_ImportantStat, (Opp_CategoryStatClass*)&g_Opp_PhaseStat}) {
        p->m_nLastSortColumn = 0;
        p->m_nCategory = 0;
        p->m_Opp.m_bDesc = 0;
        p->m_Opp.m_iQueryMode = 0;
        p->m_Opp.m_bCategoryNotice = false;  // shown once per run of the program
        if (p->m_bInit) p->EmptyRecordList();
    }
    g_Opp_DateStat.m_nLastSortColumn = 0;
    g_Opp_DateStat.m_Opp.m_bDesc = 0;
    g_Opp_DateStat.m_Opp.m_iQueryMode = 0;
    g_Opp_DateStat.m_nKind = 0;
    if (g_Opp_Homepage.m_bInit) g_Opp_Homepage.EmptyRecordList();
    if (g_Opp_DateStat.m_bInit) g_Opp_DateStat.EmptyRecordList();
}

const bool kRegistered = programtest::AddPageReset(ResetOppPages);

}  // namespace
