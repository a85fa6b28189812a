// Forwards to the communicator.
#include "link/CCommunicatorQueue.h"

#include "link/CCommunicator.h"

bool CCommunicatorQueue::QueueRequest(CDataDescriptor* descriptor,
                                      int kind,
                                      int row,
                                      const BYTE* source,
                                      BYTE* destination,
                                      std::size_t destinationSize) {
    return m_communicator.QueueRequest(descriptor, kind, row, source, destination, destinationSize);
}

int CCommunicatorQueue::GetWaitState() const {
    return m_communicator.GetWaitState();
}

void CCommunicatorQueue::SetWaitState(int waitState) {
    m_communicator.SetWaitState(waitState);
}

BOOL CCommunicatorQueue::IsRowSupported(int row) const {
    return m_communicator.IsRowSupported(row);
}

BOOL CCommunicatorQueue::HasTables() const {
    return m_communicator.HasTables();
}
