// The day view: the tasks of one date, earliest first, with 前一天 / 后一天 and
// a date picker. Window class "Tas_Homepage", one object g_Tas_Homepage; the
// page the toolbar's 计划日志 button opens. UM_OPENVIEW lists the date last
// shown, UM_OPEN_TODAY today; Back and Forward (UM_RESTOREVIEW) always show
// today, since the history entry keeps no date.
#pragma once

#include "views/tasks/Tas_ListPageClass.h"

class Tas_HomepageDialogClass : public Tas_ListPageClass {
public:
    Tas_HomepageDialogClass();

    SYSTEMTIME m_stDate;  // the date listed (year, month, day)
    HWND m_hPicker;
    HWND m_hPrevButton, m_hNextButton;
    char m_szTitle[256];
    RECT m_rcTitle;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Lists the tasks of m_stDate and sets the title from the count.
    void ListDate();

protected:
    void PaintPage(HDC hdc) override;

private:
    LRESULT OnOpen(BOOL bToday);
    LRESULT OnRestoreView();
    // 前一天 / 后一天: a date that would fall outside the calendar keeps the one shown.
    void StepDay(int nDays);
    void OnPickerCloseUp();
    void SetPicker();
};

extern Tas_HomepageDialogClass g_Tas_Homepage;
