#include "tests/support/UserSteps.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QWidget>

#include "win32.h"
#include "win32_testhooks.h"

namespace servertest {
namespace {

// The window a widget belongs to: the one it or its nearest ancestor names.
HWND WindowOf(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (QVariant h = w->property("w32hwnd"); h.isValid()) return reinterpret_cast<HWND>(h.toULongLong());
    return nullptr;
}

std::string Named(HWND h) {
    char cls[64] = "", text[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    return h ? std::string(cls) + " \"" + text + "\"" : "none";
}

}  // namespace

std::string KeyboardAstray() {
    QWidget* active = QApplication::activeWindow();
    if (!active || QApplication::activePopupWidget() || !active->property("w32hwnd").isValid()) return "";
    const HWND focus = GetFocus(), want = focus ? focus : WindowOf(active);
    QWidget* at = QApplication::focusWidget();
    if (WindowOf(at) == want && (focus || at == active)) return "";
    return "Qt's keyboard focus is on " + (at ? std::string(at->metaObject()->className()) : "nothing") + " of " +
           Named(WindowOf(at)) + ", GetFocus() names " + Named(focus);
}

struct Steps::Timer {
    QTimer timer;
    std::vector<Step> steps;
    std::function<void()> unstick;
    size_t taken = 0;
    int idle = 0;
    bool stuck = false;
    std::string astray;  // why the keyboard kept the next step waiting
};

Steps::Steps(std::vector<Step> steps, std::function<void()> unstick) : timer_(new Timer) {
    Timer* t = timer_.get();
    t->steps = std::move(steps);
    t->unstick = std::move(unstick);
    QObject::connect(&t->timer, &QTimer::timeout, [t] {
        if (!t->stuck) {
            const bool ready = t->taken < t->steps.size() && (!t->steps[t->taken].first || t->steps[t->taken].first());
            t->astray = ready ? KeyboardAstray() : "";
            if (ready && t->astray.empty()) {
                t->idle = 0;
                if (const auto& action = t->steps[t->taken++].second) action();
                return;
            }
            if (t->taken == t->steps.size() || ++t->idle < 500) return;
            t->stuck = true;
            if (!t->astray.empty()) std::fprintf(stderr, "step %zu waits: %s\n", t->taken, t->astray.c_str());
        }
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (w->inherits("QMessageBox") || w->inherits("QFileDialog")))
                static_cast<QDialog*>(w)->reject();
        if (t->unstick) t->unstick();
    });
    t->timer.start(20);
}

Steps::~Steps() {
    if (!timer_->astray.empty()) ADD_FAILURE() << "step " << timer_->taken << " waits: " << timer_->astray;
}

size_t Steps::Taken() const { return timer_->taken; }

bool Steps::Stuck() const { return timer_->stuck; }

size_t TakeSteps(std::vector<Steps::Step> steps, std::function<void()> unstick, std::source_location where) {
    const size_t n = steps.size();
    const testing::ScopedTrace trace(where.file_name(), int(where.line()), "the steps taken here");
    Steps driver(std::move(steps), std::move(unstick));
    w32test::WaitFor([&] { return driver.Taken() == n || driver.Stuck(); }, 600000);
    return driver.Taken();
}

}  // namespace servertest
