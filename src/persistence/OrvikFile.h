#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// One `Name: value` line as read: the name as written and the value as stored (quotes removed for
// text, upper case and without 0x otherwise).
struct COccurrence {
    std::wstring name;
    std::wstring value;
};

// Every occurrence of one name, in file order.
struct COrvikEntry {
    std::wstring name;
    std::vector<COccurrence> occurrences;
};

// A parsed Orvik file: one entry per distinct name (compared exactly) in order of first appearance,
// and the lines that did not fit the grammar.
class COrvikFile {
public:
    explicit COrvikFile(std::wstring path = {}) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    const std::vector<COrvikEntry>& Entries() const { return entries_; }
    const std::vector<std::wstring>& RejectedLines() const { return rejected_; }

    void AddOccurrence(const std::wstring& name, const std::wstring& value);
    void AddRejectedLine(std::wstring line) { rejected_.push_back(std::move(line)); }

private:
    std::wstring path_;
    std::vector<COrvikEntry> entries_;
    std::unordered_map<std::wstring, std::size_t> index_;
    std::vector<std::wstring> rejected_;
};
