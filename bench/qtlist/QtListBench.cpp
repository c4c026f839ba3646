// The opportunity list as a plain Qt 6 program shows it: a QTableView over a
// QSqlQueryModel that fetches every row, timed from the query until the
// window is painted and idle, plain and re-sorted by the subject in the
// driver's Chinese order. Next to it the bare sqlite3 read of the same rows
// into strings. The file is the one the list page benchmark makes.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/common/OppData.h"
#include "bench/qtlist/QtProgram.h"

namespace {

constexpr int kRecords = 100000;
const char* const kPlain = "SELECT * FROM opportunities";
const char* const kSorted[] = {"SELECT * FROM opportunities ORDER BY opp_subject COLLATE GBK_NOCASE",
                               "SELECT * FROM opportunities ORDER BY opp_subject COLLATE GBK_NOCASE DESC"};
std::string g_strFolder, g_strFile;

void TurnToIdle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool MakeFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-qtlist-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) return false;
    g_strFolder = tmpl;
    g_strFile = tmpl + "/mydata.tvd";
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, g_strFile);
    return bench::FillOpportunities(g_strFile, kRecords);
}

void BM_Sqlite3Read(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_strFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::vector<std::string> cells;
    for (auto _ : state)
        if (bench::ReadAllRows(db, kPlain, cells) != kRecords) state.SkipWithError("query failed");
    sqlite3_close(db);
}

void BM_Sqlite3SortedRead(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_strFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bench::AddDriverCollation(db);
    std::vector<std::string> cells;
    int turn = 0;
    for (auto _ : state)
        if (bench::ReadAllRows(db, kSorted[turn++ % 2], cells) != kRecords) state.SkipWithError("query failed");
    sqlite3_close(db);
}

using bench::QtProgram;

QtProgram* g_pQt = nullptr;

void BM_QtProgramOpen(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_pQt->model.clear();
        TurnToIdle();
        state.ResumeTiming();
        if (g_pQt->Show(kPlain) != kRecords) state.SkipWithError("query failed");
    }
}

void BM_QtProgramReSort(benchmark::State& state) {
    g_pQt->Show(kPlain);
    int turn = 0;
    for (auto _ : state)
        if (g_pQt->Show(kSorted[turn++ % 2]) != kRecords) state.SkipWithError("query failed");
}

BENCHMARK(BM_Sqlite3Read)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Sqlite3SortedRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_QtProgramOpen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_QtProgramReSort)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!MakeFile()) {
        fprintf(stderr, "cannot make the database\n");
        return 1;
    }
    int rc = 0;
    {
        QtProgram qt;
        g_pQt = &qt;
        if (!qt.Open(g_strFile)) {
            fprintf(stderr, "cannot open the database in Qt\n");
            rc = 1;
        } else {
            benchmark::Initialize(&argc, argv);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
        }
        qt.model.clear();
        qt.db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    std::filesystem::remove_all(g_strFolder);
    return rc;
}
