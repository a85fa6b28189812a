// The composite procedures: the dispatch by code, and the sending and checks that they share.
#include "link/CCompositeProcedures.h"

#include "link/CCommandTable.h"
#include "link/CDataDescriptor.h"
#include "link/CLogger.h"
#include "link/CompositeCodes.h"
#include "link/ElementTable.h"
#include "link/ExchangeRepeats.h"
#include "link/ExchangeResult.h"
#include "link/ICompositeHost.h"
#include "link/MapBox.h"

#include <algorithm>

using namespace CompositeCodes;

int CCompositeProcedures::SourceBytes(WORD code, const BYTE* source) {
    int bytes = 0;
    switch (code) {
    case kReadBox:
        bytes = 4;
        break;
    case kWriteBox:
        bytes = source != nullptr ? static_cast<int>(BoxRecordLength(source)) : 0;
        return bytes > 0 ? bytes : -1;
    case kReadBankAxes:
        bytes = 1;
        break;
    case kReadBankRow:
        bytes = 3;
        break;
    default:
        return 0;
    }
    return source != nullptr ? bytes : -1;
}

CompositeOutcome CCompositeProcedures::Run(const CommRequest& request) {
    const WORD code = m_host.CommandTable().Get(request.row).code;
    Span destination{request.destination, request.destination != nullptr ? request.destinationSize : 0};
    if (request.descriptor != nullptr && request.descriptor->GetLength() > 0) {
        destination.size =
            std::min(destination.size, static_cast<std::size_t>(request.descriptor->GetLength()));
    }
    switch (code) {
    case kReadTable:
        return ReadTableRequest(destination);
    case kReadBox:
        return ReadBox(request.payload, destination);
    case kWriteBox:
        return WriteBox(request.payload);
    case kReadBankAxes:
        return ReadBankAxes(request.payload, destination);
    case kReadBankRow:
        return ReadBankRow(request.payload, destination);
    case kClearRecordLogs:
        return ClearRecordLogs();
    case kReadRecordChain:
        return ReadRecordChain(destination);
    case kFullRead:
        return FullRead(destination);
    default:
        CLogger::Instance().Log(kLogRefused, "CCommunicator: no procedure for the code 0x%04X.", code);
        return CompositeOutcome::Refused;
    }
}

int CCompositeProcedures::Send(BYTE code,
                               const std::vector<BYTE>& data,
                               int replyLength,
                               Span destination,
                               Repeat repeat) {
    const FrameRequest frame = MakeFrameRequest(kSenderIdNormal, kAnswerIdNormal, code, data, replyLength,
                                                destination.data, destination.size);
    return ExchangeWithRepeats([&](bool again) { return m_host.Exchange(frame, again); },
                               [repeat](int result) {
                                   return result != kResultSuccess &&
                                          !(repeat == Repeat::Stopping && IsUnitRefusal(result));
                               });
}

bool CCompositeProcedures::SendOrClose(BYTE code,
                                       const std::vector<BYTE>& data,
                                       int replyLength,
                                       Span destination,
                                       Repeat repeat) {
    if (Send(code, data, replyLength, destination, repeat) == kResultSuccess) {
        return true;
    }
    m_host.ClosePort();
    return false;
}

bool CCompositeProcedures::SendRow(int row, const std::vector<BYTE>& data, Span destination, Repeat repeat) {
    const CommandRow command = m_host.CommandTable().Get(row);
    return SendOrClose(static_cast<BYTE>(command.code), data, command.replyLength, destination, repeat);
}

// The unit sent sizes that do not fit where they go: treated as a failed exchange.
bool CCompositeProcedures::Fail(const char* reason) {
    CLogger::Instance().Log(kLogRefused, "CCommunicator: %s.", reason);
    m_host.ClosePort();
    return false;
}

void CCompositeProcedures::Progress(int perMille) {
    m_host.PostFullReadProgress(1, perMille);
}

CCompositeProcedures::Span CCompositeProcedures::ElementSpan(Span image, int element, std::size_t bytes) {
    const ElementRow& row = GetElementRow(element);
    if (row.offset < 0 || static_cast<std::size_t>(row.offset) + bytes > image.size) {
        return Span{};
    }
    return Span{image.data + row.offset, bytes};
}

CCompositeProcedures::Span CCompositeProcedures::ElementSpan(Span image, int element) {
    return ElementSpan(image, element, static_cast<std::size_t>(GetElementRow(element).length));
}

bool CCompositeProcedures::SelectBank(BYTE bank, Repeat repeat) {
    return SendOrClose(kSelectBank, {bank}, 0, Span{}, repeat);
}
