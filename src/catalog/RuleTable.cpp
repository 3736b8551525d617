#include "catalog/RuleTable.h"
#include "catalog/GroupCatalog.h"
#include "catalog/GroupTypes.h"
#include "catalog/PageCatalog.h"

#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "text/Text.h"

#include <algorithm>
#include <regex>
#include <stdexcept>

bool AlwaysAvailable(const CParameterField* /*field*/) {
    return true;
}

bool DefaultValidity(const CParameterField* field) {
    return field != nullptr && field->IsValid();
}

namespace {

// What a record's conditions and actions read, each name once, in that order: its fields' parents.
std::vector<std::wstring> ReadsOf(const CRuleRecord& record) {
    std::vector<std::wstring> names;
    for (const std::vector<std::wstring>* reads : {&record.availability.Reads(), &record.validity.Reads(),
                                                   &record.onAvailable.Reads(), &record.refresh.Reads()}) {
        for (const std::wstring& name : *reads) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(name);
            }
        }
    }
    return names;
}

} // namespace

CRuleRecord& CRuleGroup::Add(CRuleRecord record) {
    record.reads = ReadsOf(record);
    // The defaults, with the words an explanation gives them.
    static const FieldPredicate always(L"always", {}, AlwaysAvailable);
    static const FieldPredicate byKind(L"its kind accepts the answer", {}, DefaultValidity);
    if (!record.availability) {
        record.availability = always;
    }
    if (!record.validity) {
        record.validity = byKind;
    }
    record.parsedPattern = std::make_shared<const CNamePattern>(record.namePattern);
    const std::size_t i = records_.size();
    records_.push_back(std::move(record));
    const CRuleRecord& added = records_.back();
    // The first record of a name, literal name or key is the one a lookup finds.
    const CNamePattern& parsed = added.Parsed();
    exactIndex_.Emplace(parsed.Pattern(), i);
    if (parsed.IsLiteral()) {
        literalIndex_.Emplace(parsed.UpperLiteralText(), i);
    } else if (!parsed.Key().empty()) {
        keyIndex_.Emplace(parsed.Key(), i);
    } else {
        patternRecords_.push_back(i);
    }
    return records_.back();
}

const CRuleRecord* CRuleGroup::FirstMatch(const std::wstring& name, bool exactToo) const {
    // One buffer for each key: every field made asks for its record.
    thread_local SNameKeys keys;
    return FirstMatch(name, keys.Of(name), exactToo);
}

const CRuleRecord* CRuleGroup::FirstMatch(const std::wstring& name, const SNameKeys& keys,
                                          bool exactToo) const {
    // An index's miss is npos, past every record.
    const std::size_t exact = exactToo ? exactIndex_.Find(name) : CNameIndex::npos;
    const std::size_t best =
        std::min({records_.size(), exact, literalIndex_.Find(keys.Upper()), keyIndex_.Find(keys.Key())});
    return FirstPatternMatch(name, best);
}

const CRuleRecord* CRuleGroup::FirstPatternMatch(const std::wstring& name, std::size_t best) const {
    best = std::min(best, records_.size());
    for (std::size_t i : patternRecords_) {
        if (i >= best) {
            break;
        }
        try {
            if (records_[i].Parsed().Match(name)) {
                best = i;
                break;
            }
        } catch (const std::regex_error& e) {
            Log(orvik::Format(L"regex_error: %S.\n", {orvik::FromCp1252(e.what())}));
        }
    }
    return best < records_.size() ? &records_[best] : nullptr;
}

CRuleTable CRuleTable::WithProgramRules() {
    CRuleTable table;
    table.AddGroup(EGroupType::Page, EGroupType::None);
    for (const SPageRow& row : PageCatalog()) {
        table.AddRows(row.fields);
    }
    // The repeated items follow in the order of their numbers; a mode's group is owned by its SVID's.
    for (const SGroupTypeRow& row : GroupTypeRows()) {
        const EGroupType owner = row.owner == EGroupType::None ? EGroupType::Page : row.owner;
        table.AddGroup(row.type, owner);
        table.AddRows(GroupFieldRows(row.type));
    }
    for (std::size_t g = 0; g < table.groups_.size(); ++g) {
        for (std::size_t i = 0; i < table.groups_[g].Records().size(); ++i) {
            table.IndexAcrossGroups(g, i);
        }
    }
    return table;
}

void CRuleTable::AddRows(const std::vector<SFieldRow>& rows) {
    CRuleGroup& group = groups_.back();
    rowRecords_.reserve(rowRecords_.size() + rows.size());
    for (const SFieldRow& row : rows) {
        rowRecords_.emplace(&row, SGroupRecord{groups_.size() - 1, group.Records().size()});
        CRuleRecord record{row.Pattern(), row.availability, row.validity, row.onAvailable, row.refresh};
        record.filledBy = row.filledBy;
        record.evaluatedFirst = row.evaluatedFirst;
        record.marksProductTypeChange = row.marksProductTypeChange;
        group.Add(std::move(record));
    }
}

std::shared_ptr<const CRuleTable> ProgramRules() {
    static const std::shared_ptr<const CRuleTable> table =
        std::make_shared<const CRuleTable>(CRuleTable::WithProgramRules());
    return table;
}

CRuleGroup& CRuleTable::AddGroup(EGroupType type, EGroupType ownerType) {
    CRuleGroup& group = groups_.emplace_back();
    group.type = type;
    group.ownerType = ownerType;
    return group;
}

const CRuleRecord& CRuleTable::Add(EGroupType type, CRuleRecord record) {
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        if (groups_[g].type == type) {
            const CRuleRecord& added = groups_[g].Add(std::move(record));
            IndexAcrossGroups(g, groups_[g].Records().size() - 1);
            return added;
        }
    }
    throw std::logic_error("no such rule group");
}

const CRuleRecord* CRuleTable::FirstItemMatch(const std::wstring& name, const CRuleGroup*& group) const {
    thread_local SNameKeys keys;
    return FirstItemMatch(name, keys.Of(name), group);
}

const CRuleRecord* CRuleTable::FirstItemMatch(const std::wstring& name, const SNameKeys& keys,
                                              const CRuleGroup*& group) const {
    static const std::vector<SGroupRecord> kNone;
    const auto literal = groupLiteralIndex_.find(keys.Upper());
    const auto keyed = groupKeyIndex_.find(keys.Key());
    const std::vector<SGroupRecord>& literals = literal == groupLiteralIndex_.end() ? kNone : literal->second;
    const std::vector<SGroupRecord>& keyedRecords = keyed == groupKeyIndex_.end() ? kNone : keyed->second;
    auto nextLiteral = literals.begin();
    auto nextKey = keyedRecords.begin();
    std::size_t position = 0;
    for (const CRuleGroup& g : groups_) {
        if (!IsRepeatedGroupType(g.type)) {
            ++position;
            continue;
        }
        std::size_t best = g.Records().size();
        if (nextLiteral != literals.end() && nextLiteral->group == position) {
            best = std::min(best, nextLiteral->record);
            ++nextLiteral;
        }
        if (nextKey != keyedRecords.end() && nextKey->group == position) {
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

void CRuleTable::IndexAcrossGroups(std::size_t groupPosition, std::size_t recordIndex) {
    if (!IsRepeatedGroupType(groups_[groupPosition].type)) {
        return;
    }
    const CNamePattern& parsed = groups_[groupPosition].Records()[recordIndex].Parsed();
    std::vector<SGroupRecord>* list = nullptr;
    if (parsed.IsLiteral()) {
        list = &groupLiteralIndex_[parsed.UpperLiteralText()];
    } else if (!parsed.Key().empty()) {
        list = &groupKeyIndex_[parsed.Key()];
    } else {
        return;
    }
    // Kept in group order, with each group's first record of that name or key.
    auto at = std::lower_bound(list->begin(), list->end(), groupPosition,
                               [](const SGroupRecord& r, std::size_t g) { return r.group < g; });
    if (at == list->end() || at->group != groupPosition) {
        list->insert(at, SGroupRecord{groupPosition, recordIndex});
    }
}

const CRuleGroup* CRuleTable::FindGroup(EGroupType type) const {
    for (const CRuleGroup& group : groups_) {
        if (group.type == type) {
            return &group;
        }
    }
    return nullptr;
}

const CRuleRecord* CRuleTable::Lookup(EGroupType type, const std::wstring& name) const {
    const CRuleGroup* group = FindGroup(type);
    return group ? group->FirstMatch(name, true) : nullptr;
}

const CRuleRecord& CRuleTable::RecordFor(EGroupType type, const SFieldRow& row) const {
    if (auto it = rowRecords_.find(&row); it != rowRecords_.end()) {
        const CRuleGroup& group = groups_[it->second.group];
        // A row built and dropped by a test may leave its place to another: the name must agree.
        if (group.type == type && it->second.record < group.Records().size()) {
            const CRuleRecord& record = group.Records()[it->second.record];
            if (IsPatternOf(record.Parsed().Pattern(), row.name)) {
                return record;
            }
        }
    }
    return RecordFor(type, row.Pattern());
}

const CRuleRecord& CRuleTable::RecordFor(EGroupType type, const std::wstring& namePattern) const {
    const CRuleRecord* record = Lookup(type, namePattern);
    if (!record) {
        throw fieldlist_error(orvik::Format(L"NULL function list: field=%s, field group type id = %d.",
                                            {namePattern, orvik::ToWideSigned(NumberOf(type))}));
    }
    return *record;
}
