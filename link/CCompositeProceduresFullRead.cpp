// The capability probe and the read of the whole unit.
#include "link/CCommandTable.h"
#include "link/CCompositeProcedures.h"
#include "link/CompositeCodes.h"
#include "link/ElementTable.h"
#include "link/ExchangeResult.h"
#include "link/ICompositeHost.h"

#include <algorithm>
#include <array>

using namespace CompositeCodes;

CompositeOutcome CCompositeProcedures::FullRead(Span image) {
    if (image.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    const bool probed = ProbeTables(image) != 0 && ProbeLiveBlock(image) != 0 &&
                        (!m_host.GetTablesFlag() || ProbeObdBlock(image) != 0) &&
                        ProbeRow(kRowPhase, {0}) != 0 && ProbeRow(kRowObdStatus, {}) != 0 &&
                        ProbeIdentity(image) != 0;
    if (!probed) {
        return CompositeOutcome::PortClosed;
    }
    const bool read = ReadFullData(image);
    if (read) {
        Progress(1000);
        m_host.SleepMs(50);
    }
    m_host.PostFullReadProgress(0, 0);
    return read ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

// Probe steps: 1 when the step is done (the unit answered or refused), 0 when the
// port was closed.
int CCompositeProcedures::ProbeTables(Span image) {
    const int result = Send(kSelectBank, {0}, 0, Span{}, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool hasTables = result == kResultSuccess;
    const Span flag = ElementSpan(image, kElementHasTables, 1);
    if (flag.size == 1) {
        flag.data[0] = hasTables ? 1 : 0;
    }
    m_host.SetTablesFlag(hasTables);
    return 1;
}

int CCompositeProcedures::ProbeLiveBlock(Span image) {
    std::array<BYTE, kScratchBytes> reply{};
    const int result = Send(kLongLiveBlock, {}, kLiveBlock2Long.replyLength, Span{reply.data(), reply.size()},
                            Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowLiveBlock2, supported ? kLiveBlock2Long : kLiveBlock2Short);
    m_host.SetRowSupported(kRowLiveBlock2, supported);
    const Span live =
        ElementSpan(image, kElementLiveBlock2, static_cast<std::size_t>(kLiveBlock2Long.replyLength));
    std::fill(live.data, live.data + live.size, BYTE{0});
    return 1;
}

int CCompositeProcedures::ProbeObdBlock(Span image) {
    std::array<BYTE, kScratchBytes> reply{};
    const int result = Send(kLongObdBlock, {}, kObdBlockLong.replyLength, Span{reply.data(), reply.size()},
                            Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowObdBlock, supported ? kObdBlockLong : kObdBlockShort);
    m_host.SetRowSupported(kRowObdBlock, supported);
    const Span obd =
        ElementSpan(image, kElementObdBlock, static_cast<std::size_t>(kObdBlockLong.replyLength));
    std::fill(obd.data, obd.data + obd.size, BYTE{0});
    return 1;
}

int CCompositeProcedures::ProbeRow(int row, const std::vector<BYTE>& data) {
    std::array<BYTE, kScratchBytes> reply{};
    const CommandRow command = m_host.CommandTable().Get(row);
    const int result = Send(static_cast<BYTE>(command.code), data, command.replyLength,
                            Span{reply.data(), reply.size()}, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    m_host.SetRowSupported(row, result == kResultSuccess);
    return 1;
}

int CCompositeProcedures::ProbeIdentity(Span image) {
    const Span identity =
        ElementSpan(image, kElementUnitId, static_cast<std::size_t>(kIdentityLong.replyLength));
    if (identity.size == 0) {
        Fail("the identity has no room");
        return 0;
    }
    std::fill(identity.data, identity.data + identity.size, BYTE{0});
    const int result = Send(kLongIdentity, {}, kIdentityLong.replyLength, identity, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowIdentity, supported ? kIdentityLong : kIdentityShort);
    m_host.SetRowSupported(kRowIdentity, supported);
    return 1;
}

bool CCompositeProcedures::ReadFullData(Span image) {
    Progress(0);
    if (!m_host.IsRowFlagSet(kRowIdentity) &&
        !SendRow(kRowIdentity, {},
                 ElementSpan(image, kElementUnitId, static_cast<std::size_t>(kIdentityShort.replyLength)),
                 Repeat::Plain)) {
        return false;
    }
    Progress(20);
    if (m_host.IsRowFlagSet(kRowObdStatus) && !ReadObdSupport(image)) {
        return false;
    }
    const CCommandTable& table = m_host.CommandTable();

    const struct {
        int perMille;
        int row;
        int element;
    } blocks[] = {{90, kRowSettings, kElementSettings},
                  {110, kRowSensorTypes, kElementSensorTypes},
                  {130, kRowBasePercent, kElementBasePercent}};

    for (const auto& block : blocks) {
        Progress(block.perMille);
        const std::size_t bytes = static_cast<std::size_t>(table.Get(block.row).replyLength);
        if (!SendRow(block.row, {}, ElementSpan(image, block.element, bytes), Repeat::Plain)) {
            return false;
        }
    }
    if (!ReadTable(ElementSpan(image, kElementCorrectionMap), TableProgress{150, 170, 190, 110})) {
        return false;
    }
    Progress(310);
    if (!m_host.GetTablesFlag()) {
        return true;
    }
    if (!ReadTableBanks(image)) {
        return false;
    }
    Progress(900);
    if (m_host.IsRowFlagSet(kRowObdStatus) && !ReadRecordLogs(image)) {
        return false;
    }
    return SelectBank(0, Repeat::Stopping);
}

bool CCompositeProcedures::ReadTableBanks(Span image) {
    const struct {
        BYTE bank;
        int element;
        TableProgress progress;
    } banks[] = {{1, 80, {320, 340, 370, 110}},
                 {2, 82, {490, 510, 540, 110}},
                 {3, 84, {660, 680, 710, 110}},
                 {4, 86, {830, 845, 860, 40}}};

    for (const auto& bank : banks) {
        if (!SelectBank(bank.bank, Repeat::Plain) ||
            !ReadTable(ElementSpan(image, bank.element), bank.progress)) {
            return false;
        }
    }
    return true;
}

bool CCompositeProcedures::ReadRecordLogs(Span image) {
    if (!ReadRecordLog(5, ElementSpan(image, kElementStoredLog), 910)) {
        return false;
    }
    Progress(950);
    if (!ReadRecordLog(6, ElementSpan(image, kElementPendingLog), 960)) {
        return false;
    }
    Progress(990);
    return true;
}
