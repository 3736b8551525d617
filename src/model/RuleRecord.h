#pragma once

#include "model/ParameterField.h"

#include <memory>
#include <string>
#include <vector>

class CNamePattern;

// When a field is asked, when its answer is acceptable, what happens when it becomes available and
// on every full refresh of the form. `reads` names the fields its conditions and actions read (each
// says so itself), set when the record joins a table: they become the field's parents.
struct CRuleRecord {
    std::wstring namePattern;
    FieldPredicate availability;
    FieldPredicate validity;
    FieldAction onAvailable;
    FieldAction refresh;
    std::vector<std::wstring> reads = {};
    // The pattern parsed once, when the record joins a table; the fields made from the record share
    // it.
    std::shared_ptr<const CNamePattern> parsedPattern = nullptr;
    // What the program fills in for the answer (the version lines), written in every file it
    // writes; null for the user's answers.
    std::wstring (*filledBy)() = nullptr;
    // What a user's answer does besides re-evaluating: the sibling evaluated first, or null, and
    // whether it marks the change of a cable's product type.
    const wchar_t* evaluatedFirst = nullptr;
    bool marksProductTypeChange = false;

    const CNamePattern& Parsed() const { return *parsedPattern; }
};
