// The week view: seven day lists, Monday to Sunday, each headed by its
// weekday and date, with 上一周 / 下一周. Window class "Tas_Week", one object
// g_Tas_Week. UM_OPEN_WEEK shows today's week; a double click hands the form
// that day's tasks. m_stDate.wDayOfWeek runs Monday 1 ... Sunday 7.
#pragma once

#include "views/tasks/Tas_CalendarPageClass.h"

class Tas_WeekDialogClass : public Tas_CalendarPageClass {
public:
    Tas_WeekDialogClass();

    DATE_STRUCT m_dtWeekStart, m_dtWeekEnd;

protected:
    RECT ListRect(int i) const override;
    void SetDays() override;
    int Query() override;
    int Step(int nDirection) override;
    void PaintPage(HDC hdc) override;
};

extern Tas_WeekDialogClass g_Tas_Week;
