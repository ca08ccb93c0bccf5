// The route view's data from a line and a train source file compiled in memory, nothing written:
// what `view` embeds in its page and what `serve` sends on every change.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace scenario {

struct SourceView {
    nlohmann::json data;
    int status = 0;          // the compile's exit status, as `view` returns it
    std::string stockError;  // a stock file that cannot be read or is refused: the run untimed
};

// The names, when empty, come from the files' names as `check` finds them. `command` names the
// caller in the note on an incomplete compile. A clean build is timed with the stock found as
// `timing` finds it, from `stockFile` when given.
SourceView viewOfSources(const std::string& lineFile, const std::string& trainFile,
                         const std::string& lineBytes, const std::string& trainBytes,
                         std::string scenarioName, std::string trainNumber,
                         const std::string& command,
                         const std::optional<std::string>& stockFile = std::nullopt);

// The page's title: route and train, with the route's length.
std::string viewTitle(const std::string& name, const std::string& train, std::int32_t length);

}  // namespace scenario
