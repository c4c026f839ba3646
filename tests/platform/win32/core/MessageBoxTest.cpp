// Real message boxes (not auto-answered): the keyboard as a user presses it
// (the key goes where Qt's keyboard focus is), two boxes stacked, and boxes
// whose window is destroyed while they are open: the UI thread's ends with
// it, a worker thread's stays.
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

constexpr UINT UM_SECOND_BOX = WM_APP + 21;

// The visible boxes, oldest first.
std::vector<QMessageBox*> ShownBoxes() {
    std::vector<QMessageBox*> v;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) v.push_back(b);
    return v;
}

// The box that holds the keyboard focus, if any.
QMessageBox* FocusedBox() {
    QWidget* f = QApplication::focusWidget();
    return f ? qobject_cast<QMessageBox*>(f->window()) : nullptr;
}

// A key as the keyboard sends it: to the widget with Qt's focus, shortcuts first.
void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, mods);
}

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        g_recHandler = nullptr;
        w32test::ClearHooks();
        w32test::AutoAnswerMessageBoxes(false);
        top = MakeTop();
        ShowWindow(top, SW_SHOW);
        SetActiveWindow(top);
    }
    void TearDown() override {
        // The steps read the test's locals, which are gone by now.
        driver.stop();
        QObject::disconnect(&driver, nullptr, nullptr, nullptr);
        g_recHandler = nullptr;
        w32test::ClearHooks();
        w32test::AutoAnswerMessageBoxes(true);
        if (IsWindow(top)) DestroyWindow(top);
        w32test::ProcessEvents();
    }
    // Runs `step` on every turn of the loop while a box is open. A box the
    // steps never answer is closed after a long while, so that a failing
    // test ends instead of hanging.
    void Drive(std::function<void()> step) {
        QObject::disconnect(&driver, nullptr, nullptr, nullptr);  // one step at a time
        ticks = 0;
        QObject::connect(&driver, &QTimer::timeout, [this, step] {
            step();
            if (++ticks > 20000)
                for (QMessageBox* b : ShownBoxes()) b->done(0);
        });
        driver.start(1);
    }
    int ticks = 0;
    HWND top = nullptr;
    QTimer driver;
};

TEST_F(MessageBoxes, TheUnderlinedLetterAnswersWithOrWithoutAlt) {
    struct Case {
        UINT type;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int answer;
    };
    const Case cases[] = {
        {MB_YESNO, Qt::Key_Y, Qt::NoModifier, IDYES},
        {MB_YESNO | MB_DEFBUTTON1, Qt::Key_N, Qt::NoModifier, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, Qt::Key_Y, Qt::AltModifier, IDYES},
        {MB_YESNOCANCEL, Qt::Key_N, Qt::AltModifier, IDNO},
        {MB_RETRYCANCEL | MB_DEFBUTTON2, Qt::Key_R, Qt::NoModifier, IDRETRY},
        {MB_ABORTRETRYIGNORE, Qt::Key_I, Qt::AltModifier, IDIGNORE},
    };
    const Case* current = nullptr;
    bool pressed = false;
    Drive([&] {
        if (pressed || !current || !FocusedBox()) return;
        pressed = true;
        Press(current->key, current->mods);
    });
    for (const Case& c : cases) {
        current = &c;
        pressed = false;
        EXPECT_EQ(MessageBoxA(top, "\xC8\xB7\xC8\xCF?", "Tarvel", c.type | MB_ICONQUESTION), c.answer)
            << "key " << c.key << " type " << c.type;
    }
    // A letter that no button carries does nothing; Enter then takes the default.
    current = nullptr;
    int step = 0;
    Drive([&] {
        if (!FocusedBox()) return;
        if (step == 0) Press(Qt::Key_X);
        if (step == 1) Press(Qt::Key_Return);
        ++step;
    });
    EXPECT_EQ(MessageBoxA(top, "?", "Tarvel", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_GE(step, 2);
}

// A box opened while another is open takes the keyboard: the first Enter
// answers it, the next key the box below, which has the keyboard back. So
// it goes whether the second box is opened by a message handled inside the
// first box's loop, with or without owner, or by a worker, over the same
// owner; and when the first box opens with the program in the background
// (another window was active last) and the second one, without owner,
// opens before the first is active.
TEST_F(MessageBoxes, TheBoxOnTopTakesTheKeyboard) {
    enum Second { kWithoutOwner, kSameOwner, kWorkers, kInTheBackground };
    for (Second kind : {kWithoutOwner, kSameOwner, kWorkers, kInTheBackground}) {
        SCOPED_TRACE(kind);
        std::atomic<int> second{-1};
        std::thread worker;
        HWND other = nullptr;
        if (kind == kInTheBackground) {
            other = MakeTop();
            ShowWindow(other, SW_SHOW);
            SetActiveWindow(other);
            w32test::ProcessEvents();
            QApplication::setActiveWindow(nullptr);
        }
        g_recHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
            if (h != top || m != UM_SECOND_BOX) return false;
            const UINT type = MB_YESNO | MB_DEFBUTTON2;
            if (kind == kWorkers)
                worker = std::thread([&] { second = MessageBoxA(top, "\xB5\xDA\xB6\xFE", "Tarvel", type); });
            else
                second = MessageBoxA(kind == kSameOwner ? top : nullptr, "\xB5\xDA\xB6\xFE", "Tarvel", type);
            *r = 0;
            return true;
        };
        PostMessageA(top, UM_SECOND_BOX, 0, 0);
        // The boxes say "第一" and "第二".
        const auto says = [](QMessageBox* b, const char16_t* text) {
            return b && b->text().contains(QString::fromUtf16(text));
        };
        int presses = 0;
        Drive([&] {
            const size_t shown = ShownBoxes().size();
            QMessageBox* focused = FocusedBox();
            if (presses == 0 && shown == 2 && says(focused, u"第二")) {
                Press(Qt::Key_Return);
                ++presses;
            } else if (presses == 1 && shown == 1 && says(focused, u"第一")) {
                Press(Qt::Key_Y);
                ++presses;
            }
        });
        EXPECT_EQ(MessageBoxA(top, "\xB5\xDA\xD2\xBB", "Tarvel", MB_YESNO | MB_DEFBUTTON2), IDYES);
        if (worker.joinable()) worker.join();
        if (other) DestroyWindow(other);
        EXPECT_EQ(second, IDNO);
        EXPECT_EQ(presses, 2);
        // The step and the handler read this turn's locals.
        driver.stop();
        QObject::disconnect(&driver, nullptr, nullptr, nullptr);
        g_recHandler = nullptr;
    }
}

// A box without owner shown over a window that is destroyed while the box
// is open ends with it (answer 0); the box is not freed under its own loop.
TEST_F(MessageBoxes, ABoxEndsWhenTheWindowItIsShownOverIsDestroyed) {
    bool destroyed = false;
    Drive([&] {
        if (!destroyed && !ShownBoxes().empty()) {
            destroyed = true;
            DestroyWindow(top);
        }
    });
    EXPECT_EQ(MessageBoxA(nullptr, "\xCA\xA7\xB0\xDC", "Tarvel", MB_OK), 0);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(top));
    w32test::ProcessEvents();
    EXPECT_TRUE(ShownBoxes().empty());
}

// A worker's box does not hold the UI thread in a loop of its own, and is
// shown over no window: opened while a modal dialog runs on the UI thread,
// it stays open when the dialog ends and the window below it is destroyed,
// until the user answers it.
TEST_F(MessageBoxes, AWorkersBoxOutlivesTheDialogAndTheWindowItOpenedOver) {
    std::atomic<int> answer{-1};
    std::thread worker;
    w32test::SetDialogHook([&](HWND dlg, const std::string&) {
        worker = std::thread([&] { answer = MessageBoxA(nullptr, "\xCA\xA7\xB0\xDC", "Tarvel", MB_OK); });
        w32test::WaitFor([] { return FocusedBox() != nullptr; }, 10000);
        EndDialog(dlg, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", top, nullptr, 0);
    DestroyWindow(top);
    w32test::ProcessEvents();
    EXPECT_EQ(ShownBoxes().size(), 1u);
    EXPECT_EQ(answer, -1);
    for (QMessageBox* b : ShownBoxes()) b->activateWindow();  // the user clicks it
    if (w32test::WaitFor([] { return FocusedBox() != nullptr; }, 10000)) Press(Qt::Key_Return);
    EXPECT_TRUE(w32test::WaitFor([&] { return answer != -1; }, 10000));
    for (QMessageBox* b : ShownBoxes()) b->done(0);
    if (worker.joinable()) worker.join();
    EXPECT_EQ(answer, IDOK);
}

// Enter, Esc, a click on a button and its underlined letter answer a
// worker's box with that button, as they answer the UI thread's.
TEST_F(MessageBoxes, AWorkersBoxIsAnsweredFromTheKeyboardOrByAClick) {
    struct Case {
        UINT type;
        Qt::Key key;  // Key_unknown: a click on 否
        Qt::KeyboardModifiers mods;
        int answer;
    };
    const Case cases[] = {{MB_OK, Qt::Key_Return, Qt::NoModifier, IDOK},
                          {MB_OKCANCEL, Qt::Key_Escape, Qt::NoModifier, IDCANCEL},
                          {MB_YESNO | MB_DEFBUTTON2, Qt::Key_Y, Qt::AltModifier, IDYES},
                          {MB_YESNOCANCEL, Qt::Key_unknown, Qt::NoModifier, IDNO}};
    for (const Case& c : cases) {
        std::atomic<int> answer{-1};
        std::thread worker([&] { answer = MessageBoxA(nullptr, "?", "Tarvel", c.type); });
        if (w32test::WaitFor([] { return FocusedBox() != nullptr; }, 10000)) {
            if (c.key != Qt::Key_unknown)
                Press(c.key, c.mods);
            else
                for (QAbstractButton* b : FocusedBox()->buttons())
                    if (b->text().startsWith(QString::fromUtf16(u"否"))) QTest::mouseClick(b, Qt::LeftButton);
        }
        EXPECT_TRUE(w32test::WaitFor([&] { return answer != -1; }, 10000)) << c.answer;
        for (QMessageBox* b : ShownBoxes()) b->done(0);
        worker.join();
        EXPECT_EQ(answer, c.answer);
    }
}

// The hooks' keys go where the user's go: into a combo box's open list, and
// into a box without owner (the UI thread's, a worker's) over the focused
// combo box. While the box is open no window of the layer has the focus; the
// combo box has it back when the box ends.
TEST_F(MessageBoxes, TheHooksKeysGoToTheOpenListOrTheBoxOverTheFocusedControl) {
    const HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 100, 80,
                                       top, nullptr, Inst(), nullptr);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
    SetFocus(combo);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    w32test::PressKey(VK_RETURN);
    EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
    for (auto [workers, vk, answer] : {std::tuple{false, VK_ESCAPE, IDCANCEL}, std::tuple{true, VK_RETURN, IDOK}}) {
        std::atomic<int> got{-1};
        HWND focusWhileOpen = combo;
        Drive([&, vk = vk] {
            if (focusWhileOpen != combo || !FocusedBox()) return;
            focusWhileOpen = GetFocus();
            w32test::PressKey(vk);
        });
        const auto box = [&] { got = MessageBoxA(nullptr, "?", "Tarvel", MB_OKCANCEL); };
        std::thread worker(workers ? std::function<void()>(box) : [] {});
        if (!workers) box();
        w32test::WaitFor([&] { return got != -1; }, 60000);  // the steps end a box left open
        worker.join();
        EXPECT_EQ(got, answer);
        EXPECT_EQ(focusWhileOpen, nullptr);
        EXPECT_TRUE(w32test::WaitFor([&] { return GetFocus() == combo; }));
    }
}

}  // namespace
