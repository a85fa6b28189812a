// The data handler: element access, requests, notifications and the modified judgement.
// The connection side (status, completions, live cycle) is marked where it begins.
#include "link/CDataHandler.h"

#include "classlib/core/CSingleLock.h"
#include "link/CCommunicator.h"
#include "link/CCommunicatorQueue.h"
#include "link/CLogger.h"
#include "link/CUpdateModeStep.h"
#include "link/CommRequest.h"
#include "link/DataHandlerMessages.h"
#include "link/IMainWindow.h"
#include "link/IMessageTarget.h"
#include "link/IRequestQueue.h"
#include "link/IUnitPrompter.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int kLogSteps = 3500;
constexpr int kLogStatus = 3000;
constexpr int kLogRefused = 2000;
constexpr double kMicrosecondTolerance = 1e-6;

// Settings that the modified judgement and the push to the unit treat specially.
constexpr int kElementLoadMinimum = 100;
constexpr int kElementCylinders = 101;
constexpr int kElementTankValve = 45;
constexpr BYTE kPumpTypeDefault = 3;
constexpr BYTE kLubricationDefault = 7;

constexpr int kEngineStatusBusyByte = 3;
constexpr int kEngineStatusCycleByte = 4;

// A unit whose version lies below any of these parts gets elements 122 and 102 cleared.
constexpr int kVersionFirstMin = 3;
constexpr int kVersionSecondMin = 10;
constexpr int kVersionThirdMin = 6;

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
    if (IsLinkUp(m_status)) {
        if (m_busyState == kBusyIdle) {
            QueueElementWrite(descriptor, callerData);
        } else {
            // The unit takes no writes while busy; the change stays in image 0 only.
            log.Log(kLogStatus, "CDataHandler::WriteData(): element %d not sent, busy state %d.", index,
                    m_busyState.load());
        }
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
    Queue(descriptor, kKindOrdinary, descriptor->GetWriteRow(), source, nullptr);
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

// ---- Connection side -------------------------------------------------------------

// Runs on the communicator thread.
void CDataHandler::DataHandler(int status, int portNumber) {
    const int old = m_status;
    if (status == old) {
        return;
    }
    CLogger::Instance().Log(kLogStatus, "DataHandler: status changed %d to %d at port %d", old, status,
                            portNumber);
    if (m_queue != nullptr && m_queue->GetWaitState() != 0) {
        if (m_prompter != nullptr) {
            m_prompter->AdjustTransferChoice(IsLinkUp(status));
        }
    } else if (!IsLinkUp(old) && IsLinkUp(status)) {
        QueueFullRead();
    }
    m_status = status;
    Broadcast(WM_DH_STATUS_CHANGED, static_cast<UINT_PTR>(status), portNumber);
}

void CDataHandler::QueueFullRead() {
    CDataDescriptor& engineStatus = m_descriptors[DATA_STATUS_ENGINE_STATUS];
    Queue(&engineStatus, kKindOrdinary, engineStatus.GetReadRow(), nullptr, WorkingDestination(engineStatus));
    QueueFullReadRequest();
    QueueLivePolls();
}

// The command that precedes every full read, then the full read into image 1.
void CDataHandler::QueueFullReadRequest() {
    CDataDescriptor& readAll = m_descriptors[kElementReadAllCommand];
    Queue(&readAll, kKindOrdinary, readAll.GetWriteRow(), nullptr, nullptr);
    if (m_queue != nullptr && !m_queue->QueueRequest(nullptr, kKindOrdinary, kRowFullRead, nullptr,
                                                     GetImage(kImageUnit), kImageBytes)) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler: the full read was refused.");
    }
}

// One cyclic poll per read row of the live elements; elements sharing a block share it.
void CDataHandler::QueueLivePolls() {
    std::vector<int> rows;
    for (CDataDescriptor& descriptor : m_descriptors) {
        if (descriptor.GetAccess() != kAccessLive) {
            continue;
        }
        bool polled = false;
        for (int row : rows) {
            polled = polled || row == descriptor.GetReadRow();
        }
        if (!polled) {
            rows.push_back(descriptor.GetReadRow());
            Queue(&descriptor, kKindCyclic, descriptor.GetReadRow(), nullptr, WorkingDestination(descriptor));
        }
    }
}

// Runs on the communicator thread, with the request's element lock held.
void CDataHandler::OnTaskFinished(CommRequest* request, int success) {
    if (request == nullptr) {
        return;
    }
    if (success == 0) {
        // A withdrawn request was dropped at its caller's wish: nobody waits for its outcome,
        // and a later run of the same element must not take it as its own failure.
        if (!request->IsWithdrawn()) {
            OnTaskFailed(*request);
        }
        return;
    }
    CLogger& log = CLogger::Instance();
    log.Log(kLogSteps, "CDataHandler::OnTaskFinished(): started.");
    CDataDescriptor* descriptor = request->descriptor;
    if (descriptor == nullptr) {
        OnFullReadFinished();
        log.Log(kLogSteps, "CDataHandler::OnTaskFinished(): finished(p_desc == NULL).");
        return;
    }
    if (descriptor->GetID() == DATA_STATUS_ENGINE_STATUS) {
        OnEngineStatusRead();
        log.Log(kLogSteps,
                "CDataHandler::OnTaskFinished(): finished(p_desc->GetID() == DATA_STATUS_ENGINE_STATUS).");
        return;
    }
    if (descriptor->GetOffset() >= 0 && descriptor->GetLength() > 0) {
        CSingleLock guard(&descriptor->GetLock(), TRUE);
        const std::size_t offset = static_cast<std::size_t>(descriptor->GetOffset());
        const std::size_t length = static_cast<std::size_t>(descriptor->GetLength());
        std::memcpy(GetImage(kImageUnit) + offset, GetImage(kImageWorking) + offset, length);
        std::memcpy(GetImage(kImageLastKnown) + offset, GetImage(kImageWorking) + offset, length);
    }
    if ((request->kind & kKindFlagged) != 0) {
        PostToSubscribers(*descriptor, kFlagFlaggedDone, kReasonFlaggedDone);
    } else {
        PostToSubscribers(*descriptor, kFlagTransferred, kReasonTransferred);
    }
    if (descriptor->GetAccess() == kAccessSetting) {
        m_settingTransferred = true;
    }
    log.Log(kLogSteps, "CDataHandler::OnTaskFinished(): finished.");
}

// The pages waiting for this transfer learn that it failed (wParam 0), so none of them
// waits for ever; the unit's images are left as they were.
void CDataHandler::OnTaskFailed(const CommRequest& request) {
    CDataDescriptor* descriptor = request.descriptor;
    if (descriptor == nullptr || descriptor->GetID() == DATA_STATUS_ENGINE_STATUS) {
        return;
    }
    CLogger::Instance().Log(kLogStatus, "CDataHandler::OnTaskFinished(): element %d failed.",
                            descriptor->GetID());
    if ((request.kind & kKindFlagged) != 0) {
        PostToSubscribers(*descriptor, kFlagFlaggedDone, kReasonFlaggedDone, 0);
    } else {
        PostToSubscribers(*descriptor, kFlagTransferred, kReasonTransferred, 0);
    }
}

void CDataHandler::OnFullReadFinished() {
    if (m_busyState != kBusyIdle) {
        // Held until the busy dialog closes (FlushFCR).
        m_fullReadPending = true;
        return;
    }
    m_fullReadPending = false;
    if (m_queue != nullptr) {
        m_queue->SetWaitState(1);
    }
    PostToMainWindow(WM_DH_FULL_READ_DONE, 0, 0);
}

void CDataHandler::OnEngineStatusRead() {
    if (ReadWorkingByte(DATA_STATUS_ENGINE_STATUS, kEngineStatusBusyByte) > kBusyStatusMax) {
        m_busyState = kBusyIdle;
        return;
    }
    m_busyState = kBusyWorking;
    PostToMainWindow(WM_DH_UNIT_BUSY, 0, 0);
}

BYTE CDataHandler::ReadWorkingByte(int index, int byteIndex) {
    CDataDescriptor& descriptor = m_descriptors[index];
    CSingleLock guard(&descriptor.GetLock(), TRUE);
    return GetImage(kImageWorking)[descriptor.GetOffset() + byteIndex];
}

// Runs on the communicator thread.
bool CDataHandler::OnLiveCycleEnd() {
    FollowJobEnd();
    Broadcast(WM_DH_NEW_DATA, 0, 0);
    return !TakeLiveCycleStop();
}

// The polled engine status shows when a job the unit was busy with at connection has
// ended; the busy state follows it back, before the busy dialog hears of the cycle, so
// that edits reach the unit again. Runs on either thread.
void CDataHandler::FollowJobEnd() {
    if (m_busyState != kBusyWorking ||
        ReadWorkingByte(DATA_STATUS_ENGINE_STATUS, kEngineStatusBusyByte) <= kBusyStatusMax) {
        return;
    }
    m_busyState = kBusyIdle;
    CLogger::Instance().Log(kLogStatus, "CDataHandler: the unit's job has ended.");
}

// A stop ends the live cycle once: the byte is cleared, so the passes that come before
// element 30 is read again do not take the same stop a second time.
bool CDataHandler::TakeLiveCycleStop() {
    CDataDescriptor& descriptor = m_descriptors[DATA_STATUS_ENGINE_STATUS];
    CSingleLock guard(&descriptor.GetLock(), TRUE);
    BYTE& stop = GetImage(kImageWorking)[descriptor.GetOffset() + kEngineStatusCycleByte];
    if (stop != kLiveCycleStop) {
        return false;
    }
    stop = 0;
    return true;
}

// Runs on the communicator thread.
std::vector<CDataDescriptor*> CDataHandler::GetSettingDescriptors() {
    std::vector<CDataDescriptor*> settings;
    for (CDataDescriptor& descriptor : m_descriptors) {
        if (descriptor.GetAccess() == kAccessSetting) {
            settings.push_back(&descriptor);
        }
    }
    return settings;
}

// Runs on the communicator thread.
void CDataHandler::OnFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) {
    PostToMainWindow(WM_DH_FULL_READ_PROGRESS, wParam, lParam);
}

// Runs on the communicator thread.
void CDataHandler::RequestUpdateMode() {
    SetLinkMode(kModeEnterUpdate);
}

void CDataHandler::SetNormalMode() {
    SetLinkMode(kModeNormal);
}

bool CDataHandler::StartFirmwareUpload(const CByteArray& image) {
    if (m_communicator == nullptr) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::StartFirmwareUpload(): no link.");
        return false;
    }
    const BYTE* bytes = image.GetData();
    if (!m_communicator->SetFirmware(std::vector<BYTE>(bytes, bytes + image.GetSize()))) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::StartFirmwareUpload(): an upload is running.");
        return false;
    }
    m_communicator->SetMode(kModeUploadStart);
    return true;
}

void CDataHandler::RequestLeaveUpdateMode() {
    SetLinkMode(kModeLeaveUpdate);
}

void CDataHandler::SetLinkMode(int mode) {
    if (m_communicator == nullptr) {
        CLogger::Instance().Log(kLogRefused, "CDataHandler::SetLinkMode(): no link for mode %d.", mode);
        return;
    }
    m_communicator->SetMode(mode);
}

void CDataHandler::PostUpdateProgress(UINT_PTR code, LONG_PTR perMille) {
    PostToMainWindow(WM_DH_UPDATE_PROGRESS, code, perMille);
}

// Runs on the communicator thread.
void CDataHandler::OnUpdateModeInfo(WORD word0, WORD word1, WORD word2) {
    SetUpdateModeInfo(word0, word1, word2);
}

void CDataHandler::FlushFCR() {
    CLogger::Instance().Log(kLogSteps, "CDataHandler::FlushFCR(): started.");
    // The busy dialog closes on what it read of the engine status, which may be newer than
    // the last live cycle's end.
    FollowJobEnd();
    if (m_fullReadPending) {
        std::vector<std::unique_ptr<CSingleLock>> locks;
        for (CDataDescriptor* descriptor : GetSettingDescriptors()) {
            locks.push_back(std::make_unique<CSingleLock>(&descriptor->GetLock(), TRUE));
        }
        m_fullReadPending = false;
        if (m_queue != nullptr) {
            m_queue->SetWaitState(1);
        }
        PostToMainWindow(WM_DH_FULL_READ_DONE, 0, 0);
    }
    CLogger::Instance().Log(kLogSteps, "CDataHandler::FlushFCR(): finished.");
}

void CDataHandler::RequestRestore() {
    m_fileBacked = false;
    m_hasUnitData = false;
    QueueFullReadRequest();
}

void CDataHandler::GetUnitVersion(int& first, int& second, int& third) {
    const BYTE* unit = GetImage(kImageUnit);
    first = unit[m_descriptors[kElementHardwareVersion].GetOffset() + 2];
    second = unit[m_descriptors[kElementHardwareVersion].GetOffset() + 3];
    third = unit[m_descriptors[kElementBuildWord].GetOffset()];
}

bool CDataHandler::SetVersionSetting(int index, BYTE value) {
    CDataDescriptor& descriptor = m_descriptors[index];
    CSingleLock guard(&descriptor.GetLock(), TRUE);
    BYTE& current = GetImage(kImageWorking)[descriptor.GetOffset()];
    if (current == value) {
        return false;
    }
    current = value;
    return true;
}

void CDataHandler::AdjustVersionSettings() {
    if (AdjustVersionSettingsInImage()) {
        WriteVersionSettings();
    }
}

bool CDataHandler::AdjustVersionSettingsInImage() {
    int first = 0;
    int second = 0;
    int third = 0;
    GetUnitVersion(first, second, third);
    bool changed = false;
    if (first < kVersionFirstMin || second < kVersionSecondMin || third < kVersionThirdMin) {
        changed = SetVersionSetting(kElementPumpType, 0);
        changed = SetVersionSetting(kElementLubrication, 0) || changed;
    } else {
        if (ReadWorkingByte(kElementPumpType, 0) == 0) {
            changed = SetVersionSetting(kElementPumpType, kPumpTypeDefault);
        }
        if (ReadWorkingByte(kElementLubrication, 0) == 0) {
            changed = SetVersionSetting(kElementLubrication, kLubricationDefault) || changed;
        }
    }
    return changed;
}

void CDataHandler::WriteVersionSettings() {
    const BYTE pumpType = ReadWorkingByte(kElementPumpType, 0);
    const BYTE lubrication = ReadWorkingByte(kElementLubrication, 0);
    WriteData(kElementPumpType, &pumpType);
    WriteData(kElementLubrication, &lubrication);
}
