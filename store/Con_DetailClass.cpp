#include "store/Con_DetailClass.h"

#include "store/Acc_DetailClass.h"

#include <cstddef>
#include <cstring>
#include <iterator>

using namespace store;

#define CON(f) offsetof(ConNode, f)
#define READ_303 "Opp_DetailClass.cpp 303: co_SQLGetData Error."
#define READ_358 "Opp_DetailClass.cpp 358: co_SQLGetData Error."

// Columns 1-17, 19 and 20 of every contact statement; ccd_GetContact reads
// 2-17 and 19.
static const ColumnSpec kColumns[] = {
    {1, COL_LONG, CON(con_id), 0, "Opp_DetailClass.cpp 295: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {2, COL_TEXT, CON(con_name), 20, READ_303, nullptr, nullptr, nullptr},
    {3, COL_TEXT, CON(con_nickname), 20, READ_303, nullptr, nullptr, nullptr},
    {4, COL_MEMO, CON(con_description), 0, "Opp_DetailClass.cpp 312: co_GetDataLen Error.", nullptr,
     "Opp_DetailClass.cpp 317: cod_AllocNodeDescription6 Error.", "Opp_DetailClass.cpp 323: co_SQLGetData Error."},
    {5, COL_TEXT, CON(con_department_title), 50, READ_303, nullptr, nullptr, nullptr},
    {6, COL_TEXT, CON(con_telephone), 50, READ_303, nullptr, nullptr, nullptr},
    {7, COL_TEXT, CON(con_mobile), 50, READ_303, nullptr, nullptr, nullptr},
    {8, COL_TEXT, CON(con_email), 50, READ_303, nullptr, nullptr, nullptr},
    {9, COL_TEXT, CON(con_important), 50, READ_358, nullptr, nullptr, nullptr},
    {10, COL_TEXT, CON(con_relation), 50, READ_358, nullptr, nullptr, nullptr},
    {11, COL_DATE, CON(con_create_date), 0, "Opp_DetailClass.cpp 330: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {12, COL_DATE, CON(con_recent_contact_date), 0, "Opp_DetailClass.cpp 381: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
    {13, COL_LONG, CON(con_private), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {14, COL_TEXT, CON(con_province), 50, READ_358, nullptr, nullptr, nullptr},
    {15, COL_TEXT, CON(con_family), 50, READ_358, nullptr, nullptr, nullptr},
    {16, COL_TEXT, CON(con_postcode), 20, READ_358, nullptr, nullptr, nullptr},
    {17, COL_TEXT, CON(con_im), 50, READ_358, nullptr, nullptr, nullptr},
    {19, COL_TEXT, CON(acc_name), 50, READ_303, nullptr, nullptr, nullptr},
    {20, COL_TEXT, CON(acc_type), 50, READ_303, nullptr, nullptr, nullptr},
};

static const LoaderTexts kLoaderTexts = {
    "Opp_DetailClass.cpp 277: co_ExecSQL Error.",
    "Opp_DetailClass.cpp 282: cod_AllocHead Error.",
    "Opp_DetailClass.cpp 398: cod_AllocNode Error.",
    "Acc_DetailClass.cpp 79: new Error",
};

static const char* const kSortColumns[Con_DetailClass::SORT_COLUMNS] = {
    "con_name",     "acc_name",      "con_department_title", "con_telephone",           "con_mobile",      "con_email",
    "con_province", "con_important", "con_relation",         "con_recent_contact_date", "con_create_date",
};
// The same columns by their number in the grouped select list.
static const char* const kSortNumbers[Con_DetailClass::SORT_COLUMNS] = {"2",  "19", "5",  "6",  "7", "8",
                                                                        "14", "9",  "10", "12", "11"};

static const char* const kExecMsg = "Con_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kLastIdMsg = "Con_DetailClass. 63: ccd_GetLastContactID Error.";
static const char* const kDeleteMsg = "Opp_DetailClass.cpp 277: co_ExecSQL Error.";

struct ConCategory {
    const char* pszTable;
    const char* pszInUse;
    const char* pszCount;
    const char* pszPlain;
    const char* pszSorted;
};

#define CON_CATEGORY(table, inuse, counted, col)                                                     \
    {                                                                                                \
        "SELECT * FROM " table, inuse, "SELECT COUNT(*) \t\tFROM " counted " WHERE " col "='%s'",    \
            "SELECT * FROM que_contacts_accounts WHERE " col "='%s' ORDER BY con_name DESC",         \
            "SELECT * FROM que_contacts_accounts \t\t\t\t\tWHERE " col "='%s' \t\t\t\t\tORDER BY %s" \
    }

static const ConCategory kCategories[] = {
    CON_CATEGORY("important", "SELECT con_important FROM contacts", "contacts", "con_important"),
    CON_CATEGORY("relation", "SELECT con_relation FROM contacts", "contacts", "con_relation"),
    CON_CATEGORY("industry", "SELECT acc_industry FROM accounts", "que_contacts_accounts", "acc_industry"),
    CON_CATEGORY("province", "SELECT con_province FROM contacts", "contacts", "con_province"),
};

Con_DetailClass::~Con_DetailClass() { ccd_FreeList(); }

int Con_DetailClass::ccd_AllocHead() {
    return ListAllocHead(m_pConHead, m_pCurrent, "Acc_DetailClass.cpp 79: new Error");
}
int Con_DetailClass::ccd_AllocNode() { return ListAllocNode(m_pConHead, m_pCurrent); }
int Con_DetailClass::ccd_AllocNodeDescription(unsigned nLength) {
    return ListAllocDescription(m_pCurrent, &ConNode::con_description, nLength);
}
void Con_DetailClass::ccd_NextNode() {
    if (m_pCurrent) m_pCurrent = m_pCurrent->next;
}
void Con_DetailClass::ccd_FreeList() { ListFree(m_pConHead, m_pCurrent, &ConNode::con_description); }
void Con_DetailClass::ccd_EscapeQuotes(const char* pszSource, char* pszTarget) { EscapeQuotes(pszSource, pszTarget); }

int Con_DetailClass::ccd_LoadRecords() {
    return LoadRows(m_pConHead, m_pCurrent, &ConNode::con_description, kColumns, std::size(kColumns), kLoaderTexts);
}

int Con_DetailClass::ccd_GetContact(ULONG ulConID) {
    // Columns 2-17 and 19; acc_type stays empty.
    int r = ReadRecord(
        FormatSQL("SELECT * FROM que_contacts_accounts WHERE con_id=%d", (int)ulConID), m_pConHead, m_pCurrent,
        "Acc_DetailClass.cpp 79: new Error", [&](ConNode& n) { n.con_id = (int)ulConID; }, true, kColumns + 1,
        std::size(kColumns) - 2);
    m_bFound = r == 1;  // no such contact: the head holds only the id
    return r == -1 ? -1 : 0;
}

int Con_DetailClass::ccd_GetAccountID(ULONG ulConID) {
    int nID = 0;
    if (FormatSQL("SELECT acc_id FROM accounts_contacts WHERE con_id=%d", (int)ulConID) == -1) return -1;
    if (ReadFirstLong("Opp_DetailClass.cpp 153: co_ExecSQL Error.", READ_303, &nID) == -1) return -1;
    m_ulAccID = (ULONG)nID;
    return 0;
}

int Con_DetailClass::ccd_GetLastContactID() {
    int nID = (int)m_ulConID;
    if (SetSQL("SELECT con_id FROM contacts ORDER BY con_id DESC") == -1) return -1;
    if (ReadFirstLong("Acc_DetailClass.cpp 66: co_ExecSQL Error.", "Opp_DetailClass.cpp 295: co_SQLGetData Error.",
                      &nID) == -1)
        return -1;
    m_ulConID = (ULONG)nID;
    return 0;
}

static const KeywordQueryTexts kAllTexts = {
    "SELECT * FROM que_contacts_accounts \t\t\tWHERE (con_name LIKE '%%%s%%' OR con_description LIKE '%%%s%%' OR "
    "acc_name LIKE '%%%s%%') ORDER BY con_name DESC",
    "SELECT * FROM que_contacts_accounts \t\t\t\t\tWHERE (con_name LIKE '%%%s%%' OR con_description LIKE '%%%s%%' OR "
    "acc_name LIKE '%%%s%%') \t\t\t\t\tORDER BY %s",
    "SELECT * FROM que_contacts_accounts \t\t\t\t\tWHERE (con_name LIKE '%%%s%%' OR con_description LIKE '%%%s%%' OR "
    "acc_name LIKE '%%%s%%') \t\t\t\t\tORDER BY %s DESC",
    "SELECT * FROM que_contacts_accounts \t\t\t\t\tORDER BY %s",
    "SELECT * FROM que_contacts_accounts \t\t\t\t\tORDER BY %s DESC",
    "SELECT * FROM que_contacts_accounts ORDER BY con_name DESC",
    3,
};

int Con_DetailClass::ccd_GetAllContacts() {
    if (FormatKeywordQuery(Steer(), kAllTexts, m_szKeyword) == -1) return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_GetAllContactsByName() {
    if (SetSQL("SELECT * FROM que_contacts_accounts ORDER BY con_name DESC") == -1) return -1;
    return ccd_LoadRecords();
}

Steering Con_DetailClass::Steer() {
    return {m_iQueryMode, m_bSearch, m_iSortColumn, m_bDesc, kSortColumns, SORT_COLUMNS};
}

int Con_DetailClass::DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom,
                               const SYSTEMTIME& stTo) {
    if (FormatDateQuery(Steer(), pszPlain, pszSorted, pFrom, stTo) == -1) return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM que_contacts_accounts WHERE (con_create_date>=#%d-%d-%d# \t\tAND con_create_date<=#%d-%d-%d#) "
        "ORDER BY con_name DESC",
        "SELECT * FROM que_contacts_accounts WHERE \t\t\t\t(con_create_date>=#%d-%d-%d# \t\t\t\tAND "
        "con_create_date<=#%d-%d-%d#) \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

int Con_DetailClass::ccd_NoTrack(const SYSTEMTIME& stDate) {
    return DateQuery(
        "SELECT * FROM que_contacts_accounts WHERE con_recent_contact_date<=#%d-%d-%d# ORDER BY con_name DESC",
        "SELECT * FROM que_contacts_accounts WHERE \t\t\t\tcon_recent_contact_date<=#%d-%d-%d# \t\t\t\tORDER BY %s",
        nullptr, stDate);
}

int Con_DetailClass::ccd_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM que_contacts_accounts WHERE (con_recent_contact_date>=#%d-%d-%d# \t\tAND "
        "con_recent_contact_date<=#%d-%d-%d#) ORDER BY con_name DESC",
        "SELECT * FROM que_contacts_accounts WHERE \t\t\t\t(con_recent_contact_date>=#%d-%d-%d# \t\t\t\tAND "
        "con_recent_contact_date<=#%d-%d-%d#) \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

int Con_DetailClass::ccd_GetByAccount(ULONG ulAccID) {
    int nID = ulAccID == 0 ? -1 : (int)ulAccID;
    int r;
    if (m_iQueryMode == 1) {
        r = FormatSQL(
            "SELECT * FROM que_contacts_accounts WHERE acc_id=%d \t\t\tAND (con_name LIKE '%%%s%%' OR con_description "
            "LIKE '%%%s%%') ORDER BY con_name DESC",
            nID, m_szKeyword, m_szKeyword);
        m_iQueryMode = 0;
        m_bSearch = 1;
    } else {
        r = FormatSQL("SELECT * FROM que_contacts_accounts WHERE acc_id=%d ORDER BY con_name DESC", nID);
        m_bSearch = 0;
    }
    if (r == -1) return -1;
    return ccd_LoadRecords();
}

#define CON_LINKED_COLUMNS(link)                                                                                 \
    "SELECT con_id,con_name,con_nickname,con_description,\t\tcon_department_title,con_telephone,con_mobile,"     \
    "con_email,con_important,con_relation,\t\tcon_create_date,con_recent_contact_date,con_private,con_province," \
    "con_family,\t\tcon_postcode,con_im," link ",acc_name,\t\tacc_type FROM "

int Con_DetailClass::ccd_GetByOpportunityAccount(ULONG ulOppID, ULONG ulAccID) {
    if (FormatSQL(CON_LINKED_COLUMNS("opp_id") "rel_opportunities_contacts WHERE (opp_id=%d AND acc_id=%d)",
                  (int)ulOppID, (int)ulAccID) == -1)
        return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_GetByOpportunity(ULONG ulOppID) {
    if (FormatSQL(CON_LINKED_COLUMNS("opp_id") "rel_opportunities_contacts WHERE opp_id=%d", (int)ulOppID) == -1)
        return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_GetByTaskAccount(ULONG ulTasID, ULONG ulAccID) {
    if (FormatSQL(
            CON_LINKED_COLUMNS("tas_id") "rel_tasks_contacts WHERE (tas_id=%d AND acc_id=%d) ORDER BY con_name DESC",
            (int)ulTasID, (int)ulAccID) == -1)
        return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_GetByTask(ULONG ulTasID) {
    if (FormatSQL(CON_LINKED_COLUMNS("tas_id") "rel_tasks_contacts WHERE tas_id=%d ORDER BY con_name DESC",
                  (int)ulTasID) == -1)
        return -1;
    return ccd_LoadRecords();
}

// The thirteen texts of the cursor node in the order of INSERT and UPDATE.
#define CON_TEXTS(p)                                                                                                \
    p->con_name, p->con_nickname, p->con_description ? p->con_description : "", p->con_department_title,            \
        p->con_telephone, p->con_mobile, p->con_email, p->con_im, p->con_postcode, p->con_family, p->con_important, \
        p->con_relation
#define CON_DATES(p)                                                                                            \
    p->con_create_date.year, p->con_create_date.month, p->con_create_date.day, p->con_recent_contact_date.year, \
        p->con_recent_contact_date.month, p->con_recent_contact_date.day

int Con_DetailClass::ccd_AddContact() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    const ConNode* p = m_pCurrent;
    if (!p) return -1;
    if (FormatSQL(
            "INSERT INTO "
            "contacts(con_name,con_nickname,\t\tcon_description,con_department_title,con_telephone,con_mobile,\t\tcon_"
            "email,con_im,con_postcode,con_family,con_important,con_relation,con_create_date,con_recent_contact_date,"
            "\t\tcon_private,con_province) "
            "\t\tVALUES('%s','%s','%s','%s','%s','%s',\t\t'%s','%s','%s','%s','%s','%s',#%d-%d-%d#,#%d-%d-%d#,%d,'%s')",
            CON_TEXTS(p), CON_DATES(p), p->con_private, p->con_province) == -1 ||
        ExecOrShow(kExecMsg) == -1)
        return -1;
    // The new id is read before the commit: an add is stored with its id
    // known, or not at all.
    if (ccd_GetLastContactID() == -1) {
        ShowError(kLastIdMsg);
        return -1;
    }
    struct Link {
        ULONG ulID;
        const char* pszSQL;
    };
    const Link kLinks[] = {
        {m_ulOppID, "INSERT INTO opportunities_contacts(opp_id,con_id,acc_id) VALUES(%d,%d,%d)"},
        {m_ulAccID, "INSERT INTO accounts_contacts(acc_id,con_id) VALUES(%d,%d)"},
        {m_ulTasID, "INSERT INTO contacts_tasks(tas_id,con_id) VALUES(%d,%d)"},
    };
    for (size_t i = 0; i < std::size(kLinks); ++i) {
        const Link& l = kLinks[i];
        if (l.ulID == 0) continue;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        int r = i == 0 ? FormatSQL(l.pszSQL, (int)m_ulOppID, (int)m_ulConID, (int)m_ulAccID)
                       : FormatSQL(l.pszSQL, (int)l.ulID, (int)m_ulConID);
#pragma GCC diagnostic pop
        if (r == -1 || ExecOrShow(kExecMsg) == -1) return -1;
    }
    return t.Finish(0);
}

int Con_DetailClass::ccd_ChageContact(ULONG ulConID) {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    const ConNode* p = m_pCurrent;
    if (!p) return -1;
    if (FormatSQL("UPDATE contacts SET "
                  "con_name='%s',\t\tcon_nickname='%s',con_description='%s',con_department_title='%s',\t\tcon_"
                  "telephone='%s',con_mobile='%s',con_email='%s',con_im='%s',\t\tcon_postcode='%s',con_family='%s',con_"
                  "important='%s',\t\tcon_relation='%s',con_create_date=#%d-%d-%d#,con_recent_contact_date=#%d-%d-%d#,"
                  "\t\tcon_private=%d,con_province='%s' WHERE con_id=%d",
                  CON_TEXTS(p), CON_DATES(p), p->con_private, p->con_province, (int)ulConID) == -1)
        return -1;
    int r = ExecOrShow(kExecMsg);
    if (r == -1) return -1;
    if (r == -100) return t.Finish(-100);  // the contact no longer exists: no link for it either
    if (m_ulAccID == 0) return t.Finish(0);
    if (FormatSQL("UPDATE accounts_contacts SET acc_id=%d WHERE con_id=%d", (int)m_ulAccID, (int)ulConID) == -1)
        return -1;
    r = ExecOrShow(kExecMsg);
    if (r == -1) return -1;
    if (r == -100) {  // the contact had no account yet
        if (FormatSQL("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(%d,%d)", (int)m_ulAccID, (int)ulConID) ==
                -1 ||
            ExecOrShow(kExecMsg) == -1)
            return -1;
    }
    return t.Finish(0);
}

int Con_DetailClass::ccd_DeleteContact(ULONG ulConID) {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    // Link rows first, the contact last.
    static const char* const kStatements[] = {
        "DELETE * FROM opportunities_contacts WHERE con_id=%d",
        "DELETE * FROM accounts_contacts WHERE con_id=%d",
        "DELETE * FROM contacts_tasks WHERE con_id=%d",
        "DELETE * FROM contacts WHERE con_id=%d",
    };
    for (const char* pszSQL : kStatements)
        if (FormatSQL(pszSQL, (int)ulConID) == -1 || ExecOrShow(kDeleteMsg) == -1) return -1;
    return t.Finish(0);
}

int Con_DetailClass::ccd_LinkContact() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulOppID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM opportunities_contacts WHERE opp_id=%d AND \t\t\tcon_id=%d AND acc_id=%d",
                      "INSERT INTO opportunities_contacts(opp_id,con_id,acc_id) VALUES(%d,%d,%d)", 3, m_ulOppID,
                      m_ulConID, m_ulAccID) == -1)
        return -1;
    if (m_ulTasID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM contacts_tasks WHERE tas_id=%d AND con_id=%d",
                      "INSERT INTO contacts_tasks(tas_id,con_id) VALUES(%d,%d)", 2, m_ulTasID, m_ulConID, 0) == -1)
        return -1;
    return t.Finish(0);
}

int Con_DetailClass::ccd_LinkContactWithAccount() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    m_ulAccID = 0;
    if (ccd_GetAccountID(m_ulConID) == -1) return -1;
    if (m_ulAccID != 0) {
        Acc_DetailClass a;
        a.m_ulAccID = m_ulAccID;
        a.m_ulOppID = m_ulOppID;
        a.m_ulTasID = m_ulTasID;
        if (a.cad_LinkAccount() == -1) return -1;
    }
    if (ccd_LinkContact() == -1) return -1;
    return t.Finish(0);
}

int Con_DetailClass::ccd_LinkAccount() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulAccID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM accounts_contacts WHERE acc_id=%d AND con_id=%d",
                      "INSERT INTO accounts_contacts(acc_id,con_id) VALUES(%d,%d)", 2, m_ulAccID, m_ulConID, 0) == -1)
        return -1;
    return t.Finish(0);
}

int Con_DetailClass::ccd_UnlinkContact() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulOppID != 0 && (FormatSQL("DELETE * FROM opportunities_contacts \t\t\tWHERE (con_id=%d AND opp_id=%d)",
                                     (int)m_ulConID, (int)m_ulOppID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulAccID != 0 && (FormatSQL("DELETE * FROM accounts_contacts \t\t\tWHERE (con_id=%d AND acc_id=%d)",
                                     (int)m_ulConID, (int)m_ulAccID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    if (m_ulTasID != 0 && (FormatSQL("DELETE * FROM contacts_tasks \t\t\tWHERE (con_id=%d AND tas_id=%d)",
                                     (int)m_ulConID, (int)m_ulTasID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    return t.Finish(0);
}

// ---------------------------------------------------------------------------
// Statistics and category queries
// ---------------------------------------------------------------------------

CategoryArray Con_DetailClass::Array(Kind k) {
    switch (k) {
    case IMPORTANT: return {m_szImportant, &m_nImportant, MAX_IMPORTANT, nullptr, &m_bCategoryNotice};
    case RELATION: return {m_szRelation, &m_nRelation, MAX_RELATION, nullptr, &m_bCategoryNotice};
    case INDUSTRY: return {m_szIndustry, &m_nIndustry, MAX_INDUSTRY, nullptr, &m_bCategoryNotice};
    case PROVINCE: break;
    }
    return {m_szProvince, &m_nProvince, MAX_PROVINCE, nullptr, &m_bCategoryNotice};
}

int Con_DetailClass::LoadTable(Kind k) { return LoadLookupTable(kCategories[k].pszTable, Array(k)); }

int Con_DetailClass::GetCategories(Kind k) {
    return GatherCategories(kCategories[k].pszTable, kCategories[k].pszInUse, Array(k));
}

int Con_DetailClass::CountBy(Kind k) {
    GetCategories(k);
    const CountTexts texts = {
        kCategories[k].pszCount,
        kCategories[k].pszCount,
        "Acc_DetailClass.cpp 645: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 670: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 652: co_SQLGetData Error.",
        nullptr,
    };
    return CountPerCategory(Array(k), texts, m_iCount, nullptr);
}

int Con_DetailClass::GetByCategory(Kind k, const char* pszName) {
    if (FormatCategoryQuery(Steer(), kCategories[k].pszPlain, kCategories[k].pszSorted, pszName) == -1) return -1;
    return ccd_LoadRecords();
}

int Con_DetailClass::ccd_LoadImportantTable() { return LoadTable(IMPORTANT); }
int Con_DetailClass::ccd_LoadRelationTable() { return LoadTable(RELATION); }
int Con_DetailClass::ccd_LoadIndustryTable() { return LoadTable(INDUSTRY); }
int Con_DetailClass::ccd_LoadProvinceTable() { return LoadTable(PROVINCE); }
int Con_DetailClass::ccd_GetImportantCategories() { return GetCategories(IMPORTANT); }
int Con_DetailClass::ccd_GetRelationCategories() { return GetCategories(RELATION); }
int Con_DetailClass::ccd_GetIndustryCategories() { return GetCategories(INDUSTRY); }
int Con_DetailClass::ccd_GetProvinceCategories() { return GetCategories(PROVINCE); }
int Con_DetailClass::ccd_CountByImportant() { return CountBy(IMPORTANT); }
int Con_DetailClass::ccd_CountByRelation() { return CountBy(RELATION); }
int Con_DetailClass::ccd_CountByIndustry() { return CountBy(INDUSTRY); }
int Con_DetailClass::ccd_CountByProvince() { return CountBy(PROVINCE); }
int Con_DetailClass::ccd_GetByImportant(const char* pszName) { return GetByCategory(IMPORTANT, pszName); }
int Con_DetailClass::ccd_GetByRelation(const char* pszName) { return GetByCategory(RELATION, pszName); }
int Con_DetailClass::ccd_GetByIndustry(const char* pszName) { return GetByCategory(INDUSTRY, pszName); }
int Con_DetailClass::ccd_GetByProvince(const char* pszName) { return GetByCategory(PROVINCE, pszName); }

int Con_DetailClass::ccd_CountByOpportunities() {
    m_iCount[0] = m_iCount[1] = 0;
    static const char* const kMsg = "Acc_DetailClass.cpp 645: co_ExecSQL Error.";
    if (CountRows("SELECT DISTINCT con_id \t\tFROM rel_opportunities_contacts WHERE opp_id<>0", &m_iCount[0], kMsg) ==
        -1)
        return -1;
    return CountRows("SELECT DISTINCT con_id \t\tFROM rel_opportunities_contacts WHERE opp_id IS NULL", &m_iCount[1],
                     kMsg);
}

int Con_DetailClass::ccd_GetOpportunitiesCategoryName(int iCategory, char* pszName) {
    if (iCategory == 0) {
        strcpy(pszName, "存在销售机会");
        return 0;
    }
    if (iCategory == 1) {
        strcpy(pszName, "不存在销售机会");
        return 0;
    }
    return -1;
}

// Column 20 is the account's type, as in every contact list: the mail page
// leaves the contacts of a competitor unticked by it.
#define CON_GROUPED                                                                                                    \
    "SELECT con_id,MIN(con_name) AS 2,MIN(con_nickname) AS 3,\t\t\t\tMIN(con_name) AS 4,\t\t\t\t"                      \
    "MIN(con_department_title) AS 5,MIN(con_telephone) AS 6,\t\t\t\tMIN(con_mobile) AS 7,MIN(con_email) AS 8,"         \
    "MIN(con_important) AS 9,\t\t\t\tMIN(con_relation) AS 10,MIN(con_create_date) AS 11,\t\t\t\t"                      \
    "MIN(con_recent_contact_date) AS 12,MIN(con_private) AS 13,\t\t\t\tMIN(con_province) AS 14,MIN(con_family) AS 15," \
    "MIN(con_postcode) AS 16,\t\t\t\tMIN(con_im) AS 17,MIN(acc_name) AS 18,\t\t\t\tMIN(acc_name) AS 19,"               \
    "MIN(acc_type) AS 20 \t\t\t\t"

int Con_DetailClass::ccd_GetByOpportunities(int iCategory) {
    const Steering byNumber = {m_iQueryMode, m_bSearch, m_iSortColumn, m_bDesc, kSortNumbers, SORT_COLUMNS};
    const char* pszPlain =
        iCategory == 0 ? CON_GROUPED "FROM rel_opportunities_contacts WHERE opp_id<>0 GROUP BY con_id"
                       : CON_GROUPED
            "FROM rel_opportunities_contacts WHERE \t\t\t\topp_id IS NULL GROUP BY con_id ORDER BY 2 DESC";
    const char* pszSorted =
        iCategory == 0
            ? CON_GROUPED "FROM rel_opportunities_contacts \t\t\t\t\tWHERE opp_id<>0 GROUP BY con_id ORDER BY %s"
            : CON_GROUPED "FROM rel_opportunities_contacts \t\t\t\t\tWHERE opp_id IS NULL GROUP BY con_id ORDER BY %s";
    if (FormatGroupedQuery(byNumber, pszPlain, pszSorted) == -1) return -1;
    return ccd_LoadRecords();
}
