#pragma once

#include <cstdint>

class CParameterField;

// How rules read another field's answer. All of them look at the text a check looks at (the live
// control's text, else the value) and never throw.

// The answer read as a decimal number; -1 when it is empty or not a number that fits in 32 bits.
long long DecimalOf(const CParameterField* field);
// The answer read as hexadecimal digits (without 0x); false when it is empty, holds anything else or
// does not fit in 32 bits.
bool HexOf(const CParameterField* field, std::uint32_t& out);
// The option id of a pull-down (the EYesNo coding for YES/NO); -1 for a missing field, another kind
// or no valid answer.
int ChoiceOf(const CParameterField* field);

// A YES/NO answer in the EYesNo coding that ChoiceOf and GetIntValue give (YES 0, NO 1). An
// unanswered field is neither YES nor NO.
constexpr bool IsYes(int yesNoChoice) {
    return yesNoChoice == 0;
}
constexpr bool IsNo(int yesNoChoice) {
    return yesNoChoice == 1;
}
bool IsYes(const CParameterField* field);
bool IsNo(const CParameterField* field);
