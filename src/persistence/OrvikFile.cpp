#include "persistence/OrvikFile.h"

void COrvikFile::AddOccurrence(const std::wstring& name, const std::wstring& value) {
    auto [it, inserted] = index_.emplace(name, entries_.size());
    if (inserted) {
        entries_.push_back(COrvikEntry{name, COccurrence{name, value}, 0});
    }
    ++entries_[it->second].count;
}

void COrvikFile::AddRejectedLine(std::wstring line) {
    ++rejectedCount_;
    if (rejected_.size() < kMaxKeptRejectedLines) {
        rejected_.push_back(std::move(line));
    }
}

void COrvikFile::Reserve(std::size_t entries) {
    entries_.reserve(entries);
    index_.reserve(entries);
}
