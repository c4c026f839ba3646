#include "views/accounts/Acc_ListPageClass.h"

#include <cstdio>

#include "platform/gbk/gbk.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "shell/CellText.h"

const ListColumnDef g_AccColumns[8] = {
    {"客户单位", 150}, {"客户类型", 100}, {"重要性", 100},       {"客户关系", 100},
    {"客户行业", 100}, {"客户区域", 100}, {"最近联系日期", 100}, {"创建日期", 100},
};

const ListPageTexts g_AccListTexts = {
    "Acc_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pAccHead Error.",
};

PageMenu AccMenu(const int* pIDs) {
    static const PageLinkDef kMenu[9] = {
        {0, "添加客户单位", GotoAcc_DetailNew},   {0, "所有客户单位", GotoAcc_Homepage},
        {0, "重要性查询", GotoAcc_ImportantStat}, {0, "项目机会查询", GotoAcc_OpportunitiesStat},
        {0, "关系查询", GotoAcc_RelationStat},    {0, "类型查询", GotoAcc_TypeStat},
        {0, "行业查询", GotoAcc_IndustryStat},    {0, "区域查询", GotoAcc_ProvinceStat},
        {0, "时间相关查询", GotoAcc_DateStat},
    };
    return MakePageMenu(kMenu, 9, pIDs);
}

static void FormatDate(const DATE_STRUCT& d, char* pszBuf, int nSize) {
    cell::FormatDate(pszBuf, nSize, (int)d.year, (int)d.month, (int)d.day);
}

void AccCellText(const AccNode* p, int nColumn, char* pszBuf, int nSize) {
    switch (nColumn) {
    case 0: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_name); break;
    case 1: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_type); break;
    case 2: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_important); break;
    case 3: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_relation); break;
    case 4: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_industry); break;
    case 5: gbk::CopyCut(pszBuf, (size_t)nSize, p->acc_province); break;
    case 6: FormatDate(p->acc_recent_contact_date, pszBuf, nSize); break;
    case 7: FormatDate(p->acc_create_date, pszBuf, nSize); break;
    default: pszBuf[0] = 0; break;
    }
}

Acc_ListPageClass::Acc_ListPageClass(int nLastSortColumn) : ListPageClass(nLastSortColumn) {
    // Only a mouse move over the page ends the links' hover look.
    m_bListEndsHover = FALSE;
}

BOOL Acc_ListPageClass::FirstRow() {
    m_Acc.m_pCurrent = m_Acc.m_pAccHead;
    return m_Acc.m_pCurrent != nullptr;
}

BOOL Acc_ListPageClass::NextRow() {
    if (m_Acc.m_pCurrent) m_Acc.cad_NextNode();
    return m_Acc.m_pCurrent != nullptr;
}

ULONG Acc_ListPageClass::RowID() { return m_Acc.m_pCurrent ? m_Acc.m_pCurrent->acc_id : 0; }

void Acc_ListPageClass::RowText(int nColumn, char* pszBuf, int nSize) {
    if (!m_Acc.m_pCurrent) {
        pszBuf[0] = 0;
        return;
    }
    AccCellText(m_Acc.m_pCurrent, nColumn, pszBuf, nSize);
}

RecordFormClass* Acc_ListPageClass::RecordForm() { return &g_Acc_Detail; }

int Acc_ListPageClass::ModuleButton() const { return TB_ACCOUNTS; }

void Acc_ListPageClass::SearchOnModuleListPage(HWND hEdit) {
    SearchOnListPage(&g_Acc_Homepage, g_Acc_Homepage.m_szKeyword, hEdit);
}

void Acc_ListPageClass::CreateAccRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask, int nBlankWidth) {
    CreateRecordList(hWnd, nID, 167, y, 850, h, g_AccColumns, 8, uColumnMask, nBlankWidth);
}
