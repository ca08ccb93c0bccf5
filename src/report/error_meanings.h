// Short meanings of the build's error numbers, for the one line that reports a recorded error.
#pragma once

#include <string_view>

namespace scenario {

// The meaning of an error number; "unknown error" for a number the build never records.
std::string_view errorMeaning(int code);

// True for the errors that record a route position with them; for the others the recorded
// position is whatever an earlier step left.
bool errorHasPosition(int code);

}  // namespace scenario
