// Test hooks for the common controls: drive them through real Qt input
// events (see win32_testhooks.h). UI thread only.
#pragma once

#include <string>

#include "win32.h"

namespace w32test {

// Client point of a list cell (its centre); (-1, -1) for a missing cell.
POINT ListCellPoint(HWND list, int row, int column);
// A point inside the list below its last row (or the viewport's bottom edge).
POINT ListBlankPoint(HWND list);
void ClickListRow(HWND list, int row, int column = 0);
void DoubleClickListRow(HWND list, int row, int column = 0);
// Clicks the state image of a row (its check box).
void ClickListStateImage(HWND list, int row);
void ClickListHeader(HWND list, int column);
// Text being edited in the list's label editor; false when none is open.
bool ListEditorText(HWND list, std::string* gbk);
// Replaces the label editor's text by typing and presses Enter (or Esc).
void FinishListEdit(HWND list, const std::string& gbk, bool accept = true);
// Number of rows the list's Qt view shows (after its pending updates).
int ListShownRows(HWND list);
// The list's horizontal scroll bar: its rectangle in the list's client
// coordinates (empty while hidden) and, as Win32 gives it, its range (0 to
// the columns' total width - 1), page (the width in view) and position.
RECT ListHorzBar(HWND list, SCROLLINFO* si = nullptr);

void ClickTab(HWND tab, int index);

// The text a picker shows (GBK), and whether it has a drop-down calendar.
std::string PickerText(HWND picker);
bool PickerHasCalendar(HWND picker);
// A point (picker client coordinates) in the middle of the picker's field
// `field` (0: the first run of digits or letters of its text) as shown now.
POINT PickerFieldPoint(HWND picker, int field);
// The shown text: what the picker's text box shows of its text, whole
// characters whose left edge lies inside the box, and the selected part.
std::string PickerShownText(HWND picker);
std::string PickerSelectedText(HWND picker);
// The up-down arrows' rectangle in the picker's client coordinates (empty
// for a picker with a drop-down calendar).
RECT PickerArrowsRect(HWND picker);
// The open calendar's rectangle in the picker's client coordinates.
RECT PickerCalendarRect(HWND picker);
// Opens the picker's calendar with a click on its drop-down button.
void OpenPickerCalendar(HWND picker);
bool PickerCalendarOpen(HWND picker);
// Picks a day in the open calendar with the keyboard (moves to the date, then Enter).
void PickCalendarDate(HWND picker, int year, int month, int day);
// Closes the open calendar with Esc.
void DismissPickerCalendar(HWND picker);

void ClickToolbarButton(HWND toolbar, int commandId);

}  // namespace w32test
