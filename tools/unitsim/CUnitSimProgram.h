// The simulated unit as a program: the engine behind a pseudo-terminal that is
// published as a COM port of the Wine prefix, with a transcript file and a
// control file. Runs on the program's one thread until asked to stop.
#pragma once

#include "tools/unitsim/CControlCommand.h"
#include "tools/unitsim/CControlFile.h"
#include "tools/unitsim/CPortLinks.h"
#include "tools/unitsim/CPseudoTerminal.h"
#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitEngine.h"

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

struct UnitSimOptions {
    int port = 0;
    std::string portsDir;
    std::string winePrefix;
    std::string transcriptPath;
    std::string controlPath;
    int paceBaud = 0;  // 0 sends answers as fast as the line takes them
    UnitSettings settings;
};

class CUnitSimProgram {
public:
    // Fills `options` from the command line; the folders default to the
    // environment's ZARVO_PORTS_DIR and WINEPREFIX. False with a reason in `error`.
    static bool ParseOptions(int argc, char** argv, UnitSimOptions& options, std::string& error);

    static const char* Usage();

    explicit CUnitSimProgram(const UnitSimOptions& options);

    // Serves the line until `stopRequested` becomes non-zero; returns the exit code.
    int Run(const volatile std::sig_atomic_t& stopRequested);

private:
    bool Start();
    bool Plug();
    void Unplug();
    void ServeControl();
    void ServeLine();
    void ApplyLineCommand(const ControlCommand& command);
    void SendPlan(const std::vector<ReplyPiece>& pieces);
    void SendToLine(const std::vector<uint8_t>& bytes);
    void SendPaced(const std::vector<uint8_t>& bytes);

    UnitSimOptions m_options;
    CTranscript m_transcript;
    CUnitEngine m_engine;
    CPseudoTerminal m_terminal;
    CPortLinks m_links;
    CControlFile m_control;
    std::chrono::steady_clock::time_point m_lastInput;
    int m_paceBaud;
    bool m_failed = false;
};
