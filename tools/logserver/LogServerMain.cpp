// Entry of the log server. Usage: logserver OUTPUT_FOLDER [CONTROL_PIPE_NAME]
// The control pipe's name defaults to "logger". The server runs until it is killed;
// everything it received is on disk by then.
#include "tools/logserver/CLogServer.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: logserver OUTPUT_FOLDER [CONTROL_PIPE_NAME]\n");
        return 2;
    }
    CLogServer server(argv[1], argc == 3 ? argv[2] : "logger");
    return server.Run();
}
