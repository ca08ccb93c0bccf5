// The long explanations of every error number and every warning: what it means, which record and
// which test raise it, a small example that triggers it, and how to fix it. `scenario explain`
// prints them and docs/errors.md is generated from them.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

// All an error's text lives in its row: the short meaning on its line, what to do where the
// meaning leaves that out, and the long explanation.
struct Explanation {
    int code;          // the error's number; 0 for a warning
    bool hasPosition;  // the error records a route position with it
    std::string_view meaning;
    // Said after the meaning: {signs}, {stations}, {free} and {slots} stand for the counts.
    std::string_view whatToDo;
    std::string_view name;  // the warning's name, or the error's short title
    std::string_view means;
    std::string_view raisedBy;
    std::string_view example;
    std::string_view fix;
};

std::span<const Explanation> errorExplanations();
std::span<const Explanation> warningExplanations();

// The explanation of an error number ("25") or a warning name; nullptr when none has that name.
const Explanation* findExplanation(std::string_view numberOrName);
// The row of an error number; nullptr for a number the build never records.
const Explanation* errorExplanation(int code);

}  // namespace scenario
