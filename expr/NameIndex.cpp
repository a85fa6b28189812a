// Name lookup by hash for the value and function lists.
#include "expr/NameIndex.h"

#include <cstring>

namespace ExprEval {

namespace {

constexpr std::size_t kMinimumSlots = 16;

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

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

}  // namespace

std::int32_t NameIndex::Find(std::string_view name) const {
    if (m_slots.empty()) {
        return -1;
    }
    const std::uint64_t hash = Hash(name);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::int32_t position = m_slots[slot];
        if (position < 0) {
            return -1;
        }
        const auto index = static_cast<std::size_t>(position);
        if (m_hashes[index] == hash && SameName(m_names[index], name)) {
            return position;
        }
    }
}

void NameIndex::Add(std::string_view name) {
    // At most half the slots in use keeps the probe sequences short.
    const std::size_t needed = 2 * (m_names.size() + 1);
    if (m_slots.size() < needed) {
        std::size_t slotCount = m_slots.empty() ? kMinimumSlots : m_slots.size();
        while (slotCount < needed) {
            slotCount *= 2;
        }
        Rebuild(slotCount);
    }
    m_names.reserve(m_names.size() + 1);
    m_hashes.reserve(m_hashes.size() + 1);
    m_names.emplace_back(name);
    m_hashes.push_back(Hash(name));
    m_slots[FreeSlot(m_slots, m_hashes.back())] = static_cast<std::int32_t>(m_names.size() - 1);
}

void NameIndex::Clear() {
    m_names.clear();
    m_hashes.clear();
    m_slots.clear();
}

// Names are a few characters long: reading them a word at a time, the last word
// overlapping the one before, costs less than a step per character.
std::uint64_t NameIndex::Hash(std::string_view name) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const char* data = name.data();
    const std::size_t size = name.size();
    std::uint64_t hash = size * kMultiplier;
    if (size >= sizeof(std::uint64_t)) {
        std::size_t offset = 0;
        while (offset + sizeof(std::uint64_t) < size) {
            hash = Mix(hash, LoadWord(data + offset));
            offset += sizeof(std::uint64_t);
        }
        hash = Mix(hash, LoadWord(data + size - sizeof(std::uint64_t)));
    } else if (size >= sizeof(std::uint32_t)) {
        const std::uint64_t low = LoadHalf(data);
        const std::uint64_t high = LoadHalf(data + size - sizeof(std::uint32_t));
        hash = Mix(hash, low | high << 32);
    } else if (size > 0) {
        const auto first = static_cast<std::uint64_t>(static_cast<unsigned char>(data[0]));
        const auto middle = static_cast<std::uint64_t>(static_cast<unsigned char>(data[size / 2]));
        const auto last = static_cast<std::uint64_t>(static_cast<unsigned char>(data[size - 1]));
        hash = Mix(hash, first | middle << 8 | last << 16);
    }
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

bool NameIndex::SameName(const std::string& stored, std::string_view name) {
    if (stored.size() != name.size()) {
        return false;
    }
    // A loop rather than a library comparison: for names this short the call costs
    // more than comparing.
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (stored[i] != name[i]) {
            return false;
        }
    }
    return true;
}

// Builds the larger table aside, so that a failed allocation leaves the index as it was.
void NameIndex::Rebuild(std::size_t slotCount) {
    std::vector<std::int32_t> slots(slotCount, -1);
    for (std::size_t i = 0; i < m_hashes.size(); ++i) {
        slots[FreeSlot(slots, m_hashes[i])] = static_cast<std::int32_t>(i);
    }
    m_slots.swap(slots);
}

std::size_t NameIndex::FreeSlot(const std::vector<std::int32_t>& slots, std::uint64_t hash) {
    const std::size_t mask = slots.size() - 1;
    std::size_t slot = hash & mask;
    while (slots[slot] >= 0) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

}  // namespace ExprEval
