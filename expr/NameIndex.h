// Finds the position of a name among names added one after another, in about the same
// time however many there are: the parser looks up every name it meets, and a value
// list of a conversion holds dozens of them. Names are compared exactly
// (case-sensitive); each name may be added once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ExprEval {

class NameIndex {
public:
    // The position the name was added at, or -1.
    std::int32_t Find(std::string_view name) const;
    // The name must not be in the index yet; it gets position Count(). On failure
    // (no memory) the index is unchanged.
    void Add(std::string_view name);
    void Clear();

    std::size_t Count() const { return m_keys.size(); }

private:
    // One entry of the open-addressing table. A name of up to eight characters is
    // identified by its size and key alone, so finding one reads nothing but its slot.
    struct Slot {
        std::uint64_t key;
        std::int32_t position;  // -1 for a free slot
        std::uint32_t size;
        std::uint32_t offset;   // of the name's characters in m_characters
    };

    static constexpr std::size_t kExactKeySize = 8;

    static std::uint64_t Key(std::string_view name);
    static std::uint64_t Hash(std::uint64_t key, std::size_t size);
    bool Matches(const Slot& slot, std::uint64_t key, std::string_view name) const;
    void Rebuild(std::size_t slotCount);
    static std::size_t FreeSlot(const std::vector<Slot>& slots, std::uint64_t hash);

    // Every name's characters one after another, and each name's key by position.
    std::string m_characters;
    std::vector<std::uint64_t> m_keys;
    std::vector<Slot> m_slots;  // a power of two long
};

}  // namespace ExprEval
