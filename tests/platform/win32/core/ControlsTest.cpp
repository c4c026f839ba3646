// Standard controls: subclassing sees input first, GBK byte limits, multi-line
// CR LF, combo boxes, buttons (push, check, owner-drawn), statics, focus.
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "Recorder.h"
#include "platform/gbk/gbk.h"
#include "win32_testhooks.h"

namespace {

std::vector<Rec> g_sub;
WNDPROC g_old = nullptr;
bool g_swallowX = false;
bool g_shiftSeen = false;

LRESULT CALLBACK SubProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_KEYDOWN || m == WM_CHAR || m == WM_KEYUP || m == WM_LBUTTONDBLCLK || m == WM_CONTEXTMENU)
        g_sub.push_back(Rec{h, m, wp, lp});
    if (m == WM_KEYDOWN && wp == VK_TAB) g_shiftSeen = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (m == WM_CHAR && wp == 'x' && g_swallowX) return 0;
    return CallWindowProcA(g_old, h, m, wp, lp);
}

std::string Text(HWND h) {
    char buf[512];
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        g_sub.clear();
        g_swallowX = false;
        g_recHandler = nullptr;
        top = MakeTop(600, 400);
        ShowWindow(top, SW_SHOW);
        w32test::WaitForKeyboard(top);  // where typed keys go
    }
    void TearDown() override {
        g_recHandler = nullptr;
        w32test::SetPopupMenuHook(nullptr);
        DestroyWindow(top);
        w32test::ProcessEvents();
    }
    HWND Make(const char* cls, DWORD style, int id, int x = 10, int y = 10, int w = 200, int h = 24,
              const char* text = "") {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, top,
                               reinterpret_cast<HMENU>(intptr_t(id)), Inst(), nullptr);
    }
    void Subclass(HWND h) {
        g_old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubProc)));
    }
    std::vector<WPARAM> Commands() {
        std::vector<WPARAM> v;
        for (auto& r : Log())
            if (r.msg == WM_COMMAND && r.hwnd == top) v.push_back(r.wp);
        return v;
    }
    HWND top = nullptr;
};

TEST_F(Controls, SubclassedEditSeesEnterAndTabBeforeTheEditActs) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 10751);
    Subclass(e);
    SetFocus(e);
    w32test::TypeText("ab");
    w32test::PressKey(VK_RETURN);
    w32test::PressKey(VK_TAB);
    g_swallowX = true;
    w32test::TypeText("x");
    EXPECT_EQ(Text(e), "ab");  // Enter and Tab change nothing; the swallowed x never arrives
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (auto& r : g_sub)
        if (r.msg == WM_KEYDOWN) seen.emplace_back(r.msg, r.wp);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[2].second, WPARAM(VK_RETURN));
    EXPECT_EQ(seen[3].second, WPARAM(VK_TAB));
    // The character of Enter follows its key-down at the same window.
    bool crAfterEnter = false;
    for (size_t i = 1; i < g_sub.size(); ++i)
        if (g_sub[i].msg == WM_CHAR && g_sub[i].wp == '\r' && g_sub[i - 1].msg == WM_KEYDOWN) crAfterEnter = true;
    EXPECT_TRUE(crAfterEnter);
    // Programmatic focus does not select the text.
    DWORD a = 1, b = 1;
    SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(a, b);
}

WNDPROC g_oldMouse = nullptr;
int g_mouseSeen = 0;
LRESULT CALLBACK SwallowMouse(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) {
        ++g_mouseSeen;
        return 0;
    }
    return CallWindowProcA(g_oldMouse, h, m, wp, lp);
}

TEST_F(Controls, ASubclassThatTakesTheMouseKeepsTheControlFromActing) {
    HWND c = Make("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 10109, 10, 40, 100, 20, "x");
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 10114, 10, 70, 120, 200);
    SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
    g_mouseSeen = 0;
    g_oldMouse =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowMouse)));
    w32test::Click(c);
    EXPECT_EQ(g_mouseSeen, 2);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(Commands().empty());
    // Given back to the class procedure, the same click toggles.
    SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_oldMouse));
    w32test::Click(c);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    g_oldMouse =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(cb, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowMouse)));
    w32test::Click(cb);
    w32test::ProcessEvents();
    bool popupShown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QComboBoxPrivateContainer")) popupShown = true;
    EXPECT_FALSE(popupShown);
}

TEST_F(Controls, SubclassedCheckBoxAndComboSeeTabWithTheShiftState) {
    HWND c = Make("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 10109, 10, 40, 100, 20, "x");
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 10114, 10, 70, 120, 200);
    Subclass(c);
    SetFocus(c);
    w32test::PressKey(VK_TAB, true);
    ASSERT_FALSE(g_sub.empty());
    EXPECT_EQ(g_sub.front().wp, WPARAM(VK_TAB));
    EXPECT_TRUE(g_shiftSeen);
    g_sub.clear();
    Subclass(cb);
    SetFocus(cb);
    w32test::PressKey(VK_TAB);
    ASSERT_FALSE(g_sub.empty());
    EXPECT_EQ(g_sub.front().hwnd, cb);
    EXPECT_FALSE(g_shiftSeen);
    EXPECT_EQ(GetFocus(), cb);  // no focus move outside dialogs
}

TEST_F(Controls, TheOpenListOfADropDownShowsItsFirstAndLastRowsWhole) {
    HWND combo = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 300, 10, 10, 120, 120);
    LOGFONTA lf{};
    lf.lfHeight = -15;
    lf.lfCharSet = GB2312_CHARSET;
    strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
    HFONT font = CreateFontIndirectA(&lf);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // 高, 中, 低, 一般: Chinese glyphs fill their whole cell.
    for (const char* item : {"\xB8\xDF", "\xD6\xD0", "\xB5\xCD", "\xD2\xBB\xB0\xE3"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    HDC dc = GetDC(combo);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(combo, dc);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    w32test::ProcessEvents();
    int viewport = -1;
    const std::vector<RECT> rows = w32test::ComboListRows(combo, &viewport);
    ASSERT_EQ(rows.size(), 4u);
    for (const RECT& r : rows) EXPECT_GE(r.bottom - r.top, tm.tmHeight + 4) << "a row leaves room above and below";
    EXPECT_GE(rows.front().top, 0);
    EXPECT_LE(rows.back().bottom, viewport);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DestroyWindow(combo);
    DeleteObject(font);
}

// A long list on a screen too small for all its rows (the box near the bottom
// of the screen, the list opening upwards): every row it shows is whole.
TEST_F(Controls, AnOpenListCutToTheScreenShowsOnlyWholeRows) {
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(height, 100);
    SetWindowPos(top, nullptr, 0, 0, 400, height, SWP_NOZORDER);
    HWND combo = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 301, 10, height / 2, 120, 300);
    // Enough rows that neither the space above nor below holds them all.
    const int rowsWanted = height / 10;
    for (int i = 0; i < rowsWanted; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("row " + std::to_string(100 + i)).c_str()));
    SendMessageA(combo, CB_SETMINVISIBLE, rowsWanted, 0);
    for (int selected : {0, rowsWanted / 2, rowsWanted - 1}) {
        SendMessageA(combo, CB_SETCURSEL, selected, 0);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        w32test::ProcessEvents();
        int viewport = -1;
        const std::vector<RECT> rows = w32test::ComboListRows(combo, &viewport);
        ASSERT_EQ(rows.size(), size_t(rowsWanted));
        ASSERT_GT(viewport, 0);
        int shown = 0;
        for (const RECT& r : rows) {
            if (r.bottom <= 0 || r.top >= viewport) continue;
            ++shown;
            EXPECT_GE(r.top, 0) << "row cut at the top, selected " << selected;
            EXPECT_LE(r.bottom, viewport) << "row cut at the bottom, selected " << selected;
        }
        EXPECT_GT(shown, 1);
        EXPECT_LT(shown, rowsWanted);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        w32test::ProcessEvents();
    }
    DestroyWindow(combo);
}

TEST_F(Controls, EditLimitsCountGbkBytesAndNeverSplitACharacter) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1);
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    SetFocus(e);
    w32test::TypeText("\xD6\xD0\xCE\xC4\xD6\xD0");  // 中文中: the third does not fit
    EXPECT_EQ(Text(e), "\xD6\xD0\xCE\xC4");
    w32test::TypeText("ab");
    EXPECT_EQ(Text(e),
              "\xD6\xD0\xCE\xC4"
              "a");
    EXPECT_EQ(GetWindowTextLengthA(e), 5);
    char buf[4];
    EXPECT_EQ(GetWindowTextA(e, buf, 4), 2);
    // WM_SETTEXT stores any length.
    SetWindowTextA(e, "0123456789");
    EXPECT_EQ(Text(e), "0123456789");
    SetWindowTextA(e, "");
    EXPECT_EQ(GetWindowTextLengthA(e), 0);
}

TEST_F(Controls, MultiLineLimitsCountEveryLineEndAsTwoBytes) {
    HWND m = Make("EDIT", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 2, 10, 10, 200, 80);
    SetWindowTextA(m, "a\r\nb\r\nc");  // 7 bytes
    SendMessageA(m, EM_LIMITTEXT, 8, 0);
    SetFocus(m);
    SendMessageA(m, EM_SETSEL, 7, 7);
    w32test::TypeText("xyz");  // one more byte fits
    EXPECT_EQ(Text(m), "a\r\nb\r\ncx");
    EXPECT_EQ(GetWindowTextLengthA(m), 8);
    w32test::PressKey(VK_RETURN);  // a line end would make 10
    EXPECT_EQ(GetWindowTextLengthA(m), 8);
}

TEST_F(Controls, CharactersOutsideGbkBecomeQuestionMarks) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1);
    SetFocus(e);
    QWidget* widget = WidgetOf(e);
    ASSERT_NE(widget, nullptr);
    QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xF0\x9F\x98\x80"));
    QApplication::sendEvent(widget, &down);
    w32test::TypeText("\xD6\xD0");
    EXPECT_EQ(Text(e), "?\xD6\xD0");
}

TEST_F(Controls, EditWithoutAutoScrollRefusesTextBeyondItsWidth) {
    HWND e = Make("EDIT", WS_BORDER, 1, 10, 10, 60, 24);
    SetFocus(e);
    w32test::TypeText("WWWWWWWWWWWWWWWWWWWW");
    std::string t = Text(e);
    EXPECT_GT(t.size(), 0u);
    EXPECT_LT(t.size(), 20u);
    SetWindowTextA(e, "");
    QGuiApplication::clipboard()->setText(QString(20, QLatin1Char('W')));
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), t);  // as much as typing puts in
    SetWindowTextA(e, "WWWWWWWWWWWWWWWWWWWW");
    EXPECT_EQ(Text(e).size(), 20u);
}

TEST_F(Controls, ChangeNotificationsFollowSingleLineSetTextButNotMultiLine) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 10757);
    HWND m = Make("EDIT", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 10758, 10, 40, 200, 80);
    ClearLog();
    SetWindowTextA(e, "x");
    SetWindowTextA(m, "\r\n\r\nline");
    std::vector<WPARAM> expect{MAKEWPARAM(10757, EN_CHANGE)};
    EXPECT_EQ(Commands(), expect);
    EXPECT_EQ(Text(m), "\r\n\r\nline");
    EXPECT_EQ(GetWindowTextLengthA(m), 8);
    SetFocus(m);
    SendMessageA(m, EM_SETSEL, 8, 8);
    w32test::PressKey(VK_RETURN);
    w32test::PressKey(VK_TAB);
    EXPECT_EQ(Text(m), "\r\n\r\nline\r\n\t");
    EXPECT_EQ(Commands().size(), 3u);
}

TEST_F(Controls, ReadOnlyEditKeepsItsTextButTakesSetTextAndDoubleClicks) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 10773);
    Subclass(e);
    SetFocus(e);
    w32test::TypeText("abc");
    EXPECT_EQ(Text(e), "");
    SetWindowTextA(e, "\xB9\xAB\xCB\xBE");
    EXPECT_EQ(Text(e), "\xB9\xAB\xCB\xBE");
    w32test::DoubleClick(e);
    bool dbl = false;
    for (auto& r : g_sub) dbl |= r.msg == WM_LBUTTONDBLCLK;
    EXPECT_TRUE(dbl);
    SendMessageA(e, EM_SETREADONLY, FALSE, 0);
    SendMessageA(e, EM_SETSEL, 4, 4);
    w32test::TypeText("x");
    EXPECT_EQ(Text(e),
              "\xB9\xAB\xCB\xBE"
              "x");
}

// One level of undo, as a Win32 edit has: the last change (a run of typed or
// erased characters is one), and a second undo undoes the first; WM_SETTEXT
// and EM_EMPTYUNDOBUFFER empty it.
TEST_F(Controls, EditUndoHasOneLevelThatASecondUndoUndoes) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1);
    HWND m = Make("EDIT", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 2, 10, 40, 200, 80);
    QGuiApplication::clipboard()->setText(QStringLiteral("中文"));
    for (HWND h : {e, m}) {
        SCOPED_TRACE(h == e ? "single-line" : "multi-line");
        SetFocus(h);
        w32test::TypeText("ab");
        w32test::PressKey('V', false, true);
        w32test::PressKey('Z', false, true);
        EXPECT_EQ(Text(h), "ab");
        w32test::PressKey('Z', false, true);
        EXPECT_EQ(Text(h), "ab\xD6\xD0\xCE\xC4");
        EXPECT_TRUE(SendMessageA(h, EM_UNDO, 0, 0));
        EXPECT_TRUE(SendMessageA(h, EM_CANUNDO, 0, 0));
        SendMessageA(h, WM_UNDO, 0, 0);  // the pasted text comes back selected
        w32test::TypeText("xyz");
        EXPECT_EQ(Text(h), "abxyz");
        w32test::PressKey('Z', false, true);
        EXPECT_EQ(Text(h), "ab\xD6\xD0\xCE\xC4");
        SendMessageA(h, EM_SETSEL, 6, 6);
        for (int i = 0; i < 3; ++i) w32test::PressKey(VK_BACK);
        EXPECT_EQ(Text(h), "a");
        w32test::PressKey('Z', false, true);
        EXPECT_EQ(Text(h), "ab\xD6\xD0\xCE\xC4");
        SetWindowTextA(h, "new");
        EXPECT_FALSE(SendMessageA(h, EM_CANUNDO, 0, 0));
        w32test::PressKey('Z', false, true);
        EXPECT_EQ(Text(h), "new");
        w32test::TypeText("s");
        SendMessageA(h, EM_EMPTYUNDOBUFFER, 0, 0);
        EXPECT_FALSE(SendMessageA(h, EM_CANUNDO, 0, 0));
    }
}

// Keys with Alt as the keyboard sends them (to Qt's focus, shortcuts first,
// once the window of Qt's focus widget has the keyboard): Alt+Backspace
// undoes, and undoes the undo; Alt+Up and Alt+Down open a combo box's list.
// Alt+Up, F4, Alt+Down and Enter close it on the row moved to (none moved
// to: the selection stays, none stays none), Esc on the selection it had,
// with Win32's notifications in Win32's order.
TEST_F(Controls, AltBackspaceUndoesAndAltArrowsOpenAndCloseComboLists) {
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::AltModifier) {
        w32test::WaitFor([] {
            QWidget* f = QApplication::focusWidget();
            return f && f->window()->windowHandle() == QGuiApplication::focusWindow();
        });
        QTest::keyClick(static_cast<QWidget*>(nullptr), k, mods);
    };
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1);
    SetFocus(e);
    w32test::TypeText("abc");
    w32test::PressKey(VK_HOME);
    w32test::TypeText("xy");
    for (const char* after : {"abc", "xyabc"}) {
        key(Qt::Key_Backspace);
        EXPECT_EQ(Text(e), after);
    }
    for (DWORD style : {DWORD(CBS_DROPDOWNLIST), DWORD(CBS_DROPDOWN)}) {
        HWND c = Make("COMBOBOX", style | WS_VSCROLL, 2, 10, 40, 120, 120);
        for (const char* item : {"a", "b", "c"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(c, CB_SETCURSEL, 1, 0);
        SetFocus(c);
        const auto dropped = [c](bool open) {
            return w32test::WaitFor([c, open] { return (SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0) != 0) == open; });
        };
        const WPARAM change = MAKEWPARAM(2, CBN_SELCHANGE), ok = MAKEWPARAM(2, CBN_SELENDOK),
                     cancel = MAKEWPARAM(2, CBN_SELENDCANCEL), up = MAKEWPARAM(2, CBN_CLOSEUP);
        using Close = std::tuple<int, Qt::Key, Qt::Key, Qt::KeyboardModifiers, int, std::vector<WPARAM>>;
        for (const auto& [from, move, close, mods, sel, codes] :
             {Close{1, Qt::Key_Down, Qt::Key_Up, Qt::AltModifier, 2, {change, ok, up}},
              {1, Qt::Key_Down, Qt::Key_F4, Qt::NoModifier, 2, {change, ok, up}},
              {1, Qt::Key_Up, Qt::Key_Escape, Qt::NoModifier, 1, {cancel, up}},
              {-1, Qt::Key_unknown, Qt::Key_Down, Qt::AltModifier, -1, {ok, up}},
              {-1, Qt::Key_unknown, Qt::Key_Return, Qt::NoModifier, -1, {ok, up}}}) {
            SendMessageA(c, CB_SETCURSEL, WPARAM(from), 0);
            ClearLog();
            key(Qt::Key_Up);
            EXPECT_TRUE(dropped(true));
            if (move != Qt::Key_unknown) key(move, Qt::NoModifier);
            key(close, mods);
            EXPECT_TRUE(dropped(false));
            EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), sel) << close;
            EXPECT_EQ(Commands(), codes) << close;
        }
        key(Qt::Key_Down);
        EXPECT_TRUE(dropped(true));
        DestroyWindow(c);
    }
}

// The edit's own menu, from a right-click (at the pointer, through a
// subclass), Shift+F10 or the menu key: its items enabled as a Win32 edit
// enables them, shown as their letters ("U|TCPD|A", a grayed one's in lower
// case); a password edit gives nothing away, and a paste goes in as typed
// text does (characters GBK lacks as "?", only what the limit leaves room for).
TEST_F(Controls, EditContextMenuOffersWhatTheEditCanDo) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1, 10, 10, 200, 24, "abc");
    HWND m = Make("EDIT", WS_BORDER | ES_MULTILINE, 2, 10, 40, 200, 60, "abc");
    HWND ro = Make("EDIT", WS_BORDER | ES_READONLY, 3, 10, 110, 200, 24, "abc");
    HWND pw = Make("EDIT", WS_BORDER | ES_PASSWORD, 4, 10, 140, 200, 24, "abc");
    std::vector<w32test::PopupMenuCall> calls;
    std::string letters;
    UINT choose = 0;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& c) {
        calls.push_back(c);
        letters.clear();
        for (int i = 0; i < int(c.items.size()); ++i) {
            const std::string& t = c.items[size_t(i)];
            char k = t.empty() ? '|' : t[t.find('&') + 1];
            letters += (GetMenuState(c.menu, UINT(i), MF_BYPOSITION) & MF_GRAYED) ? char(k + 32) : k;
        }
        return choose;
    });
    auto menu = [&](HWND h, UINT item = 0) {
        choose = item;
        letters = "none";
        w32test::RightClick(h, 5, 5);
        return letters;
    };
    Subclass(e);
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral("x"));
    EXPECT_EQ(menu(e), "u|tcPd|A");
    ASSERT_EQ(calls.size(), 1u);
    std::vector<std::string> captions;
    for (const char* t : {"撤消(&U)", "", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "", "全选(&A)"})
        captions.push_back(gbk::FromUtf8(t));
    EXPECT_EQ(calls[0].items, captions);
    POINT at{5, 5};
    ClientToScreen(e, &at);
    EXPECT_EQ(std::make_pair(calls[0].x, calls[0].y), std::make_pair(int(at.x), int(at.y)));
    EXPECT_EQ(std::count_if(g_sub.begin(), g_sub.end(), [](const Rec& r) { return r.msg == WM_CONTEXTMENU; }), 1);
    for (HWND h : {e, m}) {
        SCOPED_TRACE(h == e ? "single-line" : "multi-line");
        SendMessageA(h, EM_SETSEL, 1, 2);
        EXPECT_EQ(menu(h), "u|TCPD|A");
        EXPECT_EQ(menu(h, EM_SETSEL), "u|TCPD|A");  // 全选
        EXPECT_EQ(menu(h, WM_COPY), "u|TCPD|a");
        EXPECT_EQ(clip->text(), QStringLiteral("abc"));
        EXPECT_EQ(menu(h, WM_CUT), "u|TCPD|a");
        EXPECT_EQ(Text(h), "");
        EXPECT_EQ(menu(h, WM_UNDO), "U|tcPd|a");
        EXPECT_EQ(Text(h), "abc");
    }
    SendMessageA(ro, EM_SETSEL, 1, 2);
    EXPECT_EQ(menu(ro), "u|tCpd|A");
    SendMessageA(pw, EM_SETSEL, 1, 2);
    EXPECT_EQ(menu(pw, WM_COPY), "u|tcPD|A");
    SetFocus(pw);
    w32test::PressKey('C', false, true);
    w32test::PressKey('X', false, true);
    EXPECT_EQ(clip->text(), QStringLiteral("abc"));
    EXPECT_EQ(Text(pw), "abc");
    clip->clear();
    EXPECT_EQ(menu(pw), "u|tcpD|A");
    // From the keyboard, at the caret.
    calls.clear();
    w32test::PressKey(VK_F10, true);
    w32test::PressKey(VK_APPS);
    ASSERT_EQ(calls.size(), 2u);
    RECT rc;
    GetWindowRect(pw, &rc);
    EXPECT_TRUE(calls[1].x >= rc.left && calls[1].x < rc.right && calls[1].y > rc.top && calls[1].y <= rc.bottom);
    // 粘贴 into a field of five bytes.
    SetWindowTextA(e, "");
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    clip->setText(QStringLiteral("a\U0001F600中文"));
    menu(e, WM_PASTE);
    EXPECT_EQ(Text(e), "a?\xD6\xD0");
}

TEST_F(Controls, DropDownListComboKeepsOrderSelectionAndNotifiesOnlyUserChanges) {
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 1059, 10, 10, 150, 200);
    RECT r;
    GetWindowRect(cb, &r);
    EXPECT_LT(r.bottom - r.top, 60);                          // the closed box, not the list height
    EXPECT_EQ(SendMessageA(cb, CB_GETMINVISIBLE, 0, 0), 30);  // the list shows up to 30 items
    SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b"));
    SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
    SendMessageA(cb, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("\xD6\xD0"));
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 3);
    char buf[32];
    SendMessageA(cb, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "a");
    EXPECT_EQ(Text(cb), "");
    ClearLog();
    SendMessageA(cb, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(Text(cb), "b");
    EXPECT_EQ(SendMessageA(cb, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zz")), CB_ERR);
    EXPECT_EQ(Text(cb), "b");
    SendMessageA(cb, CB_SETCURSEL, WPARAM(-1), 0);
    EXPECT_EQ(Text(cb), "");
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), -1);
    EXPECT_TRUE(Commands().empty());
    w32test::SelectComboItem(cb, 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Text(cb), "a");
    ASSERT_FALSE(Commands().empty());
    EXPECT_EQ(Commands().back(), MAKEWPARAM(1059, CBN_SELCHANGE));
    // Emptied from the last item down.
    for (int i = int(SendMessageA(cb, CB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) SendMessageA(cb, CB_DELETESTRING, i, 0);
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Text(cb), "");
}

TEST_F(Controls, SortedComboInsertsInOrder) {
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT, 1033, 10, 10, 150, 200);
    for (const char* s : {"pear", "Apple", "banana"}) SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    char buf[16];
    SendMessageA(cb, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "Apple");
    SendMessageA(cb, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buf));
    EXPECT_STREQ(buf, "pear");
}

TEST_F(Controls, SortedComboOrdersChineseByPinyinAndNeverFoldsTrailBytes) {
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT, 1034, 10, 10, 150, 200);
    // 张 (D5C5), 李 (C0EE), 王 (CDF5), 岑 (E1AF, level 2), 喆 (86B4, outside
    // GB2312), then two characters whose trail bytes are the letters 'a'
    // (8161, 乤 xiang) and 'A' (8141, 丄 shang).
    for (const char* s : {"\xD5\xC5", "\xC0\xEE", "b", "\xCD\xF5", "\xE1\xAF", "\x86\xB4", "\x81\x61", "\x81\x41"})
        SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    std::vector<std::string> order;
    for (int i = 0; i < int(SendMessageA(cb, CB_GETCOUNT, 0, 0)); ++i) {
        char buf[16];
        SendMessageA(cb, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        order.push_back(buf);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"b", "\xE1\xAF", "\xC0\xEE", "\x81\x41", "\xCD\xF5", "\x81\x61",
                                               "\xD5\xC5", "\x86\xB4"}));
    SendMessageA(cb, CB_DELETESTRING, 3, 0);  // 8141 goes
    EXPECT_EQ(SendMessageA(cb, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("\x81\x41")), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("B")), 0);

    // Full-width and tone letters, as an input method types them, beside
    // their plain forms (each after the forms added before it), before
    // Chinese; a search still tells the forms apart.
    HWND latin = Make("COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT, 1035, 10, 10, 150, 200);
    for (const char* s : {"Luo", "ＩＢＭ", "阿", "alice", "１号", "Lǚ", "ālan", "IBM", "lu", "Ａlpha", "1号"})
        SendMessageA(latin, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gbk::FromUtf8(s).c_str()));
    order.clear();
    for (int i = 0; i < int(SendMessageA(latin, CB_GETCOUNT, 0, 0)); ++i) {
        char buf[16];
        SendMessageA(latin, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        order.push_back(gbk::ToUtf8(buf));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"１号", "1号", "ālan", "alice", "Ａlpha", "ＩＢＭ", "IBM", "Lǚ", "lu",
                                               "Luo", "阿"}));
    EXPECT_EQ(SendMessageA(latin, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("ibm")), 6);
    EXPECT_EQ(SendMessageA(latin, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("LU")), 8);
}

TEST_F(Controls, PushButtonsClickTwiceOnADoubleClickAndDisabledOnesStaySilent) {
    HWND b = Make("BUTTON", BS_PUSHBUTTON, 10802, 10, 10, 80, 24, "\xC7\xB0\xD2\xBB\xCC\xEC");
    ClearLog();
    w32test::Click(b);
    w32test::DoubleClick(b);
    std::vector<WPARAM> three(3, MAKEWPARAM(10802, BN_CLICKED));
    EXPECT_EQ(Commands(), three);
    EXPECT_EQ(GetFocus(), b);
    for (auto& r : Log()) {
        if (r.msg == WM_COMMAND) {
            EXPECT_EQ(r.lp, reinterpret_cast<LPARAM>(b));
        }
    }
    ClearLog();
    EnableWindow(b, FALSE);
    w32test::Click(b);
    EXPECT_TRUE(Commands().empty());
    // Its mouse messages go to the parent instead.
    EXPECT_EQ(Count(WM_LBUTTONDOWN, top), 1);
}

TEST_F(Controls, AutoCheckBoxTogglesAndReportsExactlyOne) {
    HWND c = Make("BUTTON", BS_AUTOCHECKBOX, 1032, 10, 10, 100, 20, "\xCB\xBD\xD3\xD0");
    w32test::Click(c);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 1);
    w32test::Click(c);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
    SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>(2, MAKEWPARAM(1032, BN_CLICKED))));
}

TEST_F(Controls, OwnerDrawnButtonsAskTheParentToDrawAndReportDoubleClicksOnce) {
    std::vector<UINT> states;
    g_recHandler = [&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT* r) {
        if (m != WM_DRAWITEM) return false;
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        states.push_back(dis->itemState & ODS_SELECTED);
        HBRUSH br = CreateSolidBrush(0xFFE7CE);
        FillRect(dis->hDC, &dis->rcItem, br);
        DeleteObject(br);
        if (dis->itemState & ODS_SELECTED) InvertRect(dis->hDC, &dis->rcItem);
        EXPECT_EQ(dis->CtlType, UINT(ODT_BUTTON));
        EXPECT_EQ(dis->CtlID, 10786u);
        EXPECT_EQ(dis->rcItem.right, 158);
        *r = TRUE;
        return true;
    };
    HWND b = Make("BUTTON", BS_OWNERDRAW, 10786, 1, 70, 158, 20);
    UpdateWindow(b);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), 0u);
    EXPECT_EQ(w32test::BackingPixel(b, 5, 5), COLORREF(0xFFE7CE));
    states.clear();
    ClearLog();
    w32test::MouseDown(b);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), UINT(ODS_SELECTED));
    EXPECT_EQ(w32test::BackingPixel(b, 5, 5), COLORREF(0xFFE7CE ^ 0xFFFFFF));
    w32test::MouseUp(b);
    EXPECT_EQ(states.back(), 0u);
    w32test::DoubleClick(b);
    std::vector<WPARAM> expect{MAKEWPARAM(10786, BN_CLICKED), MAKEWPARAM(10786, BN_CLICKED),
                               MAKEWPARAM(10786, BN_DOUBLECLICKED)};
    EXPECT_EQ(Commands(), expect);
    // Pages compare the whole wParam: a double click runs a link once more, not twice.
    int runs = 0;
    for (WPARAM wp : Commands()) runs += wp == 10786;
    EXPECT_EQ(runs, 2);
}

TEST_F(Controls, StaticsPaintWithTheParentsColours) {
    g_recHandler = [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT* r) {
        if (m != WM_CTLCOLORSTATIC) return false;
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 0, 0));
        *r = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    };
    HWND s = Make("STATIC", SS_LEFT, 1093, 10, 10, 200, 20, "\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3 WWW");
    UpdateWindow(s);
    int red = 0, white = 0, other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x) {
            COLORREF c = w32test::BackingPixel(s, x, y);
            if (c == RGB(255, 255, 255))
                ++white;
            else if (GetRValue(c) > 150 && GetGValue(c) < 120 && GetBValue(c) < 120)
                ++red;
            else if (!(GetRValue(c) > 200 && GetGValue(c) > 150))
                ++other;
        }
    EXPECT_GT(white, 2000);
    EXPECT_GT(red, 20);
}

// A disabled or read-only edit paints in the colours its parent answers
// WM_CTLCOLORSTATIC with: the face colour unless the parent gives a brush of
// its own, and a disabled edit's text grey; other edits are white.
TEST_F(Controls, DisabledAndReadOnlyEditsPaintInTheColoursOfAStatic) {
    static HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    g_recHandler = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT* r) {
        if (m != WM_CTLCOLORSTATIC || GetDlgCtrlID(reinterpret_cast<HWND>(lp)) != 3) return false;
        *r = reinterpret_cast<LRESULT>(yellow);
        return true;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE), white = RGB(255, 255, 255);
    // The background beside the text, and the darkest red of a row through it.
    const auto look = [](HWND h, COLORREF back, int darkest) {
        EXPECT_EQ(w32test::PixelAt(h, 150, 12), back);
        int dark = 255;
        for (int x = 2; x < 60; ++x) dark = std::min(dark, int(GetRValue(w32test::PixelAt(h, x, 12))));
        EXPECT_NEAR(dark, darkest, 20);
    };
    const int grey = GetRValue(GetSysColor(COLOR_GRAYTEXT));
    look(Make("EDIT", WS_BORDER | ES_READONLY, 2, 10, 10, 200, 24, "WWWW"), face, 0);
    look(Make("EDIT", WS_BORDER | ES_READONLY, 3, 10, 40, 200, 24, "WWWW"), RGB(255, 255, 0), 0);
    look(Make("EDIT", WS_BORDER | ES_MULTILINE | WS_DISABLED, 4, 10, 70, 200, 40, "WWWW"), face, grey);
    HWND e = Make("EDIT", WS_BORDER, 5, 10, 120, 200, 24, "WWWW");
    look(e, white, 0);
    EnableWindow(e, FALSE);
    look(e, face, grey);
}

TEST_F(Controls, FocusSetWhileHiddenHoldsWhenShownAndHidingMovesItToTheParent) {
    HWND view = MakeChild(top, 0, 0, 300, 200, 0, WS_CHILD);
    HWND e = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 140, 20, view,
                             reinterpret_cast<HMENU>(1), Inst(), nullptr);
    SetFocus(e);
    EXPECT_EQ(GetFocus(), e);
    ShowWindow(view, SW_SHOW);
    w32test::ProcessEvents();
    EXPECT_EQ(GetFocus(), e);
    w32test::TypeText("k");
    EXPECT_EQ(Text(e), "k");
    ShowWindow(view, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
}

}  // namespace

namespace {

TEST_F(Controls, GbkTextsRoundTripThroughEveryTextCarryingCall) {
    // 客户单位名称 (12 bytes) + "AB"
    const std::string text =
        "\xBF\xCD\xBB\xA7\xB5\xA5\xCE\xBB\xC3\xFB\xB3\xC6"
        "AB";
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 1);
    HWND m = Make("EDIT", WS_BORDER | ES_MULTILINE, 2, 10, 40, 200, 60);
    HWND b = Make("BUTTON", BS_PUSHBUTTON, 3, 10, 110, 100, 24);
    HWND c = Make("BUTTON", BS_AUTOCHECKBOX, 4, 10, 140, 100, 24);
    HWND s = Make("STATIC", SS_LEFT, 5, 10, 170, 200, 20);
    HWND cb = Make("COMBOBOX", CBS_DROPDOWNLIST, 6, 10, 200, 150, 100);
    for (HWND h : {e, m, b, c, s, top}) {
        SetWindowTextA(h, text.c_str());
        EXPECT_EQ(Text(h), text);
        EXPECT_EQ(GetWindowTextLengthA(h), int(text.size()));
        char small[8];
        EXPECT_EQ(GetWindowTextA(h, small, 8), 6);  // 7 bytes would split 位
        EXPECT_EQ(std::string(small), text.substr(0, 6));
    }
    char buf[50];
    EXPECT_EQ(GetDlgItemTextA(top, 1, buf, 50), text.size());
    EXPECT_EQ(std::string(buf), text);
    SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 0, 0), LRESULT(text.size()));
    SendMessageA(cb, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(Text(cb), text);
    EXPECT_EQ(SendMessageA(cb, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text.c_str())), 0);
    // A byte that is only a lead byte reads back as '?', never as half a character.
    SetWindowTextA(e, "a\xD6");
    EXPECT_EQ(Text(e), "a?");
}

}  // namespace

namespace {

TEST(ControlFonts, SetFontReachesTheWidgetAndGetFontGivesItBack) {
    RegisterRec();
    HWND top = MakeTop(400, 200);
    HWND button = CreateWindowExA(0, "BUTTON", "\xC1\xA2\xBC\xB4\xB2\xE9\xD5\xD2", WS_CHILD | WS_VISIBLE, 10, 10, 100,
                                  24, top, reinterpret_cast<HMENU>(1), Inst(), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40, 100, 24, top,
                                reinterpret_cast<HMENU>(2), Inst(), nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -14;
    lf.lfWeight = FW_BOLD;
    strcpy(lf.lfFaceName, "Arial");
    HFONT arial = CreateFontIndirectA(&lf);
    lf.lfHeight = -21;
    lf.lfWeight = FW_NORMAL;
    strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");  // the Song face
    HFONT song = CreateFontIndirectA(&lf);
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), 0);  // the system font
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(arial), TRUE);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(song), FALSE);
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(arial));
    EXPECT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(song));
    QWidget* b = WidgetOf(button);
    QWidget* e = WidgetOf(edit);
    ASSERT_TRUE(b && e);
    EXPECT_EQ(b->font().pixelSize(), 14);
    EXPECT_TRUE(b->font().bold());
    EXPECT_EQ(e->font().pixelSize(), 21);
    EXPECT_FALSE(e->font().bold());
    DestroyWindow(top);
    DeleteObject(arial);
    DeleteObject(song);
}

}  // namespace
