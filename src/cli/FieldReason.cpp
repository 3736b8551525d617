#include "cli/FieldReason.h"

#include "model/FieldKinds.h"
#include "text/Text.h"

using orvik::Format;

std::wstring CFieldReason::Of(const CParameterField& field) {
    const std::wstring text = field.CurrentText();
    if (text.empty()) {
        return L"missing";
    }
    std::wstring reason;
    if (!field.IsValid()) {
        reason = Format(L"invalid value \"%s\"", {text});
    } else {
        // The kind accepts the answer; a rule of the form rejects it, often together with others.
        const auto* edit = dynamic_cast<const CEditField*>(&field);
        if (edit && !edit->Note().empty()) {
            return Format(L"value \"%s\" not accepted (%s)", {text, edit->Note()});
        }
        return Format(L"value \"%s\" not accepted with the other answers", {text});
    }
    const std::wstring accepted = Accepted(field);
    if (!accepted.empty()) {
        reason += L" (" + accepted + L")";
    }
    return reason;
}

std::wstring CFieldReason::Accepted(const CParameterField& field) {
    if (dynamic_cast<const CYesNoPulldownListField*>(&field)) {
        return L"YES or NO";
    }
    if (const auto* list = dynamic_cast<const CPulldownListField*>(&field)) {
        if (list->Options().empty()) {
            return L"no choice applies";
        }
        std::wstring choices = L"choices:";
        for (const COption& option : list->Options()) {
            choices += Format(L" %s %s,", {orvik::ToWideSigned(option.first), option.second});
        }
        choices.pop_back();
        return choices;
    }
    if (const auto* edit = dynamic_cast<const CEditField*>(&field)) {
        return edit->Prompt();
    }
    return std::wstring();
}
