// What typing and turning a knob may store in a device's sweep settings.
#include "engine/DDSDevice.h"
#include "engine/SweepRules.h"

#include <gtest/gtest.h>

using F = CSweepRules::Field;

// No span (or a negative one) never makes a step that stalls or runs downwards. A speed shows
// as clamped and is stored in whole milliseconds.
TEST(SweepRules, TypedValuesAreClampedPerField) {
    // Field, start, end, typed, shown, stored.
    const std::tuple<F, double, double, double, double, double> rows[] = {
        {F::FIELD_START, 1000, 1e5, 5, 20, 20},
        {F::FIELD_END, 1000, 1e5, 2e5, 1e5, 1e5},
        {F::FIELD_SPEED, 1000, 1e5, 99.9, 99.9, 99},
        {F::FIELD_SPEED, 1000, 1e5, 0.5, 1, 1},
        {F::FIELD_SPEED, 1000, 1e5, 3600000, 3600000, 3600000},
        {F::FIELD_SPEED, 1000, 1e5, 4e6, 100, 100},
        {F::FIELD_STEP, 1000, 2000, 0, 1, 1},
        {F::FIELD_STEP, 1000, 2000, 5000, 1000, 1000},
        {F::FIELD_STEP, 3000, 3000, 10, 1, 1},
        {F::FIELD_STEP, 5000, 2000, -4, 1, 1},
    };
    for (const auto& [field, start, end, typed, shown, stored] : rows) {
        CDDSDevice device;
        device.m_dSweepStart = start;
        device.m_dSweepEnd = end;
        EXPECT_EQ(CSweepRules::Limit(device, field, typed), shown) << field << " " << typed;
        EXPECT_EQ(CSweepRules::Enter(device, field, typed), stored) << field << " " << typed;
    }
}

// Two checks in turn: exactly half a turn, either way, counts forward.
TEST(SweepRules, KnobCountsTheShortWayAcrossItsZeroMark) {
    // Angle before, angle now, counted.
    const std::tuple<double, double, double> rows[] = {
        {0.0, 1.57, 250.0},
        {0.0, 3.14, 500.0},
        {3.14, 0.0, 500.0},
        {6.2, 0.1, 0.18 * CSweepRules::kUnitsPerRadian},  // forward across zero
        {0.1, 6.2, -0.18 * CSweepRules::kUnitsPerRadian}, // backward across zero
        {4.0, 0.5, 2.78 * CSweepRules::kUnitsPerRadian},
    };
    for (auto [previous, angle, delta] : rows) {
        EXPECT_NEAR(CSweepRules::KnobDelta(angle, previous), delta, 1e-9) << angle;
        EXPECT_EQ(previous, angle);
    }
}

TEST(SweepRules, EachKnobTruncatesAndStopsAtItsOwnLimits) {
    // Field, turned by, stored.
    const std::tuple<F, double, double> rows[] = {
        {F::FIELD_START, 250.7, 1250}, {F::FIELD_START, 1500, 2000}, {F::FIELD_START, -1500.2, 0},
        {F::FIELD_END, 0.4, 2000.4},   {F::FIELD_END, -1500, 1000},  {F::FIELD_END, 200000, 100000},
        {F::FIELD_SPEED, 10.9, 110},   {F::FIELD_SPEED, -500, 1},    {F::FIELD_STEP, 5.9, 15},
        {F::FIELD_STEP, -20, 1},       {F::FIELD_STEP, 2000, 2010}, // not held to the span
    };
    for (const auto& [field, delta, stored] : rows) {
        CDDSDevice device;
        device.m_dSweepStart = 1000.0;
        device.m_dSweepEnd = 2000.0;
        device.m_dSweepStep = 10.5;
        EXPECT_DOUBLE_EQ(CSweepRules::Turn(device, field, delta), stored) << field << " " << delta;
    }
}
