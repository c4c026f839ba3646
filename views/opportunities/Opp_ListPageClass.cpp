#include "views/opportunities/Opp_ListPageClass.h"

#include <cstdio>

#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_Navigation.h"
#include "platform/gbk/gbk.h"
#include "shell/CellText.h"

const ListColumnDef g_OppColumns[8] = {
    {"项目名称", 150},   {"成功可能性", 100},   {"项目阶段", 100},     {"重要性", 100},
    {"预计销售额", 150}, {"预计结束日期", 150}, {"最近联系日期", 150}, {"创建日期", 150},
};

const ListPageTexts g_OppListTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.",
};

const char g_szOppQueryError[] = "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.";

PageMenu OppMenu(const int* pIDs) {
    static const PageLinkDef kMenu[5] = {
        {0, "添加项目机会", GotoOpp_DetailNew},   {0, "所有项目机会", GotoOpp_Homepage},
        {0, "重要性查询", GotoOpp_ImportantStat}, {0, "销售阶段查询", GotoOpp_PhaseStat},
        {0, "时间相关查询", GotoOpp_DateStat},
    };
    return MakePageMenu(kMenu, 5, pIDs);
}

static void FormatDate(const DATE_STRUCT& d, char* pszBuf, int nSize) {
    cell::FormatDate(pszBuf, nSize, (int)d.year, (int)d.month, (int)d.day);
}

void OppCellText(const OppNode* p, int nColumn, char* pszBuf, int nSize) {
    switch (nColumn) {
    case 0: gbk::CopyCut(pszBuf, (size_t)nSize, p->opp_subject); break;
    case 1: cell::FormatPercent(pszBuf, nSize, p->opp_succeed_probability); break;
    case 2: gbk::CopyCut(pszBuf, (size_t)nSize, p->opp_phase); break;
    case 3: gbk::CopyCut(pszBuf, (size_t)nSize, p->opp_important); break;
    case 4: cell::FormatAmount(pszBuf, nSize, p->opp_estimate_sale); break;
    case 5: FormatDate(p->opp_die_date, pszBuf, nSize); break;
    case 6: FormatDate(p->opp_recent_contact_date, pszBuf, nSize); break;
    case 7: FormatDate(p->opp_create_date, pszBuf, nSize); break;
    default: pszBuf[0] = 0; break;
    }
}

Opp_ListPageClass::Opp_ListPageClass(int nLastSortColumn) : ListPageClass(nLastSortColumn) {}

ULONG Opp_ListPageClass::RowID() { return m_Opp.m_pCurrent ? m_Opp.m_pCurrent->opp_id : 0; }

void Opp_ListPageClass::RowText(int nColumn, char* pszBuf, int nSize) {
    if (!m_Opp.m_pCurrent) {
        pszBuf[0] = 0;
        return;
    }
    OppCellText(m_Opp.m_pCurrent, nColumn, pszBuf, nSize);
}

RecordFormClass* Opp_ListPageClass::RecordForm() { return &g_Opp_Detail; }

void Opp_ListPageClass::CreateOppRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask) {
    CreateRecordList(hWnd, nID, 167, y, 850, h, g_OppColumns, 8, uColumnMask);
}

int Opp_ListPageClass::ModuleButton() const { return TB_OPPORTUNITIES; }

void Opp_ListPageClass::SearchOnModuleListPage(HWND hEdit) {
    SearchOnListPage(&g_Opp_Homepage, g_Opp_Homepage.m_szKeyword, hEdit);
}
