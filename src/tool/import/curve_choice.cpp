// The steering: each metre the plan's heading and lateral offset from the smoothed track feed a
// wanted curvature, which is rounded to the nearest class. A radius between two classes thus
// comes out as an alternation of both, and a transition as a ramp of classes; a class is held at
// least a few metres so that the records stay few.
#include "tool/import/curve_choice.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "compiler/line_plan_steps.h"

namespace scenario {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Residual scatter of the points about a narrow fit above which the track counts as noisy.
constexpr double kNoisyScatter = 0.3;
constexpr std::int32_t kNarrowWindow = 20;
constexpr std::int32_t kWideWindow = 250;
constexpr double kNoisyStraightThreshold = 0.00007;

struct SmoothTrack {
    std::vector<double> first, second, heading, curvature;
};

// Local quadratic least-squares fit of each coordinate over metres i - w .. i + w (cut at the
// ends): the value, slope and second derivative at i. A quadratic keeps an arc's radius where a
// moving average would shrink it.
void fitQuadratic(const std::vector<double>& values, std::size_t i, std::int32_t w,
                  std::array<double, 3>& out) {
    const std::size_t n = values.size();
    const std::size_t lo = i > static_cast<std::size_t>(w) ? i - static_cast<std::size_t>(w) : 0;
    const std::size_t hi = std::min(n - 1, i + static_cast<std::size_t>(w));
    double s[5] = {0, 0, 0, 0, 0};
    double t[3] = {0, 0, 0};
    for (std::size_t j = lo; j <= hi; ++j) {
        const double u = static_cast<double>(j) - static_cast<double>(i);
        const double u2 = u * u;
        s[0] += 1;
        s[1] += u;
        s[2] += u2;
        s[3] += u2 * u;
        s[4] += u2 * u2;
        t[0] += values[j];
        t[1] += u * values[j];
        t[2] += u2 * values[j];
    }
    const double a[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
    const auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    for (int k = 0; k < 3; ++k) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) m[r][c] = c == k ? t[r] : a[r][c];
        out[static_cast<std::size_t>(k)] = d == 0 ? 0 : det(m) / d;
    }
    out[2] *= 2;
}

SmoothTrack smooth(const std::vector<double>& first, const std::vector<double>& second,
                   std::int32_t w, bool fromHeadings) {
    SmoothTrack s;
    const std::size_t n = first.size();
    s.first.resize(n);
    s.second.resize(n);
    s.heading.resize(n);
    s.curvature.resize(n);
    std::array<double, 3> a{};
    std::array<double, 3> b{};
    double previous = 0;
    for (std::size_t i = 0; i < n; ++i) {
        fitQuadratic(first, i, w, a);
        fitQuadratic(second, i, w, b);
        s.first[i] = a[0];
        s.second[i] = b[0];
        // Clockwise from the second axis, unwrapped along the track.
        double heading = std::atan2(a[1], b[1]);
        if (i > 0) heading = previous + std::remainder(heading - previous, 2 * kPi);
        s.heading[i] = previous = heading;
        const double speed2 = a[1] * a[1] + b[1] * b[1];
        s.curvature[i] = speed2 == 0 ? 0 : (b[1] * a[2] - a[1] * b[2]) / std::pow(speed2, 1.5);
    }
    if (!fromHeadings) return s;
    // On scattered points, the curvature as the heading's change over the window, per metre of
    // the smoothed track: the fit's second derivative would carry ten times the scatter.
    std::vector<double> along(n, 0.0);
    for (std::size_t i = 1; i < n; ++i)
        along[i] =
            along[i - 1] + std::hypot(s.first[i] - s.first[i - 1], s.second[i] - s.second[i - 1]);
    const auto half = static_cast<std::size_t>(w);
    // Near the ends the fits see one side only and their headings scatter most: there the
    // curvature and heading carry on from the first and last metres that a whole window holds.
    const bool longEnough = n > 4 * half + 1;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t c = longEnough ? std::clamp(i, 2 * half, n - 1 - 2 * half) : i;
        const std::size_t lo = c > half ? c - half : 0;
        const std::size_t hi = std::min(n - 1, c + half);
        const double span = along[hi] - along[lo];
        s.curvature[i] = span > 0 ? (s.heading[hi] - s.heading[lo]) / span : 0;
    }
    if (!longEnough) return s;
    // A metre of scattered points is shorter on the smoothed track.
    const double startStep = (along[2 * half] - along[half]) / static_cast<double>(half);
    const double endStep =
        (along[n - 1 - half] - along[n - 1 - 2 * half]) / static_cast<double>(half);
    for (std::size_t i = half; i-- > 0;) {
        s.heading[i] = s.heading[i + 1] - s.curvature[half] * startStep;
        const double h = (s.heading[i] + s.heading[i + 1]) / 2;
        s.first[i] = s.first[i + 1] - std::sin(h) * startStep;
        s.second[i] = s.second[i + 1] - std::cos(h) * startStep;
    }
    for (std::size_t i = n - half; i < n; ++i) {
        s.heading[i] = s.heading[i - 1] + s.curvature[n - 1 - half] * endStep;
        const double h = (s.heading[i] + s.heading[i - 1]) / 2;
        s.first[i] = s.first[i - 1] + std::sin(h) * endStep;
        s.second[i] = s.second[i - 1] + std::cos(h) * endStep;
    }
    return s;
}

double scatter(const std::vector<double>& first, const std::vector<double>& second,
               const SmoothTrack& s) {
    double sum = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        sum += std::pow(first[i] - s.first[i], 2) + std::pow(second[i] - s.second[i], 2);
    return std::sqrt(sum / static_cast<double>(first.size()));
}

// Signed curvature levels: 0, then the classes' right (+) and left (-).
double levelCurvature(int level) {
    if (level == 0) return 0;
    const double k = kCurveTurns[std::abs(level) - 1];
    return level > 0 ? k : -k;
}

int nearestLevel(double wanted, double straight) {
    int best = 0;
    for (int level = -6; level <= 6; ++level)
        if (std::abs(wanted - levelCurvature(level)) < std::abs(wanted - levelCurvature(best)))
            best = level;
    return std::abs(wanted) < straight ? 0 : best;
}

}  // namespace

void PlanFrame::toPlan(double east, double north, double& first, double& second) const {
    const double e = east - originEast;
    const double n = north - originNorth;
    first = e * std::cos(bearing) - n * std::sin(bearing);
    second = e * std::sin(bearing) + n * std::cos(bearing);
}

CurveChoice chooseCurves(const PlaneTrack& track) {
    CurveChoice choice;
    const std::size_t n = track.east.size();
    SmoothTrack s = smooth(track.east, track.north, kNarrowWindow, false);
    choice.smoothing = kNarrowWindow;
    if (scatter(track.east, track.north, s) > kNoisyScatter) {
        s = smooth(track.east, track.north, kWideWindow, true);
        choice.noisy = true;
        choice.smoothing = kWideWindow;
    }
    // The plan starts on the smoothed start, along the smoothed start heading.
    choice.frame = {s.first[0], s.second[0], s.heading[0]};
    for (std::size_t i = 0; i < n; ++i) {
        double f = 0, g = 0;
        choice.frame.toPlan(s.first[i], s.second[i], f, g);
        s.first[i] = f;
        s.second[i] = g;
        s.heading[i] -= choice.frame.bearing;
    }
    // Steering like a second-order loop that settles over about `reach` metres.
    const double reach = choice.noisy ? 400.0 : 80.0;
    // On scattered points the wanted curvature carries the fits' noise through the gains, so a
    // class 1 curve is laid only when asked for above 0.00007 per metre (a radius of 14 km).
    const double straight = choice.noisy ? kNoisyStraightThreshold : kStraightThreshold;
    const double headingGain = 2 / reach;
    const double offsetGain = 1 / (reach * reach);
    const std::int32_t shortestRun = choice.noisy ? 40 : 20;

    const auto last = static_cast<std::int32_t>(n) - 1;
    double first2 = 0, first1 = 0, second2 = 0, second1 = 1;
    std::size_t j = 0;
    int level = 0;
    int previousLevel = 0;
    std::int32_t runStart = 2;
    const auto close = [&](std::int32_t end) {
        if (level != 0)
            choice.records.push_back({runStart - 1, end - runStart, std::abs(level), level < 0});
    };
    std::int32_t m = 2;
    for (; m <= last; ++m) {
        const auto distance2 = [&](std::size_t k) {
            return std::pow(s.first[k] - first1, 2) + std::pow(s.second[k] - second1, 2);
        };
        while (j + 1 < n && distance2(j + 1) <= distance2(j)) ++j;
        if (j + 1 >= n) break;
        const double d0 = first1 - first2;
        const double d1 = second1 - second2;
        const double stepLength = std::hypot(d0, d1);
        const double planHeading = std::atan2(d0, d1);
        const double headingError = std::remainder(s.heading[j] - planHeading, 2 * kPi);
        const double offset = (s.first[j] - first1) * std::cos(s.heading[j]) -
                              (s.second[j] - second1) * std::sin(s.heading[j]);
        const double wanted =
            stepLength * s.curvature[j] + headingGain * headingError + offsetGain * offset;
        const int next = nearestLevel(wanted, straight);
        // A ramp goes on at once; turning back waits out the shortest run, or an alternation
        // would make a record every metre.
        const bool ramp = (next - level) * (level - previousLevel) > 0;
        if (next != level && (level == 0 || ramp || m - runStart >= shortestRun)) {
            close(m);
            previousLevel = level;
            level = next;
            runStart = m;
        }
        double first = 0, second = 0;
        if (level == 0)
            planStep<false>(first2, first1, second2, second1, 0.0, first, second);
        else
            planStep<true>(first2, first1, second2, second1, levelCurvature(level), first, second);
        first2 = first1;
        first1 = first;
        second2 = second1;
        second1 = second;
    }
    close(m);
    return choice;
}

}  // namespace scenario
