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

    std::size_t Count() const { return m_names.size(); }

private:
    static std::uint64_t Hash(std::string_view name);
    static bool SameName(const std::string& stored, std::string_view name);
    void Rebuild(std::size_t slotCount);
    static std::size_t FreeSlot(const std::vector<std::int32_t>& slots, std::uint64_t hash);

    std::vector<std::string> m_names;
    std::vector<std::uint64_t> m_hashes;
    // Open addressing over a power-of-two table: a name's position, or -1 for a free slot.
    std::vector<std::int32_t> m_slots;
};

}  // namespace ExprEval
