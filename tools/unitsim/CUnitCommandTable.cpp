// The command catalogue as the configurator uses it: request sizes decide where
// a request frame ends, reply sizes what an answer must carry.
#include "tools/unitsim/CUnitCommandTable.h"

#include <array>

namespace {

constexpr DataShape kFixed = DataShape::Fixed;
constexpr DataShape kCounted = DataShape::Counted;
constexpr DataShape kRange = DataShape::CellRange;

// The ping carries two protocol bytes although the configurator's table row says
// none: it always sends the minor and major of its protocol.
constexpr std::array<UnitCommand, 51> kApplicationCommands = {{
    {1, kFixed, 2, kFixed, 2},    {2, kFixed, 0, kFixed, 60},     {16, kCounted, 1, kFixed, 0},
    {17, kFixed, 0, kCounted, 1}, {18, kFixed, 1, kFixed, 0},     {19, kFixed, 1, kFixed, 0},
    {20, kFixed, 0, kFixed, 2},   {21, kFixed, 0, kFixed, 16},    {22, kFixed, 0, kFixed, 16},
    {24, kFixed, 0, kFixed, 5},   {25, kFixed, 1, kFixed, 0},     {26, kFixed, 0, kFixed, 2},
    {27, kFixed, 0, kFixed, 1},   {28, kFixed, 0, kFixed, 4},     {30, kFixed, 0, kFixed, 35},
    {31, kFixed, 0, kFixed, 4},   {32, kFixed, 0, kFixed, 44},    {33, kFixed, 1, kFixed, 14},
    {34, kFixed, 15, kFixed, 0},  {40, kFixed, 0, kCounted, 2},   {41, kFixed, 0, kCounted, 2},
    {42, kFixed, 3, kRange, 1},   {43, kFixed, 3, kRange, 1},     {44, kFixed, 2, kFixed, 1},
    {46, kFixed, 0, kFixed, 1},   {47, kFixed, 0, kFixed, 16},    {48, kFixed, 0, kFixed, 10},
    {49, kFixed, 0, kFixed, 0},   {50, kFixed, 0, kFixed, 44},    {51, kFixed, 0, kFixed, 22},
    {52, kFixed, 0, kFixed, 26},  {60, kFixed, 35, kFixed, 0},    {61, kFixed, 4, kFixed, 0},
    {64, kRange, 1, kFixed, 0},   {65, kRange, 1, kFixed, 0},     {66, kFixed, 3, kFixed, 0},
    {68, kFixed, 1, kFixed, 0},   {70, kFixed, 0, kFixed, 0},     {75, kFixed, 0, kFixed, 0},
    {76, kFixed, 0, kFixed, 0},   {80, kFixed, 0, kFixed, 0},     {81, kFixed, 0, kCounted, 1},
    {82, kFixed, 1, kFixed, 1},   {83, kFixed, 2, kFixed, 0},     {84, kFixed, 0, kFixed, 0},
    {85, kFixed, 0, kFixed, 0},   {90, kFixed, 0, kFixed, 1},     {91, kFixed, 0, kFixed, 1},
    {92, kFixed, 0, kFixed, 1},   {93, kCounted, 1, kCounted, 1}, {94, kCounted, 1, kCounted, 1},
}};

constexpr std::array<UnitCommand, 7> kLoaderCommands = {{
    {1, kFixed, 2, kFixed, 2},
    {96, kFixed, 2, kFixed, 0},
    {97, kCounted, 1, kFixed, 0},
    {98, kFixed, 0, kFixed, 2},
    {99, kFixed, 0, kFixed, 0},
    {100, kFixed, 0, kFixed, 0},
    {101, kFixed, 0, kFixed, 6},
}};

template <std::size_t N>
const UnitCommand* FindIn(const std::array<UnitCommand, N>& table, uint8_t code) {
    for (const UnitCommand& command : table) {
        if (command.code == code) {
            return &command;
        }
    }
    return nullptr;
}

// Cells of a range request (line, first, last); 0 when the range is reversed.
std::size_t RangeCells(const std::vector<uint8_t>& requestData) {
    if (requestData.size() < 3 || requestData[2] < requestData[1]) {
        return 0;
    }
    return static_cast<std::size_t>(requestData[2] - requestData[1]) + 1;
}

}  // namespace

const UnitCommand* CUnitCommandTable::Find(uint8_t senderId, uint8_t code) {
    if (senderId == kApplicationSenderId) {
        return FindIn(kApplicationCommands, code);
    }
    if (senderId == kLoaderSenderId) {
        return FindIn(kLoaderCommands, code);
    }
    return nullptr;
}

std::vector<uint8_t> CUnitCommandTable::ZeroReplyData(const UnitCommand& command,
                                                      const std::vector<uint8_t>& requestData) {
    switch (command.replyShape) {
    case DataShape::Fixed:
        return std::vector<uint8_t>(static_cast<std::size_t>(command.replyLength), 0);
    case DataShape::Counted:
        return std::vector<uint8_t>(1, 0);
    case DataShape::CellRange:
        return std::vector<uint8_t>(RangeCells(requestData) * static_cast<std::size_t>(command.replyLength),
                                    0);
    }
    return {};
}
