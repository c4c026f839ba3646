#include "store/Opp_DetailClass.h"

#include <cstddef>
#include <iterator>

using namespace store;

#define OPP(f) offsetof(OppNode, f)

static const ColumnSpec kLoadColumns[] = {
    {1, COL_LONG, OPP(opp_id), 0, "Opp_DetailClass.cpp 295: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 405: co_SQLGetData Error.", nullptr, nullptr},
    {2, COL_TEXT, OPP(opp_subject), 255, "Opp_DetailClass.cpp 303: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 412: co_SQLGetData Error.", nullptr, nullptr},
    {3, COL_MEMO, OPP(opp_description), 0, "Opp_DetailClass.cpp 312: co_GetDataLen Error.",
     "Opp_DetailClass.cpp 412: co_GetDataLen Error.", "Opp_DetailClass.cpp 426: cod_AllocNodeDescription Error.",
     "Opp_DetailClass.cpp 432: co_SQLGetData Error."},
    {4, COL_DATE, OPP(opp_create_date), 0, "Opp_DetailClass.cpp 330: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 439: co_SQLGetData Error.", nullptr, nullptr},
    {5, COL_DATE, OPP(opp_die_date), 0, "Opp_DetailClass.cpp 337: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 446: co_SQLGetData Error.", nullptr, nullptr},
    {6, COL_DOUBLE, OPP(opp_estimate_sale), 0, "Opp_DetailClass.cpp 344: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 453: co_SQLGetData Error.", nullptr, nullptr},
    {7, COL_DOUBLE, OPP(opp_sale), 0, "Opp_DetailClass.cpp 351: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 460: co_SQLGetData Error.", nullptr, nullptr},
    {8, COL_TEXT, OPP(opp_important), 50, "Opp_DetailClass.cpp 226: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {9, COL_TEXT, OPP(opp_phase), 50, "Opp_DetailClass.cpp 233: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {10, COL_DATE, OPP(opp_recent_contact_date), 0, "Opp_DetailClass.cpp 381: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 490: co_SQLGetData Error.", nullptr, nullptr},
    {11, COL_LONG, OPP(opp_private), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.",
     "Opp_DetailClass.cpp 498: co_SQLGetData Error.", nullptr, nullptr},
    {12, COL_LONG, OPP(opp_succeed_probability), 0, "Opp_DetailClass.cpp 233: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
};

// Columns 2-12 of one opportunity (cod_GetOpportunity).
static const ColumnSpec kOneColumns[] = {
    {2, COL_TEXT, OPP(opp_subject), 255, "Opp_DetailClass.cpp 170: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {3, COL_MEMO, OPP(opp_description), 0, "Opp_DetailClass.cpp 179: co_GetDataLen Error.", nullptr,
     "Opp_DetailClass.cpp 426: cod_AllocNodeDescription Error.", "Opp_DetailClass.cpp 432: co_SQLGetData Error."},
    {4, COL_DATE, OPP(opp_create_date), 0, "Opp_DetailClass.cpp 198: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {5, COL_DATE, OPP(opp_die_date), 0, "Opp_DetailClass.cpp 205: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {6, COL_DOUBLE, OPP(opp_estimate_sale), 0, "Opp_DetailClass.cpp 212: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
    {7, COL_DOUBLE, OPP(opp_sale), 0, "Opp_DetailClass.cpp 219: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {8, COL_TEXT, OPP(opp_important), 50, "Opp_DetailClass.cpp 226: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {9, COL_TEXT, OPP(opp_phase), 50, "Opp_DetailClass.cpp 233: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {10, COL_DATE, OPP(opp_recent_contact_date), 0, "Opp_DetailClass.cpp 248: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
    {11, COL_LONG, OPP(opp_private), 0, "Opp_DetailClass.cpp 256: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {12, COL_LONG, OPP(opp_succeed_probability), 0, "Opp_DetailClass.cpp 233: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
};

static const LoaderTexts kLoaderTexts = {
    "Opp_DetailClass.cpp 277: co_ExecSQL Error.",
    "Opp_DetailClass.cpp 282: cod_AllocHead Error.",
    "Opp_DetailClass.cpp 398: cod_AllocNode Error.",
    "Opp_DetailClass.cpp 79: new Error",
};

static const char* const kSortColumns[Opp_DetailClass::SORT_COLUMNS] = {
    "opp_subject",  "opp_succeed_probability", "opp_phase",       "opp_important", "opp_estimate_sale",
    "opp_die_date", "opp_recent_contact_date", "opp_create_date",
};

static const char* const kExecMsg = "Opp_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kLinkExecMsg = "Con_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kLastIdMsg = "Con_DetailClass. 63: ccd_GetLastContactID Error.";
static const char* const kDeleteMsg = "Opp_DetailClass.cpp 277: co_ExecSQL Error.";

Opp_DetailClass::~Opp_DetailClass() { cod_FreeList(); }

int Opp_DetailClass::cod_AllocHead() {
    return ListAllocHead(m_pOppHead, m_pCurrent, "Opp_DetailClass.cpp 79: new Error");
}
int Opp_DetailClass::cod_AllocNode() { return ListAllocNode(m_pOppHead, m_pCurrent); }
int Opp_DetailClass::cod_AllocNodeDescription(unsigned nLength) {
    return ListAllocDescription(m_pCurrent, &OppNode::opp_description, nLength);
}
void Opp_DetailClass::cod_FreeList() { ListFree(m_pOppHead, m_pCurrent, &OppNode::opp_description); }
void Opp_DetailClass::cod_NextNode() {
    if (m_pCurrent) m_pCurrent = m_pCurrent->next;
}
void Opp_DetailClass::cod_EscapeQuotes(const char* pszSource, char* pszTarget) { EscapeQuotes(pszSource, pszTarget); }

int Opp_DetailClass::cod_LoadRecords() {
    return LoadRows(m_pOppHead, m_pCurrent, &OppNode::opp_description, kLoadColumns, std::size(kLoadColumns),
                    kLoaderTexts);
}

int Opp_DetailClass::cod_GetOpportunity(ULONG ulOppID) {
    int r = ReadRecord(
        FormatSQL("SELECT * FROM opportunities WHERE opp_id=%d", (int)ulOppID), m_pOppHead, m_pCurrent,
        "Opp_DetailClass.cpp 79: new Error", [&](OppNode& n) { n.opp_id = ulOppID; }, true, kOneColumns,
        std::size(kOneColumns));
    if (r == 0) ShowError("Opp_DetailClass.cpp 163: co_GetNextData Error.");
    return r == 1 ? 0 : -1;
}

static const KeywordQueryTexts kAllTexts = {
    "SELECT * FROM opportunities \t\t\tWHERE opp_subject LIKE '%%%s%%' OR opp_description LIKE '%%%s%%'",
    "SELECT * FROM opportunities \t\t\t\t\tWHERE opp_subject LIKE '%%%s%%' OR opp_description LIKE '%%%s%%' ORDER BY "
    "%s",
    "SELECT * FROM opportunities \t\t\t\t\tWHERE opp_subject LIKE '%%%s%%' OR opp_description LIKE '%%%s%%' ORDER BY "
    "%s DESC",
    "SELECT * FROM opportunities \t\t\t\t\tORDER BY %s",
    "SELECT * FROM opportunities \t\t\t\t\tORDER BY %s DESC",
    "SELECT * FROM opportunities",
    2,
};

int Opp_DetailClass::cod_InitDetail() {
    if (FormatKeywordQuery(Steer(), kAllTexts, m_szKeyword) == -1) return -1;
    return cod_LoadRecords();
}

int Opp_DetailClass::cod_GetLastOpportunityID() {
    int nID = (int)m_ulOppID;
    if (SetSQL("SELECT opp_id FROM opportunities ORDER BY opp_id DESC") == -1) return -1;
    if (ReadFirstLong("Acc_DetailClass.cpp 66: co_ExecSQL Error.", "Opp_DetailClass.cpp 295: co_SQLGetData Error.",
                      &nID) == -1)
        return -1;
    m_ulOppID = (ULONG)nID;
    return 0;
}

int Opp_DetailClass::cod_AddOpportunity() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    const OppNode* p = m_pCurrent;
    if (!p) return -1;
    if (CheckTextFits(p->opp_subject, sizeof p->opp_subject, SUBJECT_MAX_BYTES, msg::kSubjectLabel) == -1) return -1;
    if (FormatSQL("INSERT INTO "
                  "opportunities(opp_subject,\t\topp_description,opp_create_date,opp_die_date,opp_estimate_sale,opp_"
                  "sale,\t\topp_important,opp_phase,opp_recent_contact_date,\t\topp_private,opp_succeed_probability) "
                  "\t\tVALUES('%s','%s',#%d-%d-%d#,#%d-%d-%d#,%f,%f,'%s','%s',#%d-%d-%d#,%d,%d)",
                  p->opp_subject, p->opp_description ? p->opp_description : "", p->opp_create_date.year,
                  p->opp_create_date.month, p->opp_create_date.day, p->opp_die_date.year, p->opp_die_date.month,
                  p->opp_die_date.day, p->opp_estimate_sale, p->opp_sale, p->opp_important, p->opp_phase,
                  p->opp_recent_contact_date.year, p->opp_recent_contact_date.month, p->opp_recent_contact_date.day,
                  p->opp_private, p->opp_succeed_probability) == -1)
        return -1;
    if (ExecOrShow(kExecMsg) == -1) return -1;
    // The new id is read before the commit: an add is stored with its id
    // known, or not at all.
    if (cod_GetLastOpportunityID() == -1) {
        ShowError(kLastIdMsg);
        return -1;
    }

    // The new opportunity is tied to the contact (with its account), the
    // account and the task it was added for.
    const struct {
        ULONG ulID;
        const char* pszSQL;
    } kLinks[] = {
        {m_ulConID, "INSERT INTO opportunities_contacts(acc_id,opp_id,con_id) VALUES(%d,%d,%d)"},
        {m_ulAccID, "INSERT INTO opportunities_accounts(acc_id,opp_id) VALUES(%d,%d)"},
        {m_ulTasID, "INSERT INTO opportunities_tasks(tas_id,opp_id) VALUES(%d,%d)"},
    };
    for (size_t i = 0; i < std::size(kLinks); ++i) {
        if (kLinks[i].ulID == 0) continue;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        int r = i == 0 ? FormatSQL(kLinks[i].pszSQL, (int)m_ulAccID, (int)m_ulOppID, (int)m_ulConID)
                       : FormatSQL(kLinks[i].pszSQL, (int)kLinks[i].ulID, (int)m_ulOppID);
#pragma GCC diagnostic pop
        if (r == -1 || ExecOrShow(kLinkExecMsg) == -1) return -1;
    }
    return t.Finish(0);
}

int Opp_DetailClass::cod_ChageOpportunity(ULONG ulOppID) {
    const OppNode* p = m_pCurrent;
    if (!p) return -1;
    if (CheckTextFits(p->opp_subject, sizeof p->opp_subject, SUBJECT_MAX_BYTES, msg::kSubjectLabel) == -1) return -1;
    if (FormatSQL("UPDATE opportunities SET opp_subject='%s',\t\topp_description='%s', "
                  "opp_create_date=#%d-%d-%d#,opp_die_date=#%d-%d-%d#,\t\topp_estimate_sale=%f,opp_sale=%f,opp_"
                  "important='%s',opp_phase='%s',\t\topp_recent_contact_date=#%d-%d-%d#,\t\topp_private=%d,opp_succeed_"
                  "probability=%d WHERE opp_id=%d",
                  p->opp_subject, p->opp_description ? p->opp_description : "", p->opp_create_date.year,
                  p->opp_create_date.month, p->opp_create_date.day, p->opp_die_date.year, p->opp_die_date.month,
                  p->opp_die_date.day, p->opp_estimate_sale, p->opp_sale, p->opp_important, p->opp_phase,
                  p->opp_recent_contact_date.year, p->opp_recent_contact_date.month, p->opp_recent_contact_date.day,
                  p->opp_private, p->opp_succeed_probability, (int)ulOppID) == -1)
        return -1;
    return ExecOrShow(kExecMsg);  // -100 when no opportunity has that id any more
}

int Opp_DetailClass::cod_DeleteOpportunity(ULONG ulOppID) {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    // Link rows first and the record last: a failure part-way never leaves
    // link rows behind that name a deleted opportunity.
    static const char* const kStatements[] = {
        "DELETE * FROM opportunities_accounts WHERE opp_id=%d",
        "DELETE * FROM opportunities_contacts WHERE opp_id=%d",
        "DELETE * FROM opportunities_tasks WHERE opp_id=%d",
        "DELETE * FROM opportunities WHERE opp_id=%d",
    };
    for (const char* pszSQL : kStatements)
        if (FormatSQL(pszSQL, (int)ulOppID) == -1 || ExecOrShow(kDeleteMsg) == -1) return -1;
    return t.Finish(0);
}

int Opp_DetailClass::cod_LinkOpportunity() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulConID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM opportunities_contacts WHERE acc_id=%d AND \t\t\topp_id=%d AND con_id=%d",
                      "INSERT INTO opportunities_contacts(acc_id,opp_id,con_id) VALUES(%d,%d,%d)", 3, m_ulAccID,
                      m_ulOppID, m_ulConID) == -1)
        return -1;
    if (m_ulAccID != 0 && LinkIfMissing("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id=%d AND opp_id=%d",
                                        "INSERT INTO opportunities_accounts(acc_id,opp_id) VALUES(%d,%d)", 2, m_ulAccID,
                                        m_ulOppID, 0) == -1)
        return -1;
    if (m_ulTasID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM opportunities_tasks WHERE tas_id=%d AND opp_id=%d",
                      "INSERT INTO opportunities_tasks(tas_id,opp_id) VALUES(%d,%d)", 2, m_ulTasID, m_ulOppID, 0) == -1)
        return -1;
    return t.Finish(0);
}

int Opp_DetailClass::cod_UnlinkOpportunity() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulAccID != 0 && (FormatSQL("DELETE * FROM opportunities_accounts \t\t\tWHERE (opp_id=%d AND acc_id=%d)",
                                     (int)m_ulOppID, (int)m_ulAccID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulConID != 0 && (FormatSQL("DELETE * FROM opportunities_contacts \t\t\tWHERE (opp_id=%d AND con_id=%d)",
                                     (int)m_ulOppID, (int)m_ulConID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulTasID != 0 && (FormatSQL("DELETE * FROM opportunities_tasks \t\t\tWHERE (opp_id=%d AND tas_id=%d)",
                                     (int)m_ulOppID, (int)m_ulTasID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    return t.Finish(0);
}

int Opp_DetailClass::cod_GetByAccount(ULONG ulAccID) {
    int nID = ulAccID == 0 ? -1 : (int)ulAccID;
    if (FormatSQL("SELECT * FROM rel_accounts_opportunities WHERE acc_id=%d", nID) == -1) return -1;
    return cod_LoadRecords();
}

int Opp_DetailClass::cod_GetByContact(ULONG ulConID) {
    if (FormatSQL("SELECT * FROM rel_contacts_opportunities WHERE con_id=%d", (int)ulConID) == -1) return -1;
    return cod_LoadRecords();
}

int Opp_DetailClass::cod_GetByTask(ULONG ulTasID) {
    if (FormatSQL("SELECT * FROM rel_tasks_opportunities WHERE tas_id=%d", (int)ulTasID) == -1) return -1;
    return cod_LoadRecords();
}

CategoryArray Opp_DetailClass::ImportantArray() {
    return {m_szImportant, &m_nImportant, MAX_IMPORTANT, nullptr, &m_bCategoryNotice};
}

CategoryArray Opp_DetailClass::PhaseArray() {
    return {m_szPhase, &m_nPhase, MAX_PHASE, m_szPhaseProbability, &m_bCategoryNotice};
}

int Opp_DetailClass::cod_LoadImportantTable() { return LoadLookupTable("SELECT * FROM important", ImportantArray()); }
int Opp_DetailClass::cod_LoadPhaseTable() { return LoadLookupTable("SELECT * FROM phase", PhaseArray()); }

// ---------------------------------------------------------------------------
// Statistics and filtered listings
// ---------------------------------------------------------------------------

int Opp_DetailClass::cod_GetImportantCategories() {
    int r = GatherCategories("SELECT * FROM important",
                             "SELECT opp_important FROM opportunities \t\tWHERE opp_important<>''", ImportantArray());
    return r == -1 ? -1 : m_nImportant;
}

int Opp_DetailClass::cod_GetPhaseCategories() {
    int r = GatherCategories("SELECT * FROM phase", "SELECT opp_phase FROM opportunities \t\tWHERE opp_phase<>''",
                             PhaseArray());
    return r == -1 ? -1 : m_nPhase;
}

int Opp_DetailClass::cod_CountByImportant() {
    cod_GetImportantCategories();
    static const CountTexts kTexts = {
        "SELECT COUNT(*), SUM(opp_estimate_sale) \t\tFROM opportunities WHERE opp_important='%s'",
        "SELECT COUNT(*), SUM(opp_estimate_sale) \t\t\tFROM opportunities WHERE opp_important='%s'",
        "Opp_DetailClass.cpp 645: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 670: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 652: co_SQLGetData Error.",
        "Opp_DetailClass.cpp 659: co_SQLGetData Error.",
    };
    return CountPerCategory(ImportantArray(), kTexts, m_iCount, m_fSum);
}

int Opp_DetailClass::cod_CountByPhase() {
    cod_GetPhaseCategories();
    static const CountTexts kTexts = {
        "SELECT COUNT(*), SUM(opp_estimate_sale) \t\tFROM opportunities WHERE opp_phase='%s'",
        "SELECT COUNT(*), SUM(opp_estimate_sale) \t\t\tFROM opportunities WHERE opp_phase='%s'",
        "Opp_DetailClass.cpp 730: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 755: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 737: co_SQLGetData Error.",
        "Opp_DetailClass.cpp 744: co_SQLGetData Error.",
    };
    return CountPerCategory(PhaseArray(), kTexts, m_iCount, m_fSum);
}

int Opp_DetailClass::cod_GetByImportant(const char* pszImportant) {
    return CategoryQuery("SELECT * FROM opportunities WHERE opp_important='%s'",
                         "SELECT * FROM opportunities \t\t\t\t\tWHERE opp_important='%s' \t\t\t\t\tORDER BY %s",
                         pszImportant);
}

int Opp_DetailClass::cod_GetByPhase(const char* pszPhase) {
    return CategoryQuery("SELECT * FROM opportunities WHERE opp_phase='%s'",
                         "SELECT * FROM opportunities \t\t\t\t\tWHERE opp_phase='%s' \t\t\t\t\tORDER BY %s", pszPhase);
}

int Opp_DetailClass::CategoryQuery(const char* pszPlain, const char* pszSorted, const char* pszValue) {
    if (FormatCategoryQuery(Steer(), pszPlain, pszSorted, pszValue) == -1) return -1;
    return cod_LoadRecords();
}

int Opp_DetailClass::DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom,
                               const SYSTEMTIME& stTo) {
    if (FormatDateQuery(Steer(), pszPlain, pszSorted, pFrom, stTo) == -1) return -1;
    return cod_LoadRecords();
}

Steering Opp_DetailClass::Steer() {
    return {m_iQueryMode, m_bSearch, m_iSortColumn, m_bDesc, kSortColumns, SORT_COLUMNS};
}

int Opp_DetailClass::cod_GetEstimateOver(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\t(opp_die_date>=#%d-%d-%d# AND opp_die_date<=#%d-%d-%d#)",
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_die_date>=#%d-%d-%d# AND opp_die_date<=#%d-%d-%d#) ORDER BY %s",
        &stFrom, stTo);
}

int Opp_DetailClass::cod_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\t(opp_create_date>=#%d-%d-%d# AND opp_create_date<=#%d-%d-%d#)",
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_create_date>=#%d-%d-%d# AND opp_create_date<=#%d-%d-%d#) "
        "\t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

int Opp_DetailClass::cod_NoTrack(const SYSTEMTIME& stDate) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\topp_recent_contact_date<=#%d-%d-%d#",
        "SELECT * FROM opportunities WHERE \t\t\t\topp_recent_contact_date<=#%d-%d-%d# \t\t\t\tORDER BY %s", nullptr,
        stDate);
}

int Opp_DetailClass::cod_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\t(opp_recent_contact_date>=#%d-%d-%d# \t\t\tAND "
        "opp_recent_contact_date<=#%d-%d-%d#)",
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_recent_contact_date>=#%d-%d-%d# \t\t\t\tAND "
        "opp_recent_contact_date<=#%d-%d-%d#) \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

int Opp_DetailClass::cod_GetSucceed(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\t(opp_die_date>=#%d-%d-%d# \t\t\tAND opp_die_date<=#%d-%d-%d# AND "
        "opp_phase='结束－成功')",
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_die_date>=#%d-%d-%d# \t\t\t\tAND opp_die_date<=#%d-%d-%d# AND "
        "opp_phase='结束－成功') \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

int Opp_DetailClass::cod_GetFail(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM opportunities WHERE \t\t\t(opp_die_date>=#%d-%d-%d# \t\t\tAND opp_die_date<=#%d-%d-%d# AND "
        "opp_phase='结束－失败')",
        "SELECT * FROM opportunities WHERE \t\t\t\t(opp_die_date>=#%d-%d-%d# \t\t\t\tAND opp_die_date<=#%d-%d-%d# AND "
        "opp_phase='结束－失败') \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}
