#include "catalog/RuleTable.h"

#include "logging/Logger.h"
#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "text/Text.h"

#include <algorithm>
#include <regex>

bool AlwaysAvailable(const CParameterField* /*field*/) {
    return true;
}

bool DefaultValidity(const CParameterField* field) {
    return field != nullptr && field->IsValid();
}

namespace {

std::size_t& RuleGeneration() {
    static std::size_t generation = 0;
    return generation;
}

} // namespace

std::size_t CRuleGroup::Generation() {
    return RuleGeneration();
}

CRuleRecord& CRuleGroup::Add(CRuleRecord record) {
    if (!record.availability) {
        record.availability = AlwaysAvailable;
    }
    if (!record.validity) {
        record.validity = DefaultValidity;
    }
    record.parsedPattern = &CNamePattern::Of(record.namePattern);
    records.push_back(std::move(record));
    indexed_ = false;
    ++RuleGeneration();
    return records.back();
}

void CRuleGroup::BuildIndex() const {
    exactIndex_.clear();
    literalIndex_.clear();
    keyIndex_.clear();
    patternRecords_.clear();
    exactIndex_.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const CRuleRecord& record = records[i];
        exactIndex_.emplace(record.namePattern, i);
        const CNamePattern& parsed = record.Parsed();
        if (parsed.IsLiteral()) {
            literalIndex_.emplace(parsed.UpperLiteralText(), i);
        } else if (!parsed.Key().empty()) {
            keyIndex_.emplace(parsed.Key(), i);
        } else {
            patternRecords_.push_back(i);
        }
    }
    indexed_ = true;
}

const CRuleRecord* CRuleGroup::FirstMatch(const std::wstring& name, bool exactToo) const {
    // One buffer for each key: every field made asks for its record.
    thread_local std::wstring upper;
    thread_local std::wstring key;
    CNamePattern::KeysOf(name, upper, key);
    return FirstMatch(name, upper, key, exactToo);
}

const CRuleRecord* CRuleGroup::FirstMatch(const std::wstring& name, const std::wstring& upper,
                                          const std::wstring& key, bool exactToo) const {
    if (!indexed_) {
        BuildIndex();
    }
    std::size_t best = records.size();
    if (exactToo) {
        if (auto it = exactIndex_.find(name); it != exactIndex_.end()) {
            best = it->second;
        }
    }
    if (auto it = literalIndex_.find(upper); it != literalIndex_.end()) {
        best = std::min(best, it->second);
    }
    if (auto it = keyIndex_.find(key); it != keyIndex_.end()) {
        best = std::min(best, it->second);
    }
    return FirstPatternMatch(name, best);
}

const CRuleRecord* CRuleGroup::FirstPatternMatch(const std::wstring& name, std::size_t best) const {
    if (!indexed_) {
        BuildIndex();
    }
    best = std::min(best, records.size());
    for (std::size_t i : patternRecords_) {
        if (i >= best) {
            break;
        }
        try {
            if (records[i].Parsed().Match(name)) {
                best = i;
                break;
            }
        } catch (const std::regex_error& e) {
            Log(orvik::Format(L"regex_error: %S.\n", {orvik::FromCp1252(e.what())}));
        }
    }
    return best < records.size() ? &records[best] : nullptr;
}

CRuleTable::CRuleTable() {
    SetRuleSource(this);
}

CRuleTable::~CRuleTable() {
    if (CurrentRuleSource() == this) {
        SetRuleSource(nullptr);
    }
}

CRuleTable& CRuleTable::Instance() {
    static CRuleTable table;
    return table;
}

void CRuleTable::Build() {
    if (built_) {
        return;
    }
    built_ = true;
    struct Definition {
        int typeId;
        int ownerTypeId;
        void (*add)(CRuleGroup&);
    };
    static const Definition kGroups[] = {
        {1, 0, AddPageFieldRules}, {2, 1, AddSourcePdoRules}, {3, 1, AddSinkPdoRules},
        {4, 1, AddSopSvidRules},   {5, 4, AddSopModeRules},   {6, 1, AddCableSvidRules},
        {7, 6, AddCableModeRules},
    };
    for (const Definition& d : kGroups) {
        CRuleGroup& group = groups_.emplace_back();
        group.typeId = d.typeId;
        group.ownerTypeId = d.ownerTypeId;
        d.add(group);
    }
}

const std::deque<CRuleGroup>& CRuleTable::Groups() {
    Build();
    return groups_;
}

const CRuleRecord* CRuleTable::FirstGroupMatch(const std::wstring& name, const CRuleGroup*& group) {
    Build();
    // The loader asks about every entry name of a file.
    thread_local std::wstring upper;
    thread_local std::wstring key;
    CNamePattern::KeysOf(name, upper, key);
    if (!groupIndexed_ || groupIndexGeneration_ != CRuleGroup::Generation()) {
        BuildGroupIndex();
    }
    static const std::vector<SGroupRecord> kNone;
    const auto literal = groupLiteralIndex_.find(upper);
    const auto keyed = groupKeyIndex_.find(key);
    const std::vector<SGroupRecord>& literals = literal == groupLiteralIndex_.end() ? kNone : literal->second;
    const std::vector<SGroupRecord>& keys = keyed == groupKeyIndex_.end() ? kNone : keyed->second;
    auto nextLiteral = literals.begin();
    auto nextKey = keys.begin();
    std::size_t position = 0;
    for (const CRuleGroup& g : groups_) {
        std::size_t best = g.records.size();
        if (nextLiteral != literals.end() && nextLiteral->group == position) {
            best = std::min(best, nextLiteral->record);
            ++nextLiteral;
        }
        if (nextKey != keys.end() && nextKey->group == position) {
            best = std::min(best, nextKey->record);
            ++nextKey;
        }
        ++position;
        if (const CRuleRecord* record = g.FirstPatternMatch(name, best)) {
            group = &g;
            return record;
        }
    }
    group = nullptr;
    return nullptr;
}

void CRuleTable::BuildGroupIndex() {
    groupLiteralIndex_.clear();
    groupKeyIndex_.clear();
    std::size_t position = 0;
    for (const CRuleGroup& g : groups_) {
        for (std::size_t i = 0; i < g.records.size(); ++i) {
            const CNamePattern& parsed = g.records[i].Parsed();
            std::vector<SGroupRecord>* list = nullptr;
            if (parsed.IsLiteral()) {
                list = &groupLiteralIndex_[parsed.UpperLiteralText()];
            } else if (!parsed.Key().empty()) {
                list = &groupKeyIndex_[parsed.Key()];
            }
            // The group's first record of that name or key is the one it finds.
            if (list && (list->empty() || list->back().group != position)) {
                list->push_back(SGroupRecord{position, i});
            }
        }
        ++position;
    }
    groupIndexGeneration_ = CRuleGroup::Generation();
    groupIndexed_ = true;
}

CRuleGroup* CRuleTable::FindGroup(int typeId) {
    Build();
    for (CRuleGroup& group : groups_) {
        if (group.typeId == typeId) {
            return &group;
        }
    }
    return nullptr;
}

const CRuleRecord* CRuleTable::Lookup(int typeId, const std::wstring& name) {
    const CRuleGroup* group = FindGroup(typeId);
    return group ? group->FirstMatch(name, true) : nullptr;
}

const CRuleRecord* CRuleTable::FindRule(int groupTypeId, const std::wstring& namePattern) {
    return Lookup(groupTypeId, namePattern);
}

const CRuleRecord* LookupRuleRecord(int typeId, const std::wstring& name) {
    return CRuleTable::Instance().Lookup(typeId, name);
}
