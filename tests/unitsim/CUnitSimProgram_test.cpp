// The unitsim program on Linux: its COM port links, its control file, the
// pseudo-terminal seen from the configurator's side, and a clean stop. The
// program is run as the wrapper script runs it, as a separate process.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const Bytes kPing = {0xAA, 0x01, 0x1E, 0x01, 0xB4};
const Bytes kPingReply = {0x55, 0x81, 0x1E, 0x01, 0xCB};
constexpr auto kPatience = std::chrono::seconds(5);
constexpr int kPort = 9;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string LinkTarget(const std::string& path) {
    char target[512];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    return length < 0 ? std::string() : std::string(target, static_cast<std::size_t>(length));
}

template <typename Condition>
bool WaitFor(Condition condition) {
    const auto deadline = Clock::now() + kPatience;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class UnitSimProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/unitsim-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        ASSERT_EQ(::mkdir((m_dir + "/prefix").c_str(), 0777), 0);
        ASSERT_EQ(::mkdir((m_dir + "/prefix/dosdevices").c_str(), 0777), 0);
        StartUnit();
    }

    void TearDown() override {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        const std::string command = "rm -rf '" + m_dir + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    void StartUnit() {
        const std::string port = std::to_string(kPort);
        const std::vector<std::string> arguments = {
            UNITSIM_PROGRAM,   "--port",       port,         "--ports-dir", m_dir + "/ports", "--wine-prefix",
            m_dir + "/prefix", "--transcript", Transcript(), "--control",   Control()};
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, Announce().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int result = ::posix_spawn(&m_pid, UNITSIM_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(result, 0);
        ASSERT_TRUE(WaitFor([&] { return !ReadFile(Announce()).empty(); })) << "unitsim did not get ready";
    }

    // Stops the unit as the wrapper does; returns its exit status.
    int StopUnit() {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void SendControl(const std::string& line) {
        std::ofstream file(Control(), std::ios::app);
        file << line << '\n';
    }

    // Opens the port as the configurator would, writes and collects up to
    // `count` reply bytes within `timeout`. Empty when the port cannot be opened.
    Bytes Exchange(const Bytes& request, std::size_t count, std::chrono::milliseconds timeout) {
        const int fd = ::open(StableLink().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            return {};
        }
        EXPECT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
        Bytes reply;
        const auto deadline = Clock::now() + timeout;
        while (reply.size() < count && Clock::now() < deadline) {
            pollfd ready{fd, POLLIN, 0};
            uint8_t buffer[256];
            if (::poll(&ready, 1, 5) > 0) {
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                reply.insert(reply.end(), buffer, buffer + std::max<ssize_t>(got, 0));
            }
        }
        ::close(fd);
        return reply;
    }

    std::string StableLink() const { return m_dir + "/ports/com" + std::to_string(kPort); }

    std::string DosDevicesLink() const { return m_dir + "/prefix/dosdevices/com" + std::to_string(kPort); }

    std::string Transcript() const { return m_dir + "/transcript"; }

    std::string Control() const { return m_dir + "/control"; }

    std::string Announce() const { return m_dir + "/announce"; }

    std::string m_dir;
    pid_t m_pid = -1;
};

}  // namespace

TEST_F(UnitSimProgram, PublishesItsPortAndRemovesTheStableLinkWhenStopped) {
    const std::string slave = ReadFile(Announce());
    EXPECT_EQ(LinkTarget(StableLink()) + "\n", slave);
    EXPECT_EQ(LinkTarget(DosDevicesLink()), StableLink());
    // Opened and closed again and again, the port keeps answering.
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(Exchange(kPing, kPingReply.size(), kPatience), kPingReply);
    }
    EXPECT_EQ(StopUnit(), 0);
    EXPECT_TRUE(LinkTarget(StableLink()).empty());
    EXPECT_EQ(LinkTarget(DosDevicesLink()), StableLink());
    EXPECT_EQ(ReadFile(Transcript()),
              "# plugged in\n"
              "RX AA 01 1E 01 B4\nTX 55 81 1E 01 CB\n"
              "RX AA 01 1E 01 B4\nTX 55 81 1E 01 CB\n"
              "RX AA 01 1E 01 B4\nTX 55 81 1E 01 CB\n"
              "# unplugged\n");
}

TEST_F(UnitSimProgram, DropsAPartialFrameOnceTheLineGoesQuiet) {
    EXPECT_TRUE(Exchange({0xAA, 0x01, 0x1E}, 1, std::chrono::milliseconds(200)).empty());
    EXPECT_EQ(Exchange(kPing, kPingReply.size(), kPatience), kPingReply);
    EXPECT_NE(ReadFile(Transcript()).find("RX AA 01 1E\n# not answered: incomplete frame\n"),
              std::string::npos);
}

TEST_F(UnitSimProgram, FollowsTheControlFile) {
    SendControl("version 1.40");
    EXPECT_TRUE(WaitFor([&] { return ReadFile(Transcript()).find("1.40") != std::string::npos; }));
    EXPECT_EQ(Exchange(kPing, 5, kPatience), (Bytes{0x55, 0x81, 0x28, 0x01, 0xFD}));

    SendControl("unplug");
    EXPECT_TRUE(WaitFor([&] { return LinkTarget(StableLink()).empty(); }));
    EXPECT_TRUE(Exchange(kPing, 5, std::chrono::milliseconds(100)).empty());

    SendControl("replug");
    EXPECT_TRUE(WaitFor([&] { return !LinkTarget(StableLink()).empty(); }));
    EXPECT_EQ(Exchange(kPing, 5, kPatience), (Bytes{0x55, 0x81, 0x28, 0x01, 0xFD}));
    EXPECT_EQ(StopUnit(), 0);
}

TEST_F(UnitSimProgram, PacesAndDelaysItsAnswersAsTheControlFileSays) {
    SendControl("pace 9600");
    SendControl("fault late cmd 1 delay 150");
    ASSERT_TRUE(WaitFor([&] { return ReadFile(Transcript()).find("pace 9600 baud") != std::string::npos; }));

    auto start = Clock::now();
    EXPECT_EQ(Exchange(kPing, kPingReply.size(), kPatience), kPingReply);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));

    // 63 bytes at about 1.04 ms each.
    start = Clock::now();
    EXPECT_EQ(Exchange({0xAA, 0x02, 0xA8}, 63, kPatience).size(), 63u);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60));
    EXPECT_NE(ReadFile(Transcript()).find("# fault late 150 ms\nTX 55 81 1E 01 CB\n"), std::string::npos);
    EXPECT_EQ(StopUnit(), 0);
}
