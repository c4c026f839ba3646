// A mail run's worker thread against the window layer, built with the run's
// sources and the layer alone so that ThreadSanitizer can run it (make
// test-tsan): the worker's status texts and its real message box, which
// outlives the window it was shown over and ends with a stop, and a stop
// while the worker waits for a reply.
#include <gtest/gtest.h>

#include "mail/MailRun.h"
#include "tests/mail/SmtpTestServer.h"
#include "win32_testhooks.h"

#include <atomic>
#include <memory>

using mailtest::SmtpTestServer;

namespace {

LRESULT CALLBACK TopProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class MailThreads : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::ClearHooks();
        w32test::ClearMessageBoxes();
        WNDCLASSA wc{};
        wc.lpfnWndProc = TopProc;
        wc.lpszClassName = "MailThreadsTop";
        RegisterClassA(&wc);
        top = CreateWindowExA(0, "MailThreadsTop", "Tarvel", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
        status = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, top, nullptr, nullptr, nullptr);
        ShowWindow(top, SW_SHOW);
        SetActiveWindow(top);
    }
    void TearDown() override {
        w32test::ClearHooks();
        w32test::AutoAnswerMessageBoxes(true);
        if (IsWindow(top)) DestroyWindow(top);
        w32test::ProcessEvents();
    }

    // A run to the server whose status texts go to the edit, as the page's
    // go to its status bar.
    std::shared_ptr<MailRun> NewRun(const SmtpTestServer& server, int n) {
        auto run = std::make_shared<MailRun>();
        for (int i = 0; i < n; i++) run->m_Recipients.push_back({"r" + std::to_string(i) + "@example.com", "n"});
        run->m_strServer = "127.0.0.1";
        run->m_strPort = server.PortText();
        run->m_strMailFrom = "sales@example.com";
        run->m_strSubject = "S";
        run->m_strContent = "C";
        HWND h = status;
        run->m_OnStatus = [h](const char* psz) { SetWindowTextA(h, psz); };
        run->m_OnDone = [this] { ++doneCalls; };
        return run;
    }

    static bool Ended(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

    HWND top = nullptr, status = nullptr;
    std::atomic<int> doneCalls{0};
};

// The user closes the window while the run's box is open: the box belongs
// to no window and stays; the stop (the page's on WM_DESTROY) ends it, and
// the stopped worker reports nothing more and ends.
TEST_F(MailThreads, TheRunsBoxOutlivesTheWindowAndEndsWithTheRun) {
    SmtpTestServer server({"--refuse-rcpt", "r1@example.com"});
    ASSERT_NE(server.Port(), 0);
    w32test::AutoAnswerMessageBoxes(false);
    auto run = NewRun(server, 3);
    DWORD id = 0;
    HANDLE h = MailRun::Start(run, &id);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(w32test::WaitFor(mailtest::MessageBoxShown, 30000));
    DestroyWindow(top);
    w32test::ProcessEvents();
    EXPECT_TRUE(mailtest::MessageBoxShown());
    EXPECT_FALSE(Ended(h));
    run->Stop();
    EXPECT_TRUE(w32test::WaitFor([&] { return Ended(h); }, 5000));
    if (!Ended(h)) WaitForSingleObject(h, 120000);
    CloseHandle(h);
    EXPECT_FALSE(mailtest::MessageBoxShown());
    EXPECT_EQ(doneCalls, 0);
    EXPECT_LE(server.StoredCount(), 1);
}

// A stop while the worker waits for a reply ends it, the status texts it
// sent before are all in place.
TEST_F(MailThreads, AStopWhileWaitingForAReplyEndsTheRun) {
    SmtpTestServer good;
    ASSERT_NE(good.Port(), 0);
    auto first = NewRun(good, 2);
    DWORD id = 0;
    HANDLE h = MailRun::Start(first, &id);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(w32test::WaitFor([&] { return Ended(h); }, 60000));
    CloseHandle(h);
    char sz[128] = {};
    GetWindowTextA(status, sz, sizeof sz);
    EXPECT_NE(std::string(sz).find('2'), std::string::npos);
    EXPECT_EQ(doneCalls, 1);

    SmtpTestServer mute({"--mute"});
    auto run = NewRun(mute, 2);
    h = MailRun::Start(run, &id);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(w32test::WaitFor([&] { return mute.Accepted() > 0; }, 30000));
    run->Stop();
    EXPECT_TRUE(w32test::WaitFor([&] { return Ended(h); }, 5000));
    if (!Ended(h)) WaitForSingleObject(h, 120000);
    CloseHandle(h);
    EXPECT_EQ(doneCalls, 1);
    EXPECT_TRUE(w32test::MessageBoxes().empty());
}

}  // namespace
