// Traction by force, power and adhesion; resistance and grade per kN of weight; braking by the
// braked-mass conversion, capped by the planning deceleration.
#include "tool/timing/train_forces.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario::timing {
namespace {

constexpr SpeedBand kBands[] = {
    {100, 0.0663, 4.72e-3, 6.1e-5, -6.3e-7},
    {120, 0.13, 5.14e-3, -4.54e-6, 2.73e-7},
    {150, 0.0479, 5.81e-3, -6.76e-6, 5.58e-8},
    {180, 0.048, 5.52e-3, -3.85e-6, 3e-8},
    {std::numeric_limits<double>::infinity(), 0.0559, 5.06e-3, 1.66e-6, 3.23e-9},
};

constexpr double kLowestConvertedLambda = kConvertedLambdas.lowest;
constexpr double kHighestConvertedLambda = kConvertedLambdas.highest;
constexpr double kHighestEffectiveLambda = kConvertedLambdas.effective;

double convertedDeceleration(double lambda, double kmh, double constantUpTo) {
    if (kmh <= constantUpTo) return 0.0075 * lambda + 0.076;
    for (const SpeedBand& band : kBands)
        if (kmh <= band.upTo)
            return band.a0 + lambda * (band.a1 + lambda * (band.a2 + lambda * band.a3));
    return 0;  // not reached: the last band has no end
}

}  // namespace

std::span<const SpeedBand> brakingBands() {
    return kBands;
}

double brakedMassSpeedLimit(double lambda) {
    return 16.85 * std::pow(lambda, 0.428);
}

double brakedMassDeceleration(double lambda, double kmh) {
    return convertedDeceleration(lambda, kmh, brakedMassSpeedLimit(lambda));
}

Train::Train(const Stock& s, std::int32_t carCount, std::int32_t lambda)
    : mass(1000.0 * (s.locomotiveMassT + std::max(carCount, 0) * s.carMassT)),
      length(s.locomotiveLengthM + std::max(carCount, 0) * s.carLengthM),
      adhesionMass(1000.0 * s.locomotiveMassT),
      inertia(mass * (1.0 + s.rotatingMass)),
      cars(std::max(carCount, 0)),
      brakedMass(lambda),
      stock(s),
      convertedLambda(lambda >= kLowestConvertedLambda && lambda <= kHighestConvertedLambda
                          ? std::min<double>(lambda, kHighestEffectiveLambda)
                          : 0),
      constantBrakingUpTo(convertedLambda > 0 ? brakedMassSpeedLimit(convertedLambda) : 0) {}

double Train::tractiveForce(double v, double adhesion) const {
    const double kmh = 3.6 * v;
    const double grip = (0.161 + 7.5 / (kmh + 44.0)) * (adhesion == 0 ? 100.0 : adhesion) / 100.0;
    double force = std::min(1000.0 * stock.maxForceKn, grip * adhesionMass * kGravity);
    if (v > 0) force = std::min(force, 1000.0 * stock.powerKw / v);
    return force;
}

double Train::resistance(double v) const {
    const double kmh = 3.6 * v;
    return mass * kGravity *
           (stock.resistanceA + stock.resistanceB * kmh + stock.resistanceC * kmh * kmh) / 1000.0;
}

double Train::brakingDeceleration(double v, double grade) const {
    double brakes = stock.serviceDeceleration;
    if (convertedLambda > 0)
        brakes =
            std::min(brakes, convertedDeceleration(convertedLambda, 3.6 * v, constantBrakingUpTo));
    return brakes + (resistance(v) + gradeForce(grade)) / inertia;
}

}  // namespace scenario::timing
