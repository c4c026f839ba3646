// Sales opportunities: records, links, lookup lists, statistics and listings.
#pragma once

#include "store/RecordList.h"

struct OppNode {
    ULONG opp_id;
    char opp_subject[256];
    char* opp_description;  // heap text owned by the node
    DATE_STRUCT opp_create_date;
    DATE_STRUCT opp_die_date;
    double opp_estimate_sale;
    double opp_sale;
    char opp_important[50];
    char opp_phase[50];
    int opp_succeed_probability;  // per cent
    DATE_STRUCT opp_recent_contact_date;
    int opp_private;
    OppNode* next;
};

class Opp_DetailClass {
public:
    enum { MAX_IMPORTANT = 50, MAX_PHASE = 50, MAX_CATEGORY = 50, SORT_COLUMNS = 8 };

    OppNode* m_pOppHead = nullptr;
    OppNode* m_pCurrent = nullptr;
    int m_iCount[MAX_CATEGORY] = {};   // per-category counts
    double m_fSum[MAX_CATEGORY] = {};  // per-category sums of the estimated sale
    char m_szImportant[MAX_IMPORTANT][50] = {};
    int m_nImportant = 0;
    char m_szPhase[MAX_PHASE][50] = {};
    char m_szPhaseProbability[MAX_PHASE][20] = {};
    int m_nPhase = 0;
    ULONG m_ulOppID = 0;
    ULONG m_ulAccID = 0;
    ULONG m_ulConID = 0;
    ULONG m_ulTasID = 0;
    int m_iQueryMode = 0;  // 1 keyword search, 2 re-sort, else plain
    int m_bSearch = 0;
    int m_iSortColumn = 0;
    int m_bDesc = 0;
    char m_szKeyword[50] = {};
    bool m_bCategoryNotice = false;  // the "categories left out" notice was shown

    Opp_DetailClass() = default;
    ~Opp_DetailClass();
    Opp_DetailClass(const Opp_DetailClass&) = delete;
    Opp_DetailClass& operator=(const Opp_DetailClass&) = delete;

    int cod_AllocHead();
    int cod_AllocNode();
    int cod_AllocNodeDescription(unsigned nLength);
    void cod_FreeList();
    void cod_NextNode();
    void cod_EscapeQuotes(const char* pszSource, char* pszTarget);
    int cod_LoadRecords();

    int cod_GetOpportunity(ULONG ulOppID);
    int cod_InitDetail();
    int cod_GetLastOpportunityID();
    int cod_AddOpportunity();                 // the new id into m_ulOppID
    int cod_ChageOpportunity(ULONG ulOppID);  // -100: the record no longer exists
    int cod_DeleteOpportunity(ULONG ulOppID);
    int cod_LinkOpportunity();
    int cod_UnlinkOpportunity();
    int cod_GetByAccount(ULONG ulAccID);
    int cod_GetByContact(ULONG ulConID);
    int cod_GetByTask(ULONG ulTasID);
    int cod_LoadImportantTable();
    int cod_LoadPhaseTable();

    // Statistics and filtered listings
    int cod_GetImportantCategories();
    int cod_GetPhaseCategories();
    int cod_CountByImportant();
    int cod_CountByPhase();
    int cod_GetByImportant(const char* pszImportant);
    int cod_GetByPhase(const char* pszPhase);
    int cod_GetEstimateOver(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cod_GetAdd(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cod_NoTrack(const SYSTEMTIME& stDate);
    int cod_GetTrack(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cod_GetSucceed(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);
    int cod_GetFail(const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo);

private:
    int CategoryQuery(const char* pszPlain, const char* pszSorted, const char* pszValue);
    int DateQuery(const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom, const SYSTEMTIME& stTo);
    store::Steering Steer();
    store::CategoryArray ImportantArray();
    store::CategoryArray PhaseArray();
};
