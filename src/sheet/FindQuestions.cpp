#include "sheet/FindQuestions.h"

#include "model/ParameterField.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Folded(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) {
        return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    });
    return text;
}

bool Holds(const std::wstring& text, const std::wstring& folded) {
    return Folded(text).find(folded) != std::wstring::npos;
}

} // namespace

std::wstring QuestionName(const CParameterField& field) {
    std::wstring name = field.GetPrintableName();
    if (!name.empty() && name.front() == L'$') {
        name.erase(0, 1);
    }
    return name;
}

std::wstring QuestionHelp(const CPageSuper& page, const CParameterField& field) {
    const std::vector<SFieldRow>& rows = page.Row().fields;
    for (std::size_t i = 0; i < page.Fields().Size() && i < rows.size(); ++i) {
        if (page.Fields().At(i) == &field) {
            return rows[i].help;
        }
    }
    return {};
}

std::vector<SQuestionMatch> FindQuestions(const CMarnelPropertySheet& sheet, const std::wstring& text) {
    std::vector<SQuestionMatch> matches;
    const std::wstring folded = Folded(text);
    if (folded.empty()) {
        return matches;
    }
    for (const auto& page : sheet.Pages()) {
        const bool present = sheet.HasTab(page->Id());
        for (CParameterField* field : page->Fields()) {
            if (Holds(QuestionName(*field), folded) || Holds(QuestionHelp(*page, *field), folded)) {
                matches.push_back(SQuestionMatch{page->Id(), field, present && field->IsAvailable()});
            }
        }
    }
    return matches;
}
