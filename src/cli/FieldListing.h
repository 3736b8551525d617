#pragma once

#include "catalog/GroupTypes.h"

#include <string>
#include <vector>

struct SFieldRow;

// What `fields` prints: every question of the catalog and of the PDO, SVID and mode items, one
// tab-separated line each: tab, name, kind with its limits, choices.
class CFieldListing {
public:
    static std::vector<std::wstring> Lines();

private:
    static std::wstring Line(const std::wstring& tab, const SFieldRow& row);
    static std::wstring KindText(const SFieldRow& row);
    // When the question is asked, when its answer is valid and what the program does when it is.
    static std::wstring RuleText(const SFieldRow& row);
    static std::wstring ChoicesText(const SFieldRow& row);
    // The caption of the tab that lists items of a group type.
    static std::wstring TabOfGroupType(EGroupType type);
};
