// The control file of the simulated unit: a plain file that tests append command
// lines to (a Windows test under Wine writes it through drive Z:). The unit
// empties it at start and then reads each new complete line once.
#pragma once

#include "tools/unitsim/CFileDescriptor.h"

#include <string>
#include <sys/types.h>
#include <vector>

class CControlFile {
public:
    // Creates or empties the file. Returns false with a reason in `error`.
    bool Open(const std::string& path, std::string& error);

    bool IsOpen() const { return m_fd.IsValid(); }

    // The lines completed since the last call, without line ends; blank lines
    // are skipped.
    std::vector<std::string> ReadNewLines();

private:
    CFileDescriptor m_fd;
    off_t m_offset = 0;
    std::string m_partialLine;
};
