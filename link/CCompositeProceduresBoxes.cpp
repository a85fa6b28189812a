// The composite procedures' box read and box write.
#include "link/CCompositeProcedures.h"
#include "link/CLogger.h"
#include "link/CompositeCodes.h"
#include "link/MapBox.h"

#include <algorithm>

using namespace CompositeCodes;

CompositeOutcome CCompositeProcedures::ReadBox(const std::vector<BYTE>& record, Span destination) {
    if (record.size() < 4 || destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    const BYTE column1 = record[0];
    const BYTE row1 = record[1];
    const BYTE column2 = record[2];
    const BYTE row2 = record[3];
    if (column1 > column2 || row1 > row2) {
        return CompositeOutcome::Refused;
    }
    const int width = column2 - column1 + 1;
    const int height = row2 - row1 + 1;
    if (4 + static_cast<std::size_t>(width * height) > destination.size) {
        CLogger::Instance().Log(kLogRefused, "CCommunicator: a box of %d x %d cells does not fit.", width,
                                height);
        return CompositeOutcome::Refused;
    }
    std::copy(record.begin(), record.begin() + 4, destination.data);
    BYTE* cells = destination.data + 4;
    bool sent = true;
    if (width == 1 && height == 1) {
        sent = SendOrClose(kOneCell, {column1, row1}, 1, Span{cells, 1});
    } else if (width < height) {
        for (int i = 0; sent && i < width; ++i) {
            const Span target{cells + i * height, static_cast<std::size_t>(height)};
            sent = SendOrClose(kColumnPart, {static_cast<BYTE>(column1 + i), row1, row2}, height, target);
        }
    } else {
        for (int i = 0; sent && i < height; ++i) {
            const Span target{cells + i * width, static_cast<std::size_t>(width)};
            sent = SendOrClose(kRowPart, {static_cast<BYTE>(row1 + i), column1, column2}, width, target);
        }
    }
    return sent ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

CompositeOutcome CCompositeProcedures::WriteBox(const std::vector<BYTE>& record) {
    if (record.size() < 4 || BoxRecordLength(record.data()) != record.size()) {
        return CompositeOutcome::Refused;
    }
    const BYTE column1 = record[0];
    const BYTE row1 = record[1];
    const BYTE column2 = record[2];
    const BYTE row2 = record[3];
    const int width = column2 - column1 + 1;
    const int height = row2 - row1 + 1;
    const auto cells = record.begin() + 4;
    bool sent = true;
    if (width == 1 && height == 1) {
        sent = SendOrClose(kWriteOneCell, {column1, row1, *cells}, 0, Span{});
    } else if (width < height) {
        for (int i = 0; sent && i < width; ++i) {
            std::vector<BYTE> data = {static_cast<BYTE>(column1 + i), row1, row2};
            data.insert(data.end(), cells + i * height, cells + (i + 1) * height);
            sent = SendOrClose(kWriteColumnPart, data, 0, Span{});
        }
    } else {
        for (int i = 0; sent && i < height; ++i) {
            std::vector<BYTE> data = {static_cast<BYTE>(row1 + i), column1, column2};
            data.insert(data.end(), cells + i * width, cells + (i + 1) * width);
            sent = SendOrClose(kWriteRowPart, data, 0, Span{});
        }
    }
    if (!sent || !SendOrClose(kEndTableWrite, {}, 0, Span{})) {
        return CompositeOutcome::PortClosed;
    }
    return CompositeOutcome::Done;
}
