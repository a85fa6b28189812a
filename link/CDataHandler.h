// The one owner of the unit's data: four memory images, the 123 element descriptors,
// the windows told of changes, and the state that says where the working data came
// from. Pages read and write elements here by index; writes become requests for the
// communicator, and every change is announced by posted window messages.
// The UI thread calls everything except the ICommunicatorSink side, which runs on the
// communicator's worker thread.
#pragma once

#include "classlib/core/CArray.h"
#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CList.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "link/CConfigFile.h"
#include "link/CDataDescriptor.h"
#include "link/ElementTable.h"
#include "link/ICommunicatorSink.h"
#include "link/IUserPrompter.h"
#include "link/LinkStatus.h"
#include "link/MapBox.h"

#include <array>
#include <atomic>
#include <list>
#include <memory>
#include <vector>

class CCommunicator;
class CSingleLock;
class CCommunicatorQueue;
class IMainWindow;
class IMessageTarget;
class IRequestQueue;
class IResourceManager;
class IUnitPrompter;
struct UpdateFileContents;

// The four memory images.
constexpr int kImageWorking = 0;    // what the pages show and edit
constexpr int kImageUnit = 1;       // the unit's data as last transferred; target of the full read
constexpr int kImageLastKnown = 2;  // the unit as last known; tells whether the unit changed
constexpr int kImageFile = 3;       // the current configuration file; "modified" is judged against it
constexpr int kImageCount = 4;

// Busy states of the unit, followed from completed reads of the engine status.
constexpr int kBusyUnknown = 0;
constexpr int kBusyIdle = 1;
constexpr int kBusyWorking = 2;
// Byte 3 of the engine status at or below this value: the unit is busy with a job.
constexpr BYTE kBusyStatusMax = 200;
// Byte 4 of the engine status with this value ends the live cycle.
constexpr BYTE kLiveCycleStop = 253;

// What a request operation returns when the link was up but the request could not be
// queued (no such element or command, or data the command cannot carry).
constexpr int kRequestRefused = -1;

// Request kinds.
constexpr int kKindOrdinary = 0;
constexpr int kKindCyclic = 1;
constexpr int kKindFlagged = 2;

class CDataHandler : public ICommunicatorSink {
public:
    CDataHandler();
    ~CDataHandler() override;
    CDataHandler(const CDataHandler&) = delete;
    CDataHandler& operator=(const CDataHandler&) = delete;

    // Wiring; none of these is owned. Set before the communicator's thread starts.
    void SetCommunicator(CCommunicator* communicator);
    void SetRequestQueue(IRequestQueue* queue);

    void SetMainWindow(IMainWindow* mainWindow) { m_mainWindow = mainWindow; }

    void SetPrompter(IUnitPrompter* prompter) { m_prompter = prompter; }

    // Element access. Indices outside the table, elements outside the images and a
    // missing source are refused with a log line and change nothing.
    void ReadData(int index, BYTE* destination);
    // A write the unit cannot take now (link down, unit busy, request refused) is held: it
    // stays in image 0, the main window shows that edits wait, and it goes out with the
    // next write of the changed elements; when other data replace it, the user is told.
    void WriteData(int index, const BYTE* source, const BYTE* callerData = nullptr);
    void WriteDataLocal(int index, const BYTE* source);
    // Copies 2n + 1 bytes from the element's offset plus start, n being the byte at the
    // element's offset; refused when they would pass the element's end.
    void ReadCountedBlock(int index, BYTE* destination, int start);

    // Requests: queued only while the status is 2 or 4. Each returns the status, or
    // kRequestRefused when the link was up but nothing was queued.
    int RequestRead(int index, const BYTE* source);
    int RequestCommand(int index, const BYTE* source);
    int RequestReadTo(int index, const BYTE* source, BYTE* destination);
    int RequestWriteFrom(int index, const BYTE* source, BYTE* destination);
    void QueueElementWrite(CDataDescriptor* descriptor, const BYTE* callerData);

    // Whether a request operation's result says the request was queued.
    static bool IsQueued(int result) { return IsLinkUp(result); }

    // Windows (not owned) must unregister and unsubscribe before they go.
    void RegisterWindow(IMessageTarget* window);
    void UnregisterWindow(IMessageTarget* window);
    void Subscribe(IMessageTarget* window, int index, int flags);
    // The element's requests queued so far are dropped unserved; when it returns, none of
    // them writes to its caller's buffers any more.
    void WithdrawRequests(int index);
    void Unsubscribe(IMessageTarget* window, int index, int flags);
    void BroadcastLanguageChanged();
    void BroadcastEventLogChanged(UINT_PTR state);

    BOOL HasConfiguration() const;
    BOOL IsModified() const;
    void SetModified();

    // The configuration file's name without its folder; empty for data read from the unit.
    const CString& GetFileName() const { return m_fileName; }

    // Whether any setting differs between two images; the differing settings are
    // appended to differences (when given) in index order, except 122 and 102.
    bool CompareImages(const BYTE* first,
                       const BYTE* second,
                       std::vector<CDataDescriptor*>* differences) const;
    // Writes every element that differs from the unit, the held edits among them.
    void WriteChangedElements(const std::vector<CDataDescriptor*>& differences);
    // Fills the box buffer with the changed cells of the correction map between the
    // unit's image and the working image; its length, 0 when nothing is to be written.
    std::size_t FindChangedBox();

    void ClearMeasurements();
    void AddMeasurement(int rpm, double timeMs, int value);
    // Appends pointers to the stored records (still owned here) to the caller's list.
    void CopyMeasurements(CPtrList& list);

    void ResetWriteDoneFlag() { m_settingTransferred = false; }

    BOOL HasWriteDone() const { return m_settingTransferred ? TRUE : FALSE; }

    int FindSettingByLock(const CCriticalSection* lock);

    // Connection side.
    void FlushFCR();
    void RequestRestore();

    void ForceNewUnitPrompt() { m_forcePrompt = true; }

    int IsReadSupported(int index) const;
    int GetElementOffset(int index) const;
    int GetElementLength(int index) const;
    // The unit's version triple from image 1: bytes 2 and 3 of element 65, byte 0 of 106.
    void GetUnitVersion(int& first, int& second, int& third);
    // Brings elements 122 and 102 in line with the unit's version; writes them when
    // either changed.
    void AdjustVersionSettings();

    int GetStatus() const { return m_status; }

    // The memory image kImageWorking .. kImageFile (16384 bytes); null for other indices.
    BYTE* GetImage(int image);

    CDataDescriptor* GetDescriptor(int index);

    // ---- Files (CDataHandlerFiles.cpp). The shell's file dialogs choose the paths.
    void SetResourceManager(IResourceManager* resources) { m_resources = resources; }

    void SetUserPrompter(IUserPrompter* user) { m_user = user; }

    // The running program's version: written into configuration files, checked on reading.
    void SetProgramVersion(int major, int minor);
    // Builds a configuration file of the image; its length, or -1 when the format version
    // is not 1 (the file is built all the same).
    int SerializeConfig(const BYTE* image, std::vector<BYTE>& file, int formatVersion);
    // Reads a configuration file into the image, the measurements and the tables; 0, 1 (an
    // older minor version, converted) or a negative CConfigFile code (nothing taken).
    int ParseConfig(BYTE* image, const BYTE* file, std::size_t length);
    // Writes the file; 1 when written, 0 after the error was shown.
    int SaveConfigFileAs(LPCSTR path, const std::vector<BYTE>& file);
    // Reads a configuration file whole; its length, or -1 after the error was shown.
    int OpenConfigFile(LPCSTR path, std::vector<BYTE>& file);
    // The Save command: 1 written, 0 not written (may be tried again), -1 nothing to save.
    int SaveConfigFile(LPCSTR path);
    // The Load command: the ParseConfig result, or -1 when the file could not be read.
    int LoadConfigFile(LPCSTR path);
    // Checks an update file against the unit waiting in update mode; TRUE with the image.
    BOOL CheckFirmwareUpdateFile(LPCSTR path, CByteArray& image);
    // The preview of an update file; silent, FALSE when it cannot be read or fails a check.
    BOOL ReadUpdateFileInfo(LPCSTR path, CString& version, CString& build, CString& branch);
    // The three identification words the loader reports in update mode.
    void SetUpdateModeInfo(WORD word0, WORD word1, WORD word2);
    // The link's mode, acted on by the communicator's thread on its next pass: ask the
    // unit for update mode, back to the normal link, hand over the image and start the
    // upload (false when an upload already runs), ask the unit to leave update mode.
    void RequestUpdateMode();
    void SetNormalMode();
    bool StartFirmwareUpload(const CByteArray& image);
    void RequestLeaveUpdateMode();
    // After a full read: decides between the unit's data and the edits, and matches the
    // unit's remembered file.
    void CheckConnectedUnit();

    // ICommunicatorSink: these run on the communicator's worker thread.
    void DataHandler(int status, int portNumber) override;
    void OnTaskFinished(CommRequest* request, int success) override;
    bool OnLiveCycleEnd() override;
    std::vector<CDataDescriptor*> GetSettingDescriptors() override;
    void OnFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) override;
    void PostUpdateProgress(UINT_PTR code, LONG_PTR perMille) override;
    void OnUpdateModeInfo(WORD word0, WORD word1, WORD word2) override;

private:
    using HeldLocks = std::vector<std::unique_ptr<CSingleLock>>;

    void SetLinkMode(int mode);
    HeldLocks LockSettings();

    CDataDescriptor* ImageElement(int index, const char* operation);
    CDataDescriptor* TableElement(int index, const char* operation);
    void CopyIntoImage(CDataDescriptor& descriptor, const BYTE* source);
    // wParam 1 for news, 0 for a transfer that failed.
    void PostToSubscribers(const CDataDescriptor& descriptor,
                           int flag,
                           LONG_PTR reason,
                           UINT_PTR succeeded = 1);
    void Broadcast(UINT message, UINT_PTR wParam, LONG_PTR lParam);
    void PostToMainWindow(UINT message, UINT_PTR wParam, LONG_PTR lParam);
    void UpdateMainWindow();
    bool Queue(CDataDescriptor* descriptor, int kind, int row, const BYTE* source, BYTE* destination);
    void HoldEdit();
    // Whether edits were held; they are forgotten and the mark goes.
    bool ForgetHeldEdits();
    // Held edits given up on: other data replace them, or the user declined the transfer.
    // The user hears that they were not sent.
    void DropHeldEdits();
    BYTE* WorkingDestination(const CDataDescriptor& descriptor);
    void QueueFullRead();
    void QueueFullReadRequest();
    void QueueLivePolls();
    void OnTaskFailed(const CommRequest& request);
    void OnFullReadFinished();
    void OnEngineStatusRead();
    void FollowJobEnd();
    bool TakeLiveCycleStop();
    bool SettingsEqual(const CDataDescriptor& descriptor, const BYTE* first, const BYTE* second) const;
    BYTE ReadWorkingByte(int index, int byteIndex);
    bool SetVersionSetting(int index, BYTE value);
    // Image 0 only; whether either element changed.
    bool AdjustVersionSettingsInImage();
    void WriteVersionSettings();
    // Files (CDataHandlerFiles.cpp).
    CString LoadText(UINT id) const;
    bool Show(const CString& text, IUserPrompter::Box box);
    void ShowFileError(UINT id, LPCSTR path, int cause);
    void TakeFilePath(LPCSTR path);
    CString GetFilePath() const;
    CString GetUnitId();
    std::vector<ConfigElement> GetConfigElements() const;
    void MarkFileBacked();
    void PostLoaded(int access);
    void AddDescriptions(const UpdateFileContents& contents);
    bool CheckKnownUnit();
    int DecideKnownUnit();
    int DecideTransfer(bool offerSave);
    void OfferToSave();
    void TakeUnitData();
    void PushEdits();
    void CopyIdentity();
    void MatchRememberedFile();
    void ForgetUnitFile(LPCSTR unitId, LPCSTR path);
    void WarnSavedFileDiffers(const CString& unitId,
                              LPCSTR path,
                              const std::vector<CDataDescriptor*>& differences);

    IUnitPrompter* m_prompter = nullptr;      // not owned; stands for the direction dialog
    IRequestQueue* m_queue = nullptr;         // not owned
    CCommunicator* m_communicator = nullptr;  // not owned
    std::unique_ptr<CCommunicatorQueue> m_communicatorQueue;
    BYTE m_boxBuffer[kBoxRecordBytes] = {};
    std::array<std::array<BYTE, kImageBytes>, kImageCount> m_images{};
    bool m_hasUnitData = false;
    bool m_fileBacked = false;
    std::atomic<bool> m_fullReadPending{false};     // worker and UI thread
    std::atomic<bool> m_settingTransferred{false};  // worker and UI thread
    bool m_untitled = false;
    bool m_forcePrompt = false;
    std::atomic<int> m_status{0};  // written by the worker, read anywhere
    std::atomic<int> m_busyState{kBusyUnknown};
    CDataDescriptor m_descriptors[kElementCount];
    CTypedPtrList<CPtrList, IMessageTarget*> m_windows{10};
    mutable CCriticalSection m_windowsLock;  // guards m_windows: the worker broadcasts
    IMainWindow* m_mainWindow = nullptr;     // not owned
    bool m_editsHeld = false;                // UI thread: an edit waits to be sent
    CString m_fileName;
    CString m_folder;
    std::list<ConfigMeasurement> m_measurements;
    ConfigTableMap m_tables;
    IResourceManager* m_resources = nullptr;  // not owned
    IUserPrompter* m_user = nullptr;          // not owned
    BYTE m_programMajor = 0;
    BYTE m_programMinor = 0;
    std::array<WORD, 3> m_updateModeWords{};  // guarded by m_updateModeWordsLock
    CCriticalSection m_updateModeWordsLock;   // the worker sets the words, the UI thread reads them
    CString m_lastWarnedUnit;                 // the unit whose differing saved file is being warned about
};
