#pragma once

#include "text/Text.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvik {

// Names to positions, for the lookup tables of fields and rule records: every name, literal name
// and key of the form maps to the first position that has it. Open addressing in one block of
// slots, so that building the tables of a form costs no allocation per name; the names are views
// of text that outlives the index (the parsed patterns).
class CNameIndex {
public:
    void Clear();
    // Room for `count` names without growing.
    void Reserve(std::size_t count);
    // Adds `name` at `position` unless it is there already; false when it was (the first stays).
    bool Emplace(std::wstring_view name, std::size_t position);
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // The position of `name`, or npos.
    std::size_t Find(std::wstring_view name) const { return Find(SHashedName{name, SNameHash{}(name)}); }
    std::size_t Find(const SHashedName& name) const;
    std::size_t Size() const { return size_; }
    // Gives every position the one `map` returns for it (a list sorted again).
    template <class F> void MapPositions(F map) {
        for (SSlot& slot : slots_) {
            if (slot.used) {
                slot.position = map(slot.position);
            }
        }
    }

private:
    struct SSlot {
        std::wstring_view name;
        std::size_t hash = 0;
        std::size_t position = 0;
        bool used = false;
    };
    void Rehash(std::size_t slotCount);

    std::vector<SSlot> slots_;
    std::size_t size_ = 0;
};

} // namespace orvik
