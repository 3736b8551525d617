#pragma once

#include "model/ParameterField.h"

#include <string>
#include <vector>

class CNamePattern;

// When a field is asked, when its answer is acceptable, what happens when it becomes available and
// on every full refresh of the form. `reads` names the fields its conditions and actions look at:
// they become the field's parents.
struct CRuleRecord {
    std::wstring namePattern;
    FieldPredicate availability;
    FieldPredicate validity;
    FieldAction onAvailable;
    FieldAction refresh;
    std::vector<std::wstring> reads;
    // The pattern parsed once, when the record joins a table.
    const CNamePattern* parsedPattern = nullptr;

    const CNamePattern& Parsed() const;
};

// Where a field finds its rule record when it is made: by group type id and name pattern. The form's
// rule table installs itself as the source when it is first used.
class IRuleSource {
public:
    virtual ~IRuleSource() = default;
    // Null when the group type or the record does not exist.
    virtual const CRuleRecord* FindRule(int groupTypeId, const std::wstring& namePattern) = 0;
};

void SetRuleSource(IRuleSource* source);
IRuleSource* CurrentRuleSource();
