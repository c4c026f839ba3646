// A bare Qt 6 window program, the start-up benchmark's floor: the application,
// one main window shown maximised (as the program's) with one Chinese label
// in it, and the idle probe.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "bench/startup/IdleReport.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    QLabel label(QStringLiteral("今天的计划"), &window);
    label.move(20, 20);
    startupbench::IdleProbe probe([&] { return window.isVisible(); });
    startupbench::ShowMaximized(window);
    return app.exec();
}
