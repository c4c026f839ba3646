// gbktable OUTPUT
// Writes the driver's Unicode -> GBK table (gbktable.h) as the initialiser
// of a 0x10000-entry array, sixteen codes a line.
#include <cstdio>
#include <vector>

#include "gbktable.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::vector<uint16_t> code(0x10000);
    jetsql::BuildGbkTable(code.data());
    // A table without the common characters means the converter is missing.
    if (code[0x4E2D] == 0) {
        std::fprintf(stderr, "%s: no GBK converter\n", argv[0]);
        return 1;
    }
    FILE* f = std::fopen(argv[1], "w");
    if (!f) return 1;
    for (size_t i = 0; i < code.size(); ++i) std::fprintf(f, "0x%04X,%s", code[i], i % 16 == 15 ? "\n" : "");
    return std::fclose(f) == 0 ? 0 : 1;
}
