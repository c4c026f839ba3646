// A bare Qt 6 window program, the start-up benchmark's floor: the application,
// one empty main window shown maximised (as the program's), and the idle probe.
#include <QApplication>
#include <QWidget>

#include "bench/startup/IdleReport.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    startupbench::IdleProbe probe([&] { return window.isVisible(); });
    startupbench::ShowMaximized(window);
    return app.exec();
}
