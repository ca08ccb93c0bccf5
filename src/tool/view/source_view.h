// The route view's data from a line and a train source file compiled in memory, nothing written:
// what `view` embeds in its page and what `serve` sends on every change.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace scenario {

struct SourceView {
    nlohmann::json data;
    int status = 0;  // the compile's exit status, as `view` returns it
};

// The names, when empty, come from the files' names as `check` finds them. `command` names the
// caller in the note on an incomplete compile.
SourceView viewOfSources(const std::string& lineFile, const std::string& trainFile,
                         const std::string& lineBytes, const std::string& trainBytes,
                         std::string scenarioName, std::string trainNumber,
                         const std::string& command);

// The page's title: route and train, with the route's length.
std::string viewTitle(const std::string& name, const std::string& train, std::int32_t length);

}  // namespace scenario
