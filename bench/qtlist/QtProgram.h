// A plain Qt 6 program showing a query's rows: a QTableView over a
// QSqlQueryModel fetching every row, on a database file, with the driver's
// Chinese collation on the connection. The list and start-up benchmarks'
// yardstick. Sources using it are compiled as UTF-8.
#pragma once

#include <sqlite3.h>

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <string>

#include "bench/common/OppData.h"

namespace bench {

struct QtProgram {
    QSqlDatabase db;
    QSqlQueryModel model;
    QTableView view;

    // Opens the file and sets the view on the model, sized as the list page.
    bool OpenFile(const std::string& file) {
        db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(QString::fromStdString(file));
        if (!db.open()) return false;
        auto* handle = *static_cast<sqlite3**>(db.driver()->handle().data());
        if (!handle) return false;
        AddDriverCollation(handle);
        view.setModel(&model);
        view.resize(850, 573);
        return true;
    }
    // Runs the query and fetches every row; the row count.
    int Load(const char* sql) {
        model.setQuery(QSqlQuery(QString::fromUtf8(sql), db));
        while (model.canFetchMore()) model.fetchMore();
        return model.rowCount();
    }
    // Lets the event loop run until the posted work (model reset, layout, paint) is done.
    static void TurnToIdle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // The list benchmarks' steps: open and show the empty view; show a query.
    bool Open(const std::string& file) {
        if (!OpenFile(file)) return false;
        view.show();
        TurnToIdle();
        return true;
    }
    int Show(const char* sql) {
        const int rows = Load(sql);
        TurnToIdle();
        return rows;
    }
};

}  // namespace bench
