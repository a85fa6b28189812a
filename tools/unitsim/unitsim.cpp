// Entry point of the simulated unit: parses the options, installs the stop
// signals and runs the program loop.
#include "tools/unitsim/CUnitSimProgram.h"

#include <csignal>
#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void RequestStop(int) {
    g_stopRequested = 1;
}

void InstallStopSignals() {
    struct sigaction action {};

    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: poll returns at once so the loop sees the request.
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(CUnitSimProgram::Usage(), stdout);
        return 0;
    }
    UnitSimOptions options;
    std::string error;
    if (!CUnitSimProgram::ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "unitsim: %s\n%s", error.c_str(), CUnitSimProgram::Usage());
        return 2;
    }
    InstallStopSignals();
    CUnitSimProgram program(options);
    return program.Run(g_stopRequested);
}
