// Tasks (plans and work-log entries): records, links and day/week/month listings.
#pragma once

#include "store/RecordList.h"

struct TasNode {
    ULONG tas_id;
    char tas_subject[256];
    DATE_STRUCT tas_date;
    TIME_STRUCT tas_time;
    float tas_outlay;
    char* tas_description;  // heap text owned by the node
    int tas_private;
    int tas_remind;
    int tas_closed;  // 0 open, 1 finished
    TasNode* next;
};

class Tas_DetailClass {
public:
    TasNode* m_pTasHead = nullptr;
    TasNode* m_pCurrent = nullptr;
    int m_iCount[2] = {};  // open and finished tasks
    ULONG m_ulTasID = 0;
    ULONG m_ulAccID = 0;
    ULONG m_ulOppID = 0;
    ULONG m_ulConID = 0;
    int m_iQueryMode = 0;  // 1 keyword search
    char m_szKeyword[50] = {};
    int m_bFound = 0;  // ctd_GetTask found the task

    Tas_DetailClass() = default;
    ~Tas_DetailClass();
    Tas_DetailClass(const Tas_DetailClass&) = delete;
    Tas_DetailClass& operator=(const Tas_DetailClass&) = delete;

    int ctd_AllocHead();
    int ctd_AllocNode();
    int ctd_AllocNodeDescription(unsigned nLength);
    void ctd_NextNode();
    void ctd_FreeList();
    int ctd_LoadRecords();
    void ctd_EscapeQuotes(const char* pszSource, char* pszTarget);

    int ctd_GetTask(ULONG ulTasID);  // 0 also when missing: see m_bFound
    int ctd_AddTask();               // the new id into m_ulTasID
    int ctd_GetLastTaskID();
    int ctd_LinkTask();
    int ctd_ChageTask(ULONG ulTasID);  // -100: the task no longer exists
    int ctd_DeleteTask(ULONG ulTasID);
    int ctd_UnlinkTask();

    int ctd_GetAllTasks();
    int ctd_GetByDay(const SYSTEMTIME& stDate);
    int ctd_GetByWeek(SYSTEMTIME* pDate);  // writes the weekday back, Sunday as 7
    int ctd_GetByMonth(SYSTEMTIME* pDate);
    int ctd_GetByOpportunity(ULONG ulOppID);
    int ctd_GetByAccount(ULONG ulAccID);
    int ctd_GetByContact(ULONG ulConID);
    int ctd_CountByClosed();
    int ctd_GetByClosed(int bClosed);
    int ctd_GetClosedCategoryName(int iCategory, char* pszName);

private:
    int TieToRecord(const SYSTEMTIME& stToday, bool bCheckExisting);
};
