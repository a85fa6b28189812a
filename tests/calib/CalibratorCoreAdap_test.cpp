// The adaptive calibration core through its base and exchange measurements.
#include "calib/CalibratorCoreAdap.h"

#include "tests/calib/CFakeLiveValues.h"
#include "tests/calib/CLiveNoise.h"
#include "tests/calib/CLogCapture.h"
#include "tests/calib/CTestClock.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Cycle {
    int fuel = kFuelGas;
    int rpm = 2000;
    int injectionUs = 4000;
    int shortTrim1 = 0;
    int longTrim1 = 0;
    int status1 = 2;
    int validity = 0x0F;
};

Cycle WithTrim(int trim) {
    Cycle c;
    c.shortTrim1 = trim;
    return c;
}

class AdapCore : public ::testing::Test {
protected:
    AdapCore() { core.SetClock(clock); }

    int Step(const Cycle& c, int percent) {
        live.SetFuel(c.fuel);
        live.SetWord(kElementEngineSpeed, c.rpm);
        live.SetInjectionUs(c.injectionUs);
        live.SetBytes(kElementObdBlock, {static_cast<BYTE>(static_cast<signed char>(c.shortTrim1)),
                                         static_cast<BYTE>(static_cast<signed char>(c.longTrim1)), 0, 0, 0, 0,
                                         static_cast<BYTE>(c.validity), 0, static_cast<BYTE>(c.status1)});
        clock.Advance(500);
        return core.Step(live, percent);
    }

    void Start() {
        core.SetTargetRevs(2000);
        core.SetTargetInjection(4.0);
        core.SetState(CalibratorCoreAdap::kStateStart);
        ASSERT_EQ(CalibratorCoreAdap::kCodeStarted, Step(Cycle{}, 0));
    }

    // Steps the cycle while the core answers `whileCode`; the code and the steps taken.
    std::pair<int, int> StepWhile(const Cycle& c, int percent, int whileCode, int limit = 200) {
        for (int steps = 1; steps <= limit; ++steps) {
            const int code = Step(c, percent);
            if (code != whileCode) {
                return {code, steps};
            }
        }
        return {whileCode, limit};
    }

    CFakeLiveValues live;
    CTestClock clock;
    CalibratorCoreAdap core;
    CLogCapture log;
};

}  // namespace

TEST_F(AdapCore, BaseMeasurementOverTheTimeOfMeasureMovesThePercent) {
    Start();
    // Samples every 500 ms: the ninth spans 4000 ms.
    const auto base = StepWhile(WithTrim(9), 10, CalibratorCoreAdap::kCodeMeasuringBase);
    EXPECT_EQ(CalibratorCoreAdap::kCodeNewPercent, base.first);
    EXPECT_EQ(9, base.second);
    EXPECT_EQ(8, core.GetBase().trim);  // 95 % of 9, truncated
    EXPECT_EQ(18, core.GetResultPercent());
    EXPECT_EQ(CalibratorCoreAdap::kStateExchange, core.GetState());
    const std::vector<std::string> expected = {
        "CALIB_CORE_ADAP: [INIT]. 2000 1/min, 4.000 ms, use long: no.",
        "CALIB_CORE_ADAP: [BASE] used: 10 %, trim: 8 %.",
        "CALIB_CORE_ADAP: [BASE] new: 18 %.",
    };
    EXPECT_EQ(expected, log.MessagesStartingWith("CALIB_CORE_ADAP"));
}

TEST_F(AdapCore, SmallBaseTrimFinishesAtThePercentInEffect) {
    Start();
    EXPECT_EQ(CalibratorCoreAdap::kCodeFinished,
              StepWhile(WithTrim(-3), 10, CalibratorCoreAdap::kCodeMeasuringBase).first);
    EXPECT_EQ(10, core.GetResultPercent());
    EXPECT_EQ(2000, core.GetResultRpm());
    EXPECT_DOUBLE_EQ(4.0, core.GetResultMs());
    EXPECT_EQ(CalibratorCoreAdap::kStateFinished, core.GetState());
    EXPECT_EQ(CalibratorCoreAdap::kCodeNothing, Step(Cycle{}, 10));
}

TEST_F(AdapCore, ExchangeMeasurementExtrapolatesOrAborts) {
    struct Row {
        const char* name;
        int basePercent, baseSampleTrim, exchangeSampleTrim;
        int expectedCode, expectedPercent, expectedState;
    };

    const Row rows[] = {
        {"exchange trim within the dead band", 10, 9, 3, 9, 18, 6},
        {"half the reaction doubles the move", 10, 9, 5, 9, 26, 6},
        {"no reaction", 10, 9, 9, 11, 18, 5},
        {"wrong reaction", 10, 9, 11, 12, 18, 5},
        {"beyond the maximum", 50, 43, 11, 14, 103, 5},
        {"beyond the minimum", -50, -43, -11, 13, -103, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        ASSERT_EQ(
            CalibratorCoreAdap::kCodeNewPercent,
            StepWhile(WithTrim(row.baseSampleTrim), row.basePercent, CalibratorCoreAdap::kCodeMeasuringBase)
                .first);
        const int moved = core.GetResultPercent();
        EXPECT_EQ(row.expectedCode, StepWhile(WithTrim(row.exchangeSampleTrim), moved,
                                              CalibratorCoreAdap::kCodeMeasuringExchange)
                                        .first);
        EXPECT_EQ(row.expectedPercent, core.GetResultPercent());
        EXPECT_EQ(row.expectedState, core.GetState());
    }
}

TEST_F(AdapCore, ExtrapolatesSpeedAndInjectionTimeWithTheSameFactor) {
    Start();
    ASSERT_EQ(CalibratorCoreAdap::kCodeNewPercent,
              StepWhile(WithTrim(9), 10, CalibratorCoreAdap::kCodeMeasuringBase).first);
    Cycle exchange = WithTrim(5);
    exchange.rpm = 2040;
    exchange.injectionUs = 4200;
    ASSERT_EQ(CalibratorCoreAdap::kCodeFinished,
              StepWhile(exchange, 18, CalibratorCoreAdap::kCodeMeasuringExchange).first);
    // K = 8 / (8 - 4) = 2.
    EXPECT_EQ(26, core.GetResultPercent());
    EXPECT_EQ(2080, core.GetResultRpm());
    EXPECT_NEAR(4.4, core.GetResultMs(), 1e-9);
    const std::vector<std::string> finished = log.MessagesStartingWith("CALIB_CORE_ADAP: [FINISHED]");
    EXPECT_EQ(std::vector<std::string>{"CALIB_CORE_ADAP: [FINISHED] 26 %."}, finished);
    EXPECT_EQ(9u, log.MessagesStartingWith("CALIB_CORE_ADAP: [XCHG][LIST] ").size());
}

TEST_F(AdapCore, WrongReactionIsLoggedWithItsFactor) {
    Start();
    StepWhile(WithTrim(9), 10, CalibratorCoreAdap::kCodeMeasuringBase);
    StepWhile(WithTrim(11), 18, CalibratorCoreAdap::kCodeMeasuringExchange);
    EXPECT_EQ(std::vector<std::string>{"CALIB_CORE_ADAP: [ABORT] wrong reaction. 8 % => 10 % (K == -4.000)"},
              log.MessagesStartingWith("CALIB_CORE_ADAP: [ABORT]"));
}

TEST_F(AdapCore, ExchangeWaitsForASteadyTrim) {
    Start();
    ASSERT_EQ(CalibratorCoreAdap::kCodeNewPercent,
              StepWhile(WithTrim(9), 10, CalibratorCoreAdap::kCodeMeasuringBase).first);
    // A trim still falling by 1 % per 500 ms is not steady.
    Cycle c = WithTrim(30);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(CalibratorCoreAdap::kCodeMeasuringExchange, Step(c, 18));
        --c.shortTrim1;
    }
    // Once it holds, the window of 4000 ms (nine samples) must hold the steady value only.
    c.shortTrim1 = 5;
    const auto done = StepWhile(c, 18, CalibratorCoreAdap::kCodeMeasuringExchange);
    EXPECT_EQ(CalibratorCoreAdap::kCodeFinished, done.first);
    EXPECT_EQ(9, done.second);
}

TEST_F(AdapCore, BaseStageRefusesAPointOutsideItsWindows) {
    struct Row {
        const char* name;
        Cycle bad;
        int expectedCode;
    };

    Cycle fast;  // the average over the samples reaches the upper bound
    fast.rpm = 2100 * 2 - 2000;
    Cycle longInjection;
    longInjection.injectionUs = 8000 * 2 - 4000;
    const Row rows[] = {
        {"speed average at the bound", fast, CalibratorCoreAdap::kCodeRevsOutside},
        {"injection average at the bound", longInjection, CalibratorCoreAdap::kCodeInjectionOutside},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        ASSERT_EQ(CalibratorCoreAdap::kCodeMeasuringBase, Step(Cycle{}, 0));
        EXPECT_EQ(row.expectedCode, Step(row.bad, 0));
        EXPECT_EQ(CalibratorCoreAdap::kStateBase, core.GetState());
        // Cleared: the base needs its whole time again.
        EXPECT_EQ(9, StepWhile(Cycle{}, 0, CalibratorCoreAdap::kCodeMeasuringBase).second);
    }
}

TEST_F(AdapCore, AbortsOnGasOrObdLossAndWaitsForClosedLoop) {
    Start();
    Cycle openLoop;
    openLoop.status1 = 1;
    EXPECT_EQ(CalibratorCoreAdap::kCodeNoClosedLoop, Step(openLoop, 0));
    EXPECT_EQ(CalibratorCoreAdap::kStateBase, core.GetState());
    Cycle invalid;
    invalid.validity = 0x07;
    EXPECT_EQ(CalibratorCoreAdap::kCodeTrimsInvalid, Step(invalid, 0));
    EXPECT_EQ(CalibratorCoreAdap::kStateAborted, core.GetState());

    Start();
    StepWhile(WithTrim(9), 10, CalibratorCoreAdap::kCodeMeasuringBase);
    Cycle petrol;
    petrol.fuel = kFuelPetrol;
    EXPECT_EQ(CalibratorCoreAdap::kCodeGasLost, Step(petrol, 18));
    EXPECT_EQ(CalibratorCoreAdap::kStateAborted, core.GetState());
    EXPECT_EQ(CalibratorCoreAdap::kCodeNothing, Step(Cycle{}, 18));
    const std::vector<std::string> expected = {"CALIB_CORE_ADAP: [ABORT] elm lost.",
                                               "CALIB_CORE_ADAP: [ABORT] gas mode lost."};
    EXPECT_EQ(expected, log.MessagesStartingWith("CALIB_CORE_ADAP: [ABORT]"));
}

TEST_F(AdapCore, LongTrimJoinsTheSampleTrim) {
    core.SetUseLongTrim(1);
    Start();
    Cycle c = WithTrim(12);
    c.longTrim1 = 6;  // (12 + 6) / 2 = 9
    ASSERT_EQ(CalibratorCoreAdap::kCodeNewPercent,
              StepWhile(c, 10, CalibratorCoreAdap::kCodeMeasuringBase).first);
    EXPECT_EQ(8, core.GetBase().trim);
}

TEST_F(AdapCore, WaitsForGasBeforeMeasuring) {
    Start();
    Cycle petrol;
    petrol.fuel = kFuelPetrol;
    EXPECT_EQ(CalibratorCoreAdap::kCodeNothing, Step(petrol, 0));
    EXPECT_EQ(CalibratorCoreAdap::kStateWaitGas, core.GetState());
    EXPECT_EQ(CalibratorCoreAdap::kCodeMeasuringBase, Step(Cycle{}, 0));
}

TEST_F(AdapCore, RestlessLiveValuesKeepCodesStatesAndResultsConsistent) {
    // The state each code leaves; -1 where the state stays (see below).
    const std::map<int, int> stateAfter = {{0, -1}, {1, 2},  {2, 5},  {3, 5},  {4, -1},
                                           {5, -1}, {6, -1}, {7, -1}, {8, -1}, {9, 6},
                                           {10, 4}, {11, 5}, {12, 5}, {13, 5}, {14, 5}};
    CLiveNoise noise(7);
    core.GetParameters().injsStabilityDeg = 45.0;
    core.GetParameters().timeOfMeasureMs = 1000;
    int finished = 0;
    for (int i = 0; i < 20000; ++i) {
        const int state = core.GetState();
        if (state == 0 || state == 5 || state == 6) {
            core.SetTargetRevs(2000);
            core.SetTargetInjection(4.0);
            core.SetUseLongTrim(noise.Uniform(0, 1));
            core.SetState(1);
        }
        noise.Fill(live);
        clock.Advance(static_cast<DWORD>(noise.Uniform(0, 300)));
        const int before = core.GetState();
        const int code = core.Step(live, noise.Uniform(-99, 99));
        ASSERT_EQ(1u, stateAfter.count(code)) << code;
        const int expected = stateAfter.at(code);
        // Codes that keep the state move a core that was waiting for gas into measuring.
        const int kept = before == CalibratorCoreAdap::kStateWaitGas && code != 0
                             ? CalibratorCoreAdap::kStateBase
                             : before;
        ASSERT_EQ(expected < 0 ? kept : expected, core.GetState()) << "code " << code;
        if (code == CalibratorCoreAdap::kCodeFinished) {
            ++finished;
            ASSERT_GE(core.GetResultPercent(), -99);
            ASSERT_LE(core.GetResultPercent(), 99);
        }
    }
    EXPECT_GT(finished, 0);
}
