// Tab control: selection rules, notifications and the page area.
#include "Fixture.h"

using namespace cctest;

namespace {

class TabControlTest : public ParentTest {
protected:
    HWND MakeTabs(std::initializer_list<const char*> captions) {
        HWND tab = Make(WC_TABCONTROLA, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 240, 310, 780, 302, 0);
        EXPECT_NE(tab, nullptr);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.iImage = -1;
        int i = 0;
        for (const char* c : captions) {
            item.pszText = const_cast<char*>(c);
            EXPECT_EQ(SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item)), i);
            ++i;
        }
        w32test::ProcessEvents();
        return tab;
    }
    static std::vector<UINT> Codes() {
        std::vector<UINT> out;
        for (const Note& n : Rec().notes)
            if (n.code == TCN_SELCHANGE || n.code == TCN_SELCHANGING) out.push_back(n.code);
        return out;
    }
};

TEST_F(TabControlTest, TheFirstTabInsertedBecomesTheSelection) {
    HWND tab = Make(WC_TABCONTROLA, WS_CHILD | WS_VISIBLE, 0, 0, 400, 200, 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), -1);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("计划日志");
    EXPECT_EQ(SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    item.pszText = const_cast<char*>("联系人");
    EXPECT_EQ(SendMessageA(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(TabControlTest, SetCurSelSelectsWithoutNotifying) {
    HWND tab = MakeTabs({"计划日志", "联系人", "客户单位"});
    Rec().Clear();
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(tab, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 2);
    w32test::ProcessEvents();
    EXPECT_TRUE(Codes().empty());
    char buf[32];
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(buf, "联系人");
}

TEST_F(TabControlTest, AUserPickNotifiesChangingThenChangeWithTheNewSelection) {
    HWND tab = MakeTabs({"计划日志", "联系人", "客户单位"});
    Rec().Clear();
    LRESULT selDuringChanging = -2, selDuringChange = -2;
    Rec().onNotify = [&](NMHDR* h) -> LRESULT {
        if (h->code == TCN_SELCHANGING) selDuringChanging = SendMessageA(h->hwndFrom, TCM_GETCURSEL, 0, 0);
        if (h->code == TCN_SELCHANGE) selDuringChange = SendMessageA(h->hwndFrom, TCM_GETCURSEL, 0, 0);
        return 0;
    };
    w32test::ClickTab(tab, 1);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_EQ(selDuringChanging, 0);
    EXPECT_EQ(selDuringChange, 1);
    EXPECT_EQ(Rec().Of(TCN_SELCHANGE)[0].from, tab);
}

TEST_F(TabControlTest, ClickingTheSelectedTabNotifiesNothing) {
    HWND tab = MakeTabs({"工作日志", "销售机会"});
    SendMessageA(tab, TCM_SETCURSEL, 1, 0);
    w32test::ProcessEvents();
    Rec().Clear();
    w32test::ClickTab(tab, 1);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(TabControlTest, ArrowKeysChangeTheTabAndNotify) {
    HWND tab = MakeTabs({"计划日志", "联系人", "客户单位"});
    SetFocus(tab);
    w32test::ProcessEvents();
    Rec().Clear();
    w32test::PressKey(VK_RIGHT, false, false, tab);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
}

TEST_F(TabControlTest, AParentRefusingTheChangeKeepsTheSelection) {
    HWND tab = MakeTabs({"销售机会", "联系人", "客户"});
    Rec().onNotify = [](NMHDR* h) -> LRESULT { return h->code == TCN_SELCHANGING ? TRUE : 0; };
    w32test::ClickTab(tab, 2);
    EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(Rec().Of(TCN_SELCHANGE).empty());
}

TEST_F(TabControlTest, AParentMayDestroyTheControlWhenTheSelectionChanges) {
    HWND tab = MakeTabs({"计划日志", "联系人"});
    Rec().onNotify = [](NMHDR* h) -> LRESULT {
        if (h->code == TCN_SELCHANGE) DestroyWindow(h->hwndFrom);
        return 0;
    };
    w32test::ClickTab(tab, 1);
    w32test::ProcessEvents(20);
    EXPECT_EQ(Rec().Of(TCN_SELCHANGE).size(), 1u);
    EXPECT_FALSE(IsWindow(tab));
}

TEST_F(TabControlTest, AdjustRectGivesMarginsAndAPagePlacedThereShowsInside) {
    HWND tab = MakeTabs({"计划日志", "联系人", "客户单位"});
    RECT m{0, 0, 0, 0};
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&m));
    EXPECT_GT(m.left, 0);
    EXPECT_GT(m.top, 10);  // below the tab headers
    EXPECT_LT(m.right, 0);
    EXPECT_LT(m.bottom, 0);
    RECT back = m;
    SendMessageA(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back.left, 0);
    EXPECT_EQ(back.top, 0);
    EXPECT_EQ(back.right, 0);
    EXPECT_EQ(back.bottom, 0);

    // A child page placed the way the record forms place it.
    RECT client{};
    GetClientRect(tab, &client);
    HWND page =
        CreateWindowExA(0, "CcTestParent", "", WS_CHILD | WS_VISIBLE, m.left, m.top, client.right + m.right - m.left,
                        client.bottom + m.bottom - m.top, tab, nullptr, nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    w32test::ProcessEvents(20);
    RECT pr{};
    GetClientRect(page, &pr);
    EXPECT_EQ(pr.right, client.right + m.right - m.left);
    // The page is white (its class brush) where the tab body would be grey.
    EXPECT_EQ(w32test::PixelAt(tab, m.left + 20, m.top + 20), 0xFFFFFFu);
    w32test::GrabWindow(tab, OutDir() + "/tabcontrol.png");
}

// With the record forms' font the tabs are as tall as Win32 makes them: each
// form's tab control, at its size, has a display area that holds its
// relation pages' list (at y 30 in the page) whole.
TEST_F(TabControlTest, TheDisplayAreaHoldsTheRecordFormsRelationLists) {
    HWND tab = MakeTabs({"计划日志", "联系人", "客户单位"});
    HFONT font = CreateFontA(-15, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 2, "宋体");
    SendMessageA(tab, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    w32test::ProcessEvents();
    struct Form {
        int tabHeight, listHeight;
    };
    for (Form f : {Form{302, 240}, Form{262, 200}, Form{260, 200}, Form{342, 270}}) {
        SetWindowPos(tab, nullptr, 0, 0, 780, f.tabHeight, SWP_NOMOVE | SWP_NOZORDER);
        RECT display{0, 0, 780, f.tabHeight};
        SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        EXPECT_GE(display.bottom - display.top, 30 + f.listHeight) << f.tabHeight;
        // The selected tab's label still shows above the display area.
        RECT item{};
        ASSERT_TRUE(SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_LE(item.bottom, display.top) << f.tabHeight;
        EXPECT_GE(item.bottom - item.top, 15 + 6) << f.tabHeight;
    }
    DestroyWindow(tab);
    DeleteObject(font);
}

}  // namespace
