#include "core/TestRules.h"

#include <map>
#include <stdexcept>
#include <utility>

namespace testrules {

CRuleTable& Table() {
    static CRuleTable table = CRuleTable::WithProgramRules();
    return table;
}

const CRuleRecord& Rec(const std::wstring& pattern) {
    for (const CRuleGroup& group : Table().Groups()) {
        for (const CRuleRecord& record : group.Records()) {
            if (record.namePattern == pattern) {
                return record;
            }
        }
    }
    throw std::logic_error("no test record of that pattern");
}

const CRuleRecord& Register(EGroupType type, CRuleRecord record) {
    static std::map<std::pair<EGroupType, std::wstring>, const CRuleRecord*> added;
    const auto key = std::make_pair(type, record.namePattern);
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
    const CRuleRecord& stored = Table().Add(type, std::move(record));
    added.emplace(key, &stored);
    return stored;
}

void RegisterPlainRules() {
    static const bool done = [] {
        for (const wchar_t* pattern : {kText, kQuoted, kDigits, kNumber, kChoice, kYesNo, kIndexed}) {
            Register(EGroupType::Page, pattern);
        }
        Register(EGroupType::SourcePdo, kVolt);
        Register(EGroupType::SourcePdo, kPlain);
        Register(EGroupType::SopSvid, kSvidModes);
        Register(EGroupType::SopMode, kModeEnter);
        return true;
    }();
    (void)done;
}

} // namespace testrules
