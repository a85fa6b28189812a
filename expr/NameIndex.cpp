// Name lookup by hash for the value and function lists.
#include "expr/NameIndex.h"

#include <cstring>
#include <stdexcept>

namespace ExprEval {

namespace {

constexpr std::size_t kMinimumSlots = 16;
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

// Fixed-size copies compile to single loads at any alignment.
std::uint64_t LoadWord(const char* data) {
    std::uint64_t word;
    std::memcpy(&word, data, sizeof word);
    return word;
}

std::uint32_t LoadHalf(const char* data) {
    std::uint32_t half;
    std::memcpy(&half, data, sizeof half);
    return half;
}

std::uint64_t Byte(const char* data, std::size_t index) {
    return static_cast<unsigned char>(data[index]);
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

}  // namespace

void NameIndex::Add(std::string_view name) {
    // Offsets and sizes are 32-bit.
    if (name.size() > UINT32_MAX || m_characters.size() > UINT32_MAX - name.size()) {
        throw std::length_error("NameIndex::Add");
    }
    // At most half the slots in use keeps the probe sequences short.
    const std::size_t needed = 2 * (m_keys.size() + 1);
    if (m_slots.size() < needed) {
        std::size_t slotCount = m_slots.empty() ? kMinimumSlots : m_slots.size();
        while (slotCount < needed) {
            slotCount *= 2;
        }
        Rebuild(slotCount);
    }
    const std::uint64_t key = Key(name);
    const auto offset = static_cast<std::uint32_t>(m_characters.size());
    m_keys.reserve(m_keys.size() + 1);
    m_characters.append(name);
    m_keys.push_back(key);
    const auto position = static_cast<std::int32_t>(m_keys.size() - 1);
    m_slots[FreeSlot(m_slots, Hash(key, name.size()))] =
        Slot{key, position, static_cast<std::uint32_t>(name.size()), offset};
}

void NameIndex::Clear() {
    m_characters.clear();
    m_keys.clear();
    m_slots.clear();
}

// Up to eight characters the loads below cover every character, so the key with the
// size is the name itself; a longer name's key is a hash of all its words. Reading a
// word at a time, the last overlapping the one before, costs less than a step per
// character.
inline std::uint64_t NameIndex::Key(std::string_view name) {
    const char* data = name.data();
    const std::size_t size = name.size();
    if (size > kExactKeySize) {
        std::uint64_t hash = 0;
        for (std::size_t offset = 0; offset + sizeof(std::uint64_t) < size; offset += sizeof(std::uint64_t)) {
            hash = Mix(hash, LoadWord(data + offset));
        }
        return Mix(hash, LoadWord(data + size - sizeof(std::uint64_t)));
    }
    if (size == sizeof(std::uint64_t)) {
        return LoadWord(data);
    }
    if (size >= sizeof(std::uint32_t)) {
        const std::uint64_t low = LoadHalf(data);
        const std::uint64_t high = LoadHalf(data + size - sizeof(std::uint32_t));
        return low | high << 32;
    }
    if (size > 0) {
        return Byte(data, 0) | Byte(data, size / 2) << 8 | Byte(data, size - 1) << 16;
    }
    return 0;
}

inline std::uint64_t NameIndex::Hash(std::uint64_t key, std::size_t size) {
    const std::uint64_t hash = (key ^ size) * kMultiplier;
    return hash ^ (hash >> 32);
}

inline bool NameIndex::Matches(const Slot& slot, std::uint64_t key, std::string_view name) const {
    if (slot.key != key || slot.size != name.size()) {
        return false;
    }
    return name.size() <= kExactKeySize ||
           std::memcmp(m_characters.data() + slot.offset, name.data(), name.size()) == 0;
}

// Builds the larger table aside, so that a failed allocation leaves the index as it was.
void NameIndex::Rebuild(std::size_t slotCount) {
    std::vector<Slot> slots(slotCount, Slot{0, -1, 0, 0});
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

std::int32_t NameIndex::Find(std::string_view name) const {
    if (m_slots.empty()) {
        return -1;
    }
    const std::uint64_t key = Key(name);
    const std::uint64_t hash = Hash(key, name.size());
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& entry = m_slots[slot];
        if (entry.position < 0) {
            return -1;
        }
        if (Matches(entry, key, name)) {
            return entry.position;
        }
    }
}

}  // namespace ExprEval
