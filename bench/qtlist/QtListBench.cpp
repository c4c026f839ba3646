// The yardsticks of the list page benchmarks, on the same files with the
// same queries: each all-records list (opportunities, accounts, contacts,
// tasks) as a plain Qt 6 program shows it, a QTableView over a
// QSqlQueryModel that fetches every row, timed from the query until the
// window is painted and idle, opened (over the list shown before, as the
// page is) and re-queried sorted (in the driver's Chinese order); and a bare
// sqlite3 read of the same rows into strings.
// The opportunities also from 1,000 to 100,000 rows (1,000,000 with
// --million), as the list page's series.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlDatabase>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/common/Args.h"
#include "bench/common/SeededFile.h"
#include "bench/common/QtProgram.h"

namespace {

using bench::Records;

using bench::QtProgram;
using bench::TurnToIdle;

QtProgram* g_pQt = nullptr;

// The file of the benchmark's kind and row count (its two arguments).
const bench::SeededFile* FileFor(benchmark::State& state) {
    const bench::SeededFile* f = bench::FileOf(static_cast<Records>(state.range(0)), (int)state.range(1));
    if (!f) state.SkipWithError("cannot make the file");
    return f;
}

const bench::ListQueries& QueriesFor(benchmark::State& state) {
    return bench::QueriesOf(static_cast<Records>(state.range(0)));
}

// Reads the queries (taking turns) with the plain SQLite API.
void Sqlite3Read(benchmark::State& state, const std::vector<std::string>& sqls) {
    const bench::SeededFile* f = FileFor(state);
    if (!f) return;
    sqlite3* db = nullptr;
    sqlite3_open_v2(f->Path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bench::AddDriverCollation(db);
    std::vector<std::string> cells;
    size_t turn = 0;
    for (auto _ : state)
        if (bench::ReadAllRows(db, sqls[turn++ % sqls.size()], cells) != state.range(1))
            state.SkipWithError("query failed");
    sqlite3_close(db);
    state.SetLabel("a yardstick itself: a plain sqlite3 read into strings (the page benchmarks run it turn about)");
}

void BM_Sqlite3Read(benchmark::State& state) { Sqlite3Read(state, {bench::ToSqlite(QueriesFor(state).pszOpen)}); }

void BM_Sqlite3SortedRead(benchmark::State& state) {
    const bench::ListQueries& q = QueriesFor(state);
    Sqlite3Read(state, {bench::ToSqlite(q.pszSorted[0]), bench::ToSqlite(q.pszSorted[1])});
}

void BM_QtProgramOpen(benchmark::State& state) {
    const bench::SeededFile* f = FileFor(state);
    if (!f || !g_pQt->Open(f->Path())) return state.SkipWithError("cannot open the file in Qt");
    // Each opening replaces the list the one before showed, as the page's
    // does: the old rows are freed inside the timing on both sides.
    const std::string sql = bench::ToSqlite(QueriesFor(state).pszOpen);
    g_pQt->Show(sql);
    for (auto _ : state)
        if (g_pQt->Show(sql) != state.range(1)) state.SkipWithError("query failed");
    state.SetLabel("a yardstick itself: QTableView over QSqlQueryModel (the page benchmarks run it turn about)");
}

void BM_QtProgramReSort(benchmark::State& state) {
    const bench::SeededFile* f = FileFor(state);
    if (!f || !g_pQt->Open(f->Path())) return state.SkipWithError("cannot open the file in Qt");
    const bench::ListQueries& q = QueriesFor(state);
    const std::string sqls[] = {bench::ToSqlite(q.pszSorted[0]), bench::ToSqlite(q.pszSorted[1])};
    g_pQt->Show(bench::ToSqlite(q.pszOpen));
    int turn = 0;
    for (auto _ : state)
        if (g_pQt->Show(sqls[turn++ % 2]) != state.range(1)) state.SkipWithError("query failed");
    state.SetLabel("a yardstick itself: QTableView over QSqlQueryModel (the page benchmarks run it turn about)");
}

void Register(const std::vector<int>& series) {
    const struct {
        Records kind;
        int rows;
    } kLists[] = {{Records::Opportunities, bench::kOpportunities},
                  {Records::Accounts, bench::kAccounts},
                  {Records::Contacts, bench::kContacts},
                  {Records::Tasks, bench::kTasks}};
    for (const auto& l : kLists) {
        const std::string name = bench::QueriesOf(l.kind).pszName;
        const auto reg = [&](const char* what, void (*fn)(benchmark::State&)) {
            benchmark::RegisterBenchmark((std::string(what) + "/" + name).c_str(), fn)
                ->ArgNames({"kind", "rows"})
                ->Args({static_cast<int>(l.kind), l.rows})
                ->Unit(benchmark::kMillisecond)
                ->Iterations(5);
        };
        reg("BM_Sqlite3Read", BM_Sqlite3Read);
        reg("BM_Sqlite3SortedRead", BM_Sqlite3SortedRead);
        reg("BM_QtProgramOpen", BM_QtProgramOpen);
        reg("BM_QtProgramReSort", BM_QtProgramReSort);
    }
    // The opportunity list page's series.
    const std::pair<const char*, void (*)(benchmark::State&)> kSeries[] = {
        {"BM_Sqlite3Read/series", BM_Sqlite3Read}, {"BM_QtProgramOpen/series", BM_QtProgramOpen}};
    for (const auto& [what, fn] : kSeries) {
        auto* b = benchmark::RegisterBenchmark(what, fn);
        b->ArgNames({"kind", "rows"})->Unit(benchmark::kMillisecond)->Iterations(5);
        for (int n : series) b->Args({static_cast<int>(Records::Opportunities), n});
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<int> series = bench::SeriesSizes(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        QtProgram qt;
        g_pQt = &qt;
        Register(series);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        qt.model.clear();
        qt.db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    return 0;
}
