// The task record form: modes, stepping, add / change / delete / cancel with
// the database checked, the failure paths, a task deleted meanwhile, the cost
// under a decimal-comma locale, the subject's width and the Tab order.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "tests/views/tasks/TasTest.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "shell/RelatingGlobals.h"
#include "resources/tasks_ids.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

using namespace programtest;
using namespace tastest;

namespace {

class TasRecordForm : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddTask({.subject = "甲任务",
                     .date = "2024-03-01",
                     .time = "08:15:00",
                     .outlay = 10.25,
                     .description = "甲的内容"});
        b = AddTask({.subject = "乙任务", .date = "2024-03-02", .time = "09:30:00", .outlay = 0, .closed = true});
        c = AddTask({.subject = "丙任务", .date = "2024-03-03", .time = "10:45:00", .outlay = 7});
        GotoTas_ListAll();  // oldest at the top: 甲, 乙, 丙
    }
    void Open(int row) { DoubleClickRow(g_Tas_ListAll, g_Tas_ListAll.m_ListView, row); }
    void AddTrigger(const char* when) {
        ASSERT_EQ(Exec(std::string("CREATE TRIGGER refuse BEFORE ") + when +
                       " ON tasks BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                  0);
    }
    std::string Stored(const char* column, unsigned id) {
        return QueryText(std::string("SELECT ") + column + " FROM tasks WHERE tas_id=" + std::to_string(id));
    }
    // Task b, dated so, open for editing with digits typed into its year.
    void TypeYear(const std::string& date, unsigned row, const char* digits) {
        Exec("UPDATE tasks SET tas_date=#" + date + "# WHERE tas_id=" + std::to_string(b));
        Open(row);
        Click(form, IDC_TASD_EDIT);
        const POINT p = w32test::PickerFieldPoint(form.m_hDate, 0);
        w32test::Click(form.m_hDate, p.x, p.y);
        w32test::TypeText(digits, form.m_hDate);
    }
    unsigned a = 0, b = 0, c = 0;
    Tas_DetailDialogClass& form = g_Tas_Detail;
};

bool NavState(bool first, bool prev, bool next, bool last) {
    return Enabled(g_Tas_Detail.m_hFirstButton) == first && Enabled(g_Tas_Detail.m_hPrevButton) == prev &&
           Enabled(g_Tas_Detail.m_hNextButton) == next && Enabled(g_Tas_Detail.m_hLastButton) == last;
}

TEST_F(TasRecordForm, ShowsATaskReadOnlyAndStepsThroughTheList) {
    Open(0);
    ASSERT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.m_ulRecordID, a);
    EXPECT_EQ(Text(form.m_hSubject), "甲任务");
    EXPECT_EQ(Text(form.m_hCost), "10.25");
    EXPECT_EQ(Text(form.m_hContent), "甲的内容");
    const SYSTEMTIME d = PickerDate(form.m_hDate), t = PickerDate(form.m_hTime);
    EXPECT_TRUE(SameDay(d, 2024, 3, 1));
    EXPECT_EQ(t.wHour, 8);
    EXPECT_EQ(t.wMinute, 15);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_FALSE(Enabled(form.m_hSaveButton));
    EXPECT_TRUE(Enabled(form.m_hEditButton));
    EXPECT_TRUE(Enabled(form.m_hDeleteButton));
    EXPECT_FALSE(Enabled(form.m_hPrivate));
    EXPECT_TRUE(NavState(false, false, true, true));
    EXPECT_EQ(g_ulRelatingID, a);

    const int nEntries = HistoryCount();
    Click(form, IDC_TASD_NEXT);
    EXPECT_EQ(Text(form.m_hSubject), "乙任务");
    EXPECT_EQ(SendMessageA(form.m_hClosed, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(form.m_hCost), "0.00");
    EXPECT_TRUE(NavState(true, true, true, true));
    Click(form, IDC_TASD_LAST);
    EXPECT_EQ(Text(form.m_hSubject), "丙任务");
    // A box ticked for the task before is cleared for this one.
    EXPECT_EQ(SendMessageA(form.m_hClosed, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(NavState(true, true, false, false));
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent->m_nRecordID, c);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 2);
    // wParam -1 keeps the row and the counter line.
    SendMessageA(form.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)c);
    EXPECT_EQ(form.m_nRow, 2);
    EXPECT_EQ(form.m_nIDCount, 3);
    Grab(form, "tas_detail");
}

TEST_F(TasRecordForm, EditingAndSavingStoresTheFieldsAndKeepsThePlace) {
    Open(1);
    Click(form, IDC_TASD_EDIT);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_TRUE(Enabled(form.m_hSaveButton));
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hMenuButtons[0]));  // 添加计划日志
    SetText(form.m_hSubject, "乙任务改");
    SetText(form.m_hCost, "12.345");
    SetText(form.m_hContent, "新的内容, with 'quotes'");
    SendMessageA(form.m_hPrivate, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(form.m_hRemind, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(form.m_hClosed, BM_SETCHECK, BST_UNCHECKED, 0);
    SYSTEMTIME st = {};
    st.wYear = 2025;
    st.wMonth = 12;
    st.wDay = 31;
    st.wHour = 23;
    st.wMinute = 5;
    SendMessageA(form.m_hDate, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    SendMessageA(form.m_hTime, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    Click(form, IDC_TASD_SAVE);

    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(form.m_nRow, 1);
    EXPECT_EQ(Stored("tas_subject", b), "乙任务改");
    EXPECT_EQ(Stored("tas_description", b), "新的内容, with 'quotes'");
    EXPECT_EQ(QueryInt("SELECT tas_private*100+tas_remind*10+tas_closed FROM tasks WHERE tas_id=" + std::to_string(b)),
              110);
    EXPECT_EQ(
        Database().Query("SELECT tas_date, tas_time FROM tasks WHERE tas_id=" + std::to_string(b))[0][0].substr(0, 10),
        "2025-12-31");
    EXPECT_EQ(Text(form.m_hCost), "12.35");
    EXPECT_EQ(Text(form.m_hSubject), "乙任务改");
}

TEST_F(TasRecordForm, TypedDateAndTimeAreSavedAsTyped) {
    Open(1);
    ASSERT_EQ(form.m_ulRecordID, b);
    // The narrow time field shows the hours first.
    EXPECT_EQ(w32test::PickerShownText(form.m_hTime).substr(0, 4), "9:30");
    Click(form, IDC_TASD_EDIT);
    auto clickField = [](HWND h, int field, bool twice) {
        const POINT p = w32test::PickerFieldPoint(h, field);
        if (twice)
            w32test::DoubleClick(h, p.x, p.y);
        else
            w32test::Click(h, p.x, p.y);
    };
    clickField(form.m_hDate, 0, true);
    w32test::TypeText("26", form.m_hDate);
    clickField(form.m_hTime, 0, false);
    w32test::TypeText("14", form.m_hTime);
    clickField(form.m_hTime, 1, false);
    w32test::TypeText("05", form.m_hTime);
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    const auto row = Database().Query("SELECT tas_date, tas_time FROM tasks WHERE tas_id=" + std::to_string(b))[0];
    EXPECT_EQ(row[0].substr(0, 10), "2026-03-02");
    EXPECT_EQ(row[1].substr(row[1].size() - 8), "14:05:00");
    EXPECT_EQ(w32test::PickerShownText(form.m_hTime).substr(0, 5), "14:05");
}

TEST_F(TasRecordForm, AYearRetypedKeepsTheDayWhereTheYearTakenHasIt) {
    const struct {
        const char *from, *typed, *stored;
    } cases[] = {{"2024-02-29", "2024", "2024-02-29"},
                 {"2024-02-29", "24", "2024-02-29"},
                 {"2024-02-29", "28", "2028-02-29"},
                 {"2024-02-29", "2023", "2023-02-28"},
                 {"2024-01-31", "2025", "2025-01-31"}};
    for (const auto& k : cases) {
        TypeYear(k.from, 1, k.typed);
        SetFocus(form.m_hSubject);  // leaving the field settles the year
        Click(form, IDC_TASD_SAVE);
        EXPECT_EQ(Stored("tas_date", b).substr(0, 10), k.stored) << k.typed;
    }
}

TEST_F(TasRecordForm, ARecordShownWhileAYearIsTypedKeepsThePickersRange) {
    TypeYear("1601-01-01", 0, "1");
    Click(form, IDC_TASD_NEXT);  // task b, while the digit is pending
    ASSERT_EQ(form.m_ulRecordID, b);
    Click(form, IDC_TASD_EDIT);
    const POINT p = w32test::PickerFieldPoint(form.m_hDate, 0);
    w32test::Click(form.m_hDate, p.x, p.y);
    w32test::PressKey(VK_DOWN, false, false, form.m_hDate);
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(Stored("tas_date", b).substr(0, 10), "1601-01-01");
}

TEST_F(TasRecordForm, ANewTaskIsSavedWithItsEntryAfterTheBlankForms) {
    GotoTas_DetailNew();
    ASSERT_EQ(g_pCurrentDialog, &form);
    HistoryNode* pBlank = g_History.m_pCurrent;
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_TRUE(NavState(false, false, false, false));
    EXPECT_EQ(Text(form.m_hSubject), "");
    EXPECT_EQ(g_ulRelatingID, 0u);
    // 添加计划日志 on the form itself adds no entry.
    const int nEntries = HistoryCount();
    GotoTas_DetailNew();
    EXPECT_EQ(HistoryCount(), nEntries);

    SetText(form.m_hSubject, "新任务");
    SetText(form.m_hCost, "");
    Click(form, IDC_TASD_SAVE);
    const unsigned id = (unsigned)QueryInt("SELECT MAX(tas_id) FROM tasks");
    EXPECT_EQ(Stored("tas_subject", id), "新任务");
    EXPECT_EQ(QueryInt("SELECT tas_outlay FROM tasks WHERE tas_id=" + std::to_string(id)), 0);
    EXPECT_EQ(form.m_ulRecordID, id);
    EXPECT_EQ(Text(form.m_hCost), "0.00");
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(HistoryCount(), nEntries + 1);
    Back();
    EXPECT_EQ(g_History.m_pCurrent, pBlank);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
}

TEST_F(TasRecordForm, DeleteAsksThenRemovesTheTaskAndItsLinksAndGoesBack) {
    const unsigned acc = AddAccount({.name = "某公司"});
    Link("accounts", acc, "tasks", b);
    Open(1);
    AnswerBoxes(IDNO);
    Click(form, IDC_TASD_DELETE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks WHERE tas_id=" + std::to_string(b)), 1);
    EXPECT_EQ(g_pCurrentDialog, &form);
    AnswerBoxes(IDYES);
    Click(form, IDC_TASD_DELETE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks WHERE tas_id=" + std::to_string(b)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_tasks WHERE tas_id=" + std::to_string(b)), 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
}

TEST_F(TasRecordForm, CancelGoesBackInEveryMode) {
    Open(0);
    Click(form, IDC_TASD_EDIT);
    Click(form, IDC_TASD_CANCEL);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
    GotoTas_DetailNew();
    Click(form, IDC_TASD_CANCEL);
    EXPECT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
}

TEST_F(TasRecordForm, ATaskDeletedMeanwhileIsMissingAndCannotBeChangedOrDeleted) {
    Open(0);
    ASSERT_EQ(Exec("DELETE FROM tasks WHERE tas_id=" + std::to_string(b)), 0);
    AnswerBoxes(IDOK);
    Click(form, IDC_TASD_NEXT);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.m_ulRecordID, b);
    EXPECT_FALSE(form.m_bFound);
    EXPECT_FALSE(Enabled(form.m_hEditButton));
    EXPECT_FALSE(Enabled(form.m_hDeleteButton));
    EXPECT_EQ(Text(form.m_hSubject), "");
    // Even a 修改 sent by hand writes nothing over another task.
    Click(form, IDC_TASD_EDIT);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), 2);
    EXPECT_EQ(Stored("tas_subject", a), "甲任务");
}

TEST_F(TasRecordForm, AFailedChangeStaysInEditModeWithTheInput) {
    Open(1);
    Click(form, IDC_TASD_EDIT);
    AddTrigger("UPDATE");
    SetText(form.m_hSubject, "改不了");
    const int nEntries = HistoryCount();
    AnswerBoxes(IDOK);
    Click(form, IDC_TASD_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_EQ(Text(form.m_hSubject), "改不了");
    EXPECT_EQ(Stored("tas_subject", b), "乙任务");
    EXPECT_EQ(HistoryCount(), nEntries);
}

TEST_F(TasRecordForm, AFailedAddStaysANewTaskWithTheInputAndShowsNoOtherTask) {
    GotoTas_DetailNew();
    AddTrigger("INSERT");
    SetText(form.m_hSubject, "存不了");
    HistoryNode* pNode = g_History.m_pCurrent;
    const int nEntries = HistoryCount();
    AnswerBoxes(IDOK);
    Click(form, IDC_TASD_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.m_ulRecordID, 0u);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hSubject), "存不了");
    EXPECT_EQ(HistoryCount(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), 3);
}

TEST_F(TasRecordForm, AFailedDeleteStaysOnTheTask) {
    Open(1);
    AddTrigger("DELETE");
    HistoryNode* pNode = g_History.m_pCurrent;
    AnswerBoxes(IDYES);
    Click(form, IDC_TASD_DELETE);
    TakeBoxes();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks WHERE tas_id=" + std::to_string(b)), 1);
    EXPECT_EQ(g_pCurrentDialog, &form);
    EXPECT_EQ(g_History.m_pCurrent, pNode);
    EXPECT_EQ(pNode->m_nRecordID, b);
}

TEST_F(TasRecordForm, ACostNoFloatHoldsIsRefusedWithTheInputKept) {
    Open(0);
    Click(form, IDC_TASD_EDIT);
    for (const char* cost : {"1e39", "inf", "nan"}) {
        SetText(form.m_hCost, cost);
        AnswerBoxes(IDOK);
        Click(form, IDC_TASD_SAVE);
        EXPECT_EQ(TakeBoxes().size(), 1u) << cost;
        EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);
        EXPECT_EQ(Text(form.m_hCost), cost);
    }
    EXPECT_EQ(Stored("tas_outlay", a), "10.25");
}

// The cost is taken only when it is wholly a number as strtod reads it:
// white space around it, a hexadecimal number; an empty cost is 0.
TEST_F(TasRecordForm, TheCostIsTakenOnlyWhenWhollyANumber) {
    GotoTas_DetailNew();
    SetText(form.m_hSubject, "新任务");
    for (const char* cost : {"12万", "1,200", " 2.5元", "１２３", "0x"}) {
        SetText(form.m_hCost, cost);
        AnswerBoxes(IDOK);
        Click(form, IDC_TASD_SAVE);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"“费用”不是有效的金额，请输入一个有限的数字。"}) << cost;
        EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew) << cost;
        EXPECT_EQ(Text(form.m_hCost), cost);
    }
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), 3);
    SetText(form.m_hCost, "");
    Click(form, IDC_TASD_SAVE);
    const unsigned id = form.m_ulRecordID;
    EXPECT_EQ(Stored("tas_outlay", id), "0");
    const struct {
        const char* typed;
        const char* shown;
        const char* stored;
    } kCosts[] = {
        {" 12.5 ", "12.50", "12.5"}, {"\t5\n", "5.00", "5"}, {"0x10", "16.00", "16"},
        {"-0X1.8p1", "-3.00", "-3"}, {"1e-60", "0.00", "0"},
    };
    for (const auto& c : kCosts) {
        Click(form, IDC_TASD_EDIT);
        SetText(form.m_hCost, c.typed);
        Click(form, IDC_TASD_SAVE);
        EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse) << c.typed;
        EXPECT_EQ(Text(form.m_hCost), c.shown) << c.typed;
        EXPECT_EQ(Stored("tas_outlay", id), c.stored) << c.typed;
    }
    EXPECT_TRUE(TakeBoxes().empty());
}

// The locale of the machine may have a decimal comma; the cost is read and
// written the same under it.
TEST_F(TasRecordForm, TheCostIgnoresADecimalCommaLocale) {
    const char* pszLocale = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!pszLocale) {
        const std::string dir = OutputFolder() + "locale";
        const std::string cmd =
            "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (system(cmd.c_str()) == 0) setenv("LOCPATH", dir.c_str(), 1);
        pszLocale = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    if (!pszLocale) GTEST_SKIP() << "no decimal-comma locale on this machine";
    struct Restore {
        ~Restore() { setlocale(LC_NUMERIC, "C"); }
    } restore;
    ASSERT_STREQ(localeconv()->decimal_point, ",");

    Open(0);
    EXPECT_EQ(Text(form.m_hCost), "10.25");
    Click(form, IDC_TASD_EDIT);
    SetText(form.m_hCost, "12.5");
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(Text(form.m_hCost), "12.50");
    EXPECT_EQ(Database().Query("SELECT tas_outlay FROM tasks WHERE tas_id=" + std::to_string(a))[0][0], "12.5");
    GotoTas_DetailNew();
    SetText(form.m_hSubject, "逗号");
    SetText(form.m_hCost, "7.75");
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(Text(form.m_hCost), "7.75");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), 4);
}

TEST_F(TasRecordForm, TheSubjectKeepsWholeCharactersUpToItsStoredWidth) {
    Open(1);
    Click(form, IDC_TASD_EDIT);
    SetText(form.m_hSubject, "");
    std::string typed;
    for (int i = 0; i < 140; i++) typed += "长";
    SetFocus(form.m_hSubject);
    w32test::TypeText(typed, form.m_hSubject);
    EXPECT_EQ(Text(form.m_hSubject), typed.substr(0, 254));
    // Text longer than the field, set by hand, is cut at a character boundary.
    SetText(form.m_hSubject, "a" + typed);
    Click(form, IDC_TASD_SAVE);
    const std::string stored = Stored("tas_subject", b);
    EXPECT_EQ(stored, ("a" + typed).substr(0, 253));
    EXPECT_EQ(Text(form.m_hSubject), stored);
}

TEST_F(TasRecordForm, AStoredSubjectWiderThanTheFieldSurvivesAnEdit) {
    std::string wide;
    for (int i = 0; i < 127; i++) wide += "宽";  // 254 bytes, the most the store keeps
    ASSERT_EQ(Exec("UPDATE tasks SET tas_subject='" + wide + "' WHERE tas_id=" + std::to_string(c)), 0);
    Open(2);
    EXPECT_EQ(Text(form.m_hSubject), wide);
    Click(form, IDC_TASD_EDIT);
    SetText(form.m_hCost, "1");
    Click(form, IDC_TASD_SAVE);
    EXPECT_EQ(Stored("tas_subject", c), wide);
}

TEST_F(TasRecordForm, TabAndShiftTabFollowTheFormsOrderAndTabStaysInTheContent) {
    Open(1);
    Click(form, IDC_TASD_EDIT);
    HWND order[] = {form.m_hSubject, form.m_hPrivate, form.m_hDate,   form.m_hTime,
                    form.m_hCost,    form.m_hRemind,  form.m_hClosed, form.m_hContent};
    for (int i = 0; i + 1 < 8; i++) {
        SetFocus(order[i]);
        SendMessageA(order[i], WM_KEYDOWN, VK_TAB, 0);
        EXPECT_EQ(GetFocus(), order[i + 1]) << i;
    }
    w32test::PressKey(VK_TAB, true, false, form.m_hSubject);
    EXPECT_EQ(GetFocus(), form.m_hContent);
    SetFocus(form.m_hContent);
    SendMessageA(form.m_hContent, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), form.m_hContent);
}

TEST_F(TasRecordForm, TheQuickSearchGoesToTheAllTasksList) {
    Open(0);
    SetText(form.m_hSearchEdit, "丙");
    Click(form, IDC_TASD_SEARCH);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
    EXPECT_EQ(Column(g_Tas_ListAll.m_ListView, 2), (std::vector<std::string>{"丙任务"}));
}

TEST_F(TasRecordForm, TheRelationTabsAreTheTasksThree) {
    Open(0);
    EXPECT_EQ(form.m_Tab.m_nPages, 3);
    EXPECT_NE(form.m_Tab.m_hPage, nullptr);
}

// When the new record's id cannot be read back (a trigger adds a row whose id
// no 32-bit number holds), the add is not stored at all: the form stays new
// with the input, and the next save stores the record once.
TEST_F(TasRecordForm, AnAddWhoseNewIdCannotBeReadIsNotStoredSoASecondSaveStoresItOnce) {
    GotoTas_DetailNew();
    Database().Exec(
        "CREATE TRIGGER unreadable_id AFTER INSERT ON tasks WHEN NEW.tas_id < 5000000000 BEGIN "
        "INSERT INTO tasks(tas_id, tas_subject) VALUES(5000000000, 'x'); END");
    const long long n = QueryInt("SELECT COUNT(*) FROM tasks");
    SetText(form.m_hSubject, "只存一次");
    AnswerBoxes(IDOK);
    Click(form, IDC_TASD_SAVE);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(form.m_hSubject), "只存一次");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), n);
    Database().Exec("DROP TRIGGER unreadable_id");
    Click(form, IDC_TASD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks"), n + 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM tasks WHERE tas_subject='只存一次'"), 1);
    EXPECT_EQ((long long)form.m_ulRecordID, QueryInt("SELECT MAX(tas_id) FROM tasks"));
}

}  // namespace
