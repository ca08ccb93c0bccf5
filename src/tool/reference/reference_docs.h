// The authors' reference documents, docs/format.md and docs/errors.md, made from the record
// tables and the table of explanations, so that they never drift from what the compile does.
#pragma once

#include <string>
#include <string_view>

#include "report/explanations.h"

namespace scenario {

std::string formatDocument();
std::string errorsDocument();

// One explanation as `scenario explain` prints it and docs/errors.md holds it.
std::string explanationText(const Explanation& e);

// The prose of docs/format.md that no table holds.
std::string_view formatProse();
std::string_view formatWorkedExample();

}  // namespace scenario
