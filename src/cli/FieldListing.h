#pragma once

#include <string>
#include <vector>

struct SFieldSpec;

// What `fields` prints: every question of the catalog and of the PDO, SVID and mode items, one
// tab-separated line each: tab, name, kind with its limits, choices.
class CFieldListing {
public:
    static std::vector<std::wstring> Lines();

private:
    static std::wstring Line(const std::wstring& tab, const SFieldSpec& spec);
    static std::wstring KindText(const SFieldSpec& spec);
    static std::wstring ChoicesText(const SFieldSpec& spec);
    // The caption of the tab that lists items of a group type.
    static std::wstring TabOfGroupType(int typeId);
};
