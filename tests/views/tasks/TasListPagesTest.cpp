// The all-tasks list with its keyword search, captions and history; the
// finished / unfinished page with its counts, lists and export; the start
// page's task box, today's tasks and links reaching the task pages.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/views/tasks/TasTest.h"
#include "program/HomepageDialogClass.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "resources/shell_ids.h"
#include "resources/tasks_ids.h"

using namespace programtest;
using namespace tastest;

namespace {

const char kAllCaption[] = "所有的计划日志共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。";

std::string AllCaption(int n) {
    char sz[256];
    snprintf(sz, sizeof(sz), kAllCaption, n);
    return sz;
}

class TasListAll : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = AddTask({.subject = "拜访O'Neil", .date = "2024-01-10", .time = "10:00:00"});
        b = AddTask({.subject = "写报告", .date = "2024-01-12", .time = "09:00:00", .description = "给O'Neil"});
        c = AddTask({.subject = "开会", .date = "2024-01-11", .time = "15:00:00", .outlay = 30});
    }
    unsigned a = 0, b = 0, c = 0;
    Tas_ListAllDialogClass& page = g_Tas_ListAll;
};

TEST_F(TasListAll, ListsEveryTaskOldestFirst) {
    GotoTas_ListAll();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_TASKS));
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"拜访O'Neil", "开会", "写报告"}));
    EXPECT_EQ(page.m_szCaption, AllCaption(3));
    ASSERT_EQ(page.m_nIDCount, 3);
    EXPECT_EQ(page.m_pulID[1], c);
    EXPECT_EQ(page.m_hExportButton, nullptr);
    ClickColumn(page, page.m_ListView, 2);  // no re-sort
    EXPECT_EQ(Cell(page.m_ListView, 0, 2), "拜访O'Neil");
    Grab(page, "tas_listall");
}

TEST_F(TasListAll, AKeywordWithAQuoteFindsSubjectAndContent) {
    GotoTas_ListAll();
    SetText(page.m_hSearchEdit, "O'Neil");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"拜访O'Neil", "写报告"}));
    EXPECT_EQ(page.m_szCaption, std::string("搜索关键字=\"O'Neil\"的记录共2条"));
    EXPECT_EQ(Text(page.m_hSearchEdit), "O'Neil");
    SetText(page.m_hSearchEdit, "没有的");
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
    EXPECT_EQ(page.m_szCaption, std::string("搜索关键字=\"没有的\"的记录共0条"));
}

TEST_F(TasListAll, EnterSearchesAddEntriesTheButtonsDoNotAndBackShowsAllTasks) {
    GotoTas_ListAll();
    const int nBase = HistoryCount();
    for (const char* k : {"开", "写", "拜"}) {
        SetText(page.m_hSearchEdit, k);
        SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    }
    EXPECT_EQ(HistoryCount(), nBase + 3);
    for (const char* k : {"开", "写", "拜"}) {
        SetText(page.m_hSearchEdit, k);
        Click(page, IDC_TASL_SEARCH);
    }
    EXPECT_EQ(HistoryCount(), nBase + 3);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "拜");
    Back();
    EXPECT_EQ(page.m_szCaption, std::string("搜索关键字=\"写\"的记录共1条"));
    Back();
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(page.m_szCaption, AllCaption(3));
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(TasListAll, ASearchFromAnotherTaskPageBuildsTheListFirst) {
    ASSERT_FALSE(page.m_bInit && IsWindowVisible(page.m_hWnd));
    g_Toolbar.OnTasks(nullptr, 0, 0, 0);
    SetText(g_Tas_Homepage.m_hSearchEdit, "开会");
    SendMessageA(g_Tas_Homepage.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_TRUE(page.m_bInit);
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"开会"}));
    EXPECT_EQ(VisibleViewCount(), 1);
}

TEST_F(TasListAll, ALongKeywordIsCutToWholeCharactersWithin49Bytes) {
    GotoTas_ListAll();
    std::string typed = "a";
    for (int i = 0; i < 30; i++) typed += "长";  // 61 bytes
    SetText(page.m_hSearchEdit, typed);
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(std::string(page.m_Tas.m_szKeyword), typed.substr(0, 49));
    ASSERT_NE(g_History.m_pCurrent->m_pszKeyword, nullptr);
    EXPECT_EQ(strlen(g_History.m_pCurrent->m_pszKeyword), 49u);
    // An odd cut loses the whole character.
    typed = "ab";
    for (int i = 0; i < 30; i++) typed += "长";
    SetText(page.m_hSearchEdit, typed);
    SendMessageA(page.m_hSearchEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(std::string(page.m_Tas.m_szKeyword), typed.substr(0, 48));
}

TEST_F(TasListAll, AFailedQueryKeepsTheRowsAndTheirCount) {
    GotoTas_ListAll();
    Database().Exec("ALTER TABLE tasks RENAME TO tasks_gone");
    TakeBoxes();
    SetText(page.m_hSearchEdit, "开");
    Click(page, IDC_TASL_SEARCH);
    EXPECT_FALSE(TakeBoxes().empty());
    EXPECT_EQ(RowCount(page.m_ListView), 3);
    EXPECT_EQ(page.m_nIDCount, 3);
    Database().Exec("ALTER TABLE tasks_gone RENAME TO tasks");
}

class TasClosedStat : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
    std::vector<std::string> Counts() {
        std::vector<std::string> rows;
        for (int r = 0; r < RowCount(page.m_CategoryList); r++)
            rows.push_back(Cell(page.m_CategoryList, r, 0) + "|" + Cell(page.m_CategoryList, r, 1));
        return rows;
    }
    Tas_ClosedStatDialogClass& page = g_Tas_ClosedStat;
};

TEST_F(TasClosedStat, WithoutTasksBothCountsAreZeroAndAClickListsNothing) {
    GotoTas_ClosedStat();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"已完成计划日志|0", "未完成计划日志|0"}));
    ClickRow(page, page.m_CategoryList, 0);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    ClickRow(page, page.m_CategoryList, 1);
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    EXPECT_EQ(page.m_nIDCount, 0);
}

TEST_F(TasClosedStat, RowZeroListsTheFinishedRowOneTheUnfinishedAndCountsFollowChanges) {
    const unsigned done = AddTask({.subject = "做完了", .date = "2024-02-01", .closed = true});
    AddTask({.subject = "还没做", .date = "2024-02-02"});
    AddTask({.subject = "也没做", .date = "2024-02-03", .outlay = 5});
    GotoTas_ClosedStat();
    EXPECT_EQ(Counts(), (std::vector<std::string>{"已完成计划日志|1", "未完成计划日志|2"}));
    ClickRow(page, page.m_CategoryList, 0);
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"做完了"}));
    ClickRow(page, page.m_CategoryList, 1);
    EXPECT_EQ(Column(page.m_ListView, 2), (std::vector<std::string>{"还没做", "也没做"}));
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 0);
    Grab(page, "tas_closedstat");

    // Finish a task in the form, come back: counts and the list follow.
    ClickRow(page, page.m_CategoryList, 0);
    DoubleClickRow(page, page.m_ListView, 0);
    ASSERT_EQ(g_Tas_Detail.m_ulRecordID, done);
    Click(g_Tas_Detail, IDC_TASD_EDIT);
    SendMessageA(g_Tas_Detail.m_hClosed, BM_SETCHECK, BST_UNCHECKED, 0);
    Click(g_Tas_Detail, IDC_TASD_SAVE);
    Back();
    ASSERT_EQ(g_pCurrentDialog, &page);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"已完成计划日志|0", "未完成计划日志|3"}));
    EXPECT_EQ(RowCount(page.m_ListView), 0);
    GotoTas_ClosedStat();
    ClickRow(page, page.m_CategoryList, 1);
    EXPECT_EQ(RowCount(page.m_ListView), 3);
}

TEST_F(TasClosedStat, ExportRightAfterOpeningWritesTheHeaderOnlyAndAListWritesFourColumns) {
    AddTask({.subject = "甲", .date = "2024-02-01", .time = "08:05:00", .outlay = 1.5});
    GotoTas_ClosedStat();
    ClickRow(page, page.m_CategoryList, 1);
    ASSERT_EQ(RowCount(page.m_ListView), 1);
    GotoTas_ClosedStat();  // reopened: the list emptied
    const std::string path = OutputPath("tas_closed_export.txt");
    AnswerSaveDialog(path);
    AnswerBoxes(IDNO);
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    EXPECT_EQ(ReadFile(path), "日期\t时间\t计划日志标题\t费用\t\r\n");
    ClickRow(page, page.m_CategoryList, 1);
    SendMessageA(page.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    EXPECT_EQ(ReadFile(path), "日期\t时间\t计划日志标题\t费用\t\r\n2024-2-1\t8:5\t甲\t1.50\t\r\n");
}

class TasStartPage : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(); }
};

TEST_F(TasStartPage, TheTaskBoxAndTheLinksReachTheTaskPages) {
    AddTask({.subject = "报价单", .date = "2024-01-10"});
    AddTask({.subject = "回访", .date = "2024-01-11"});
    SetText(GetDlgItem(g_Homepage.m_hWnd, IDC_HOME_SEARCH_TAS), "报价");
    Click(g_Homepage, IDC_HOME_FIND_TAS);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_ListAll);
    EXPECT_EQ(g_Tas_ListAll.m_szCaption, std::string("搜索关键字=\"报价\"的记录共1条"));
    EXPECT_EQ(Column(g_Tas_ListAll.m_ListView, 2), (std::vector<std::string>{"报价单"}));

    struct LinkCase {
        int id;
        BaseDialogClass* page;
    };
    for (LinkCase l : {LinkCase{10060, &g_Tas_Detail}, LinkCase{10061, &g_Tas_Week}, LinkCase{10062, &g_Tas_Month},
                       LinkCase{10063, &g_Tas_ClosedStat}, LinkCase{10064, &g_Tas_ListAll}}) {
        ResetToStartPage();
        Click(g_Homepage, l.id);
        EXPECT_EQ(g_pCurrentDialog, l.page) << l.id;
        EXPECT_EQ(VisibleViewCount(), 1);
    }
    EXPECT_EQ(g_Tas_ListAll.m_szCaption, AllCaption(2));
}

TEST_F(TasStartPage, ADoubleClickOnTodaysTaskHandsTheDayToTheForm) {
    const SYSTEMTIME now = Today();
    const std::string today = DateText(now.wYear, now.wMonth, now.wDay);
    const unsigned first = AddTask({.subject = "早上", .date = today, .time = "08:00:00"});
    const unsigned second = AddTask({.subject = "晚上", .date = today, .time = "20:00:00"});
    ResetToStartPage();
    SendMessageA(g_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    ASSERT_EQ(RowCount(g_Homepage.m_ListView), 2);
    DoubleClickRow(g_Homepage, g_Homepage.m_ListView, 1);
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, second);
    ASSERT_EQ(g_Tas_Detail.m_nIDCount, 2);
    EXPECT_EQ(g_Tas_Detail.m_pulID[0], first);
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "晚上");
    Click(g_Tas_Detail, IDC_TASD_PREV);
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "早上");
}

}  // namespace
