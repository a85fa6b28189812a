// The point calibration core stepped through its stages by tables of live values.
#include "calib/CalibratorCore.h"

#include "tests/calib/CFakeLiveValues.h"
#include "tests/calib/CLiveNoise.h"
#include "tests/calib/CLogCapture.h"
#include "tests/calib/CTestClock.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The live values of one polling cycle.
struct Cycle {
    int fuel = kFuelPetrol;
    int temperatureC = 80;
    int rpm = 2000;
    int injectionUs = 4000;
    int lambda = kLambdaSettled;
    int probeMv = 500;
    int lambdaMode = 0;
};

Cycle OnGas(Cycle c) {
    c.fuel = kFuelGas;
    return c;
}

class PointCore : public ::testing::Test {
protected:
    PointCore() { core.SetClock(clock); }

    int Step(const Cycle& c, int percent = 0) {
        live.SetFuel(c.fuel);
        live.SetByte(kElementTemperature, static_cast<BYTE>(c.temperatureC));
        live.SetWord(kElementEngineSpeed, c.rpm);
        live.SetInjectionUs(c.injectionUs);
        live.SetByte(kElementLambdaState, c.lambda);
        live.SetWord(kElementProbeVoltage, c.probeMv);
        live.SetByte(kElementLambdaMode, c.lambdaMode);
        clock.Advance(100);
        return core.CycleStateMachine(live, percent);
    }

    void Start(int rpm = 2000, double ms = 4.0, int lambdaCheck = 1) {
        core.SetLambdaCheck(lambdaCheck);
        core.SetTargetRevs(rpm);
        core.SetTargetInjection(ms);
        core.SetState(CalibratorCore::kStateStart);
        ASSERT_EQ(CalibratorCore::kCodeInitDone, Step(Cycle{}));
    }

    // Steps the cycle until the code differs from `whileCode`; the code and the steps taken.
    std::pair<int, int> StepWhile(const Cycle& c, int whileCode, int percent = 0, int limit = 1000) {
        for (int steps = 1; steps <= limit; ++steps) {
            const int code = Step(c, percent);
            if (code != whileCode) {
                return {code, steps};
            }
        }
        return {whileCode, limit};
    }

    // From a fresh start through the petrol stage and the switch to gas.
    void RunToGas(const Cycle& petrol) {
        Start(petrol.rpm, petrol.injectionUs * 0.001);
        ASSERT_EQ(CalibratorCore::kCodePetrolDone,
                  StepWhile(petrol, CalibratorCore::kCodeMeasuringPetrol).first);
        ASSERT_EQ(CalibratorCore::kCodeMeasuringGas, Step(OnGas(petrol)));
    }

    CFakeLiveValues live;
    CTestClock clock;
    CalibratorCore core;
    CLogCapture log;
};

}  // namespace

TEST_F(PointCore, MeasurementCountFollowsTheLineBetweenTheClamps) {
    struct Row {
        const char* name;
        int at600, at4000, minimum, maximum, rpm, expected;
    };

    const Row rows[] = {
        {"defaults at 600", 40, 10, 10, 256, 600, 40},
        {"defaults at 4000", 40, 10, 10, 256, 4000, 10},
        {"defaults at 2000", 40, 10, 10, 256, 2000, 27},
        {"defaults below 600", 40, 10, 10, 256, 200, 43},
        {"above 4000 clamps to the minimum", 40, 10, 10, 256, 6000, 10},
        {"edited count at 600", 50, 10, 10, 256, 600, 50},
        {"maximum clamps", 300, 10, 10, 256, 600, 256},
        {"minimum above maximum", 40, 10, 20, 5, 600, 5},
        {"zero counts still measure one sample", 0, 0, 0, 0, 2000, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CalibratorCore::Parameters& p = core.GetParameters();
        p.measurementsAt600 = row.at600;
        p.measurementsAt4000 = row.at4000;
        p.minMeasurements = row.minimum;
        p.maxMeasurements = row.maximum;
        core.UpdateMeasurementLine();
        EXPECT_EQ(row.expected, core.GetMeasurementCount(row.rpm));
    }
}

TEST_F(PointCore, RunsPetrolThenGasAndTurnsTheRatioIntoAPercent) {
    Start();
    EXPECT_EQ(27, core.GetCounter());
    const Cycle petrol;
    const auto petrolDone = StepWhile(petrol, CalibratorCore::kCodeMeasuringPetrol);
    EXPECT_EQ(CalibratorCore::kCodePetrolDone, petrolDone.first);
    EXPECT_EQ(27, petrolDone.second);
    EXPECT_EQ(CalibratorCore::kStateWaitGas, core.GetState());
    EXPECT_EQ(2000, core.GetPetrolResult().averageRpm);
    EXPECT_DOUBLE_EQ(4.0, core.GetPetrolResult().averageMs);

    // The unit still changes over: nothing to do.
    Cycle changing = petrol;
    changing.fuel = 170;
    EXPECT_EQ(CalibratorCore::kCodeNothing, Step(changing, 10));
    EXPECT_EQ(CalibratorCore::kStateWaitGas, core.GetState());

    Cycle gas = OnGas(petrol);
    gas.injectionUs = 4200;
    EXPECT_EQ(CalibratorCore::kCodeMeasuringGas, Step(gas, 10));
    const auto gasDone = StepWhile(gas, CalibratorCore::kCodeMeasuringGas, 10);
    EXPECT_EQ(CalibratorCore::kCodeResult, gasDone.first);
    // The counter plus twenty samples before the slope is judged.
    EXPECT_EQ(27 + 20, gasDone.second);
    EXPECT_EQ(CalibratorCore::kStateFinished, core.GetState());
    EXPECT_EQ(15, core.GetResultPercent());
    EXPECT_EQ(15, core.GetRawPercent());

    // A finished core waits for the dialog.
    EXPECT_EQ(CalibratorCore::kCodeNothing, Step(gas, 10));
}

TEST_F(PointCore, ResultHonoursDeadBandDistortionAndLimits) {
    struct Row {
        const char* name;
        int petrolUs, gasUs, percent, distortion, expectedCode, expectedResult;
    };

    const Row rows[] = {
        {"inside the dead band keeps the percent", 4000, 4040, 10, 0, 4, 10},
        {"below the dead band", 4000, 3940, 10, 0, 4, 8},
        {"ratio with distortion off", 4000, 4200, 10, 0, 4, 15},
        {"tanh absolute", 4000, 6000, 0, 1, 4, 46},
        {"tanh relative", 4000, 6000, 10, 2, 4, 56},
        {"-99 accepted", 4000, 2000, -49, 0, 4, -99},
        {"-100 aborts", 4000, 2000, -50, 0, 2, -100},
        {"99 accepted", 4000, 6000, 49, 0, 4, 99},
        {"100 aborts", 4000, 6000, 50, 0, 3, 100},
        {"dead band still meets the limit", 4000, 4000, 100, 0, 3, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        core.GetParameters().distortionMode = row.distortion;
        Cycle petrol;
        petrol.injectionUs = row.petrolUs;
        RunToGas(petrol);
        Cycle gas = OnGas(petrol);
        gas.injectionUs = row.gasUs;
        EXPECT_EQ(row.expectedCode, StepWhile(gas, CalibratorCore::kCodeMeasuringGas, row.percent).first);
        EXPECT_EQ(row.expectedResult, core.GetResultPercent());
        const int expectedState = row.expectedCode == CalibratorCore::kCodeResult
                                      ? CalibratorCore::kStateFinished
                                      : CalibratorCore::kStateStopped;
        EXPECT_EQ(expectedState, core.GetState());
    }
}

TEST_F(PointCore, ZeroPetrolInjectionTimeStopsWithoutAResult) {
    struct Row {
        const char* name;
        int gasUs, percent, distortion;
    };

    // Without a petrol time the ratio is 0/0 or unbounded; neither may reach the map.
    const Row rows[] = {
        {"no injection in either stage", 0, 10, 0},
        {"gas injection, relative distortion", 4000, -5, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        core.GetParameters().distortionMode = row.distortion;
        Cycle petrol;
        petrol.injectionUs = 0;
        Start(2000, 0.0);
        ASSERT_EQ(CalibratorCore::kCodePetrolDone,
                  StepWhile(petrol, CalibratorCore::kCodeMeasuringPetrol).first);
        Cycle gas = OnGas(petrol);
        ASSERT_EQ(CalibratorCore::kCodeMeasuringGas, Step(gas));
        gas.injectionUs = row.gasUs;
        EXPECT_EQ(CalibratorCore::kCodeAboveMaximum,
                  StepWhile(gas, CalibratorCore::kCodeMeasuringGas, row.percent).first);
        EXPECT_EQ(CalibratorCore::kStateStopped, core.GetState());
    }
}

TEST_F(PointCore, ZeroMeasurementCountsStillAverageOneSample) {
    CalibratorCore::Parameters& p = core.GetParameters();
    p.measurementsAt600 = p.measurementsAt4000 = p.minMeasurements = p.maxMeasurements = 0;
    core.UpdateMeasurementLine();
    Cycle petrol;
    RunToGas(petrol);
    EXPECT_EQ(1, core.GetCounter());
    Cycle gas = OnGas(petrol);
    gas.injectionUs = 4400;
    EXPECT_EQ(CalibratorCore::kCodeResult, StepWhile(gas, CalibratorCore::kCodeMeasuringGas, 0).first);
    EXPECT_EQ(10, core.GetResultPercent());
}

TEST_F(PointCore, PetrolStageRestartsOnEveryInvalidatingCondition) {
    struct Row {
        const char* name;
        Cycle bad;
        int expectedCode;
    };

    Cycle notPetrol;
    notPetrol.fuel = kFuelGas;
    Cycle cold;
    cold.temperatureC = 69;
    Cycle fast;  // averaged with the two newest samples of 2000: exactly the upper bound
    fast.rpm = 2300;
    Cycle slow;
    slow.rpm = 1700;
    Cycle longInjection;  // the window of 100 % reaches twice the target, bound excluded
    longInjection.injectionUs = 8000;
    const Row rows[] = {
        {"not on petrol", notPetrol, CalibratorCore::kCodeNotOnPetrol},
        {"too cold", cold, CalibratorCore::kCodeTooCold},
        {"speed average at the upper bound", fast, CalibratorCore::kCodeRevsOutside},
        {"speed average at the lower bound", slow, CalibratorCore::kCodeRevsOutside},
        {"injection time at the window's bound", longInjection, CalibratorCore::kCodeInjectionOutside},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(Cycle{}));
        }
        EXPECT_EQ(row.expectedCode, Step(row.bad));
        EXPECT_EQ(CalibratorCore::kStatePetrol, core.GetState());
        // The samples were dropped: a whole counter of fresh samples is needed.
        EXPECT_EQ(27, StepWhile(Cycle{}, CalibratorCore::kCodeMeasuringPetrol).second);
    }
}

TEST_F(PointCore, AcceptsValuesJustInsideTheWindows) {
    Start();
    Cycle warmEnough;
    warmEnough.temperatureC = 70;
    EXPECT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(warmEnough));
    Cycle nearTop;  // (2299 + 2000 + 2000) / 3 = 2099
    Step(Cycle{});
    nearTop.rpm = 2299;
    EXPECT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(nearTop));
    Cycle longButInside;
    longButInside.injectionUs = 7990;
    EXPECT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(longButInside));
}

TEST_F(PointCore, PetrolLambdaFailureKeepsTheSamples) {
    Start();
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(Cycle{}));
    }
    Cycle unsettled;
    unsettled.lambda = 0;
    EXPECT_EQ(CalibratorCore::kCodeLambdaUnsettled, Step(unsettled));
    // The unsettled sample stays among the newest 21 (three quarters of 27, rounded up)
    // up to sample 25; it is not dropped, so the stage still ends at sample 27.
    std::vector<int> codes;
    for (int sample = 6; sample <= 27; ++sample) {
        codes.push_back(Step(Cycle{}));
    }
    const std::vector<int> expected = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
                                       15, 15, 15, 15, 15, 15, 15, 15, 15, 13, 5};
    EXPECT_EQ(expected, codes);
}

TEST_F(PointCore, LambdaTestCanBeSwitchedOffOrIgnored) {
    Cycle unsettled;
    unsettled.lambda = 0;
    Start(2000, 4.0, 0);
    EXPECT_EQ(CalibratorCore::kCodePetrolDone,
              StepWhile(unsettled, CalibratorCore::kCodeMeasuringPetrol).first);

    Start();
    EXPECT_EQ(CalibratorCore::kCodeLambdaUnsettled, Step(unsettled));
    core.SetLambdaIgnore(1);
    EXPECT_EQ(CalibratorCore::kCodePetrolDone,
              StepWhile(unsettled, CalibratorCore::kCodeMeasuringPetrol).first);
}

TEST_F(PointCore, GasLambdaTestChecksStateOrVoltageBandAndClears) {
    struct Row {
        const char* name;
        int lambdaMode, lambda, probeMv;
        bool passes;
    };

    // Petrol ran at 500 mV: the band is [462.5; 537.5] mV.
    const Row rows[] = {
        {"settled state", 0, kLambdaSettled, 100, true},
        {"unsettled state", 0, 0, 500, false},
        {"voltage at the band's low end", 4, 0, 463, true},
        {"voltage below the band", 4, kLambdaSettled, 462, false},
        {"voltage at the band's high end", 4, 0, 537, true},
        {"voltage above the band", 4, kLambdaSettled, 538, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunToGas(Cycle{});
        Cycle gas = OnGas(Cycle{});
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(CalibratorCore::kCodeMeasuringGas, Step(gas));
        }
        gas.lambdaMode = row.lambdaMode;
        gas.lambda = row.lambda;
        gas.probeMv = row.probeMv;
        if (row.passes) {
            EXPECT_EQ(CalibratorCore::kCodeMeasuringGas, Step(gas));
            continue;
        }
        EXPECT_EQ(CalibratorCore::kCodeLambdaUnsettled, Step(gas));
        // Cleared: a full gas stage of fresh samples follows.
        EXPECT_EQ(27 + 20, StepWhile(OnGas(Cycle{}), CalibratorCore::kCodeMeasuringGas).second);
    }
}

TEST_F(PointCore, UnstableSpeedIsReportedWhileTheSamplesStay) {
    Start();
    Cycle low;
    low.rpm = 1950;
    Cycle high;
    high.rpm = 2050;
    // A spread of exactly the stability value is stable.
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(low));
        ASSERT_EQ(CalibratorCore::kCodeMeasuringPetrol, Step(high));
    }
    Cycle tooHigh;
    tooHigh.rpm = 2051;
    EXPECT_EQ(CalibratorCore::kCodeRevsUnstable, Step(tooHigh));
    // Unstable until the 2051 reading leaves the newest ten samples.
    EXPECT_EQ(std::make_pair(int{CalibratorCore::kCodeMeasuringPetrol}, 10),
              StepWhile(low, CalibratorCore::kCodeRevsUnstable));
    // The samples measured before stayed: 23 so far, the stage ends at 27.
    EXPECT_EQ(std::make_pair(int{CalibratorCore::kCodePetrolDone}, 4),
              StepWhile(low, CalibratorCore::kCodeMeasuringPetrol));
}

TEST_F(PointCore, GasStageWaitsUntilTheInjectionTimeLevelsOff) {
    struct Row {
        const char* name;
        int changeUsPerStep;
        bool finishes;
    };

    // tan 2 degrees = 0.0349 ms per sample.
    const Row rows[] = {
        {"falling slowly", -30, true},
        {"rising slowly", 30, true},
        {"falling fast", -40, false},
        {"rising fast", 40, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunToGas(Cycle{});
        Cycle gas = OnGas(Cycle{});
        int code = CalibratorCore::kCodeMeasuringGas;
        for (int i = 0; i < 60 && code == CalibratorCore::kCodeMeasuringGas; ++i) {
            gas.injectionUs += row.changeUsPerStep;
            code = Step(gas);
        }
        EXPECT_EQ(row.finishes, code == CalibratorCore::kCodeResult);
        if (!row.finishes) {
            // Once the time holds still, a counter of level samples passes the test.
            EXPECT_EQ(CalibratorCore::kCodeResult, StepWhile(gas, CalibratorCore::kCodeMeasuringGas).first);
        }
    }
}

TEST_F(PointCore, LosingGasStopsAndStoppedStatesDoNothing) {
    RunToGas(Cycle{});
    EXPECT_EQ(CalibratorCore::kCodeMeasuringGas, Step(OnGas(Cycle{})));
    EXPECT_EQ(CalibratorCore::kCodeGasLost, Step(Cycle{}));
    EXPECT_EQ(CalibratorCore::kStateStopped, core.GetState());
    for (int state :
         {CalibratorCore::kStateIdle, CalibratorCore::kStateFinished, CalibratorCore::kStateStopped, 3, 6}) {
        SCOPED_TRACE(state);
        core.SetState(state);
        EXPECT_EQ(CalibratorCore::kCodeNothing, Step(Cycle{}));
        EXPECT_EQ(state, core.GetState());
    }
}

TEST_F(PointCore, LogsEachStageWithItsValues) {
    CalibratorCore::Parameters& p = core.GetParameters();
    p.measurementsAt600 = p.measurementsAt4000 = p.minMeasurements = 3;
    p.stabilityMeasurements = 3;
    core.UpdateMeasurementLine();
    Start();
    Step(Cycle{});
    Cycle second;
    second.injectionUs = 4100;
    second.rpm = 2010;
    Step(second);
    ASSERT_EQ(CalibratorCore::kCodePetrolDone, Step(Cycle{}));
    Cycle gas = OnGas(Cycle{});
    gas.injectionUs = 4400;
    gas.probeMv = 450;
    ASSERT_EQ(CalibratorCore::kCodeResult, StepWhile(gas, CalibratorCore::kCodeMeasuringGas, 5).first);

    const std::vector<std::string> expected = {
        "CalibratorCore.CycleStateMachine(): [INIT]. target revs: 2000 1/min -> counter: 3.",
        "CalibratorCore.CycleStateMachine(): [BENZIN]. result: 2003 1/min <- [2000; 2010], "
        "4.0333 ms <- [4.0000; 4.1000], 0.5000 V <- [0.5000; 0.5000]. , { 4.0000; 4.1000; 4.0000 }",
        "CalibratorCore.CycleStateMachine(): [BENZIN]. tolerance: 0.0504 => [3.9829; 4.0838].",
        "CalibratorCore.CycleStateMachine(): [BENZIN]. elapsed time: 0.300 sec.",
        "CalibratorCore.CycleStateMachine(): [GAS]. result (at 5% (original: 0%)): 2000 1/min <- [2000; "
        "2000], "
        "4.4000 ms <- [4.4000; 4.4000], 0.4500 V <- [0.4500; 0.4500]. elapsed time: 2.300 sec. (0.00\xB0)  , "
        "{ 4.4000; 4.4000; 4.4000 }",
        "CalibratorCore.CycleStateMachine(): [RESULT]. result: 2003 1/min, 4.0333 ms -> 14%. elapsed time: "
        "2.700 sec.",
    };
    EXPECT_EQ(expected, log.MessagesStartingWith("CalibratorCore"));
}

TEST_F(PointCore, RestlessLiveValuesKeepCodesStatesAndResultsConsistent) {
    // The state each code leaves; -1 where the state stays.
    const std::map<int, int> stateAfter = {{0, -1}, {1, 8},  {2, 8},  {3, 8},  {4, 7},
                                           {5, 4},  {6, 2},  {7, -1}, {8, 5},  {9, 2},
                                           {10, 2}, {11, 2}, {12, 2}, {13, 2}, {15, -1}};
    CLiveNoise noise(1234);
    core.GetParameters().distortionMode = noise.Uniform(0, 2);
    int results = 0;
    for (int i = 0; i < 20000; ++i) {
        const int state = core.GetState();
        if (state == 0 || state == 7 || state == 8) {
            core.SetTargetRevs(2000);
            core.SetTargetInjection(noise.Chance(50) ? 4.0 : 0.0);
            core.SetLambdaCheck(noise.Uniform(0, 1));
            core.SetState(1);
        }
        noise.Fill(live);
        clock.Advance(static_cast<DWORD>(noise.Uniform(0, 300)));
        const int before = core.GetState();
        const int code = core.CycleStateMachine(live, noise.Uniform(-99, 99));
        ASSERT_EQ(1u, stateAfter.count(code)) << code;
        const int expected = stateAfter.at(code);
        ASSERT_EQ(expected < 0 ? before : expected, core.GetState()) << "code " << code;
        if (code == CalibratorCore::kCodeResult) {
            ++results;
            ASSERT_GT(core.GetResultPercent(), -100);
            ASSERT_LT(core.GetResultPercent(), 100);
        }
    }
    EXPECT_GT(results, 0);
}
