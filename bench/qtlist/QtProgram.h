// A plain Qt 6 program showing a query's rows: a QTableView over a
// QSqlQueryModel that fetches every row, on a database file with the driver's
// Chinese collation on the connection. The yardstick of the list benchmarks
// and of the start-up benchmark.
#pragma once

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <string>

#include "bench/common/SeededFile.h"

namespace bench {

inline void TurnToIdle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

struct QtProgram {
    QSqlDatabase db;
    QSqlQueryModel model;
    QTableView view;
    std::string strPath;

    QtProgram() {
        db = QSqlDatabase::addDatabase("QSQLITE");
        view.setModel(&model);
        view.resize(850, 573);
        view.show();
        TurnToIdle();
    }
    bool Open(const std::string& path) {
        if (path == strPath) return true;
        model.clear();
        db.close();
        strPath.clear();
        db.setDatabaseName(QString::fromStdString(path));
        if (!db.open()) return false;
        auto* handle = *static_cast<sqlite3**>(db.driver()->handle().data());
        if (!handle) return false;
        AddDriverCollation(handle);
        strPath = path;
        return true;
    }
    int Show(const std::string& sql) {
        model.setQuery(QSqlQuery(QString::fromStdString(sql), db));
        while (model.canFetchMore()) model.fetchMore();
        TurnToIdle();
        return model.rowCount();
    }
};

}  // namespace bench
