// The pseudo-terminal that stands in for the unit's serial line: the simulated
// unit talks on the master, the configurator opens the slave as its COM port.
#pragma once

#include "tools/unitsim/CFileDescriptor.h"

#include <string>

class CPseudoTerminal {
public:
    // Creates a new pair with the slave in raw mode. Returns false with a
    // reason in `error` on failure.
    bool Open(std::string& error);

    // Closes both ends: the slave disappears, as when the cable is pulled.
    void Close();

    bool IsOpen() const { return m_master.IsValid(); }

    int MasterFd() const { return m_master.Get(); }

    const std::string& SlavePath() const { return m_slavePath; }

private:
    CFileDescriptor m_master;
    // Held open and never read so that the master sees no hang-up while the
    // configurator has the port closed, and the line settings survive its reopening.
    CFileDescriptor m_slave;
    std::string m_slavePath;
};
