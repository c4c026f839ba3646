// The list-view, tab-control and status-bar helpers and the list export on
// real (offscreen) controls.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ProgramTest.h"
#include "program/main.h"
#include "win32_testhooks_shell.h"
#include "win32_testhooks.h"

namespace {

ListViewClass* s_pCustomDrawList = nullptr;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NOTIFY && s_pCustomDrawList) {
        NMHDR* p = (NMHDR*)l;
        if (p->hwndFrom == s_pCustomDrawList->m_hListView && p->code == (UINT)NM_CUSTOMDRAW)
            return s_pCustomDrawList->OnCustomDraw((NMLVCUSTOMDRAW*)l);
    }
    return DefWindowProcA(h, m, w, l);
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool s_bRegistered = false;
        if (!s_bRegistered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = HostProc;
            wc.hInstance = programtest::TestInstance();
            wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
            wc.lpszClassName = "ControlsTestHost";
            RegisterClassA(&wc);
            s_bRegistered = true;
        }
        g_hInstance = programtest::TestInstance();
        m_hHost = CreateWindowExA(0, "ControlsTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                  programtest::TestInstance(), nullptr);
        ShowWindow(m_hHost, SW_SHOW);
        w32test::ClearMessageBoxes();
        w32test::ClearShellExecutes();
    }
    void TearDown() override {
        s_pCustomDrawList = nullptr;
        DestroyWindow(m_hHost);
        w32test::ClearHooks();
    }
    // A report list with the columns and rows given (rows top to bottom).
    void MakeList(ListViewClass& list, const std::vector<std::string>& columns,
                  const std::vector<std::vector<std::string>>& rowsTopDown) {
        ASSERT_EQ(0, list.Create(programtest::TestInstance(), m_hHost, 10, 10, 500, 300,
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, 2001));
        list.SetExtendedStyle(0x61);
        list.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
        for (const auto& c : columns) ASSERT_EQ(0, list.InsertColumn(c.c_str(), 100));
        list.InitItem();
        // The pages insert every record at row 0: fill from the bottom up.
        for (auto it = rowsTopDown.rbegin(); it != rowsTopDown.rend(); ++it) {
            ASSERT_EQ(0, list.InsertItem(0, (*it)[0].c_str()));
            for (size_t c = 1; c < it->size(); ++c) ASSERT_EQ(0, list.SetItemText(0, (int)c, (*it)[c].c_str()));
        }
    }
    std::string TempFile(const char* pszName) {
        m_strDir = (std::filesystem::temp_directory_path() / ("tarvel-export-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(m_strDir);
        return m_strDir + "/" + pszName;
    }
    static std::string ReadAll(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    HWND m_hHost = nullptr;
    std::string m_strDir;
};

TEST_F(ControlsTest, RowsInsertedAtTheTopShowInReverseOrderWithAlternatingColours) {
    ListViewClass list;
    ASSERT_EQ(0, list.Create(programtest::TestInstance(), m_hHost, 10, 10, 500, 300, WS_CHILD | WS_VISIBLE | LVS_REPORT,
                             2001));
    list.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    ASSERT_EQ(0, list.InsertColumn("名称", 200));
    list.InitItem();
    for (const char* r : {"r1", "r2", "r3", "r4", "r5"}) list.InsertItem(0, r);
    char sz[16];
    const char* expected[5] = {"r5", "r4", "r3", "r2", "r1"};
    for (int i = 0; i < 5; ++i) {
        list.GetItemText(i, 0, sz, sizeof(sz));
        EXPECT_STREQ(expected[i], sz);
    }
    EXPECT_EQ(5, list.GetItemCount());

    // Custom draw answers: ask for every row, odd rows light blue.
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, list.OnCustomDraw(&cd));
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.dwItemSpec = 1;
    EXPECT_EQ(CDRF_DODEFAULT, list.OnCustomDraw(&cd));
    EXPECT_EQ(0xFFE7CEu, cd.clrTextBk);
    cd.nmcd.dwItemSpec = 0;
    list.OnCustomDraw(&cd);
    EXPECT_EQ(0xFFFFFFu, cd.clrTextBk);

    // And on screen, through the real notification.
    s_pCustomDrawList = &list;
    InvalidateRect(list.m_hListView, nullptr, TRUE);
    // Rows 2 and 3 (row 0 may carry the focus look).
    RECT rc0{LVIR_BOUNDS, 0, 0, 0}, rc1{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list.m_hListView, LVM_GETITEMRECT, 2, (LPARAM)&rc0));
    ASSERT_TRUE(SendMessageA(list.m_hListView, LVM_GETITEMRECT, 3, (LPARAM)&rc1));
    w32test::WaitFor(
        [&] { return w32test::PixelAt(list.m_hListView, rc1.right - 5, (rc1.top + rc1.bottom) / 2) == 0xFFE7CEu; });
    EXPECT_EQ(0xFFFFFFu, w32test::PixelAt(list.m_hListView, rc0.right - 5, (rc0.top + rc0.bottom) / 2));
    EXPECT_EQ(0xFFE7CEu, w32test::PixelAt(list.m_hListView, rc1.right - 5, (rc1.top + rc1.bottom) / 2));
}

TEST_F(ControlsTest, GetItemTextCutsLongCellsOnACharacterBoundary) {
    ListViewClass list;
    std::string longCell;
    for (int i = 0; i < 200; ++i) longCell += "张";  // 400 bytes
    MakeList(list, {"A", "B"}, {{longCell, "x" + longCell}});
    char sz[256];
    // 255 bytes would end inside a character: 254.
    EXPECT_EQ(254, list.GetItemText(0, 0, sz, sizeof(sz)));
    EXPECT_EQ(254u, std::strlen(sz));
    EXPECT_EQ(0, std::memcmp(sz, longCell.data(), 254));
    // Here 255 bytes end on a boundary: the full 255.
    EXPECT_EQ(255, list.GetItemText(0, 1, sz, sizeof(sz)));
    EXPECT_EQ(0, std::memcmp(sz, ("x" + longCell).data(), 255));
    // A row that does not exist gives an empty text.
    EXPECT_EQ(0, list.GetItemText(5, 0, sz, sizeof(sz)));
    EXPECT_STREQ("", sz);
}

TEST_F(ControlsTest, CheckStatesReadBackAndAreSafeFromAnotherThread) {
    ListViewClass list;
    MakeList(list, {"A", "B"}, {{"a", "1"}, {"b", "2"}});
    EXPECT_EQ(-1, list.GetCheck(0));  // no state image list
    HIMAGELIST hil = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    list.SetImageList(hil, LVSIL_STATE);
    list.SetCheck(0, 1);
    list.SetCheck(1, 0);
    EXPECT_EQ(1, list.GetCheck(0));
    EXPECT_EQ(0, list.GetCheck(1));

    // The worker's results are published through atomics: the cell text is
    // read only after bRead says it is complete.
    std::atomic<int> nCheck{-5};
    std::atomic<bool> bRead{false};
    char szCell[16] = "";
    std::thread worker([&] {
        nCheck = list.GetCheck(0);
        list.GetItemText(1, 1, szCell, sizeof(szCell));
        bRead = true;
    });
    ASSERT_TRUE(w32test::WaitFor([&] { return bRead.load(); }, 5000));
    worker.join();
    EXPECT_EQ(1, nCheck.load());
    EXPECT_STREQ("2", szCell);
}

TEST_F(ControlsTest, ColumnsGoToTheNextIndexAndReadBack) {
    ListViewClass list;
    MakeList(list, {"日期", "时间", "标题"}, {});
    EXPECT_EQ(3, list.m_nColumns);
    char sz[32] = "";
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = sz;
    col.cchTextMax = sizeof(sz);
    list.GetColumn(2, &col);
    EXPECT_STREQ("标题", sz);
    // A list without a window still counts its columns, so the next caption
    // never lands on an earlier index.
    ListViewClass none;
    none.InsertColumn("A", 50);
    none.InsertColumn("B", 50);
    EXPECT_EQ(2, none.m_nColumns);
}

TEST_F(ControlsTest, ExportWritesCaptionsRowsTabsAndLineEndsExactly) {
    ListViewClass list;
    MakeList(list, {"A", "名称"}, {{"x", "y"}, {"张三", "有\t制表\r\n符"}});
    const std::string path = TempFile("out.txt");
    ASSERT_EQ(0, g_Exporter.WriteToFile(path.c_str(), 2, 2, &list));
    EXPECT_EQ(std::string("A\t名称\t\r\nx\ty\t\r\n张三\t有 制表  符\t\r\n"), ReadAll(path));

    // An empty list or a stale negative count: never more rows than shown.
    ASSERT_EQ(0, g_Exporter.WriteToFile(path.c_str(), 0, 2, &list));
    EXPECT_EQ(std::string("A\t名称\t\r\n"), ReadAll(path));
    ASSERT_EQ(0, g_Exporter.WriteToFile(path.c_str(), -1, 2, &list));
    EXPECT_EQ(std::string("A\t名称\t\r\nx\ty\t\r\n张三\t有 制表  符\t\r\n"), ReadAll(path));
    ASSERT_EQ(0, g_Exporter.WriteToFile(path.c_str(), 50, 1, &list));
    EXPECT_EQ(std::string("A\t\r\nx\t\r\n张三\t\r\n"), ReadAll(path));
    EXPECT_TRUE(programtest::MessageTexts().empty());
    std::filesystem::remove_all(m_strDir);
}

TEST_F(ControlsTest, ExportReportsAFileThatCannotBeCreated) {
    ListViewClass list;
    MakeList(list, {"A"}, {{"x"}});
    TempFile("x");
    const std::string path = m_strDir + "/no-such-folder/out.txt";
    EXPECT_EQ(-1, g_Exporter.WriteToFile(path.c_str(), 1, 1, &list));
    EXPECT_EQ((std::vector<std::string>{"ExportClass.cpp 67: Create File Error."}), programtest::MessageTexts());
    EXPECT_FALSE(std::filesystem::exists(path));
    std::filesystem::remove_all(m_strDir);
}

TEST_F(ControlsTest, ExportReportsAFailedWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
    ListViewClass list;
    MakeList(list, {"A"}, {{"x"}});
    EXPECT_EQ(-1, g_Exporter.WriteToFile("/dev/full", 1, 1, &list));
    EXPECT_EQ((std::vector<std::string>{"ExportClass.cpp 71: Write File Error."}), programtest::MessageTexts());
}

TEST_F(ControlsTest, ExportAsksForTheNameAndOffersToOpenTheFile) {
    ListViewClass list;
    MakeList(list, {"A"}, {{"x"}});
    const std::string path = TempFile("chosen");
    // Cancel: nothing written, 0.
    w32test::CancelSaveDialog();
    EXPECT_EQ(0, g_Exporter.Export(m_hHost, 1, 1, 0, &list));
    EXPECT_FALSE(std::filesystem::exists(path + ".txt"));
    ASSERT_FALSE(w32test::SaveDialogs().empty());
    const auto call = w32test::SaveDialogs().back();
    EXPECT_EQ("Export.txt", call.initialFile);
    EXPECT_EQ("txt", call.defExt);
    EXPECT_TRUE(call.flags & OFN_OVERWRITEPROMPT);

    // A typed name without extension gets the default one; answering No
    // leaves the file and returns 0; Yes hands it to the shell.
    w32test::RecordShellExecuteOnly(true);
    w32test::AnswerSaveDialog(path);
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall&) { return IDNO; });
    EXPECT_EQ(0, g_Exporter.Export(m_hHost, 1, 1, 1, &list));
    EXPECT_EQ(std::string("A\t\r\nx\t\r\n"), ReadAll(path + ".xls"));
    EXPECT_EQ("您需要打开刚导出的文件吗?", programtest::MessageTexts().back());
    EXPECT_TRUE(w32test::ShellExecutes().empty());

    w32test::AnswerSaveDialog(path + ".txt");
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall& c) {
        EXPECT_EQ("确认打开", c.caption);
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), c.flags);
        return IDYES;
    });
    EXPECT_EQ(0, g_Exporter.Export(m_hHost, 1, 1, 0, &list));
    ASSERT_EQ(1u, w32test::ShellExecutes().size());
    w32test::RecordShellExecuteOnly(false);
    std::filesystem::remove_all(m_strDir);
}

TEST_F(ControlsTest, AFileNoProgramCanOpenIsToldInABox) {
    ListViewClass list;
    MakeList(list, {"A"}, {{"x"}});
    const std::string path = TempFile("unopened.txt");
    // A desktop without an opener: the shell call fails.
    const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", m_strDir.c_str(), 1);
    w32test::RecordShellExecuteOnly(false);
    w32test::AnswerSaveDialog(path);
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall& c) { return c.flags & MB_YESNO ? IDYES : IDOK; });
    EXPECT_EQ(0, g_Exporter.Export(m_hHost, 1, 1, 0, &list));
    setenv("PATH", oldPath.c_str(), 1);
    w32test::RecordShellExecuteOnly(true);
    EXPECT_EQ("没有找到可以打开这个文件的程序。", programtest::MessageTexts().back());
    EXPECT_TRUE(std::filesystem::exists(path));
    std::filesystem::remove_all(m_strDir);
}

// --- tab pages ---

int g_nInit[3];
HWND g_hLastPage[3];
TabControlClass* s_pTabs = nullptr;

template <int N>
INT_PTR CALLBACK PageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        ++g_nInit[N];
        g_hLastPage[N] = hDlg;
        return TRUE;
    }
    if (uMsg == WM_COMMAND && LOWORD(wParam) == 777) {
        // The page itself changes the tab while it handles a message.
        s_pTabs->SetCurSel(0);
        s_pTabs->OnSelChange();
        // It still runs after the change and may touch its own window.
        SetWindowTextA(hDlg, "still here");
        return TRUE;
    }
    return FALSE;
}

TEST_F(ControlsTest, TabPagesAreMadeAfreshOnEveryChange) {
    TabControlClass tabs;
    s_pTabs = &tabs;
    for (int i = 0; i < 3; ++i) g_nInit[i] = 0;
    ASSERT_EQ(0, tabs.Create(programtest::TestInstance(), m_hHost, 10, 10, 500, 300,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS));
    ASSERT_EQ(0, tabs.AddPage(0, "计划日志", "ID_DLG_RELATING", PageProc<0>));
    ASSERT_EQ(0, tabs.AddPage(1, "联系人", "ID_DLG_RELATING", PageProc<1>));
    ASSERT_EQ(0, tabs.AddPage(2, "客户单位", "ID_DLG_RELATING", PageProc<2>));
    // After the adds the last page is shown and its tab selected; only one
    // page window exists.
    EXPECT_EQ(2, (int)SendMessageA(tabs.m_hTab, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(g_hLastPage[2], tabs.m_hPage);
    EXPECT_FALSE(IsWindow(g_hLastPage[0]));
    EXPECT_FALSE(IsWindow(g_hLastPage[1]));

    tabs.SetCurSel(0);
    tabs.OnSelChange();
    EXPECT_EQ(2, g_nInit[0]);
    EXPECT_FALSE(IsWindow(g_hLastPage[2]));
    tabs.SetCurSel(1);
    tabs.OnSelChange();
    tabs.SetCurSel(0);
    tabs.OnSelChange();
    tabs.SetCurSel(1);
    tabs.OnSelChange();
    EXPECT_EQ(3, g_nInit[1]);  // 1 -> 0 -> 1 makes tab 1's page again
    EXPECT_EQ(g_hLastPage[1], tabs.m_hPage);

    // The page fills the area under the tab headers.
    RECT rcTab, rcPage;
    GetClientRect(tabs.m_hTab, &rcTab);
    GetWindowRect(tabs.m_hPage, &rcPage);
    EXPECT_LT(rcPage.right - rcPage.left, rcTab.right);
    EXPECT_GT(rcPage.right - rcPage.left, rcTab.right - 20);

    // A page that changes the tab from its own handler is not destroyed
    // under its feet; it goes once its handler has returned.
    HWND hPage1 = tabs.m_hPage;
    SendMessageA(hPage1, WM_COMMAND, 777, 0);
    EXPECT_FALSE(IsWindow(hPage1));
    EXPECT_EQ(g_hLastPage[0], tabs.m_hPage);

    // Out of range selections and too many tabs are refused.
    SendMessageA(tabs.m_hTab, TCM_SETCURSEL, (WPARAM)-1, 0);
    EXPECT_EQ(0, tabs.OnSelChange());
    EXPECT_EQ(-1, tabs.AddPage(7, "x", "ID_DLG_RELATING", PageProc<0>));
    s_pTabs = nullptr;
}

TEST_F(ControlsTest, AMissingTemplateLeavesNoPage) {
    TabControlClass tabs;
    ASSERT_EQ(0, tabs.Create(programtest::TestInstance(), m_hHost, 0, 0, 300, 200, WS_CHILD | WS_VISIBLE));
    ASSERT_EQ(0, tabs.AddPage(0, "x", "NO_SUCH_TEMPLATE", PageProc<0>));
    EXPECT_EQ(nullptr, tabs.m_hPage);
}

TEST_F(ControlsTest, StatusBarPartsAndTextsFromAnyThread) {
    StatusBarClass bar;
    ASSERT_EQ(0, bar.Create(m_hHost, 11551, 2));
    RECT rc;
    GetClientRect(m_hHost, &rc);
    int edges[2] = {0, 0};
    ASSERT_EQ(2, (int)SendMessageA(bar.m_hStatusBar, SB_GETPARTS, 2, (LPARAM)edges));
    EXPECT_EQ(rc.right / 2, edges[0]);
    bar.SetText(0, COMPANY_NAME);
    std::thread worker([&] { bar.SetText(1, "正在发送第1封"); });
    char sz[64] = "";
    ASSERT_TRUE(w32test::WaitFor([&] {
        SendMessageA(bar.m_hStatusBar, SB_GETTEXTA, 1, (LPARAM)sz);
        return sz[0] != '\0';
    }));
    worker.join();
    EXPECT_STREQ("正在发送第1封", sz);
    SendMessageA(bar.m_hStatusBar, SB_GETTEXTA, 0, (LPARAM)sz);
    EXPECT_STREQ(COMPANY_NAME, sz);
    // Growing the window keeps the first part's width.
    SetWindowPos(m_hHost, nullptr, 0, 0, 1200, 700, SWP_NOZORDER);
    bar.Resize();
    ASSERT_EQ(2, (int)SendMessageA(bar.m_hStatusBar, SB_GETPARTS, 2, (LPARAM)edges));
    EXPECT_EQ(rc.right / 2, edges[0]);
}

TEST_F(ControlsTest, ToolbarTakesAtMostThirtyButtonsAndReportsAMissingBar) {
    ToolbarClass none;
    EXPECT_EQ(-1, none.GetHeight());
    none.AutoSize();
    EXPECT_EQ(
        (std::vector<std::string>{"ToolbarClass.cpp 125: m_hToolbar Error.", "ToolbarClass.cpp 138: hToolbar Error."}),
        programtest::MessageTexts());

    ToolbarClass bar;
    ASSERT_EQ(0, bar.Create(programtest::TestInstance(), m_hHost, WS_CHILD, 10001));
    for (int i = 0; i < 29; ++i) ASSERT_EQ(0, bar.AddButton("按钮", 20000 + i, 0));
    EXPECT_EQ(0, bar.AddSeparator());
    EXPECT_EQ(-1, bar.AddCheckButton("多余", 20100, 0));
    EXPECT_EQ(-1, bar.AddSeparator());
    EXPECT_EQ(30, bar.m_nButtons);
    // A label longer than 31 bytes is cut, the record still added.
    ToolbarClass bar2;
    ASSERT_EQ(0, bar2.Create(programtest::TestInstance(), m_hHost, WS_CHILD, 10002));
    EXPECT_EQ(0, bar2.AddCheckButton("一二三四五六七八九十一二三四五六七八九十", 30000, 0));
    EXPECT_EQ(0, bar2.AddCheckButton("二", 30001, 1));
    bar2.CommitButtons();
    EXPECT_TRUE(IsWindowVisible(bar2.m_hToolbar));
    EXPECT_EQ(2, (int)SendMessageA(bar2.m_hToolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_GT(bar2.GetHeight(), 0);
    // The check group: pressing one releases the other.
    bar2.CheckButton(30000, 1);
    EXPECT_TRUE(SendMessageA(bar2.m_hToolbar, TB_ISBUTTONCHECKED, 30000, 0));
    bar2.CheckButton(30001, 1);
    EXPECT_TRUE(SendMessageA(bar2.m_hToolbar, TB_ISBUTTONCHECKED, 30001, 0));
    EXPECT_FALSE(SendMessageA(bar2.m_hToolbar, TB_ISBUTTONCHECKED, 30000, 0));
}

}  // namespace
