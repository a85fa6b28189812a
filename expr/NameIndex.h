// Finds the position of a name among names added one after another, in about the same
// time however many there are: the parser looks up every name it meets, and a value
// list of a conversion holds dozens of them. Names are compared exactly
// (case-sensitive); each name may be added once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ExprEval {

class NameIndex {
public:
    // The position the name was added at, or -1. Defined here: the parser looks up
    // every name it meets.
    std::int32_t Find(std::string_view name) const {
        if (m_slots.empty()) {
            return -1;
        }
        const std::uint64_t key = Key(name);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = Hash(key, name.size()) & mask;; slot = (slot + 1) & mask) {
            const Slot& entry = m_slots[slot];
            if (entry.position < 0) {
                return -1;
            }
            if (entry.key == key && entry.size == name.size() &&
                (name.size() <= kExactKeySize || Equals(entry, name))) {
                return entry.position;
            }
        }
    }

    // The name must not be in the index yet; it gets position Count(). On failure
    // (no memory) the index is unchanged.
    void Add(std::string_view name);
    void Clear();

    std::size_t Count() const { return m_offsets.size(); }

private:
    // One entry of the open-addressing table. A name of up to eight characters is
    // identified by its size and key alone, so finding one reads nothing but its slot;
    // 16 bytes, so that the table of a value list takes few cache lines.
    struct Slot {
        std::uint64_t key;
        std::int32_t position;  // -1 for a free slot
        std::uint32_t size;
    };

    static constexpr std::size_t kExactKeySize = 8;

    static std::uint64_t LoadWord(const char* data) {
        std::uint64_t word;
        std::memcpy(&word, data, sizeof word);
        return word;
    }

    static std::uint64_t Hash(std::uint64_t key, std::size_t size) {
        const std::uint64_t hash = (key ^ size) * kMultiplier;
        return hash ^ (hash >> 32);
    }

    static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

    static std::uint64_t Key(std::string_view name);
    static std::uint64_t ShortKey(const char* data, std::size_t size);
    // Whether the slot's name, longer than kExactKeySize, is this one.
    bool Equals(const Slot& slot, std::string_view name) const;
    void Rebuild(std::size_t slotCount);
    static std::size_t FreeSlot(const std::vector<Slot>& slots, std::uint64_t hash);

    // Every name's characters one after another, and where each name's start, by
    // position.
    std::string m_characters;
    std::vector<std::uint32_t> m_offsets;
    std::vector<Slot> m_slots;  // a power of two long
};

}  // namespace ExprEval
