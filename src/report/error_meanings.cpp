// Short meanings of the build's error numbers, and which of them record a route position.
#include "report/error_meanings.h"

namespace scenario {
namespace {

struct ErrorEntry {
    int code;
    bool hasPosition;
    std::string_view meaning;
};

constexpr ErrorEntry kErrors[] = {
    {1, false, "route length above 1000000 m"},
    {2, false, "kilometre post position or reference value not a multiple of 50"},
    {3, false, "first signal-repetition position not a multiple of 50"},
    {4, false, "second signal-repetition position not a multiple of 50"},
    {5, false, "signal-repetition record names neither 4 nor 9 codes"},
    {6, true, "indicator sign on a cell already taken"},
    {7, true, "speed-cut point on a cell already taken"},
    {8, true, "station position not a multiple of 50"},
    {9, true, "platform length not a multiple of 100"},
    {10, false, "too many stations for the station table"},
    {11, true, "no free cell before a signal ahead of a slow-order warning board"},
    {12, true, "no free cell in a window before a slow-order start"},
    {13, true, "no free cell for a speed-cut point in or after a slow order"},
    {14, true, "more indicator signs than the station table holds"},
    {15, true, "position beyond the track cell table"},
    {16, true, "signal on a cell already taken"},
    {17, true, "slow-order warning board on a cell already taken"},
    {18, true, "slow-order start on a cell already taken"},
    {19, true, "slow-order end board on a cell already taken"},
    {20, true, "a cell before a slow-order warning board already taken"},
    {21, true, "maximum-speed boards on a cell already taken"},
    {22, true, "station less than 350 m after the previous one"},
    {24, false, "station platform ends too near the route start"},
    {25, false, "reading stopped"},
    {101, false, "line source file missing"},
    {102, false, "line source file has no [generale] section"},
    {103, false, "curve without class digit, or plan beyond 1000000 m"},
    {1250, false, "marker slot already taken"},
    {1251, false, "check-code slot already taken"},
};

const ErrorEntry* find(int code) {
    for (const ErrorEntry& e : kErrors)
        if (e.code == code) return &e;
    return nullptr;
}

}  // namespace

std::string_view errorMeaning(int code) {
    const ErrorEntry* e = find(code);
    return e ? e->meaning : "unknown error";
}

bool errorHasPosition(int code) {
    const ErrorEntry* e = find(code);
    return e && e->hasPosition;
}

}  // namespace scenario
