// The start page on a real database: today's tasks, the hand-over to the
// task form, the quick searches and the links.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "program/HomepageDialogClass.h"
#include "shell/PageFrameClass.h"
#include "tests/support/ProgramTest.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "program/main.h"
#include "store/ODBCClass.h"
#include "platform/gbk/gbk.h"
#include "win32_testhooks.h"

namespace {

std::string Today(int nDayOffset = 0) {
    // The date the page itself reads, so the test holds on any day.
    SYSTEMTIME st;
    GetLocalTime(&st);
    struct tm t {};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay + nDayOffset;
    t.tm_hour = 12;
    mktime(&t);
    char sz[48];
    std::snprintf(sz, sizeof(sz), "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return sz;
}

std::string ShownDate() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char sz[48];
    std::snprintf(sz, sizeof(sz), "%d-%d-%d", st.wYear, st.wMonth, st.wDay);
    return sz;
}

class HomepageTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::ClearMessageBoxes();
        m_Db.SetLogin("abc", "secret1");
        AddTask("下午拜访", Today(), "14:30:00");
        AddTask("早会", Today(), "09:05:00");
        AddTask("昨天的事", Today(-1), "10:00:00");
        m_Script.Then("ID_DLG_LOGIN", programtest::LoginWith("secret1"));
        m_hWnd = programtest::StartMainWindow();
        ASSERT_NE(nullptr, m_hWnd);
        ASSERT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    }
    void TearDown() override {
        programtest::StopMainWindow();
        w32test::ClearHooks();
    }
    void AddTask(const char* pszSubject, const std::string& strDate, const char* pszTime) {
        // The program's last read (the task form's record) may still hold its cursor.
        if (g_ODBC.m_hStmt) SQLCloseCursor(g_ODBC.m_hStmt);
        m_Db.Exec(std::string("INSERT INTO tasks(tas_subject,tas_date,tas_time,tas_outlay,tas_description,"
                              "tas_private,tas_remind,tas_closed) VALUES('") +
                  gbk::ToUtf8(pszSubject) + "','" + strDate + "','" + pszTime + "',0,'',0,0,0)");
    }
    ULONG TaskID(const char* pszSubject) {
        auto rows = m_Db.Query("SELECT tas_id FROM tasks WHERE tas_subject='" + gbk::ToUtf8(pszSubject) + "'");
        return rows.empty() ? 0 : (ULONG)std::stoul(rows[0][0]);
    }
    std::string Cell(int nRow, int nColumn) {
        char sz[256];
        g_Homepage.m_ListView.GetItemText(nRow, nColumn, sz, sizeof(sz));
        return sz;
    }
    void DoubleClickRow(int nRow) { programtest::DoubleClickRow(g_Homepage.m_hWnd, IDC_HOME_TASKLIST, nRow); }
    HWND Edit(int nID) { return GetDlgItem(g_Homepage.m_hWnd, nID); }

    programtest::ProgramDatabase m_Db;
    programtest::DialogScript m_Script;
    HWND m_hWnd = nullptr;
};

TEST_F(HomepageTest, ListsTodaysTasksEarliestFirst) {
    ASSERT_EQ(2, g_Homepage.m_ListView.GetItemCount());
    EXPECT_EQ(ShownDate(), Cell(0, 0));
    EXPECT_EQ("9:5", Cell(0, 1));
    EXPECT_EQ("早会", Cell(0, 2));
    EXPECT_EQ("14:30", Cell(1, 1));
    EXPECT_EQ("下午拜访", Cell(1, 2));
    ASSERT_EQ(2, g_Homepage.m_nIDCount);
    EXPECT_EQ(TaskID("早会"), g_Homepage.m_pulID[0]);
    EXPECT_EQ(TaskID("下午拜访"), g_Homepage.m_pulID[1]);
    EXPECT_TRUE(programtest::MessageTexts().empty());
}

TEST_F(HomepageTest, DoubleClickOnARowHandsTheDayListToTheTaskForm) {
    DoubleClickRow(1);
    EXPECT_EQ(ViewAt(VIEW_TAS_DETAIL), g_pCurrentDialog);
    EXPECT_FALSE(IsWindowVisible(g_Homepage.m_hWnd));
    ASSERT_EQ(2, g_Tas_Detail.m_nIDCount);
    ASSERT_NE(nullptr, g_Tas_Detail.m_pulID);
    EXPECT_NE(g_Homepage.m_pulID, g_Tas_Detail.m_pulID);  // a copy of its own
    EXPECT_EQ(TaskID("早会"), g_Tas_Detail.m_pulID[0]);
    EXPECT_EQ(TaskID("下午拜访"), g_Tas_Detail.m_pulID[1]);
    EXPECT_STREQ("所有计划日志", g_Tas_Detail.m_szTitle);
    EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, IDC_TB_TASKS, 0));

    // Back shows the start page again without reading the tasks anew.
    AddTask("又一件", Today(), "11:00:00");
    g_Toolbar.OnBack(m_hWnd, WM_COMMAND, IDC_TB_BACK, 0);
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    EXPECT_EQ(2, g_Homepage.m_ListView.GetItemCount());
    EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, IDC_TB_HOMEPAGE, 0));
    // Opening it from the toolbar reads them again.
    GotoTas_ListAll();
    SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
    EXPECT_EQ(3, g_Homepage.m_ListView.GetItemCount());
    EXPECT_EQ(3, g_Homepage.m_nIDCount);
}

TEST_F(HomepageTest, DoubleClickOffTheRowsOpensABlankTaskForm) {
    DoubleClickRow(-1);
    EXPECT_EQ(ViewAt(VIEW_TAS_DETAIL), g_pCurrentDialog);
    EXPECT_EQ(nullptr, g_Tas_Detail.m_pulID);
    EXPECT_EQ(0, g_Tas_Detail.m_nIDCount);
}

TEST_F(HomepageTest, ARowOutsideTheIdListIsNeverHandedOver) {
    DoubleClickRow(5);
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    EXPECT_EQ(1, g_History.Count());
}

TEST_F(HomepageTest, AFailedQueryKeepsTheRowsAndTheirIds) {
    GotoTas_ListAll();
    m_Db.Exec("ALTER TABLE tasks RENAME TO tasks_gone");
    SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
    const std::vector<std::string> texts = programtest::MessageTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ("Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.", texts.back());
    EXPECT_EQ(2, g_Homepage.m_ListView.GetItemCount());
    EXPECT_EQ(2, g_Homepage.m_nIDCount);
    m_Db.Exec("ALTER TABLE tasks_gone RENAME TO tasks");
    DoubleClickRow(0);
    EXPECT_EQ(ViewAt(VIEW_TAS_DETAIL), g_pCurrentDialog);
    EXPECT_EQ(2, g_Tas_Detail.m_nIDCount);
}

// Sets the local time zone; an empty name restores the one the process had.
void UseTimeZone(const char* pszZone) {
    static const char* s_pszOriginal = std::getenv("TZ");
    static const std::string s_strOriginal = s_pszOriginal ? s_pszOriginal : "";
    if (pszZone && *pszZone)
        setenv("TZ", pszZone, 1);
    else if (s_pszOriginal)
        setenv("TZ", s_strOriginal.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(HomepageTest, ReopeningAfterMidnightListsTheNewDayWhileBackKeepsTheOldList) {
    // Two zones 26 hours apart stand for "before" and "after" midnight: their
    // local dates always differ, whatever the clock says.
    const char* kBefore = "UTC+12";
    const char* kAfter = "UTC-14";
    UseTimeZone(kBefore);
    AddTask("前一天的会", Today(), "08:00:00");
    UseTimeZone(kAfter);
    AddTask("后一天的会", Today(), "08:00:00");
    auto listed = [&](const char* pszSubject) {
        for (int r = 0; r < g_Homepage.m_ListView.GetItemCount(); ++r)
            if (Cell(r, 2) == pszSubject) return true;
        return false;
    };

    UseTimeZone(kBefore);
    GotoTas_ListAll();
    SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
    EXPECT_TRUE(listed("前一天的会"));
    EXPECT_FALSE(listed("后一天的会"));
    GotoTas_ListAll();

    UseTimeZone(kAfter);  // midnight has passed
    g_Toolbar.OnBack(m_hWnd, WM_COMMAND, IDC_TB_BACK, 0);
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    EXPECT_TRUE(listed("前一天的会")) << "Back shows the list as it was";
    EXPECT_FALSE(listed("后一天的会"));

    GotoTas_ListAll();
    SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
    EXPECT_TRUE(listed("后一天的会")) << "opening the page again reads the new day";
    EXPECT_FALSE(listed("前一天的会"));
    EXPECT_EQ(g_Homepage.m_ListView.GetItemCount(), g_Homepage.m_nIDCount);
    UseTimeZone(nullptr);
}

TEST_F(HomepageTest, EnterInTheContactBoxSearchesTheContactList) {
    HWND hEdit = Edit(IDC_HOME_SEARCH_CON);
    SetWindowTextA(hEdit, "张");
    const int nBefore = g_History.Count();
    SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ViewAt(VIEW_CON_HOMEPAGE), g_pCurrentDialog);
    EXPECT_STREQ("张", g_Con_Homepage.m_szKeyword);
    EXPECT_EQ(nBefore + 1, g_History.Count());
    EXPECT_TRUE(SendMessageA(g_Toolbar.m_hToolbar, TB_ISBUTTONCHECKED, IDC_TB_CONTACTS, 0));
    char sz[64];
    GetWindowTextA(hEdit, sz, sizeof(sz));
    EXPECT_STREQ("张", sz);  // emptied only when the start page opens again
    EXPECT_FALSE(IsWindowVisible(g_Homepage.m_hWnd));
}

TEST_F(HomepageTest, SearchButtonsHandTheirBoxToTheirList) {
    SetWindowTextA(Edit(IDC_HOME_SEARCH_OPP), "项目");
    SendMessageA(g_Homepage.m_hWnd, WM_COMMAND, IDC_HOME_FIND_OPP, 0);
    EXPECT_EQ(ViewAt(VIEW_OPP_HOMEPAGE), g_pCurrentDialog);
    EXPECT_STREQ("项目", g_Opp_Homepage.m_szKeyword);

    SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
    char sz[64] = "x";
    GetWindowTextA(Edit(IDC_HOME_SEARCH_OPP), sz, sizeof(sz));
    EXPECT_STREQ("", sz);  // opening the page empties its boxes
    // A keyword is cut to 49 bytes without splitting a character.
    std::string strLong;
    for (int i = 0; i < 30; ++i) strLong += "任";
    SetWindowTextA(Edit(IDC_HOME_SEARCH_TAS), strLong.c_str());
    SendMessageA(g_Homepage.m_hWnd, WM_COMMAND, IDC_HOME_FIND_TAS, 0);
    EXPECT_EQ(ViewAt(VIEW_TAS_LISTALL), g_pCurrentDialog);
    EXPECT_EQ(48u, std::strlen(g_Tas_ListAll.m_szKeyword));  // 24 whole characters
    EXPECT_EQ(0, std::memcmp(strLong.data(), g_Tas_ListAll.m_szKeyword, 48));
}

TEST_F(HomepageTest, LinksRunTheirViewSwitches) {
    const struct {
        int nID, nView;
    } cases[] = {{10060, VIEW_TAS_DETAIL},    {10061, VIEW_TAS_WEEK},     {10064, VIEW_TAS_LISTALL},
                 {10066, VIEW_OPP_PHASESTAT}, {10069, VIEW_OPP_HOMEPAGE}, {10071, VIEW_ACC_OPPORTUNITIESSTAT},
                 {10075, VIEW_ACC_HOMEPAGE},  {10079, VIEW_CON_RELATION}, {10081, VIEW_CON_HOMEPAGE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        SendMessageA(m_hWnd, WM_COMMAND, IDC_TB_HOMEPAGE, 0);
        ASSERT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
        SendMessageA(g_Homepage.m_hWnd, WM_COMMAND, (WPARAM)c.nID, 0);
        EXPECT_EQ(ViewAt(c.nView), g_pCurrentDialog);
    }
}

TEST_F(HomepageTest, ALinkUnderTheMouseLooksHoveredUntilTheMouseLeavesIt) {
    HWND hLink = GetDlgItem(g_Homepage.m_hWnd, 10066);
    ASSERT_NE(nullptr, hLink);
    // Over something that is no link: nothing.
    SendMessageA(g_Homepage.m_hWnd, WM_SETCURSOR, (WPARAM)g_Homepage.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(0, g_Homepage.m_bHover);
    EXPECT_EQ(0, SendMessageA(g_Homepage.m_hWnd, WM_SETCURSOR, (WPARAM)hLink, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(1, g_Homepage.m_bHover);
    SendMessageA(g_Homepage.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0, g_Homepage.m_bHover);
}

// The last line of the introduction ends with the help web site's address:
// the page shows exactly what that line drawn alone looks like.
TEST_F(HomepageTest, TheLastIntroductionLineGivesTheHelpSite) {
    ASSERT_TRUE(w32test::WaitFor([] { return w32test::BackingPixel(g_Homepage.m_hWnd, 435, 300) == 0xFFE7CEu; }));
    const std::string line = std::string("议，请与我们联系：") + g_szHelpURL;
    HDC hdc = GetDC(g_Homepage.m_hWnd);
    HDC hMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOldFont = SelectObject(hMem, g_Homepage.m_hFont);
    SIZE size{};
    GetTextExtentPoint32A(hMem, line.c_str(), (int)line.size(), &size);
    HBITMAP hBmp = CreateCompatibleBitmap(hdc, size.cx, size.cy);
    HGDIOBJ hOldBmp = SelectObject(hMem, hBmp);
    TextOutA(hMem, 0, 0, line.c_str(), (int)line.size());
    int nDiffer = 0;
    const int x0 = 15 + g_Homepage.m_nHScroll, y0 = 320 + g_Homepage.m_nVScroll;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (GetPixel(hMem, x, y) != w32test::BackingPixel(g_Homepage.m_hWnd, x0 + x, y0 + y)) ++nDiffer;
    SelectObject(hMem, hOldBmp);
    SelectObject(hMem, hOldFont);
    DeleteObject(hBmp);
    DeleteDC(hMem);
    ReleaseDC(g_Homepage.m_hWnd, hdc);
    EXPECT_GT(size.cx, 200);
    EXPECT_EQ(nDiffer, 0);
}

TEST_F(HomepageTest, PaintsItsBoxesAndLinks) {
    w32test::WaitFor([] { return w32test::BackingPixel(g_Homepage.m_hWnd, 435, 300) == 0xFFE7CEu; });
    // The task box's light-blue fill, left of the list.
    EXPECT_EQ(0xFFE7CEu, w32test::BackingPixel(g_Homepage.m_hWnd, 435, 300));
    // The page and the main window paint straight to the screen: neither
    // keeps a copy of its pixels.
    EXPECT_FALSE(w32test::KeepsPixels(g_Homepage.m_hWnd));
    EXPECT_FALSE(w32test::KeepsPixels(g_hMainWnd));
    HWND hLink = GetDlgItem(g_Homepage.m_hWnd, 10064);
    ASSERT_NE(nullptr, hLink);
    EXPECT_EQ(0xFFE7CEu, w32test::PixelAt(hLink, 150, 10));
}

}  // namespace
