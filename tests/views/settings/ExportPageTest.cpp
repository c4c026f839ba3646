// The export information page, and images of every settings page.
#include <gtest/gtest.h>

#include "settings/ExportDialogClass.h"
#include "settings/LoginSettingDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"

using namespace programtest;

TEST(ExportPage, TwoToolbarClicksMakeOneEntry) {
    StartFresh();
    g_Toolbar.OnExport(nullptr, 0, 0, 0);
    g_Toolbar.OnExport(nullptr, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, &g_Export);
    EXPECT_EQ(HistoryCount(), 2);
    EXPECT_EQ(VisibleViewCount(), 1);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_EXPORT));
}

TEST(ExportPage, BackAndForwardShowThePageWithItsButton) {
    StartFresh();
    g_Toolbar.OnExport(nullptr, 0, 0, 0);
    GotoMailSetting();
    EXPECT_FALSE(IsButtonChecked(IDC_TB_EXPORT));
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Export);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_EXPORT));
    Back();
    EXPECT_TRUE(IsButtonChecked(IDC_TB_HOMEPAGE));
    Forward();
    EXPECT_EQ(g_pCurrentDialog, &g_Export);
    EXPECT_TRUE(IsButtonChecked(IDC_TB_EXPORT));
    EXPECT_EQ(HistoryCount(), 3);
}

TEST(ExportPage, ThePanelAndTheTextArePainted) {
    StartFresh();
    g_Toolbar.OnExport(nullptr, 0, 0, 0);
    // The left panel without a search caption, and the page white beside it.
    w32test::WaitFor([] { return w32test::BackingPixel(g_Export.m_hWnd, 80, 300) == 0xFFE7CEu; });
    EXPECT_EQ(w32test::BackingPixel(g_Export.m_hWnd, 80, 300), (COLORREF)0xFFE7CE);
    EXPECT_EQ(w32test::BackingPixel(g_Export.m_hWnd, 600, 500), (COLORREF)0xFFFFFF);
}

// Every settings page paints its frame; each is saved as a picture.
TEST(SettingsGrabs, EveryPagePaintsItsFrame) {
    StartFresh();
    struct {
        BaseDialogClass* pPage;
        int (*pfnGoto)();
        const char* pszName;
    } const pages[] = {
        {&g_MailSetting, GotoMailSetting, "mail_setting"},
        {&g_LoginSetting, GotoLoginSetting, "login_setting"},
        {&g_OptionSetting, GotoOptionSetting_Important, "option_setting_important"},
        {&g_OptionSetting, GotoOptionSetting_Phase, "option_setting_phase"},
        {&g_OptionSetting, GotoOptionSetting_Type, "option_setting_type"},
    };
    for (const auto& p : pages) {
        p.pfnGoto();
        ASSERT_EQ(g_pCurrentDialog, p.pPage);
        PumpMessages();
        ExpectFramePainted(*p.pPage);
        Grab(*p.pPage, p.pszName);
    }
    g_Toolbar.OnExport(nullptr, 0, 0, 0);
    PumpMessages();
    ExpectFramePainted(g_Export);
    // The title "导出日志" in the title font (21 pixels) at (500, 26).
    EXPECT_GT(InkPixels(g_Export.m_hWnd, RECT{500, 26, 500 + 4 * 21, 26 + 21}), 4 * 20);
    Grab(g_Export, "export");
}
