// The contact pages' state that lives in their global objects from one test
// to the next, reset by programtest::StartFresh.
#include "mail/MailDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "tests/views/contacts/ConPages.h"

namespace {

void ResetConPages() {
    g_Con_Homepage.m_nLastSortColumn = -1;
    g_Con_Homepage.m_Contact.m_bDesc = 0;
    g_Con_Homepage.m_Contact.m_iQueryMode = 0;
    g_Con_Homepage.m_Contact.m_iSortColumn = 0;
    if (g_Con_Homepage.m_bInit) g_Con_Homepage.EmptyRecordList();
    for (Con_CategoryStatClass* p : ConStatPages()) {
        p->m_nLastSortColumn = 0;
        p->m_nCategory = 0;
        p->m_Contact.m_bDesc = 0;
        p->m_Contact.m_iQueryMode = 0;
        p->m_Contact.m_iSortColumn = 0;
        p->m_Contact.m_bCategoryNotice = false;  // shown once per run of the program
        if (p->m_bInit) p->EmptyRecordList();
    }
    g_Con_Date.m_nLastSortColumn = 0;
    g_Con_Date.m_Contact.m_bDesc = 0;
    g_Con_Date.m_Contact.m_iQueryMode = 0;
    g_Con_Date.m_Contact.m_iSortColumn = 0;
    g_Con_Date.m_nKind = 0;
    if (g_Con_Date.m_bInit) g_Con_Date.EmptyRecordList();
    g_Con_Detail.m_szTitle[0] = 0;
    g_Mail.m_ConDetail.ccd_FreeList();
    g_Mail.m_nConCount = 0;
}

const bool kRegistered = programtest::AddPageReset(ResetConPages);

}  // namespace

std::vector<std::string> MailNames() { return programtest::Column(g_Mail.m_RecipientList, 1); }

std::string BreakContactView(const std::string& view) {
    auto rows =
        programtest::Database().Query("SELECT sql FROM sqlite_master WHERE type='view' AND name='" + view + "'");
    programtest::Database().Exec("DROP VIEW " + view);
    return rows.empty() ? std::string() : rows[0][0];
}

void MendContactView(const std::string& sql) { programtest::Database().Exec(sql); }
