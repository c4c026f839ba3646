// Menus from resources and popup tracking; message boxes; offscreen grabs of
// a dialog with Chinese text (saved in the build folder to look at).
#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>

#include <gtest/gtest.h>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        g_recHandler = nullptr;
        w32test::ClearHooks();
        w32test::ClearMessageBoxes();
        top = MakeTop();
        ShowWindow(top, SW_SHOW);
    }
    void TearDown() override {
        w32test::ClearHooks();
        DestroyWindow(top);
        w32test::ProcessEvents();
    }
    HWND top = nullptr;
};

TEST_F(Menus, ResourceMenusKeepPopupsItemsAndIds) {
    HMENU m = LoadMenuA(Inst(), "IDM_TEST");
    ASSERT_TRUE(m);
    EXPECT_EQ(GetMenuItemCount(m), 2);
    HMENU sub = GetSubMenu(m, 1);
    ASSERT_TRUE(sub);
    EXPECT_EQ(GetMenuItemCount(sub), 3);
    EXPECT_EQ(GetMenuItemID(sub, 0), 40018u);
    HMENU more = GetSubMenu(sub, 2);
    ASSERT_TRUE(more);
    EXPECT_EQ(GetMenuItemID(more, 0), 40019u);
    char buf[32];
    EXPECT_EQ(GetMenuStringA(sub, 0, buf, sizeof buf, MF_BYPOSITION), 8);
    EXPECT_STREQ(buf, "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE");      // 文本文件
    EXPECT_EQ(LoadMenuA(Inst(), "idm_test") != nullptr, true);  // names ignore case
    EXPECT_EQ(LoadMenuA(Inst(), "NO_MENU"), nullptr);
}

TEST_F(Menus, AChosenCommandIsPostedAndHandledAfterTrackPopupMenuReturns) {
    HMENU m = LoadMenuA(Inst(), "IDM_TEST");
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall& c) {
        EXPECT_EQ(c.items.size(), 3u);
        return UINT(40019);
    });
    EXPECT_TRUE(TrackPopupMenu(GetSubMenu(m, 1), TPM_RIGHTBUTTON, 10, 20, 0, top, nullptr));
    EXPECT_EQ(Count(WM_COMMAND, top), 0);  // not yet
    auto calls = w32test::PopupMenus();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].x, 10);
    EXPECT_EQ(calls[0].owner, top);
    w32test::ProcessEvents();
    ASSERT_EQ(Count(WM_COMMAND, top), 1);
    for (auto& r : Log())
        if (r.msg == WM_COMMAND) {
            EXPECT_EQ(r.wp, MAKEWPARAM(40019, 0));
            EXPECT_EQ(r.lp, 0);
        }
    // Cancelled: nothing. With TPM_RETURNCMD: the id, nothing posted.
    ClearLog();
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(0); });
    EXPECT_FALSE(TrackPopupMenu(GetSubMenu(m, 0), 0, 0, 0, 0, top, nullptr));
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(40003); });
    EXPECT_EQ(TrackPopupMenu(GetSubMenu(m, 0), TPM_RETURNCMD, 0, 0, 0, top, nullptr), 40003);
    w32test::ProcessEvents();
    EXPECT_EQ(Count(WM_COMMAND, top), 0);
}

TEST_F(Menus, MessageBoxesAreRecordedAndAnsweredWithTheirDefaultButton) {
    EXPECT_EQ(MessageBoxA(nullptr, "a.cpp 45: RegisterClass Error.", "Tarvel\xCC\xE1\xCA\xBE", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(top, "?", "x", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), IDNO);
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall& c) { return c.flags & MB_YESNO ? IDYES : IDOK; });
    EXPECT_EQ(MessageBoxA(top, "?", "x", MB_YESNO | MB_DEFBUTTON2), IDYES);
    auto boxes = w32test::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].caption, "Tarvel\xCC\xE1\xCA\xBE");
    EXPECT_EQ(boxes[1].owner, top);
    EXPECT_EQ(boxes[1].flags, UINT(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
}

TEST_F(Menus, AYesNoBoxIgnoresEscapeAndItsCloseBoxAndEnterTakesTheDefault) {
    w32test::AutoAnswerMessageBoxes(false);
    int step = 0;
    bool stillOpenAfterEscape = false;
    bool ownerEnabledDuring = true;
    QStringList labels;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QMessageBox* box = ShownBox();
        if (!box) return;
        if (step == 0) {
            ownerEnabledDuring = IsWindowEnabled(top);
            for (QAbstractButton* b : box->buttons()) labels << b->text();
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &esc);
            box->close();
            step = 1;
        } else if (step == 1) {
            stillOpenAfterEscape = box->isVisible();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            step = 2;
        }
    });
    driver.start(1);
    int r = MessageBoxA(top, "\xC8\xB7\xC8\xCF\xC9\xBE\xB3\xFD?", "x", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    w32test::AutoAnswerMessageBoxes(true);
    EXPECT_EQ(r, IDNO);
    EXPECT_TRUE(stillOpenAfterEscape);
    EXPECT_FALSE(ownerEnabledDuring);  // an owned box disables its owner's window
    EXPECT_TRUE(IsWindowEnabled(top));
    // The letters after "&" are shown underlined.
    EXPECT_EQ(labels, (QStringList{QString::fromUtf8("是(&Y)"), QString::fromUtf8("否(&N)")}));
}

TEST_F(Menus, DialogWithChineseTextIsGrabbedOffscreen) {
    bool saved = false;
    COLORREF face = 0;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        SetDlgItemTextA(d, 100, "\xD6\xD0\xCE\xC4\xC3\xFB\xB3\xC6");  // 中文名称
        saved = w32test::GrabWindow(d, "dialog_form.png");
        face = w32test::PixelAt(d, 2, 2);
        EndDialog(d, 0);
    });
    struct P {
        static INT_PTR CALLBACK Proc(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }
    };
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, P::Proc, 0);
    EXPECT_TRUE(saved);
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
}

}  // namespace

namespace {

TEST_F(Menus, AnOwnerlessRealBoxLeavesTheOtherWindowsWorking) {
    w32test::AutoAnswerMessageBoxes(false);
    bool enabledDuring = false, boxOnTop = false;
    int postedSeen = 0;
    g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (h != top || m != WM_APP + 7) return false;
        ++postedSeen;
        *r = 0;
        return true;
    };
    PostMessageA(top, WM_APP + 7, 0, 0);
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) {
                enabledDuring = IsWindowEnabled(top);
                boxOnTop = b->windowFlags() & Qt::WindowStaysOnTopHint;
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(b, &enter);
            }
    });
    driver.start(1);
    EXPECT_EQ(MessageBoxA(nullptr, "\xCA\xA7\xB0\xDC", "Tarvel\xCC\xE1\xCA\xBE", MB_OK), IDOK);
    w32test::AutoAnswerMessageBoxes(true);
    g_recHandler = nullptr;
    EXPECT_TRUE(enabledDuring);
    EXPECT_TRUE(boxOnTop);
    EXPECT_EQ(postedSeen, 1);  // served inside the box's loop
}

}  // namespace

namespace {

QMenu* ShownMenu(QMenu* not_ = nullptr) {
    QMenu* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible() && m != not_) found = m;
    return found;
}

TEST_F(Menus, RealMenusOpenAtTheAnchorAndTakeTheRightButtonAndCascades) {
    HMENU m = LoadMenuA(Inst(), "IDM_TEST");
    QPoint shownAt;
    QTimer driver;
    // The right button picks "文本文件".
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QMenu* menu = ShownMenu();
        if (!menu) return;
        shownAt = menu->pos();
        QRect r = menu->actionGeometry(menu->actions().at(0));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(r.center()), QPointF(menu->mapToGlobal(r.center())),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(r.center()), QPointF(menu->mapToGlobal(r.center())),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(menu, &release);
    });
    driver.start(1);
    EXPECT_TRUE(TrackPopupMenu(GetSubMenu(m, 1), TPM_RIGHTBUTTON, 30, 40, 0, top, nullptr));
    driver.stop();
    EXPECT_EQ(shownAt, QPoint(30, 40));
    EXPECT_EQ(Count(WM_COMMAND, top), 0);
    w32test::ProcessEvents();
    ASSERT_EQ(Count(WM_COMMAND, top), 1);
    for (auto& r : Log()) {
        if (r.msg == WM_COMMAND) {
            EXPECT_EQ(r.wp, MAKEWPARAM(40018, 0));
        }
    }

    // The keyboard opens the cascade "更多" and picks "Excel文件".
    ClearLog();
    QObject::disconnect(&driver, nullptr, nullptr, nullptr);
    int step = 0;
    QMenu* outer = nullptr;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto key = [](QWidget* w, int k) {
            QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
        if (step == 0 && (outer = ShownMenu())) {
            outer->setActiveAction(outer->actions().at(2));
            key(outer, Qt::Key_Right);
            step = 1;
        } else if (step == 1) {
            if (QMenu* sub = ShownMenu(outer)) {
                sub->setActiveAction(sub->actions().at(0));
                key(sub, Qt::Key_Return);
                step = 2;
            }
        }
    });
    driver.start(1);
    EXPECT_TRUE(TrackPopupMenu(GetSubMenu(m, 1), 0, 30, 40, 0, top, nullptr));
    driver.stop();
    w32test::ProcessEvents();
    ASSERT_EQ(Count(WM_COMMAND, top), 1);
    for (auto& r : Log()) {
        if (r.msg == WM_COMMAND) {
            EXPECT_EQ(r.wp, MAKEWPARAM(40019, 0));
        }
    }
}

}  // namespace
