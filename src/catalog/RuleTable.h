#pragma once

#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "model/RuleRecord.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

// Always available; valid when the field's own kind accepts the answer.
bool AlwaysAvailable(const CParameterField* field);
bool DefaultValidity(const CParameterField* field);

struct CRuleGroup {
    int typeId = 0;
    int ownerTypeId = 0;
    // A deque: fields keep pointers to their records.
    std::deque<CRuleRecord> records;

    // Appends a record; empty predicates take the defaults.
    CRuleRecord& Add(CRuleRecord record);
    // The first record, in order, whose pattern matches the whole of `name` ignoring case (or,
    // with `exactToo`, equals it exactly); null when none does.
    const CRuleRecord* FirstMatch(const std::wstring& name, bool exactToo) const;
    // The same with the name's keys (CNamePattern::KeysOf) already made.
    const CRuleRecord* FirstMatch(const std::wstring& name, const std::wstring& upper,
                                  const std::wstring& key, bool exactToo) const;
    // The first record before `best` whose pattern needs matching one by one (neither literal nor
    // keyed) and matches `name`; otherwise the record at `best`, null when that is past the end.
    const CRuleRecord* FirstPatternMatch(const std::wstring& name, std::size_t best) const;

    // Changes with every record added to any group, so that indexes over several groups know when
    // they are stale.
    static std::size_t Generation();

private:
    void BuildIndex() const;

    // Looking names up record by record is too slow for the loader: an index, built on demand.
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::wstring, std::size_t> exactIndex_;
    mutable std::unordered_map<std::wstring, std::size_t> literalIndex_;
    mutable std::unordered_map<std::wstring, std::size_t> keyIndex_;
    mutable std::vector<std::size_t> patternRecords_;
};

// Every rule record of the program, in seven groups: page fields, then Source PDO, Sink PDO, SOP
// SVID, SOP SVID mode, cable SVID and cable SVID mode. Built once, read-only afterwards.
class CRuleTable : public IRuleSource {
public:
    static CRuleTable& Instance();
    ~CRuleTable() override;

    // Runs the record definitions once; later calls return at once.
    void Build();
    // The first record of the group, in table order, whose pattern equals `name` exactly or, used
    // as a case-insensitive regular expression, matches the whole of `name`. Null when the group or
    // the record does not exist.
    const CRuleRecord* Lookup(int typeId, const std::wstring& name);
    const std::deque<CRuleGroup>& Groups();
    // The first record of the first group, in table order, whose pattern matches the whole of
    // `name` ignoring case; null when none does.
    const CRuleRecord* FirstGroupMatch(const std::wstring& name, const CRuleGroup*& group);
    CRuleGroup* FindGroup(int typeId);
    const CRuleRecord* FindRule(int groupTypeId, const std::wstring& namePattern) override;

private:
    CRuleTable();
    void BuildGroupIndex();

    bool built_ = false;
    std::deque<CRuleGroup> groups_;

    // FirstGroupMatch looks a name up once for all groups: for each literal name (upper case) and
    // each key, the first record of every group that has one, in group order.
    struct SGroupRecord {
        std::size_t group;
        std::size_t record;
    };
    std::size_t groupIndexGeneration_ = 0;
    bool groupIndexed_ = false;
    std::unordered_map<std::wstring, std::vector<SGroupRecord>> groupLiteralIndex_;
    std::unordered_map<std::wstring, std::vector<SGroupRecord>> groupKeyIndex_;
};

const CRuleRecord* LookupRuleRecord(int typeId, const std::wstring& name);

// Record definitions, one function per rule group, in the table's order.
void AddPageFieldRules(CRuleGroup& group);
void AddSourcePdoRules(CRuleGroup& group);
void AddSinkPdoRules(CRuleGroup& group);
void AddSopSvidRules(CRuleGroup& group);
void AddSopModeRules(CRuleGroup& group);
void AddCableSvidRules(CRuleGroup& group);
void AddCableModeRules(CRuleGroup& group);
