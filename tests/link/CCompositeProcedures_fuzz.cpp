// Feeds the composite procedures replies made of fuzz bytes: results, counts and
// data, as far as a frame exchange would pass them on. Every procedure runs over an
// image and caller buffers of their real sizes, so any overrun shows.
#include "link/CCompositeProcedures.h"

#include "link/CCommandTable.h"
#include "link/ExchangeResult.h"
#include "link/ICompositeHost.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

class CFuzzHost : public ICompositeHost {
public:
    CFuzzHost(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // The exchange's promise: reply data never pass the destination's size.
    int Exchange(const FrameRequest& frame, bool) override {
        if (++m_exchanges > 20000) {
            return kResultByteTimeout;
        }
        const BYTE control = Next();
        if ((control & 0x0F) == 1) {
            return kResultUnitRefused;
        }
        if ((control & 0x0F) == 2) {
            return kResultChecksumError;
        }
        std::size_t bytes = frame.replyLength > 0 ? static_cast<std::size_t>(frame.replyLength) : 0;
        BYTE count = 0;
        if (frame.replyLength < 0) {
            count = Next();
            bytes = 1 + static_cast<std::size_t>(count) * static_cast<std::size_t>(-frame.replyLength);
        }
        if (bytes > 0 && (frame.destination == nullptr || bytes > frame.destinationSize)) {
            return kResultChecksumError;
        }
        for (std::size_t i = 0; i < bytes; ++i) {
            frame.destination[i] = i == 0 && frame.replyLength < 0 ? count : Next();
        }
        return kResultSuccess;
    }

    void ClosePort() override {}

    void SleepMs(DWORD) override {}

    void PostFullReadProgress(UINT_PTR, LONG_PTR) override {}

    CCommandTable& CommandTable() override { return m_table; }

    void SetRowSupported(int row, bool supported) override {
        m_flags[static_cast<std::size_t>(row)] = supported;
    }

    bool IsRowFlagSet(int row) const override { return m_flags[static_cast<std::size_t>(row)]; }

    void SetTablesFlag(bool hasTables) override { m_tables = hasTables; }

    bool GetTablesFlag() const override { return m_tables; }

private:
    BYTE Next() { return m_position < m_size ? m_data[m_position++] : 0; }

    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    int m_exchanges = 0;
    CCommandTable m_table;
    std::vector<bool> m_flags = std::vector<bool>(CCommandTable::kRowCount, true);
    bool m_tables = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 6) {
        return 0;
    }
    constexpr int kRows[] = {4, 5, 6, 18, 26, 33, 34, 49};
    const int row = kRows[data[0] % 8];
    std::vector<BYTE> source(data + 1, data + 5);
    source.resize(4 + 256 * 4, 0x11);
    std::vector<BYTE> destination(row == 18 ? 16384 : (row == 34 ? 33 : 1024));
    CFuzzHost host(data + 5, size - 5);
    CCompositeProcedures procedures(host);
    CommRequest request;
    request.row = row;
    const int bytes = CCompositeProcedures::SourceBytes(host.CommandTable().Get(row).code, source.data());
    if (bytes > 0) {
        request.payload.assign(source.begin(), source.begin() + bytes);
    }
    request.destination = destination.data();
    request.destinationSize = destination.size();
    procedures.Run(request);
    return 0;
}
