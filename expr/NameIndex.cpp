// Name lookup by hash for the value and function lists.
#include "expr/NameIndex.h"

#include <cstring>
#include <stdexcept>

namespace ExprEval {

namespace {

constexpr std::size_t kMinimumSlots = 16;

}  // namespace

void NameIndex::Add(std::string_view name) {
    // Offsets and sizes are 32-bit.
    if (name.size() > UINT32_MAX || m_characters.size() > UINT32_MAX - name.size()) {
        throw std::length_error("NameIndex::Add");
    }
    // At most half the slots in use keeps the probe sequences short.
    const std::size_t needed = 2 * (m_offsets.size() + 1);
    if (m_slots.size() < needed) {
        std::size_t slotCount = m_slots.empty() ? kMinimumSlots : m_slots.size();
        while (slotCount < needed) {
            slotCount *= 2;
        }
        Rebuild(slotCount);
    }
    const std::uint64_t key = Key(name);
    const auto offset = static_cast<std::uint32_t>(m_characters.size());
    m_offsets.reserve(m_offsets.size() + 1);
    m_characters.append(name);
    m_offsets.push_back(offset);
    const auto position = static_cast<std::int32_t>(m_offsets.size() - 1);
    m_slots[FreeSlot(m_slots, Hash(key, name.size()))] =
        Slot{key, position, static_cast<std::uint32_t>(name.size())};
}

void NameIndex::Clear() {
    m_characters.clear();
    m_offsets.clear();
    m_slots.clear();
}

// Up to eight characters the key holds the name's characters, the first in the lowest
// byte, so the key with the size is the name itself; a longer name's key is a hash of all its
// words. Reading a word at a time, the last overlapping the one before, costs less
// than a step per character.
std::uint64_t NameIndex::Key(std::string_view name) {
    const char* data = name.data();
    const std::size_t size = name.size();
    if (size <= kExactKeySize) {
        return ShortKey(data, size);
    }
    const auto mix = [](std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        return hash ^ (hash >> 29);
    };
    std::uint64_t hash = 0;
    for (std::size_t offset = 0; offset + sizeof(std::uint64_t) < size; offset += sizeof(std::uint64_t)) {
        hash = mix(hash, LoadWord(data + offset));
    }
    return mix(hash, LoadWord(data + size - sizeof(std::uint64_t)));
}

// The characters of a name of up to eight, placed as a little-endian load of them would
// place them, from two reads that may overlap: a copy of a variable size would be a
// library call, and a loop a branch per character.
std::uint64_t NameIndex::ShortKey(const char* data, std::size_t size) {
    const auto at = [data](std::size_t index, std::size_t byte) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(data[index])) << (8 * byte);
    };
    if (size >= 4) {
        std::uint32_t first;
        std::uint32_t last;
        std::memcpy(&first, data, sizeof first);
        std::memcpy(&last, data + size - sizeof last, sizeof last);
        return first | static_cast<std::uint64_t>(last) << (8 * (size - sizeof last));
    }
    if (size == 0) {
        return 0;
    }
    return at(0, 0) | at(size / 2, size / 2) | at(size - 1, size - 1);
}

bool NameIndex::Equals(const Slot& slot, std::string_view name) const {
    return std::memcmp(m_characters.data() + m_offsets[static_cast<std::size_t>(slot.position)], name.data(),
                       name.size()) == 0;
}

// Builds the larger table aside, so that a failed allocation leaves the index as it was.
void NameIndex::Rebuild(std::size_t slotCount) {
    std::vector<Slot> slots(slotCount, Slot{0, -1, 0});
    for (const Slot& slot : m_slots) {
        if (slot.position >= 0) {
            slots[FreeSlot(slots, Hash(slot.key, slot.size))] = slot;
        }
    }
    m_slots.swap(slots);
}

std::size_t NameIndex::FreeSlot(const std::vector<Slot>& slots, std::uint64_t hash) {
    const std::size_t mask = slots.size() - 1;
    std::size_t slot = hash & mask;
    while (slots[slot].position >= 0) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

}  // namespace ExprEval
