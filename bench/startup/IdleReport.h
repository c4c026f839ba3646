// The start-up benchmark's probe inside each program it starts: at the first
// time the event loop is about to wait with the program's window shown and
// painted, it writes one line to stdout,
//     idle <CLOCK_MONOTONIC ns> <Rss kB> <Pss kB>
// and ends the process at once (what follows is not timed). With STARTUP_SMAPS
// set, a copy of /proc/self/smaps goes to that file first.
#pragma once

#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>

namespace startupbench {

inline long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Rss and Pss of this process in kB, from /proc/self/smaps_rollup.
inline void ReadMemory(long& rss, long& pss) {
    rss = pss = -1;
    FILE* f = std::fopen("/proc/self/smaps_rollup", "r");
    if (!f) return;
    char line[256];
    while (std::fgets(line, sizeof(line), f)) {
        if (std::strncmp(line, "Rss:", 4) == 0) rss = std::atol(line + 4);
        if (std::strncmp(line, "Pss:", 4) == 0) pss = std::atol(line + 4);
    }
    std::fclose(f);
}

// A copy of /proc/self/smaps at idle, for a breakdown of the memory by mapping.
inline void CopySmaps(const char* path) {
    FILE* in = std::fopen("/proc/self/smaps", "r");
    FILE* out = std::fopen(path, "w");
    char buf[4096];
    for (size_t n; in && out && (n = std::fread(buf, 1, sizeof(buf), in)) > 0;) std::fwrite(buf, 1, n, out);
    if (in) std::fclose(in);
    if (out) std::fclose(out);
}

// A main window maximised as the program's is: over the screen's available
// area, whether or not a window manager is there to maximise it.
inline void ShowMaximized(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

class IdleProbe : public QObject {
public:
    // ready() says when the program's window is up (shown, start-up done).
    explicit IdleProbe(std::function<bool()> ready) : m_ready(std::move(ready)) {
        qApp->installEventFilter(this);
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                         [this] { OnAboutToBlock(); });
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && !m_painted && m_ready()) m_painted = true;
        return QObject::eventFilter(o, e);
    }

private:
    void OnAboutToBlock() {
        if (!m_painted || !m_ready()) return;
        const long long now = MonotonicNs();
        long rss, pss;
        ReadMemory(rss, pss);
        if (const char* path = std::getenv("STARTUP_SMAPS")) CopySmaps(path);
        std::printf("idle %lld %ld %ld\n", now, rss, pss);
        std::fflush(stdout);
        _exit(0);
    }

    std::function<bool()> m_ready;
    bool m_painted = false;
};

}  // namespace startupbench
