#include "store/Acc_DetailClass.h"

#include <cstddef>
#include <cstring>
#include <iterator>

using namespace store;

#define ACC(f) offsetof(AccNode, f)
#define READ_303 "Opp_DetailClass.cpp 303: co_SQLGetData Error."
#define READ_358 "Opp_DetailClass.cpp 358: co_SQLGetData Error."

// Columns 1-16 of every account statement; cad_GetAccount reads 2-16.
static const ColumnSpec kColumns[] = {
    {1, COL_LONG, ACC(acc_id), 0, "Opp_DetailClass.cpp 295: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {2, COL_TEXT, ACC(acc_name), 50, READ_303, nullptr, nullptr, nullptr},
    {3, COL_MEMO, ACC(acc_description), 0, "Opp_DetailClass.cpp 312: co_GetDataLen Error.", nullptr,
     "Opp_DetailClass.cpp 317: cod_AllocNodeDescription6 Error.", "Opp_DetailClass.cpp 323: co_SQLGetData Error."},
    {4, COL_TEXT, ACC(acc_important), 50, READ_358, nullptr, nullptr, nullptr},
    {5, COL_TEXT, ACC(acc_type), 50, READ_358, nullptr, nullptr, nullptr},
    {6, COL_TEXT, ACC(acc_industry), 50, READ_358, nullptr, nullptr, nullptr},
    {7, COL_TEXT, ACC(acc_relation), 50, READ_358, nullptr, nullptr, nullptr},
    {8, COL_TEXT, ACC(acc_address), 50, READ_303, nullptr, nullptr, nullptr},
    {9, COL_TEXT, ACC(acc_postcode), 10, READ_303, nullptr, nullptr, nullptr},
    {10, COL_TEXT, ACC(acc_province), 50, READ_358, nullptr, nullptr, nullptr},
    {11, COL_TEXT, ACC(acc_telephone), 50, READ_303, nullptr, nullptr, nullptr},
    {12, COL_TEXT, ACC(acc_fax), 50, READ_303, nullptr, nullptr, nullptr},
    {13, COL_TEXT, ACC(acc_website), 50, READ_303, nullptr, nullptr, nullptr},
    {14, COL_DATE, ACC(acc_create_date), 0, "Opp_DetailClass.cpp 330: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {15, COL_DATE, ACC(acc_recent_contact_date), 0, "Opp_DetailClass.cpp 381: co_SQLGetData Error.", nullptr, nullptr,
     nullptr},
    {16, COL_LONG, ACC(acc_private), 0, "Opp_DetailClass.cpp 389: co_SQLGetData Error.", nullptr, nullptr, nullptr},
};

static const LoaderTexts kLoaderTexts = {
    "Opp_DetailClass.cpp 277: co_ExecSQL Error.",
    "Opp_DetailClass.cpp 282: cod_AllocHead Error.",
    "Opp_DetailClass.cpp 398: cod_AllocNode Error.",
    "Acc_DetailClass.cpp 79: new Error",
};

static const char* const kSortColumns[Acc_DetailClass::SORT_COLUMNS] = {
    "acc_name",     "acc_type",     "acc_important",           "acc_relation",
    "acc_industry", "acc_province", "acc_recent_contact_date", "acc_create_date",
};
// The same columns by their number in the grouped select list.
static const char* const kSortNumbers[Acc_DetailClass::SORT_COLUMNS] = {"2", "5", "4", "7", "6", "10", "15", "14"};

static const char* const kExecMsg = "Acc_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kLinkExecMsg = "Con_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kLastIdMsg = "Con_DetailClass. 63: ccd_GetLastContactID Error.";
static const char* const kDeleteMsg = "Opp_DetailClass.cpp 277: co_ExecSQL Error.";

// The five account categories: lookup table, values in use, listing, count.
struct AccCategory {
    const char* pszTable;
    const char* pszInUse;
    const char* pszPlain;
    const char* pszSorted;
    const char* pszCountFirst;
    const char* pszCountLater;
};

#define ACC_CATEGORY(table, col)                                                                             \
    {                                                                                                        \
        "SELECT * FROM " table, "SELECT " col " FROM accounts", "SELECT * FROM accounts WHERE " col "='%s'", \
            "SELECT * FROM accounts \t\t\t\t\tWHERE " col "='%s' \t\t\t\t\tORDER BY %s",                     \
            "SELECT COUNT(*) \t\tFROM accounts WHERE " col "='%s'",                                          \
            "SELECT COUNT(*) \t\t\tFROM accounts WHERE " col "='%s'"                                         \
    }

static const AccCategory kCategories[] = {
    ACC_CATEGORY("important", "acc_important"), ACC_CATEGORY("type", "acc_type"),
    ACC_CATEGORY("relation", "acc_relation"),   ACC_CATEGORY("industry", "acc_industry"),
    ACC_CATEGORY("province", "acc_province"),
};

Acc_DetailClass::~Acc_DetailClass() { cad_FreeList(); }

int Acc_DetailClass::cad_AllocHead() {
    return ListAllocHead(m_pAccHead, m_pCurrent, "Acc_DetailClass.cpp 79: new Error");
}
int Acc_DetailClass::cad_AllocNode() { return ListAllocNode(m_pAccHead, m_pCurrent); }
int Acc_DetailClass::cad_AllocNodeDescription(unsigned nLength) {
    return ListAllocDescription(m_pCurrent, &AccNode::acc_description, nLength);
}
void Acc_DetailClass::cad_NextNode() {
    if (m_pCurrent) m_pCurrent = m_pCurrent->next;
}
void Acc_DetailClass::cad_FreeList() { ListFree(m_pAccHead, m_pCurrent, &AccNode::acc_description); }
void Acc_DetailClass::cad_EscapeQuotes(const char* pszSource, char* pszTarget) { EscapeQuotes(pszSource, pszTarget); }

int Acc_DetailClass::cad_LoadRecords() {
    return LoadRows(m_pAccHead, m_pCurrent, &AccNode::acc_description, kColumns, std::size(kColumns), kLoaderTexts);
}

int Acc_DetailClass::cad_GetAccount(ULONG ulAccID) {
    int r = ReadRecord(
        FormatSQL("SELECT * FROM accounts WHERE acc_id=%d", (int)ulAccID), m_pAccHead, m_pCurrent,
        "Acc_DetailClass.cpp 79: new Error", [&](AccNode& n) { n.acc_id = ulAccID; }, true, kColumns + 1,
        std::size(kColumns) - 1);
    m_bFound = r == 1;  // no such account: the head holds only the id
    return r == -1 ? -1 : 0;
}

// The twelve texts, two dates and flag of the cursor node, in the order of
// the INSERT and UPDATE statements.
#define ACC_VALUES(p)                                                                                          \
    p->acc_name, p->acc_description ? p->acc_description : "", p->acc_important, p->acc_type, p->acc_industry, \
        p->acc_relation, p->acc_address, p->acc_postcode, p->acc_province, p->acc_telephone, p->acc_fax,       \
        p->acc_website, p->acc_create_date.year, p->acc_create_date.month, p->acc_create_date.day,             \
        p->acc_recent_contact_date.year, p->acc_recent_contact_date.month, p->acc_recent_contact_date.day,     \
        p->acc_private

int Acc_DetailClass::cad_AddAccount() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    const AccNode* p = m_pCurrent;
    if (!p) return -1;
    if (FormatSQL("INSERT INTO "
                  "accounts(acc_name,acc_description,\t\tacc_important,acc_type,acc_industry,acc_relation,acc_address,"
                  "acc_postcode,\t\tacc_province,acc_telephone,acc_fax,acc_website,acc_create_date,\t\tacc_recent_"
                  "contact_date,acc_private) "
                  "\t\tVALUES('%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s',#%d-%d-%d#,#%d-%d-%d#,%d)",
                  ACC_VALUES(p)) == -1 ||
        ExecOrShow(kExecMsg) == -1)
        return -1;
    // The new id is read before the commit: an add is stored with its id
    // known, or not at all.
    if (cad_GetLastAccountID() == -1) {
        ShowError(kLastIdMsg);
        return -1;
    }
    // The new account is tied to the opportunity and the task it was added for.
    const struct {
        ULONG ulID;
        const char* pszSQL;
    } kLinks[] = {
        {m_ulOppID, "INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(%d,%d)"},
        {m_ulTasID, "INSERT INTO accounts_tasks(tas_id,acc_id) VALUES(%d,%d)"},
    };
    for (const auto& l : kLinks) {
        if (l.ulID == 0) continue;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        if (FormatSQL(l.pszSQL, (int)l.ulID, (int)m_ulAccID) == -1 || ExecOrShow(kLinkExecMsg) == -1) return -1;
#pragma GCC diagnostic pop
    }
    return t.Finish(0);
}

int Acc_DetailClass::cad_GetLastAccountID() {
    int nID = (int)m_ulAccID;
    if (SetSQL("SELECT acc_id FROM accounts ORDER BY acc_id DESC") == -1) return -1;
    if (ReadFirstLong(kExecMsg, "Opp_DetailClass.cpp 295: co_SQLGetData Error.", &nID) == -1) return -1;
    m_ulAccID = (ULONG)nID;
    return 0;
}

int Acc_DetailClass::cad_ChageAccount(ULONG ulAccID) {
    const AccNode* p = m_pCurrent;
    if (!p) return -1;
    if (FormatSQL("UPDATE accounts SET "
                  "acc_name='%s',\t\tacc_description='%s',acc_important='%s',acc_type='%s',acc_industry='%s',\t\tacc_"
                  "relation='%s',acc_address='%s',acc_postcode='%s',acc_province='%s',\t\tacc_telephone='%s',acc_fax='%"
                  "s',acc_website='%s',acc_create_date=#%d-%d-%d#,\t\tacc_recent_contact_date=#%d-%d-%d#,acc_private=%"
                  "d WHERE acc_id=%d",
                  ACC_VALUES(p), (int)ulAccID) == -1)
        return -1;
    return ExecOrShow(kExecMsg);  // -100 when no account has that id any more
}

int Acc_DetailClass::cad_DeleteAccount(ULONG ulAccID) {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    // Link rows first and the account last, so that a failure part-way
    // never leaves links to a deleted account.
    static const struct {
        const char* pszSQL;
        const char* pszMsg;
    } kSteps[] = {
        {"DELETE * FROM opportunities_accounts WHERE acc_id=%d", kDeleteMsg},
        {"DELETE * FROM accounts_contacts WHERE acc_id=%d", kDeleteMsg},
        {"DELETE * FROM accounts_tasks WHERE acc_id=%d", kDeleteMsg},
        {"UPDATE opportunities_contacts SET acc_id=0 \t\tWHERE acc_id=%d", kExecMsg},
        {"DELETE * FROM accounts WHERE acc_id=%d", kDeleteMsg},
    };
    for (const auto& step : kSteps)
        if (FormatSQL(step.pszSQL, (int)ulAccID) == -1 || ExecOrShow(step.pszMsg) == -1) return -1;
    return t.Finish(0);
}

int Acc_DetailClass::cad_LinkAccount() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulOppID != 0 && LinkIfMissing("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=%d AND acc_id=%d",
                                        "INSERT INTO opportunities_accounts(opp_id,acc_id) VALUES(%d,%d)", 2, m_ulOppID,
                                        m_ulAccID, 0) == -1)
        return -1;
    if (m_ulTasID != 0 &&
        LinkIfMissing("SELECT COUNT(*) FROM accounts_tasks WHERE tas_id=%d AND acc_id=%d",
                      "INSERT INTO accounts_tasks(tas_id,acc_id) VALUES(%d,%d)", 2, m_ulTasID, m_ulAccID, 0) == -1)
        return -1;
    return t.Finish(0);
}

int Acc_DetailClass::cad_UnlinkAccount() {
    Transaction t;  // all of the statements below or none
    if (!t.IsOpen()) return -1;
    if (m_ulOppID != 0) {
        if (FormatSQL("DELETE * FROM opportunities_accounts \t\t\tWHERE (acc_id=%d AND opp_id=%d)", (int)m_ulAccID,
                      (int)m_ulOppID) == -1 ||
            ExecOrShow(kDeleteMsg) == -1)
            return -1;
        if (FormatSQL("DELETE * FROM opportunities_contacts \t\t\tWHERE (acc_id=%d AND opp_id=%d)", (int)m_ulAccID,
                      (int)m_ulOppID) == -1 ||
            ExecOrShow(kDeleteMsg) == -1)
            return -1;
    }
    if (m_ulTasID != 0 && (FormatSQL("DELETE * FROM accounts_tasks \t\t\tWHERE (acc_id=%d AND tas_id=%d)",
                                     (int)m_ulAccID, (int)m_ulTasID) == -1 ||
                           ExecOrShow(kDeleteMsg) == -1))
        return -1;
    return t.Finish(0);
}

static const KeywordQueryTexts kAllTexts = {
    "SELECT * FROM accounts WHERE \t\t\tacc_name LIKE '%%%s%%' OR acc_description LIKE '%%%s%%'",
    "SELECT * FROM accounts WHERE \t\t\t\t\tacc_name LIKE '%%%s%%'  OR acc_description LIKE '%%%s%%' \t\t\t\t\tORDER "
    "BY %s",
    "SELECT * FROM accounts WHERE \t\t\t\t\tacc_name LIKE '%%%s%%' OR acc_description LIKE '%%%s%%' \t\t\t\t\tORDER BY "
    "%s DESC",
    "SELECT * FROM accounts \t\t\t\t\tORDER BY %s",
    "SELECT * FROM accounts \t\t\t\t\tORDER BY %s DESC",
    "SELECT * FROM accounts",
    2,
};

int Acc_DetailClass::cad_GetAllAccounts() {
    if (FormatKeywordQuery(Steer(), kAllTexts, m_szKeyword) == -1) return -1;
    return cad_LoadRecords();
}

Steering Acc_DetailClass::Steer() {
    return {m_iQueryMode, m_bSearch, m_iSortColumn, m_bDesc, kSortColumns, SORT_COLUMNS};
}

int Acc_DetailClass::GetByCategory(Kind k, const char* pszName) {
    if (FormatCategoryQuery(Steer(), kCategories[k].pszPlain, kCategories[k].pszSorted, pszName) == -1) return -1;
    return cad_LoadRecords();
}

int Acc_DetailClass::cad_GetByImportant(const char* pszName) { return GetByCategory(IMPORTANT, pszName); }
int Acc_DetailClass::cad_GetByType(const char* pszName) { return GetByCategory(TYPE, pszName); }
int Acc_DetailClass::cad_GetByRelation(const char* pszName) { return GetByCategory(RELATION, pszName); }
int Acc_DetailClass::cad_GetByIndustry(const char* pszName) { return GetByCategory(INDUSTRY, pszName); }
int Acc_DetailClass::cad_GetByProvince(const char* pszName) { return GetByCategory(PROVINCE, pszName); }

#define ACC_GROUPED                                                                                               \
    "SELECT MIN(acc_id) AS 1,MIN(acc_name) AS 2,MIN(acc_name) AS 3,\t\t\t\tMIN(acc_important) AS "                \
    "4,\t\t\t\tMIN(acc_type) AS 5,"                                                                               \
    "MIN(acc_industry) AS 6,\t\t\t\tMIN(acc_relation) AS 7,MIN(acc_address) AS 8,MIN(acc_postcode) AS 9,\t\t\t\t" \
    "MIN(acc_province) AS 10,MIN(acc_telephone) AS 11,\t\t\t\tMIN(acc_fax) AS 12,MIN(acc_website) AS 13,"         \
    "MIN(acc_create_date) AS 14,\t\t\t\tMIN(acc_recent_contact_date) AS 15,\t\t\t\tMIN(acc_private) AS "          \
    "16,MIN(opp_id) AS 17"

int Acc_DetailClass::cad_GetByOpportunities(int iCategory) {
    const char* pszPlain = iCategory == 0 ? ACC_GROUPED
                               " \t\t\t\tFROM rel_opportunities_accounts WHERE opp_id<>0 GROUP BY acc_id"
                                          : ACC_GROUPED
                               " \t\t\t\tFROM rel_opportunities_accounts WHERE \t\t\t\topp_id IS NULL GROUP BY acc_id";
    const char* pszSorted =
        iCategory == 0 ? ACC_GROUPED
            " FROM rel_opportunities_accounts \t\t\t\t\t\tWHERE opp_id<>0 GROUP BY acc_id ORDER BY %s"
                       : ACC_GROUPED
            " FROM rel_opportunities_accounts \t\t\t\t\t\tWHERE opp_id IS NULL GROUP BY acc_id ORDER BY %s";
    const Steering byNumber = {m_iQueryMode, m_bSearch, m_iSortColumn, m_bDesc, kSortNumbers, SORT_COLUMNS};
    if (FormatGroupedQuery(byNumber, pszPlain, pszSorted) == -1) return -1;
    return cad_LoadRecords();
}

int Acc_DetailClass::DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom,
                               const SYSTEMTIME& stTo) {
    if (FormatDateQuery(Steer(), pszPlain, pszSorted, pFrom, stTo) == -1) return -1;
    return cad_LoadRecords();
}

int Acc_DetailClass::cad_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery("SELECT * FROM accounts WHERE (acc_create_date>=#%d-%d-%d# \t\tAND acc_create_date<=#%d-%d-%d#)",
                     "SELECT * FROM accounts WHERE \t\t\t\t(acc_create_date>=#%d-%d-%d# AND "
                     "acc_create_date<=#%d-%d-%d#) \t\t\t\tORDER BY %s",
                     &stFrom, stTo);
}

int Acc_DetailClass::cad_NoTrack(const SYSTEMTIME& stDate) {
    return DateQuery("SELECT * FROM accounts WHERE acc_recent_contact_date<=#%d-%d-%d#",
                     "SELECT * FROM accounts WHERE \t\t\t\tacc_recent_contact_date<=#%d-%d-%d# \t\t\t\tORDER BY %s",
                     nullptr, stDate);
}

int Acc_DetailClass::cad_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return DateQuery(
        "SELECT * FROM accounts WHERE (acc_recent_contact_date>=#%d-%d-%d# \t\tAND "
        "acc_recent_contact_date<=#%d-%d-%d#)",
        "SELECT * FROM accounts WHERE \t\t\t\t(acc_recent_contact_date>=#%d-%d-%d# \t\t\t\tAND "
        "acc_recent_contact_date<=#%d-%d-%d#) \t\t\t\tORDER BY %s",
        &stFrom, stTo);
}

#define ACC_LINKED_COLUMNS                                                                                         \
    "SELECT acc_id,acc_name,acc_description,acc_important,\t\tacc_type,acc_industry,acc_relation,acc_address,"     \
    "acc_postcode,acc_province,acc_telephone,\t\tacc_fax,acc_website,acc_create_date,acc_recent_contact_date,acc_" \
    "private \t\t"

int Acc_DetailClass::cad_GetByOpportunity(ULONG ulOppID) {
    if (FormatSQL(ACC_LINKED_COLUMNS "FROM rel_opportunities_accounts WHERE opp_id=%d", (int)ulOppID) == -1) return -1;
    return cad_LoadRecords();
}

int Acc_DetailClass::cad_GetByTask(ULONG ulTasID) {
    if (FormatSQL(ACC_LINKED_COLUMNS "FROM rel_tasks_accounts WHERE tas_id=%d", (int)ulTasID) == -1) return -1;
    return cad_LoadRecords();
}

// ---------------------------------------------------------------------------
// Categories
// ---------------------------------------------------------------------------

CategoryArray Acc_DetailClass::Array(Kind k) {
    switch (k) {
    case IMPORTANT: return {m_szImportant, &m_nImportant, MAX_IMPORTANT, nullptr, &m_bCategoryNotice};
    case TYPE: return {m_szType, &m_nType, MAX_TYPE, nullptr, &m_bCategoryNotice};
    case RELATION: return {m_szRelation, &m_nRelation, MAX_RELATION, nullptr, &m_bCategoryNotice};
    case INDUSTRY: return {m_szIndustry, &m_nIndustry, MAX_INDUSTRY, nullptr, &m_bCategoryNotice};
    case PROVINCE: break;
    }
    return {m_szProvince, &m_nProvince, MAX_PROVINCE, nullptr, &m_bCategoryNotice};
}

int Acc_DetailClass::LoadTable(Kind k) { return LoadLookupTable(kCategories[k].pszTable, Array(k)); }

int Acc_DetailClass::GetCategories(Kind k) {
    return GatherCategories(kCategories[k].pszTable, kCategories[k].pszInUse, Array(k));
}

int Acc_DetailClass::CountBy(Kind k) {
    GetCategories(k);
    const CountTexts texts = {
        kCategories[k].pszCountFirst,
        kCategories[k].pszCountLater,
        "Acc_DetailClass.cpp 645: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 670: co_ExecSQL Error.",
        "Opp_DetailClass.cpp 652: co_SQLGetData Error.",
        nullptr,
    };
    return CountPerCategory(Array(k), texts, m_iCount, nullptr);
}

int Acc_DetailClass::cad_LoadImportantTable() { return LoadTable(IMPORTANT); }
int Acc_DetailClass::cad_LoadTypeTable() { return LoadTable(TYPE); }
int Acc_DetailClass::cad_LoadRelationTable() { return LoadTable(RELATION); }
int Acc_DetailClass::cad_LoadIndustryTable() { return LoadTable(INDUSTRY); }
int Acc_DetailClass::cad_LoadProvinceTable() { return LoadTable(PROVINCE); }
int Acc_DetailClass::cad_GetImportantCategories() { return GetCategories(IMPORTANT); }
int Acc_DetailClass::cad_GetTypeCategories() { return GetCategories(TYPE); }
int Acc_DetailClass::cad_GetRelationCategories() { return GetCategories(RELATION); }
int Acc_DetailClass::cad_GetIndustryCategories() { return GetCategories(INDUSTRY); }
int Acc_DetailClass::cad_GetProvinceCategories() { return GetCategories(PROVINCE); }
int Acc_DetailClass::cad_CountByImportant() { return CountBy(IMPORTANT); }
int Acc_DetailClass::cad_CountByType() { return CountBy(TYPE); }
int Acc_DetailClass::cad_CountByRelation() { return CountBy(RELATION); }
int Acc_DetailClass::cad_CountByIndustry() { return CountBy(INDUSTRY); }
int Acc_DetailClass::cad_CountByProvince() { return CountBy(PROVINCE); }

int Acc_DetailClass::cad_CountByOpportunities() {
    m_iCount[0] = m_iCount[1] = 0;
    static const char* const kMsg = "Acc_DetailClass.cpp 645: co_ExecSQL Error.";
    if (CountRows("SELECT DISTINCT acc_id \t\tFROM rel_opportunities_accounts WHERE opp_id<>0", &m_iCount[0], kMsg) ==
        -1)
        return -1;
    return CountRows("SELECT DISTINCT acc_id \t\tFROM rel_opportunities_accounts WHERE opp_id IS NULL", &m_iCount[1],
                     kMsg);
}

int Acc_DetailClass::cad_GetOpportunitiesCategoryName(int iCategory, char* pszName) {
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
