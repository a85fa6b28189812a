// Descriptor of one element of the unit's data: where its bytes lie in the memory
// images, its kind, the command-table rows that move it, how its write is put
// together, and the windows subscribed to its changes. Its lock is taken by every
// reader and writer of the element's bytes for one copy, and by the communicator's
// worker for a whole exchange about the element.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CList.h"
#include "classlib/core/CTypedPtrList.h"
#include "classlib/core/WinTypes.h"

#include <atomic>
#include <vector>

class IMessageTarget;

// Subscription flags: which kinds of change a window hears of.
constexpr int kFlagLoaded = 0x1;       // loaded from a file or taken from a full read
constexpr int kFlagChanged = 0x2;      // changed locally
constexpr int kFlagTransferred = 0x4;  // an ordinary transfer finished
constexpr int kFlagFlaggedDone = 0x8;  // a flagged transfer finished

using CSubscriberList = CTypedPtrList<CPtrList, IMessageTarget*>;

class CDataDescriptor {
public:
    static constexpr int kMaxPrefixBytes = 4;

    CDataDescriptor();
    virtual ~CDataDescriptor();
    CDataDescriptor(const CDataDescriptor&) = delete;
    CDataDescriptor& operator=(const CDataDescriptor&) = delete;

    CCriticalSection& GetLock() { return m_lock; }

    // The requests about this element queued so far are dropped unserved. One that is
    // being served ends first: its exchange holds the element's lock.
    void WithdrawRequests();

    // Changes with every withdrawal; a request keeps the value it was queued with.
    unsigned GetWithdrawals() const { return m_withdrawals; }

    void Init(int id, int offset, int length, int access);
    void SetTransfer(int readRow, int writeRow, int blockStart, int blockMode);
    // Copies at most kMaxPrefixBytes bytes; more are refused (nothing changes).
    void SetPrefix(const BYTE* bytes, UINT count);

    int GetID() const { return m_id; }

    int GetOffset() const { return m_offset; }

    int GetLength() const { return m_length; }

    int GetAccess() const { return m_access; }

    int GetReadRow() const { return m_readRow; }

    int GetWriteRow() const { return m_writeRow; }

    int GetBlockStart() const { return m_blockStart; }

    int GetBlockMode() const { return m_blockMode; }

    const BYTE* GetPrefix() const { return m_prefix; }

    UINT GetPrefixLength() const { return m_prefixLength; }

    // The list of one flag (1, 2, 4 or 8), null for any other value. Only the UI thread
    // may walk it; other threads use CopySubscribers.
    const CSubscriberList* GetSubscribers(int flag) const;
    // The windows of one flag's list as they are now; safe from any thread.
    std::vector<IMessageTarget*> CopySubscribers(int flag) const;
    // Posts to every window of one flag's list; safe from any thread. The list stays
    // locked while it posts, so a window that unsubscribes before it is destroyed is
    // never posted to once Unsubscribe has returned.
    void PostToSubscribers(int flag, UINT message, UINT_PTR wParam, LONG_PTR lParam) const;
    // For each of the bits 1, 2, 4 and 8 set in flags: adds the window unless listed.
    void Subscribe(IMessageTarget* window, int flags);
    // For each bit set: removes the window's entry from that list.
    void Unsubscribe(IMessageTarget* window, int flags);

private:
    CSubscriberList* ListOf(int flag);

    CCriticalSection m_lock;
    int m_id = 0;
    int m_offset = -1;
    int m_length = 0;
    int m_access = 0;
    CSubscriberList m_changedSubscribers{10};
    CSubscriberList m_transferredSubscribers{10};
    CSubscriberList m_flaggedSubscribers{10};
    CSubscriberList m_loadedSubscribers{10};
    int m_readRow = 0;
    int m_writeRow = 0;
    int m_blockStart = -1;
    int m_blockMode = 0;
    BYTE m_prefix[kMaxPrefixBytes] = {};
    UINT m_prefixLength = 0;
    std::atomic<unsigned> m_withdrawals{0};
    // Guards the four lists: the UI thread changes them while the communicator's
    // worker walks them to report finished transfers.
    mutable CCriticalSection m_subscriberLock;
};
