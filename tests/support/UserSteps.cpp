#include "tests/support/UserSteps.h"

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QWidget>

namespace servertest {

struct Steps::Timer {
    QTimer timer;
    std::vector<Step> steps;
    std::function<void()> unstick;
    size_t taken = 0;
    int idle = 0;
    bool stuck = false;
};

Steps::Steps(std::vector<Step> steps, std::function<void()> unstick) : timer_(new Timer) {
    Timer* t = timer_.get();
    t->steps = std::move(steps);
    t->unstick = std::move(unstick);
    QObject::connect(&t->timer, &QTimer::timeout, [t] {
        if (!t->stuck) {
            if (t->taken < t->steps.size() && t->steps[t->taken].first()) {
                t->idle = 0;
                t->steps[t->taken++].second();
                return;
            }
            if (t->taken == t->steps.size() || ++t->idle < 500) return;
            t->stuck = true;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (w->inherits("QMessageBox") || w->inherits("QFileDialog")))
                static_cast<QDialog*>(w)->reject();
        if (t->unstick) t->unstick();
    });
    t->timer.start(20);
}

Steps::~Steps() = default;

size_t Steps::Taken() const { return timer_->taken; }

}  // namespace servertest
