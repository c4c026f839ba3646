// Toolbar and status bar as the main window builds them, and image lists.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Fixture.h"

using namespace cctest;

namespace {

constexpr COLORREF kMask = 0xCA08D1;  // r D1, g 08, b CA

// A strip of n 32 x 32 images: each a colour square on the mask colour,
// with the mask colour also in its top-left quarter.
HBITMAP MakeStrip(int n) {
    std::vector<uint32_t> px(static_cast<size_t>(32 * n) * 32);
    const uint32_t mask = 0x00D108CA;  // 0x00RRGGBB of the mask colour
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32 * n; ++x) {
            const int lx = x % 32;
            const bool inside = lx >= 4 && lx < 28 && y >= 4 && y < 28 && !(lx < 16 && y < 16);
            px[static_cast<size_t>(y) * 32 * n + x] =
                inside ? 0x00208040u + static_cast<uint32_t>(x / 32) * 0x10 : mask;
        }
    return CreateBitmap(32 * n, 32, 1, 32, px.data());
}

class BarsTest : public ParentTest {
protected:
    HWND MakeToolbar() {
        HWND bar = Make(TOOLBARCLASSNAMEA, WS_CHILD, 0, 0, 0, 0, 10001, nullptr);
        EXPECT_NE(bar, nullptr);
        SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        himl_ = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 10, 0);
        HBITMAP strip = MakeStrip(10);
        EXPECT_EQ(ImageList_AddMasked(himl_, strip, kMask), 0);
        DeleteObject(strip);
        EXPECT_EQ(ImageList_GetImageCount(himl_), 10);
        SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(himl_));
        struct ButtonDef {
            const char* label;
            int id, image;
            BYTE style;
        };
        const ButtonDef defs[] = {{"后退", 10008, 6, BTNS_BUTTON},
                                  {"前进", 10009, 7, BTNS_BUTTON},
                                  {nullptr, 0, -1, BTNS_SEP},
                                  {nullptr, 0, -1, BTNS_SEP},
                                  {"首页", 10002, 0, BTNS_CHECKGROUP},
                                  {"项目机会", 10003, 1, BTNS_CHECKGROUP},
                                  {"客户单位", 10004, 2, BTNS_CHECKGROUP},
                                  {"联系人", 10005, 3, BTNS_CHECKGROUP},
                                  {"计划日志", 10006, 4, BTNS_CHECKGROUP},
                                  {"邮件群发", 10007, 5, BTNS_CHECKGROUP},
                                  {"选项设置", 10010, 8, BTNS_CHECKGROUP},
                                  {"导出日志", 10011, 9, BTNS_CHECKGROUP}};
        std::vector<TBBUTTON> buttons;
        int expectString = 0;
        for (const ButtonDef& s : defs) {
            TBBUTTON b{};
            b.iBitmap = s.image;
            b.idCommand = s.id;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = s.style;
            if (s.label) {
                char work[40] = {};
                std::snprintf(work, 32, "%s", s.label);  // one string, then the double NUL
                const LRESULT idx = SendMessageA(bar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(work));
                EXPECT_EQ(idx, expectString++);
                b.iString = idx;
            }
            buttons.push_back(b);
        }
        EXPECT_TRUE(SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
        SendMessageA(bar, TB_AUTOSIZE, 0, 0);
        ShowWindow(bar, SW_SHOW);
        w32test::ProcessEvents(20);
        return bar;
    }
    void TearDown() override {
        ParentTest::TearDown();
        if (himl_) ImageList_Destroy(himl_);
    }
    static bool Checked(HWND bar, int id) { return SendMessageA(bar, TB_ISBUTTONCHECKED, id, 0) == TRUE; }

    HIMAGELIST himl_ = nullptr;
};

TEST_F(BarsTest, ToolbarSpansTheTopAndWithTheStatusBarLeaves78Pixels) {
    HWND bar = MakeToolbar();
    HWND status = Make(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, 11551, nullptr);
    RECT pc{}, tc{}, sc{};
    GetClientRect(parent_, &pc);
    GetClientRect(bar, &tc);
    GetClientRect(status, &sc);
    EXPECT_EQ(tc.right, pc.right);
    EXPECT_EQ(tc.bottom + sc.bottom, 78);
    POINT top{0, 0};
    MapWindowPoints(bar, parent_, &top, 1);
    EXPECT_EQ(top.y, 0);
    POINT bottom{0, sc.bottom};
    MapWindowPoints(status, parent_, &bottom, 1);
    EXPECT_EQ(bottom.y, pc.bottom);
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 12);
}

TEST_F(BarsTest, CheckButtonKeepsOneButtonOfTheGroupDown) {
    HWND bar = MakeToolbar();
    EXPECT_TRUE(SendMessageA(bar, TB_CHECKBUTTON, 10002, MAKELONG(TRUE, 0)));
    EXPECT_TRUE(Checked(bar, 10002));
    SendMessageA(bar, TB_CHECKBUTTON, 10005, MAKELONG(TRUE, 0));
    EXPECT_TRUE(Checked(bar, 10005));
    EXPECT_FALSE(Checked(bar, 10002));
    SendMessageA(bar, TB_CHECKBUTTON, 10005, MAKELONG(FALSE, 0));
    EXPECT_FALSE(Checked(bar, 10005));
    EXPECT_FALSE(SendMessageA(bar, TB_CHECKBUTTON, 4242, MAKELONG(TRUE, 0)));
}

TEST_F(BarsTest, AClickPressesTheButtonBeforeItsCommandReachesTheParent) {
    HWND bar = MakeToolbar();
    SendMessageA(bar, TB_CHECKBUTTON, 10002, MAKELONG(TRUE, 0));
    std::vector<bool> checkedAtCommand;
    Rec().onCommand = [&](const Command&) { checkedAtCommand.push_back(Checked(bar, 10004)); };
    w32test::ClickToolbarButton(bar, 10004);
    ASSERT_EQ(Rec().commands.size(), 1u);
    EXPECT_EQ(Rec().commands[0].wp, MAKEWPARAM(10004, BN_CLICKED));
    EXPECT_EQ(Rec().commands[0].lp, reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(checkedAtCommand, std::vector<bool>{true});
    EXPECT_FALSE(Checked(bar, 10002));

    // Clicking the pressed button leaves it pressed and still sends the command.
    w32test::WaitDoubleClickTime();
    w32test::ClickToolbarButton(bar, 10004);
    EXPECT_EQ(Rec().commands.size(), 2u);
    EXPECT_TRUE(Checked(bar, 10004));

    // A plain button sends its command and changes no check.
    w32test::WaitDoubleClickTime();
    w32test::ClickToolbarButton(bar, 10008);
    ASSERT_EQ(Rec().commands.size(), 3u);
    EXPECT_EQ(LOWORD(Rec().commands[2].wp), 10008);
    EXPECT_TRUE(Checked(bar, 10004));
    EXPECT_FALSE(Checked(bar, 10008));
}

TEST_F(BarsTest, MaskColourPixelsAreTransparentOnTheBar) {
    HWND bar = MakeToolbar();
    RECT b{};
    const LRESULT index = SendMessageA(bar, TB_COMMANDTOINDEX, 10002, 0);
    ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&b)));
    const int imgLeft = (b.left + b.right) / 2 - 16;
    const int imgTop = b.top + 3;
    // The image drawn (its shown pixels in their colour) before the mask is checked.
    w32test::WaitFor([&] { return w32test::PixelAt(bar, imgLeft + 24, imgTop + 24) == 0x00408020u; });
    const COLORREF masked = w32test::PixelAt(bar, imgLeft + 6, imgTop + 6);
    const COLORREF shown = w32test::PixelAt(bar, imgLeft + 24, imgTop + 24);
    EXPECT_NE(masked, kMask);
    EXPECT_EQ(shown, 0x00408020u);  // COLORREF of 0x208040
    w32test::GrabWindow(bar, OutDir() + "/toolbar.png");
}

TEST_F(BarsTest, StatusBarTextKeepsClearOfItsPartsFrame) {
    HWND status = Make(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, 11551, nullptr);
    RECT pc{};
    GetClientRect(parent_, &pc);
    int edges[2] = {pc.right / 2, pc.right};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("北京塔维尔信息技术有限公司"));
    w32test::ProcessEvents();
    RECT part{};
    ASSERT_TRUE(SendMessageA(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part)));
    // The part's frame runs along its edges; the text's ink keeps a pixel
    // clear of it above and below and two at the left.
    int inkTop = 1000, inkBottom = -1, inkLeft = 1000;
    // The first characters (each pixel read renders the bar).
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < std::min<int>(part.right, part.left + 60); ++x) {
            const COLORREF c = w32test::PixelAt(status, x, y);
            if (c == CLR_INVALID || GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 128) continue;
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
            inkLeft = std::min(inkLeft, x);
        }
    ASSERT_GE(inkBottom, 0) << "the text shows";
    EXPECT_GE(inkTop, part.top + 2);
    EXPECT_LE(inkBottom, part.bottom - 4);  // the frame's bottom line is 2 pixels inside the part
    EXPECT_GE(inkLeft, part.left + 3);
}

TEST_F(BarsTest, StatusBarPartsStayAndTextComesFromAnotherThread) {
    HWND status = Make(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, 11551, nullptr);
    RECT pc{};
    GetClientRect(parent_, &pc);
    const int w = pc.right;
    int edges[2] = {w / 2, w};
    EXPECT_TRUE(SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
    EXPECT_TRUE(SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("北京塔维尔信息技术有限公司")));

    RunOnWorkerWhilePumping(parent_, [&] {
        char text[128];
        for (int i = 1; i <= 3; ++i) {
            std::snprintf(text, sizeof text, "正在发送邮件,现在是第%d封,共%d封邮件", i, 3);
            SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text));
        }
    });

    char buf[256];
    LRESULT r = SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "正在发送邮件,现在是第3封,共3封邮件");
    EXPECT_EQ(LOWORD(r), std::strlen(buf));
    SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "北京塔维尔信息技术有限公司");

    // The parent grows; the bar follows on WM_SIZE(0, 0), the part edge stays.
    MoveWindow(parent_, 0, 0, 1280, 900, TRUE);
    SendMessageA(status, WM_SIZE, 0, 0);
    w32test::ProcessEvents(20);
    RECT npc{}, sc{};
    GetClientRect(parent_, &npc);
    GetClientRect(status, &sc);
    EXPECT_EQ(sc.right, npc.right);
    POINT bottom{0, sc.bottom};
    MapWindowPoints(status, parent_, &bottom, 1);
    EXPECT_EQ(bottom.y, npc.bottom);
    int got[2] = {};
    EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(got)), 2);
    EXPECT_EQ(got[0], w / 2);
    w32test::GrabWindow(status, OutDir() + "/statusbar.png");
}

TEST(ImageLists, HandlesAreCheckedAndIconsAppend) {
    HIMAGELIST himl = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    ASSERT_NE(himl, nullptr);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(himl, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    EXPECT_EQ(ImageList_AddIcon(himl, nullptr), -1);  // not an icon
    EXPECT_TRUE(ImageList_Destroy(himl));
    EXPECT_FALSE(ImageList_Destroy(himl));  // already gone
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR24, 1, 0), nullptr);
}

TEST_F(BarsTest, InitCommonControlsExChecksItsRecordAndEveryClassCanBeCreated) {
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    INITCOMMONCONTROLSEX bad{sizeof(INITCOMMONCONTROLSEX) + 4, ICC_BAR_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&bad));
    for (DWORD icc : {ICC_BAR_CLASSES, ICC_TAB_CLASSES, ICC_LISTVIEW_CLASSES, ICC_DATE_CLASSES}) {
        INITCOMMONCONTROLSEX ok{sizeof(INITCOMMONCONTROLSEX), icc};
        EXPECT_TRUE(InitCommonControlsEx(&ok));
    }
    for (const char* cls : {WC_LISTVIEWA, WC_TABCONTROLA, DATETIMEPICK_CLASSA, TOOLBARCLASSNAMEA, STATUSCLASSNAMEA}) {
        HWND h = Make(cls, WS_CHILD, 0, 0, 100, 30, 1);
        EXPECT_NE(h, nullptr) << cls;
        char name[64] = {};
        GetClassNameA(h, name, sizeof name);
        EXPECT_STREQ(name, cls);
    }
    // The toolbar starts hidden: the main window shows it once its buttons are in.
    HWND bar = Make(TOOLBARCLASSNAMEA, WS_CHILD, 0, 0, 0, 0, 10001, nullptr);
    EXPECT_FALSE(IsWindowVisible(bar));
}

}  // namespace

namespace {

const HINSTANCE kInst = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000));

TEST_F(BarsTest, ToolbarArtShowsWithoutItsMaskColour) {
    HWND bar = Make(TOOLBARCLASSNAMEA, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 10001, nullptr);
    HIMAGELIST himl = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 10, 0);
    HBITMAP bmp = LoadBitmapA(kInst, "CC_HOMEPAGE");
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(ImageList_AddMasked(himl, bmp, kMask), 0);
    DeleteObject(bmp);
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(himl));
    char label[] = "首页\0";
    TBBUTTON b{};
    b.iBitmap = 0;
    b.idCommand = 10002;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_CHECKGROUP;
    b.iString = SendMessageA(bar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(label));
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    w32test::ProcessEvents(20);
    RECT r{};
    ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
    int maskPixels = 0, artPixels = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = w32test::PixelAt(bar, x, y);
            maskPixels += c == kMask;
            artPixels += c != 0xF0F0F0 && c != 0xFFFFFF;
        }
    EXPECT_EQ(maskPixels, 0);
    EXPECT_GT(artPixels, 50);
    DestroyWindow(bar);
    ImageList_Destroy(himl);
}

TEST_F(BarsTest, StateIconsOfTheMailListDrawInTheFirstColumn) {
    HWND list =
        Make(WC_LISTVIEWA, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, 10, 10, 600, 200, 11501);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x65);
    EXPECT_TRUE(InsertColumns(list, {{"昵称", 100}}));
    HIMAGELIST himl = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    EXPECT_EQ(ImageList_AddIcon(himl, LoadIconA(kInst, "CC_CHECKED")), 0);
    EXPECT_EQ(ImageList_AddIcon(himl, LoadIconA(kInst, "CC_UNCHECKED")), 1);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(himl));
    FillLikePages(list, {{"甲"}, {"乙"}});
    w32test::ProcessEvents(20);
    // Some pixel left of the row's text differs from the white row: the icon.
    const POINT c = w32test::ListCellPoint(list, 0, 0);
    int drawn = 0;
    for (int x = 0; x < 30; ++x)
        for (int dy = -6; dy <= 6; ++dy) drawn += w32test::PixelAt(list, x, c.y + dy) != 0xFFFFFF;
    EXPECT_GT(drawn, 20);
    w32test::GrabWindow(list, OutDir() + "/listview_state_icons.png");
    DestroyWindow(list);
    ImageList_Destroy(himl);
}

TEST_F(BarsTest, StateImageNShowsImageNMinusOneOfTheCurrentList) {
    HWND list =
        Make(WC_LISTVIEWA, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, 10, 10, 600, 200, 11501);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x65);
    EXPECT_TRUE(InsertColumns(list, {{"昵称", 100}}));
    FillLikePages(list, {{"甲"}, {"乙"}});
    LVITEMA st{};
    st.state = INDEXTOSTATEIMAGEMASK(2);
    st.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));  // row 0: image 2, row 1: image 1
    // The pixels of a row's state icon, as one signature; 0 when the icon cell is blank.
    auto icon = [&](int row) {
        RECT rc{};
        rc.left = LVIR_ICON;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
        unsigned long long sig = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                const COLORREF c = w32test::PixelAt(list, x, y);
                if (c != 0xFFFFFF) sig = sig * 31 + c + 1;
            }
        return sig;
    };
    HIMAGELIST onlyChecked = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    ImageList_AddIcon(onlyChecked, LoadIconA(kInst, "CC_CHECKED"));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(onlyChecked));
    w32test::ProcessEvents(20);
    const auto checked = icon(1);
    EXPECT_NE(checked, 0u);  // image 1 = the list's first icon
    EXPECT_EQ(icon(0), 0u);  // image 2 does not exist in a one-icon list

    HIMAGELIST both = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_AddIcon(both, LoadIconA(kInst, "CC_CHECKED"));
    ImageList_AddIcon(both, LoadIconA(kInst, "CC_UNCHECKED"));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(both));
    w32test::ProcessEvents(20);
    EXPECT_EQ(icon(1), checked);
    EXPECT_NE(icon(0), 0u);
    EXPECT_NE(icon(0), checked);  // the second icon
    DestroyWindow(list);
    ImageList_Destroy(onlyChecked);
    ImageList_Destroy(both);
}

}  // namespace
