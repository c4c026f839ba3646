// The start-up benchmark's probe inside each program it starts: at the first
// time the event loop is about to wait with the program's window shown and
// painted, it writes one line to stdout,
//     idle <CLOCK_MONOTONIC ns> <Rss kB> <Pss kB>
// and ends the process at once (what follows is not timed).
#pragma once

#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>
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
        std::printf("idle %lld %ld %ld\n", now, rss, pss);
        std::fflush(stdout);
        _exit(0);
    }

    std::function<bool()> m_ready;
    bool m_painted = false;
};

}  // namespace startupbench
