// A build left as the line pass leaves it, for running the train pass on its own.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "compile_fixture.h"
#include "compiler/compile_step.h"
#include "compiler/source_input.h"
#include "compiler/train_pass.h"

namespace scenario::testing {

struct TrainPassFixture : CompileFixture {
    // A table of cells 0 to lastCell. errorPosition starts at -1 so that "not set" shows.
    explicit TrainPassFixture(std::int32_t lastCell = 100) {
        build.lastCellIndex = lastCell;
        build.trackCells.assign(static_cast<std::size_t>(lastCell) + 1, TrackCell{});
        build.errorPosition = -1;
    }

    // Runs the train pass under the compile step's trap.
    void run(const std::string& text) {
        setTrainSource(text);
        SourceInput in(build, store);
        underErrorTrap(build, in, [&] {
            trainPass(build, in);
            in.close();
        });
    }

    // Marks every profile byte, so that the cells a pass writes stand out.
    void markProfiles(std::uint8_t value) {
        for (TrackCell& c : build.trackCells) {
            c.speedLimit = value;
            c.adhesion = value;
        }
    }
    std::vector<int> speedLimits() const {
        std::vector<int> out;
        for (const TrackCell& c : build.trackCells) out.push_back(c.speedLimit);
        return out;
    }
    std::vector<int> adhesions() const {
        std::vector<int> out;
        for (const TrackCell& c : build.trackCells) out.push_back(c.adhesion);
        return out;
    }
};

// The records between "[generale]" and the closing "[fine]", one a line.
inline std::string trainFile(std::initializer_list<const char*> records) {
    return "[generale]\r\n" + crlfLines(records) + "[fine]\r\n";
}

}  // namespace scenario::testing
