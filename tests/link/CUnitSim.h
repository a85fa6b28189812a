// The simulated units that with-link-units starts, seen from a Windows test: the
// answering unit's COM port, control file and transcript, and the silent ports.
#pragma once

#include <string>
#include <vector>

class CUnitSim {
public:
    // The answering unit's port number; 0 when the test was not started by the wrapper.
    static int Port();
    // The ports whose units never answer, in rising order.
    static std::vector<int> SilentPorts();
    // Appends one control line; it is in force for every request sent afterwards.
    // False with the reason in `error` when the file could not be written.
    static bool SendControl(const std::string& line, std::string& error);
    // The transcript's lines so far ("RX AA 01 1E 01 B4", "TX ...", "# note").
    static std::vector<std::string> Transcript();
    // "RX " or "TX " followed by the bytes and their XOR checksum, as the transcript
    // shows a frame.
    static std::string FrameLine(const char* direction, const std::vector<unsigned char>& bytes);

private:
    // A Unix path from the environment as Windows sees it through drive Z:.
    static std::string WindowsPathFromEnvironment(const char* name);
};
