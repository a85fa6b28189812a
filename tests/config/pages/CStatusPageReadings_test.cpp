// What the live status strip computes: the lambda decision per sensor type, the pressure
// averages over the last cycles, and the injection times remembered per cylinder.
#include "config/CStatusPageReadings.h"

#include <gtest/gtest.h>

namespace {

TEST(CStatusPageReadings, LambdaIsRichAboveTheThresholdOrBelowItForInvertedSensors) {
    struct Case {
        int type;
        double volts;
        bool rich;
    };

    const Case cases[] = {
        {0, 0.49, false}, {0, 0.5, true},   {1, 2.49, false}, {1, 3.0, true},   {2, 2.49, true},
        {2, 2.5, false},  {3, 1.2, true},   {3, 1.19, false}, {4, 3.0, false},  {4, 2.44, true},
        {5, 0.45, true},  {5, 0.44, false}, {9, 2.5, true},   {-1, 2.4, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStatusPageReadings::IsRich(c.volts, c.type), c.rich)
            << c.type << " at " << c.volts << " V";
    }
}

TEST(CStatusPageReadings, PressuresAverageTheLast20CyclesAboveTheAtmosphere) {
    CStatusPageReadings readings;
    EXPECT_DOUBLE_EQ(readings.AverageEnginePressure(), 0.0);
    // 30 cycles: the first ten (engine 5000, gas 9000) must drop out.
    for (int i = 0; i < 10; ++i) {
        readings.AddPressureSample(5000, 9000);
    }
    for (int i = 0; i < 20; ++i) {
        readings.AddPressureSample(i % 2 == 0 ? 1300 : 1310, 2004);
    }
    EXPECT_EQ(readings.GetSampleCount(), 20u);
    EXPECT_NEAR(readings.AverageEnginePressure(), 0.31, 1e-9);  // 0.305 rounds up
    EXPECT_NEAR(readings.AverageGasPressure(), 1.0, 1e-9);      // 1.004 rounds down
    readings.ClearPressureSamples();
    readings.AddPressureSample(900, 1000);
    EXPECT_NEAR(readings.AverageEnginePressure(), -0.1, 1e-9);
    EXPECT_NEAR(CStatusPageReadings::GaugePressure(2345), 1.35, 1e-9);
}

TEST(CStatusPageReadings, RemembersOnlyPlausibleInjectionTimes) {
    CStatusPageReadings::ForgetInjectionTimes();
    const WORD petrol1[8] = {2000, 3000, 4000, 0, 0, 0, 0, 0};
    const WORD gas1[8] = {2500, 3500, 4500, 9999, 0, 0, 0, 0};
    CStatusPageReadings::RememberInjectionTimes(petrol1, gas1);
    EXPECT_NEAR(CStatusPageReadings::MeanRememberedPetrolMs(), 3.0, 1e-9);
    // Cylinder 4 has no petrol time: its gas time is taken with it.
    EXPECT_NEAR(CStatusPageReadings::MeanRememberedGasMs(), (2500 + 3500 + 4500 + 9999) / 4 * 0.001, 1e-9);

    // 500 us on cylinder 3 is no plausible time: cylinder 3 keeps what it had, gas included.
    const WORD petrol2[8] = {2000, 3000, 500, 0, 0, 0, 0, 0};
    const WORD gas2[8] = {2500, 3500, 100, 0, 0, 0, 0, 0};
    CStatusPageReadings::RememberInjectionTimes(petrol2, gas2);
    EXPECT_NEAR(CStatusPageReadings::MeanRememberedPetrolMs(), 3.0, 1e-9);
    EXPECT_NEAR(CStatusPageReadings::MeanRememberedGasMs(), 3.5, 1e-9);

    CStatusPageReadings::ForgetInjectionTimes();
    EXPECT_DOUBLE_EQ(CStatusPageReadings::MeanRememberedPetrolMs(), 0.0);
}

}  // namespace
