#include "store/SettingClass.h"

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "store/md5.h"

using namespace store;

SettingClass g_Setting;

#define CAT(f) offsetof(CategoryNode, f)

static const ColumnSpec kCategoryColumns[] = {
    {1, COL_TEXT, CAT(description), 50, "Opp_DetailClass.cpp 303: co_SQLGetData Error.", nullptr, nullptr, nullptr},
    {2, COL_TEXT, CAT(probability), 10, "Opp_DetailClass.cpp 303: co_SQLGetData Error.", nullptr, nullptr, nullptr},
};

static const LoaderTexts kLoaderTexts = {
    "Opp_DetailClass.cpp 277: co_ExecSQL Error.",
    "Opp_DetailClass.cpp 282: cod_AllocHead Error.",
    "Opp_DetailClass.cpp 398: cod_AllocNode Error.",
    "Opp_DetailClass.cpp 79: new Error",
};

static const char* const kExecMsg = "Opp_DetailClass.cpp 66: co_ExecSQL Error.";
static const char* const kSelectMsg = "Opp_DetailClass.cpp 277: co_ExecSQL Error.";
static const char* const kReadMsg = "Opp_DetailClass.cpp 303: co_SQLGetData Error.";

SettingClass::~SettingClass() { cst_FreeList(); }

int SettingClass::cst_AllocHead() {
    return ListAllocHead(m_pCategoryHead, m_pCurrent, "Opp_DetailClass.cpp 79: new Error");
}
int SettingClass::cst_AllocNode() { return ListAllocNode(m_pCategoryHead, m_pCurrent); }
void SettingClass::cst_FreeList() { ListFree<CategoryNode>(m_pCategoryHead, m_pCurrent, nullptr); }
void SettingClass::cst_NextNode() {
    if (m_pCurrent) m_pCurrent = m_pCurrent->next;
}

int SettingClass::LoadList(bool bPhase) {
    return LoadRows<CategoryNode>(m_pCategoryHead, m_pCurrent, nullptr, kCategoryColumns, bPhase ? 2 : 1, kLoaderTexts);
}

int SettingClass::cst_LoadCategoryList() { return LoadList(false); }
int SettingClass::cst_LoadPhaseList() { return LoadList(true); }

void SettingClass::cst_GetImportant() {
    if (SetSQL("SELECT * FROM Important") == 0) cst_LoadCategoryList();
}
void SettingClass::cst_GetRelation() {
    if (SetSQL("SELECT * FROM Relation") == 0) cst_LoadCategoryList();
}
void SettingClass::cst_GetProvince() {
    if (SetSQL("SELECT * FROM Province") == 0) cst_LoadCategoryList();
}
void SettingClass::cst_GetPhase() {
    if (SetSQL("SELECT * FROM Phase") == 0) cst_LoadPhaseList();
}
void SettingClass::cst_GetIndustry() {
    if (SetSQL("SELECT * FROM Industry") == 0) cst_LoadCategoryList();
}
void SettingClass::cst_GetType() {
    if (SetSQL("SELECT * FROM Type") == 0) cst_LoadCategoryList();
}

// Statements of the lookup changes, by category number.
struct LookupStatements {
    const char* pszInsert;
    const char* pszUpdate;
    const char* pszDelete;
};

#define LOOKUP(table, col)                                                                                             \
    {                                                                                                                  \
        "INSERT INTO " table "(" col ") \t\t\tVALUES('%s')",                                                           \
            "UPDATE " table " SET " col "='%s' \t\t\tWHERE " col "='%s'", "DELETE * FROM " table " WHERE " col "='%s'" \
    }

static const LookupStatements kLookups[6] = {
    LOOKUP("important", "imp_description"),
    LOOKUP("relation", "rel_description"),
    LOOKUP("province", "pro_description"),
    {"INSERT INTO phase(pha_description,\t\t\tpha_succeed_probability) VALUES('%s',%d)",
     // The probability is a number: written as one, as the INSERT does.
     "UPDATE phase SET pha_description='%s',\t\t\tpha_succeed_probability=%d \t\t\tWHERE pha_description='%s'",
     "DELETE * FROM phase WHERE pha_description='%s'"},
    LOOKUP("industry", "ind_description"),
    LOOKUP("type", "typ_description"),
};

// The probability text read as a decimal whole number (leading blanks and a
// sign allowed); 0 when no digit follows.
static int ProbabilityValue(const char* pszText) {
    long n = strtol(pszText, nullptr, 10);
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return (int)n;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

int SettingClass::cst_AddCategory() {
    if (m_iCategory < 0 || m_iCategory > 5) return -1;
    const LookupStatements& s = kLookups[m_iCategory];
    int r = m_iCategory == 3 ? FormatSQL(s.pszInsert, m_szNewDescription, ProbabilityValue(m_szProbability))
                             : FormatSQL(s.pszInsert, m_szNewDescription);
    if (r == -1) return -1;
    return ExecOrShow(kExecMsg) == -1 ? -1 : 0;
}

int SettingClass::cst_UpdateCategory() {
    if (m_iCategory < 0 || m_iCategory > 5) return -1;
    const LookupStatements& s = kLookups[m_iCategory];
    int r = m_iCategory == 3
                ? FormatSQL(s.pszUpdate, m_szNewDescription, ProbabilityValue(m_szProbability), m_szOldDescription)
                : FormatSQL(s.pszUpdate, m_szNewDescription, m_szOldDescription);
    if (r == -1) return -1;
    return ExecOrShow(kExecMsg) == -1 ? -1 : 0;
}

int SettingClass::cst_DeleteCategory() {
    if (m_iCategory < 0 || m_iCategory > 5) return -1;
    if (FormatSQL(kLookups[m_iCategory].pszDelete, m_szOldDescription) == -1) return -1;
    return ExecOrShow(kExecMsg) == -1 ? -1 : 0;
}

#pragma GCC diagnostic pop

#define SET(f) offsetof(SettingClass, f)

// The file lacks the settings row: its reads and writes are failures, never
// silently empty (the first-run wizard must not run over existing data).

// Runs a fixed SELECT of the settings row and reads the columns of its first
// row into the object. Result 0, or -1 after a message (also when no row).
static int ReadSettingsRow(const char* pszSQL, SettingClass* pObject, const ColumnSpec* pColumns, size_t nColumns) {
    if (SetSQL(pszSQL) == -1 || ExecOrShow(kSelectMsg) == -1) return -1;
    int nRow = FetchRow();
    if (nRow < 0) {
        ShowError(kSelectMsg);
        return -1;
    }
    if (nRow == 0) {
        ShowError(msg::kNoSettingsRowRead);
        return -1;
    }
    if (ReadColumns(pObject, pColumns, nColumns, false) == -1) return -1;
    g_ODBC.co_CloseStatement();
    return 0;
}

// Runs a settings UPDATE: 0, or -1 after a message (also when it touched no row).
static int WriteSettingsRow() {
    int r = ExecOrShow(kExecMsg);
    if (r == -100) {
        ShowError(msg::kNoSettingsRowSaved);
        return -1;
    }
    return r == -1 ? -1 : 0;
}

int SettingClass::cst_GetMailSetting() {
    static const ColumnSpec kMailColumns[] = {
        {2, COL_TEXT, SET(set_emailaddress), 256, kReadMsg, nullptr, nullptr, nullptr},
        {3, COL_TEXT, SET(set_smtpserver), 256, kReadMsg, nullptr, nullptr, nullptr},
        {4, COL_TEXT, SET(set_user), 50, kReadMsg, nullptr, nullptr, nullptr},
        {5, COL_TEXT, SET(set_pwd), 50, kReadMsg, nullptr, nullptr, nullptr},
        {6, COL_TEXT, SET(set_port), 10, kReadMsg, nullptr, nullptr, nullptr},
        {7, COL_LONG, SET(set_esmtp), 0, kReadMsg, nullptr, nullptr, nullptr},
        {8, COL_LONG, SET(set_ssl), 0, kReadMsg, nullptr, nullptr, nullptr},
        {9, COL_TEXT, SET(set_sign), 256, kReadMsg, nullptr, nullptr, nullptr},
        {10, COL_TEXT, SET(set_name), 50, kReadMsg, nullptr, nullptr, nullptr},
        {17, COL_LONG, SET(set_againtime), 0, kReadMsg, nullptr, nullptr, nullptr},
    };
    return ReadSettingsRow("SELECT * FROM setting", this, kMailColumns, std::size(kMailColumns));
}

int SettingClass::cst_SaveMailSetting() {
    if (FormatSQL("UPDATE setting SET set_emailaddress='%s',\t\tset_smtpserver='%s', "
                  "set_user='%s',set_pwd='%s',\t\tset_port='%s',set_esmtp=%d,set_ssl=%d,set_sign='%s',set_name='%s',"
                  "set_againtime=%d WHERE set_id=1",
                  set_emailaddress, set_smtpserver, set_user, set_pwd, set_port, set_esmtp, set_ssl, set_sign, set_name,
                  set_againtime) == -1)
        return -1;
    return WriteSettingsRow();
}

int SettingClass::cst_GetInit() {
    static const ColumnSpec kInitColumn[] = {{1, COL_LONG, SET(set_init), 0, kReadMsg, nullptr, nullptr, nullptr}};
    return ReadSettingsRow("SELECT set_init FROM setting", this, kInitColumn, 1);
}

int SettingClass::cst_SetInit() {
    if (FormatSQL("UPDATE setting SET set_init=%d \t\t\tWHERE set_id=1", set_init) == -1) return -1;
    return WriteSettingsRow();
}

// Digest text of the password in set_pwd (a bounded local copy, wiped after use).
static void PasswordDigest(const char* pszPassword, char szDigest[33]) {
    char szLocal[50];
    size_t n = strnlen(pszPassword, sizeof szLocal - 1);
    memcpy(szLocal, pszPassword, n);
    szLocal[n] = '\0';
    MD5DigestText(szLocal, szDigest);
    explicit_bzero(szLocal, sizeof szLocal);  // a wipe the compiler may not drop
}

int SettingClass::cst_SetLogin() {
    char szDigest[33];
    PasswordDigest(set_pwd, szDigest);
    if (FormatSQL("UPDATE setting SET set_loginname='%s',\t\tset_loginpwd='%s' WHERE set_id=1", set_user, szDigest) ==
        -1)
        return -1;
    return WriteSettingsRow();
}

int SettingClass::cst_CheckLogin() {
    m_iCategory = 0;  // no match until a stored digest equals the typed password's
    char szDigest[33];
    PasswordDigest(set_pwd, szDigest);
    static const ColumnSpec kLoginColumns[] = {
        {1, COL_TEXT, SET(set_user), 50, kReadMsg, nullptr, nullptr, nullptr},
        {2, COL_TEXT, SET(set_pwd), 50, kReadMsg, nullptr, nullptr, nullptr},
    };
    if (ReadSettingsRow("SELECT set_loginname,set_loginpwd FROM setting", this, kLoginColumns,
                        std::size(kLoginColumns)) == -1)
        return -1;
    m_iCategory = strcmp(set_pwd, szDigest) == 0 ? 1 : 0;
    return 0;
}

int SettingClass::cst_GetLoginName() {
    static const ColumnSpec kNameColumn[] = {{1, COL_TEXT, SET(set_user), 50, kReadMsg, nullptr, nullptr, nullptr}};
    return ReadSettingsRow("SELECT set_loginname FROM setting", this, kNameColumn, 1);
}
