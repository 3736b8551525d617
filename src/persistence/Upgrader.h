#pragma once

#include "persistence/OrvikFile.h"

#include <map>
#include <string>

class CMarnelPropertySheet;

// Moves the answers of files written by older versions to the current fields: nine renamed fields
// keep their values; UUT_Device_Type is split into four.
class CUpgrader {
public:
    // Forgets what an earlier load collected.
    void Clear() { map_.clear(); }
    // Keeps an entry whose name is a retired one; true when it did.
    bool CollectOldEntry(const COrvikEntry& entry);
    // Rewrites what was collected to the current names and assigns it to the sheet's fields.
    void ApplyUpgrades(CMarnelPropertySheet& sheet);

    const std::map<std::wstring, COccurrence>& Collected() const { return map_; }

private:
    std::map<std::wstring, COccurrence> map_;
};

// The name a pattern stands for: ^\$Model_Part_Number$ gives $Model_Part_Number.
std::wstring PrintableNameOfPattern(const std::wstring& pattern);
