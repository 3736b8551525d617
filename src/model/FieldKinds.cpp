#include "model/FieldKinds.h"

#include "model/WndWrapper.h"
#include "text/Text.h"

#include <climits>
#include <stdexcept>

using orvik::Format;
using orvik::ToWide;

namespace {

enum class EReadNumber { NotANumber, Beyond64Bits, Read };

// "YES", "NO" (either case), or a number read as the C library's strtoull reads it: blanks, a
// sign, digits of `radix` (after an optional 0x when it is 16) up to the first character that is
// not one, a minus taking the value from 2 to the 64th. Read here by hand, without a copy, because
// the libraries of different systems disagree at the edges ("0xg" is 0 on one, no number on
// another) and a file must mean the same on every system.
EReadNumber ReadNumber(std::wstring_view text, std::uint64_t& out) {
    // The radix is decided by the second character of the whole text, blanks and signs included.
    const bool hex = text.size() >= 3 && (text[1] == L'x' || text[1] == L'X');
    const unsigned radix = hex ? 16 : 10;
    std::size_t i = 0;
    bool negative = false;
    // Nearly every answer starts with its first digit: only the others are words, blanks or signs.
    if (!text.empty() && (text[0] < L'0' || text[0] > L'9')) {
        if (orvik::EqualsIgnoreCase(text, L"YES") || orvik::EqualsIgnoreCase(text, L"NO")) {
            out = text.size() == 3 ? 1 : 0;
            return EReadNumber::Read;
        }
        while (i < text.size() && orvik::IsBlank(text[i])) {
            ++i;
        }
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
            negative = text[i] == L'-';
            ++i;
        }
    }
    const auto digitAt = [&](std::size_t at) -> int {
        if (at >= text.size()) {
            return -1;
        }
        const wchar_t c = orvik::ToLowerAscii(text[at]);
        if (c >= L'0' && c <= L'9') {
            return c - L'0';
        }
        return radix == 16 && c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
    };
    // The 0x counts only when a digit follows it; otherwise the 0 alone is the number.
    if (hex && digitAt(i) == 0 && i + 1 < text.size() && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        digitAt(i + 2) >= 0) {
        i += 2;
    }
    if (digitAt(i) < 0) {
        return EReadNumber::NotANumber;
    }
    std::uint64_t value = 0;
    bool beyond = false;
    for (int digit = digitAt(i); digit >= 0; digit = digitAt(++i)) {
        if (value > (UINT64_MAX - static_cast<unsigned>(digit)) / radix) {
            beyond = true;
        }
        value = value * radix + static_cast<unsigned>(digit);
    }
    if (beyond) {
        return EReadNumber::Beyond64Bits;
    }
    out = negative ? 0 - value : value;
    return EReadNumber::Read;
}

} // namespace

std::uint32_t TextToUnsigned(const std::wstring& text) {
    std::uint64_t value = 0;
    switch (ReadNumber(text, value)) {
    case EReadNumber::NotANumber:
        throw std::invalid_argument("not a number");
    case EReadNumber::Beyond64Bits:
        throw std::out_of_range("beyond 64 bits");
    case EReadNumber::Read:
        break;
    }
    return static_cast<std::uint32_t>(value);
}

bool TryTextToUnsigned(const std::wstring& text, std::uint32_t& out) {
    std::uint64_t value = 0;
    if (ReadNumber(text, value) != EReadNumber::Read || value > UINT32_MAX) {
        return false;
    }
    out = static_cast<std::uint32_t>(value);
    return true;
}

namespace {

// A decimal text read as an unsigned 64-bit number; false when it has anything but digits or
// does not fit.
bool ParseDecimal64(const std::wstring& text, unsigned long long& out) {
    if (!orvik::IsDecimalDigits(text)) {
        return false;
    }
    unsigned long long value = 0;
    for (wchar_t c : text) {
        const unsigned digit = static_cast<unsigned>(c - L'0');
        if (value > (ULLONG_MAX - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    out = value;
    return true;
}

// Decimal digits of any length times a factor, without leading zeros.
std::wstring MultiplyDecimal(const std::wstring& digits, unsigned factor) {
    std::wstring product;
    product.reserve(digits.size() + 10);
    unsigned long long carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        carry += static_cast<unsigned long long>(*it - L'0') * factor;
        product.push_back(static_cast<wchar_t>(L'0' + carry % 10));
        carry /= 10;
    }
    for (; carry != 0; carry /= 10) {
        product.push_back(static_cast<wchar_t>(L'0' + carry % 10));
    }
    while (product.size() > 1 && product.back() == L'0') {
        product.pop_back();
    }
    return {product.rbegin(), product.rend()};
}

// Decimal digits of any length divided by a divisor (rounded down), without leading zeros.
std::wstring DivideDecimal(const std::wstring& digits, unsigned divisor) {
    std::wstring quotient;
    quotient.reserve(digits.size());
    unsigned long long remainder = 0;
    for (wchar_t c : digits) {
        remainder = remainder * 10 + static_cast<unsigned>(c - L'0');
        const unsigned long long q = remainder / divisor;
        remainder %= divisor;
        if (q != 0 || !quotient.empty()) {
            quotient.push_back(static_cast<wchar_t>(L'0' + q));
        }
    }
    return quotient.empty() ? std::wstring(L"0") : quotient;
}

} // namespace

// ---- CEditField ----

CEditField::CEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule, const wchar_t* note,
                       EGroupType groupType)
    : CParameterField(host, group, rule, groupType), note_(note ? note : L"") {}

void CEditField::GetOutputLine(std::wstring& out) const {
    const std::wstring& pattern = NamePattern();
    out.clear();
    AppendPrintableName(out);
    out += L": ";
    if (pattern.size() > 3 && pattern.compare(0, 3, L"^\\$") == 0) {
        out += L'"';
        out += WrittenValue();
        out += L'"';
    } else {
        out += Value();
    }
}

bool CEditField::IsValid() const {
    return !Value().empty();
}

CEditField::CEditField(const CEditField& source, SCloneTag tag) : CParameterField(source, tag) {}

void CEditField::ResetFrom(const CParameterField& blank) {
    CParameterField::ResetFrom(blank);
    // A clone has no note and builds its prompt when asked.
    note_.clear();
    prompt_.clear();
    promptStale_ = false;
}

std::unique_ptr<CParameterField> CEditField::Clone() const {
    return std::unique_ptr<CParameterField>(new CEditField(*this, SCloneTag{}));
}

bool CEditField::TextHasOnlyDigits(const std::wstring& text, unsigned radix) {
    if (text.empty()) {
        return false;
    }
    for (wchar_t c : text) {
        const wchar_t lower = orvik::ToLowerAscii(c);
        bool digit = false;
        if (radix <= 10) {
            digit = c >= L'0' && c < static_cast<wchar_t>(L'0' + radix);
        } else {
            digit = (c >= L'0' && c <= L'9') ||
                    (lower >= L'a' && lower < static_cast<wchar_t>(L'a' + (radix - 10)));
        }
        if (!digit) {
            return false;
        }
    }
    return true;
}

bool CEditField::HasOnlyDigits() const {
    return TextHasOnlyDigits(Value(), 10);
}

const std::wstring& CEditField::Prompt() const {
    if (promptStale_) {
        prompt_ = BuildPrompt();
        promptStale_ = false;
    }
    return prompt_;
}

std::wstring CEditField::BuildPrompt() const {
    return note_;
}

// ---- CDigitStringEditField ----

CDigitStringEditField::CDigitStringEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                                             unsigned digitCount, unsigned radix, const wchar_t* note,
                                             EGroupType groupType)
    : CEditField(host, group, rule, note, groupType), digitCount_(digitCount),
      radix_(static_cast<std::uint8_t>(radix)) {
    UpdatePrompt();
}

void CDigitStringEditField::GetOutputLine(std::wstring& out) const {
    out.clear();
    AppendPrintableName(out);
    out += L": ";
    if (radix_ == 16) {
        out += L"0x";
    }
    out += Value();
}

void CDigitStringEditField::SetIntValue(int value) {
    SetValue(orvik::ToWideSigned(value));
}

bool CDigitStringEditField::IsValid() const {
    return Value().size() == digitCount_;
}

CDigitStringEditField::CDigitStringEditField(const CDigitStringEditField& source, SCloneTag tag)
    : CEditField(source, tag), digitCount_(source.digitCount_), radix_(source.radix_) {
    UpdatePrompt();
}

void CDigitStringEditField::ResetFrom(const CParameterField& blank) {
    CEditField::ResetFrom(blank);
    const auto& source = static_cast<const CDigitStringEditField&>(blank);
    digitCount_ = source.digitCount_;
    radix_ = source.radix_;
    UpdatePrompt();
}

std::unique_ptr<CParameterField> CDigitStringEditField::Clone() const {
    return std::unique_ptr<CParameterField>(new CDigitStringEditField(*this, SCloneTag{}));
}

bool CDigitStringEditField::HasOnlyDigits() const {
    return TextHasOnlyDigits(Value(), radix_);
}

std::wstring CDigitStringEditField::BuildPrompt() const {
    std::wstring radixName;
    if (radix_ == 10) {
        radixName = L"decimal";
    } else if (radix_ == 16) {
        radixName = L"hex";
    } else {
        radixName = Format(L"base %u", {ToWide(radix_)});
    }
    return Format(
        L"Enter precisely %u %s digit%s.%s%s",
        {ToWide(digitCount_), radixName, digitCount_ == 1 ? L"" : L"s", Note().empty() ? L"" : L" ", Note()});
}

std::wstring CDigitStringEditField::SummaryText(const CDigitStringEditField* field) {
    if (!field) {
        return L"--";
    }
    return Format(L"%s%s", {field->radix_ == 16 ? L"0x" : L"", field->Value()});
}

// ---- CNumEditField ----

CNumEditField::CNumEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                             unsigned long long minimum, unsigned long long maximum, unsigned scale,
                             std::wstring units, const wchar_t* note, EGroupType groupType)
    : CEditField(host, group, rule, note, groupType), minimum_(minimum), maximum_(maximum), scale_(scale),
      units_(std::move(units)) {
    UpdatePrompt();
}

bool CNumEditField::IsValueInRange(const std::wstring& text) const {
    unsigned long long n = 0;
    if (!ParseDecimal64(text, n)) {
        return false;
    }
    if (minimum_ != 0 && n < minimum_) {
        return false;
    }
    return n <= maximum_;
}

bool CNumEditField::FileUnits(std::uint32_t& units) const {
    if (!IsValueInRange(Value())) {
        return false;
    }
    unsigned long long n = 0;
    ParseDecimal64(Value(), n);
    const auto n32 = static_cast<std::uint32_t>(n);
    units = n32 / (scale_ == 0 ? 1 : scale_);
    return true;
}

void CNumEditField::GetOutputLine(std::wstring& out) const {
    out.clear();
    AppendPrintableName(out);
    out += L": ";
    std::uint32_t units = 0;
    if (Value().empty()) {
        out += L"<Invalid>";
    } else if (FileUnits(units)) {
        orvik::AppendWide(out, units);
    } else if (orvik::IsDecimalDigits(Value())) {
        // Out of range, but a number: the file still counts in its own units, so that loading it
        // brings back the same value.
        out += DivideDecimal(Value(), scale_ == 0 ? 1 : scale_);
    } else {
        out += Value();
    }
}

void CNumEditField::AppendComment(std::wstring& line) const {
    std::uint32_t units = 0;
    if (FileUnits(units)) {
        const unsigned long long shown = static_cast<unsigned long long>(scale_) * units;
        line += L"        ; (";
        orvik::AppendWide(line, shown);
        line += L' ';
        line += units_;
        line += L')';
    } else {
        line += L"        ; <Invalid> ";
        line += units_;
    }
}

void CNumEditField::SetIntValue(int value) {
    SetValue(orvik::ToWideSigned(value));
}

bool CNumEditField::IsValid() const {
    return IsValueInRange(Value());
}

std::wstring CNumEditField::UserValueOf(const std::wstring& fileValue) const {
    std::uint32_t d = 0;
    if (TryTextToUnsigned(fileValue, d)) {
        return ToWide(static_cast<unsigned long long>(d) * scale_);
    }
    if (orvik::IsDecimalDigits(fileValue)) {
        // Too large for any range, but still a count of file units.
        return MultiplyDecimal(fileValue, scale_);
    }
    if (TextHasOnlyDigits(fileValue, 16)) {
        // Hexadecimal digits reach the field without the "0x" they had in the file.
        return L"0x" + fileValue;
    }
    return fileValue;
}

void CNumEditField::RestoreFileValue() {
    const std::wstring& fileValue = FileEntryValue();
    if (fileValue.empty()) {
        return;
    }
    SetValue(UserValueOf(fileValue));
}

void CNumEditField::CopyFrom(const CParameterField& other) {
    CParameterField::CopyFrom(other);
    if (const CNumEditField* num = FieldAs<const CNumEditField>(&other)) {
        // The prompt keeps telling the range it was last made for.
        if (num->minimum_ != minimum_ || num->maximum_ != maximum_) {
            Prompt();
        }
        scale_ = num->scale_;
        units_ = num->units_;
        minimum_ = num->minimum_;
        maximum_ = num->maximum_;
    }
}

CNumEditField::CNumEditField(const CNumEditField& source, SCloneTag tag)
    : CEditField(source, tag), minimum_(source.minimum_), maximum_(source.maximum_), scale_(source.scale_),
      units_(source.units_) {
    UpdatePrompt();
}

void CNumEditField::ResetFrom(const CParameterField& blank) {
    CEditField::ResetFrom(blank);
    const auto& source = static_cast<const CNumEditField&>(blank);
    minimum_ = source.minimum_;
    maximum_ = source.maximum_;
    scale_ = source.scale_;
    units_ = source.units_;
    UpdatePrompt();
}

std::unique_ptr<CParameterField> CNumEditField::Clone() const {
    return std::unique_ptr<CParameterField>(new CNumEditField(*this, SCloneTag{}));
}

std::wstring CNumEditField::BuildPrompt() const {
    return Format(L"Enter a number in the range %llu through %llu.%s%s",
                  {ToWide(minimum_), ToWide(maximum_), Note().empty() ? L"" : L" ", Note()});
}

void CNumEditField::SetScaleAndUnits(unsigned scale, std::wstring units) {
    scale_ = scale;
    units_ = std::move(units);
    SetWriteComment(true);
}

void CNumEditField::SetRangeAndScale(int minimum, int maximum, unsigned scale, bool rescale) {
    minimum_ = static_cast<unsigned long long>(static_cast<long long>(minimum));
    UpdatePrompt();
    maximum_ = static_cast<unsigned long long>(static_cast<long long>(maximum));
    UpdatePrompt();

    const unsigned oldScale = scale_;
    scale_ = scale;
    unsigned long long v = 0;
    if (rescale && !Value().empty() && oldScale != 0 && oldScale != scale && ParseDecimal64(Value(), v)) {
        const auto steps = static_cast<std::uint32_t>(v) / oldScale;
        SetValue(ToWide(static_cast<std::uint32_t>(scale * steps)));
    }
}

std::wstring CNumEditField::SummaryText(const CNumEditField* field) {
    if (!field) {
        return L"--";
    }
    if (field->HasOnlyDigits()) {
        std::uint32_t n = 0;
        if (TryTextToUnsigned(field->Value(), n)) {
            const unsigned scale = field->scale_ == 0 ? 1 : field->scale_;
            return Format(L"%u%s", {ToWide(n - n % scale), field->units_});
        }
    }
    return Format(L"%s%s", {field->Value(), field->units_});
}
