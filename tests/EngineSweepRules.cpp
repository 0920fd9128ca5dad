// What typing and turning a knob may store in a device's sweep settings.
#include "engine/DDSDevice.h"
#include "engine/SweepRules.h"

#include <gtest/gtest.h>

using F = CSweepRules::Field;

// No span (or a negative one) never makes a step that stalls or runs downwards.
TEST(SweepRules, TypedValuesAreClampedPerField) {
    const struct {
        F field;
        double start, end, typed, stored;
    } rows[] = {
        {F::FIELD_SPEED, 1000, 1e5, 99.9, 99},   {F::FIELD_SPEED, 1000, 1e5, 3600000, 3600000},
        {F::FIELD_SPEED, 1000, 1e5, 4e6, 100},   {F::FIELD_STEP, 1000, 2000, 0, 1},
        {F::FIELD_STEP, 1000, 2000, 5000, 1000}, {F::FIELD_STEP, 3000, 3000, 10, 1},
        {F::FIELD_STEP, 5000, 2000, -4, 1},
    };
    for (const auto& row : rows) {
        CDDSDevice device;
        device.m_dSweepStart = row.start;
        device.m_dSweepEnd = row.end;
        EXPECT_EQ(CSweepRules::Enter(device, row.field, row.typed), row.stored)
            << row.field << " " << row.typed;
    }
}

TEST(SweepRules, KnobCountsTheShortWayAcrossItsZeroMark) {
    const struct {
        double previous, angle, delta;
    } rows[] = {
        {0.0, 1.57, 250.0},
        {6.2, 0.1, 0.18 * CSweepRules::kUnitsPerRadian},  // forward across zero
        {0.1, 6.2, -0.18 * CSweepRules::kUnitsPerRadian}, // backward across zero
        {4.0, 0.5, 2.78 * CSweepRules::kUnitsPerRadian},
    };
    for (const auto& row : rows) {
        double previous = row.previous;
        EXPECT_NEAR(CSweepRules::KnobDelta(row.angle, previous), row.delta, 1e-9) << row.angle;
        EXPECT_EQ(previous, row.angle);
    }
}

TEST(SweepRules, EachKnobTruncatesAndStopsAtItsOwnLimits) {
    const struct {
        F field;
        double delta, stored;
    } rows[] = {
        {F::FIELD_START, 250.7, 1250}, {F::FIELD_START, 1500, 2000}, {F::FIELD_START, -1500.2, 0},
        {F::FIELD_END, 0.4, 2000.4},   {F::FIELD_END, -1500, 1000},  {F::FIELD_END, 200000, 100000},
        {F::FIELD_SPEED, 10.9, 110},   {F::FIELD_SPEED, -500, 1},    {F::FIELD_STEP, 5.9, 15},
        {F::FIELD_STEP, -20, 1},
    };
    for (const auto& row : rows) {
        CDDSDevice device;
        device.m_dSweepStart = 1000.0;
        device.m_dSweepEnd = 2000.0;
        device.m_dSweepStep = 10.5;
        EXPECT_DOUBLE_EQ(CSweepRules::Turn(device, row.field, row.delta), row.stored)
            << row.field << " " << row.delta;
    }
}
