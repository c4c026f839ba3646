// The hover look of the left menu on the account, contact and task pages
// with lists: a menu entry lit under the pointer stays lit through the
// notifications of the page's lists (a category clicked, a column sorted)
// and goes back only when the mouse moves over the page itself. Read from
// the entry's pixels on screen.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramTest.h"
#include "shell/CategoryStatPage.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

constexpr COLORREF kPlain = 0xFFE7CE;
constexpr COLORREF kLit = 0xFF8080;

struct HoverCase {
    const char* pszName;
    ListPageClass* pPage;
    int (*pfnOpen)();
    ListViewClass* pCategories;  // null on a page without a category list
};

void PrintTo(const HoverCase& c, std::ostream* os) { *os << c.pszName; }

class PageHover : public ::testing::TestWithParam<HoverCase> {
protected:
    void SetUp() override {
        StartFresh();
        AddAccount({.name = "客户"});
        AddContact({.name = "联系人"});
        AddTask({.subject = "任务"});
    }
    static COLORREF EntryPixel(HWND hEntry) {
        w32test::ProcessEvents(0);
        return w32test::BackingPixel(hEntry, 4, 10);
    }
};

std::string NameOf(const ::testing::TestParamInfo<HoverCase>& info) { return info.param.pszName; }

TEST_P(PageHover, ListNotificationsKeepTheMenusHoverLook) {
    const HoverCase& c = GetParam();
    ASSERT_EQ(c.pfnOpen(), 0);
    ListPageClass& page = *c.pPage;
    HWND hEntry = page.m_hMenuButtons[1];
    ASSERT_EQ(EntryPixel(hEntry), kPlain);
    SendMessageA(page.m_hWnd, WM_SETCURSOR, (WPARAM)hEntry, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(EntryPixel(hEntry), kLit);

    if (c.pCategories) {
        ClickRow(page, *c.pCategories, 0);
        EXPECT_EQ(EntryPixel(hEntry), kLit) << "after a category click";
    }
    ClickColumn(page, page.m_ListView, 1);
    EXPECT_EQ(EntryPixel(hEntry), kLit) << "after a column click";
    if (RowCount(page.m_ListView) > 0) {
        ClickRow(page, page.m_ListView, 0);
        EXPECT_EQ(EntryPixel(hEntry), kLit) << "after a row click";
    }

    SendMessageA(page.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(600, 650));
    EXPECT_EQ(EntryPixel(hEntry), kPlain);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageHover,
                         ::testing::Values(HoverCase{"Acc_Homepage", &g_Acc_Homepage, GotoAcc_Homepage, nullptr},
                                           HoverCase{"Acc_ImportantStat", &g_Acc_ImportantStat, GotoAcc_ImportantStat,
                                                     &g_Acc_ImportantStat.m_CategoryList},
                                           HoverCase{"Con_Homepage", &g_Con_Homepage, GotoCon_Homepage, nullptr},
                                           HoverCase{"Con_Important", &g_Con_Important, GotoCon_Important,
                                                     &g_Con_Important.m_CategoryList},
                                           HoverCase{"Con_Opportunities", &g_Con_Opportunities, GotoCon_Opportunities,
                                                     &g_Con_Opportunities.m_CategoryList},
                                           HoverCase{"Con_Date", &g_Con_Date, GotoCon_Date, nullptr},
                                           HoverCase{"Tas_Homepage", &g_Tas_Homepage, GotoTas_Homepage, nullptr},
                                           HoverCase{"Tas_ListAll", &g_Tas_ListAll, GotoTas_ListAll, nullptr},
                                           HoverCase{"Tas_ClosedStat", &g_Tas_ClosedStat, GotoTas_ClosedStat,
                                                     &g_Tas_ClosedStat.m_CategoryList}),
                         NameOf);

}  // namespace
