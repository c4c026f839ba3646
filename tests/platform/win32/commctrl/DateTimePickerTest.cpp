// Date-time picker: initial value, set/get round trips, refused dates,
// formats, the calendar's notifications and the program's subclassing.
#include "Fixture.h"

using namespace cctest;

namespace {

class PickerTest : public ParentTest {
protected:
    HWND MakePicker(DWORD extra = 0, int id = 11205) {
        HWND h =
            Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extra, 166, 40, 105, 20, id, "DateTime");
        EXPECT_NE(h, nullptr);
        return h;
    }
    static SYSTEMTIME Date(int y, int m, int d) {
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(y);
        st.wMonth = static_cast<WORD>(m);
        st.wDay = static_cast<WORD>(d);
        st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 1;
        st.wDayOfWeek = 1;
        return st;
    }
    static SYSTEMTIME Get(HWND h) {
        SYSTEMTIME st{};
        EXPECT_EQ(SendMessageA(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
        return st;
    }
    static std::string Shown(HWND h) {
        // The text the picker shows, through its grab-free accessor: window text is not it.
        return w32test::PickerText(h);
    }
};

TEST_F(PickerTest, StartsAtTheLocalDateAndTime) {
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    HWND h = MakePicker();
    GetLocalTime(&after);
    const SYSTEMTIME st = Get(h);
    const bool sameDay = (st.wYear == before.wYear && st.wMonth == before.wMonth && st.wDay == before.wDay) ||
                         (st.wYear == after.wYear && st.wMonth == after.wMonth && st.wDay == after.wDay);
    EXPECT_TRUE(sameDay);
    // The time of day too (the record dialogs keep it), unless midnight passed meanwhile.
    auto seconds = [](const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; };
    if (before.wDay == after.wDay) {
        EXPECT_GE(seconds(st), seconds(before));
        EXPECT_LE(seconds(st), seconds(after));
    }
}

TEST_F(PickerTest, SetThenGetRoundTripsAndShowsTheShortDate) {
    HWND h = MakePicker();
    SYSTEMTIME in = Date(2024, 3, 5);
    EXPECT_TRUE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&in)));
    const SYSTEMTIME out = Get(h);
    EXPECT_EQ(out.wYear, 2024);
    EXPECT_EQ(out.wMonth, 3);
    EXPECT_EQ(out.wDay, 5);
    EXPECT_EQ(out.wDayOfWeek, 2);  // a Tuesday, computed by the picker
    EXPECT_EQ(Shown(h), "2024-3-5");
}

TEST_F(PickerTest, AnInvalidDateIsRefusedAndLeavesTheValue) {
    HWND h = MakePicker();
    SYSTEMTIME good = Date(2023, 12, 31);
    ASSERT_TRUE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&good)));
    SYSTEMTIME null{};  // what a NULL database date reads as
    EXPECT_FALSE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&null)));
    SYSTEMTIME feb30 = Date(2023, 2, 30);
    EXPECT_FALSE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&feb30)));
    EXPECT_FALSE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&good)));
    const SYSTEMTIME out = Get(h);
    EXPECT_EQ(out.wYear, 2023);
    EXPECT_EQ(out.wMonth, 12);
    EXPECT_EQ(out.wDay, 31);
    EXPECT_EQ(Shown(h), "2023-12-31");
}

TEST_F(PickerTest, TimePickerTakesYearOneAndShowsTheTime) {
    HWND h = MakePicker(DTS_TIMEFORMAT, 11161);
    SYSTEMTIME t{};
    t.wYear = t.wMonth = t.wDay = t.wDayOfWeek = t.wMilliseconds = 1;
    t.wHour = 9;
    t.wMinute = 5;
    t.wSecond = 7;
    EXPECT_TRUE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t)));
    const SYSTEMTIME out = Get(h);
    EXPECT_EQ(out.wHour, 9);
    EXPECT_EQ(out.wMinute, 5);
    EXPECT_EQ(out.wSecond, 7);
    EXPECT_EQ(Shown(h), "9:05:07");
    EXPECT_FALSE(w32test::PickerHasCalendar(h));
}

TEST_F(PickerTest, TimesInADaylightSavingGapKeepTheirFields) {
    // 02:30 does not exist on these days in parts of America and Europe; the
    // picker holds calendar fields, not instants, so it must keep them.
    HWND h = MakePicker(DTS_TIMEFORMAT, 11161);
    for (const SYSTEMTIME& day : {Date(2024, 3, 10), Date(2024, 3, 31)}) {
        SYSTEMTIME t = day;
        t.wHour = 2;
        t.wMinute = 30;
        t.wSecond = 0;
        ASSERT_TRUE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t)));
        const SYSTEMTIME out = Get(h);
        EXPECT_EQ(out.wDay, day.wDay);
        EXPECT_EQ(out.wHour, 2);
        EXPECT_EQ(out.wMinute, 30);
        EXPECT_EQ(Shown(h), "2:30:00");
    }
}

TEST_F(PickerTest, CloseUpComesWhenTheCalendarClosesWithThePickedDateInPlace) {
    HWND h = MakePicker(DTS_SHORTDATEFORMAT);
    SYSTEMTIME start = Date(2024, 5, 10);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
    SYSTEMTIME atCloseUp{};
    Rec().onNotify = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == DTN_CLOSEUP)
            SendMessageA(hdr->hwndFrom, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&atCloseUp));
        return 0;
    };
    Rec().Clear();
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    EXPECT_EQ(Rec().Of(DTN_DROPDOWN).size(), 1u);
    EXPECT_TRUE(Rec().Of(DTN_CLOSEUP).empty());
    w32test::PickCalendarDate(h, 2024, 5, 21);
    EXPECT_FALSE(w32test::PickerCalendarOpen(h));
    ASSERT_EQ(Rec().Of(DTN_CLOSEUP).size(), 1u);
    EXPECT_EQ(atCloseUp.wDay, 21);
    EXPECT_EQ(Get(h).wDay, 21);
    EXPECT_FALSE(Rec().Of(DTN_DATETIMECHANGE).empty());

    // Dismissed without a pick: still one DTN_CLOSEUP, value unchanged.
    Rec().Clear();
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    w32test::DismissPickerCalendar(h);
    EXPECT_EQ(Rec().Of(DTN_CLOSEUP).size(), 1u);
    EXPECT_EQ(Get(h).wDay, 21);
}

TEST_F(PickerTest, AParentMayDestroyThePickerWhenItsCalendarCloses) {
    HWND h = MakePicker(DTS_SHORTDATEFORMAT);
    Rec().onNotify = [](NMHDR* hdr) -> LRESULT {
        if (hdr->code == DTN_CLOSEUP) DestroyWindow(hdr->hwndFrom);
        return 0;
    };
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    w32test::PickCalendarDate(h, 2024, 5, 21);
    w32test::ProcessEvents(20);
    EXPECT_EQ(Rec().Of(DTN_CLOSEUP).size(), 1u);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(PickerTest, SettingTheValueSendsNoNotification) {
    HWND h = MakePicker();
    Rec().Clear();
    SYSTEMTIME st = Date(2020, 1, 2);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    w32test::ProcessEvents();
    EXPECT_TRUE(Rec().Of(DTN_DATETIMECHANGE).empty());
    EXPECT_TRUE(Rec().Of(DTN_CLOSEUP).empty());
}

TEST_F(PickerTest, ATypedChangeNotifiesTheChangeButNoCloseUp) {
    HWND h = MakePicker(DTS_SHORTDATEFORMAT);
    SYSTEMTIME st = Date(2024, 5, 10);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    SetFocus(h);
    w32test::ProcessEvents();
    Rec().Clear();
    w32test::PressKey(VK_UP, false, false, h);
    const SYSTEMTIME now = Get(h);
    EXPECT_FALSE(now.wYear == 2024 && now.wMonth == 5 && now.wDay == 10) << "the arrow key changed a field";
    ASSERT_EQ(Rec().Of(DTN_DATETIMECHANGE).size(), 1u);
    EXPECT_TRUE(Rec().Of(DTN_CLOSEUP).empty());
}

TEST_F(PickerTest, RightAlignedCalendarEndsUnderTheControlsRightEdge) {
    HWND h = MakePicker(DTS_RIGHTALIGN);
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    RECT client{};
    GetClientRect(h, &client);
    RECT cal = w32test::PickerCalendarRect(h);  // in the picker's client coordinates
    EXPECT_EQ(cal.right, client.right);
    EXPECT_GE(cal.top, client.bottom - 1);
    w32test::DismissPickerCalendar(h);
}

TEST_F(PickerTest, ADisabledPickerTakesNoInput) {
    HWND h = MakePicker(WS_DISABLED);
    SYSTEMTIME st = Date(2022, 6, 1);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    w32test::OpenPickerCalendar(h);
    EXPECT_FALSE(w32test::PickerCalendarOpen(h));
    EXPECT_EQ(Get(h).wDay, 1);
    EXPECT_EQ(Shown(h), "2022-6-1");
}

WNDPROC g_oldPickerProc = nullptr;
std::vector<WPARAM> g_keys;
LRESULT CALLBACK PickerSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN) g_keys.push_back(wp);
    if (msg == WM_KEYDOWN && wp == VK_TAB) return 0;  // the form moves the focus itself
    return CallWindowProcA(g_oldPickerProc, h, msg, wp, lp);
}

TEST_F(PickerTest, TheProgramsSubclassSeesTabWhileThePickerHasTheFocus) {
    HWND h = MakePicker();
    g_keys.clear();
    g_oldPickerProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PickerSubclass)));
    SetFocus(h);
    w32test::ProcessEvents();
    w32test::PressKey(VK_TAB);
    w32test::PressKey(VK_UP);
    EXPECT_EQ(g_keys, (std::vector<WPARAM>{VK_TAB, VK_UP}));
    EXPECT_EQ(GetFocus(), h);
}

TEST_F(PickerTest, Grab) {
    HWND h = MakePicker();
    SYSTEMTIME st = Date(2024, 11, 28);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    w32test::ProcessEvents(20);
    EXPECT_TRUE(w32test::GrabWindow(h, OutDir() + "/datepicker.png"));
}

}  // namespace

namespace {

// Field editing as the Win32 picker does it: a click selects the field under
// it, digits replace that field, the year is settled when the user leaves it.
class PickerTyping : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        other_ = Make("EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 300, 40, 80, 20, 11206, "");
    }
    HWND Ranged() {
        HWND h = MakePicker();
        SYSTEMTIME range[2] = {Date(1601, 1, 1), Date(9999, 12, 31)};
        SendMessageA(h, DTM_SETRANGE, 1 | 2, reinterpret_cast<LPARAM>(range));
        SYSTEMTIME st = Date(2024, 5, 10);
        SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
        return h;
    }
    void ClickField(HWND h, int field, bool twice = false) {
        const POINT p = w32test::PickerFieldPoint(h, field);
        if (twice)
            w32test::DoubleClick(h, p.x, p.y);
        else
            w32test::Click(h, p.x, p.y);
    }
    void Leave() {
        SetFocus(other_);
        w32test::ProcessEvents();
    }
    static std::string Ymd(HWND h) {
        const SYSTEMTIME st = Get(h);
        return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
    }
    HWND other_ = nullptr;
};

TEST_F(PickerTyping, ATwoDigitYearLiesInTheTwoDigitYearWindowAndKeepsMonthAndDay) {
    HWND h = Ranged();
    Rec().Clear();
    ClickField(h, 0, true);
    EXPECT_EQ(w32test::PickerSelectedText(h), "2024");
    w32test::TypeText("26", h);
    Leave();
    EXPECT_EQ(Ymd(h), "2026-5-10");
    EXPECT_EQ(Shown(h), "2026-5-10");
    ASSERT_FALSE(Rec().Of(DTN_DATETIMECHANGE).empty());

    ClickField(h, 0);
    w32test::TypeText("87", h);
    Leave();
    EXPECT_EQ(Ymd(h), "1987-5-10");
    ClickField(h, 0);
    w32test::TypeText("49", h);
    w32test::PressKey(VK_RIGHT, false, false, h);  // leaving the field settles it too
    EXPECT_EQ(Ymd(h), "2049-5-10");
    EXPECT_EQ(w32test::PickerSelectedText(h), "5");
}

TEST_F(PickerTyping, FourDigitYearsWithLeadingZerosAreTakenAsTypedWithinTheRange) {
    HWND h = MakePicker();  // the full range, from the year 1
    SYSTEMTIME st = Date(2024, 12, 7);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    ClickField(h, 0);
    w32test::TypeText("009", h);
    EXPECT_EQ(Shown(h), "0009-12-7") << "shown as typed meanwhile";
    w32test::TypeText("9", h);
    EXPECT_EQ(Shown(h), "0099-12-7");
    Leave();
    EXPECT_EQ(Ymd(h), "99-12-7");
    ClickField(h, 0);
    w32test::TypeText("0100", h);
    Leave();
    EXPECT_EQ(Ymd(h), "100-12-7");

    // With the record forms' range a year before 1601 becomes its first day.
    HWND r = Ranged();
    ClickField(r, 0);
    w32test::TypeText("0100", r);
    Leave();
    EXPECT_EQ(Ymd(r), "1601-1-1");
    EXPECT_EQ(Shown(r), "1601-1-1");
}

TEST_F(PickerTyping, ADatePickedInTheCalendarEndsTheTypingOfAYear) {
    HWND h = Ranged();
    ClickField(h, 0);
    w32test::TypeText("15", h);
    w32test::OpenPickerCalendar(h);
    ASSERT_TRUE(w32test::PickerCalendarOpen(h));
    w32test::PickCalendarDate(h, 2024, 5, 21);
    Leave();
    EXPECT_EQ(Ymd(h), "2024-5-21");
    EXPECT_EQ(Shown(h), "2024-5-21");
    SYSTEMTIME range[2] = {};
    SendMessageA(h, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
    EXPECT_EQ(range[0].wYear, 1601);
}

TEST_F(PickerTyping, TypingNeitherKeepsTheWidenedRangeNorWhatAPartialFieldClamped) {
    HWND h = Ranged();
    ClickField(h, 0);
    w32test::TypeText("1", h);
    SYSTEMTIME first = Date(1601, 1, 1);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&first));
    w32test::PressKey(VK_DOWN, false, false, h);  // the range's first day stays
    EXPECT_EQ(Ymd(h), "1601-1-1");
    // A date before the range shows as its first day, digits pending or not.
    w32test::TypeText("1", h);
    SYSTEMTIME before = Date(1500, 6, 1);
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&before));
    Leave();
    EXPECT_EQ(Ymd(h), "1601-1-1");
    EXPECT_EQ(Shown(h), "1601-1-1");

    // Month 1, typed on the way to 11, lies before the range: the day it was
    // clamped to is not kept.
    SYSTEMTIME range[2] = {Date(2024, 5, 10), Date(2025, 12, 31)}, st = Date(2024, 12, 15);
    SendMessageA(h, DTM_SETRANGE, 1 | 2, reinterpret_cast<LPARAM>(range));
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    ClickField(h, 1);
    w32test::TypeText("11", h);
    EXPECT_EQ(Ymd(h), "2024-11-15");
}

TEST_F(PickerTyping, AClickSelectsTheFieldUnderItAndDigitsReplaceIt) {
    HWND h = Ranged();
    ClickField(h, 1);
    EXPECT_EQ(w32test::PickerSelectedText(h), "5");
    w32test::TypeText("11", h);
    EXPECT_EQ(Ymd(h), "2024-11-10");
    ClickField(h, 2);
    EXPECT_EQ(w32test::PickerSelectedText(h), "10");
    w32test::TypeText("3", h);
    EXPECT_EQ(Ymd(h), "2024-11-3");
    w32test::TypeText("0", h);  // the second digit completes the field
    EXPECT_EQ(Ymd(h), "2024-11-30");
    w32test::TypeText("4", h);  // no day of November starts with 4 and another digit
    EXPECT_EQ(Ymd(h), "2024-11-4");
    w32test::TypeText("30", h);
    w32test::PressKey(VK_LEFT, false, false, h);
    w32test::TypeText("2", h);
    EXPECT_EQ(Ymd(h), "2024-2-29");
    w32test::TypeText("-", h);  // a separator moves on to the next field
    EXPECT_EQ(w32test::PickerSelectedText(h), "29");
}

// The text a time picker shows once it holds h:m:s.
static std::string ShownAt(HWND hPicker, WORD h, WORD m, WORD s) {
    SYSTEMTIME t = {2024, 5, 0, 10, h, m, s, 0};
    SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    w32test::ProcessEvents();
    return w32test::PickerShownText(hPicker);
}

TEST_F(PickerTyping, TheNarrowTimePickerShowsItsWholeTimeBesideItsArrowsAndTakesTypedTimes) {
    // The forms' and the new-task dialog's sizes, in the font they give.
    HFONT font = CreateFontA(-15, 0, 0, 0, 400, 0, 0, 0, 134 /* GB2312 */, 0, 0, 0, 0, "宋体");
    for (SIZE size : {SIZE{66, 24}, SIZE{65, 20}}) {
        SCOPED_TRACE(size.cx);
        HWND h = Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, 400, 95, size.cx,
                      size.cy, 11161, "DateTime");
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        EXPECT_EQ(ShownAt(h, 23, 58, 58), "23:58:58");
        // The narrowed arrows still step the selected field.
        const RECT arrows = w32test::PickerArrowsRect(h);
        ClickField(h, 1);
        w32test::Click(h, (arrows.left + arrows.right) / 2, arrows.top + 3);
        EXPECT_EQ(Get(h).wMinute, 59);
        DestroyWindow(h);
    }
    DeleteObject(font);
    HWND h = Make(DATETIMEPICK_CLASSA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, 400, 95, 65, 20, 11161,
                  "DateTime");
    EXPECT_EQ(ShownAt(h, 14, 30, 0), "14:30:00");

    ClickField(h, 0);
    EXPECT_EQ(w32test::PickerSelectedText(h), "14");
    w32test::TypeText("8", h);
    ClickField(h, 1);
    EXPECT_EQ(w32test::PickerSelectedText(h), "30");
    w32test::TypeText("45", h);
    Leave();
    EXPECT_EQ(Get(h).wHour, 8);
    EXPECT_EQ(Get(h).wMinute, 45);
    EXPECT_EQ(Get(h).wSecond, 0);
    EXPECT_EQ(w32test::PickerShownText(h).substr(0, 4), "8:45");
}

// A time picker subclassed as the record forms do: a held arrow steps on by
// itself until released; after it every key and click steps once.
TEST_F(PickerTyping, ASubclassedTimePickersHeldArrowRepeatsAndLeavesTheKeysAndClicksStepping) {
    HWND h = MakePicker(DTS_TIMEFORMAT, 11161);
    g_oldPickerProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PickerSubclass)));
    const SYSTEMTIME start = {2024, 5, 0, 10, 10, 20, 30, 0};
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
    ClickField(h, 2);
    const RECT a = w32test::PickerArrowsRect(h);
    const int x = (a.left + a.right) / 2, up = a.top + 3, down = a.bottom - 3;
    w32test::MouseDown(h, x, up);
    EXPECT_TRUE(w32test::WaitFor([&] { return Get(h).wSecond > 31; })) << "held, the arrow does not repeat";
    w32test::MouseUp(h, x, up);
    const int held = Get(h).wSecond;
    for (auto [vk, second] : {std::pair{VK_DOWN, held - 1}, {VK_UP, held}}) {
        w32test::PressKey(vk, false, false, h);
        EXPECT_EQ(Get(h).wSecond, second);
    }
    for (auto [y, second] : {std::pair{down, held - 1}, {down, held - 2}, {up, held - 1}}) {
        w32test::Click(h, x, y);
        EXPECT_EQ(Get(h).wSecond, second);
    }
}

TEST_F(PickerTyping, EachFieldWrapsAtItsEndsAloneWithTheArrowsAndTheKeys) {
    HWND h = MakePicker(DTS_TIMEFORMAT, 11161);
    const RECT arrows = w32test::PickerArrowsRect(h);
    SYSTEMTIME told{};
    Rec().onNotify = [&](NMHDR* hdr) -> LRESULT {
        if (hdr->code == DTN_DATETIMECHANGE) told = reinterpret_cast<NMDATETIMECHANGE*>(hdr)->st;
        return 0;
    };
    auto when = [](const SYSTEMTIME& t) {
        char s[40];
        snprintf(s, sizeof s, "%d-%d-%d %d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
        return std::string(s);
    };
    // Both arrows drawn in the enabled colour, none greyed.
    auto arrowsShowEnabled = [&] {
        const int mid = (arrows.top + arrows.bottom) / 2, cx = (arrows.left + arrows.right) / 2;
        bool up = false, down = false;
        for (int y = arrows.top; y < arrows.bottom; ++y)
            for (int x = cx - 2; x <= cx + 2; ++x)
                if (w32test::PixelAt(h, x, y) == RGB(96, 96, 96)) (y < mid ? up : down) = true;
        return up && down;
    };
    // Hours, minutes, seconds each at its first value, stepped down to its
    // last and up again.
    const std::pair<SYSTEMTIME, std::string> ends[] = {{{2024, 5, 0, 10, 0, 17, 42, 0}, "2024-5-10 23:17:42"},
                                                       {{2024, 5, 0, 10, 9, 0, 42, 0}, "2024-5-10 9:59:42"},
                                                       {{2024, 5, 0, 10, 23, 17, 0, 0}, "2024-5-10 23:17:59"}};
    for (bool keys : {false, true})
        for (int field = 0; field < 3; ++field) {
            SCOPED_TRACE(std::to_string(field) + (keys ? " keys" : " arrows"));
            SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&ends[field].first));
            ClickField(h, field);
            for (bool down : {true, false}) {
                const std::string want = down ? ends[field].second : when(ends[field].first);
                Rec().Clear();
                EXPECT_TRUE(keys || arrowsShowEnabled());
                if (keys)
                    w32test::PressKey(down ? VK_DOWN : VK_UP, false, false, h);
                else
                    w32test::Click(h, (arrows.left + arrows.right) / 2, down ? arrows.bottom - 3 : arrows.top + 3);
                EXPECT_EQ(when(Get(h)), want);
                EXPECT_EQ(Rec().Of(DTN_DATETIMECHANGE).size(), 1u);
                EXPECT_EQ(when(told), want);
            }
        }

    // A 12-hour hour keeps its half of the day.
    SendMessageA(h, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("h:mm:ss tt"));
    for (WORD hour : {11, 23}) {
        const SYSTEMTIME t = {2024, 5, 0, 10, hour, 30, 0, 0};
        SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
        ClickField(h, 0);
        w32test::PressKey(VK_UP, false, false, h);
        EXPECT_EQ(Get(h).wHour, hour - 11);
        w32test::PressKey(VK_DOWN, false, false, h);
        EXPECT_EQ(Get(h).wHour, hour);
    }

    // An up-down date's month and day wrap alone too.
    HWND d = MakePicker(DTS_UPDOWN, 11162);
    const SYSTEMTIME last = Date(2024, 12, 31);
    SendMessageA(d, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&last));
    for (auto [field, vk, ymd] :
         {std::tuple{1, VK_UP, "2024-1-31"}, {2, VK_UP, "2024-1-1"}, {2, VK_DOWN, "2024-1-31"}}) {
        ClickField(d, field);
        w32test::PressKey(vk, false, false, d);
        EXPECT_EQ(Ymd(d), ymd);
    }
}

}  // namespace
