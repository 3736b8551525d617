#include "persistence/OrvikFile.h"

#include <functional>

namespace {

constexpr std::size_t kMinSlots = 64;

std::size_t HashOf(std::wstring_view name) {
    return std::hash<std::wstring_view>{}(name);
}

} // namespace

void COrvikFile::AddOccurrence(const std::wstring& name, const std::wstring& value) {
    // At most half the slots are taken, so a free one is always near.
    if (2 * (entries_.size() + 1) > slots_.size()) {
        Rehash(slots_.empty() ? kMinSlots : 2 * slots_.size());
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = HashOf(name) & mask;
    while (slots_[slot] != 0) {
        COrvikEntry& entry = entries_[slots_[slot] - 1];
        if (entry.Name() == name) {
            ++entry.count;
            return;
        }
        slot = (slot + 1) & mask;
    }
    slots_[slot] = entries_.size() + 1;
    COrvikEntry& entry = entries_.emplace_back();
    entry.first.name = name;
    entry.first.value = value;
    entry.count = 1;
}

void COrvikFile::Rehash(std::size_t slotCount) {
    slots_.assign(slotCount, 0);
    const std::size_t mask = slotCount - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = HashOf(entries_[i].Name()) & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = i + 1;
    }
}

void COrvikFile::AddRejectedLine(std::wstring line) {
    ++rejectedCount_;
    if (rejected_.size() < kMaxKeptRejectedLines) {
        rejected_.push_back(std::move(line));
    }
}

void COrvikFile::Reserve(std::size_t entries) {
    entries_.reserve(entries);
    std::size_t slots = kMinSlots;
    while (slots < 2 * (entries + 1)) {
        slots *= 2;
    }
    if (slots > slots_.size()) {
        Rehash(slots);
    }
}
