// The communicator's queue for tests: records each request as it is handed over, and
// answers the wait state and capability questions.
#pragma once

#include "link/CDataDescriptor.h"
#include "link/IRequestQueue.h"

#include <set>
#include <vector>

struct QueuedRequest {
    int element;  // -1 without descriptor
    int kind;
    int row;
    const BYTE* source;
    BYTE* destination;
    std::size_t destinationSize;
};

class CRecordingQueue : public IRequestQueue {
public:
    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize) override {
        if (refuse) {
            return false;
        }
        requests.push_back({descriptor != nullptr ? descriptor->GetID() : -1, kind, row, source, destination,
                            destinationSize});
        return true;
    }

    int GetWaitState() const override { return waitState; }

    void SetWaitState(int state) override {
        waitState = state;
        waitStatesSet.push_back(state);
    }

    BOOL IsRowSupported(int row) const override { return supportedRows.count(row) != 0 ? TRUE : FALSE; }

    BOOL HasTables() const override { return tables ? TRUE : FALSE; }

    std::vector<QueuedRequest> requests;
    int waitState = 0;
    std::vector<int> waitStatesSet;
    std::set<int> supportedRows;
    bool tables = false;
    bool refuse = false;  // every request is refused, as a full or unfit queue would
};
