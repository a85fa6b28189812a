// The log client through recording pipes: the line format, the level filter, the
// announcements and the attempts before it gives up.
#include "link/CLogger.h"

#include "tests/link/CFakeClock.h"

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// What the server side of every pipe received, and whether it is there.
struct FakeServer {
    bool up = true;
    int failNext = 0;                                           // writes that fail before the server is back
    std::vector<std::pair<std::string, std::string>> received;  // pipe, text
    int writes = 0;
};

class CRecordingPipe : public ILogPipe {
public:
    CRecordingPipe(FakeServer& server, std::string name) : m_server(server), m_name(std::move(name)) {}

    bool Write(const std::string& text) override {
        ++m_server.writes;
        if (m_server.failNext > 0) {
            --m_server.failNext;
            return false;
        }
        if (!m_server.up) {
            return false;
        }
        m_server.received.push_back({m_name, text});
        return true;
    }

    void Close() override {}

private:
    FakeServer& m_server;
    std::string m_name;
};

class LoggerTest : public ::testing::Test {
protected:
    LoggerTest() {
        logger.SetClock(clock);
        logger.SetPipeFactory(
            [this](const std::string& name) { return std::make_unique<CRecordingPipe>(server, name); });
    }

    std::vector<std::string> DataLines() {
        std::vector<std::string> lines;
        for (const auto& r : server.received) {
            if (r.first == "\\\\.\\pipe\\zylmor_merivan.log") {
                lines.push_back(r.second);
            }
        }
        return lines;
    }

    FakeServer server;
    CFakeClock clock;
    CLogger logger;
};

}  // namespace

TEST_F(LoggerTest, AnnouncesTheLogAndWritesLinesInTheServersFormat) {
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    ASSERT_FALSE(server.received.empty());
    EXPECT_EQ("\\\\.\\pipe\\logger", server.received[0].first);
    EXPECT_EQ("createlog,zylmor_merivan", server.received[0].second);
    logger.Log(3000, "CommunicatorThread: %s.", "started");
    logger.Log(100, "second %d%%", 5);
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(2u, lines.size());
    const std::regex format(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3},0,3000,\d+,MERIVAN,[^,]*,CommunicatorThread: started\.\r\n$)");
    EXPECT_TRUE(std::regex_match(lines[0], format)) << lines[0];
    EXPECT_NE(std::string::npos, lines[1].find(",1,100,"));
    EXPECT_NE(std::string::npos, lines[1].find(",second 5%\r\n"));
}

TEST_F(LoggerTest, WaitsAfterEachAnnouncementAndStampsLinesOnItsOwnClock) {
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    EXPECT_EQ(20u, clock.TotalSleptMs());
    server.failNext = 1;  // one failed data write, so one more announcement
    logger.Log(0, "stamped");
    EXPECT_EQ(40u, clock.TotalSleptMs());
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].find("2024-05-06 07:08:09.010,0,0,")) << lines[0];
}

TEST_F(LoggerTest, KeepsLevelsUpToTheConfiguredOneInThousands) {
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    logger.Log(3999, "kept");
    logger.Log(4000, "dropped");
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(",3999,"));
}

TEST_F(LoggerTest, WritesNothingBeforeItIsConfigured) {
    logger.Log(0, "early");
    EXPECT_EQ(0, server.writes);
}

TEST_F(LoggerTest, LimitsALineTo4095Characters) {
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    logger.Log(0, "%s", std::string(10000, 'x').c_str());
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(CLogger::kMaxLineChars, lines[0].size());
    EXPECT_EQ("\r\n", lines[0].substr(lines[0].size() - 2));
}

TEST_F(LoggerTest, GivesUpAfterTenFailedAttemptsWithoutAServer) {
    server.up = false;
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    const int afterConfigure = server.writes;
    logger.Log(0, "lost");
    // Ten data writes, each followed by an announcement.
    EXPECT_EQ(20, server.writes - afterConfigure);
    logger.Log(0, "not tried");
    server.up = true;
    logger.Log(0, "not tried either");
    EXPECT_EQ(20, server.writes - afterConfigure);
}

TEST_F(LoggerTest, LosesNoLineWrittenAfterARestartedServerIsBack) {
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    server.failNext = 4;  // two data writes and two announcements fail while it restarts
    logger.Log(0, "during restart");
    for (int i = 0; i < 12; ++i) {
        server.failNext = 1;  // each broken connection costs one attempt, not the client
        logger.Log(0, "after %d", i);
    }
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(13u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(",during restart\r\n"));
    EXPECT_NE(std::string::npos, lines[12].find(",after 11\r\n"));
}

TEST_F(LoggerTest, LogResourceTakesItsFormatFromTheStringTable) {
    logger.SetStringSource(
        [](UINT id) { return id == 15001 ? std::string("Port COM%d: %s.") : std::string(); });
    logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    logger.LogResource(1000, 15001, 5, "opened");
    logger.LogResource(1000, 15002, 5, "unused");
    logger.LogResource(4000, 15001, 5, "above the level");
    const std::vector<std::string> lines = DataLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(",1000,")) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find(",Port COM5: opened.\r\n")) << lines[0];
    EXPECT_NE(std::string::npos, lines[1].find(",Log text 15002 is missing.\r\n")) << lines[1];
}
