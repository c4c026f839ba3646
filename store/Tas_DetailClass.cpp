#include "store/Tas_DetailClass.h"

#include <cstddef>
#include <cstring>
#include <iterator>

using namespace store;

#define TAS(f) offsetof(TasNode, f)

static const ColumnSpec kColumns[] = {
    {1, COL_LONG, TAS(tas_id), 0, "Opp_DetailClass.cpp 295: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {2, COL_TEXT, TAS(tas_subject), 255, "Opp_DetailClass.cpp 303: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {3, COL_DATE, TAS(tas_date), 0, "Opp_DetailClass.cpp 330: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {4, COL_TIME, TAS(tas_time), 0, "Opp_DetailClass.cpp 330: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {5, COL_FLOAT, TAS(tas_outlay), 0, "Opp_DetailClass.cpp 212: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {6, COL_MEMO, TAS(tas_description), 0, "Opp_DetailClass.cpp 312: co_GetDataLen Error.", nullptr,
     "Opp_DetailClass.cpp 317: cod_AllocNodeDescription6 Error.", "Opp_DetailClass.cpp 323: co_SQLGetData Error."},
    {7, COL_LONG, TAS(tas_private), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {8, COL_LONG, TAS(tas_remind), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {9, COL_LONG, TAS(tas_closed), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.", nullptr, nullptr, nullptr},
};

static const LoaderTexts kLoaderTexts = {
    "Opp_DetailClass.cpp 277: co_ExecSQL Error.",
    "Opp_DetailClass.cpp 282: cod_AllocHead Error.",
    "Opp_DetailClass.cpp 398: cod_AllocNode Error.",
    "Acc_DetailClass.cpp 79: new Error",
};

static const char* const kLinkExecMsg = "Con_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kDeleteMsg = "Opp_DetailClass.cpp 277: co_ExecSQL Error.";

Tas_DetailClass::~Tas_DetailClass() { ctd_FreeList(); }

int Tas_DetailClass::ctd_AllocHead() {
    return ListAllocHead(m_pTasHead, m_pCurrent, "Acc_DetailClass.cpp 79: new Error");
}
int Tas_DetailClass::ctd_AllocNode() { return ListAllocNode(m_pTasHead, m_pCurrent); }
int Tas_DetailClass::ctd_AllocNodeDescription(unsigned nLength) {
    return ListAllocDescription(m_pCurrent, &TasNode::tas_description, nLength);
}
void Tas_DetailClass::ctd_NextNode() {
    if (m_pCurrent) m_pCurrent = m_pCurrent->next;
}
void Tas_DetailClass::ctd_FreeList() { ListFree(m_pTasHead, m_pCurrent, &TasNode::tas_description); }
void Tas_DetailClass::ctd_EscapeQuotes(const char* pszSource, char* pszTarget) { EscapeQuotes(pszSource, pszTarget); }

int Tas_DetailClass::ctd_LoadRecords() {
    return LoadRows(m_pTasHead, m_pCurrent, &TasNode::tas_description, kColumns, std::size(kColumns), kLoaderTexts);
}

int Tas_DetailClass::ctd_GetTask(ULONG ulTasID) {
    // A missing task leaves an empty head.
    int r = ReadRecord(
        FormatSQL("SELECT * FROM tasks WHERE tas_id=%d", (int)ulTasID), m_pTasHead, m_pCurrent,
        "Acc_DetailClass.cpp 79: new Error", [&](TasNode& n) { n.tas_id = ulTasID; }, false, kColumns + 1,
        std::size(kColumns) - 1);
    m_bFound = r == 1;
    return r == -1 ? -1 : 0;
}

// Ties the task m_ulTasID to the first record whose id is set (account,
// opportunity, contact) and makes today that record's latest contact. With
// bCheckExisting an existing link is left alone, date included.
int Tas_DetailClass::TieToRecord(const SYSTEMTIME& stToday, bool bCheckExisting) {
    struct Target {
        ULONG ulID;
        const char* pszCount;
        const char* pszInsert;
        const char* pszUpdateAdd;
        const char* pszUpdateLink;
    };
    const Target kTargets[] = {
        {m_ulAccID, "SELECT COUNT(*) FROM accounts_tasks WHERE acc_id=%d AND tas_id=%d",
         "INSERT INTO accounts_tasks(acc_id,tas_id) VALUES(%d,%d)",
         "UPDATE accounts SET acc_recent_contact_date=#%d-%d-%d# WHERE \t\t\tacc_id=%d",
         "UPDATE accounts SET acc_recent_contact_date=#%d-%d-%d# WHERE \t\t\t\tacc_id=%d"},
        {m_ulOppID, "SELECT COUNT(*) FROM opportunities_tasks WHERE opp_id=%d AND tas_id=%d",
         "INSERT INTO opportunities_tasks(opp_id,tas_id) VALUES(%d,%d)",
         "UPDATE opportunities SET opp_recent_contact_date=#%d-%d-%d# WHERE \t\t\topp_id=%d",
         "UPDATE opportunities SET opp_recent_contact_date=#%d-%d-%d# WHERE \t\t\t\topp_id=%d"},
        {m_ulConID, "SELECT COUNT(*) FROM contacts_tasks WHERE con_id=%d AND tas_id=%d",
         "INSERT INTO contacts_tasks(con_id,tas_id) VALUES(%d,%d)",
         "UPDATE contacts SET con_recent_contact_date=#%d-%d-%d# WHERE \t\t\tcon_id=%d",
         "UPDATE contacts SET con_recent_contact_date=#%d-%d-%d# WHERE \t\t\t\tcon_id=%d"},
    };
    for (const Target& t : kTargets) {
        if (t.ulID == 0) continue;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        if (bCheckExisting) {
            int r = LinkIfMissing(t.pszCount, t.pszInsert, 2, t.ulID, m_ulTasID, 0);
            if (r <= 0) return r;
        } else if (FormatSQL(t.pszInsert, (int)t.ulID, (int)m_ulTasID) == -1 || ExecOrShow(kLinkExecMsg) == -1) {
            return -1;
        }
        if (FormatSQL(bCheckExisting ? t.pszUpdateLink : t.pszUpdateAdd, stToday.wYear, stToday.wMonth, stToday.wDay,
                      (int)t.ulID) == -1 ||
            ExecOrShow(kLinkExecMsg) == -1)
            return -1;
#pragma GCC diagnostic pop
        return 0;
    }
    return 0;
}

int Tas_DetailClass::ctd_AddTask() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    const TasNode* p = m_pCurrent;
    if (!p) return -1;
    if (CheckTextFits(p->tas_subject, sizeof p->tas_subject, SUBJECT_MAX_BYTES, msg::kSubjectLabel) == -1) return -1;
    if (FormatSQL("INSERT INTO "
                  "tasks(tas_subject,tas_date,\t\ttas_time,tas_outlay,tas_remind,tas_closed,tas_description,tas_"
                  "private ) \t\tVALUES('%s',#%d-%d-%d#,#%d:%d:%d#,%f,%d,%d,'%s',%d)",
                  p->tas_subject, p->tas_date.year, p->tas_date.month, p->tas_date.day, p->tas_time.hour,
                  p->tas_time.minute, p->tas_time.second, (double)p->tas_outlay, p->tas_remind, p->tas_closed,
                  p->tas_description ? p->tas_description : "", p->tas_private) == -1 ||
        ExecOrShow(kLinkExecMsg) == -1)
        return -1;
    // The new id is read before the commit: an add is stored with its id
    // known, or not at all.
    if (ctd_GetLastTaskID() == -1) {
        ShowError("Con_DetailClass. 63: ccd_GetLastContactID Error.");
        return -1;
    }
    if (m_ulAccID == 0 && m_ulOppID == 0 && m_ulConID == 0) return t.Finish(0);
    SYSTEMTIME stToday;
    GetLocalTime(&stToday);
    return t.Finish(TieToRecord(stToday, false));
}

int Tas_DetailClass::ctd_GetLastTaskID() {
    int nID = (int)m_ulTasID;
    if (SetSQL("SELECT tas_id FROM tasks ORDER BY tas_id DESC") == -1) return -1;
    if (ReadFirstLong("Acc_DetailClass.cpp 66: co_ExecSQL Error.", "Opp_DetailClass.cpp 295: co_SQLGetData Error.",
                      &nID) == -1)
        return -1;
    m_ulTasID = (ULONG)nID;
    return 0;
}

int Tas_DetailClass::ctd_LinkTask() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    SYSTEMTIME stToday;
    GetLocalTime(&stToday);
    return t.Finish(TieToRecord(stToday, true) == -1 ? -1 : 0);
}

int Tas_DetailClass::ctd_ChageTask(ULONG ulTasID) {
    const TasNode* p = m_pCurrent;
    if (!p) return -1;
    if (CheckTextFits(p->tas_subject, sizeof p->tas_subject, SUBJECT_MAX_BYTES, msg::kSubjectLabel) == -1) return -1;
    if (FormatSQL("UPDATE tasks SET "
                  "tas_subject='%s',\t\ttas_date=#%d-%d-%d#,tas_time=#%d:%d:%d#,tas_outlay=%f,tas_remind=%d,\t\ttas_"
                  "closed=%d,tas_description='%s',tas_private=%d WHERE tas_id=%d",
                  p->tas_subject, p->tas_date.year, p->tas_date.month, p->tas_date.day, p->tas_time.hour,
                  p->tas_time.minute, p->tas_time.second, (double)p->tas_outlay, p->tas_remind, p->tas_closed,
                  p->tas_description ? p->tas_description : "", p->tas_private, (int)ulTasID) == -1)
        return -1;
    return ExecOrShow(kLinkExecMsg);  // -100 when no task has that id any more
}

int Tas_DetailClass::ctd_DeleteTask(ULONG ulTasID) {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    // Link rows first, the task last.
    static const char* const kStatements[] = {
        "DELETE * FROM opportunities_tasks WHERE tas_id=%d",
        "DELETE * FROM accounts_tasks WHERE tas_id=%d",
        "DELETE * FROM contacts_tasks WHERE tas_id=%d",
        "DELETE * FROM tasks WHERE tas_id=%d",
    };
    for (const char* pszSQL : kStatements)
        if (FormatSQL(pszSQL, (int)ulTasID) == -1 || ExecOrShow(kDeleteMsg) == -1) return -1;
    return t.Finish(0);
}

int Tas_DetailClass::ctd_UnlinkTask() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulOppID != 0 && (FormatSQL("DELETE * FROM opportunities_tasks \t\t\tWHERE (tas_id=%d AND opp_id=%d)",
                                     (int)m_ulTasID, (int)m_ulOppID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulAccID != 0 && (FormatSQL("DELETE * FROM accounts_tasks \t\t\tWHERE (tas_id=%d AND acc_id=%d)",
                                     (int)m_ulTasID, (int)m_ulAccID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulConID != 0 && (FormatSQL("DELETE * FROM contacts_tasks \t\t\tWHERE (tas_id=%d AND con_id=%d)",
                                     (int)m_ulTasID, (int)m_ulConID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    return t.Finish(0);
}

int Tas_DetailClass::ctd_GetAllTasks() {
    int r;
    if (m_iQueryMode == 1) {
        r = FormatSQL(
            "SELECT * FROM tasks \t\t\tWHERE tas_subject LIKE '%%%s%%' OR tas_description LIKE '%%%s%%' \t\t\tORDER BY "
            "tas_date DESC,tas_time DESC",
            m_szKeyword, m_szKeyword);
        m_iQueryMode = 0;
    } else {
        r = SetSQL("SELECT * FROM tasks \t\t\tORDER BY tas_date DESC,tas_time DESC");
    }
    if (r == -1) return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_GetByDay(const SYSTEMTIME& stDate) {
    if (FormatSQL("SELECT * FROM tasks WHERE tas_date=#%d-%d-%d# \t\tORDER BY tas_time DESC", stDate.wYear,
                  stDate.wMonth, stDate.wDay) == -1)
        return -1;
    return ctd_LoadRecords();
}

// Day of week of a Gregorian date, 0 = Sunday ... 6 = Saturday.
static int DayOfWeek(int y, int m, int d) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 1 || m > 12) return 0;
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

int Tas_DetailClass::ctd_GetByWeek(SYSTEMTIME* pDate) {
    // The weekday comes from the date itself, whatever the caller left in
    // wDayOfWeek; it is written back with Sunday as 7.
    int d = DayOfWeek(pDate->wYear, pDate->wMonth, pDate->wDay);
    if (d == 0) d = 7;
    pDate->wDayOfWeek = (WORD)d;
    if (FormatSQL("SELECT * FROM tasks \t\tWHERE tas_date>=DATEADD('d',%d,'%d-%d-%d') AND "
                  "\t\ttas_date<=DATEADD('d',%d,'%d-%d-%d') ORDER BY tas_time DESC",
                  1 - d, pDate->wYear, pDate->wMonth, pDate->wDay, 7 - d, pDate->wYear, pDate->wMonth,
                  pDate->wDay) == -1)
        return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_GetByMonth(SYSTEMTIME* pDate) {
    int y = pDate->wYear, m = pDate->wMonth, nLast;
    switch (m) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: nLast = 31; break;
    case 2: nLast = ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0) ? 29 : 28; break;
    default: nLast = 30; break;
    }
    if (FormatSQL("SELECT * FROM tasks \t\tWHERE tas_date>=#%d-%d-1# AND \t\ttas_date<=#%d-%d-%d#", y, m, y, m,
                  nLast) == -1)
        return -1;
    return ctd_LoadRecords();
}

#define TAS_LINKED_COLUMNS \
    "SELECT tas_id,tas_subject,tas_date,tas_time,tas_outlay,\t\ttas_description,tas_private,tas_remind,tas_closed "

int Tas_DetailClass::ctd_GetByOpportunity(ULONG ulOppID) {
    if (FormatSQL(TAS_LINKED_COLUMNS
                  "FROM rel_opportunities_tasks WHERE opp_id=%d \t\tORDER BY tas_date DESC,tas_time DESC",
                  (int)ulOppID) == -1)
        return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_GetByAccount(ULONG ulAccID) {
    if (FormatSQL(TAS_LINKED_COLUMNS "FROM rel_accounts_tasks WHERE acc_id=%d \t\tORDER BY tas_date DESC,tas_time DESC",
                  ulAccID == 0 ? -1 : (int)ulAccID) == -1)
        return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_GetByContact(ULONG ulConID) {
    if (FormatSQL(TAS_LINKED_COLUMNS "FROM rel_contacts_tasks WHERE con_id=%d \t\tORDER BY tas_date DESC,tas_time DESC",
                  (int)ulConID) == -1)
        return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_CountByClosed() {
    static const char* const kStatements[2] = {"SELECT COUNT(*) \t\tFROM tasks WHERE tas_closed=0",
                                               "SELECT COUNT(*) \t\tFROM tasks WHERE tas_closed=1"};
    for (int i = 0; i < 2; ++i) {
        if (SetSQL(kStatements[i]) == -1) return -1;
        if (ReadFirstLong("Opp_DetailClass.cpp 645: co_ExecSQL Error.", "Opp_DetailClass.cpp 652: co_SQLGetData Error.",
                          &m_iCount[i]) == -1)
            return -1;
    }
    return 0;
}

int Tas_DetailClass::ctd_GetByClosed(int bClosed) {
    if (FormatSQL("SELECT * FROM tasks WHERE tas_closed=%d ORDER BY tas_date DESC,tas_time DESC", bClosed) == -1)
        return -1;
    return ctd_LoadRecords();
}

int Tas_DetailClass::ctd_GetClosedCategoryName(int iCategory, char* pszName) {
    if (iCategory == 0) {
        strcpy(pszName, "未完成计划日志");
        return 0;
    }
    if (iCategory == 1) {
        strcpy(pszName, "已完成计划日志");
        return 0;
    }
    return -1;
}
