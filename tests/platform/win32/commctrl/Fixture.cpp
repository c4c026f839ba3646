#include "Fixture.h"

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace cctest {

Recorder& Rec() {
    static Recorder r;
    return r;
}

namespace {

HINSTANCE Inst() { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000)); }

LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        Note n{hdr->hwndFrom, hdr->idFrom, hdr->code};
        switch (hdr->code) {
        case NM_CLICK:
        case NM_DBLCLK:
        case NM_RCLICK:
        case LVN_COLUMNCLICK:
        case LVN_HOTTRACK:
        case LVN_ITEMACTIVATE:
        case LVN_ITEMCHANGED:
            n.item = reinterpret_cast<NMLISTVIEW*>(lp)->iItem;
            n.subItem = reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem;
            n.pt = reinterpret_cast<NMLISTVIEW*>(lp)->ptAction;
            break;
        case LVN_BEGINLABELEDITA:
        case LVN_ENDLABELEDITA: n.item = reinterpret_cast<NMLVDISPINFOA*>(lp)->item.iItem; break;
        case NM_CUSTOMDRAW:
            n.stage = reinterpret_cast<NMCUSTOMDRAW*>(lp)->dwDrawStage;
            n.spec = reinterpret_cast<NMCUSTOMDRAW*>(lp)->dwItemSpec;
            break;
        default: break;
        }
        Rec().notes.push_back(n);
        return Rec().onNotify ? Rec().onNotify(hdr) : 0;
    }
    if (msg == WM_COMMAND) {
        Command c{wp, lp};
        Rec().commands.push_back(c);
        if (Rec().onCommand) Rec().onCommand(c);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

void ParentTest::SetUp() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = Inst();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "CcTestParent";
        ASSERT_NE(RegisterClassA(&wc), 0);
        registered = true;
    }
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    Rec() = Recorder{};
    oldDoubleClickTime_ = w32test::SetDoubleClickTime(kDoubleClickTime);
    parent_ = CreateWindowExA(0, "CcTestParent", "commctrl", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 700, nullptr,
                              nullptr, Inst(), nullptr);
    ASSERT_NE(parent_, nullptr);
    w32test::ProcessEvents();
}

void ParentTest::TearDown() {
    Rec().onNotify = nullptr;
    Rec().onCommand = nullptr;
    if (parent_) DestroyWindow(parent_);
    w32test::ProcessEvents();
    w32test::SetDoubleClickTime(oldDoubleClickTime_);
}

HWND ParentTest::Make(const char* cls, DWORD style, int x, int y, int w, int h, int id, const char* text) {
    HWND hwnd = CreateWindowExA(0, cls, text, style, x, y, w, h, parent_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Inst(), nullptr);
    w32test::ProcessEvents();
    return hwnd;
}

std::string ItemText(HWND list, int row, int col, int size) {
    std::vector<char> buf(size + 1, 'x');
    LVITEMA item{};
    item.iSubItem = col;
    item.pszText = buf.data();
    item.cchTextMax = size;
    LRESULT n = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    std::string s(buf.data());
    EXPECT_EQ(static_cast<size_t>(n), s.size());
    return s;
}

bool InsertColumns(HWND list, const std::vector<std::pair<std::string, int>>& columns, UINT mask) {
    LVCOLUMNA col{};
    col.mask = mask;
    col.fmt = LVCFMT_LEFT;
    bool ok = true;
    for (size_t i = 0; i < columns.size(); ++i) {
        col.cx = columns[i].second;
        col.pszText = const_cast<char*>(columns[i].first.c_str());
        ok &= SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col)) == static_cast<LRESULT>(i);
    }
    return ok;
}

void FillLikePages(HWND list, const std::vector<std::vector<std::string>>& records) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    for (const auto& rec : records) {
        item.iItem = 0;
        item.iSubItem = 0;
        item.pszText = const_cast<char*>(rec[0].c_str());
        ASSERT_EQ(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
        for (size_t c = 1; c < rec.size(); ++c) {
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<char*>(rec[c].c_str());
            ASSERT_TRUE(SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        }
    }
}

void RunOnWorkerWhilePumping(HWND window, const std::function<void()>& work) {
    constexpr UINT kDone = WM_USER + 77;
    std::thread worker([&] {
        work();
        PostMessageA(window, kDone, 0, 0);
    });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kDone && msg.hwnd == window) break;
        DispatchMessageA(&msg);
    }
    worker.join();
}

std::string OutDir() {
    std::string dir = std::filesystem::current_path().string() + "/grabs";
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace cctest
