#include "model/Predicates.h"
#include "model/FieldNames.h"

#include "text/Text.h"

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
            const CPulldownListField* parent = p->AsPulldownList();
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
