// The simulated unit's firmware loader.
#include "tools/unitsim/CUnitLoader.h"

namespace {

constexpr uint8_t kStart = 96;
constexpr uint8_t kBlock = 97;
constexpr uint8_t kState = 98;
constexpr uint8_t kLeave = 99;
constexpr uint8_t kReset = 100;
constexpr uint8_t kIdentify = 101;

}  // namespace

LoaderAnswer CUnitLoader::Answer(const UnitCommand& command, const std::vector<uint8_t>& data) {
    LoaderAnswer answer;
    switch (command.code) {
    case kStart:
        StartUpload(data);
        break;
    case kBlock:
        TakeBlock(data);
        break;
    case kState:
        answer.data = ReadState();
        break;
    case kLeave:
        // Without a valid application the loader has nothing to hand over to.
        answer.leave = m_state != kBroken;
        answer.uploaded = answer.leave && m_uploaded;
        if (answer.leave) {
            m_uploaded = false;
            m_state = kIdle;
        }
        break;
    case kReset:
        m_state = kIdle;
        break;
    case kIdentify:
        for (uint16_t word : m_words) {
            answer.data.push_back(static_cast<uint8_t>(word & 0xFF));
            answer.data.push_back(static_cast<uint8_t>(word >> 8));
        }
        break;
    default:
        answer.data = CUnitCommandTable::ZeroReplyData(command, data);
        break;
    }
    return answer;
}

void CUnitLoader::SetState(uint8_t state) {
    m_state = state;
    m_eraseLeft = 0;
    m_nextRoom = 0;
}

void CUnitLoader::SetRoomSequence(const std::vector<uint8_t>& rooms) {
    m_rooms = rooms.empty() ? std::vector<uint8_t>{0} : rooms;
    m_nextRoom = 0;
}

void CUnitLoader::FailAtBytes(std::size_t bytes, uint8_t state) {
    m_failAtBytes = bytes;
    m_failState = state;
}

// Room is offered only while taking blocks; erasing ends after its polls.
std::vector<uint8_t> CUnitLoader::ReadState() {
    if (m_state == kErasing && m_eraseLeft-- <= 0) {
        m_state = kWriting;
    }
    if (m_state != kWriting) {
        return {m_state, 0};
    }
    const uint8_t room = m_rooms[m_nextRoom];
    if (m_nextRoom + 1 < m_rooms.size()) {
        ++m_nextRoom;
    }
    return {m_state, room};
}

void CUnitLoader::StartUpload(const std::vector<uint8_t>& data) {
    m_image.clear();
    m_startBytes = {data[0], data[1]};
    m_uploaded = false;
    m_nextRoom = 0;
    m_eraseLeft = m_erasePolls;
    m_state = kErasing;
}

// Blocks outside an upload are dropped: the loader takes them only while it
// offers room.
void CUnitLoader::TakeBlock(const std::vector<uint8_t>& data) {
    if (m_state != kWriting) {
        return;
    }
    if (data[0] == 0) {
        CloseUpload();
        return;
    }
    m_image.insert(m_image.end(), data.begin() + 1, data.end());
    if (m_failState != 0 && m_image.size() >= m_failAtBytes) {
        m_state = m_failState;
        m_failState = 0;
    }
}

// The image must begin with the bytes that started the upload; a bad image
// leaves no valid application behind.
void CUnitLoader::CloseUpload() {
    const bool valid = m_image.size() >= m_startBytes.size() && m_image[0] == m_startBytes[0] &&
                       m_image[1] == m_startBytes[1];
    m_state = valid ? kIdle : kBroken;
    m_uploaded = valid;
}
