// The data handler's file side: configuration files (save, load, a connected unit's
// remembered file) and firmware update files (the checks before an update
// and the preview). The file dialogs belong to the shell, which hands over the chosen path.
#include "classlib/core/CSingleLock.h"
#include "classlib/core/FormatText.h"
#include "link/CDataHandler.h"
#include "link/CDescriptionEntries.h"
#include "link/CLogger.h"
#include "link/CUpdateFileCheck.h"
#include "link/CWholeFile.h"
#include "link/DataHandlerMessages.h"
#include "link/EnglishTexts.h"
#include "link/IMainWindow.h"
#include "link/IRequestQueue.h"
#include "link/IResourceManager.h"
#include "link/RecentSettings.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr int kLogFiles = 3000;

// Configuration files are read only when they hold more than the magic and 10 bytes.
constexpr std::size_t kConfigMinBytesExclusive = 28;

// The warning that a unit's saved file differs is shown once at a time in the process.
std::atomic<bool> g_differenceWarningShown{false};

// The folder is what comes before the last separator, without it; no separator: no folder.
void SplitPath(LPCSTR path, CString& folder, CString& name) {
    const CString whole(path);
    const int separator = std::max(whole.ReverseFind('\\'), whole.ReverseFind('/'));
    if (separator < 0) {
        folder.Empty();
        name = whole;
        return;
    }
    folder = whole.Left(separator);
    name = whole.Mid(separator + 1);
}

void RememberFolder(LPCSTR kind, LPCSTR path) {
    CString folder;
    CString name;
    SplitPath(path, folder, name);
    if (!folder.IsEmpty()) {
        WriteDirectorySetting(kind, folder);
    }
}

}  // namespace

void CDataHandler::SetProgramVersion(int major, int minor) {
    m_programMajor = static_cast<BYTE>(major);
    m_programMinor = static_cast<BYTE>(minor);
}

// Runs on the communicator thread; the update-file check reads the words on the UI thread.
void CDataHandler::SetUpdateModeInfo(WORD word0, WORD word1, WORD word2) {
    CSingleLock guard(&m_updateModeWordsLock, TRUE);
    m_updateModeWords = {word0, word1, word2};
}

// ---- Texts and boxes ------------------------------------------------------------------

CString CDataHandler::LoadText(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        text = m_resources->GetString(id);
    }
    if (text.IsEmpty()) {
        const LPCSTR english = GetEnglishText(id);
        text = english != nullptr ? english : "";
    }
    return text;
}

bool CDataHandler::Show(const CString& text, IUserPrompter::Box box) {
    CLogger::Instance().Log(kLogFiles, "CDataHandler: message: %s", static_cast<LPCSTR>(text));
    return m_user != nullptr && m_user->ShowMessage(text, box);
}

void CDataHandler::ShowFileError(UINT id, LPCSTR path, int cause) {
    Show(FormatText(LoadText(id), path, cause), IUserPrompter::Box::Error);
}

void CDataHandler::TakeFilePath(LPCSTR path) {
    SplitPath(path, m_folder, m_fileName);
}

CString CDataHandler::GetFilePath() const {
    return m_folder.IsEmpty() ? m_fileName : m_folder + "\\" + m_fileName;
}

CString CDataHandler::GetUnitId() {
    CDataDescriptor& unitId = m_descriptors[kElementUnitId];
    CSingleLock guard(&unitId.GetLock(), TRUE);
    const char* text = reinterpret_cast<const char*>(GetImage(kImageWorking) + unitId.GetOffset());
    return CString(text, static_cast<int>(strnlen(text, kUnitIdBytes)));
}

// ---- Configuration files --------------------------------------------------------------

std::vector<ConfigElement> CDataHandler::GetConfigElements() const {
    std::vector<ConfigElement> elements;
    for (const CDataDescriptor& descriptor : m_descriptors) {
        elements.push_back({descriptor.GetOffset(), descriptor.GetLength(), descriptor.GetAccess()});
    }
    return elements;
}

int CDataHandler::SerializeConfig(const BYTE* image, std::vector<BYTE>& file, int formatVersion) {
    const std::vector<ConfigElement> elements = GetConfigElements();
    const std::vector<ConfigMeasurement> measurements(m_measurements.begin(), m_measurements.end());
    ConfigSource source;
    source.image = image;
    source.formatVersion = formatVersion;
    source.randomBits = static_cast<BYTE>(std::rand() & 0x0F);
    source.programMajor = m_programMajor;
    source.programMinor = m_programMinor;
    source.measurements = &measurements;
    source.tablesFromImage = m_queue != nullptr && m_queue->HasTables() != FALSE;
    source.tables = &m_tables;
    CConfigFile format(elements.data());
    const int length = format.Serialize(source, file);
    if (format.GetDroppedMeasurements() > 0) {
        CLogger::Instance().Log(kLogFiles, "CDataHandler: %d measurements left out of the full file.",
                                format.GetDroppedMeasurements());
    }
    return length;
}

int CDataHandler::ParseConfig(BYTE* image, const BYTE* file, std::size_t length) {
    const std::vector<ConfigElement> elements = GetConfigElements();
    std::vector<ConfigMeasurement> measurements;
    ConfigTarget target;
    target.image = image;
    target.measurements = &measurements;
    target.tables = &m_tables;
    const int result =
        CConfigFile(elements.data()).Parse(file, length, m_programMajor, m_programMinor, target);
    m_measurements.insert(m_measurements.end(), measurements.begin(), measurements.end());
    return result;
}

int CDataHandler::SaveConfigFileAs(LPCSTR path, const std::vector<BYTE>& file) {
    int cause = 0;
    const CWholeFile::WriteResult written = CWholeFile::Write(path, file, cause);
    if (written != CWholeFile::WriteResult::Ok) {
        const UINT text = written == CWholeFile::WriteResult::CreateFailed ? IDS_ERROR_OPENING_FILE
                                                                           : IDS_ERROR_WRITING_FILE;
        ShowFileError(text, path, cause);
        return 0;
    }
    TakeFilePath(path);
    if (!m_folder.IsEmpty()) {
        WriteDirectorySetting(kSavesFolder, m_folder);
    }
    if (m_hasUnitData) {
        WriteRecentFileSetting(GetUnitId(), path);
    }
    return 1;
}

int CDataHandler::SaveConfigFile(LPCSTR path) {
    if (!HasConfiguration()) {
        Show(LoadText(IDS_NOTHING_TO_SAVE), IUserPrompter::Box::Error);
        return -1;
    }
    std::vector<BYTE> file;
    std::vector<BYTE> saved;
    {
        // Only the bytes are taken under the locks: the worker must not wait for the disk.
        const HeldLocks locks = LockSettings();
        SerializeConfig(GetImage(kImageWorking), file, CConfigFile::kFormatVersion);
        saved.assign(GetImage(kImageWorking), GetImage(kImageWorking) + kImageBytes);
    }
    if (SaveConfigFileAs(path, file) == 0) {
        return 0;
    }
    std::memcpy(GetImage(kImageFile), saved.data(), saved.size());
    MarkFileBacked();
    return 1;
}

void CDataHandler::MarkFileBacked() {
    m_fileBacked = true;
    m_untitled = false;
    if (m_mainWindow != nullptr) {
        m_mainWindow->SetFileName(m_fileName);
        m_mainWindow->SetModified(FALSE);
        m_mainWindow->UpdateTitle();
    }
}

int CDataHandler::OpenConfigFile(LPCSTR path, std::vector<BYTE>& file) {
    int cause = 0;
    switch (CWholeFile::Read(path, kConfigMinBytesExclusive, CConfigFile::kMaxFileBytes, file, cause)) {
    case CWholeFile::Result::Ok:
        break;
    case CWholeFile::Result::OpenFailed:
        ShowFileError(IDS_ERROR_OPENING_FILE, path, cause);
        return -1;
    case CWholeFile::Result::BadSize:
        Show(LoadText(IDS_INVALID_FILE_FORMAT), IUserPrompter::Box::Error);
        return -1;
    case CWholeFile::Result::ReadFailed:
        ShowFileError(IDS_ERROR_READING_FILE, path, cause);
        return -1;
    }
    TakeFilePath(path);
    if (!m_folder.IsEmpty()) {
        WriteDirectorySetting(kSavesFolder, m_folder);
    }
    return static_cast<int>(file.size());
}

// A file that fails leaves images, measurements and tables as they were, so that unsaved
// work is neither lost nor taken for saved.
int CDataHandler::LoadConfigFile(LPCSTR path) {
    std::vector<BYTE> file;
    if (OpenConfigFile(path, file) < 0) {
        return -1;
    }
    std::list<ConfigMeasurement> keptMeasurements;
    keptMeasurements.swap(m_measurements);
    ConfigTableMap keptTables;
    keptTables.swap(m_tables);
    std::vector<BYTE> loaded(GetImage(kImageWorking), GetImage(kImageWorking) + kImageBytes);
    const int result = ParseConfig(loaded.data(), file.data(), file.size());
    if (result < 0) {
        m_measurements.swap(keptMeasurements);
        m_tables.swap(keptTables);
        Show(LoadText(IDS_INVALID_FILE_FORMAT), IUserPrompter::Box::Error);
        return result;
    }
    if (result == CConfigFile::kOlderMinor) {
        Show(LoadText(IDS_OLDER_FORMAT_CONVERTED), IUserPrompter::Box::Warning);
    }
    DropHeldEdits();
    const HeldLocks locks = LockSettings();
    std::memcpy(GetImage(kImageFile), loaded.data(), loaded.size());
    std::memcpy(GetImage(kImageWorking), loaded.data(), loaded.size());
    AdjustVersionSettings();
    MarkFileBacked();
    PostLoaded(kAccessSetting);
    if (IsLinkUp(m_status) && m_busyState == kBusyIdle) {
        std::vector<CDataDescriptor*> differences;
        CompareImages(GetImage(kImageUnit), GetImage(kImageWorking), &differences);
        WriteChangedElements(differences);
    }
    if (m_hasUnitData) {
        WriteRecentFileSetting(GetUnitId(), GetFilePath());
    }
    return result;
}

void CDataHandler::PostLoaded(int access) {
    for (CDataDescriptor& descriptor : m_descriptors) {
        if (descriptor.GetAccess() == access) {
            PostToSubscribers(descriptor, kFlagLoaded, kReasonLoaded);
        }
    }
}

// ---- Firmware update files ------------------------------------------------------------

BOOL CDataHandler::CheckFirmwareUpdateFile(LPCSTR path, CByteArray& image) {
    std::vector<BYTE> file;
    int cause = 0;
    switch (CWholeFile::Read(path, 0, CFileFrame::kMaxFirmwareFileBytes, file, cause)) {
    case CWholeFile::Result::Ok:
        break;
    case CWholeFile::Result::OpenFailed:
        ShowFileError(IDS_ERROR_OPENING_FILE, path, cause);
        return FALSE;
    case CWholeFile::Result::BadSize:
        Show(LoadText(IDS_INVALID_FILE_FORMAT), IUserPrompter::Box::Error);
        return FALSE;
    case CWholeFile::Result::ReadFailed:
        ShowFileError(IDS_ERROR_READING_FILE, path, cause);
        return FALSE;
    }
    RememberFolder(kUpdatesFolder, path);
    WORD loaderWord = 0;
    {
        CSingleLock guard(&m_updateModeWordsLock, TRUE);
        loaderWord = m_updateModeWords[1];
    }
    CUpdateFileCheck check;
    const UINT verdict = check.Check(file.data(), file.size(), loaderWord);
    if (verdict != CUpdateFileCheck::kPassed) {
        const std::array<int, 4>& a = check.GetArguments();
        Show(FormatText(LoadText(verdict), a[0], a[1], a[2], a[3]), IUserPrompter::Box::Error);
        return FALSE;
    }
    const std::vector<BYTE>& checked = check.GetContents().image;
    image.SetSize(static_cast<INT_PTR>(checked.size()));
    std::memcpy(image.GetData(), checked.data(), checked.size());
    if (check.IsZipped()) {
        AddDescriptions(check.GetContents());
    }
    return TRUE;
}

BOOL CDataHandler::ReadUpdateFileInfo(LPCSTR path, CString& version, CString& build, CString& branch) {
    std::vector<BYTE> file;
    int cause = 0;
    if (CWholeFile::Read(path, 0, CFileFrame::kMaxFirmwareFileBytes, file, cause) != CWholeFile::Result::Ok) {
        return FALSE;
    }
    CUpdateFileCheck check;
    if (!check.ReadInfo(file.data(), file.size())) {
        return FALSE;
    }
    if (check.IsZipped()) {
        AddDescriptions(check.GetContents());
    }
    version = check.GetVersionText();
    build = check.GetBuildText();
    branch = check.GetBranchText();
    return TRUE;
}

void CDataHandler::AddDescriptions(const UpdateFileContents& contents) {
    if (m_resources == nullptr) {
        CLogger::Instance().Log(kLogFiles, "CDataHandler: no firmware catalogue for %d descriptions.",
                                static_cast<int>(contents.descriptions.size()));
        return;
    }
    CMapStringToString descriptions;
    CDescriptionEntries::Store(contents.descriptions, descriptions);
    m_resources->AddFirmwareDescriptions(CUpdateFileFormat::GetMajor(contents.firmware),
                                         CUpdateFileFormat::GetMinor(contents.firmware),
                                         CUpdateFileFormat::GetBuildNumber(contents.build),
                                         CUpdateFileFormat::GetBranch(contents.build), descriptions);
}

// ---- The remembered file of a connected unit ---------------------------------------

// When the unit's remembered file holds what the unit holds, the data belongs to that file.
void CDataHandler::MatchRememberedFile() {
    const CString unitId = GetUnitId();
    CString path;
    if (unitId == m_lastWarnedUnit || !ReadRecentFileSetting(unitId, path) || path.IsEmpty()) {
        return;
    }
    std::vector<BYTE> file;
    int cause = 0;
    if (CWholeFile::Read(path, kConfigMinBytesExclusive, CConfigFile::kMaxFileBytes, file, cause) !=
        CWholeFile::Result::Ok) {
        ForgetUnitFile(unitId, path);
        return;
    }
    std::list<ConfigMeasurement> keptMeasurements;
    keptMeasurements.swap(m_measurements);
    ConfigTableMap keptTables = m_tables;
    std::vector<BYTE> saved(GetImage(kImageWorking), GetImage(kImageWorking) + kImageBytes);
    if (ParseConfig(saved.data(), file.data(), file.size()) < 0) {
        m_measurements.swap(keptMeasurements);
        m_tables.swap(keptTables);
        ForgetUnitFile(unitId, path);
        return;
    }
    std::vector<CDataDescriptor*> differences;
    if (CompareImages(saved.data(), GetImage(kImageWorking), &differences)) {
        m_measurements.swap(keptMeasurements);
        m_tables.swap(keptTables);
        WarnSavedFileDiffers(unitId, path, differences);
        return;
    }
    std::memcpy(GetImage(kImageFile), saved.data(), saved.size());
    TakeFilePath(path);
    if (!m_folder.IsEmpty()) {
        WriteDirectorySetting(kSavesFolder, m_folder);
    }
    MarkFileBacked();
}

void CDataHandler::ForgetUnitFile(LPCSTR unitId, LPCSTR path) {
    CLogger::Instance().Log(kLogFiles, "CDataHandler: remembered file %s of unit %s is unusable.", path,
                            unitId);
    WriteRecentFileSetting(unitId, "");
}

void CDataHandler::WarnSavedFileDiffers(const CString& unitId,
                                        LPCSTR path,
                                        const std::vector<CDataDescriptor*>& differences) {
    if (g_differenceWarningShown.exchange(true)) {
        return;
    }
    m_lastWarnedUnit = unitId;
    CString text = FormatText(LoadText(IDS_SAVED_FILE_DIFFERS), path);
    text += "\n";
    for (const CDataDescriptor* descriptor : differences) {
        text.AppendFormat("%d ", descriptor->GetID());
    }
    Show(text, IUserPrompter::Box::Error);
    m_lastWarnedUnit.Empty();
    g_differenceWarningShown = false;
}
