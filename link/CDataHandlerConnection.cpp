// The data handler's connection side: the communicator's status, the full read and the
// live cycle, update mode, and the decision about a unit that has just connected (its data
// or the program's, and whether to save first).
#include "link/CDataHandler.h"

#include "classlib/core/CSingleLock.h"
#include "link/CCommunicator.h"
#include "link/CCommunicatorQueue.h"
#include "link/CLogger.h"
#include "link/CommRequest.h"
#include "link/DataHandlerConstants.h"
#include "link/DataHandlerMessages.h"
#include "link/EnglishTexts.h"
#include "link/IMainWindow.h"
#include "link/IRequestQueue.h"
#include "link/IUnitPrompter.h"

#include <cstring>

using namespace DataHandlerConstants;

namespace {

constexpr int kEngineStatusBusyByte = 3;
constexpr int kEngineStatusCycleByte = 4;

// A unit whose version lies below any of these parts gets elements 122 and 102 cleared.
constexpr int kVersionFirstMin = 3;
constexpr int kVersionSecondMin = 10;
constexpr int kVersionThirdMin = 6;

}  // namespace

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

// Takes the locks of all setting elements in index order; they are released together.
CDataHandler::HeldLocks CDataHandler::LockSettings() {
    HeldLocks locks;
    for (CDataDescriptor* descriptor : GetSettingDescriptors()) {
        locks.push_back(std::make_unique<CSingleLock>(&descriptor->GetLock(), TRUE));
    }
    return locks;
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
        const HeldLocks locks = LockSettings();
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

// ---- The connected unit ---------------------------------------------------------------

void CDataHandler::CheckConnectedUnit() {
    CLogger::Instance().Log(kLogSteps, "CDataHandler::CheckConnectedUnit(): started.");
    if (!m_hasUnitData && !m_fileBacked) {
        TakeUnitData();
    } else if (!m_hasUnitData) {
        if (DecideTransfer(CompareImages(GetImage(kImageFile), GetImage(kImageWorking), nullptr)) ==
            kTransferCancel) {
            return;
        }
        m_hasUnitData = true;
    } else if (!CheckKnownUnit()) {
        return;
    }
    CopyIdentity();
    if (!m_fileBacked) {
        MatchRememberedFile();
    }
}

// A unit was read before: the same unit gets the edits, another one brings the question.
// The version settings are adjusted in image 0 first but written only with the edits: a
// write queued before the answer would send the other data's settings block to a unit whose
// own data is then kept, or which the user chose to leave alone.
bool CDataHandler::CheckKnownUnit() {
    const bool versionChanged = AdjustVersionSettingsInImage();
    const int decision = DecideKnownUnit();
    if (decision == kTransferToUnit && versionChanged) {
        WriteVersionSettings();
    }
    return decision != kTransferCancel;
}

// kTransferToUnit when the edits were written, else the user's answer.
int CDataHandler::DecideKnownUnit() {
    const BYTE* unit = GetImage(kImageUnit);
    const BYTE* lastKnown = GetImage(kImageLastKnown);
    if (std::memcmp(unit, lastKnown, kImageBytes) == 0) {
        std::vector<CDataDescriptor*> differences;
        CompareImages(unit, GetImage(kImageWorking), &differences);
        WriteChangedElements(differences);
        return kTransferToUnit;
    }
    const int idOffset = m_descriptors[kElementUnitId].GetOffset();
    const bool sameUnit = std::memcmp(unit + idOffset, lastKnown + idOffset, kUnitIdBytes) == 0;
    if (sameUnit && !m_forcePrompt) {
        PushEdits();
        return kTransferToUnit;
    }
    m_forcePrompt = false;
    const bool unsaved =
        !m_fileBacked || CompareImages(GetImage(kImageFile), GetImage(kImageWorking), nullptr);
    return DecideTransfer(unsaved);
}

// Asks which way the data goes and carries the answer out; kTransferCancel when the user
// cancelled (or gave no answer the dialog knows).
int CDataHandler::DecideTransfer(bool offerSave) {
    const int answer =
        m_user != nullptr ? m_user->AskTransferDirection(LoadText(IDS_NEW_UNIT_CONNECTED)) : kTransferCancel;
    if (answer == kTransferFromUnit) {
        if (offerSave) {
            OfferToSave();
        }
        ClearMeasurements();
        m_tables.clear();
        TakeUnitData();
        return kTransferFromUnit;
    }
    if (answer == kTransferToUnit) {
        PushEdits();
        return kTransferToUnit;
    }
    DropHeldEdits();
    return kTransferCancel;
}

void CDataHandler::OfferToSave() {
    if (!Show(LoadText(IDS_SAVE_BEFORE_OVERWRITE), IUserPrompter::Box::Question)) {
        return;
    }
    // A file that cannot be written brings the dialog back, as the save command does.
    CString path;
    while (m_user->ChooseConfigFileToSave(m_fileName, path)) {
        if (SaveConfigFile(path) != 0) {
            return;
        }
    }
}

void CDataHandler::TakeUnitData() {
    DropHeldEdits();
    {
        const HeldLocks locks = LockSettings();
        std::memcpy(GetImage(kImageWorking), GetImage(kImageUnit), kImageBytes);
        std::memcpy(GetImage(kImageLastKnown), GetImage(kImageUnit), kImageBytes);
    }
    m_fileBacked = false;
    m_hasUnitData = true;
    m_untitled = true;
    m_fileName.Empty();
    m_folder.Empty();
    if (m_mainWindow != nullptr) {
        m_mainWindow->SetFileName(LoadText(IDS_UNTITLED));
        m_mainWindow->SetModified(TRUE);
        m_mainWindow->UpdateTitle();
    }
    PostLoaded(kAccessSetting);
}

void CDataHandler::PushEdits() {
    std::memcpy(GetImage(kImageLastKnown), GetImage(kImageUnit), kImageBytes);
    std::vector<CDataDescriptor*> differences;
    CompareImages(GetImage(kImageUnit), GetImage(kImageWorking), &differences);
    WriteChangedElements(differences);
}

void CDataHandler::CopyIdentity() {
    for (CDataDescriptor& descriptor : m_descriptors) {
        if (descriptor.GetAccess() != kAccessIdentity || descriptor.GetOffset() < 0) {
            continue;
        }
        CSingleLock guard(&descriptor.GetLock(), TRUE);
        const std::size_t offset = static_cast<std::size_t>(descriptor.GetOffset());
        const std::size_t length = static_cast<std::size_t>(descriptor.GetLength());
        std::memcpy(GetImage(kImageWorking) + offset, GetImage(kImageUnit) + offset, length);
        std::memcpy(GetImage(kImageLastKnown) + offset, GetImage(kImageUnit) + offset, length);
    }
    PostLoaded(kAccessIdentity);
}
