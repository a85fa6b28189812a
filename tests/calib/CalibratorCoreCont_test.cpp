// The continuous calibration core fed with live cycles on a test clock.
#include "calib/CalibratorCoreCont.h"

#include "tests/calib/CFakeLiveValues.h"
#include "tests/calib/CLiveNoise.h"
#include "tests/calib/CLogCapture.h"
#include "tests/calib/CTestClock.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// One polling cycle; by default on gas, in closed loop on bank 1, speed rising slowly.
struct Cycle {
    int fuel = kFuelGas;
    int temperatureC = 80;
    int rpm = 2000;
    int injectionUs = 4000;
    int lambda = kLambdaSettled;
    std::vector<BYTE> obd = {0, 0, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 0, 0, 0, 0, 0};
};

// Trims are signed bytes.
BYTE Trim(int percent) {
    return static_cast<BYTE>(static_cast<signed char>(percent));
}

class ContCore : public ::testing::Test {
protected:
    ContCore() { core.SetClock(clock); }

    int Step(const Cycle& c, int percent = 0, DWORD advanceMs = 100) {
        live.SetFuel(c.fuel);
        live.SetByte(kElementTemperature, static_cast<BYTE>(c.temperatureC));
        live.SetWord(kElementEngineSpeed, c.rpm);
        live.SetInjectionUs(c.injectionUs);
        live.SetByte(kElementLambdaState, c.lambda);
        live.SetBytes(kElementObdBlock, c.obd);
        clock.Advance(advanceMs);
        return core.Step(live, percent);
    }

    // Start accepted and the first gas cycle measured.
    void StartOnGas() {
        core.SetState(CalibratorCoreCont::kStateStart);
        ASSERT_EQ(CalibratorCoreCont::kCodeStarted, Step(Cycle{}));
        ASSERT_EQ(CalibratorCoreCont::kStateWaitGas, core.GetState());
    }

    // Steps a cycle whose speed rises 2 1/min per 100 ms until the code is no longer
    // "measuring"; the code and the number of steps.
    std::pair<int, int> Drive(Cycle c, int percent = 0, int limit = 200) {
        for (int steps = 1; steps <= limit; ++steps) {
            const int code = Step(c, percent);
            c.rpm += 2;
            if (code != CalibratorCoreCont::kCodeMeasuring) {
                return {code, steps};
            }
        }
        return {CalibratorCoreCont::kCodeMeasuring, limit};
    }

    CFakeLiveValues live;
    CTestClock clock;
    CalibratorCoreCont core;
    CLogCapture log;
};

}  // namespace

TEST_F(ContCore, StartWaitsForTemperatureThenForGas) {
    core.SetState(CalibratorCoreCont::kStateStart);
    Cycle cold;
    cold.temperatureC = 69;
    EXPECT_EQ(CalibratorCoreCont::kCodeTooCold, Step(cold));
    EXPECT_EQ(CalibratorCoreCont::kStateStart, core.GetState());
    Cycle petrol;
    petrol.fuel = kFuelPetrol;
    petrol.temperatureC = 70;
    EXPECT_EQ(CalibratorCoreCont::kCodeStarted, Step(petrol));
    EXPECT_EQ(std::vector<std::string>{"CALIB_CORE_CONT: [INIT]. use long: no."},
              log.MessagesStartingWith("CALIB_CORE_CONT"));
    EXPECT_EQ(CalibratorCoreCont::kCodeNothing, Step(petrol));
    EXPECT_EQ(CalibratorCoreCont::kStateWaitGas, core.GetState());
    EXPECT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(Cycle{}));
    EXPECT_EQ(CalibratorCoreCont::kStateMeasuring, core.GetState());
}

TEST_F(ContCore, FindsAPointOnceTheWindowSpansTheTimeOfMeasure) {
    StartOnGas();
    Cycle c;
    c.obd[0] = Trim(10);
    // Samples every 100 ms: the eleventh spans exactly 1000 ms.
    const auto found = Drive(c, 5);
    EXPECT_EQ(CalibratorCoreCont::kCodePointFound, found.first);
    EXPECT_EQ(11, found.second);
    EXPECT_EQ(CalibratorCoreCont::kStateStart, core.GetState());
    EXPECT_EQ(5 + 9, core.GetResultPercent());  // 95 % of the mean trim of 10
    EXPECT_EQ(2010, core.GetPositionRpm());
    EXPECT_DOUBLE_EQ(4.0, core.GetPositionMs());
    // The next point starts with the temperature check and a fresh window.
    EXPECT_EQ(CalibratorCoreCont::kCodeStarted, Step(c));
    EXPECT_EQ(11, Drive(c, 5).second);
}

TEST_F(ContCore, ValueComesFromTheQualifyingBanksTrims) {
    struct Row {
        const char* name;
        bool longForm;
        int useLong;
        int lambda;
        std::vector<BYTE> obd;
        int expectedValue;
    };

    // Bytes: s1 l1 s2 l2 - - validity status2 status1 - - factor options shortRef longRef -.
    const Row rows[] = {
        {"bank 1 short trim", true, 0, 255, {5, Trim(-3), 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 0, 0, 0, 0}, 5},
        {"bank 1 with long trim",
         true,
         1,
         255,
         {5, Trim(-3), 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 0, 0, 0, 0},
         1},
        {"factor byte 0 means 95", true, 0, 255, {10, 0, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 0, 0, 0, 0, 0}, 9},
        {"short form ignores options",
         false,
         0,
         255,
         {10, 0, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 4, 3, 0, 0},
         9},
        {"inverted short trim", true, 0, 255, {5, 0, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 4, 0, 0, 0}, -5},
        {"inverted long trim", true, 1, 255, {5, 3, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 8, 0, 0, 0}, 1},
        {"references subtracted",
         true,
         1,
         255,
         {5, 3, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 0, 2, Trim(-1), 0},
         3},
        {"both banks", true, 0, 255, {4, 0, 8, 0, 0, 0, 0x0F, 2, 2, 0, 0, 100, 0, 0, 0, 0}, 6},
        {"closed loop with fault counts",
         true,
         0,
         255,
         {4, 0, 8, 0, 0, 0, 0x0F, 16, 2, 0, 0, 100, 0, 0, 0, 0},
         6},
        {"bank 2 judged by lambda",
         true,
         0,
         255,
         {4, 0, 8, 0, 0, 0, 0x0F, 0, 2, 0, 0, 100, 0x20, 0, 0, 0},
         6},
        {"bank 1 judged by lambda, unsettled",
         true,
         0,
         0,
         {4, 0, 8, 0, 0, 0, 0x0F, 2, 2, 0, 0, 100, 0x10, 0, 0, 0},
         8},
        {"negative mean truncates toward zero",
         true,
         0,
         255,
         {Trim(-7), 0, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 50, 0, 0, 0, 0},
         -3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        live.SetObdLongForm(row.longForm);
        core.SetUseLongTrim(row.useLong);
        StartOnGas();
        Cycle c;
        c.obd = row.obd;
        c.lambda = row.lambda;
        ASSERT_EQ(CalibratorCoreCont::kCodePointFound, Drive(c, 10).first);
        EXPECT_EQ(10 + row.expectedValue, core.GetResultPercent());
    }
}

TEST_F(ContCore, UnusableDataClearsTheWindow) {
    struct Row {
        const char* name;
        Cycle bad;
        int expectedCode;
    };

    Cycle invalid;
    invalid.obd[6] = 0x0E;
    Cycle openLoop;
    openLoop.obd[8] = 1;
    Cycle twoBits;  // not a defined fuel-system state
    twoBits.obd[8] = 6;
    Cycle slow;
    slow.rpm = 400;
    const Row rows[] = {
        {"trims not valid", invalid, CalibratorCoreCont::kCodeTrimsInvalid},
        {"open loop", openLoop, CalibratorCoreCont::kCodeNoClosedLoop},
        {"status with two bits", twoBits, CalibratorCoreCont::kCodeNoClosedLoop},
        {"speed at the minimum", slow, CalibratorCoreCont::kCodeRevsTooLow},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StartOnGas();
        for (int i = 0; i < 8; ++i) {
            ASSERT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(Cycle{}));
        }
        EXPECT_EQ(row.expectedCode, Step(row.bad));
        EXPECT_EQ(CalibratorCoreCont::kStateMeasuring, core.GetState());
        EXPECT_EQ(11, Drive(Cycle{}).second);
        core.SetState(CalibratorCoreCont::kStateIdle);
    }
    Cycle justFastEnough;
    justFastEnough.rpm = 401;
    StartOnGas();
    EXPECT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(justFastEnough));
}

TEST_F(ContCore, UnsteadyOrFallingOperatingPointsAreNotTaken) {
    struct Row {
        const char* name;
        int rpmStep;        // per 100 ms
        int injectionStep;  // µs per 100 ms
        double revsDescentDeg;
        bool found;
    };

    const Row rows[] = {
        {"rising slowly", 2, 0, 0.0, true},
        {"constant speed needs a positive trend", 0, 0, 0.0, false},
        {"constant speed with a descent allowance", 0, 0, 1.0, true},
        {"falling speed", -2, 0, 1.0, false},
        {"speed changing too fast", 60, 0, 0.0, false},
        {"injection changing too fast", 2, 110, 0.0, false},
        {"injection rising within the limit", 2, 90, 0.0, true},
        {"injection falling beyond the descent slope", 2, -10, 0.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        core.GetParameters().maxRevsDescentDeg = row.revsDescentDeg;
        StartOnGas();
        Cycle c;
        c.injectionUs = 5000;
        int code = CalibratorCoreCont::kCodeMeasuring;
        for (int i = 0; i < 30 && code == CalibratorCoreCont::kCodeMeasuring; ++i) {
            code = Step(c);
            c.rpm += row.rpmStep;
            c.injectionUs += row.injectionStep;
        }
        EXPECT_EQ(row.found, code == CalibratorCoreCont::kCodePointFound);
        core.SetState(CalibratorCoreCont::kStateIdle);
    }
}

TEST_F(ContCore, AJumpDropsTheSamplesUpToIt) {
    StartOnGas();
    Cycle c;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(c));
        c.rpm += 2;
    }
    c.rpm += 300;  // 300 1/min within 500 ms: 600 1/min per second
    // When the window first fills, the sub-window holding the jump fails and every
    // sample up to and including the jump goes: a new window starts one step after
    // the jump and spans its 1000 ms ten steps later.
    const auto after = Drive(c);
    EXPECT_EQ(CalibratorCoreCont::kCodePointFound, after.first);
    EXPECT_EQ(1 + 1 + 10, after.second);
}

TEST_F(ContCore, EndsOnGasLossAndOnTheLimits) {
    StartOnGas();
    ASSERT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(Cycle{}));
    Cycle petrol;
    petrol.fuel = kFuelPetrol;
    EXPECT_EQ(CalibratorCoreCont::kCodeGasLost, Step(petrol));
    EXPECT_EQ(CalibratorCoreCont::kStateStopped, core.GetState());
    EXPECT_EQ(CalibratorCoreCont::kCodeNothing, Step(Cycle{}));

    struct Row {
        int percent;
        int expectedCode;
        int expectedState;
    };

    const Row rows[] = {
        {-99, CalibratorCoreCont::kCodePointFound, CalibratorCoreCont::kStateStart},
        {-100, CalibratorCoreCont::kCodeBelowMinimum, CalibratorCoreCont::kStateStopped},
        {99, CalibratorCoreCont::kCodePointFound, CalibratorCoreCont::kStateStart},
        {100, CalibratorCoreCont::kCodeAboveMaximum, CalibratorCoreCont::kStateStopped},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.percent);
        StartOnGas();
        EXPECT_EQ(row.expectedCode, Drive(Cycle{}, row.percent).first);
        EXPECT_EQ(row.expectedState, core.GetState());
    }
}

TEST_F(ContCore, LogsThePointAndItsSampleLists) {
    core.GetParameters().timeOfMeasureMs = 200;
    core.GetParameters().maxRevsDescentDeg = 1.0;
    core.SetUseLongTrim(1);
    StartOnGas();
    Cycle c;
    c.obd = {Trim(-8), 2, 0, 0, 0, 0, 0x0F, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    clock.Set(10000);
    ASSERT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(c, 7, 0));
    c.injectionUs = 4010;
    ASSERT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(c, 7, 100));
    ASSERT_EQ(CalibratorCoreCont::kCodePointFound, Step(c, 7, 100));
    const std::vector<std::string> expected = {
        "CALIB_CORE_CONT: [INIT]. use long: yes.",
        "CALIB_CORE_CONT: [FINISHED] pos: 2000 1/min, 4.01 ms value: -2%.",
        "CALIB_CORE_CONT: [XCHG][LIST] revs {   2000;   2000;   2000 }",
        "CALIB_CORE_CONT: [XCHG][LIST] injs {   4.00;   4.01;   4.01 }",
        "CALIB_CORE_CONT: [XCHG][LIST] st1  { 0x0002; 0x0002; 0x0002 }",
        "CALIB_CORE_CONT: [XCHG][LIST] st2  { 0x0000; 0x0000; 0x0000 }",
        "CALIB_CORE_CONT: [XCHG][LIST] ts1  {   -8;   -8;   -8 }",
        "CALIB_CORE_CONT: [XCHG][LIST] tl1  {    2;    2;    2 }",
        "CALIB_CORE_CONT: [XCHG][LIST] ts2  {    0;    0;    0 }",
        "CALIB_CORE_CONT: [XCHG][LIST] tl2  {    0;    0;    0 }",
        "CALIB_CORE_CONT: [XCHG][LIST] time {  10000;  10100;  10200 }",
    };
    EXPECT_EQ(expected, log.MessagesStartingWith("CALIB_CORE_CONT"));
    EXPECT_EQ(7 - 2, core.GetResultPercent());
}

TEST_F(ContCore, RestlessLiveValuesKeepCodesStatesAndResultsConsistent) {
    // The state each code leaves; -1 where the state stays (see below).
    const std::map<int, int> stateAfter = {{0, -1}, {1, 2}, {2, -1}, {3, -1}, {4, -1}, {5, -1},
                                           {6, 1},  {7, 4}, {8, 1},  {9, 4},  {10, 4}};
    CLiveNoise noise(99);
    core.GetParameters().maxRevsDescentDeg = 45.0;
    core.GetParameters().maxRevsChangePerSecond = 2000.0;
    int points = 0;
    for (int i = 0; i < 20000; ++i) {
        if (core.GetState() == 0 || core.GetState() == 4) {
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
        const int kept = before == CalibratorCoreCont::kStateWaitGas && code != 0
                             ? CalibratorCoreCont::kStateMeasuring
                             : before;
        ASSERT_EQ(expected < 0 ? kept : expected, core.GetState()) << "code " << code;
        if (code == CalibratorCoreCont::kCodePointFound) {
            ++points;
            ASSERT_GE(core.GetResultPercent(), -99);
            ASSERT_LE(core.GetResultPercent(), 99);
        }
    }
    EXPECT_GT(points, 0);
}

TEST_F(ContCore, TimeOfMeasureWithoutLengthKeepsMeasuring) {
    core.GetParameters().timeOfMeasureMs = -1;
    StartOnGas();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CalibratorCoreCont::kCodeMeasuring, Step(Cycle{}));
    }
}
