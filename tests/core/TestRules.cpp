#include "core/TestRules.h"

#include <map>
#include <stdexcept>
#include <utility>

namespace testrules {

const CRuleRecord& Register(int typeId, CRuleRecord record) {
    static std::map<std::pair<int, std::wstring>, const CRuleRecord*> added;
    const auto key = std::make_pair(typeId, record.namePattern);
    if (auto it = added.find(key); it != added.end()) {
        return *it->second;
    }
    std::wstring lower = record.namePattern;
    for (wchar_t& c : lower) {
        c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    if (lower.find(L"test_") == std::wstring::npos) {
        throw std::logic_error("test rule names start with Test_");
    }
    CRuleGroup* group = CRuleTable::Instance().FindGroup(typeId);
    if (!group) {
        throw std::logic_error("no such rule group");
    }
    const CRuleRecord& stored = group->Add(std::move(record));
    added.emplace(key, &stored);
    return stored;
}

void RegisterPlainRules() {
    static const bool done = [] {
        for (const wchar_t* pattern : {kText, kQuoted, kDigits, kNumber, kChoice, kYesNo, kIndexed}) {
            Register(1, pattern);
        }
        Register(2, kVolt);
        Register(2, kPlain);
        Register(4, kSvidModes);
        Register(5, kModeEnter);
        return true;
    }();
    (void)done;
}

} // namespace testrules
