// The configurator's log settings: level 3, product "MERIVAN", log "zylmor_merivan"
// on the local computer.
#include "link/CLogSession.h"

#include "link/CLogger.h"

CLogSession::CLogSession() {
    CLogger::Instance().Configure(3, "MERIVAN", "zylmor_merivan", ".");
}
