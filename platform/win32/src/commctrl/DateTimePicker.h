// Date-time picker ("SysDateTimePick32"): a QDateTimeEdit showing "yyyy-M-d"
// (with a drop-down month calendar, which F4 and Alt+Down open too) or
// "H:mm:ss" (DTS_TIMEFORMAT, up-down).
// The keyboard and the mouse edit it field by field, as the Win32 picker
// does: a click selects the field under it, digits replace the selected
// field, Left / Right move between fields; the arrows and Up / Down step the
// selected field, wrapping at its ends; the text shows from its left end.
#pragma once

#include <QDateTime>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <vector>

#include "win32.h"

class QToolButton;

namespace w32::cc {

class PickerEdit;

class DtpCtl : public QObject {
    Q_OBJECT
public:
    DtpCtl(HWND hwnd, DWORD style, QWidget* parent);
    QDateTimeEdit* Edit() const { return edit_; }
    QWidget* Widget() const { return edit_; }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    // Input the picker takes before its widget sees it (handled: the widget
    // does not), and what it does after the widget acted on it.
    LRESULT Input(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void AfterInput(UINT msg, WPARAM wp);
    // The drop-down calendar's window, or null for time pickers.
    QWidget* Popup() const;
    bool IsTimeFormat() const { return (style_ & DTS_TIMEFORMAT) == DTS_TIMEFORMAT; }

    static bool ValidSystemTime(const SYSTEMTIME& st);
    static QDateTime ToDateTime(const SYSTEMTIME& st);
    static SYSTEMTIME ToSystemTime(const QDateTime& dt, int ms);

    struct Field {
        int start, length;  // in the shown text
    };
    // The edit's line and its fields in the shown text, in order; none while
    // the text does not split into one field per section of the format.
    QLineEdit* Line() const;
    std::vector<Field> Fields() const;
    // The up-down arrows' rectangle in the edit, or an empty one for a
    // picker with a calendar.
    QRect ArrowsRect() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class PickerEdit;
    // The value with the selected field stepped, and the step itself (the
    // arrows, Up / Down, Page Up / Page Down).
    QDateTime Stepped(int steps) const;
    void Step(int steps);
    void Changed(const QDateTime& dt);
    void Notify(const QDateTime& dt);
    int FieldAtCursor() const;
    void SelectField(int i);
    void ShowFromLeft();
    void TypeDigit(int digit);
    void Commit();
    void RestoreRange();
    void Relayout();
    void DressCalendar();
    void PlaceCalendar();
    // Sets the value (within the range) and reports a change from `before`.
    void Apply(const QDateTime& dt, const QDateTime& before);

    HWND hwnd_;
    DWORD style_;
    QDateTimeEdit* edit_;
    int ms_ = 0;     // milliseconds of the value (the edit keeps seconds)
    int quiet_ = 0;  // >0 while the control itself sets the value
    HFONT font_ = nullptr;
    QDateTime lo_, hi_;     // the range (DTM_SETRANGE)
    bool widened_ = false;  // the widget's range is the widest, for a year being typed
    int field_ = 0;         // the selected field
    QString typed_;         // digits typed into it so far
    QDateTime typedFrom_;   // the value before the typing began

    QToolButton* today_ = nullptr;  // the calendar's today line
    QDateTime dropped_;             // the value when the calendar dropped down
};

}  // namespace w32::cc
