// What the communicator's worker reports: status decisions, finished requests and
// the end of each live cycle. The data handler implements it; tests record it.
// Every call comes on the communicator's worker thread.
#pragma once

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
};
