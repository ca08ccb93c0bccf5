// The forces on the train: traction, running resistance, grade, and braking by the conversion of
// the braked-mass percentage into a deceleration.
#pragma once

#include <cstdint>
#include <span>

#include "tool/timing/stock.h"

namespace scenario::timing {

inline constexpr double kGravity = 9.81;

// Above the speed up to which the braked-mass deceleration is constant, it is a cubic in lambda
// for each band of speed: a0 + a1 lambda + a2 lambda^2 + a3 lambda^3.
struct SpeedBand {
    double upTo;  // km/h
    double a0, a1, a2, a3;
};
std::span<const SpeedBand> brakingBands();
// Lambda outside [lowest, highest] brakes at the planning deceleration alone; above `effective`
// it counts as `effective`.
struct ConvertedLambdas {
    double lowest, highest, effective;
};
inline constexpr ConvertedLambdas kConvertedLambdas{30, 250, 135};

// The deceleration a train of braked-mass percentage `lambda` reaches at `kmh` on level track,
// m/s^2, before the planning limit.
double brakedMassDeceleration(double lambda, double kmh);
// The speed up to which that deceleration is constant, km/h.
double brakedMassSpeedLimit(double lambda);

struct Train {
    Train(const Stock& stock, std::int32_t cars, std::int32_t brakedMass);

    double mass;          // kg
    double length;        // m
    double adhesionMass;  // kg
    double inertia;       // the mass the forces accelerate, kg
    std::int32_t cars;
    std::int32_t brakedMass;  // lambda, %
    Stock stock;
    double convertedLambda;      // 0 where the planning deceleration alone applies
    double constantBrakingUpTo;  // km/h

    // At speed v (m/s) on a cell of adhesion `adhesion` (%) and a grade w (per mille, rising
    // positive), averaged over the train.
    double tractiveForce(double v, double adhesion) const;
    double resistance(double v) const;
    double gradeForce(double grade) const { return mass * kGravity * grade / 1000.0; }
    double acceleration(double v, double adhesion, double grade) const {
        return (tractiveForce(v, adhesion) - resistance(v) - gradeForce(grade)) / inertia;
    }
    // Full service braking: 0 or less where the brakes cannot hold the train.
    double brakingDeceleration(double v, double grade) const;
};

}  // namespace scenario::timing
