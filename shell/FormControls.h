// The controls of a record form's fields: a field table from which the form
// makes, clears, locks and unlocks its fields, and the helpers that move
// values between fields and records (dates, texts, amounts, lookup combos).
#pragma once

#include "odbc.h"
#include "win32.h"

// What a field is; decides its window class and how it is cleared and locked.
enum FormFieldKind {
    kFieldEdit,    // one-line edit
    kFieldMemo,    // multi-line edit (Tab stays in it)
    kFieldCheck,   // check box
    kFieldDate,    // date picker
    kFieldTime,    // time picker
    kFieldCombo,   // drop-down list
    kFieldButton,  // push button acting on the record (kept by a clear; locked = disabled)
};

// Field flags.
enum : UINT {
    kFieldInTabCycle = 1,       // Tab / Shift+Tab move through these fields in table order
    kFieldFixed = 2,            // never editable (shows a value the form computes)
    kFieldCreation = 4,         // editable only while a new record is entered
    kFieldDoubleClick = 8,      // a double click on the field calls the form's OnFieldDoubleClick
    kFieldKeepsSelection = 16,  // a combo box whose selection a clear of the form keeps
};

struct FormFieldDef {
    FormFieldKind kind;
    int nID;
    int x, y, w, h;
    DWORD dwStyle;        // besides WS_CHILD | WS_VISIBLE
    int nLimit;           // EM_LIMITTEXT in GBK bytes (0: none)
    const char* pszText;  // a check box's or button's caption
    UINT uFlags;
};

// A text painted on the form.
struct FormLabelDef {
    int x, y;
    const char* pszText;
};

// Window styles of the usual fields.
constexpr DWORD kEditFieldStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kMemoFieldStyle = ES_MULTILINE | WS_VSCROLL | WS_BORDER;
constexpr DWORD kCheckFieldStyle = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kComboFieldStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_BORDER;
constexpr DWORD kDateFieldStyle = WS_TABSTOP;
constexpr DWORD kTimeFieldStyle = WS_TABSTOP | DTS_TIMEFORMAT;

// Tab / Shift+Tab in a field table: the row of the next (or previous) field
// flagged kFieldInTabCycle after row nFrom, wrapping around; -1 when nFrom is
// not in the cycle or no other field is.
int TabCycleTarget(const FormFieldDef* pFields, int nFields, int nFrom, BOOL bBackward);

// A control with the font set.
HWND MakeControl(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszClass, const char* pszText, DWORD dwStyle,
                 int nID, int x, int y, int w, int h);
// The control of a field table row.
HWND MakeField(HWND hParent, HINSTANCE hInst, HFONT hFont, const FormFieldDef& def);

// Date pickers and DATE_STRUCT / TIME_STRUCT values. A date field takes the
// dates the store writes and reads back exactly: 1601-01-01 to 9999-12-31.
// A date set outside that range is read back as it was set while the picker
// still shows the date it showed in its place (the user did not change it).
void SetPickerDate(HWND h, const DATE_STRUCT& d);
DATE_STRUCT ReadPickerDate(HWND h);
void SetPickerTime(HWND h, const TIME_STRUCT& t);
TIME_STRUCT ReadPickerTime(HWND h);
// The window text, cut at a character boundary to nSize - 1 bytes.
void ReadText(HWND h, char* pszBuf, size_t nSize);
// A text control of a dialog and the record field its text goes to.
struct TextField {
    int nID;
    char* pszField;
    size_t nSize;
};
// Reads each control's text into its field, as ReadText does.
void ReadTexts(HWND hDlg, const TextField* pFields, size_t nFields);
template <size_t N>
void ReadTexts(HWND hDlg, const TextField (&fields)[N]) {
    ReadTexts(hDlg, fields, N);
}
// An amount as typed, read whatever the locale: surrounding white space, a
// sign, a decimal or "0x" hexadecimal number, and nothing else; an empty
// text is 0, a number too small to hold is 0. The whole text is read, so that
// a large stored amount shown in full comes back unchanged. Result 0 with the
// amount in *pdAmount, or -1 after one message naming the field (pszField)
// when the text is not wholly a number, or is no finite one ("nan", "inf") or
// beyond what a double holds.
int ReadAmount(HWND h, const char* pszField, double* pdAmount);
// An amount written with two decimals, whatever the locale.
void WriteAmount(HWND h, double d);
// Empties a combo box.
void ClearCombo(HWND hCombo);
// Fills a combo box with nNames lookup names and selects pszValue; a value
// the lookup table no longer holds is still shown and selected, however many
// names the table has, so that saving keeps it.
void FillCombo(HWND hCombo, const char (*pszNames)[50], int nNames, const char* pszValue);
// Appends nNames lookup names to an emptied combo box.
void LoadCombo(HWND hCombo, const char (*pszNames)[50], int nNames);
