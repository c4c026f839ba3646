// A plain Qt 6 program showing a query's rows: a QTableView over a
// QSqlQueryModel that fetches every row, on a database file with the driver's
// Chinese collation on the connection. The yardstick of the list benchmarks
// (its view shown at a list page's size from the start) and of the start-up
// benchmark (shown once, maximised, when its rows are in).
#pragma once

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <string>
#include <vector>

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

    enum class Window { kShownAtPageSize, kNotShown };

    explicit QtProgram(Window window = Window::kShownAtPageSize) {
        db = QSqlDatabase::addDatabase("QSQLITE");
        view.setModel(&model);
        if (window == Window::kShownAtPageSize) {
            view.resize(850, 573);
            view.show();
            TurnToIdle();
        }
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
    // Puts every row of the statement into the model; returns the row count, or -1.
    int Query(const std::string& sql) {
        model.setQuery(QSqlQuery(QString::fromStdString(sql), db));
        while (model.canFetchMore()) model.fetchMore();
        return model.lastError().isValid() ? -1 : model.rowCount();
    }
    // The same, and the view brought up to date (event loop turned, painted).
    int Show(const std::string& sql) {
        const int rows = Query(sql);
        TurnToIdle();
        return rows;
    }
    // Reads every row of a statement into strings, as the program reads
    // what it does not list (counts, names); returns the row count, or -1.
    int Read(const std::string& sql, std::vector<QString>& cells) {
        cells.clear();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QString::fromStdString(sql))) return -1;
        int rows = 0;
        const int columns = q.record().count();
        while (q.next()) {
            for (int c = 0; c < columns; ++c) cells.push_back(q.value(c).toString());
            ++rows;
        }
        return rows;
    }
};

}  // namespace bench
