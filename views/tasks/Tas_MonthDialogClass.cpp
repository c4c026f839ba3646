#include "views/tasks/Tas_MonthDialogClass.h"

#include <cstdio>
#include <new>

#include "shell/RecordFormClass.h"
#include "views/tasks/Tas_Calendar.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListPageClass.h"
#include "resources/tasks_ids.h"
#include "shell/Report.h"

Tas_MonthDialogClass g_Tas_Month;

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASM_MENU_NEW,  IDC_TASM_MENU_ALL,   IDC_TASM_MENU_TODAY, IDC_TASM_MENU_DAY,
                                       IDC_TASM_MENU_WEEK, IDC_TASM_MENU_MONTH, IDC_TASM_MENU_CLOSED};

CalendarPageDef MakeDef() {
    CalendarPageDef def = {};
    def.uOpenMessage = UM_OPEN_MONTH;
    def.nSearchEditID = IDC_TASM_SEARCH_EDIT;
    def.nSearchID = IDC_TASM_SEARCH;
    def.nHelpID = IDC_TASM_HELP;
    def.menu = TasMenu(kMenuIDs);
    def.nPrevID = IDC_TASM_PREV;
    def.nNextID = IDC_TASM_NEXT;
    def.pszPrev = "上一月";
    def.pszNext = "下一月";
    def.nPrevX = 166;
    def.nNextX = 350;
    def.nButtonY = 18;
    def.nButtonHeight = 20;
    def.nFirstListID = IDC_TASM_CELL0;
    def.nLists = Tas_MonthDialogClass::kCells;
    def.bTimeColumn = FALSE;
    def.nCaptionWidth = 105;
    return def;
}
}  // namespace

Tas_MonthDialogClass::Tas_MonthDialogClass() : Tas_CalendarPageClass(MakeDef()) {}

RECT Tas_MonthDialogClass::ListRect(int i) const {
    const int x = 166 + 121 * (i % 7), y = 60 + 91 * (i / 7);
    return {x, y, x + 122, y + 92};
}

void Tas_MonthDialogClass::SetDays() {
    m_stDate.wDay = 1;
    DATE_STRUCT first;
    first.year = (SQLSMALLINT)m_stDate.wYear;
    first.month = m_stDate.wMonth;
    first.day = 1;
    const int nFirstCell = calendar::DayOfWeek(first);
    const int nDays = calendar::DaysInMonth(first);
    char szCaption[16];
    for (int c = 0; c < kCells; c++) {
        const int nDay = c - nFirstCell + 1;
        if (nDay >= 1 && nDay <= nDays) {
            m_dtDay[c] = first;
            m_dtDay[c].day = (SQLUSMALLINT)nDay;
            snprintf(szCaption, sizeof(szCaption), "%d日", nDay);
        } else {
            m_dtDay[c] = {};
            szCaption[0] = 0;
        }
        SetListCaption(c, szCaption);
    }
}

int Tas_MonthDialogClass::Query() {
    SYSTEMTIME st = m_stDate;
    return m_TasDetail.ctd_GetByMonth(&st);
}

void Tas_MonthDialogClass::Filled() {
    // The month's ids, day by day and within a day in the query's order (the
    // reverse of the cell's rows); only ids a cell holds are stored.
    m_MonthIDs.FreeIDArray();
    int nStored = 0;
    for (int c = 0; c < kCells; c++) nStored += m_DayIDs[c].m_nIDCount;
    if (m_nLoadCount < 0 || nStored == 0) return;
    ULONG* pulID = new (std::nothrow) ULONG[(size_t)nStored]();
    if (!pulID) {
        ReportError(g_szTasIDArrayError);
        return;
    }
    int p = 0;
    for (int c = 0; c < kCells; c++)
        for (int k = m_DayIDs[c].m_nIDCount - 1; k >= 0; k--) pulID[p++] = m_DayIDs[c].m_pulID[k];
    m_MonthIDs.m_pulID = pulID;
    m_MonthIDs.m_nIDCount = p;
}

int Tas_MonthDialogClass::Step(int nDirection) {
    DATE_STRUCT d;
    d.year = (SQLSMALLINT)m_stDate.wYear;
    d.month = m_stDate.wMonth;
    d.day = 1;
    DATE_STRUCT target;
    if (calendar::StepMonth(d, nDirection, &target) != 0) return -1;
    m_stDate.wYear = (WORD)target.year;
    m_stDate.wMonth = target.month;
    m_stDate.wDay = 1;
    return 0;
}

void Tas_MonthDialogClass::HandOver(int i, int nRow) {
    const IDListOwner& cell = m_DayIDs[i];
    if (nRow >= 0 && cell.HasRow(nRow)) {
        // The clicked task's place in the month, from the first of the cell's
        // entries in the month array on; a task the month array lacks (its
        // array failed) hands the cell's own ids.
        const ULONG ulID = cell.m_pulID[nRow];
        for (int q = 0; q < m_MonthIDs.m_nIDCount; q++) {
            if (m_MonthIDs.m_pulID[q] == ulID) {
                HandOverToForm(&g_Tas_Detail, m_MonthIDs.m_pulID, m_MonthIDs.m_nIDCount, q, g_szTasListTitle);
                return;
            }
        }
    }
    Tas_CalendarPageClass::HandOver(i, nRow);
}

void Tas_MonthDialogClass::PaintPage(HDC hdc) {
    static const char* const kWeekdays[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    HBRUSH hBrush = CreateSolidBrush(RGB(206, 231, 255));
    HGDIOBJ hOld = SelectObject(hdc, hBrush);
    for (int k = 0; k < 7; k++)
        Rectangle(hdc, m_nHScroll + 166 + 121 * k, m_nVScroll + 40, m_nHScroll + 288 + 121 * k, m_nVScroll + 70);
    SelectObject(hdc, hOld);
    DeleteObject(hBrush);

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    SelectObject(hdc, m_hFont);
    char szTitle[32];
    snprintf(szTitle, sizeof(szTitle), "%d年%d月", (int)m_stDate.wYear, (int)m_stDate.wMonth);
    PaintText(hdc, 240, 20, szTitle);
    for (int k = 0; k < 7; k++) PaintText(hdc, 200 + 120 * k, 45, kWeekdays[k]);
}
