// The plain Qt program of the list benchmarks (bench/common/QtProgram.h)
// started on the database given as the first argument, written as a Qt
// developer writes it: it opens the file, reads today's tasks with the start
// page's query into its model and shows its window once, maximised; the idle
// probe reports the first idle after that paint.
#include <QApplication>
#include <QDate>
#include <cstdio>
#include <string>

#include "bench/common/QtProgram.h"
#include "bench/startup/IdleReport.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QApplication app(argc, argv);
    const QDate today = QDate::currentDate();
    char szJet[128];
    std::snprintf(szJet, sizeof(szJet), "SELECT * FROM tasks WHERE tas_date=#%d-%d-%d# \t\tORDER BY tas_time DESC",
                  today.year(), today.month(), today.day());
    bench::QtProgram qt(bench::QtProgram::Window::kNotShown);
    if (!qt.Open(argv[1]) || qt.Query(bench::ToSqlite(szJet)) < 0) return 2;
    startupbench::IdleProbe probe([&] { return qt.view.isVisible(); });
    // Maximised, as the program's main window and the bare window: each
    // window's image, the largest block of memory of all three, is then of
    // one size.
    startupbench::ShowMaximized(qt.view);
    return app.exec();
}
