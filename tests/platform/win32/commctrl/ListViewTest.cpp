// The list view as the pages use it: report mode, rows inserted at row 0,
// alternating custom-drawn rows, clicks, column clicks, state images, label
// editing and reads from another thread.
#include <algorithm>
#include <thread>

#include "Fixture.h"

using namespace cctest;

namespace {

// What the mail worker reads of its recipient list: the mail column (1) and the
// state image of rows 0 .. rows - 1, through messages from this thread.
struct RowReads {
    std::vector<std::string> mails;
    std::vector<int> checks;
};
RowReads ReadMailsAndChecks(HWND list, int rows) {
    RowReads out;
    for (int r = 0; r < rows; ++r) {
        char buf[256] = "junk";
        LVITEMA item{};
        item.iSubItem = 1;
        item.pszText = buf;
        item.cchTextMax = sizeof buf;
        SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        out.mails.push_back(buf);
        out.checks.push_back(static_cast<int>(SendMessageA(list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK) >> 12));
    }
    return out;
}

constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS;  // 0x50800201
constexpr int kListId = 10803;

class ListViewTest : public ParentTest {
protected:
    HWND MakeList(DWORD exStyle, const std::vector<std::pair<std::string, int>>& columns,
                  UINT colMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT) {
        HWND list = Make(WC_LISTVIEWA, kListStyle, 10, 10, 850, 400, kListId);
        EXPECT_NE(list, nullptr);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle);
        EXPECT_TRUE(InsertColumns(list, columns, colMask));
        return list;
    }
    std::vector<std::vector<std::string>> Records(int n, int cols) {
        std::vector<std::vector<std::string>> out;
        for (int r = 0; r < n; ++r) {
            std::vector<std::string> rec;
            for (int c = 0; c < cols; ++c) rec.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
            out.push_back(rec);
        }
        return out;
    }
    static LRESULT AlternateRows(NMHDR* hdr) {
        if (hdr->code != NM_CUSTOMDRAW) return 0;
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            cd->clrTextBk = (cd->nmcd.dwItemSpec % 2) ? 0xFFE7CE : 0xFFFFFF;
            return CDRF_DODEFAULT;
        }
        return 0;
    }
};

// ---------------------------------------------------------------------------
// Filling and reading
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, RowsInsertedAtZeroShowInReverseOrderWithTheirCells) {
    HWND list = MakeList(0x61, {{"姓名", 100}, {"客户单位", 150}, {"职务", 100}});
    FillLikePages(list, Records(3, 3));
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(list, 0, 0), "r2c0");
    EXPECT_EQ(ItemText(list, 0, 2), "r2c2");
    EXPECT_EQ(ItemText(list, 2, 0), "r0c0");
    EXPECT_EQ(ItemText(list, 2, 1), "r0c1");
    EXPECT_EQ(w32test::ListShownRows(list), 3);
}

TEST_F(ListViewTest, SubItemKShowsInColumnKEvenWhenColumnsClaimSubItemZero) {
    // The work column record keeps iSubItem 0 with LVCF_SUBITEM set.
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}, {"c", 100}}, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
    FillLikePages(list, {{"x0", "x1", "x2"}});
    EXPECT_EQ(ItemText(list, 0, 1), "x1");
    EXPECT_EQ(ItemText(list, 0, 2), "x2");
    LVCOLUMNA col{};
    char buf[256];
    col.mask = LVCF_TEXT | LVCF_SUBITEM;
    col.pszText = buf;
    col.cchTextMax = sizeof buf;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&col)));
    EXPECT_STREQ(buf, "c");
    EXPECT_EQ(col.iSubItem, 2);
}

TEST_F(ListViewTest, GetItemTextCutsToTheBufferAndNeverSplitsACharacter) {
    HWND list = MakeList(0, {{"a", 100}});
    std::string longText(300, 'a');
    FillLikePages(list, {{longText}, {"联系人"}});
    EXPECT_EQ(ItemText(list, 1, 0, 256).size(), 255u);
    // "联系人" is 6 bytes; a 6-byte buffer holds 5 bytes, which would cut the
    // third character in half, so only two characters come back.
    EXPECT_EQ(ItemText(list, 0, 0, 6), "联系");
    EXPECT_EQ(ItemText(list, 0, 0, 7), "联系人");
}

TEST_F(ListViewTest, RowsBeyondTheListReadEmpty) {
    HWND list = MakeList(0, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(2, 2));
    EXPECT_EQ(ItemText(list, 2, 0), "");
    EXPECT_EQ(ItemText(list, 500, 1), "");
    EXPECT_EQ(ItemText(list, -1, 0), "");
}

TEST_F(ListViewTest, SetItemFailsForABadRowAndStateMaskZeroChangesNothing) {
    HWND list = MakeList(0, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(1, 2));
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = 1;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>("x");
    EXPECT_FALSE(SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA st{};
    st.state = INDEXTOSTATEIMAGEMASK(2);
    st.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
    item.iItem = 0;
    item.state = 0;
    item.stateMask = 0;
    EXPECT_TRUE(SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK),
              static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
}

TEST_F(ListViewTest, DeleteAllItemsKeepsColumnsAndSetColumnRecaptions) {
    HWND list = MakeList(0x60, {{"1日", 105}});
    FillLikePages(list, Records(4, 1));
    EXPECT_TRUE(SendMessageA(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(w32test::ListShownRows(list), 0);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<char*>("28日");
    EXPECT_TRUE(SendMessageA(list, LVM_SETCOLUMNA, 0, reinterpret_cast<LPARAM>(&col)));
    char buf[16];
    col.pszText = buf;
    col.cchTextMax = sizeof buf;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&col)));
    EXPECT_STREQ(buf, "28日");
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 105);
}

TEST_F(ListViewTest, ExtendedStyleMaskZeroReplacesAllBits) {
    HWND list = MakeList(0x65, {{"a", 100}});
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x65);
    EXPECT_EQ(SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x60), 0x65);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x60);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x61);
}

TEST_F(ListViewTest, SetFontAfterTheColumnsReachesRowsAndHeader) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(2, 1));
    RECT small{}, big{};
    small.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&small)));
    HFONT font = CreateFontA(-21, 0, 0, 0, 700, 0, 0, 0, 134 /* GB2312 */, 0, 0, 0, 0, "宋体");
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), font);
    w32test::ProcessEvents(20);
    big.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&big)));
    EXPECT_GT(big.bottom - big.top, small.bottom - small.top);
    EXPECT_GT(big.top, small.top);  // the header grew too
    DestroyWindow(list);
    DeleteObject(font);
}

// ---------------------------------------------------------------------------
// Custom draw
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, AnInvalidatedListPaintsAgainWithANewCustomDrawCycle) {
    HWND list = MakeList(0x61, {{"姓名", 100}});
    FillLikePages(list, {{"张伟"}, {"李娜"}});
    Rec().onNotify = AlternateRows;
    auto painted = [&] {
        for (const Note& n : Rec().Of(NM_CUSTOMDRAW))
            if (n.stage == CDDS_PREPAINT) return true;
        return false;
    };
    ASSERT_TRUE(w32test::WaitFor(painted));  // the first paint, before the invalidation
    Rec().Clear();
    InvalidateRect(list, nullptr, TRUE);
    EXPECT_TRUE(w32test::WaitFor(painted));
    DestroyWindow(list);
}

// The first row's rectangle, once the list has laid it out.
bool FirstRowLaidOut(HWND list, RECT& rc) {
    rc = RECT{LVIR_BOUNDS, 0, 0, 0};
    return SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)) && rc.bottom > rc.top;
}

// The metrics of the list's own font.
TEXTMETRICA ListFontMetrics(HWND list) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return tm;
}

TEST_F(ListViewTest, RowsAreAFewPixelsTallerThanTheFont) {
    HWND list = MakeList(0x61, {{"姓名", 100}});
    FillLikePages(list, {{"张伟"}, {"李娜"}});
    RECT rc{};
    ASSERT_TRUE(w32test::WaitFor([&] { return FirstRowLaidOut(list, rc); }));
    const TEXTMETRICA tm = ListFontMetrics(list);
    EXPECT_GE(rc.bottom - rc.top, tm.tmHeight + 3);
    DestroyWindow(list);
}

// The header holds its Chinese titles in the list's own font: the first row
// starts below a header taller than that font's cell.
TEST_F(ListViewTest, TheHeaderIsTallerThanItsFont) {
    HWND list = MakeList(0x61, {{"姓名", 100}, {"客户单位", 150}});
    FillLikePages(list, {{"张伟", "天津港"}});
    RECT rc{};
    ASSERT_TRUE(w32test::WaitFor([&] { return FirstRowLaidOut(list, rc); }));
    const TEXTMETRICA tm = ListFontMetrics(list);
    EXPECT_GE(rc.top, tm.tmHeight + 4);
    EXPECT_LE(rc.top, tm.tmHeight + 16);
    DestroyWindow(list);
}

// The header as Windows draws it: flat sections on white, each with a thin
// grey divider at its right; a wide header is drawn without Qt starting
// threads to paint it.
TEST_F(ListViewTest, TheHeaderIsFlatWhiteWithADividerAfterEachSection) {
    const int threads = w32test::ProcessThreads();
    HWND list = MakeList(0x61, {{"姓名", 300}, {"客户单位", 150}});
    FillLikePages(list, {{"张伟", "天津港"}});
    RECT rc{};
    ASSERT_TRUE(w32test::WaitFor([&] { return FirstRowLaidOut(list, rc); }));
    const int y = rc.top / 2;  // the header's middle row
    std::vector<int> dividers;
    for (int x = 100; x < 600; ++x) {
        const COLORREF c = w32test::PixelAt(list, x, y);
        if (c == RGB(229, 229, 229)) {
            dividers.push_back(x);
        } else if (x < 250 || (x > 400 && x < 445)) {  // clear of the titles
            ASSERT_EQ(c, RGB(255, 255, 255)) << x;
        }
    }
    ASSERT_EQ(dividers.size(), 2u);
    EXPECT_EQ(dividers[1] - dividers[0], 150);
    EXPECT_NEAR(dividers[0], 300, 3);
    EXPECT_EQ(w32test::ProcessThreads(), threads);
    DestroyWindow(list);
}

TEST_F(ListViewTest, CustomDrawAsksPerRowAndPaintsTheParentsBackground) {
    HWND list = MakeList(0x61, {{"姓名", 100}, {"客户单位", 150}});
    FillLikePages(list, {{"张伟", "北京塔维尔"}, {"李娜", "华北区"}, {"王芳", "合作伙伴"}, {"刘洋", "重要客户"}});
    Rec().onNotify = AlternateRows;
    Rec().Clear();
    InvalidateRect(list, nullptr, TRUE);
    w32test::ProcessEvents(50);
    auto cd = Rec().Of(NM_CUSTOMDRAW);
    ASSERT_FALSE(cd.empty());
    EXPECT_EQ(cd.front().stage, static_cast<DWORD>(CDDS_PREPAINT));
    // Every paint: one prepaint, then one item prepaint per row, top down.
    std::vector<std::vector<DWORD_PTR>> passes;
    for (const Note& n : cd) {
        if (n.stage == CDDS_PREPAINT) passes.emplace_back();
        if (n.stage == CDDS_ITEMPREPAINT) passes.back().push_back(n.spec);
    }
    for (const auto& rows : passes) EXPECT_EQ(rows, (std::vector<DWORD_PTR>{0, 1, 2, 3}));

    // Row 1 (odd) is light blue across its sub-items, row 0 and 2 white.
    const POINT c1 = w32test::ListCellPoint(list, 1, 1);
    const POINT c0 = w32test::ListCellPoint(list, 0, 1);
    const POINT c2 = w32test::ListCellPoint(list, 2, 1);
    EXPECT_EQ(w32test::PixelAt(list, c1.x + 60, c1.y), 0xFFE7CEu);
    EXPECT_EQ(w32test::PixelAt(list, c0.x + 60, c0.y), 0xFFFFFFu);
    EXPECT_EQ(w32test::PixelAt(list, c2.x + 60, c2.y), 0xFFFFFFu);
    w32test::GrabWindow(list, OutDir() + "/listview_alternating.png");
}

TEST_F(ListViewTest, ParentAnsweringZeroGetsNoItemStage) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(3, 1));
    Rec().Clear();
    InvalidateRect(list, nullptr, TRUE);
    w32test::ProcessEvents(50);
    auto cd = Rec().Of(NM_CUSTOMDRAW);
    ASSERT_FALSE(cd.empty());
    for (const Note& n : cd) EXPECT_NE(n.stage, static_cast<DWORD>(CDDS_ITEMPREPAINT));
    const POINT c1 = w32test::ListCellPoint(list, 1, 0);
    EXPECT_EQ(w32test::PixelAt(list, c1.x + 40, c1.y), 0xFFFFFFu);
}

// ---------------------------------------------------------------------------
// Mouse
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, ClickAndDoubleClickReportTheRowUnderThePointer) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 150}, {"c", 100}});
    FillLikePages(list, Records(5, 3));
    Rec().Clear();
    w32test::ClickListRow(list, 3, 2);  // a sub-item: full-row select
    auto clicks = Rec().Of(NM_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].item, 3);
    EXPECT_EQ(clicks[0].from, list);
    EXPECT_EQ(clicks[0].id, static_cast<UINT_PTR>(kListId));

    w32test::WaitDoubleClickTime();  // no double click with the first
    Rec().Clear();
    w32test::DoubleClickListRow(list, 1, 0);
    auto dbl = Rec().Of(NM_DBLCLK);
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0].item, 1);
    // The first click of the double click came first, as NM_CLICK.
    ASSERT_FALSE(Rec().Of(NM_CLICK).empty());
    size_t clickAt = 0, dblAt = 0;
    for (size_t i = 0; i < Rec().notes.size(); ++i) {
        if (Rec().notes[i].code == NM_CLICK && !clickAt) clickAt = i + 1;
        if (Rec().notes[i].code == NM_DBLCLK) dblAt = i + 1;
    }
    EXPECT_LT(clickAt, dblAt);
    EXPECT_EQ(Rec().Of(NM_CLICK).size(), 1u);
}

TEST_F(ListViewTest, ClicksBelowTheRowsReportMinusOne) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(2, 2));
    w32test::WaitDoubleClickTime();
    Rec().Clear();
    const POINT blank = w32test::ListBlankPoint(list);
    w32test::DoubleClick(list, blank.x, blank.y);
    auto dbl = Rec().Of(NM_DBLCLK);
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0].item, -1);
    w32test::WaitDoubleClickTime();
    Rec().Clear();
    // Beside the rows: right of the last column.
    const POINT row0 = w32test::ListCellPoint(list, 0, 1);
    w32test::Click(list, row0.x + 300, row0.y);
    auto clicks = Rec().Of(NM_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].item, -1);
}

TEST_F(ListViewTest, SelectionMovesWithItsRowAndWithTheKeys) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(3, 1));
    w32test::ClickListRow(list, 1, 0);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED), LVIS_SELECTED);
    FillLikePages(list, {{"new"}});
    w32test::ProcessEvents();
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED), 0);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    // Selecting another row by message adds to the selection, and says so.
    LVITEMA st{};
    st.state = LVIS_SELECTED;
    st.stateMask = LVIS_SELECTED;
    Rec().Clear();
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(Rec().Of(LVN_ITEMCHANGED).size(), 1u);

    // Down from the focused row selects the next one alone: the parent hears
    // LVN_ITEMCHANGED for every row that changed, each time with the whole
    // new selection in place.
    Rec().Clear();
    std::vector<LRESULT> seen;
    Rec().onNotify = [&](NMHDR* h) {
        if (h->code == LVN_ITEMCHANGED)
            seen.push_back(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        return LRESULT{0};
    };
    w32test::PressKey(VK_DOWN, false, false, list);
    std::vector<int> rows;
    for (const Note& n : Rec().Of(LVN_ITEMCHANGED)) rows.push_back(n.item);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(seen, std::vector<LRESULT>(3, 3));
}

TEST_F(ListViewTest, HitTestAgreesWithItemRectangles) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(4, 2));
    for (int row = 0; row < 4; ++row) {
        RECT rc{};
        rc.left = LVIR_BOUNDS;
        ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)));
        LVHITTESTINFO hit{};
        hit.pt = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), row);
        EXPECT_EQ(hit.iItem, row);
        EXPECT_TRUE(hit.flags & LVHT_ONITEM);
        // The same point reaches NM_CLICK with the same row.
        w32test::WaitDoubleClickTime();
        Rec().Clear();
        w32test::Click(list, hit.pt.x, hit.pt.y);
        ASSERT_EQ(Rec().Of(NM_CLICK).size(), 1u);
        EXPECT_EQ(Rec().Of(NM_CLICK)[0].item, row);
    }
    LVHITTESTINFO below{};
    const POINT blank = w32test::ListBlankPoint(list);
    below.pt = blank;
    EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&below)), -1);
    EXPECT_EQ(below.flags, static_cast<UINT>(LVHT_NOWHERE));
}

TEST_F(ListViewTest, NotificationPointsAreClientCoordinatesThatHitTheSameRow) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(6, 2));
    for (int row : {0, 3, 5}) {
        w32test::WaitDoubleClickTime();
        Rec().Clear();
        w32test::ClickListRow(list, row, 1);
        auto clicks = Rec().Of(NM_CLICK);
        ASSERT_EQ(clicks.size(), 1u);
        const POINT at = w32test::ListCellPoint(list, row, 1);
        EXPECT_EQ(clicks[0].pt.x, at.x);
        EXPECT_EQ(clicks[0].pt.y, at.y);
        LVHITTESTINFO hit{};
        hit.pt = clicks[0].pt;
        EXPECT_EQ(SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), row);
        EXPECT_EQ(hit.iSubItem, 1);
    }
}

TEST_F(ListViewTest, HeaderClickNotifiesTheColumnAndNeverReordersRows) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}, {"c", 100}});
    FillLikePages(list, {{"b", "1", "z"}, {"a", "2", "y"}, {"c", "3", "x"}});
    Rec().Clear();
    w32test::ClickListHeader(list, 2);
    auto cc = Rec().Of(LVN_COLUMNCLICK);
    ASSERT_EQ(cc.size(), 1u);
    EXPECT_EQ(cc[0].subItem, 2);
    EXPECT_EQ(ItemText(list, 0, 0), "c");
    EXPECT_EQ(ItemText(list, 1, 0), "a");
    EXPECT_EQ(ItemText(list, 2, 0), "b");
}

TEST_F(ListViewTest, HotTrackingNotifiesWhileTheMouseMoves) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(3, 2));
    Rec().Clear();
    const POINT p = w32test::ListCellPoint(list, 2, 1);
    w32test::MouseMove(list, p.x, p.y);
    auto hot = Rec().Of(LVN_HOTTRACK);
    ASSERT_FALSE(hot.empty());
    EXPECT_EQ(hot.back().item, 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETHOTITEM, 0, 0), 2);
    EXPECT_EQ(w32test::CurrentCursorId(), 32649);  // IDC_HAND over a row
    // The hot row's text is drawn in the hot-track blue; the other rows' is not.
    auto blueText = [&](int row) {
        RECT rc{};
        rc.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
        const int mid = (rc.top + rc.bottom) / 2;
        for (int y = mid - 5; y <= mid + 5; ++y)
            for (int x = rc.left; x < rc.left + 40; ++x) {  // the text of column 0
                const COLORREF c = w32test::PixelAt(list, x, y);
                if (((c >> 16) & 0xFF) > 200 && (c & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80) return true;
            }
        return false;
    };
    w32test::ProcessEvents(20);
    EXPECT_TRUE(blueText(2));
    EXPECT_FALSE(blueText(1));
    const POINT blank = w32test::ListBlankPoint(list);
    w32test::MouseMove(list, blank.x, blank.y);
    EXPECT_EQ(Rec().Of(LVN_HOTTRACK).back().item, -1);
    w32test::ProcessEvents(20);
    EXPECT_FALSE(blueText(2));
    EXPECT_EQ(w32test::CurrentCursorId(), 32512);  // IDC_ARROW beside the rows
}

TEST_F(ListViewTest, OneClickActivationActivatesOnASingleClickOnly) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(3, 2));
    Rec().Clear();
    w32test::ClickListRow(list, 1, 1);
    auto act = Rec().Of(LVN_ITEMACTIVATE);
    ASSERT_EQ(act.size(), 1u);
    EXPECT_EQ(act[0].item, 1);
    w32test::WaitDoubleClickTime();

    // Full-row select alone: a click selects, nothing is activated or hot.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    Rec().Clear();
    const POINT p = w32test::ListCellPoint(list, 2, 1);
    w32test::MouseMove(list, p.x, p.y);
    w32test::ClickListRow(list, 2, 1);
    EXPECT_TRUE(Rec().Of(LVN_ITEMACTIVATE).empty());
    EXPECT_TRUE(Rec().Of(LVN_HOTTRACK).empty());
    EXPECT_EQ(Rec().Of(NM_CLICK).size(), 1u);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);
}

TEST_F(ListViewTest, GridLinesShowOnlyWithTheirExtendedStyle) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(3, 2));
    w32test::ProcessEvents(20);
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc)));
    const int midY = (rc.top + rc.bottom) / 2;
    // A line closes row 0 at its bottom; a line runs down between the columns.
    auto rowLine = [&] { return w32test::PixelAt(list, rc.left + 50, rc.bottom - 1); };
    auto columnLine = [&] {
        for (int x = rc.left + 96; x < rc.left + 102; ++x)  // text of column 1 starts further right
            if (w32test::PixelAt(list, x, midY) != 0xFFFFFFu) return true;
        return false;
    };
    EXPECT_NE(rowLine(), 0xFFFFFFu);
    EXPECT_TRUE(columnLine());
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x60);
    w32test::ProcessEvents(20);
    EXPECT_EQ(rowLine(), 0xFFFFFFu);
    EXPECT_FALSE(columnLine());
}

TEST_F(ListViewTest, WithoutSingleSelectionShiftArrowSelectsSeveralRows) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(4, 1));
    w32test::ClickListRow(list, 0, 0);
    w32test::PressKey(VK_DOWN, true, false, list);
    w32test::PressKey(VK_DOWN, true, false, list);
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    // A plain arrow makes a single selection again; the rows keep their order.
    w32test::PressKey(VK_UP, false, false, list);
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(ItemText(list, 3, 0), "r0c0");
}

// Page Down goes to the last row wholly in view without scrolling, and from
// there a page less one row on, the row it leaves becoming the top row; Page
// Up mirrors it.
TEST_F(ListViewTest, PageKeysGoToTheLastWhollyVisibleRowThenMoveAPageLessOneRow) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(100, 1));
    w32test::ClickListRow(list, 0, 0);
    const int n = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(n, 3);
    std::vector<std::vector<int>> steps;  // focused row, selected row, top row
    for (int vk : {VK_NEXT, VK_NEXT, VK_NEXT, VK_PRIOR, VK_PRIOR}) {
        w32test::PressKey(vk, false, false, list);
        steps.push_back({static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)),
                         static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)),
                         static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0))});
    }
    const int m = n - 1;  // a page less one row
    const std::vector<std::vector<int>> win32 = {
        {m, m, 0}, {2 * m, 2 * m, m}, {3 * m, 3 * m, 2 * m}, {2 * m, 2 * m, 2 * m}, {m, m, m}};
    EXPECT_EQ(steps, win32);
}

// The horizontal bar reaches as far as the columns: none while they fit the
// client area; with more, a range of their total width, arrows that step a
// few pixels, and scrolled all the way right the last column ends at the
// client's right edge.
TEST_F(ListViewTest, TheHorizontalBarReachesAsFarAsTheColumnsInSmallSteps) {
    HWND list = MakeList(0x61, {{"日期", 100}, {"时间", 100}, {"计划日志标题", 150}, {"费用", 500}});
    FillLikePages(list, Records(3, 4));
    RECT client{};
    GetClientRect(list, &client);
    ASSERT_EQ(client.right, 850);  // the columns' width
    RECT bar = w32test::ListHorzBar(list);
    EXPECT_TRUE(IsRectEmpty(&bar));

    LVCOLUMNA blank{};
    blank.mask = LVCF_WIDTH | LVCF_TEXT;
    blank.cx = 220;
    blank.pszText = const_cast<char*>("");
    SendMessageA(list, LVM_INSERTCOLUMNA, 4, reinterpret_cast<LPARAM>(&blank));
    SCROLLINFO si{};
    bar = w32test::ListHorzBar(list, &si);
    ASSERT_FALSE(IsRectEmpty(&bar));
    EXPECT_EQ(si.nMax + 1, 1070);
    EXPECT_EQ(static_cast<int>(si.nPage), client.right);  // three rows: no vertical bar
    const int middle = (bar.top + bar.bottom) / 2;
    w32test::Click(list, bar.right - 4, middle);  // the right arrow
    w32test::ListHorzBar(list, &si);
    EXPECT_GT(si.nPos, 0);
    EXPECT_LE(si.nPos, 16);
    w32test::Click(list, bar.right - 30, middle);  // the trough right of the thumb: a page
    w32test::ListHorzBar(list, &si);
    EXPECT_EQ(si.nPos, 1070 - client.right);
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    EXPECT_EQ(row.right, client.right);
}

// ---------------------------------------------------------------------------
// State images
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, StateImagesRoundTripAndListsWithoutThemReadZero) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(2, 1));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), 0);
    LVITEMA item{};
    item.state = INDEXTOSTATEIMAGEMASK(2);
    item.stateMask = LVIS_STATEIMAGEMASK;
    EXPECT_TRUE(SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12, 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12, 0);
}

TEST_F(ListViewTest, CheckBoxListsStartAtImageOneAndToggleOnClickAndSpace) {
    HWND list = MakeList(0x65, {{"昵称", 100}, {"联系人", 100}});
    HIMAGELIST own = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    FillLikePages(list, Records(3, 2));
    // The page's own two icons replace the list's check boxes.
    // The list the check boxes made comes back, the caller's to destroy.
    HIMAGELIST boxes = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    ASSERT_NE(boxes, nullptr);
    HIMAGELIST old =
        reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(own)));
    EXPECT_EQ(old, boxes);
    EXPECT_EQ(ImageList_GetImageCount(old), 2);
    ImageList_Destroy(old);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK) >> 12, 1);
    w32test::ClickListStateImage(list, 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12, 2);
    w32test::WaitDoubleClickTime();
    w32test::ClickListStateImage(list, 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12, 1);
    // Space toggles the focused row.
    w32test::WaitDoubleClickTime();
    w32test::ClickListRow(list, 2, 1);
    w32test::PressKey(VK_SPACE, false, false, list);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_STATEIMAGEMASK) >> 12, 2);
    DestroyWindow(list);
    ImageList_Destroy(own);
}

TEST_F(ListViewTest, StateImageListReplacementReturnsThePreviousListAndRowsFitTheIcons) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(2, 1));
    HFONT tiny = CreateFontA(-8, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(tiny), TRUE);
    w32test::ProcessEvents(20);
    HIMAGELIST first = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    HIMAGELIST second = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    EXPECT_EQ(SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(
                  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(second))),
              first);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0)), second);
    w32test::ProcessEvents(20);
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_GE(rc.bottom - rc.top, 16);  // a 16-pixel state icon fits the row, whatever the font
    DestroyWindow(list);
    ImageList_Destroy(first);
    ImageList_Destroy(second);
    DeleteObject(tiny);
}

TEST_F(ListViewTest, PlainStateImagesDoNotToggleOnClick) {
    HWND list = MakeList(0x61, {{"a", 100}});
    HIMAGELIST own = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    FillLikePages(list, Records(2, 1));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(own));
    LVITEMA item{};
    item.state = INDEXTOSTATEIMAGEMASK(1);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    w32test::ClickListStateImage(list, 0);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12, 1);
    DestroyWindow(list);
    ImageList_Destroy(own);
}

// ---------------------------------------------------------------------------
// Label editing
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, LabelEditStartsWithF2AndIsDiscardedWhenTheParentAnswersZero) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(3, 2));
    w32test::ClickListRow(list, 1, 0);
    Rec().Clear();
    w32test::PressKey(VK_F2, false, false, list);
    w32test::ProcessEvents(20);
    ASSERT_EQ(Rec().Of(LVN_BEGINLABELEDITA).size(), 1u);
    EXPECT_EQ(Rec().Of(LVN_BEGINLABELEDITA)[0].item, 1);
    std::string editing;
    ASSERT_TRUE(w32test::ListEditorText(list, &editing));
    EXPECT_EQ(editing, "r1c0");
    w32test::FinishListEdit(list, "改过", true);
    ASSERT_EQ(Rec().Of(LVN_ENDLABELEDITA).size(), 1u);
    EXPECT_EQ(ItemText(list, 1, 0), "r1c0");  // rejected: the label keeps its text
}

TEST_F(ListViewTest, LabelEditKeepsTheTextWhenTheParentAccepts) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(2, 1));
    Rec().onNotify = [](NMHDR* h) -> LRESULT { return h->code == LVN_ENDLABELEDITA ? TRUE : 0; };
    w32test::ClickListRow(list, 0, 0);
    w32test::PressKey(VK_F2, false, false, list);
    w32test::ProcessEvents(20);
    w32test::FinishListEdit(list, "改过", true);
    EXPECT_EQ(ItemText(list, 0, 0), "改过");
}

TEST_F(ListViewTest, SlowSecondClickOnASelectedRowStartsEditing) {
    HWND list = MakeList(0x61, {{"a", 100}});
    FillLikePages(list, Records(2, 1));
    w32test::ClickListRow(list, 0, 0);
    w32test::WaitDoubleClickTime();
    Rec().Clear();
    w32test::ClickListRow(list, 0, 0);
    EXPECT_TRUE(w32test::WaitFor([] { return !Rec().Of(LVN_BEGINLABELEDITA).empty(); }, 3000));
    EXPECT_TRUE(w32test::ListEditorText(list, nullptr));
    w32test::FinishListEdit(list, "x", false);  // Esc
    EXPECT_EQ(ItemText(list, 0, 0), "r1c0");
}

TEST_F(ListViewTest, ADoubleClickOnTheSelectedRowOpensNoLabelEditor) {
    HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
    FillLikePages(list, Records(3, 2));
    w32test::ClickListRow(list, 1, 0);
    w32test::WaitDoubleClickTime();
    Rec().Clear();
    w32test::DoubleClickListRow(list, 1, 0);
    ASSERT_EQ(Rec().Of(NM_DBLCLK).size(), 1u);
    w32test::WaitDoubleClickTime();  // past any delayed edit
    EXPECT_TRUE(Rec().Of(LVN_BEGINLABELEDITA).empty());
    EXPECT_FALSE(w32test::ListEditorText(list, nullptr));
}

TEST_F(ListViewTest, AParentMayDestroyTheListWhileItNotifiesAClick) {
    for (UINT code : {NM_CLICK, NM_DBLCLK}) {
        HWND list = MakeList(0x61, {{"a", 100}, {"b", 100}});
        FillLikePages(list, Records(3, 2));
        w32test::WaitDoubleClickTime();
        Rec().onNotify = [code](NMHDR* h) -> LRESULT {
            if (h->code == code && IsWindow(h->hwndFrom)) DestroyWindow(h->hwndFrom);
            return 0;
        };
        if (code == NM_CLICK)
            w32test::ClickListRow(list, 1, 1);
        else
            w32test::DoubleClickListRow(list, 1, 1);
        w32test::ProcessEvents(50);
        EXPECT_FALSE(IsWindow(list));
        Rec().onNotify = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Another thread
// ---------------------------------------------------------------------------
TEST_F(ListViewTest, AWorkerReadsTextsAndStatesWhileTheUiThreadWaitsForMessages) {
    HWND list = MakeList(0x65, {{"昵称", 100}, {"邮件", 150}});
    FillLikePages(list, {{"a", "a@x.cn"}, {"b", "b@x.cn"}, {"c", ""}});
    LVITEMA st{};
    st.state = INDEXTOSTATEIMAGEMASK(2);
    st.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));

    RowReads reads;
    // One row past the end, as a stale count would.
    RunOnWorkerWhilePumping(parent_, [&] { reads = ReadMailsAndChecks(list, 4); });
    EXPECT_EQ(reads.mails, (std::vector<std::string>{"", "b@x.cn", "a@x.cn", ""}));
    EXPECT_EQ(reads.checks, (std::vector<int>{1, 2, 1, 0}));
}

}  // namespace

namespace {

RowReads g_dlgReads;
std::thread g_dlgWorker;

INT_PTR CALLBACK ModalListProc(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) {
        HWND list = GetDlgItem(h, 100);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x65);
        InsertColumns(list, {{"昵称", 100}, {"邮件", 100}});
        FillLikePages(list, {{"甲", "jia@x.cn"}, {"乙", "yi@x.cn"}});
        LVITEMA st{};
        st.state = INDEXTOSTATEIMAGEMASK(2);
        st.stateMask = LVIS_STATEIMAGEMASK;
        SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
        g_dlgWorker = std::thread([h, list] {
            g_dlgReads = ReadMailsAndChecks(list, 3);
            PostMessageA(h, WM_COMMAND, IDOK, 0);
        });
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) {
        EndDialog(h, 7);
        return TRUE;
    }
    return FALSE;
}

TEST_F(ListViewTest, AWorkerReadsAListWhileAModalDialogRuns) {
    g_dlgReads = RowReads{};
    const INT_PTR r = DialogBoxParamA(reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000)), "CC_MODAL_LIST",
                                      parent_, ModalListProc, 0);
    if (g_dlgWorker.joinable()) g_dlgWorker.join();
    EXPECT_EQ(r, 7);
    EXPECT_EQ(g_dlgReads.mails, (std::vector<std::string>{"yi@x.cn", "jia@x.cn", ""}));
    EXPECT_EQ(g_dlgReads.checks, (std::vector<int>{2, 1, 0}));
}

}  // namespace

namespace {

int g_okCount = 0;

INT_PTR CALLBACK PlainListProc(HWND h, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) {
        HWND list = GetDlgItem(h, 100);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x61);
        InsertColumns(list, {{"客户单位", 150}});
        FillLikePages(list, {{"c"}, {"b"}, {"a"}});
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK) ++g_okCount;
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(h, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

TEST_F(ListViewTest, InADialogArrowsMoveInTheListAndEnterEndsALabelEdit) {
    g_okCount = 0;
    LRESULT focusedAfterDown = -2;
    bool stillOpenAfterEdit = false;
    int okDuringEdit = -1;
    std::string editedText;
    w32test::SetDialogHook([&](HWND dlg, const std::string&) {
        HWND list = GetDlgItem(dlg, 100);
        w32test::ClickListRow(list, 0, 0);
        w32test::PressKey(VK_DOWN, false, false, list);
        focusedAfterDown = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
        EXPECT_EQ(GetFocus(), list);  // the dialog manager did not take the arrow
        w32test::PressKey(VK_F2, false, false, list);
        w32test::ProcessEvents(20);
        EXPECT_TRUE(w32test::ListEditorText(list, nullptr));
        w32test::PressKey(VK_RETURN, false, false, list);
        okDuringEdit = g_okCount;
        stillOpenAfterEdit = IsWindow(dlg) && IsWindowVisible(dlg);
        editedText = ItemText(list, 1, 0);
        EndDialog(dlg, 3);
    });
    const INT_PTR r = DialogBoxParamA(reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000)), "CC_MODAL_LIST",
                                      parent_, PlainListProc, 0);
    w32test::SetDialogHook(nullptr);
    EXPECT_EQ(r, 3);
    EXPECT_EQ(focusedAfterDown, 1);
    EXPECT_EQ(okDuringEdit, 0) << "Enter in the label editor must not press the default button";
    EXPECT_TRUE(stillOpenAfterEdit);
    EXPECT_EQ(editedText, "b");  // the parent answered 0: the label kept its text
}

}  // namespace
