// What the page benchmarks share: the store connected to a seeded file, the
// pages made under one main window and shown offscreen, the event loop let
// run to idle, and a main that does all of it around the benchmarks.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "bench/common/SeededFile.h"

class BaseDialogClass;
namespace benchmark {
class State;
}

namespace bench {

// Lets the event loop run until the posted work (model reset, layout,
// paint) is done.
void TurnToIdle();

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
