// Checks of firmware update files against the program and the unit.
#include "link/CUpdateFileCheck.h"

namespace {

// Protocols 1.30 to 1.39 speak the wire protocol of this program.
constexpr int kProtocolMajor = 1;
constexpr int kProtocolMinorTens = 3;
constexpr int kProtocolMinorShown = 30;
// The byte whose bit 7 waives the firmware version check of an update file.
constexpr std::size_t kFirmwareWaiverOffset = 35;
constexpr BYTE kFirmwareWaiverBit = 0x80;
// The loader is started with the first two image bytes, so a shorter image cannot be sent.
constexpr std::size_t kMinImageBytes = 2;

// Compares two version words by major, then by the 7-bit minor.
int CompareVersions(WORD a, WORD b) {
    const int majorA = CUpdateFileFormat::GetMajor(a);
    const int majorB = CUpdateFileFormat::GetMajor(b);
    if (majorA != majorB) {
        return majorA < majorB ? -1 : 1;
    }
    const int minorA = CUpdateFileFormat::GetMinor(a);
    const int minorB = CUpdateFileFormat::GetMinor(b);
    return minorA == minorB ? 0 : (minorA < minorB ? -1 : 1);
}

}  // namespace

CUpdateFileCheck::CUpdateFileCheck() : m_zipped(false), m_arguments{} {}

UINT CUpdateFileCheck::Check(const BYTE* file, std::size_t size, WORD unitVersion) {
    m_arguments = {};
    m_contents = UpdateFileContents();
    m_zipped = false;
    if (CUpdateFileFormat::UpdateFrame().HasMagic(file, size)) {
        if (CUpdateFileFormat::ReadUpdate(file, size, m_contents) != CUpdateFileFormat::Result::Ok) {
            return kInvalidFileFormat;
        }
        const bool waived = (file[kFirmwareWaiverOffset] & kFirmwareWaiverBit) != 0;
        const UINT verdict = CheckVersions(unitVersion, !waived);
        if (verdict != kPassed) {
            return verdict;
        }
        return m_contents.image.size() < kMinImageBytes ? kInvalidFileFormat : kPassed;
    }
    if (!CUpdateFileFormat::ZippedFrame().HasMagic(file, size)) {
        return kInvalidFileFormat;
    }
    m_zipped = true;
    if (CUpdateFileFormat::ReadZippedHeader(file, size, m_contents) != CUpdateFileFormat::Result::Ok) {
        return kInvalidFileFormat;
    }
    const UINT verdict = CheckVersions(unitVersion, true);
    if (verdict != kPassed) {
        return verdict;
    }
    if (CUpdateFileFormat::ReadZippedPayload(file, size, m_contents) != CUpdateFileFormat::Result::Ok ||
        m_contents.image.size() < kMinImageBytes) {
        return kInvalidFileFormat;
    }
    return kPassed;
}

UINT CUpdateFileCheck::CheckVersions(WORD unitVersion, bool checkFirmware) {
    const int unitMajor = CUpdateFileFormat::GetMajor(unitVersion);
    const int unitMinor = CUpdateFileFormat::GetMinor(unitVersion);
    const WORD protocol = m_contents.protocol;
    if (CUpdateFileFormat::GetMajor(protocol) != kProtocolMajor ||
        CUpdateFileFormat::GetMinor(protocol) / 10 != kProtocolMinorTens) {
        m_arguments = {kProtocolMajor, kProtocolMinorShown, CUpdateFileFormat::GetMajor(protocol),
                       CUpdateFileFormat::GetMinor(protocol)};
        return kProtocolIncompatible;
    }
    const WORD firmware = m_contents.firmware;
    if (checkFirmware && CompareVersions(firmware, unitVersion) < 0) {
        m_arguments = {unitMajor, unitMinor, CUpdateFileFormat::GetMajor(firmware),
                       CUpdateFileFormat::GetMinor(firmware)};
        return kFirmwareNotForUnit;
    }
    const WORD bootloader = m_contents.bootloader;
    if (CompareVersions(unitVersion, bootloader) < 0) {
        m_arguments = {unitMajor, unitMinor, CUpdateFileFormat::GetMajor(bootloader),
                       CUpdateFileFormat::GetMinor(bootloader)};
        return kBootloaderNotForUnit;
    }
    return kPassed;
}

bool CUpdateFileCheck::ReadInfo(const BYTE* file, std::size_t size) {
    m_contents = UpdateFileContents();
    m_zipped = false;
    return ReadFile(file, size);
}

// An update file whose magic matches but which fails a check is not tried as a zipped file.
bool CUpdateFileCheck::ReadFile(const BYTE* file, std::size_t size) {
    if (CUpdateFileFormat::UpdateFrame().HasMagic(file, size)) {
        return CUpdateFileFormat::ReadUpdate(file, size, m_contents) == CUpdateFileFormat::Result::Ok;
    }
    m_zipped = true;
    return CUpdateFileFormat::ReadZippedHeader(file, size, m_contents) == CUpdateFileFormat::Result::Ok &&
           CUpdateFileFormat::ReadZippedPayload(file, size, m_contents) == CUpdateFileFormat::Result::Ok;
}

CString CUpdateFileCheck::GetVersionText() const {
    return CUpdateFileFormat::FormatVersion(m_contents.firmware);
}

CString CUpdateFileCheck::GetBuildText() const {
    return CUpdateFileFormat::FormatBuildNumber(m_contents.build);
}

CString CUpdateFileCheck::GetBranchText() const {
    CString text;
    text.Format("%d", CUpdateFileFormat::GetBranch(m_contents.build));
    return text;
}
