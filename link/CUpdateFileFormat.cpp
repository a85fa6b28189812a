// Reading and writing update and zipped update files.
#include "link/CUpdateFileFormat.h"

#include "link/CPackedPayload.h"

namespace {

constexpr std::size_t kLengthOffset = 22;
// Protocol, build, firmware and bootloader words, in this order, in both kinds.
constexpr std::size_t kVersionWordsBytes = 8;

// Update file (zfu): the version words, then the image.
constexpr std::size_t kUpdateWordsOffset = 26;
constexpr std::size_t kUpdateImageOffset = kUpdateWordsOffset + kVersionWordsBytes;
constexpr std::size_t kUpdateOverheadBytes = kUpdateImageOffset + CFileFrame::kCrcBytes;

// Zipped update file (zfz): the format word, the version words, then the packed payload.
constexpr std::size_t kZippedFormatOffset = 26;
constexpr std::size_t kZippedWordsOffset = 28;
constexpr std::size_t kZippedUnpackedSizeOffset = kZippedWordsOffset + kVersionWordsBytes;
constexpr std::size_t kZippedPackedOffset = kZippedUnpackedSizeOffset + CPackedPayload::kStatedSizeBytes;
constexpr std::size_t kZippedOverheadBytes = kZippedPackedOffset + CFileFrame::kCrcBytes;

void ReadVersionWords(const BYTE* at, UpdateFileContents& contents) {
    contents.protocol = CFileFrame::ReadWord(at);
    contents.build = CFileFrame::ReadWord(at + 2);
    contents.firmware = CFileFrame::ReadWord(at + 4);
    contents.bootloader = CFileFrame::ReadWord(at + 6);
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
    if (!UpdateFrame().IsIntact(file, size)) {
        return Result::BadFrame;
    }
    contents.format = kFormatWord;
    ReadVersionWords(file + kUpdateWordsOffset, contents);
    contents.image.assign(file + kUpdateImageOffset, file + size - CFileFrame::kCrcBytes);
    return Result::Ok;
}

CUpdateFileFormat::Result CUpdateFileFormat::ReadZippedHeader(const BYTE* file,
                                                              std::size_t size,
                                                              UpdateFileContents& contents) {
    if (!ZippedFrame().IsIntact(file, size)) {
        return Result::BadFrame;
    }
    contents.format = CFileFrame::ReadWord(file + kZippedFormatOffset);
    if (contents.format != kFormatWord) {
        return Result::BadFormatWord;
    }
    ReadVersionWords(file + kZippedWordsOffset, contents);
    contents.unpackedBytes = CFileFrame::ReadDword(file + kZippedUnpackedSizeOffset);
    return Result::Ok;
}

CUpdateFileFormat::Result CUpdateFileFormat::ReadZippedPayload(const BYTE* file,
                                                               std::size_t size,
                                                               UpdateFileContents& contents) {
    if (!CPackedPayload::Read(file + kZippedPackedOffset, size - kZippedOverheadBytes, contents.unpackedBytes,
                              contents.image, contents.descriptions)) {
        return Result::BadPayload;
    }
    return Result::Ok;
}

bool CUpdateFileFormat::BuildZipped(const UpdateFileContents& words,
                                    const std::vector<BYTE>& image,
                                    const CMapStringToString& descriptions,
                                    std::vector<BYTE>& file) {
    if (image.empty()) {
        return false;
    }
    const CFileFrame& frame = ZippedFrame();
    std::vector<BYTE> built = frame.Begin();
    CFileFrame::AppendWord(built, words.format);
    CFileFrame::AppendWord(built, words.protocol);
    CFileFrame::AppendWord(built, words.build);
    CFileFrame::AppendWord(built, words.firmware);
    CFileFrame::AppendWord(built, words.bootloader);
    if (!CPackedPayload::Append(image, descriptions, built) || !frame.FinishWithinSize(built)) {
        return false;
    }
    file.swap(built);
    return true;
}

CString CUpdateFileFormat::FormatVersion(WORD versionWord) {
    CString text;
    text.Format("%d.%02d", GetMajor(versionWord), GetMinor(versionWord));
    return text;
}

CString CUpdateFileFormat::FormatBuildNumber(WORD buildWord) {
    CString text;
    text.Format("%04d", GetBuildNumber(buildWord));
    return text;
}

CString CUpdateFileFormat::FormatFirmwareBuild(WORD firmwareWord, WORD buildWord) {
    CString text;
    text.Format("%s-%s (%d)", FormatVersion(firmwareWord).GetString(),
                FormatBuildNumber(buildWord).GetString(), GetBranch(buildWord));
    return text;
}
