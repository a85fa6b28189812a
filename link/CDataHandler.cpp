// The data handler: element access, requests, notifications and the modified judgement.
// Its connection side is in CDataHandlerConnection.cpp, its files in CDataHandlerFiles.cpp.
#include "link/CDataHandler.h"

#include "classlib/core/CSingleLock.h"
#include "link/CCommunicatorQueue.h"
#include "link/CLogger.h"
#include "link/DataHandlerConstants.h"
#include "link/DataHandlerMessages.h"
#include "link/EnglishTexts.h"
#include "link/IMainWindow.h"
#include "link/IMessageTarget.h"
#include "link/IRequestQueue.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

using namespace DataHandlerConstants;

namespace {

constexpr double kMicrosecondTolerance = 1e-6;

// Settings that the modified judgement treats specially.
constexpr int kElementLoadMinimum = 100;
constexpr int kElementCylinders = 101;
constexpr int kElementTankValve = 45;

LONG_PTR ElementLParam(int id, LONG_PTR reason) {
    return static_cast<LONG_PTR>(id) | reason;
}

}  // namespace

CDataHandler::CDataHandler() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    ApplyElementTable(m_descriptors);
}

CDataHandler::~CDataHandler() = default;

void CDataHandler::SetCommunicator(CCommunicator* communicator) {
    m_communicator = communicator;
    m_communicatorQueue =
        communicator != nullptr ? std::make_unique<CCommunicatorQueue>(*communicator) : nullptr;
    m_queue = m_communicatorQueue.get();
}

void CDataHandler::SetRequestQueue(IRequestQueue* queue) {
    m_communicatorQueue.reset();
    m_queue = queue;
}

BYTE* CDataHandler::GetImage(int image) {
    if (image < 0 || image >= kImageCount) {
        return nullptr;
    }
    return m_images[static_cast<std::size_t>(image)].data();
}

CDataDescriptor* CDataHandler::GetDescriptor(int index) {
    if (index < 0 || index >= kElementCount) {
        return nullptr;
    }
    return &m_descriptors[index];
}

CDataDescriptor* CDataHandler::TableElement(int index, const char* operation) {
    CDataDescriptor* descriptor = GetDescriptor(index);
    if (descriptor == nullptr) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::%s(): element out of range: %d.", operation,
                                index);
    }
    return descriptor;
}

// An element whose bytes lie in the images; file-only and image-less elements are refused.
CDataDescriptor* CDataHandler::ImageElement(int index, const char* operation) {
    CDataDescriptor* descriptor = TableElement(index, operation);
    if (descriptor == nullptr) {
        return nullptr;
    }
    if (descriptor->GetOffset() < 0 || descriptor->GetOffset() + descriptor->GetLength() > kImageBytes) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::%s(): element %d is not in the image.", operation,
                                index);
        return nullptr;
    }
    return descriptor;
}

void CDataHandler::ReadData(int index, BYTE* destination) {
    CDataDescriptor* descriptor = ImageElement(index, "ReadData");
    if (descriptor == nullptr || (destination == nullptr && descriptor->GetLength() > 0)) {
        return;
    }
    CSingleLock guard(&descriptor->GetLock(), TRUE);
    std::memcpy(destination, GetImage(kImageWorking) + descriptor->GetOffset(),
                static_cast<std::size_t>(descriptor->GetLength()));
}

void CDataHandler::ReadCountedBlock(int index, BYTE* destination, int start) {
    CDataDescriptor* descriptor = ImageElement(index, "ReadCountedBlock");
    if (descriptor == nullptr || destination == nullptr || descriptor->GetLength() == 0 || start < 0) {
        return;
    }
    CSingleLock guard(&descriptor->GetLock(), TRUE);
    const BYTE* element = GetImage(kImageWorking) + descriptor->GetOffset();
    const int bytes = 2 * element[0] + 1;
    if (start + bytes > descriptor->GetLength()) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::ReadCountedBlock(): %d bytes pass element %d.",
                                bytes, index);
        return;
    }
    std::memcpy(destination, element + start, static_cast<std::size_t>(bytes));
}

void CDataHandler::CopyIntoImage(CDataDescriptor& descriptor, const BYTE* source) {
    if (descriptor.GetLength() == 0) {
        return;
    }
    std::memcpy(GetImage(kImageWorking) + descriptor.GetOffset(), source,
                static_cast<std::size_t>(descriptor.GetLength()));
}

void CDataHandler::WriteData(int index, const BYTE* source, const BYTE* callerData) {
    CLogger& log = CLogger::Instance();
    log.Log(kLogSteps, "CDataHandler::WriteData(): 1.");
    CDataDescriptor* descriptor = ImageElement(index, "WriteData");
    if (descriptor == nullptr) {
        return;
    }
    if (source == nullptr && descriptor->GetLength() > 0) {
        log.Log(kLogRefused, "CDataHandler::WriteData(): no data for element %d.", index);
        return;
    }
    {
        CSingleLock guard(&descriptor->GetLock(), TRUE);
        log.Log(kLogSteps, "CDataHandler::WriteData(): 2.");
        CopyIntoImage(*descriptor, source);
    }
    log.Log(kLogSteps, "CDataHandler::WriteData(): 3.");
    PostToSubscribers(*descriptor, kFlagChanged, kReasonChanged);
    log.Log(kLogSteps, "CDataHandler::WriteData(): 4.");
    if (IsLinkUp(m_status) && m_busyState == kBusyIdle) {
        QueueElementWrite(descriptor, callerData);
    } else {
        // The unit takes no writes while busy or away; the change waits in image 0.
        log.Log(kLogStatus, "CDataHandler::WriteData(): element %d held, status %d, busy state %d.", index,
                m_status.load(), m_busyState.load());
        HoldEdit();
    }
    log.Log(kLogSteps, "CDataHandler::WriteData(): 5.");
    UpdateMainWindow();
    log.Log(kLogSteps, "CDataHandler::WriteData(): 6.");
}

void CDataHandler::WriteDataLocal(int index, const BYTE* source) {
    CDataDescriptor* descriptor = ImageElement(index, "WriteDataLocal");
    if (descriptor == nullptr) {
        return;
    }
    if (source == nullptr && descriptor->GetLength() > 0) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::WriteDataLocal(): no data for element %d.",
                                index);
        return;
    }
    {
        CSingleLock guard(&descriptor->GetLock(), TRUE);
        CopyIntoImage(*descriptor, source);
    }
    PostToSubscribers(*descriptor, kFlagChanged, kReasonChanged);
}

void CDataHandler::UpdateMainWindow() {
    if (m_mainWindow == nullptr) {
        return;
    }
    m_mainWindow->SetModified(HasConfiguration() && IsModified() ? TRUE : FALSE);
    m_mainWindow->UpdateTitle();
}

void CDataHandler::SetModified() {
    UpdateMainWindow();
}

bool CDataHandler::Queue(CDataDescriptor* descriptor,
                         int kind,
                         int row,
                         const BYTE* source,
                         BYTE* destination) {
    const int id = descriptor != nullptr ? descriptor->GetID() : -1;
    if (m_queue == nullptr) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler: no communicator for element %d.", id);
        return false;
    }
    if (row == kNoRow) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler: element %d has no such command.", id);
        return false;
    }
    std::size_t destinationSize = IRequestQueue::kSizeFromRow;
    if (destination != nullptr && descriptor != nullptr && destination == WorkingDestination(*descriptor)) {
        destinationSize = static_cast<std::size_t>(kImageBytes - descriptor->GetBlockStart());
    }
    if (!m_queue->QueueRequest(descriptor, kind, row, source, destination, destinationSize)) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler: request of row %d for element %d refused.", row,
                                id);
        return false;
    }
    return true;
}

// Image 0 at the element's block start, where its reads land; null without a block.
BYTE* CDataHandler::WorkingDestination(const CDataDescriptor& descriptor) {
    if (descriptor.GetBlockStart() < 0 || descriptor.GetBlockStart() >= kImageBytes) {
        return nullptr;
    }
    return GetImage(kImageWorking) + descriptor.GetBlockStart();
}

void CDataHandler::QueueElementWrite(CDataDescriptor* descriptor, const BYTE* callerData) {
    if (descriptor == nullptr) {
        return;
    }
    const BYTE* source = WorkingDestination(*descriptor);
    switch (descriptor->GetBlockMode()) {
    case kBlockWhole:
        break;
    case kBlockIndexed:
        if (source == nullptr) {
            return;
        }
        {
            CSingleLock guard(&descriptor->GetLock(), TRUE);
            std::memcpy(GetImage(kImageWorking) + descriptor->GetBlockStart(), descriptor->GetPrefix(),
                        descriptor->GetPrefixLength());
        }
        break;
    case kBlockCaller:
        if (callerData == nullptr) {
            CLogger::Instance().Log(kLogRefused, "CDataHandler: no data to write element %d.",
                                    descriptor->GetID());
            return;
        }
        if (descriptor->GetWriteRow() == kRowWriteBox && BoxRecordLength(callerData) == 0) {
            CLogger::Instance().Log(kLogRefused, "CDataHandler: box record %d,%d-%d,%d refused.",
                                    callerData[0], callerData[1], callerData[2], callerData[3]);
            return;
        }
        // The communicator copies the caller's bytes (a box record with its cells) at once.
        source = callerData;
        break;
    default:
        return;
    }
    if (!Queue(descriptor, kKindOrdinary, descriptor->GetWriteRow(), source, nullptr)) {
        HoldEdit();
    }
}

void CDataHandler::HoldEdit() {
    if (m_editsHeld) {
        return;
    }
    m_editsHeld = true;
    if (m_mainWindow != nullptr) {
        m_mainWindow->SetEditsHeld(TRUE);
    }
}

bool CDataHandler::ForgetHeldEdits() {
    if (!m_editsHeld) {
        return false;
    }
    m_editsHeld = false;
    if (m_mainWindow != nullptr) {
        m_mainWindow->SetEditsHeld(FALSE);
    }
    return true;
}

void CDataHandler::DropHeldEdits() {
    if (ForgetHeldEdits()) {
        Show(LoadText(IDS_EDITS_NOT_SENT), IUserPrompter::Box::Warning);
    }
}

int CDataHandler::RequestRead(int index, const BYTE* source) {
    const int status = m_status;
    if (!IsLinkUp(status)) {
        return status;
    }
    CDataDescriptor* descriptor = TableElement(index, "RequestRead");
    return descriptor != nullptr && Queue(descriptor, kKindOrdinary, descriptor->GetReadRow(), source,
                                          WorkingDestination(*descriptor))
               ? status
               : kRequestRefused;
}

int CDataHandler::RequestCommand(int index, const BYTE* source) {
    const int status = m_status;
    if (!IsLinkUp(status)) {
        return status;
    }
    CDataDescriptor* descriptor = TableElement(index, "RequestCommand");
    return descriptor != nullptr &&
                   Queue(descriptor, kKindFlagged, descriptor->GetWriteRow(), source, nullptr)
               ? status
               : kRequestRefused;
}

int CDataHandler::RequestReadTo(int index, const BYTE* source, BYTE* destination) {
    const int status = m_status;
    if (!IsLinkUp(status)) {
        return status;
    }
    CDataDescriptor* descriptor = TableElement(index, "RequestReadTo");
    return descriptor != nullptr &&
                   Queue(descriptor, kKindOrdinary, descriptor->GetReadRow(), source, destination)
               ? status
               : kRequestRefused;
}

int CDataHandler::RequestWriteFrom(int index, const BYTE* source, BYTE* destination) {
    const int status = m_status;
    if (!IsLinkUp(status)) {
        return status;
    }
    CDataDescriptor* descriptor = TableElement(index, "RequestWriteFrom");
    return descriptor != nullptr &&
                   Queue(descriptor, kKindOrdinary, descriptor->GetWriteRow(), source, destination)
               ? status
               : kRequestRefused;
}

void CDataHandler::RegisterWindow(IMessageTarget* window) {
    CSingleLock guard(&m_windowsLock, TRUE);
    if (m_windows.Find(window) == nullptr) {
        m_windows.AddTail(window);
    }
}

void CDataHandler::UnregisterWindow(IMessageTarget* window) {
    CSingleLock guard(&m_windowsLock, TRUE);
    const POSITION position = m_windows.Find(window);
    if (position != nullptr) {
        m_windows.RemoveAt(position);
    }
}

void CDataHandler::WithdrawRequests(int index) {
    CDataDescriptor* descriptor = TableElement(index, "WithdrawRequests");
    if (descriptor != nullptr) {
        descriptor->WithdrawRequests();
    }
}

void CDataHandler::Subscribe(IMessageTarget* window, int index, int flags) {
    CDataDescriptor* descriptor = TableElement(index, "Subscribe");
    if (descriptor != nullptr) {
        descriptor->Subscribe(window, flags);
    }
}

void CDataHandler::Unsubscribe(IMessageTarget* window, int index, int flags) {
    CDataDescriptor* descriptor = TableElement(index, "Unsubscribe");
    if (descriptor != nullptr) {
        descriptor->Unsubscribe(window, flags);
    }
}

void CDataHandler::PostToSubscribers(const CDataDescriptor& descriptor,
                                     int flag,
                                     LONG_PTR reason,
                                     UINT_PTR succeeded) {
    descriptor.PostToSubscribers(flag, WM_DH_ELEMENT_CHANGED, succeeded,
                                 ElementLParam(descriptor.GetID(), reason));
}

// Posting does not block, so the list stays locked while it posts: a window that
// unregisters before it is destroyed is never posted to once UnregisterWindow returned.
void CDataHandler::Broadcast(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CSingleLock guard(&m_windowsLock, TRUE);
    for (POSITION position = m_windows.GetHeadPosition(); position != nullptr;) {
        m_windows.GetNext(position)->PostMessage(message, wParam, lParam);
    }
}

void CDataHandler::PostToMainWindow(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    if (m_mainWindow != nullptr) {
        m_mainWindow->PostMessage(message, wParam, lParam);
    }
}

void CDataHandler::BroadcastLanguageChanged() {
    Broadcast(WM_DH_LANGUAGE_CHANGED, 0, 0);
}

void CDataHandler::BroadcastEventLogChanged(UINT_PTR state) {
    Broadcast(WM_DH_EVENTLOG_CHANGED, state, 0);
}

BOOL CDataHandler::HasConfiguration() const {
    return m_hasUnitData || m_fileBacked ? TRUE : FALSE;
}

BOOL CDataHandler::IsModified() const {
    if (!m_fileBacked || m_untitled) {
        return TRUE;
    }
    const BYTE* working = m_images[kImageWorking].data();
    const BYTE* file = m_images[kImageFile].data();
    return CompareImages(working, file, nullptr) ? TRUE : FALSE;
}

bool CDataHandler::SettingsEqual(const CDataDescriptor& descriptor,
                                 const BYTE* first,
                                 const BYTE* second) const {
    const int offset = descriptor.GetOffset();
    const BYTE a = first[offset];
    const BYTE b = second[offset];
    switch (descriptor.GetID()) {
    case kElementTankValve:
        return (a & 0x0F) == (b & 0x0F);
    case kElementPumpType:
        return a == b || ((a == 0 || a == kPumpTypeDefault) && (b == 0 || b == kPumpTypeDefault));
    case kElementLubrication:
        return a == b || ((a == 0 || a == kLubricationDefault) && (b == 0 || b == kLubricationDefault));
    default:
        return std::memcmp(first + offset, second + offset,
                           static_cast<std::size_t>(descriptor.GetLength())) == 0;
    }
}

bool CDataHandler::CompareImages(const BYTE* first,
                                 const BYTE* second,
                                 std::vector<CDataDescriptor*>* differences) const {
    bool differ = false;
    for (const CDataDescriptor& descriptor : m_descriptors) {
        const int id = descriptor.GetID();
        if (descriptor.GetAccess() != kAccessSetting || id == kElementLoadMinimum ||
            id == kElementCylinders) {
            continue;
        }
        if (SettingsEqual(descriptor, first, second)) {
            continue;
        }
        differ = true;
        if (differences != nullptr && id != kElementPumpType && id != kElementLubrication) {
            differences->push_back(const_cast<CDataDescriptor*>(&descriptor));
        }
    }
    return differ;
}

void CDataHandler::WriteChangedElements(const std::vector<CDataDescriptor*>& differences) {
    // A held edit differs from the unit unless it was undone, so it goes out here; one the
    // communicator refuses again is held again.
    ForgetHeldEdits();
    std::vector<int> wholeRowsQueued;
    for (CDataDescriptor* descriptor : differences) {
        switch (descriptor->GetBlockMode()) {
        case kBlockWhole: {
            const int row = descriptor->GetWriteRow();
            bool queued = false;
            for (int done : wholeRowsQueued) {
                queued = queued || done == row;
            }
            if (!queued) {
                wholeRowsQueued.push_back(row);
                QueueElementWrite(descriptor, nullptr);
            }
            break;
        }
        case kBlockCaller:
            if (descriptor->GetID() == kElementCorrectionMap && descriptor->GetWriteRow() == kRowWriteBox &&
                FindChangedBox() > 0) {
                QueueElementWrite(descriptor, m_boxBuffer);
            }
            break;
        default:
            QueueElementWrite(descriptor, nullptr);
            break;
        }
    }
}

std::size_t CDataHandler::FindChangedBox() {
    const CDataDescriptor& map = m_descriptors[kElementCorrectionMap];
    const std::size_t offset = static_cast<std::size_t>(map.GetOffset());
    return BuildChangedBox(GetImage(kImageUnit) + offset, GetImage(kImageWorking) + offset,
                           static_cast<std::size_t>(map.GetLength()), m_boxBuffer);
}

void CDataHandler::ClearMeasurements() {
    m_measurements.clear();
}

void CDataHandler::AddMeasurement(int rpm, double timeMs, int value) {
    ConfigMeasurement record;
    record.rpm = rpm;
    // The whole microseconds of the time; a stored time comes back as a multiple of 0.001 ms,
    // which a double holds only nearly (4.007 ms is 4006.9999... us), so the cut allows for it.
    record.injectionUs = static_cast<LONG>(std::trunc(timeMs * 1000.0 + kMicrosecondTolerance));
    record.value = value;
    m_measurements.push_back(record);
}

void CDataHandler::CopyMeasurements(CPtrList& list) {
    for (ConfigMeasurement& record : m_measurements) {
        list.AddTail(&record);
    }
}

int CDataHandler::FindSettingByLock(const CCriticalSection* lock) {
    for (CDataDescriptor& descriptor : m_descriptors) {
        if (descriptor.GetAccess() == kAccessSetting && &descriptor.GetLock() == lock) {
            return descriptor.GetID();
        }
    }
    return -1;
}

int CDataHandler::IsReadSupported(int index) const {
    if (index < 0 || index >= kElementCount || m_queue == nullptr) {
        return 0;
    }
    return m_queue->IsRowSupported(m_descriptors[index].GetReadRow());
}

int CDataHandler::GetElementOffset(int index) const {
    return index >= 0 && index < kElementCount ? m_descriptors[index].GetOffset() : -1;
}

int CDataHandler::GetElementLength(int index) const {
    return index >= 0 && index < kElementCount ? m_descriptors[index].GetLength() : 0;
}
