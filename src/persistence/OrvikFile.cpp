#include "persistence/OrvikFile.h"

void COrvikFile::AddOccurrence(const std::wstring& name, const std::wstring& value) {
    auto [it, inserted] = index_.emplace(name, entries_.size());
    if (inserted) {
        entries_.push_back(COrvikEntry{name, {}});
    }
    entries_[it->second].occurrences.push_back(COccurrence{name, value});
}
