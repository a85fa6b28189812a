// Reading scan replies.
#include "diag/ObdScanData.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kVinRecords = 5;
constexpr std::size_t kVinRecordBytes = 5;
constexpr int kPidsPerRange = 32;

bool IsAlphanumeric(BYTE c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool ReadObdBitmap(const std::vector<BYTE>& data, std::size_t offset, DWORD& bitmap) {
    if (offset > data.size() || data.size() - offset < 4) {
        return false;
    }
    bitmap = static_cast<DWORD>(data[offset]) << 24 | static_cast<DWORD>(data[offset + 1]) << 16 |
             static_cast<DWORD>(data[offset + 2]) << 8 | data[offset + 3];
    return true;
}

bool IsObdBitSet(DWORD bitmap, int number) {
    if (number < 1 || number > kPidsPerRange) {
        return false;
    }
    return (bitmap >> (kPidsPerRange - number) & 1) != 0;
}

bool IsObdFreezeFramePid(const ObdPidBitmaps& car, int pid) {
    if (pid < 1 || pid > 4 * kPidsPerRange) {
        return false;
    }
    const int range = (pid - 1) / kPidsPerRange;
    const int number = (pid - 1) % kPidsPerRange + 1;
    return IsObdBitSet(car.ranges[range] & kObdPidMask[range], number);
}

std::vector<WORD> ReadObdCodes(const std::vector<BYTE>& data) {
    std::vector<WORD> codes;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const WORD code = static_cast<WORD>(data[i] | data[i + 1] << 8);
        if (code == 0) {
            break;
        }
        codes.push_back(code);
    }
    return codes;
}

bool AssembleVin(const std::vector<BYTE>& data, std::string& vin) {
    if (data.size() < kVinRecords * kVinRecordBytes) {
        return false;
    }
    std::array<std::size_t, kVinRecords> order;
    for (std::size_t i = 0; i < kVinRecords; ++i) {
        order[i] = i * kVinRecordBytes;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&data](std::size_t a, std::size_t b) { return data[a] < data[b]; });
    std::string text;
    for (const std::size_t record : order) {
        for (std::size_t i = 1; i < kVinRecordBytes; ++i) {
            const BYTE c = data[record + i];
            if (IsAlphanumeric(c)) {
                text.push_back(static_cast<char>(c));
            }
        }
    }
    vin.swap(text);
    return true;
}
