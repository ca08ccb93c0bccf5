// The long explanations of every error number and every warning: what it means, which record and
// which test raise it, a small example that triggers it, and how to fix it. `scenario explain`
// prints them and docs/errors.md is generated from them.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

struct Explanation {
    int code;               // the error's number; 0 for a warning
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

}  // namespace scenario
