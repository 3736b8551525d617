#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One `Name: value` line as read: the name as written and the value as stored (quotes removed for
// text, upper case and without 0x otherwise).
struct COccurrence {
    std::wstring name;
    std::wstring value;
};

// Every occurrence of one name. Only the first is kept: a name that occurs more than once is
// discarded whole, so the others matter only by their number (and a file of millions of repeated
// lines must not cost millions of copies).
struct COrvikEntry {
    COccurrence first;
    std::size_t count = 0;

    // The name as written, the same for every occurrence.
    const std::wstring& Name() const { return first.name; }
};

// A parsed Orvik file: one entry per distinct name (compared exactly) in order of first appearance,
// and the lines that did not fit the grammar.
class COrvikFile {
public:
    // Rejected lines beyond this many are counted, not kept: they are logged as they are read.
    static constexpr std::size_t kMaxKeptRejectedLines = 1000;

    explicit COrvikFile(std::wstring path = {}) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    std::span<const COrvikEntry> Entries() const { return {entries_.data(), used_}; }
    // The same entries for a reader that takes their texts over: the loader moves each name and
    // value into the field that takes it instead of copying them.
    std::span<COrvikEntry> Entries() { return {entries_.data(), used_}; }
    const std::vector<std::wstring>& RejectedLines() const { return rejected_; }
    std::size_t RejectedLineCount() const { return rejectedCount_; }

    void AddOccurrence(const std::wstring& name, const std::wstring& value);
    // Empties the file for the next one read, keeping the room its entries took: a form loaded
    // again and again (a fuzzing run, a user reloading) then reads into the same table, and into
    // the same buffers the texts no field took over.
    void Reset(std::wstring path);
    // Room for about `entries` entries, so that a large file does not grow the table step by step.
    void Reserve(std::size_t entries);
    void AddRejectedLine(std::wstring line);

private:
    void Rehash(std::size_t slotCount);

    std::wstring path_;
    // The first `used_` are this file's entries; any after them are kept for their buffers.
    std::vector<COrvikEntry> entries_;
    std::size_t used_ = 0;
    // The entries by name, open addressing: a slot holds an entry's position plus one, 0 when free.
    // The names are the entries' own, so adding a name costs no copy for the index.
    std::vector<std::size_t> slots_;
    std::vector<std::wstring> rejected_;
    std::size_t rejectedCount_ = 0;
};
