// Writes a generated line and train source file pair for a route of the given length, for timing
// `scenario compile` on routes of any size: bench_sources DIR KILOMETRES.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "generated_sources.h"

namespace {

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace scenario::bench;
    const long kilometres = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
    if (kilometres < 10 || kilometres > 1000 || kilometres % 5 != 0) {
        std::cerr << "usage: bench_sources DIR KILOMETRES (10 to 1000, a multiple of 5)\n";
        return 2;
    }
    const std::int32_t route = static_cast<std::int32_t>(kilometres * 1000);
    const std::int32_t stations = route / 5000 < 78 ? route / 5000 : 78;
    const std::int32_t signals = (route - 2000) / 200;
    const std::string dir = argv[1];
    if (!writeFile(dir + "/line.txt", generatedLineSource(route)) ||
        !writeFile(dir + "/train.txt", generatedTrainSource(stations, signals))) {
        std::cerr << "bench_sources: cannot write into " << dir << '\n';
        return 2;
    }
    return 0;
}
