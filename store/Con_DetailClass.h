// Contacts: records, links, categories and listings.
#pragma once

#include "store/RecordList.h"

struct ConNode {
    int con_id;
    char con_name[20];
    char con_nickname[20];
    char* con_description;  // heap text owned by the node
    char acc_name[50];      // the contact's account; never written back
    char con_department_title[50];
    char con_telephone[50];
    char con_mobile[50];
    char acc_type[50];
    char con_email[50];
    char con_im[50];
    char con_postcode[20];
    char con_family[50];
    char con_important[50];
    char con_relation[50];
    char con_province[50];
    DATE_STRUCT con_create_date;
    DATE_STRUCT con_recent_contact_date;
    int con_private;
    ConNode* next;
};

class Con_DetailClass {
public:
    enum {
        MAX_IMPORTANT = 10,
        MAX_TYPE = 10,
        MAX_RELATION = 10,
        MAX_INDUSTRY = 50,
        MAX_PROVINCE = 100,
        MAX_CATEGORY = 100,
        SORT_COLUMNS = 11
    };

    ConNode* m_pConHead = nullptr;
    ConNode* m_pCurrent = nullptr;
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
    ULONG m_ulConID = 0;
    ULONG m_ulTasID = 0;
    int m_iQueryMode = 0;  // 1 keyword search, 2 re-sort, else plain
    int m_bSearch = 0;
    int m_iSortColumn = 0;
    int m_bDesc = 0;
    char m_szKeyword[50] = {};
    int m_bFound = 0;                // ccd_GetContact found the contact
    bool m_bCategoryNotice = false;  // the "categories left out" notice was shown

    Con_DetailClass() = default;
    ~Con_DetailClass();
    Con_DetailClass(const Con_DetailClass&) = delete;
    Con_DetailClass& operator=(const Con_DetailClass&) = delete;

    int ccd_AllocHead();
    int ccd_AllocNode();
    int ccd_AllocNodeDescription(unsigned nLength);
    void ccd_NextNode();
    void ccd_FreeList();
    void ccd_EscapeQuotes(const char* pszSource, char* pszTarget);
    int ccd_LoadRecords();

    int ccd_GetContact(ULONG ulConID);  // 0 also when missing: see m_bFound
    int ccd_GetAccountID(ULONG ulConID);
    int ccd_GetLastContactID();
    int ccd_GetAllContacts();
    int ccd_GetAllContactsByName();
    int ccd_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int ccd_NoTrack(const SYSTEMTIME& stDate);
    int ccd_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int ccd_GetByAccount(ULONG ulAccID);
    int ccd_GetByOpportunity(ULONG ulOppID);
    int ccd_GetByOpportunityAccount(ULONG ulOppID, ULONG ulAccID);
    int ccd_GetByTask(ULONG ulTasID);
    int ccd_GetByTaskAccount(ULONG ulTasID, ULONG ulAccID);
    int ccd_AddContact();                 // the new id into m_ulConID
    int ccd_ChageContact(ULONG ulConID);  // -100: the contact no longer exists
    int ccd_DeleteContact(ULONG ulConID);
    int ccd_LinkContact();
    // A contact chosen for the opportunity m_ulOppID or the task m_ulTasID:
    // reads the contact's account into m_ulAccID, links that account (when
    // there is one) to the record, then the contact with it; all in one
    // transaction, so the account is never linked without the contact.
    int ccd_LinkContactWithAccount();
    int ccd_LinkAccount();
    int ccd_UnlinkContact();

    // Statistics and category queries
    int ccd_LoadImportantTable();
    int ccd_LoadRelationTable();
    int ccd_LoadIndustryTable();
    int ccd_LoadProvinceTable();
    int ccd_GetImportantCategories();
    int ccd_GetRelationCategories();
    int ccd_GetIndustryCategories();
    int ccd_GetProvinceCategories();
    int ccd_CountByImportant();
    int ccd_CountByRelation();
    int ccd_CountByIndustry();
    int ccd_CountByProvince();
    int ccd_GetByImportant(const char* pszName);
    int ccd_GetByRelation(const char* pszName);
    int ccd_GetByIndustry(const char* pszName);
    int ccd_GetByProvince(const char* pszName);
    int ccd_CountByOpportunities();
    int ccd_GetOpportunitiesCategoryName(int iCategory, char* pszName);
    int ccd_GetByOpportunities(int iCategory);

private:
    enum Kind { IMPORTANT, RELATION, INDUSTRY, PROVINCE };
    store::CategoryArray Array(Kind k);
    store::Steering Steer();
    int LoadTable(Kind k);
    int GetCategories(Kind k);
    int CountBy(Kind k);
    int GetByCategory(Kind k, const char* pszName);
    int DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom, const SYSTEMTIME& stTo);
};
