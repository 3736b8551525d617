#pragma once

#include "catalog/RuleTable.h"
#include "model/Errors.h"

#include <string>
#include <utility>

// Rule records for the fields the tests build. They live in the tests' own rule table, a copy of the
// program's with the tests' records added: every pattern starts with Test_ (after its anchors), so
// none shadows a record of the form, and each is added once.
namespace testrules {

// Plain records (always available, valid when the field's kind accepts the answer) in group 1.
inline constexpr const wchar_t* kText = L"^Test_Text$";
inline constexpr const wchar_t* kQuoted = L"^\\$Test_Quoted$";
inline constexpr const wchar_t* kDigits = L"^Test_Digits$";
inline constexpr const wchar_t* kNumber = L"^Test_Number$";
inline constexpr const wchar_t* kChoice = L"^Test_Choice$";
inline constexpr const wchar_t* kYesNo = L"^Test_YesNo$";
inline constexpr const wchar_t* kIndexed = L"^Test_Indexed([0-9]+)$";
// Group 2 (one Source PDO).
inline constexpr const wchar_t* kVolt = L"^Test_Volt([0-9]+)$";
inline constexpr const wchar_t* kPlain = L"^Test_Plain$";
// Group 4 (an SVID) and group 5 (a mode of an SVID).
inline constexpr const wchar_t* kSvidModes = L"^Test_SVID([0-9]+)_num_modes_min_SOP$";
inline constexpr const wchar_t* kModeEnter = L"^Test_SVID([0-9]+)_mode([0-9]+)_enter_SOP$";

// Adds the plain records above; cheap to call from every test.
void RegisterPlainRules();

// The tests' table.
CRuleTable& Table();
// The record a field with exactly this name pattern is made with: the first group's, in table
// order, that holds one; a logic_error when none does.
const CRuleRecord& Rec(const std::wstring& pattern);

// Adds `record` to rule group `type` the first time its pattern is registered for that group and
// returns it; a later call with the same pattern returns the record added first.
const CRuleRecord& Register(EGroupType type, CRuleRecord record);
// A record; the predicates left empty take the table's defaults when it is registered.
inline CRuleRecord Rule(const std::wstring& pattern, FieldPredicate availability = {},
                        FieldPredicate validity = {}, FieldAction onAvailable = {}) {
    CRuleRecord record;
    record.namePattern = pattern;
    record.availability = std::move(availability);
    record.validity = std::move(validity);
    record.onAvailable = std::move(onAvailable);
    return record;
}
inline const CRuleRecord& Register(EGroupType type, const std::wstring& pattern) {
    return Register(type, Rule(pattern));
}

// The message of the fieldlist_error that `call` throws, or "no error".
template <class F> std::wstring ErrorOf(F&& call) {
    try {
        call();
    } catch (const fieldlist_error& e) {
        return e.Message();
    }
    return L"no error";
}

} // namespace testrules
