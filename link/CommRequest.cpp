// A request handed to the communicator.
#include "link/CommRequest.h"

#include "link/CDataDescriptor.h"

bool CommRequest::IsWithdrawn() const {
    return descriptor != nullptr && descriptor->GetWithdrawals() != withdrawals;
}
