// What the week and the month view share: the task frame with a grid of day
// lists (each list the tasks of one date, with the ids of its rows), the
// reference date with the buttons that step it, one task query per load
// split into the days, the hand-over of a double-clicked task to the task
// record form, and the history (an opening adds an entry; Back and Forward
// show the page as it was last shown). A page gives its lists' places and
// captions, its query and what a double click hands over.
#pragma once

#include "store/Tas_DetailClass.h"
#include "shell/IDList.h"
#include "shell/ListViewClass.h"
#include "shell/PageFrameClass.h"

struct CalendarPageDef {
    UINT uOpenMessage;
    int nSearchEditID, nSearchID, nHelpID;
    PageMenu menu;
    int nPrevID, nNextID;
    const char* pszPrev;  // "上一周" / "上一月"
    const char* pszNext;
    int nPrevX, nNextX, nButtonY, nButtonHeight;
    int nFirstListID;  // list i has id nFirstListID + i
    int nLists;
    BOOL bTimeColumn;   // a second column with the time "%d:%d"
    int nCaptionWidth;  // width of column 0
};

class Tas_CalendarPageClass : public PageFrameClass {
public:
    static constexpr int kMaxLists = 42;

    explicit Tas_CalendarPageClass(const CalendarPageDef& def);

    Tas_DetailClass m_TasDetail;
    ListViewClass m_DayList[kMaxLists];
    IDListOwner m_DayIDs[kMaxLists];  // ids of list i's rows: entry r is row r
    DATE_STRUCT m_dtDay[kMaxLists];   // date of list i (year 0: no day)
    SYSTEMTIME m_stDate;              // the reference date of the page
    HWND m_hPrevButton, m_hNextButton;
    int m_nLoadCount;  // rows of the last query (-1 after a failure)

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Runs the page's query for the reference date and refills every list.
    void Load();
    int Lists() const { return m_Def.nLists; }

protected:
    // What a page supplies.
    // Place of list i.
    virtual RECT ListRect(int i) const = 0;
    // Sets m_dtDay[] and the column captions for the reference date.
    virtual void SetDays() = 0;
    // The query for the reference date into m_TasDetail: rows or -1.
    virtual int Query() = 0;
    // Called after the lists were filled (the month array is built here).
    virtual void Filled() {}
    // Moves the reference date one step (-1 back, 1 on); -1 when the date
    // would leave the calendar (it then stays).
    virtual int Step(int nDirection) = 0;
    // Double click on row nRow of list i (-1: off the rows).
    virtual void HandOver(int i, int nRow);

    void SearchOnModuleListPage(HWND hEdit) override;
    // Sets column 0's caption of list i.
    void SetListCaption(int i, const char* pszCaption);
    // Fills list i with the loaded tasks of its date: rows at the top, so
    // the list shows them in the reverse of the query's order. A failed id
    // array leaves the list empty with count 0 (its box shown).
    void FillList(int i);

    const CalendarPageDef m_Def;

private:
    LRESULT OnOpen();
    void OnStep(int nDirection);
};

// Text of the box shown when a list's id array cannot be had.
extern const char g_szTasIDArrayError[];
