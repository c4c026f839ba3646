#include "views/tasks/Tas_ListPageClass.h"

#include <cstdio>

#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"
#include "shell/CellText.h"

const ListColumnDef g_TasColumns[4] = {{"日期", 100}, {"时间", 100}, {"计划日志标题", 150}, {"费用", 500}};

const char g_szTasListTitle[] = "所有计划日志";

const ListPageTexts g_TasListTexts = {
    "Acc_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.",
};

const char g_szTasQueryError[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";

PageMenu TasMenu(const int* pIDs) {
    static const PageLinkDef kMenu[kTasMenuEntries] = {
        {0, "添加计划日志", GotoTas_DetailNew},
        {0, "所有计划日志", GotoTas_ListAll},
        {0, "今天", GotoTas_HomepageToday},
        {0, "按天显示", GotoTas_Homepage},
        {0, "按周显示", GotoTas_Week},
        {0, "按月显示", GotoTas_Month},
        {0, "按是否完成查询", GotoTas_ClosedStat},
    };
    return MakePageMenu(kMenu, kTasMenuEntries, pIDs);
}

void TasCellText(const TasNode* p, int nColumn, char* pszBuf, int nSize) {
    switch (nColumn) {
    case 0: cell::FormatDate(pszBuf, nSize, (int)p->tas_date.year, (int)p->tas_date.month, (int)p->tas_date.day); break;
    case 1: cell::FormatTime(pszBuf, nSize, (int)p->tas_time.hour, (int)p->tas_time.minute); break;
    case 2: gbk::CopyCut(pszBuf, (size_t)nSize, p->tas_subject); break;
    case 3: cell::FormatAmount(pszBuf, nSize, (double)p->tas_outlay); break;
    default: pszBuf[0] = 0; break;
    }
}

void SearchOnTaskList(HWND hEdit) { SearchOnListPage(&g_Tas_ListAll, g_Tas_ListAll.m_szKeyword, hEdit); }

Tas_ListPageClass::Tas_ListPageClass(int nLastSortColumn) : ListPageClass(nLastSortColumn) {
    // Only a mouse move over the page ends the links' hover look.
    m_bListEndsHover = FALSE;
}

BOOL Tas_ListPageClass::FirstRow() {
    m_Tas.m_pCurrent = m_Tas.m_pTasHead;
    return m_Tas.m_pCurrent != nullptr;
}

BOOL Tas_ListPageClass::NextRow() {
    if (m_Tas.m_pCurrent) m_Tas.ctd_NextNode();
    return m_Tas.m_pCurrent != nullptr;
}

ULONG Tas_ListPageClass::RowID() { return m_Tas.m_pCurrent ? m_Tas.m_pCurrent->tas_id : 0; }

void Tas_ListPageClass::RowText(int nColumn, char* pszBuf, int nSize) {
    if (!m_Tas.m_pCurrent) {
        pszBuf[0] = 0;
        return;
    }
    TasCellText(m_Tas.m_pCurrent, nColumn, pszBuf, nSize);
}

RecordFormClass* Tas_ListPageClass::RecordForm() { return &g_Tas_Detail; }

void Tas_ListPageClass::HandOverTitle(char* pszBuf, int nSize) {
    gbk::CopyCut(pszBuf, (size_t)nSize, g_szTasListTitle);
}

int Tas_ListPageClass::ModuleButton() const { return TB_TASKS; }

void Tas_ListPageClass::CreateTasRecordList(HWND hWnd, int nID, int y, int h) {
    CreateRecordList(hWnd, nID, 167, y, 850, h, g_TasColumns, 4, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
}
