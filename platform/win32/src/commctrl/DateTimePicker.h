// Date-time picker ("SysDateTimePick32"): a QDateTimeEdit showing "yyyy-M-d"
// (with a drop-down month calendar) or "H:mm:ss" (DTS_TIMEFORMAT, up-down).
#pragma once

#include <QDateTime>
#include <QDateTimeEdit>

#include "win32.h"

namespace w32::cc {

class DtpCtl : public QObject {
    Q_OBJECT
public:
    DtpCtl(HWND hwnd, DWORD style, QWidget* parent);
    QDateTimeEdit* Edit() const { return edit_; }
    QWidget* Widget() const { return edit_; }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    // The drop-down calendar's window, or null for time pickers.
    QWidget* Popup() const;
    bool IsTimeFormat() const { return (style_ & DTS_TIMEFORMAT) == DTS_TIMEFORMAT; }

    static bool ValidSystemTime(const SYSTEMTIME& st);
    static QDateTime ToDateTime(const SYSTEMTIME& st);
    static SYSTEMTIME ToSystemTime(const QDateTime& dt, int ms);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Changed(const QDateTime& dt);

    HWND hwnd_;
    DWORD style_;
    QDateTimeEdit* edit_;
    int ms_ = 0;     // milliseconds of the value (the edit keeps seconds)
    int quiet_ = 0;  // >0 while the control itself sets the value
    HFONT font_ = nullptr;
};

}  // namespace w32::cc
