// What each field of a track cell means, by the kind of object in the cell: the source record and
// field each value is made from, and its unit. The route view decodes cells with it.
#pragma once

#include <nlohmann/json.hpp>

namespace scenario {

// {"fields": [names in the file's order], "profiles": {field: meaning}, "kinds": {kind: object}}.
nlohmann::json cellMeanings();

}  // namespace scenario
