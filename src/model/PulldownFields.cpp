#include "model/FieldKinds.h"

#include "text/Text.h"

// ---- CPulldownListField ----

namespace {

const std::shared_ptr<const COptionList>& NoOptions() {
    static const std::shared_ptr<const COptionList> options = std::make_shared<const COptionList>();
    return options;
}

} // namespace

CPulldownListField::CPulldownListField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                                       EGroupType groupType)
    : CParameterField(host, group, rule, groupType), options_(NoOptions()) {
    SetWriteComment(true);
}

int CPulldownListField::IntValueOf(const std::wstring& text) const {
    if (!orvik::IsDecimalDigits(text)) {
        return -1;
    }
    unsigned long long n = 0;
    for (wchar_t c : text) {
        n = n * 10 + static_cast<unsigned long long>(c - L'0');
        if (n > static_cast<unsigned long long>(INT_MAX)) {
            return -1;
        }
    }
    return static_cast<int>(n);
}

int CPulldownListField::GetIntValue() const {
    return IntValueOf(Value());
}

bool CPulldownListField::HasOption(int id) const {
    for (const COption& o : *options_) {
        if (o.first == id) {
            return true;
        }
    }
    return false;
}

bool CPulldownListField::IsValid() const {
    const int id = IntValueOf(Value());
    return id != -1 && HasOption(id);
}

const COption* CPulldownListField::CurrentOption() const {
    std::uint32_t n = 0;
    if (Value().empty() || !TryTextToUnsigned(Value(), n)) {
        return nullptr;
    }
    for (const COption& o : *options_) {
        if (static_cast<std::uint32_t>(o.first) == n) {
            return &o;
        }
    }
    return nullptr;
}

COption CPulldownListField::GetCurrentOption() const {
    const COption* option = CurrentOption();
    return option ? *option : COption(-1, std::wstring());
}

void CPulldownListField::AppendComment(std::wstring& line) const {
    if (Value().empty()) {
        return;
    }
    line += L"        ; ";
    if (const COption* option = CurrentOption()) {
        line += option->second;
    }
}

void CPulldownListField::SetIntValue(int value) {
    SetValue(orvik::ToWideSigned(value));
}

void CPulldownListField::CopyFrom(const CParameterField& other) {
    CParameterField::CopyFrom(other);
    if (const CPulldownListField* list = FieldAs<const CPulldownListField>(&other)) {
        options_ = list->options_;
    }
}

CPulldownListField::CPulldownListField(const CPulldownListField& source, SCloneTag tag)
    : CParameterField(source, tag), options_(NoOptions()) {
    SetWriteComment(true);
}

void CPulldownListField::ResetFrom(const CParameterField& blank) {
    CParameterField::ResetFrom(blank);
    options_ = NoOptions();
    SetWriteComment(true);
}

std::unique_ptr<CParameterField> CPulldownListField::Clone() const {
    return std::unique_ptr<CParameterField>(new CPulldownListField(*this, SCloneTag{}));
}

void CPulldownListField::SetOptions(const COptionList& options) {
    // Most re-evaluations offer the very choices the list already has.
    if (options_ && *options_ == options) {
        return;
    }
    SetSharedOptions(std::make_shared<const COptionList>(options));
}

void CPulldownListField::SetSharedOptions(std::shared_ptr<const COptionList> options) {
    options_ = std::move(options);
}

void CPulldownListField::SetYesNo(int yesNo) {
    SetValue(yesNo == 0 ? L"YES" : yesNo == 1 ? L"NO" : L"");
}

std::wstring CPulldownListField::SummaryText(const CPulldownListField* field) {
    if (!field) {
        return L"<Unknown>";
    }
    return field->GetCurrentOption().second;
}

// ---- CYesNoPulldownListField ----

namespace {

const std::shared_ptr<const COptionList>& YesNoOptions() {
    static const std::shared_ptr<const COptionList> options =
        std::make_shared<const COptionList>(COptionList{{1, L"YES"}, {0, L"NO"}});
    return options;
}

} // namespace

CYesNoPulldownListField::CYesNoPulldownListField(CWndWrapper* host, CFieldGroup* group,
                                                 const CRuleRecord& rule, EGroupType groupType)
    : CPulldownListField(host, group, rule, groupType) {
    SetWriteComment(false);
    SetSharedOptions(YesNoOptions());
}

void CYesNoPulldownListField::SetValue(const std::wstring& text) {
    const std::wstring upper = orvik::ToUpper(text);
    if (upper.empty() || upper == L"YES" || upper == L"NO") {
        CParameterField::SetValue(upper);
        return;
    }
    std::uint32_t n = 0;
    if (!TryTextToUnsigned(upper, n)) {
        // Not a number either: no answer rather than an error escaping from a plain assignment.
        CParameterField::SetValue(std::wstring());
        return;
    }
    CParameterField::SetValue(n == 0 ? L"NO" : n == 1 ? L"YES" : L"");
}

CYesNoPulldownListField::CYesNoPulldownListField(const CYesNoPulldownListField& source, SCloneTag tag)
    : CPulldownListField(source, tag) {
    SetWriteComment(false);
    SetSharedOptions(YesNoOptions());
}

void CYesNoPulldownListField::ResetFrom(const CParameterField& blank) {
    CPulldownListField::ResetFrom(blank);
    SetWriteComment(false);
    SetSharedOptions(YesNoOptions());
}

std::unique_ptr<CParameterField> CYesNoPulldownListField::Clone() const {
    return std::unique_ptr<CParameterField>(new CYesNoPulldownListField(*this, SCloneTag{}));
}

int CYesNoPulldownListField::IntValueOf(const std::wstring& text) const {
    // Every parent test of every evaluation reads a YES or NO: the lengths decide most of it.
    constexpr std::wstring_view kYes = L"YES";
    constexpr std::wstring_view kNo = L"NO";
    if (text.size() == kYes.size() && orvik::EqualsIgnoreCase(text, kYes)) {
        return 0;
    }
    if (text.size() == kNo.size() && orvik::EqualsIgnoreCase(text, kNo)) {
        return 1;
    }
    return -1;
}

int CYesNoPulldownListField::GetIntValue() const {
    return IntValueOf(Value());
}
