#pragma once

#include "persistence/OrvikFile.h"

#include <map>
#include <string>
#include <vector>

class CMarnelPropertySheet;
struct SNameKeys;

// Moves the answers of files written by older versions to the current fields: nine renamed fields
// keep their values; UUT_Device_Type is split into four.
class CUpgrader {
public:
    // Forgets what an earlier load collected.
    void Clear() { map_.clear(); }
    // Whether `name` is one an older version wrote, which a current question takes.
    static bool IsRetiredName(const std::wstring& name);
    // The same with the name's lookup keys already made.
    static bool IsRetiredName(const std::wstring& name, const SNameKeys& keys);
    // Keeps an entry whose name is a retired one; true when it did.
    bool CollectOldEntry(const COrvikEntry& entry);
    bool CollectOldEntry(const COrvikEntry& entry, const SNameKeys& keys);
    // Rewrites what was collected to the current names and assigns it to the sheet's fields.
    void ApplyUpgrades(CMarnelPropertySheet& sheet);

    const std::map<std::wstring, COccurrence>& Collected() const { return map_; }

private:
    std::map<std::wstring, COccurrence> map_;
};

// The name a pattern stands for: ^\$Model_Part_Number$ gives $Model_Part_Number.
std::wstring PrintableNameOfPattern(const std::wstring& pattern);

// A field name that older versions wrote and this one still reads, and the current fields that
// take its answer on loading: one for a rename, several for a split.
struct SRetiredField {
    std::wstring oldName;
    std::vector<std::wstring> currentNames;
};
// The retired names in the order they are tried, as printable names.
std::vector<SRetiredField> RetiredFields();
