// Accounts (customer organisations): records, links, categories and listings.
#pragma once

#include "store/RecordList.h"

struct AccNode {
    ULONG acc_id;
    char acc_name[50];
    char* acc_description;  // heap text owned by the node
    DATE_STRUCT acc_create_date;
    DATE_STRUCT acc_recent_contact_date;
    char acc_type[50];
    char acc_important[50];
    char acc_industry[50];
    char acc_relation[50];
    char acc_address[50];
    char acc_postcode[10];
    char acc_province[50];
    char acc_telephone[50];
    char acc_fax[50];
    char acc_website[50];
    int acc_private;
    AccNode* next;
};

class Acc_DetailClass {
public:
    enum {
        MAX_IMPORTANT = 10,
        MAX_TYPE = 10,
        MAX_RELATION = 10,
        MAX_INDUSTRY = 50,
        MAX_PROVINCE = 100,
        MAX_CATEGORY = 100,
        SORT_COLUMNS = 8
    };

    AccNode* m_pAccHead = nullptr;
    AccNode* m_pCurrent = nullptr;
    int m_iCount[MAX_CATEGORY] = {};  // per-category counts
    char m_szImportant[MAX_IMPORTANT][50] = {};
    int m_nImportant = 0;
    char m_szType[MAX_TYPE][50] = {};
    int m_nType = 0;
    char m_szRelation[MAX_RELATION][50] = {};
    int m_nRelation = 0;
    char m_szIndustry[MAX_INDUSTRY][50] = {};
    int m_nIndustry = 0;
    char m_szProvince[MAX_PROVINCE][50] = {};
    int m_nProvince = 0;
    ULONG m_ulAccID = 0;
    ULONG m_ulOppID = 0;
    ULONG m_ulTasID = 0;
    int m_iQueryMode = 0;  // 1 keyword search, 2 re-sort, else plain
    int m_bSearch = 0;
    int m_iSortColumn = 0;
    int m_bDesc = 0;
    char m_szKeyword[50] = {};
    int m_bFound = 0;                // cad_GetAccount found the account
    bool m_bCategoryNotice = false;  // the "categories left out" notice was shown

    Acc_DetailClass() = default;
    ~Acc_DetailClass();
    Acc_DetailClass(const Acc_DetailClass&) = delete;
    Acc_DetailClass& operator=(const Acc_DetailClass&) = delete;

    int cad_AllocHead();
    int cad_AllocNode();
    int cad_AllocNodeDescription(unsigned nLength);
    void cad_NextNode();
    void cad_FreeList();
    int cad_LoadRecords();
    void cad_EscapeQuotes(const char* pszSource, char* pszTarget);

    int cad_GetAccount(ULONG ulAccID);  // 0 also when missing: see m_bFound
    int cad_AddAccount();               // the new id into m_ulAccID
    int cad_GetLastAccountID();
    int cad_ChageAccount(ULONG ulAccID);  // -100: the account no longer exists
    int cad_DeleteAccount(ULONG ulAccID);
    int cad_LinkAccount();
    int cad_UnlinkAccount();

    int cad_GetAllAccounts();
    int cad_GetByImportant(const char* pszName);
    int cad_GetByType(const char* pszName);
    int cad_GetByRelation(const char* pszName);
    int cad_GetByIndustry(const char* pszName);
    int cad_GetByProvince(const char* pszName);
    int cad_GetByOpportunities(int iCategory);
    int cad_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cad_NoTrack(const SYSTEMTIME& stDate);
    int cad_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cad_GetByOpportunity(ULONG ulOppID);
    int cad_GetByTask(ULONG ulTasID);

    int cad_LoadImportantTable();
    int cad_LoadTypeTable();
    int cad_LoadRelationTable();
    int cad_LoadIndustryTable();
    int cad_LoadProvinceTable();
    int cad_GetImportantCategories();
    int cad_GetTypeCategories();
    int cad_GetRelationCategories();
    int cad_GetIndustryCategories();
    int cad_GetProvinceCategories();
    int cad_CountByImportant();
    int cad_CountByType();
    int cad_CountByRelation();
    int cad_CountByIndustry();
    int cad_CountByProvince();
    int cad_CountByOpportunities();
    int cad_GetOpportunitiesCategoryName(int iCategory, char* pszName);

private:
    enum Kind { IMPORTANT, TYPE, RELATION, INDUSTRY, PROVINCE };
    store::CategoryArray Array(Kind k);
    store::Steering Steer();
    int LoadTable(Kind k);
    int GetCategories(Kind k);
    int CountBy(Kind k);
    int GetByCategory(Kind k, const char* pszName);
    int DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom, const SYSTEMTIME& stTo);
};
