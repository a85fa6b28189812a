// Reading and writing update and zipped update files.
#include "link/CUpdateFileFormat.h"

#include "link/CPackedPayload.h"

namespace {

constexpr std::size_t kLengthOffset = 22;
constexpr std::size_t kImageSizeBytes = 4;

// Update file (zfu).
constexpr std::size_t kUpdateProtocolOffset = 26;
constexpr std::size_t kUpdateBuildOffset = 28;
constexpr std::size_t kUpdateFirmwareOffset = 30;
constexpr std::size_t kUpdateBootloaderOffset = 32;
constexpr std::size_t kUpdateImageOffset = 34;
constexpr std::size_t kUpdateOverheadBytes = kUpdateImageOffset + CFileFrame::kCrcBytes;

// Zipped update file (zfz).
constexpr std::size_t kZippedFormatOffset = 26;
constexpr std::size_t kZippedProtocolOffset = 28;
constexpr std::size_t kZippedBuildOffset = 30;
constexpr std::size_t kZippedFirmwareOffset = 32;
constexpr std::size_t kZippedBootloaderOffset = 34;
constexpr std::size_t kZippedUnpackedSizeOffset = 36;
constexpr std::size_t kZippedPackedOffset = 40;
constexpr std::size_t kZippedOverheadBytes = kZippedPackedOffset + CFileFrame::kCrcBytes;

bool PassesFrame(const CFileFrame& frame, const BYTE* file, std::size_t size) {
    return frame.FitsSize(size) && frame.Check(file, size) == CFileFrame::Fault::None;
}

}  // namespace

const CFileFrame& CUpdateFileFormat::UpdateFrame() {
    static const CFileFrame frame("ZYLMor_Firmware_Update", kLengthOffset, kUpdateOverheadBytes,
                                  CFileFrame::kMaxFirmwareFileBytes);
    return frame;
}

const CFileFrame& CUpdateFileFormat::ZippedFrame() {
    static const CFileFrame frame("ZYLMor_Firmware_Zipped", kLengthOffset, kZippedOverheadBytes,
                                  CFileFrame::kMaxFirmwareFileBytes);
    return frame;
}

CUpdateFileFormat::Result CUpdateFileFormat::ReadUpdate(const BYTE* file,
                                                        std::size_t size,
                                                        UpdateFileContents& contents) {
    if (!PassesFrame(UpdateFrame(), file, size)) {
        return Result::BadFrame;
    }
    contents.format = kFormatWord;
    contents.protocol = CFileFrame::ReadWord(file + kUpdateProtocolOffset);
    contents.build = CFileFrame::ReadWord(file + kUpdateBuildOffset);
    contents.firmware = CFileFrame::ReadWord(file + kUpdateFirmwareOffset);
    contents.bootloader = CFileFrame::ReadWord(file + kUpdateBootloaderOffset);
    contents.image.assign(file + kUpdateImageOffset, file + size - CFileFrame::kCrcBytes);
    return Result::Ok;
}

CUpdateFileFormat::Result CUpdateFileFormat::ReadZippedHeader(const BYTE* file,
                                                              std::size_t size,
                                                              UpdateFileContents& contents) {
    if (!PassesFrame(ZippedFrame(), file, size)) {
        return Result::BadFrame;
    }
    contents.format = CFileFrame::ReadWord(file + kZippedFormatOffset);
    if (contents.format != kFormatWord) {
        return Result::BadFormatWord;
    }
    contents.protocol = CFileFrame::ReadWord(file + kZippedProtocolOffset);
    contents.build = CFileFrame::ReadWord(file + kZippedBuildOffset);
    contents.firmware = CFileFrame::ReadWord(file + kZippedFirmwareOffset);
    contents.bootloader = CFileFrame::ReadWord(file + kZippedBootloaderOffset);
    contents.unpackedBytes = CFileFrame::ReadDword(file + kZippedUnpackedSizeOffset);
    return Result::Ok;
}

CUpdateFileFormat::Result CUpdateFileFormat::ReadZippedPayload(const BYTE* file,
                                                               std::size_t size,
                                                               UpdateFileContents& contents) {
    std::vector<BYTE> payload;
    if (!CPackedPayload::Unpack(file + kZippedPackedOffset, size - kZippedOverheadBytes,
                                contents.unpackedBytes, payload)) {
        return Result::BadPayload;
    }
    if (payload.size() < kImageSizeBytes) {
        return Result::BadPayload;
    }
    const std::size_t imageBytes = CFileFrame::ReadDword(payload.data());
    if (imageBytes > payload.size() - kImageSizeBytes) {
        return Result::BadPayload;
    }
    CDescriptionEntries::Entries descriptions;
    if (!CDescriptionEntries::Parse(payload, kImageSizeBytes + imageBytes, descriptions)) {
        return Result::BadPayload;
    }
    const auto imageBegin = payload.begin() + kImageSizeBytes;
    contents.image.assign(imageBegin, imageBegin + imageBytes);
    contents.descriptions.swap(descriptions);
    return Result::Ok;
}

bool CUpdateFileFormat::BuildZipped(const UpdateFileContents& words,
                                    const std::vector<BYTE>& image,
                                    const CMapStringToString& descriptions,
                                    std::vector<BYTE>& file) {
    if (image.empty()) {
        return false;
    }
    std::vector<BYTE> payload;
    payload.reserve(kImageSizeBytes + image.size() + CDescriptionEntries::GetPayloadBytes(descriptions));
    CFileFrame::AppendDword(payload, static_cast<DWORD>(image.size()));
    payload.insert(payload.end(), image.begin(), image.end());
    CDescriptionEntries::Append(descriptions, payload);
    std::vector<BYTE> packed;
    if (!CPackedPayload::Pack(payload, packed)) {
        return false;
    }
    const CFileFrame& frame = ZippedFrame();
    std::vector<BYTE> built = frame.Begin();
    CFileFrame::AppendWord(built, words.format);
    CFileFrame::AppendWord(built, words.protocol);
    CFileFrame::AppendWord(built, words.build);
    CFileFrame::AppendWord(built, words.firmware);
    CFileFrame::AppendWord(built, words.bootloader);
    CFileFrame::AppendDword(built, static_cast<DWORD>(payload.size()));
    built.insert(built.end(), packed.begin(), packed.end());
    // A file that no reader would accept is not written at all.
    if (!frame.FitsSize(built.size() + CFileFrame::kCrcBytes)) {
        return false;
    }
    frame.Finish(built);
    file.swap(built);
    return true;
}

CString CUpdateFileFormat::FormatVersion(WORD versionWord) {
    CString text;
    text.Format("%d.%02d", GetMajor(versionWord), GetMinor(versionWord));
    return text;
}

CString CUpdateFileFormat::FormatFirmwareBuild(WORD firmwareWord, WORD buildWord) {
    CString text;
    text.Format("%d.%02d-%04d (%d)", GetMajor(firmwareWord), GetMinor(firmwareWord),
                GetBuildNumber(buildWord), GetBranch(buildWord));
    return text;
}
