// Command-line options of the benchmark programs, taken out of argv before
// Google Benchmark reads the rest.
#pragma once

#include <cstring>
#include <vector>

namespace bench {

// True when `arg` is on the command line; it is removed from argv.
inline bool TakeArgument(int& argc, char** argv, const char* arg) {
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], arg) == 0) {
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            argv[--argc] = nullptr;
            return true;
        }
    return false;
}

// The row counts a linearity series runs: 1,000 to 100,000, and 1,000,000
// when the program is given --million (it takes a while, so it is asked for).
inline std::vector<int> SeriesSizes(int& argc, char** argv) {
    std::vector<int> sizes = {1000, 10000, 100000};
    if (TakeArgument(argc, argv, "--million")) sizes.push_back(1000000);
    return sizes;
}

}  // namespace bench
