// What a desktop user meets in the controls: the focus shown on buttons,
// input-method composition, pastes cut at the byte limit, Qt's own texts in
// Chinese, window frames and decorations, popups whose owner goes away,
// hit-testing and text metrics.
#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QClipboard>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtGui/QTextLayout>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QTextEdit>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

// Run again by a test below with W32TEST_ASK_QT_LOCALE_FIRST set, this
// program asks Qt for its system locale before main, as no program may.
[[maybe_unused]] const bool g_askedQtsLocaleFirst =
    getenv("W32TEST_ASK_QT_LOCALE_FIRST") && QLocale::system().language() != QLocale::AnyLanguage;

std::string Text(HWND h) {
    std::string buf(70000, '\0');
    int n = GetWindowTextA(h, buf.data(), int(buf.size()));
    buf.resize(size_t(n));
    return buf;
}

QImage Look(HWND h) {
    w32test::ProcessEvents();
    return WidgetOf(h)->grab().toImage();
}

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        top = MakeTop(600, 400);
        ShowWindow(top, SW_SHOW);
        w32test::WaitForKeyboard(top);  // where typed keys go
    }
    void TearDown() override {
        DestroyWindow(top);
        QGuiApplication::clipboard()->clear();
        w32test::ProcessEvents();
    }
    HWND Make(const char* cls, DWORD style, int id, int x = 10, int y = 10, int w = 200, int h = 24,
              const char* text = "") {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, top,
                               reinterpret_cast<HMENU>(intptr_t(id)), Inst(), nullptr);
    }
    HWND top = nullptr;
};

// ---- focus on buttons -------------------------------------------------------
TEST_F(Desktop, AFocusedPushButtonAndTheDefaultButtonLookDifferent) {
    HWND a = Make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 1, 10, 10, 90, 26, "OK");
    HWND b = Make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 2, 110, 10, 90, 26, "OK");
    HWND d = Make("BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 3, 210, 10, 90, 26, "OK");
    SetFocus(b);
    QImage plain = Look(a);
    EXPECT_NE(Look(d), plain);  // the default button's frame
    SetFocus(a);
    EXPECT_NE(Look(a), plain);  // the focus shows without any Tab pressed
    SetFocus(b);
    EXPECT_EQ(Look(a), plain);
}

// ---- input methods ------------------------------------------------------------
void Compose(HWND h, const QString& preedit, const QString& commit = QString()) {
    QList<QInputMethodEvent::Attribute> attrs;
    attrs << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(preedit.size()), 1, QVariant());
    QInputMethodEvent ev(preedit, attrs);
    if (!commit.isEmpty()) ev.setCommitString(commit);
    QCoreApplication::sendEvent(WidgetOf(h), &ev);
}

TEST_F(Desktop, TheCompositionShowsInALineEditAndTheCommitGoesThroughWmChar) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 10);
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    SetFocus(e);
    QImage empty = Look(e);
    Compose(e, QStringLiteral("zhong"));
    EXPECT_NE(Look(e), empty);  // the pre-edit is drawn
    EXPECT_EQ(Text(e), "");     // but is not text yet
    Compose(e, QString());      // cancelled
    EXPECT_EQ(Look(e), empty);
    ClearLog();
    Compose(e, QStringLiteral("wen"));
    Compose(e, QString(), QStringLiteral("中文字"));  // 6 bytes into a 5-byte edit
    EXPECT_EQ(Text(e), "\xD6\xD0\xCE\xC4");           // 中文 in GBK: what fits
    Compose(e, QStringLiteral("a"));
    Compose(e, QString());
    EXPECT_EQ(Text(e), "\xD6\xD0\xCE\xC4");
}

TEST_F(Desktop, TheCompositionShowsInAMultiLineEdit) {
    HWND e = Make("EDIT", WS_BORDER | ES_MULTILINE, 11, 10, 10, 200, 80);
    SetFocus(e);
    auto* m = qobject_cast<QTextEdit*>(WidgetOf(e));
    ASSERT_NE(m, nullptr);
    Compose(e, QStringLiteral("ni"));
    EXPECT_EQ(m->document()->firstBlock().layout()->preeditAreaText(), QStringLiteral("ni"));
    Compose(e, QString(), QStringLiteral("你"));
    EXPECT_EQ(m->document()->firstBlock().layout()->preeditAreaText(), QString());
    EXPECT_EQ(Text(e), "\xC4\xE3");
}

// ---- pastes -----------------------------------------------------------------------
TEST_F(Desktop, APasteLongerThanTheLimitInsertsWhatFitsOnACharacterBoundary) {
    HWND e = Make("EDIT", WS_BORDER | ES_AUTOHSCROLL, 12);
    SendMessageA(e, EM_LIMITTEXT, 254, 0);
    QGuiApplication::clipboard()->setText(QString(255, QLatin1Char('a')));
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(e), std::string(254, 'a'));
    // Ctrl+V as typed: a double-byte character is never split.
    SetWindowTextA(e, "");
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("中文字"));
    SetFocus(e);
    w32test::PressKey('V', false, true);
    EXPECT_EQ(Text(e), "\xD6\xD0\xCE\xC4");
    // Nothing fits: nothing changes.
    w32test::PressKey('V', false, true);
    EXPECT_EQ(Text(e), "\xD6\xD0\xCE\xC4");
}

TEST_F(Desktop, AMultiLineEditWithoutALimitTakesALongPaste) {
    HWND e = Make("EDIT", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 13, 10, 10, 300, 100);
    QString big;
    for (int i = 0; i < 8192; ++i) big += QStringLiteral("abc\n");
    QGuiApplication::clipboard()->setText(big);  // 32,768 characters
    SetFocus(e);
    w32test::PressKey('V', false, true);
    EXPECT_EQ(GetWindowTextLengthA(e), 8192 * 5);  // CR LF line ends
}

// ---- Qt's own texts ------------------------------------------------------------------
TEST_F(Desktop, QtsOwnTextsAndTheCalendarAreChinese) {
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_EQ(QLocale().monthName(12), QStringLiteral("十二月"));
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
    EXPECT_EQ(QLocale::system().language(), QLocale::Chinese);
}

// Under the C locale Qt's system locale is Chinese, unless something asked Qt
// for it before start-up: then a test program stops at once and says why.
TEST_F(Desktop, QtsSystemLocaleIsChineseOrATestProgramStopsAtStartUp) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    for (bool askedFirst : {false, true}) {
        const std::string cmd = std::string(askedFirst ? "W32TEST_ASK_QT_LOCALE_FIRST=1 " : "") + "LC_ALL=C '" + self +
                                "' --gtest_filter=Desktop.QtsOwnTextsAndTheCalendarAreChinese 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        const int status = pclose(p);
        ASSERT_TRUE(WIFEXITED(status)) << out;
        EXPECT_EQ(WEXITSTATUS(status), askedFirst ? 1 : 0) << out;
        EXPECT_EQ(out.find("Qt's system locale is not Chinese") != std::string::npos, askedFirst) << out;
    }
}

// ---- frames and decorations -------------------------------------------------------------
TEST_F(Desktop, ACaptionedWindowsRectangleHoldsItsFrameAndCaption) {
    HWND dlg = CreateWindowExA(WS_EX_DLGMODALFRAME, "RecWnd", "dlg", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 300,
                               200, top, nullptr, Inst(), nullptr);
    MoveWindow(dlg, 100, 100, 800, 70, TRUE);
    RECT wr, cr;
    GetWindowRect(dlg, &wr);
    GetClientRect(dlg, &cr);
    EXPECT_EQ(wr.right - wr.left, 800);
    EXPECT_EQ(wr.bottom - wr.top, 70);
    RECT adjusted = cr;
    AdjustWindowRectEx(&adjusted, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(adjusted.right - adjusted.left, 800);
    EXPECT_EQ(adjusted.bottom - adjusted.top, 70);
    EXPECT_LT(cr.bottom, 70 - GetSystemMetrics(SM_CYCAPTION) + 1);
    // The client area starts below the caption on the screen.
    POINT p{0, 0};
    ClientToScreen(dlg, &p);
    EXPECT_EQ(p.x, 100 - adjusted.left);
    EXPECT_EQ(p.y, 100 - adjusted.top);
    ShowWindow(dlg, SW_SHOW);
    w32test::ProcessEvents();
    EXPECT_EQ(WidgetOf(dlg)->window()->size(), QSize(cr.right, cr.bottom));
    DestroyWindow(dlg);
}

TEST_F(Desktop, TheDecorationsFollowTheStyles) {
    auto flagsOf = [&](DWORD style, DWORD ex) {
        HWND h = CreateWindowExA(ex, "RecWnd", "w", style, 0, 0, 300, 200, top, nullptr, Inst(), nullptr);
        Qt::WindowFlags f = WidgetOf(h)->window()->windowFlags();
        DestroyWindow(h);
        return f;
    };
    // A fixed dialog: close button only.
    Qt::WindowFlags dlg = flagsOf(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(dlg.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dlg.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(dlg.testFlag(Qt::WindowMaximizeButtonHint));
    // A caption without a system menu: no buttons at all.
    Qt::WindowFlags login = flagsOf(WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(login.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(login.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(login.testFlag(Qt::WindowMinimizeButtonHint));
    // Without a modal frame or owner the same: the styles decide, not the kind.
    auto ownerless = [&](DWORD style) {
        HWND h = CreateWindowExA(0, "RecWnd", "w", style, 0, 0, 300, 200, nullptr, nullptr, Inst(), nullptr);
        Qt::WindowFlags f = WidgetOf(h)->window()->windowFlags();
        DestroyWindow(h);
        return f;
    };
    Qt::WindowFlags fixed = ownerless(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(fixed.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(fixed.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(fixed.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(ownerless(WS_POPUP).testFlag(Qt::FramelessWindowHint));  // no caption, no border
    // A main window: all of them.
    Qt::WindowFlags main = flagsOf(WS_OVERLAPPEDWINDOW, 0);
    EXPECT_TRUE(main.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(main.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(main.testFlag(Qt::WindowMaximizeButtonHint));
}

// ---- popup menus -----------------------------------------------------------------------
TEST_F(Desktop, DestroyingAnOpenMenusOwnerClosesTheMenu) {
    HWND owner = CreateWindowExA(0, "RecWnd", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                 nullptr, Inst(), nullptr);
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 101, "one");
    AppendMenuA(m, MF_STRING, 102, "two");
    bool sawMenu = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (!qobject_cast<QMenu*>(QApplication::activePopupWidget())) return;
        sawMenu = true;
        driver.stop();
        DestroyWindow(owner);
    });
    driver.start(1);
    EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 60, 60, 0, owner, nullptr), 0);
    driver.stop();
    EXPECT_TRUE(sawMenu);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    w32test::ProcessEvents();
    DestroyMenu(m);
}

// ---- hit-testing and client areas ----------------------------------------------------------
TEST_F(Desktop, WindowFromPointPassesOverDisabledChildren) {
    HWND child = MakeChild(top, 20, 20, 100, 50, 5);
    EnableWindow(child, FALSE);
    w32test::ProcessEvents();
    POINT p{40, 40};
    ClientToScreen(top, &p);
    EXPECT_EQ(WindowFromPoint(p), top);
    EnableWindow(child, TRUE);
    EXPECT_EQ(WindowFromPoint(p), child);
}

TEST_F(Desktop, ScrollBarStylesTakeTheirRoomFromTheStart) {
    HWND child = MakeChild(top, 0, 0, 200, 100, 6, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
    RECT cr;
    GetClientRect(child, &cr);
    EXPECT_EQ(cr.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(cr.bottom, 100 - GetSystemMetrics(SM_CYHSCROLL));
}

// ---- metrics ------------------------------------------------------------------------------------
TEST_F(Desktop, ADropDownListOpensBelowItsField) {
    HWND c = Make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 10, 50, 150, 200);
    for (const char* s : {"a", "b", "c", "d"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageA(c, CB_SETCURSEL, 2, 0);
    SendMessageA(c, CB_SHOWDROPDOWN, TRUE, 0);
    auto* combo = qobject_cast<QComboBox*>(WidgetOf(c));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(w32test::WaitFor([&] { return combo->view()->isVisible(); }));
    QWidget* popup = combo->view()->window();
    EXPECT_GE(popup->geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y() - 1);
    SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(Desktop, MultiLineTextHasLeadingBetweenLines) {
    HWND e = Make("EDIT", WS_BORDER | ES_MULTILINE, 21, 10, 10, 200, 200, "a\r\nb\r\nc");
    auto* m = qobject_cast<QTextEdit*>(WidgetOf(e));
    ASSERT_NE(m, nullptr);
    w32test::ProcessEvents();
    const int font = QFontMetrics(m->font()).height();
    QTextBlock second = m->document()->firstBlock().next();
    EXPECT_GE(m->cursorRect(QTextCursor(second)).top() - m->cursorRect(QTextCursor(m->document()->firstBlock())).top(),
              font + 2);
    // A line typed later is set apart the same way.
    SetWindowTextA(e, "x");
    SetFocus(e);
    SendMessageA(e, EM_SETSEL, 1, 1);
    w32test::PressKey(VK_RETURN);
    w32test::TypeText("y");
    second = m->document()->firstBlock().next();
    ASSERT_TRUE(second.isValid());
    EXPECT_GE(m->cursorRect(QTextCursor(second)).top() - m->cursorRect(QTextCursor(m->document()->firstBlock())).top(),
              font + 2);
    EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(Desktop, AMessageBoxIsWideEnoughForItsCaption) {
    w32test::AutoAnswerMessageBoxes(false);
    int width = 0, caption = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QMessageBox* box = ShownBox();
        if (!box) return;
        width = box->width();
        caption = QFontMetrics(box->font()).horizontalAdvance(box->windowTitle());
        driver.stop();
        box->done(IDOK);
    });
    driver.start(5);
    // "该记录已不存在" with the caption "Tarvel提示": a short text under a longer caption.
    EXPECT_EQ(MessageBoxA(top, "\xB8\xC3\xBC\xC7\xC2\xBC\xD2\xD1\xB2\xBB\xB4\xE6\xD4\xDA", "Tarvel\xCC\xE1\xCA\xBE",
                          MB_OK | MB_ICONINFORMATION),
              IDOK);
    w32test::AutoAnswerMessageBoxes(true);
    ASSERT_GT(caption, 0);
    EXPECT_GE(width, caption + 120) << "room for the caption beside the title bar's icon and buttons";
}

TEST_F(Desktop, MessageBoxLinesHaveLeading) {
    w32test::AutoAnswerMessageBoxes(false);
    bool seen = false;
    int height = 0, font = 0;
    QString text;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QMessageBox* box = ShownBox();
        if (!box) return;
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen = true;
            height = label->sizeHint().height();
            font = QFontMetrics(label->font()).height();
            text = label->text();
        }
        driver.stop();
        box->done(IDOK);
    });
    driver.start(5);
    EXPECT_EQ(MessageBoxA(top, "one\ntwo\nthree", "x", MB_OK), IDOK);
    w32test::AutoAnswerMessageBoxes(true);
    ASSERT_TRUE(seen);
    EXPECT_GE(height, 3 * (font + 2));
    EXPECT_TRUE(text.contains(QStringLiteral("three")));
}

}  // namespace
