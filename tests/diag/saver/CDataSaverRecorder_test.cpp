// Recording into files: one file per engine run, the row choice of the periodic mode, the
// buffered writing, and a writability probe that leaves existing files alone.
#include "diag/CDataSaverRecorder.h"

#include "diag/CDataSaverFormat.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

CLocalTime At(int second, int ms = 0) {
    CLocalTime t;
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = 1;
    t.wHour = 8;
    t.wMinute = 15;
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

CDataSaverSample Sample(LONG clockMs, int speed) {
    CDataSaverSample s;
    s.clockMs = clockMs;
    s.speed = speed;
    return s;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    return std::ifstream(path, std::ios::binary).good();
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The speeds of the rows of a file, in order.
std::vector<int> RowSpeeds(const std::string& text) {
    std::vector<int> speeds;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("2024-", 0) != 0) {
            continue;
        }
        std::size_t at = 0;
        for (int i = 0; i < 5; ++i) {
            at = line.find('\t', at) + 1;
        }
        speeds.push_back(std::stoi(line.substr(at)));
    }
    return speeds;
}

class DataSaverRecorderTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        base = testing::TempDir() + "saver" + std::to_string(getpid()) + "_" + info->name();
    }

    void TearDown() override {
        for (const std::string& path : made) {
            std::remove(path.c_str());
        }
    }

    // The file that a run started at the given time goes to.
    std::string FileOf(const CLocalTime& start) {
        const std::string path =
            CDataSaverFormat::StampedFileName((base + ".txt").c_str(), start).GetString();
        made.push_back(path);
        return path;
    }

    std::string base;
    std::vector<std::string> made;
    CDataSaverRecorder recorder;
};

TEST_F(DataSaverRecorderTest, WritesOneFilePerEngineRun) {
    recorder.Begin((base + ".txt").c_str(), CDataSaverRecorder::kRawMode, 1000);

    const struct {
        LONG ms;
        int speed;
        CDataSaverRecorder::Outcome::Kind kind;
    } cycles[] = {
        {0, 0, CDataSaverRecorder::Outcome::kNothing},     {100, 800, CDataSaverRecorder::Outcome::kRunning},
        {200, 810, CDataSaverRecorder::Outcome::kRunning}, {300, 0, CDataSaverRecorder::Outcome::kSaved},
        {400, 0, CDataSaverRecorder::Outcome::kNothing},   {500, 900, CDataSaverRecorder::Outcome::kRunning},
        {600, 0, CDataSaverRecorder::Outcome::kSaved},
    };

    for (const auto& cycle : cycles) {
        SCOPED_TRACE(cycle.ms);
        const auto outcome = recorder.OnLiveCycle(Sample(cycle.ms, cycle.speed), At(1, cycle.ms));
        EXPECT_EQ(outcome.kind, cycle.kind);
        EXPECT_EQ(outcome.rowWritten, cycle.speed != 0);
    }
    EXPECT_FALSE(recorder.HasFile());

    const std::string first = ReadAll(FileOf(At(1, 100)));
    const std::string second = ReadAll(FileOf(At(1, 500)));
    EXPECT_EQ(first.rfind(std::string(CDataSaverFormat::StartBlock(At(1, 100))) +
                              std::string(CDataSaverFormat::HeaderLine()),
                          0),
              0u);
    EXPECT_EQ(RowSpeeds(first), (std::vector<int>{800, 810}));
    EXPECT_EQ(RowSpeeds(second), (std::vector<int>{900}));
    const std::string stop = CDataSaverFormat::StopBlock(At(1, 600)).GetString();
    ASSERT_GE(second.size(), stop.size());
    EXPECT_EQ(second.substr(second.size() - stop.size()), stop);
    EXPECT_EQ(Count(first, "STOPP: "), 1);
}

TEST_F(DataSaverRecorderTest, CountsRowsAndTheirBytes) {
    recorder.Begin((base + ".txt").c_str(), CDataSaverRecorder::kRawMode, 1000);
    FileOf(At(2));
    recorder.OnLiveCycle(Sample(0, 700), At(2));
    recorder.OnLiveCycle(Sample(10, 700), At(2));
    EXPECT_EQ(recorder.GetRows(), 2);
    EXPECT_EQ(recorder.GetBytes(), 2 * CDataSaverFormat::Row(Sample(0, 700), At(2)).GetLength());
    const std::string spun = {recorder.NextSpinner(), recorder.NextSpinner(), recorder.NextSpinner(),
                              recorder.NextSpinner(), recorder.NextSpinner()};
    EXPECT_EQ(spun, "\\|/-\\");
    EXPECT_EQ(recorder.Finish(At(3)).kind, CDataSaverRecorder::Outcome::kFinished);
    EXPECT_EQ(recorder.Finish(At(3)).kind, CDataSaverRecorder::Outcome::kNoFile);
}

TEST_F(DataSaverRecorderTest, PeriodicModeWritesTheSampleNearestToEachTick) {
    struct Case {
        const char* what;
        int period;
        std::vector<LONG> times;  // the speed of each sample is its time + 1000
        std::vector<int> rows;
    };

    const Case cases[] = {
        // Ticks at 1000 and 2000: 900 is nearer than 1200, 2100 nearer than 1800.
        {"nearest", 1000, {0, 300, 600, 900, 1200, 1500, 1800, 2100}, {1900, 3100}},
        // A row moves the tick on by one period only, so after a gap the kept sample is
        // still the nearer one, and the tick stays behind.
        {"gap", 1000, {0, 5000, 5100}, {1000, 6000}},
        // The tick stays at the file's start: each cycle writes the sample kept before it.
        {"period zero", 0, {0, 40, 80, 120}, {1000, 1040, 1080}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.Begin((base + ".txt").c_str(), CDataSaverRecorder::kPeriodicMode, c.period);
        const std::string path = FileOf(At(4));
        for (const LONG ms : c.times) {
            recorder.OnLiveCycle(Sample(ms, static_cast<int>(ms) + 1000), At(4));
        }
        recorder.Finish(At(5));
        EXPECT_EQ(RowSpeeds(ReadAll(path)), c.rows);
    }
}

TEST_F(DataSaverRecorderTest, KeepsRowsInMemoryUntilTheyPassTheThreshold) {
    recorder.Begin((base + ".txt").c_str(), CDataSaverRecorder::kRawMode, 1000);
    const std::string path = FileOf(At(6));
    recorder.OnLiveCycle(Sample(0, 800), At(6));
    const std::size_t framing = ReadAll(path).size();
    EXPECT_EQ(framing, std::string(CDataSaverFormat::StartBlock(At(6))).size() +
                           std::string(CDataSaverFormat::HeaderLine()).size());
    LONG ms = 0;
    while (recorder.GetBytes() <= CDataSaverRecorder::kFlushThreshold) {
        EXPECT_EQ(ReadAll(path).size(), framing);
        recorder.OnLiveCycle(Sample(++ms, 800), At(6));
    }
    EXPECT_EQ(ReadAll(path).size(), framing + static_cast<std::size_t>(recorder.GetBytes()));

    recorder.OnLiveCycle(Sample(++ms, 800), At(6));
    EXPECT_EQ(recorder.Pause().kind, CDataSaverRecorder::Outcome::kNothing);
    EXPECT_TRUE(recorder.HasFile());
    EXPECT_EQ(ReadAll(path).size(), framing + static_cast<std::size_t>(recorder.GetBytes()));
}

TEST_F(DataSaverRecorderTest, AFileThatCannotBeCreatedEndsTheRun) {
    const std::string name = base + "_missing_folder/log.txt";
    recorder.Begin(name.c_str(), CDataSaverRecorder::kRawMode, 1000);
    const auto outcome = recorder.OnLiveCycle(Sample(0, 800), At(7));
    EXPECT_EQ(outcome.kind, CDataSaverRecorder::Outcome::kOpenFailed);
    EXPECT_STREQ(outcome.path, CDataSaverFormat::StampedFileName(name.c_str(), At(7)));
    EXPECT_NE(outcome.cause, 0);
    EXPECT_FALSE(recorder.HasFile());
}

TEST_F(DataSaverRecorderTest, TheWritabilityProbeLeavesExistingFilesAlone) {
    const std::string existing = base + "_existing.txt";
    made.push_back(existing);
    std::ofstream(existing, std::ios::binary) << "user data";
    int cause = -1;
    EXPECT_TRUE(CDataSaverRecorder::ProbeWritable(existing.c_str(), cause));
    EXPECT_EQ(ReadAll(existing), "user data");

    const std::string fresh = base + "_fresh.txt";
    made.push_back(fresh);
    EXPECT_TRUE(CDataSaverRecorder::ProbeWritable(fresh.c_str(), cause));
    EXPECT_FALSE(Exists(fresh));

    EXPECT_FALSE(CDataSaverRecorder::ProbeWritable((base + "_missing_folder/log.txt").c_str(), cause));
    EXPECT_NE(cause, 0);
}

}  // namespace
