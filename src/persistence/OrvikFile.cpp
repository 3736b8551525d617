#include "persistence/OrvikFile.h"
#include "text/Text.h"

#include <functional>

namespace {

constexpr std::size_t kMinSlots = 64;
// More entries than the largest form has lines, with room to spare.
constexpr std::size_t kMaxKeptEntries = 4096;

std::size_t HashOf(std::wstring_view name) {
    return orvik::SNameHash{}(name);
}

} // namespace

void COrvikFile::AddOccurrence(const std::wstring& name, const std::wstring& value) {
    // At most half the slots are taken, so a free one is always near.
    if (2 * (used_ + 1) > slots_.size()) {
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
    slots_[slot] = used_ + 1;
    COrvikEntry& entry = used_ < entries_.size() ? entries_[used_] : entries_.emplace_back();
    ++used_;
    entry.first.name = name;
    entry.first.value = value;
    entry.count = 1;
}

void COrvikFile::Rehash(std::size_t slotCount) {
    slots_.assign(slotCount, 0);
    const std::size_t mask = slotCount - 1;
    for (std::size_t i = 0; i < used_; ++i) {
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

void COrvikFile::Reset(std::wstring path) {
    path_ = std::move(path);
    used_ = 0;
    if (entries_.size() > kMaxKeptEntries) {
        // A file of thousands of names is no form: its room is given back rather than kept.
        std::vector<COrvikEntry>().swap(entries_);
        std::vector<std::size_t>().swap(slots_);
    }
    slots_.clear();
    rejected_.clear();
    rejectedCount_ = 0;
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
