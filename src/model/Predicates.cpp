#include "model/Predicates.h"
#include "model/FieldNames.h"

#include "text/Text.h"

const wchar_t* const kOrvikProductTypeName = fieldname::kOrvikProductType;
const wchar_t* const kConnectorTypeName = fieldname::kConnectorType;
const wchar_t* const kPDPortTypeName = fieldname::kPdPortType;

int ParentIntValue(const CParameterField* field, const wchar_t* parentName) {
    if (!field) {
        return -1;
    }
    // Compared in place: this runs for every parent test of every re-evaluation.
    const std::wstring_view name(parentName);
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
