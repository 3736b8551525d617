#pragma once

#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "model/RuleRecord.h"
#include "text/NameIndex.h"
#include "text/Text.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct SFieldRow;

// Always available; valid when the field's own kind accepts the answer.
bool AlwaysAvailable(const CParameterField* field);
bool DefaultValidity(const CParameterField* field);

// The records of one rule group, in order, with the indexes a lookup goes through. Records are
// added while the table is built; a lookup afterwards changes nothing.
class CRuleGroup {
public:
    EGroupType type = EGroupType::None;
    EGroupType ownerType = EGroupType::None;

    // Appends a record; empty predicates take the defaults.
    CRuleRecord& Add(CRuleRecord record);
    const std::deque<CRuleRecord>& Records() const { return records_; }
    // The first record, in order, whose pattern matches the whole of `name` ignoring case (or,
    // with `exactToo`, equals it exactly); null when none does.
    const CRuleRecord* FirstMatch(const std::wstring& name, bool exactToo) const;
    // The same with the name's keys already made.
    const CRuleRecord* FirstMatch(const std::wstring& name, const SNameKeys& keys, bool exactToo) const;
    // The first record before `best` whose pattern needs matching one by one (neither literal nor
    // keyed) and matches `name`; otherwise the record at `best`, null when that is past the end.
    const CRuleRecord* FirstPatternMatch(const std::wstring& name, std::size_t best) const;

private:
    // A deque: fields keep pointers to their records.
    std::deque<CRuleRecord> records_;
    // Looking names up record by record is too slow for the loader: each name, literal name and
    // key maps to the first record that has it. The names are views of the records' parsed
    // patterns, which every copy of a record shares, so a copied group's index stays good.
    using CNameIndex = orvik::CNameIndex;
    CNameIndex exactIndex_;
    CNameIndex literalIndex_;
    CNameIndex keyIndex_;
    std::vector<std::size_t> patternRecords_;
};

// The rule records of a form in seven groups: page fields, then Source PDO, Sink PDO, SOP SVID, SOP
// SVID mode, cable SVID and cable SVID mode. A form is handed its table; the program's own is built
// once and never changes (ProgramRules), and a test copies it to add records of its own.
class CRuleTable {
public:
    // The program's records.
    static CRuleTable WithProgramRules();

    // Adds a record to group `type`; a logic_error when the table has no such group.
    const CRuleRecord& Add(EGroupType type, CRuleRecord record);

    const std::deque<CRuleGroup>& Groups() const { return groups_; }
    const CRuleGroup* FindGroup(EGroupType type) const;
    // The first record of the group, in table order, whose pattern equals `name` exactly or, used
    // as a case-insensitive regular expression, matches the whole of `name`. Null when the group or
    // the record does not exist.
    const CRuleRecord* Lookup(EGroupType type, const std::wstring& name) const;
    // The record a field with this name pattern in group `type` is made with; a fieldlist_error
    // "NULL function list: ..." when there is none.
    const CRuleRecord& RecordFor(EGroupType type, const std::wstring& namePattern) const;
    // The record a field made from catalog row `row` in group `type` is made with: the one made
    // from that row, found by the row's place, else RecordFor the row's pattern.
    const CRuleRecord& RecordFor(EGroupType type, const SFieldRow& row) const;
    // The first record of the first repeated item's group (a PDO's, an SVID's, a mode's), in table
    // order, whose pattern matches the whole of `name` ignoring case; null when none does. The page
    // fields' own group is not asked: a page field's name is looked up among the page fields.
    const CRuleRecord* FirstItemMatch(const std::wstring& name, const CRuleGroup*& group) const;
    // The same with the name's keys already made.
    const CRuleRecord* FirstItemMatch(const std::wstring& name, const SNameKeys& keys,
                                      const CRuleGroup*& group) const;

private:
    CRuleGroup& AddGroup(EGroupType type, EGroupType ownerType);
    // The records of the rows of a catalog table, in the table's order, added to the last group.
    void AddRows(const std::vector<SFieldRow>& rows);
    void IndexAcrossGroups(std::size_t groupPosition, std::size_t recordIndex);

    std::deque<CRuleGroup> groups_;

    // FirstItemMatch looks a name up once for all the items' groups: for each literal name (upper case) and
    // each key, the first record of every group that has one, in group order.
    struct SGroupRecord {
        std::size_t group;
        std::size_t record;
    };
    // Keyed by views of the records' parsed patterns, as a group's own index is.
    using CGroupIndex =
        std::unordered_map<std::wstring_view, std::vector<SGroupRecord>, orvik::SNameHash, std::equal_to<>>;
    CGroupIndex groupLiteralIndex_;
    CGroupIndex groupKeyIndex_;
    // Where the record made from each catalog row is: every field the catalog makes asks, so its
    // record is found without making and looking up its pattern. Positions, not pointers, so a
    // copied table finds its own records.
    std::unordered_map<const SFieldRow*, SGroupRecord> rowRecords_;
};

// The program's rule table, built on first use and shared, unchanged, by every form.
std::shared_ptr<const CRuleTable> ProgramRules();
