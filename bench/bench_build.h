// Builds for the benchmarks: the sources put into a file store, the compile driver's steps run
// one by one, so that each step can be timed without the others.
#pragma once

#include <cstdint>
#include <string>

#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario::bench {

// Starts the build as the compile driver does, under the bench identity, with the sources in the
// store, ready for the passes.
void prepareBuild(ScenarioBuild& build, FileStore& files, const std::string& line,
                  const std::string& train, std::int32_t plan);

// The driver up to the files: both passes, the signal-spacing pass and the stamps.
void compileWithoutFiles(ScenarioBuild& build, FileStore& files);

// The built-in line and train source files, as the writers write them.
std::string builtinLineSource();
std::string builtinTrainSource();

// A train source file with no record, for timing the line pass alone.
inline constexpr const char* kEmptyTrainSource = "[generale]\r\n[fine]\r\n";

}  // namespace scenario::bench
