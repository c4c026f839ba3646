// Messages: sending (same thread and across threads), the posted queue,
// GetMessageA/PeekMessageA, quit, modal loop turns, timers.
#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QPointer>
#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "core.h"
#include "win32_kernel.h"

namespace w32 {
namespace {

std::thread::id g_uiThread;
std::atomic<DWORD> g_uiThreadId{0};
std::atomic<bool> g_alive{false};
// Read by every thread (IsUiThread, LayerAlive); set once, at shutdown.
std::atomic<bool> g_shutDown{false};

// A call handed to the UI thread. The event and the waiting thread share it;
// a caller that stops waiting (the layer shut down) marks it abandoned, and
// an abandoned call is never run.
struct CallJob {
    std::function<void()> fn;
    std::mutex m;
    std::condition_variable cv;
    bool running = false;
    bool done = false;
    bool abandoned = false;
};

class CallEvent : public QEvent {
public:
    explicit CallEvent(std::shared_ptr<CallJob> j) : QEvent(QEvent::Type(kCallEvent)), job(std::move(j)) {}
    std::shared_ptr<CallJob> job;
};

class Dispatcher : public QObject {
public:
    bool event(QEvent* e) override;
};

Dispatcher* g_dispatcher = nullptr;

// Taken by a thread after it has made a call job and its event, before
// posting it, and by the UI thread before it touches an event of the
// dispatcher. Qt's post queue orders these already; this lock states that
// order in a form ThreadSanitizer sees (Qt's own locks are invisible to it).
std::mutex g_handoffMutex;

// The one call of QCoreApplication::postEvent, made only from
// PostToDispatcher. Neither is inlined, so that every ThreadSanitizer report
// from inside Qt's post queue shows PostToDispatcher (see scripts/tsan.supp).
__attribute__((noinline)) void PostInQt(QEvent* event, int priority) {
    QCoreApplication::postEvent(g_dispatcher, event, priority);
}

__attribute__((noinline)) void PostToDispatcher(QEvent* event, int priority = Qt::NormalEventPriority) {
    { std::lock_guard<std::mutex> handoff(g_handoffMutex); }
    PostInQt(event, priority);
}

// Posted-message queue of the UI thread.
std::mutex g_queueMutex;
std::deque<MSG>& Queue() {
    static auto* q = new std::deque<MSG>;
    return *q;
}
std::atomic<bool> g_wakePending{false};
std::atomic<bool> g_paintPending{false};
bool g_quit = false;
int g_quitCode = 0;
DWORD g_msgTime = 0;

// Kinds of waits on the UI thread, innermost last.
enum WaitKind { kLayerWait, kForeignWait };
std::vector<WaitKind>& Waits() {
    static auto* v = new std::vector<WaitKind>;
    return *v;
}
int g_sendDepth = 0;

std::vector<Window*>& FreeList() {
    static auto* v = new std::vector<Window*>;
    return *v;
}

DWORD NowMs() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return DWORD(t.elapsed());
}

bool PopPosted(MSG* out, HWND filter, UINT fmin, UINT fmax, bool remove) {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    auto& q = Queue();
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (filter && it->hwnd != filter) continue;
        if ((fmin || fmax) && (it->message < fmin || it->message > fmax)) continue;
        *out = *it;
        if (remove) q.erase(it);
        return true;
    }
    return false;
}

// The queue of a thread other than the UI thread: what PostThreadMessageA
// posts to it (its windows, if it had any, would live on the UI thread). A
// thread has one from its first PeekMessageA or message box until it ends.
struct ThreadQueue {
    std::deque<MSG> posted;
    std::function<void(UINT)> wake;  // told of each post (SetThreadQueueWake)
};
std::mutex g_threadQueuesMutex;
std::map<DWORD, ThreadQueue*>& ThreadQueues() {
    static auto* m = new std::map<DWORD, ThreadQueue*>;
    return *m;
}

struct OwnThreadQueue {
    DWORD id = GetCurrentThreadId();
    ThreadQueue queue;
    OwnThreadQueue() {
        std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
        ThreadQueues()[id] = &queue;
    }
    ~OwnThreadQueue() {
        std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
        ThreadQueues().erase(id);
    }
};

// The calling thread's queue (made now if need be); read and written under
// g_threadQueuesMutex.
ThreadQueue& ThisThreadQueue() {
    thread_local OwnThreadQueue own;
    return own.queue;
}

// PeekMessageA on a thread other than the UI thread: its own queue, which
// holds thread messages only (a WM_QUIT whatever the range).
BOOL PeekThreadQueue(MSG* out, HWND filter, UINT fmin, UINT fmax, bool remove) {
    ThreadQueue& q = ThisThreadQueue();
    std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
    if (filter && filter != reinterpret_cast<HWND>(-1)) return FALSE;
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (it->message != WM_QUIT && (fmin || fmax) && (it->message < fmin || it->message > fmax)) continue;
        *out = *it;
        if (remove) q.posted.erase(it);
        return TRUE;
    }
    return FALSE;
}

bool QueueEmpty() {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    return Queue().empty();
}

std::vector<QPointer<QWidget>>& DeadWidgets() {
    static auto* v = new std::vector<QPointer<QWidget>>;
    return *v;
}

// Frees destroyed windows and their widgets once no window procedure is on
// the stack (a widget may be inside its own event handler until then).
void FreeWindows() {
    auto& list = FreeList();
    std::vector<Window*> keep;
    std::vector<Window*> go;
    for (Window* w : list) (w->busy > 0 ? keep : go).push_back(w);
    list.swap(keep);
    for (Window* w : go) delete w;
    if (g_sendDepth > 0) return;
    std::vector<QPointer<QWidget>> widgets;
    widgets.swap(DeadWidgets());
    for (auto& p : widgets)
        if (p) delete p.data();
}

bool Dispatcher::event(QEvent* e) {
    { std::lock_guard<std::mutex> handoff(g_handoffMutex); }
    switch (int(e->type())) {
    case kCallEvent: {
        CallJob* job = static_cast<CallEvent*>(e)->job.get();
        {
            std::lock_guard<std::mutex> lock(job->m);
            if (job->abandoned) return true;
            job->running = true;
        }
        job->fn();
        // Notified while the lock is held: the waiting thread cannot see
        // done, return and destroy the job (its condition variable lives on
        // that thread's stack) before notify_all is over.
        std::lock_guard<std::mutex> lock(job->m);
        job->done = true;
        job->cv.notify_all();
        return true;
    }
    case kWakeEvent:
        g_wakePending = false;
        if (!InLayerWait()) DispatchPosted();
        return true;
    case kPaintEvent:
        g_paintPending = false;
        FlushPaints();
        return true;
    case kFreeEvent: FreeWindows(); return true;
    }
    return QObject::event(e);
}

}  // namespace

// ---------------------------------------------------------------------------
// Layer state
// ---------------------------------------------------------------------------
void InitLayer() {
    if (g_alive) return;
    g_uiThread = std::this_thread::get_id();
    g_uiThreadId = GetCurrentThreadId();
    if (!g_dispatcher) g_dispatcher = new Dispatcher;
    g_alive = true;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) PaintInTrueColour(app);
    RegisterDialogClass();
    RegisterStandardControls();
}

void MarkLayerDead() {
    g_alive = false;
    g_shutDown = true;
}

// A program that makes its own QApplication starts the layer with its first
// call on the application's thread.
static void EnsureStarted() {
    if (g_alive || g_shutDown) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread() && qobject_cast<QApplication*>(app)) InitLayer();
}

bool LayerAlive() {
    EnsureStarted();
    return g_alive && QCoreApplication::instance() != nullptr;
}

bool IsUiThread() {
    EnsureStarted();
    // Before the layer starts there is no other thread to hand work to.
    return (g_alive || g_shutDown) ? std::this_thread::get_id() == g_uiThread : true;
}

void RunOnUiThread(const std::function<void()>& fn) {
    if (IsUiThread()) {
        fn();
        return;
    }
    // Once the GUI is gone, other threads' calls into it do nothing.
    if (!LayerAlive()) return;
    auto job = std::make_shared<CallJob>();
    job->fn = fn;
    PostToDispatcher(new CallEvent(job));
    // The layer may shut down after the check above and never run the call:
    // look again now and then, and give up on a call that has not started.
    std::unique_lock<std::mutex> lock(job->m);
    while (!job->cv.wait_for(lock, std::chrono::milliseconds(20), [&] { return job->done; })) {
        if (!job->running && !LayerAlive()) {
            job->abandoned = true;
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Waits
// ---------------------------------------------------------------------------
bool InLayerWait() { return !Waits().empty() && Waits().back() == kLayerWait; }

LayerWaitScope::LayerWaitScope() { Waits().push_back(kLayerWait); }
LayerWaitScope::~LayerWaitScope() { Waits().pop_back(); }

ForeignLoopScope::ForeignLoopScope(HWND owner, bool window) : back_(owner), window_(window) {
    Waits().push_back(kForeignWait);
    if (Window* w = FromHwnd(owner)) {
        Window* top = TopLevelOf(w);
        parent_ = top->widget;
        if (top->Enabled()) {
            EnableWindow(top->hwnd, FALSE);
            disabled_ = top->hwnd;
        }
    } else if (HWND main = GetActiveWindow()) {
        if (Window* m = FromHwnd(main)) parent_ = m->widget;
    }
    // Messages posted before the loop starts run inside it, as in a modal loop.
    WakeLoops();
}

ForeignLoopScope::~ForeignLoopScope() {
    Waits().pop_back();
    if (disabled_ && IsWindow(disabled_)) EnableWindow(disabled_, TRUE);
    if (window_) back_.GiveBack();
}

QWidget* ForeignLoopScope::ParentWidget() const { return parent_; }

void WakeLoops() {
    if (!g_dispatcher || !LayerAlive()) return;
    if (!g_wakePending.exchange(true)) PostToDispatcher(new QEvent(QEvent::Type(kWakeEvent)));
}

void SchedulePaint() {
    if (!g_dispatcher || !LayerAlive()) return;
    if (!g_paintPending.exchange(true)) PostToDispatcher(new QEvent(QEvent::Type(kPaintEvent)), Qt::LowEventPriority);
}

static void ScheduleFree() {
    if (g_dispatcher && LayerAlive()) PostToDispatcher(new QEvent(QEvent::Type(kFreeEvent)), Qt::LowEventPriority);
}

void DeleteWidgetLater(QWidget* widget) {
    DeadWidgets().push_back(widget);
    ScheduleFree();
}

void CollectDead() { FreeWindows(); }

void FreeLater(Window* w) {
    FreeList().push_back(w);
    ScheduleFree();
}

void DispatchPosted() {
    MSG m;
    int guard = 0;
    while (guard++ < 10000 && PopPosted(&m, nullptr, 0, 0, true)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void ModalLoopTurn() {
    MSG m;
    if (PopPosted(&m, nullptr, 0, 0, true)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        return;
    }
    LayerWaitScope wait;
    QCoreApplication::sendPostedEvents();
    if (!QueueEmpty()) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// ---------------------------------------------------------------------------
// Sending
// ---------------------------------------------------------------------------
LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    if (!w || !w->proc) return 0;
    if (w->destroyed && msg != WM_DESTROY && msg != WM_NCDESTROY) return 0;
    HWND h = w->hwnd;
    WNDPROC p = w->proc;
    ++w->busy;
    ++g_sendDepth;
    LRESULT r = p(h, msg, wp, lp);
    --g_sendDepth;
    --w->busy;
    return r;
}

LRESULT SendToHwnd(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return Send(FromHwnd(h), msg, wp, lp); }

}  // namespace w32

using namespace w32;

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) return 0;
    if (!IsUiThread()) {
        LRESULT r = 0;
        RunOnUiThread([&] { r = SendToHwnd(hWnd, Msg, wParam, lParam); });
        return r;
    }
    return SendToHwnd(hWnd, Msg, wParam, lParam);
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetDlgItem(hDlg, nIDDlgItem), Msg, wParam, lParam);
}

BOOL InSendMessage(void) { return FALSE; }

LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!lpPrevWndFunc) return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !IsWindow(hWnd)) return FALSE;
    MSG m{};
    m.hwnd = hWnd;
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = NowMs();
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        Queue().push_back(m);
    }
    WakeLoops();
    return TRUE;
}

BOOL PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (idThread == g_uiThreadId) return PostMessageA(nullptr, Msg, wParam, lParam);
    std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
    auto it = ThreadQueues().find(idThread);
    if (it == ThreadQueues().end()) {
        SetLastError(ERROR_INVALID_THREAD_ID);  // no such thread, or it has no queue yet
        return FALSE;
    }
    MSG m{};
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = NowMs();
    it->second->posted.push_back(m);
    if (it->second->wake) it->second->wake(Msg);
    return TRUE;
}

namespace w32 {

void SetThreadQueueWake(std::function<void(UINT)> wake) {
    ThreadQueue& q = ThisThreadQueue();
    std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
    q.wake = std::move(wake);
}

bool ThreadQuitPosted() {
    ThreadQueue& q = ThisThreadQueue();
    std::lock_guard<std::mutex> lock(g_threadQueuesMutex);
    for (const MSG& m : q.posted)
        if (m.message == WM_QUIT) return true;
    return false;
}

}  // namespace w32

void PostQuitMessage(int nExitCode) {
    auto set = [nExitCode] {
        g_quit = true;
        g_quitCode = nExitCode;
        WakeLoops();
    };
    RunOnUiThread(set);
}

static MSG QuitMessage(int code) {
    MSG m{};
    m.message = WM_QUIT;
    m.wParam = WPARAM(code);
    return m;
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    for (;;) {
        if (PopPosted(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) {
            g_msgTime = lpMsg->time;
            return lpMsg->message != WM_QUIT;
        }
        if (g_quit) {
            g_quit = false;
            *lpMsg = QuitMessage(g_quitCode);
            return FALSE;
        }
        if (!LayerAlive()) {
            *lpMsg = QuitMessage(0);
            return FALSE;
        }
        if (g_sendDepth == 0 && !DeadWidgets().empty()) FreeWindows();
        LayerWaitScope wait;
        QCoreApplication::sendPostedEvents();
        if (!QueueEmpty() || g_quit) continue;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!IsUiThread()) return PeekThreadQueue(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0);
    if (LayerAlive()) {
        LayerWaitScope wait;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (PopPosted(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)) return TRUE;
    if (g_quit) {
        *lpMsg = QuitMessage(g_quitCode);
        if (wRemoveMsg & PM_REMOVE) g_quit = false;
        return TRUE;
    }
    return FALSE;
}

BOOL WaitMessage(void) {
    if (!LayerAlive()) return FALSE;
    LayerWaitScope wait;
    if (QueueEmpty() && !g_quit) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return TRUE;
}

BOOL TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg || lpMsg->message != WM_KEYDOWN) return FALSE;
    char c = VkChar(int(lpMsg->wParam), (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    if (!c) return FALSE;
    PostMessageA(lpMsg->hwnd, WM_CHAR, WPARAM((unsigned char)c), lpMsg->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        auto fn = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        fn(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    if (!lpMsg->hwnd) return 0;
    g_msgTime = lpMsg->time;
    return SendToHwnd(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

DWORD GetMessageTime(void) { return g_msgTime; }
DWORD GetTickCount(void) { return NowMs(); }

UINT RegisterWindowMessageA(LPCSTR lpString) {
    static std::mutex m;
    static auto* names = new std::map<std::string, UINT>;
    std::lock_guard<std::mutex> lock(m);
    std::string key = lpString ? lpString : "";
    for (auto& c : key) c = char(tolower((unsigned char)c));
    auto it = names->find(key);
    if (it != names->end()) return it->second;
    UINT v = UINT(0xC000 + names->size());
    (*names)[key] = v;
    return v;
}

// ---------------------------------------------------------------------------
// Timers: WM_TIMER is posted when due.
// ---------------------------------------------------------------------------
namespace {
struct TimerKey {
    HWND h;
    UINT_PTR id;
    bool operator<(const TimerKey& o) const { return h != o.h ? h < o.h : id < o.id; }
};
std::map<TimerKey, QTimer*>& Timers() {
    static auto* t = new std::map<TimerKey, QTimer*>;
    return *t;
}
UINT_PTR g_nextTimerId = 0x7F00;
}  // namespace

namespace w32 {
void KillTimersOf(HWND h) {
    for (auto it = Timers().begin(); it != Timers().end();) {
        if (it->first.h != h) {
            ++it;
            continue;
        }
        // Not inside the timer's own signal (that only posts): deleted now,
        // so that none is left for a loop that may never run again.
        delete it->second;
        it = Timers().erase(it);
    }
}

int CountTimers() {
    int n = 0;
    RunOnUiThread([&] { n = int(Timers().size()); });
    return n;
}
}  // namespace w32

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (!LayerAlive()) return 0;
    UINT_PTR result = 0;
    RunOnUiThread([&] {
        if (hWnd && !IsWindow(hWnd)) return;
        UINT_PTR id = hWnd ? nIDEvent : ++g_nextTimerId;
        TimerKey key{hWnd, id};
        QTimer*& t = Timers()[key];
        if (!t) t = new QTimer;
        t->disconnect();
        t->setInterval(int(uElapse < 10 ? 10 : uElapse));
        QObject::connect(t, &QTimer::timeout, [hWnd, id, lpTimerFunc] {
            if (hWnd && !IsWindow(hWnd)) {
                KillTimer(hWnd, id);
                return;
            }
            // Like Win32, one pending WM_TIMER per timer at most.
            {
                std::lock_guard<std::mutex> lock(g_queueMutex);
                for (auto& m : Queue())
                    if (m.message == WM_TIMER && m.hwnd == hWnd && m.wParam == id) return;
            }
            PostMessageA(hWnd, WM_TIMER, id, LPARAM(lpTimerFunc));
        });
        t->start();
        result = id;
    });
    return result;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    BOOL ok = FALSE;
    RunOnUiThread([&] {
        auto it = Timers().find(TimerKey{hWnd, uIDEvent});
        if (it == Timers().end()) return;
        it->second->stop();
        it->second->deleteLater();
        Timers().erase(it);
        ok = TRUE;
    });
    return ok;
}
