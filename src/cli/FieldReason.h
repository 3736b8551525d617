#pragma once

#include <string>

class CParameterField;

// Why an available field fails its check, in a few words for the check report.
class CFieldReason {
public:
    static std::wstring Of(const CParameterField& field);

private:
    // What the field accepts: its prompt, its choices, or nothing to add.
    static std::wstring Accepted(const CParameterField& field);
};
