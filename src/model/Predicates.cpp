#include "model/Predicates.h"
#include "model/FieldNames.h"

#include "text/Text.h"

std::wstring QuestionWords(std::wstring_view pattern) {
    if (!pattern.empty() && pattern.front() == L'^') {
        pattern.remove_prefix(1);
    }
    if (!pattern.empty() && pattern.front() == L'\\') {
        pattern.remove_prefix(1);
    }
    if (!pattern.empty() && pattern.back() == L'$') {
        pattern.remove_suffix(1);
    }
    std::wstring name = L"`";
    constexpr std::wstring_view kInstance = L"([0-9]+)";
    for (std::size_t at = 0; at < pattern.size();) {
        if (pattern.substr(at, kInstance.size()) == kInstance) {
            at += kInstance.size();
        } else {
            name.push_back(pattern[at++]);
        }
    }
    return name + L"`";
}

std::wstring IsWords(const wchar_t* pattern, const std::vector<int>& values, bool yesNo) {
    return QuestionWords(pattern) + L" is " + ChoiceWords(values, yesNo);
}

std::wstring IsNotWords(const wchar_t* pattern, const std::vector<int>& values, bool yesNo) {
    return QuestionWords(pattern) + L" is not " + ChoiceWords(values, yesNo);
}

std::wstring ChoiceWords(const std::vector<int>& values, bool yesNo) {
    std::wstring words;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            words += i + 1 == values.size() ? L" or " : L", ";
        }
        if (yesNo && (values[i] == YN_YES || values[i] == YN_NO)) {
            words += values[i] == YN_YES ? L"YES" : L"NO";
        } else {
            words += orvik::ToWideSigned(values[i]);
        }
    }
    return words;
}

int ParentIntValue(const CParameterField* field, const wchar_t* parentName) {
    return field ? ParentIntValue(field, std::wstring_view(parentName)) : -1;
}

int ParentIntValue(const CParameterField* field, std::wstring_view name) {
    if (!field) {
        return -1;
    }
    // Compared in place: this runs for every parent test of every re-evaluation.
    for (const CParameterField* p : field->Parents()) {
        if (p && p->NamePattern() == name) {
            const CPulldownListField* parent = FieldAs<const CPulldownListField>(p);
            return parent ? parent->GetIntValue() : -1;
        }
    }
    return -1;
}

bool IsParentValidValue::operator()(const CParameterField* field) const {
    RequireField(field);
    const CParameterField* parent = field->FindParent(parentName_);
    if (!parent) {
        throw fieldlist_error(
            orvik::Format(L"Field %s does not have parent %s.", {field->NamePattern(), parentName_}));
    }
    return parent->IsValid();
}
