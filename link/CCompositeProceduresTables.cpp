// The composite procedures' table reads: the axes, then the cells by rows or columns.
#include "link/CCompositeProcedures.h"
#include "link/CompositeCodes.h"

using namespace CompositeCodes;

bool CCompositeProcedures::ReadAxes(Span destination,
                                    const TableProgress& progress,
                                    int& count1,
                                    int& count2) {
    if (progress.beforeAxes >= 0) {
        Progress(progress.beforeAxes);
    }
    if (!SendOrClose(kFirstAxis, {}, kCountedWords, destination)) {
        return false;
    }
    count1 = destination.data[0];
    if (progress.beforeAxes >= 0) {
        Progress(progress.afterFirstAxis);
    }
    const std::size_t second = 1 + 2 * static_cast<std::size_t>(count1);
    if (second >= destination.size) {
        return Fail("the first axis fills its element");
    }
    if (!SendOrClose(kSecondAxis, {}, kCountedWords, destination.From(second))) {
        return false;
    }
    count2 = destination.data[second];
    if (progress.beforeAxes >= 0) {
        Progress(progress.afterSecondAxis);
    }
    return true;
}

bool CCompositeProcedures::ReadTable(Span destination, const TableProgress& progress) {
    int count1 = 0;
    int count2 = 0;
    if (destination.size == 0) {
        return Fail("a table has no room");
    }
    if (!ReadAxes(destination, progress, count1, count2)) {
        return false;
    }
    const std::size_t cellsOffset = 2 + 2 * static_cast<std::size_t>(count1 + count2);
    if (cellsOffset + static_cast<std::size_t>(count1 * count2) > destination.size) {
        return Fail("a table's cells do not fit its element");
    }
    const bool byColumns = count1 < count2;
    const int lines = byColumns ? count1 : count2;
    const int lineCells = byColumns ? count2 : count1;
    Span cells = destination.From(cellsOffset);
    for (int line = 0; line < lines; ++line) {
        const BYTE last = static_cast<BYTE>(lineCells - 1);
        const Span target{cells.data + static_cast<std::size_t>(line * lineCells),
                          static_cast<std::size_t>(lineCells)};
        if (!SendOrClose(byColumns ? kColumnPart : kRowPart, {static_cast<BYTE>(line), 0, last}, lineCells,
                         target)) {
            return false;
        }
        if (progress.beforeAxes >= 0) {
            Progress(progress.afterSecondAxis + progress.cellSpan * (line + 1) / lines);
        }
    }
    return true;
}

CompositeOutcome CCompositeProcedures::ReadTableRequest(Span destination) {
    if (destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    return ReadTable(destination, TableProgress{}) ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}
