// The plain Qt program of the list benchmarks (bench/qtlist/QtProgram.h)
// started on the database given as the first argument: it opens the file and
// shows today's tasks, as the program's start page does, then the idle probe.
#include <QApplication>
#include <QDate>
#include <string>

#include "bench/qtlist/QtProgram.h"
#include "bench/startup/IdleReport.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QApplication app(argc, argv);
    const std::string sql = "SELECT * FROM tasks WHERE tas_date='" +
                            QDate::currentDate().toString(Qt::ISODate).toStdString() + "' ORDER BY tas_time DESC";
    bench::QtProgram qt;
    startupbench::IdleProbe probe([&] { return qt.view.isVisible(); });
    if (!qt.OpenFile(argv[1])) return 2;
    qt.Load(sql.c_str());
    qt.view.show();
    return app.exec();
}
