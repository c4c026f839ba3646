#include "views/tasks/Tas_WeekDialogClass.h"

#include <cstdio>

#include "views/tasks/Tas_Calendar.h"
#include "views/tasks/Tas_ListPageClass.h"
#include "resources/tasks_ids.h"

Tas_WeekDialogClass g_Tas_Week;

namespace {
const int kMenuIDs[kTasMenuEntries] = {IDC_TASW_MENU_NEW,  IDC_TASW_MENU_ALL,   IDC_TASW_MENU_TODAY, IDC_TASW_MENU_DAY,
                                       IDC_TASW_MENU_WEEK, IDC_TASW_MENU_MONTH, IDC_TASW_MENU_CLOSED};

// Monday to Sunday: place and caption.
struct DayListDef {
    int x, y, w, h;
    const char* pszCaption;
};
const DayListDef kDays[7] = {
    {166, 40, 427, 190, "周一 %d年%d月%d日"},  {592, 40, 425, 190, "周二 %d年%d月%d日"},
    {166, 229, 427, 190, "周三 %d年%d月%d日"}, {592, 229, 425, 190, "周四 %d年%d月%d日"},
    {166, 418, 427, 190, "周五 %d年%d月%d日"}, {592, 418, 425, 95, "周六 %d年%d月%d日"},
    {592, 512, 425, 96, "周日 %d年%d月%d日"},
};

CalendarPageDef MakeDef() {
    CalendarPageDef def = {};
    def.uOpenMessage = UM_OPEN_WEEK;
    def.nSearchEditID = IDC_TASW_SEARCH_EDIT;
    def.nSearchID = IDC_TASW_SEARCH;
    def.nHelpID = IDC_TASW_HELP;
    def.menu = TasMenu(kMenuIDs);
    def.nPrevID = IDC_TASW_PREV;
    def.nNextID = IDC_TASW_NEXT;
    def.pszPrev = "上一周";
    def.pszNext = "下一周";
    def.nPrevX = 166;
    def.nNextX = 510;
    def.nButtonY = 18;
    def.nButtonHeight = 22;
    def.nFirstListID = IDC_TASW_DAY0;
    def.nLists = 7;
    def.bTimeColumn = TRUE;
    def.nCaptionWidth = 345;
    return def;
}

DATE_STRUCT DateOf(const SYSTEMTIME& st) {
    DATE_STRUCT d;
    d.year = (SQLSMALLINT)st.wYear;
    d.month = st.wMonth;
    d.day = st.wDay;
    return d;
}
}  // namespace

Tas_WeekDialogClass::Tas_WeekDialogClass() : Tas_CalendarPageClass(MakeDef()), m_dtWeekStart{}, m_dtWeekEnd{} {}

RECT Tas_WeekDialogClass::ListRect(int i) const {
    const DayListDef& d = kDays[i];
    return {d.x, d.y, d.x + d.w, d.y + d.h};
}

void Tas_WeekDialogClass::SetDays() {
    const DATE_STRUCT ref = DateOf(m_stDate);
    m_stDate.wDayOfWeek = (WORD)calendar::WeekdayMondayFirst(ref);
    char szCaption[64];
    for (int i = 0; i < 7; i++) {
        DATE_STRUCT d = {};
        // Only the last week of year 9999 runs past the calendar: such a day
        // stays without a date.
        if (calendar::DayOfWeekOf(ref, i, &d) != 0) d = {};
        m_dtDay[i] = d;
        snprintf(szCaption, sizeof(szCaption), kDays[i].pszCaption, (int)d.year, (int)d.month, (int)d.day);
        SetListCaption(i, szCaption);
    }
    m_dtWeekStart = m_dtDay[0];
    m_dtWeekEnd = m_dtDay[6];
}

int Tas_WeekDialogClass::Query() {
    // The store takes the week of the date given and writes its weekday back.
    SYSTEMTIME st = m_stDate;
    return m_TasDetail.ctd_GetByWeek(&st);
}

int Tas_WeekDialogClass::Step(int nDirection) {
    DATE_STRUCT d;
    if (calendar::AddDays(7 * nDirection, DateOf(m_stDate), &d) != 0) return -1;
    m_stDate.wYear = (WORD)d.year;
    m_stDate.wMonth = d.month;
    m_stDate.wDay = d.day;
    return 0;
}

void Tas_WeekDialogClass::PaintPage(HDC hdc) {
    char szTitle[96];
    snprintf(szTitle, sizeof(szTitle), "%d年%d月%d日 至 %d年%d月%d日", (int)m_dtWeekStart.year,
             (int)m_dtWeekStart.month, (int)m_dtWeekStart.day, (int)m_dtWeekEnd.year, (int)m_dtWeekEnd.month,
             (int)m_dtWeekEnd.day);
    SelectObject(hdc, m_hFont);
    PaintText(hdc, 240, 20, szTitle);
}
