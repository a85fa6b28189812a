// What the communicator's worker reports: status decisions, finished requests and
// the end of each live cycle. The data handler implements it; tests record it.
// Every call comes on the communicator's worker thread.
#pragma once

#include "classlib/core/WinTypes.h"

#include <vector>

class CDataDescriptor;
struct CommRequest;

class ICommunicatorSink {
public:
    virtual ~ICommunicatorSink() = default;
    // Every status decision, also when the status did not change.
    virtual void DataHandler(int status, int portNumber) = 0;
    // A one-shot request ended; success 0 when it failed or the port closed.
    virtual void OnTaskFinished(CommRequest* request, int success) = 0;
    // A serving pass ended; false when the unit's engine status ends the link.
    virtual bool OnLiveCycleEnd() = 0;
    // The descriptors whose locks a request without element holds, in element order.
    virtual std::vector<CDataDescriptor*> GetSettingDescriptors() = 0;

    // Progress of the full read for the main window (message 0x623).
    virtual void OnFullReadProgress(UINT_PTR /*wParam*/, LONG_PTR /*lParam*/) {}

    // Progress of a firmware upload for the main window (message 0x622).
    virtual void PostUpdateProgress(UINT_PTR /*code*/, LONG_PTR /*perMille*/) {}

    // The identification words of the unit's firmware loader.
    virtual void OnUpdateModeInfo(WORD /*word0*/, WORD /*word1*/, WORD /*word2*/) {}
};
