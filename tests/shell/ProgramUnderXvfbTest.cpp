// The whole program on a real X display (Xvfb): WinMain with its message
// loop against a fresh database, through the first-run wizard to the start
// page, then closed by the user's close command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/ProgramTest.h"
#include "program/HomepageDialogClass.h"
#include "program/main.h"
#include "win32_testhooks.h"
#include "win32_testhooks_shell.h"

namespace {

struct Observed {
    bool bChecked = false;
    bool bMainVisible = false;
    bool bMaximized = false;
    bool bStartPageCurrent = false;
    bool bStartPageVisible = false;
    int nVisibleViews = 0;
    bool bGrabbed = false;
} g_Seen;

// Looks at the running program from inside its message loop, then closes
// the main window as the user's close box would.
LRESULT CALLBACK CheckerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 1) {
        g_Seen.bChecked = true;
        g_Seen.bMainVisible = IsWindowVisible(g_hMainWnd) != 0;
        g_Seen.bMaximized = IsZoomed(g_hMainWnd) != 0;
        g_Seen.bStartPageCurrent = g_pCurrentDialog == ViewAt(VIEW_HOMEPAGE);
        g_Seen.bStartPageVisible = IsWindowVisible(g_Homepage.m_hWnd) != 0;
        for (int i = 0; i < VIEW_COUNT; ++i) g_Seen.nVisibleViews += IsWindowVisible(ViewAt(i)->m_hWnd) ? 1 : 0;
        // The start page painted (its task box's light-blue fill) before the grab.
        w32test::WaitFor([] { return w32test::BackingPixel(g_Homepage.m_hWnd, 435, 300) == 0xFFE7CEu; });
        g_Seen.bGrabbed = w32test::GrabWindow(g_hMainWnd, programtest::GrabFolder() + "xvfb-start-page.png");
        PostMessageA(g_hMainWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

TEST(ProgramUnderXvfb, FirstStartRunsTheWizardAndReachesTheStartPage) {
    programtest::ProgramDatabase db;
    const std::string strDesktop = db.Folder() + "desktop";
    std::filesystem::create_directories(strDesktop);
    w32test::SetDesktopFolder(strDesktop);
    setenv("XDG_DATA_HOME", (db.Folder() + "data").c_str(), 1);  // for the launchers' icon
    g_Seen = {};

    WNDCLASSA wc{};
    wc.lpfnWndProc = CheckerProc;
    wc.hInstance = programtest::TestInstance();
    wc.lpszClassName = "ProgramChecker";
    RegisterClassA(&wc);
    HWND hChecker = CreateWindowExA(0, "ProgramChecker", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                    programtest::TestInstance(), nullptr);

    programtest::DialogScript script;
    script.Then("ID_DLG_INSTALL1", [](HWND h) { programtest::PressButton(h, IDOK); })
        .Then("ID_DLG_INSTALL2",
              [](HWND h) {
                  w32test::Click(GetDlgItem(h, IDC_AGREE));
                  programtest::PressButton(h, IDOK);
              })
        .Then("ID_DLG_LOGINSETTING", [hChecker](HWND h) {
            programtest::SetLoginAs("user1", "password1")(h);
            PostMessageA(hChecker, WM_USER + 1, 0, 0);
        });

    const int nExit = WinMain(programtest::TestInstance(), nullptr, nullptr, SW_SHOWDEFAULT);
    EXPECT_EQ(0, nExit);
    EXPECT_TRUE(script.Finished());
    ASSERT_TRUE(g_Seen.bChecked);
    EXPECT_TRUE(g_Seen.bMainVisible);
    EXPECT_TRUE(g_Seen.bMaximized);
    EXPECT_TRUE(g_Seen.bStartPageCurrent);
    EXPECT_TRUE(g_Seen.bStartPageVisible);
    EXPECT_EQ(1, g_Seen.nVisibleViews);
    EXPECT_TRUE(g_Seen.bGrabbed);
    EXPECT_EQ("1", db.Query("SELECT set_init FROM setting")[0][0]);
    // The launcher shows the program's icon, written into the user's data folder.
    std::ifstream launcher(strDesktop + "/user1-Tarvel Sales Logs.desktop");
    std::string strLine, strIcon;
    while (std::getline(launcher, strLine))
        if (strLine.rfind("Icon=", 0) == 0) strIcon = strLine.substr(5);
    EXPECT_EQ(strIcon.rfind(db.Folder() + "data/icons/", 0), 0u) << strIcon;
    EXPECT_TRUE(std::filesystem::is_regular_file(strIcon)) << strIcon;
    DestroyWindow(hChecker);
    UnregisterClassA("ProgramChecker", programtest::TestInstance());
    w32test::SetDesktopFolder("");
    unsetenv("XDG_DATA_HOME");
    // The walk left no link row naming a record that does not exist.
    EXPECT_EQ(testsupport::LinksToMissingRecords(db.Path()), "");
}

}  // namespace
