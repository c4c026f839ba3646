// The task pages' state that lives in their global objects from one test to
// the next, reset by programtest::StartFresh.
#include "tests/support/ProgramTest.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"

namespace {

void ResetTaskPages() {
    g_Tas_ListAll.m_Tas.m_iQueryMode = 0;
    g_Tas_ListAll.m_szKeyword[0] = 0;
    if (g_Tas_ListAll.m_bInit) g_Tas_ListAll.EmptyRecordList();
    if (g_Tas_Homepage.m_bInit) g_Tas_Homepage.EmptyRecordList();
    g_Tas_ClosedStat.m_nCategory = 0;
    if (g_Tas_ClosedStat.m_bInit) {
        g_Tas_ClosedStat.EmptyRecordList();
        g_Tas_ClosedStat.m_CategoryList.DeleteAllItems();
    }
}

const bool kRegistered = programtest::AddPageReset(ResetTaskPages);

}  // namespace
