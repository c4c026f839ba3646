// Cross-thread SendMessageA: a worker thread sets texts, reads controls and
// sends a private message while the UI thread waits in GetMessageA, a message
// box, a modal dialog or a popup menu; every send is run by the UI thread and
// returns its result.
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

constexpr UINT UM_DONE = 40022;

struct Worker {
    std::atomic<bool> done{false};
    std::string read;
    LRESULT privateResult = 0;
    std::thread t;
    void Start(HWND edit, HWND target) {
        t = std::thread([this, edit, target] {
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\xD3\xCA\xBC\xFE"));  // 邮件
            char buf[64] = {};
            SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
            read = buf;
            privateResult = SendMessageA(target, UM_DONE, 0, 0);
            done = true;
        });
    }
    void Join() {
        if (t.joinable()) t.join();
    }
};

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        ClearLog();
        ui = std::this_thread::get_id();
        handlerThreadOk = true;
        g_recHandler = [this](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
            if (m != UM_DONE) return false;
            handlerThreadOk = handlerThreadOk && std::this_thread::get_id() == ui;
            ++doneCalls;
            *r = 1234;
            return true;
        };
        top = MakeTop();
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 100, 24, top,
                               reinterpret_cast<HMENU>(11), Inst(), nullptr);
        w32test::ClearHooks();
    }
    void TearDown() override {
        worker.Join();
        g_recHandler = nullptr;
        w32test::ClearHooks();
        w32test::AutoAnswerMessageBoxes(true);
        DestroyWindow(top);
        w32test::ProcessEvents();
    }
    void ExpectServed() {
        EXPECT_TRUE(worker.done);
        EXPECT_EQ(worker.read, "\xD3\xCA\xBC\xFE");
        EXPECT_EQ(worker.privateResult, 1234);
        EXPECT_EQ(doneCalls, 1);
        EXPECT_TRUE(handlerThreadOk);
    }
    std::thread::id ui;
    bool handlerThreadOk = true;
    int doneCalls = 0;
    HWND top = nullptr, edit = nullptr;
    Worker worker;
};

TEST_F(Threads, SendsAreServedWhileTheMainLoopWaitsInGetMessage) {
    worker.Start(edit, top);
    std::thread quitter([this] {
        while (!worker.done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        PostQuitMessage(3);
    });
    MSG m;
    int loops = 0;
    while (GetMessageA(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        ++loops;
    }
    quitter.join();
    EXPECT_EQ(m.wParam, 3u);
    ExpectServed();
}

TEST_F(Threads, SendsAreServedInsideAMessageBox) {
    w32test::AutoAnswerMessageBoxes(false);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        if (!worker.done) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->done(IDNO);
    });
    closer.start(1);
    worker.Start(edit, top);
    EXPECT_EQ(MessageBoxA(nullptr, "wait", "Tarvel", MB_YESNO), IDNO);
    ExpectServed();
}

TEST_F(Threads, SendsAreServedInsideAModalDialog) {
    HWND dlgEdit = nullptr;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        dlgEdit = GetDlgItem(d, 100);
        worker.Start(dlgEdit, top);
    });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        // The close box of the dialog, once the worker is through.
        if (worker.done && dlgEdit && IsWindow(GetParent(dlgEdit))) SendMessageA(GetParent(dlgEdit), WM_CLOSE, 0, 0);
    });
    closer.start(1);
    struct P {
        static INT_PTR CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM) {
            if (m == WM_INITDIALOG) return TRUE;
            if (m == WM_COMMAND && LOWORD(wp) == IDCANCEL) EndDialog(h, 9);
            return m == WM_COMMAND;
        }
    };
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_FORM", top, P::Proc, 0), 9);
    ExpectServed();
}

TEST_F(Threads, SendsAreServedInsideAPopupMenu) {
    HMENU menu = LoadMenuA(Inst(), "IDM_TEST");
    ASSERT_TRUE(menu);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        if (!worker.done) return;
        if (QWidget* p = QApplication::activePopupWidget()) p->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) m->close();
    });
    closer.start(1);
    worker.Start(edit, top);
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(TrackPopupMenu(GetSubMenu(menu, 1), TPM_RIGHTBUTTON, 50, 50, 0, top, nullptr));
    ExpectServed();
    // Only the edit's EN_CHANGE arrived: a cancelled menu sends no command.
    for (auto& r : Log())
        if (r.msg == WM_COMMAND) {
            EXPECT_EQ(r.wp, MAKEWPARAM(11, EN_CHANGE));
        }
}

TEST_F(Threads, AMessageBoxOnTheWorkerIsShownByTheUiThreadWhileTheWorkerWaits) {
    std::thread::id hookThread;
    w32test::SetMessageBoxHook([&](const w32test::MessageBoxCall& c) {
        hookThread = std::this_thread::get_id();
        EXPECT_EQ(c.caption, "Tarvel\xCC\xE1\xCA\xBE");
        return IDOK;
    });
    std::atomic<int> answer{0};
    std::thread t([&] {
        answer = MessageBoxA(nullptr, "\xCA\xFD\xBE\xDD", "Tarvel\xCC\xE1\xCA\xBE", MB_OK);
        PostQuitMessage(0);
    });
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    t.join();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(hookThread, ui);
}

}  // namespace

namespace {

TEST_F(Threads, ARealBoxOfTheWorkerKeepsServingOtherSendsUntilClosed) {
    w32test::AutoAnswerMessageBoxes(false);
    std::atomic<int> answer{0};
    std::atomic<bool> boxDone{false};
    std::thread mailer([&] {
        answer = MessageBoxA(nullptr, "\xCA\xFD\xBE\xDD\xB7\xA2\xCB\xCD\xB4\xED\xCE\xF3", "Tarvel", MB_OK);
        boxDone = true;
    });
    bool started = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QMessageBox* box = ShownBox();
        if (box && !started) {
            started = true;
            worker.Start(edit, top);  // a second thread sends while the box is open
        }
        if (box && worker.done) box->done(IDOK);
    });
    driver.start(1);
    EXPECT_TRUE(w32test::WaitFor([&] { return boxDone.load(); }, 10000));
    mailer.join();
    EXPECT_EQ(answer, IDOK);
    ExpectServed();
}

// A WM_QUIT posted to a worker (it made its queue with PeekMessageA) ends the
// box it waits in with 0 and takes it off the screen; the quit stays queued,
// so that the worker's next box ends at once, and PeekMessageA then finds
// it. A thread that has ended has no queue to post to.
TEST_F(Threads, AQuitPostedToAWorkerEndsItsBoxes) {
    w32test::AutoAnswerMessageBoxes(false);
    std::atomic<DWORD> id{0};
    std::atomic<int> first{-1}, second{-1};
    MSG quit{};
    std::thread t([&] {
        MSG m;
        PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        id = GetCurrentThreadId();
        first = MessageBoxA(nullptr, "1", "Tarvel", MB_OK);
        second = MessageBoxA(nullptr, "2", "Tarvel", MB_OK);
        PeekMessageA(&quit, nullptr, WM_USER, WM_USER, PM_REMOVE);
    });
    EXPECT_TRUE(w32test::WaitFor([] { return ShownBox() != nullptr; }, 10000));
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 3, 0));
    EXPECT_TRUE(w32test::WaitFor([&] { return second != -1; }, 10000));
    w32test::WaitFor([&] {  // boxes left open would keep the worker
        if (QMessageBox* b = ShownBox()) b->done(IDOK);
        return second != -1;
    });
    t.join();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, 3u);
    w32test::ProcessEvents();
    EXPECT_EQ(ShownBox(), nullptr);
    EXPECT_FALSE(PostThreadMessageA(id, WM_QUIT, 0, 0));
}

}  // namespace

namespace {

// Many sends in a row from two workers: each returns only once the UI thread
// is done with it, with its own result, and no call record is touched after
// its sender has returned (ThreadSanitizer checks the last in CI).
TEST_F(Threads, ThousandsOfSendsInARowEachReturnTheirOwnResult) {
    constexpr int kCalls = 2000;
    std::atomic<int> wrong{0}, finished{0};
    auto sender = [&] {
        for (int i = 0; i < kCalls; ++i)
            if (SendMessageA(top, UM_DONE, 0, 0) != 1234) ++wrong;
        ++finished;
    };
    std::thread a(sender), b(sender);
    EXPECT_TRUE(w32test::WaitFor([&] { return finished.load() == 2; }, 60000));
    a.join();
    b.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(2 * kCalls, doneCalls);
    EXPECT_TRUE(handlerThreadOk);
}

}  // namespace

namespace w32 {
void ShutdownLayer();  // what StopApplication runs before the QApplication goes
}

namespace {

// A worker's send that the UI thread will never run, because the layer shuts
// down instead, returns (with nothing done) rather than waiting forever. The
// layer stays down afterwards, so this runs in a child process of its own and
// the tests after it in the same run keep a working layer.
void SendDuringShutdown() {
    HWND top = MakeTop();
    std::atomic<bool> bCalling{false}, bReturned{false};
    std::atomic<LRESULT> result{-1};
    std::thread worker([&] {
        bCalling = true;
        result = SendMessageA(top, WM_USER + 5, 0, 0);
        bReturned = true;
    });
    while (!bCalling) std::this_thread::yield();
    // This thread handles no events from here on: the send stays queued.
    w32::ShutdownLayer();
    worker.join();
    std::fflush(nullptr);
    std::_Exit(bReturned && result.load() == 0 ? 0 : 1);
}

TEST(ThreadsAtShutdown, ASendTheUiThreadNeverRunsReturnsWhenTheLayerShutsDown) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SendDuringShutdown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
