// Start-up to idle, each run a fresh process: the real program to its idle
// start page, on an empty file and on a salesperson's file of 250,000 records
// (100,000 opportunities, 100,000 contacts with the 20,000 accounts they work
// for, 50,000 tasks, a dozen of them today), against a bare Qt 6 window
// showing one Chinese label and against the plain Qt program of the list
// benchmarks showing the same file's tasks of today (on both files) in a
// window it shows once, maximised. Each program prints the time it first went idle
// with its window painted and its memory then (Rss, Pss); the time counts
// from just before the process is started. Next to it the process's own CPU
// time, which a busy machine disturbs less. At the end the ratios the program
// is held to, over the minimum and the median.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/Rivals.h"
#include "bench/common/SeededFile.h"
#include "bench/startup/IdleReport.h"
#include "store/md5.h"

extern char** environ;

namespace {

// Fresh processes per program; STARTUP_REPEATS asks for more on a busy machine.
int Repeats() {
    const char* env = std::getenv("STARTUP_REPEATS");
    const int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : 15;
}
const int kRepeats = Repeats();
const char* const kPassword = "bench-secret";

struct Sample {
    double seconds;
    double cpuSeconds;  // the process's own CPU time (user and system), less sensitive to a busy machine
    double rssMB, pssMB;
};

std::map<std::string, std::vector<Sample>> g_Samples;

// Starts the program, waits for its idle line and its end; false on failure.
bool StartOnce(const std::vector<std::string>& args, Sample& sample) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const long long start = startupbench::MonotonicNs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return false;
    }
    std::string out;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof(buf))) != 0;) {
        if (n > 0)
            out.append(buf, size_t(n));
        else if (errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    long long idle = 0;
    long rss = 0, pss = 0;
    const size_t at = out.find("idle ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos ||
        std::sscanf(out.c_str() + at, "idle %lld %ld %ld", &idle, &rss, &pss) != 3)
        return false;
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    sample = {double(idle - start) * 1e-9, cpu, rss / 1024.0, pss / 1024.0};
    return true;
}

void BM_Start(benchmark::State& state, const std::string& name, std::vector<std::string> args) {
    for (auto _ : state) {
        Sample s{};
        if (!StartOnce(args, s)) {
            state.SkipWithError("the program did not reach idle");
            return;
        }
        state.SetIterationTime(s.seconds);
        state.counters["cpu_ms"] = s.cpuSeconds * 1e3;
        state.counters["rss_MB"] = s.rssMB;
        state.counters["pss_MB"] = s.pssMB;
        g_Samples[name].push_back(s);
    }
}

using bench::Median;
using bench::Min;
std::vector<double> Field(const std::string& name, double Sample::*field) {
    std::vector<double> v;
    for (const Sample& s : g_Samples[name]) v.push_back(s.*field);
    return v;
}

void PrintRatio(const char* what, const std::string& ours, const std::string& theirs, double Sample::*field,
                double goal) {
    if (g_Samples[ours].empty() || g_Samples[theirs].empty()) return;
    const auto a = Field(ours, field), b = Field(theirs, field);
    std::printf("%-44s min %5.2fx  median %5.2fx  (goal <= %.2fx)\n", what, Min(a) / Min(b), Median(a) / Median(b),
                goal);
}

void PrintSummary() {
    std::printf(
        "\nyardsticks, each start a fresh process, the programs interleaved: bare_window = a Qt window with one "
        "Chinese label; qt_program = QTableView over QSqlQueryModel holding today's tasks (the same query and "
        "collation), its window shown once, maximised\n");
    std::printf("\nstart to idle (s) and memory at idle (MB), over %d fresh processes each:\n", kRepeats);
    for (auto& [name, samples] : g_Samples) {
        std::printf(
            "  %-16s time min %.3f median %.3f   cpu min %.3f median %.3f   rss median %.1f   pss median %.1f\n",
            name.c_str(), Min(Field(name, &Sample::seconds)), Median(Field(name, &Sample::seconds)),
            Min(Field(name, &Sample::cpuSeconds)), Median(Field(name, &Sample::cpuSeconds)),
            Median(Field(name, &Sample::rssMB)), Median(Field(name, &Sample::pssMB)));
    }
    PrintRatio("start, empty file / bare Qt window", "tarvel/empty", "bare_window", &Sample::seconds, 1.5);
    PrintRatio("start, empty file / Qt program", "tarvel/empty", "qt_program/empty", &Sample::seconds, 1.3);
    PrintRatio("start, 250,000 records / Qt program", "tarvel/250k", "qt_program/250k", &Sample::seconds, 1.0);
    PrintRatio("cpu time, empty file / bare Qt window", "tarvel/empty", "bare_window", &Sample::cpuSeconds, 1.5);
    PrintRatio("cpu time, empty file / Qt program", "tarvel/empty", "qt_program/empty", &Sample::cpuSeconds, 1.3);
    PrintRatio("cpu time, 250,000 records / Qt program", "tarvel/250k", "qt_program/250k", &Sample::cpuSeconds, 1.0);
    PrintRatio("memory (Rss), empty file / Qt program", "tarvel/empty", "qt_program/empty", &Sample::rssMB, 1.05);
    PrintRatio("memory (Rss), 250,000 records / Qt program", "tarvel/250k", "qt_program/250k", &Sample::rssMB, 1.05);
    PrintRatio("memory (Pss), 250,000 records / Qt program", "tarvel/250k", "qt_program/250k", &Sample::pssMB, 1.05);
}

bool Exec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The installation done, with a login the program is started with.
bool SetLogin(const bench::SeededFile& file) {
    char szDigest[33];
    MD5DigestText(kPassword, szDigest);
    return Exec(file.Path(), std::string("UPDATE setting SET set_init=1, set_loginname='bench', set_loginpwd='") +
                                 szDigest + "' WHERE set_id=1");
}

// Twelve tasks today, the rows of the start page's list.
bool AddTodaysTasks(const bench::SeededFile& file) {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char szDate[16];
    std::strftime(szDate, sizeof(szDate), "%Y-%m-%d", &t);
    std::string sql = "BEGIN;";
    for (int i = 0; i < 12; ++i) {
        char sz[256];
        std::snprintf(sz, sizeof(sz),
                      "INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_outlay, tas_description, tas_private, "
                      "tas_remind, tas_closed) VALUES('回访客户 %d 号', '%s', '%02d:%02d:00', 0, '今天的计划', 0, 0, "
                      "0);",
                      i, szDate, 8 + i, (i * 7) % 60);
        sql += sz;
    }
    return Exec(file.Path(), sql + "COMMIT;");
}

std::unique_ptr<bench::SeededFile> g_pEmpty, g_pSales;

bool MakeFiles() {
    g_pEmpty = std::make_unique<bench::SeededFile>("startup-empty");
    g_pSales = std::make_unique<bench::SeededFile>("startup-sales");
    return SetLogin(*g_pEmpty) && g_pSales->Fill(bench::Records::Opportunities, bench::kOpportunities) &&
           g_pSales->Fill(bench::Records::Contacts, bench::kContacts) &&
           g_pSales->Fill(bench::Records::Tasks, bench::kTasks) && AddTodaysTasks(*g_pSales) && SetLogin(*g_pSales);
}

}  // namespace

int main(int argc, char** argv) {
    // Every program draws offscreen (no display needed, the same for all),
    // unless a platform is chosen: QT_QPA_PLATFORM=xcb under xvfb-run times
    // the start on a real X server.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!MakeFiles()) {
        std::fprintf(stderr, "cannot make the database files\n");
        return 1;
    }
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"bare_window", {STARTUP_BARE_WINDOW}},
        {"tarvel/empty", {STARTUP_TARVEL, g_pEmpty->Path(), kPassword}},
        {"qt_program/empty", {STARTUP_QT_PROGRAM, g_pEmpty->Path()}},
        {"qt_program/250k", {STARTUP_QT_PROGRAM, g_pSales->Path()}},
        {"tarvel/250k", {STARTUP_TARVEL, g_pSales->Path(), kPassword}},
    };
    // One start each first, unmeasured, so that every program starts with
    // its files in the page cache.
    for (const auto& [name, args] : cases) {
        Sample s{};
        if (!StartOnce(args, s)) {
            std::fprintf(stderr, "%s did not reach idle\n", name.c_str());
            return 1;
        }
    }
    for (const auto& [name, args] : cases)
        benchmark::RegisterBenchmark(("BM_Start/" + name).c_str(), BM_Start, name, args)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(kRepeats)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics("min", [](const std::vector<double>& v) { return Min(v); });

    // Repetitions of the five programs interleaved, so that a busy spell of
    // the machine falls on all of them alike.
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
