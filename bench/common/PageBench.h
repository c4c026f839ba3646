// What the page benchmarks share: the store connected to a seeded file, the
// pages made under one main window and shown offscreen, the event loop let
// run to idle, and a main that does all of it around the benchmarks.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "bench/common/QtProgram.h"
#include "bench/common/Rivals.h"
#include "bench/common/SeededFile.h"

class BaseDialogClass;
namespace benchmark {
class State;
}

namespace bench {

// Connects the store's one connection (g_ODBC) to the file, closing the one
// it had. False when the file cannot be opened.
bool ConnectStore(const std::string& path);

// Registers the pages as the view table and creates each (with its window
// class name) under one main window, shows each once, then leaves the first
// alone shown, as the program shows one page at a time. False when a page
// could not be made or did not initialise. Made once per program.
bool MakePages(std::initializer_list<std::pair<BaseDialogClass*, const char*>> pages);

// Shows this page alone (the others hidden) and lets the loop run to idle.
void ShowOnly(BaseDialogClass* pPage);

// The statements (as the store formats them) that the store ran since the
// last call, which starts the record afresh.
std::vector<std::string> TakeStatements();

// Runs `page` (the page's work, to idle; false when its result is wrong)
// once untimed, recording the statements the store runs for it, then races
// it (RunRivals, UseManualTime) against two yardsticks on the same file and
// statements, in this process: the plain Qt program ("qt": the last
// statement shown in its QTableView over a QSqlQueryModel to idle, the ones
// before read through QSqlQuery into strings) and a plain sqlite3 read of
// every statement into strings ("sqlite3"), both with the driver's Chinese
// collation. `prepare`, if given, runs untimed before each run of the page
// (and before the recorded one).
void RaceYardsticks(benchmark::State& state, const std::function<bool()>& page,
                    const std::function<void()>& prepare = nullptr);

// True when the store's last statement is this text: the page benchmarks
// check that the page ran the query its yardsticks run.
bool LastStatementIs(const char* pszJet);

// The bare keyword query of the contacts (query mode 1) with this GBK
// keyword, its nodes freed, timed by state: the yardstick of the contact
// searches. A run that does not find nExpected contacts is an error.
void BareContactKeyword(benchmark::State& state, const std::string& keyword, int nExpected);

// The benchmark program's main: offscreen Qt, the C locale for numbers,
// `setUp` (seeding, store, pages), then the benchmarks of the command line.
// Returns the exit status.
int RunPageBenchmarks(int argc, char** argv, const std::function<bool()>& setUp);

}  // namespace bench
