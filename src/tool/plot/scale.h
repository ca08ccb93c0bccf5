// Axes for the route picture: a linear map from data to pixels and tick steps of 1, 2 or 5 times
// a power of ten, so that a 5 km route and a 1000 km route both get round kilometres.
#pragma once

#include <string>
#include <vector>

namespace scenario {

struct LinearScale {
    double dataFrom;
    double dataTo;
    double pixelFrom;
    double pixelTo;

    double operator()(double value) const {
        if (dataTo == dataFrom) return pixelFrom;
        return pixelFrom + (value - dataFrom) * (pixelTo - pixelFrom) / (dataTo - dataFrom);
    }
};

// A step of 1, 2 or 5 times a power of ten that cuts the span into about `count` parts.
double niceStep(double span, int count);

// The multiples of `step` from `from` to `to`.
std::vector<double> ticks(double from, double to, double step);

// A tick value as text, with no more decimals than the step needs.
std::string tickLabel(double value, double step);

}  // namespace scenario
