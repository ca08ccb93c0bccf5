// docs/timing.md: the running-time model, its formulas and the stock file, with every default
// and coefficient taken from the code that uses it.
#pragma once

#include <string>

namespace scenario::timing {

std::string timingDocument();

}  // namespace scenario::timing
