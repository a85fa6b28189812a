// Hands the data handler's requests to the communicator.
#pragma once

#include "link/IRequestQueue.h"

class CCommunicator;

class CCommunicatorQueue : public IRequestQueue {
public:
    explicit CCommunicatorQueue(CCommunicator& communicator) : m_communicator(communicator) {}

    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize) override;
    int GetWaitState() const override;
    void SetWaitState(int waitState) override;
    BOOL IsRowSupported(int row) const override;
    BOOL HasTables() const override;

private:
    CCommunicator& m_communicator;  // not owned
};
