#include "model/FieldValues.h"

#include "model/FieldKinds.h"
#include "model/Predicates.h"
#include "text/Text.h"

long long DecimalOf(const CParameterField* field) {
    if (!field) {
        return -1;
    }
    const std::wstring text = field->Value();
    std::uint32_t n = 0;
    if (!orvik::IsDecimalDigits(text) || !TryTextToUnsigned(text, n)) {
        return -1;
    }
    return n;
}

bool HexOf(const CParameterField* field, std::uint32_t& out) {
    if (!field) {
        return false;
    }
    const std::wstring text = field->Value();
    if (text.empty() || text.size() > 8) {
        return false;
    }
    std::uint32_t value = 0;
    for (wchar_t c : text) {
        const wchar_t lower = orvik::ToLowerAscii(c);
        std::uint32_t digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<std::uint32_t>(c - L'0');
        } else if (lower >= L'a' && lower <= L'f') {
            digit = static_cast<std::uint32_t>(lower - L'a' + 10);
        } else {
            return false;
        }
        value = value * 16 + digit;
    }
    out = value;
    return true;
}

int ChoiceOf(const CParameterField* field) {
    const auto* choice = FieldAs<const CPulldownListField>(field);
    return choice ? choice->GetIntValue() : -1;
}

static_assert(IsYes(YN_YES) && IsNo(YN_NO) && !IsYes(YN_NO) && !IsNo(YN_YES));

bool IsYes(const CParameterField* field) {
    return IsYes(ChoiceOf(field));
}

bool IsNo(const CParameterField* field) {
    return IsNo(ChoiceOf(field));
}
