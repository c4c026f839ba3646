// The month view: a grid of 42 day lists, Sunday to Saturday by six rows,
// each day of the month in one cell headed "%d日", with 上一月 / 下一月. Window
// class "Tas_Month", one object g_Tas_Month. A double click hands the form
// every task of the month, day by day, from the clicked one on.
#pragma once

#include "views/tasks/Tas_CalendarPageClass.h"

class Tas_MonthDialogClass : public Tas_CalendarPageClass {
public:
    static constexpr int kCells = 42;

    Tas_MonthDialogClass();

    // The month's ids in cell order (day by day); m_MonthIDs.m_nIDCount is
    // the number of ids actually stored.
    IDListOwner m_MonthIDs;

protected:
    RECT ListRect(int i) const override;
    void SetDays() override;
    int Query() override;
    void Filled() override;
    int Step(int nDirection) override;
    void HandOver(int i, int nRow) override;
    void PaintPage(HDC hdc) override;
};

extern Tas_MonthDialogClass g_Tas_Month;
