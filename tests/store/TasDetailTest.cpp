#include <cstring>
#include <set>
#include <string>

#include "tests/store/StoreTestUtil.h"
#include "store/Tas_DetailClass.h"

using namespace storetest;

namespace {

std::string Iso(const SYSTEMTIME& st) {
    char sz[32];
    snprintf(sz, sizeof sz, "%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return sz;
}

class TasTest : public DataTest {
protected:
    ULONG Add(const std::string& strSubject, const std::string& strDescription = "", ULONG ulAcc = 0, ULONG ulOpp = 0,
              ULONG ulCon = 0) {
        Tas_DetailClass tas;
        EXPECT_EQ(0, tas.ctd_AllocHead());
        Fill(tas, strSubject, strDescription);
        tas.m_ulAccID = ulAcc;
        tas.m_ulOppID = ulOpp;
        tas.m_ulConID = ulCon;
        EXPECT_EQ(0, tas.ctd_AddTask());
        EXPECT_EQ(0, tas.ctd_GetLastTaskID());
        return tas.m_ulTasID;
    }
    static void Fill(Tas_DetailClass& tas, const std::string& strSubject, const std::string& strDescription) {
        TasNode* p = tas.m_pCurrent;
        snprintf(p->tas_subject, sizeof p->tas_subject, "%s", strSubject.c_str());
        ASSERT_EQ(0, tas.ctd_AllocNodeDescription((unsigned)strDescription.size()));
        memcpy(p->tas_description, strDescription.c_str(), strDescription.size() + 1);
        p->tas_date = {2024, 2, 29};
        p->tas_time = {9, 5, 7};
        p->tas_outlay = 12.5f;
        p->tas_remind = 1;
        p->tas_closed = 0;
        p->tas_private = 1;
    }
    void InsertOn(const std::string& strDate, const std::string& strSubject, const std::string& strTime = "08:00:00") {
        Exec("INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_closed) VALUES(" + Q(strSubject) + ", '" +
             strDate + "', '" + strTime + "', 0)");
    }
    static std::set<std::string> Subjects(Tas_DetailClass& tas, int n) {
        std::set<std::string> s;
        tas.m_pCurrent = tas.m_pTasHead;
        for (int i = 0; i < n; ++i, tas.ctd_NextNode()) s.insert(tas.m_pCurrent->tas_subject);
        return s;
    }
};

TEST_F(TasTest, AddChangeReadBack) {
    std::string strLong;
    for (int i = 0; i < 400; ++i) strLong += "工作'日志' ";
    ULONG id = Add("拜访 O'Hara", strLong);
    Tas_DetailClass tas;
    ASSERT_EQ(0, tas.ctd_GetTask(id));
    EXPECT_EQ(1, tas.m_bFound);
    const TasNode* p = tas.m_pTasHead;
    EXPECT_EQ(id, p->tas_id);
    EXPECT_STREQ("拜访 O'Hara", p->tas_subject);
    EXPECT_EQ(strLong, p->tas_description);
    EXPECT_EQ(29, p->tas_date.day);
    EXPECT_EQ(9, p->tas_time.hour);
    EXPECT_EQ(5, p->tas_time.minute);
    EXPECT_EQ(7, p->tas_time.second);
    EXPECT_FLOAT_EQ(12.5f, p->tas_outlay);
    EXPECT_EQ(1, p->tas_remind);

    tas.m_pCurrent->tas_closed = 1;
    strcpy(tas.m_pCurrent->tas_subject, "done's");
    ASSERT_EQ(0, tas.ctd_ChageTask(id));
    EXPECT_EQ("1", Value("SELECT tas_closed FROM tasks"));
    EXPECT_EQ("done's", Value("SELECT tas_subject FROM tasks"));
    EXPECT_EQ("09:05:07", Value("SELECT tas_time FROM tasks"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TasTest, MissingTaskIsAnEmptyHeadAndItsChangeReportsNoRow) {
    Tas_DetailClass tas;
    ASSERT_EQ(0, tas.ctd_GetTask(77));
    EXPECT_EQ(0, tas.m_bFound);
    EXPECT_EQ(0u, tas.m_pTasHead->tas_id);
    Fill(tas, "ghost", "");
    EXPECT_EQ(-100, tas.ctd_ChageTask(77));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM tasks"));
}

TEST_F(TasTest, NewTaskIsTiedToTheFirstRecordOnlyAndDatesIt) {
    Exec("INSERT INTO accounts(acc_name, acc_recent_contact_date) VALUES('a', '2000-01-01')");
    Exec("INSERT INTO contacts(con_name, con_recent_contact_date) VALUES('c', '2000-01-01')");
    SYSTEMTIME stToday;
    GetLocalTime(&stToday);
    ULONG id = Add("call", "", 1, 0, 1);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_tasks WHERE acc_id=1 AND tas_id=" + std::to_string(id)));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM contacts_tasks"));
    EXPECT_EQ(Iso(stToday), Value("SELECT acc_recent_contact_date FROM accounts"));
    EXPECT_EQ("2000-01-01", Value("SELECT con_recent_contact_date FROM contacts"));

    // Without any link id: no link, and m_ulTasID is the new task's id.
    Tas_DetailClass tas;
    tas.m_ulTasID = 4242;
    ASSERT_EQ(0, tas.ctd_AllocHead());
    Fill(tas, "plain", "");
    ASSERT_EQ(0, tas.ctd_AddTask());
    EXPECT_EQ(Number("SELECT MAX(tas_id) FROM tasks"), (int)tas.m_ulTasID);
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM accounts_tasks"));
}

TEST_F(TasTest, LinkingAnExistingLinkLeavesTheDateAlone) {
    Exec("INSERT INTO opportunities(opp_subject, opp_recent_contact_date) VALUES('o', '2001-02-03')");
    ULONG id = Add("t");
    Tas_DetailClass tas;
    tas.m_ulTasID = id;
    tas.m_ulOppID = 1;
    ASSERT_EQ(0, tas.ctd_LinkTask());
    SYSTEMTIME stToday;
    GetLocalTime(&stToday);
    EXPECT_EQ(Iso(stToday), Value("SELECT opp_recent_contact_date FROM opportunities"));
    Exec("UPDATE opportunities SET opp_recent_contact_date='2001-02-03'");
    ASSERT_EQ(0, tas.ctd_LinkTask());
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities_tasks"));
    EXPECT_EQ("2001-02-03", Value("SELECT opp_recent_contact_date FROM opportunities"));

    tas.m_ulConID = 5;
    Exec("INSERT INTO contacts_tasks VALUES(5, " + std::to_string(id) + ")");
    ASSERT_EQ(0, tas.ctd_UnlinkTask());
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM opportunities_tasks"));
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM contacts_tasks"));
}

TEST_F(TasTest, DeleteRemovesTheTaskAndItsLinks) {
    ULONG id = Add("t", "", 1);
    Exec("INSERT INTO opportunities_tasks VALUES(3, " + std::to_string(id) + ")");
    Exec("INSERT INTO contacts_tasks VALUES(4, " + std::to_string(id) + ")");
    Tas_DetailClass tas;
    ASSERT_EQ(0, tas.ctd_DeleteTask(id));
    for (const char* t : {"tasks", "opportunities_tasks", "accounts_tasks", "contacts_tasks"})
        EXPECT_EQ(0, Number(std::string("SELECT COUNT(*) FROM ") + t)) << t;
}

TEST_F(TasTest, DeleteThatFailsPartWayLeavesNoLinkToAMissingTask) {
    ULONG id = Add("half", "", 1);
    Exec("INSERT INTO contacts_tasks VALUES(4, " + std::to_string(id) + ")");
    Exec("CREATE TRIGGER keep_contact_links BEFORE DELETE ON contacts_tasks BEGIN SELECT RAISE(ABORT, 'locked'); END");
    Tas_DetailClass tas;
    EXPECT_EQ(-1, tas.ctd_DeleteTask(id));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    for (const char* t : {"opportunities_tasks", "accounts_tasks", "contacts_tasks"})
        EXPECT_EQ(0,
                  Number(std::string("SELECT COUNT(*) FROM ") + t + " WHERE tas_id NOT IN (SELECT tas_id FROM tasks)"))
            << t;
}

TEST_F(TasTest, WeekRunsMondayToSundayFromEveryWeekday) {
    // The week of Monday 2024-12-30 to Sunday 2025-01-05 spans a year end.
    InsertOn("2024-12-29", "sunday before");
    const char* kDays[] = {"2024-12-30", "2024-12-31", "2025-01-01", "2025-01-02",
                           "2025-01-03", "2025-01-04", "2025-01-05"};
    for (const char* d : kDays) InsertOn(d, d);
    InsertOn("2025-01-06", "monday after");
    const int kDates[7][3] = {{2024, 12, 30}, {2024, 12, 31}, {2025, 1, 1}, {2025, 1, 2},
                              {2025, 1, 3},   {2025, 1, 4},   {2025, 1, 5}};
    for (int i = 0; i < 7; ++i) {
        // Correct weekday, and a stale one (the date was moved without it).
        for (int wGiven : {(i + 1) % 7, 3}) {
            SYSTEMTIME st = Day(kDates[i][0], kDates[i][1], kDates[i][2], wGiven);
            Tas_DetailClass tas;
            ASSERT_EQ(7, tas.ctd_GetByWeek(&st)) << kDays[i];
            EXPECT_EQ(std::set<std::string>(std::begin(kDays), std::end(kDays)), Subjects(tas, 7));
            EXPECT_EQ(i + 1, st.wDayOfWeek) << kDays[i];  // Sunday comes back as 7
        }
    }
}

TEST_F(TasTest, MonthEndsByTheLeapYearRule) {
    for (int y : {1900, 2000, 2023, 2024}) {
        std::string s = std::to_string(y);
        InsertOn(s + "-01-31", s + " jan");
        InsertOn(s + "-02-01", s + " first");
        InsertOn(s + "-02-28", s + " 28th");
        InsertOn(s + "-02-29", s + " 29th");  // stored even where the day does not exist
        InsertOn(s + "-03-01", s + " march");
    }
    for (int y : {1900, 2000, 2023, 2024}) {
        bool bLeap = y == 2000 || y == 2024;
        SYSTEMTIME st = Day(y, 2, 10);
        Tas_DetailClass tas;
        int n = tas.ctd_GetByMonth(&st);
        ASSERT_EQ(bLeap ? 3 : 2, n) << y;
        std::string s = std::to_string(y);
        std::set<std::string> expected = {s + " first", s + " 28th"};
        if (bLeap) expected.insert(s + " 29th");
        EXPECT_EQ(expected, Subjects(tas, n));
    }
    SYSTEMTIME st = Day(2024, 12, 1);
    Tas_DetailClass tas;
    EXPECT_EQ(0, tas.ctd_GetByMonth(&st));
}

TEST_F(TasTest, DayListingsSearchAndFinishedState) {
    InsertOn("2024-03-01", "early", "08:00:00");
    InsertOn("2024-03-01", "late's", "17:30:00");
    InsertOn("2024-03-02", "next day", "09:00:00");
    Exec("UPDATE tasks SET tas_closed=1 WHERE tas_subject='next day'");
    Tas_DetailClass tas;
    ASSERT_EQ(2, tas.ctd_GetByDay(Day(2024, 3, 1)));
    EXPECT_STREQ("late's", tas.m_pTasHead->tas_subject);  // latest time first
    ASSERT_EQ(3, tas.ctd_GetAllTasks());
    EXPECT_STREQ("next day", tas.m_pTasHead->tas_subject);
    strcpy(tas.m_szKeyword, "e's");
    tas.m_iQueryMode = 1;
    ASSERT_EQ(1, tas.ctd_GetAllTasks());
    EXPECT_EQ(0, tas.m_iQueryMode);
    ASSERT_EQ(0, tas.ctd_CountByClosed());
    EXPECT_EQ(2, tas.m_iCount[0]);
    EXPECT_EQ(1, tas.m_iCount[1]);
    EXPECT_EQ(1, tas.ctd_GetByClosed(1));
    char sz[20] = "unchanged";
    EXPECT_EQ(0, tas.ctd_GetClosedCategoryName(0, sz));
    EXPECT_STREQ("未完成计划日志", sz);
    EXPECT_EQ(-1, tas.ctd_GetClosedCategoryName(2, sz));
    EXPECT_STREQ("未完成计划日志", sz);
}

TEST_F(TasTest, LinkedListings) {
    ULONG a = Add("for account", "", 6);
    ULONG o = Add("for opportunity", "", 0, 7);
    ULONG c = Add("for contact", "", 0, 0, 8);
    Tas_DetailClass tas;
    ASSERT_EQ(1, tas.ctd_GetByAccount(6));
    EXPECT_EQ(a, tas.m_pTasHead->tas_id);
    ASSERT_EQ(1, tas.ctd_GetByOpportunity(7));
    EXPECT_EQ(o, tas.m_pTasHead->tas_id);
    ASSERT_EQ(1, tas.ctd_GetByContact(8));
    EXPECT_EQ(c, tas.m_pTasHead->tas_id);
    Exec("INSERT INTO accounts_tasks VALUES(0, " + std::to_string(c) + ")");
    EXPECT_EQ(0, tas.ctd_GetByAccount(0));
}

TEST_F(TasTest, FailuresShowTheirMessages) {
    Exec("DROP TABLE accounts_tasks");
    Tas_DetailClass tas;
    ASSERT_EQ(0, tas.ctd_AllocHead());
    Fill(tas, "x", "");
    tas.m_ulAccID = 1;
    EXPECT_EQ(-1, tas.ctd_AddTask());
    EXPECT_EQ("Con_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, tas.ctd_DeleteTask(1));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, tas.ctd_GetByAccount(1));
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
