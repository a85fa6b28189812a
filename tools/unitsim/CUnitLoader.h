// The simulated unit's firmware loader: its identification, its state and
// room, the upload of a firmware image in blocks, and leaving for the
// application. States: 1 idle or done, 2 taking blocks, 3 write error,
// 4 verify error, 5 broken (no valid application), 6 erasing.
#pragma once

#include "tools/unitsim/CUnitCommandTable.h"

#include <array>
#include <cstdint>
#include <vector>

struct LoaderAnswer {
    std::vector<uint8_t> data;  // the reply data
    bool leave = false;         // the loader hands over to the application now
    bool uploaded = false;      // with `leave`: a whole image came in since it started
};

class CUnitLoader {
public:
    static constexpr uint8_t kIdle = 1;
    static constexpr uint8_t kWriting = 2;
    static constexpr uint8_t kWriteError = 3;
    static constexpr uint8_t kVerifyError = 4;
    static constexpr uint8_t kBroken = 5;
    static constexpr uint8_t kErasing = 6;

    LoaderAnswer Answer(const UnitCommand& command, const std::vector<uint8_t>& data);

    // Puts the loader into a state, as after power-up or a failure.
    void SetState(uint8_t state);

    uint8_t State() const { return m_state; }

    // The room the state polls offer while taking blocks, one value per poll;
    // the last value repeats. Defaults to {128}.
    void SetRoomSequence(const std::vector<uint8_t>& rooms);

    // State polls that show "erasing" after an upload starts (default 2).
    void SetErasePolls(int polls) { m_erasePolls = polls; }

    // Once the image holds `bytes` bytes the loader goes to `state` (3, 4 or 5).
    void FailAtBytes(std::size_t bytes, uint8_t state);

    // The identification's three words (little-endian on the wire); the second
    // is the version that update files are checked against.
    void SetWords(uint16_t word0, uint16_t word1, uint16_t word2) { m_words = {word0, word1, word2}; }

    // The image received since the last start of an upload.
    const std::vector<uint8_t>& Image() const { return m_image; }

private:
    std::vector<uint8_t> ReadState();
    void StartUpload(const std::vector<uint8_t>& data);
    void TakeBlock(const std::vector<uint8_t>& data);
    void CloseUpload();

    uint8_t m_state = kIdle;
    std::vector<uint8_t> m_rooms = {128};
    std::size_t m_nextRoom = 0;
    int m_erasePolls = 2;
    int m_eraseLeft = 0;
    std::size_t m_failAtBytes = 0;
    uint8_t m_failState = 0;
    std::array<uint16_t, 3> m_words = {0x010A, 0x011E, 0x000C};
    std::vector<uint8_t> m_image;
    std::array<uint8_t, 2> m_startBytes{};
    bool m_uploaded = false;
};
