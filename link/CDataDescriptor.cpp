// Element descriptor: the element's place, kind and transfer rows, and its subscribers.
#include "link/CDataDescriptor.h"

#include "classlib/core/CSingleLock.h"
#include "link/IMessageTarget.h"

#include <cstring>

namespace {

constexpr int kAllFlags[] = {kFlagLoaded, kFlagChanged, kFlagTransferred, kFlagFlaggedDone};

}  // namespace

CDataDescriptor::CDataDescriptor() = default;

CDataDescriptor::~CDataDescriptor() {
    m_changedSubscribers.RemoveAll();
    m_transferredSubscribers.RemoveAll();
    m_flaggedSubscribers.RemoveAll();
    m_loadedSubscribers.RemoveAll();
}

void CDataDescriptor::Init(int id, int offset, int length, int access) {
    m_id = id;
    m_offset = offset;
    m_length = length;
    m_access = access;
}

void CDataDescriptor::SetTransfer(int readRow, int writeRow, int blockStart, int blockMode) {
    m_readRow = readRow;
    m_writeRow = writeRow;
    m_blockStart = blockStart;
    m_blockMode = blockMode;
}

void CDataDescriptor::SetPrefix(const BYTE* bytes, UINT count) {
    if (count > kMaxPrefixBytes || (count > 0 && bytes == nullptr)) {
        return;
    }
    if (count > 0) {
        std::memcpy(m_prefix, bytes, count);
    }
    m_prefixLength = count;
}

CSubscriberList* CDataDescriptor::ListOf(int flag) {
    switch (flag) {
    case kFlagLoaded:
        return &m_loadedSubscribers;
    case kFlagChanged:
        return &m_changedSubscribers;
    case kFlagTransferred:
        return &m_transferredSubscribers;
    case kFlagFlaggedDone:
        return &m_flaggedSubscribers;
    default:
        return nullptr;
    }
}

const CSubscriberList* CDataDescriptor::GetSubscribers(int flag) const {
    return const_cast<CDataDescriptor*>(this)->ListOf(flag);
}

std::vector<IMessageTarget*> CDataDescriptor::CopySubscribers(int flag) const {
    std::vector<IMessageTarget*> windows;
    const CSubscriberList* list = GetSubscribers(flag);
    if (list == nullptr) {
        return windows;
    }
    CSingleLock guard(&m_subscriberLock, TRUE);
    for (POSITION position = list->GetHeadPosition(); position != nullptr;) {
        windows.push_back(list->GetNext(position));
    }
    return windows;
}

void CDataDescriptor::WithdrawRequests() {
    CSingleLock guard(&m_lock, TRUE);
    ++m_withdrawals;
}

void CDataDescriptor::PostToSubscribers(int flag, UINT message, UINT_PTR wParam, LONG_PTR lParam) const {
    const CSubscriberList* list = GetSubscribers(flag);
    if (list == nullptr) {
        return;
    }
    CSingleLock guard(&m_subscriberLock, TRUE);
    for (POSITION position = list->GetHeadPosition(); position != nullptr;) {
        list->GetNext(position)->PostMessage(message, wParam, lParam);
    }
}

void CDataDescriptor::Subscribe(IMessageTarget* window, int flags) {
    CSingleLock guard(&m_subscriberLock, TRUE);
    for (int flag : kAllFlags) {
        CSubscriberList* list = ListOf(flag);
        if ((flags & flag) != 0 && list->Find(window) == nullptr) {
            list->AddTail(window);
        }
    }
}

void CDataDescriptor::Unsubscribe(IMessageTarget* window, int flags) {
    CSingleLock guard(&m_subscriberLock, TRUE);
    for (int flag : kAllFlags) {
        CSubscriberList* list = ListOf(flag);
        if ((flags & flag) == 0) {
            continue;
        }
        const POSITION position = list->Find(window);
        if (position != nullptr) {
            list->RemoveAt(position);
        }
    }
}
