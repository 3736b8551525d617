#include "text/NameIndex.h"

#include <algorithm>
#include <bit>

namespace orvik {

namespace {

constexpr std::size_t kMinSlots = 16;

} // namespace

void CNameIndex::Clear() {
    for (SSlot& slot : slots_) {
        slot = SSlot{};
    }
    size_ = 0;
}

void CNameIndex::Reserve(std::size_t count) {
    // At most half the slots are taken, so a free one is always near.
    const std::size_t wanted = std::bit_ceil(std::max(kMinSlots, 2 * count));
    if (wanted > slots_.size()) {
        Rehash(wanted);
    }
}

bool CNameIndex::Emplace(std::wstring_view name, std::size_t position) {
    if (2 * (size_ + 1) > slots_.size()) {
        Rehash(slots_.empty() ? kMinSlots : 2 * slots_.size());
    }
    const std::size_t hash = SNameHash{}(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        SSlot& slot = slots_[i];
        if (!slot.used) {
            slot = SSlot{name, hash, position, true};
            ++size_;
            return true;
        }
        if (slot.hash == hash && slot.name == name) {
            return false;
        }
    }
}

std::size_t CNameIndex::Find(const SHashedName& name) const {
    if (slots_.empty()) {
        return npos;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = name.hash & mask;; i = (i + 1) & mask) {
        const SSlot& slot = slots_[i];
        if (!slot.used) {
            return npos;
        }
        if (slot.hash == name.hash && slot.name == name.text) {
            return slot.position;
        }
    }
}

void CNameIndex::Rehash(std::size_t slotCount) {
    std::vector<SSlot> old = std::move(slots_);
    slots_.assign(slotCount, SSlot{});
    const std::size_t mask = slotCount - 1;
    for (const SSlot& slot : old) {
        if (!slot.used) {
            continue;
        }
        std::size_t i = slot.hash & mask;
        while (slots_[i].used) {
            i = (i + 1) & mask;
        }
        slots_[i] = slot;
    }
}

} // namespace orvik
