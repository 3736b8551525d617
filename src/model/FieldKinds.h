#pragma once

#include "model/Errors.h"
#include "model/ParameterField.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// The single text-to-number conversion for option ids and file values: "NO" is 0, "YES" is 1, text
// whose second character is x or X is hexadecimal, anything else decimal; truncated to 32 bits.
// Throws std::invalid_argument for text that is not a number and std::out_of_range past 64 bits.
std::uint32_t TextToUnsigned(const std::wstring& text);
// The same conversion without exceptions; false for text that is not a number or does not fit in
// 32 bits (a value that came from a file can be either).
bool TryTextToUnsigned(const std::wstring& text, std::uint32_t& out);

// Free text; a field whose name starts with $ writes its value in double quotes.
class CEditField : public CParameterField {
public:
    static constexpr unsigned kKind = 1u << 0;
    static constexpr unsigned kKinds = kKind;

    CEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule, const wchar_t* note = nullptr,
               EGroupType groupType = EGroupType::None);

    void GetOutputLine(std::wstring& out) const override;
    bool IsValid() const override;
    std::unique_ptr<CParameterField> Clone() const override;
    unsigned Kinds() const override { return kKinds; }

    virtual bool HasOnlyDigits() const;
    void ResetFrom(const CParameterField& blank) override;
    // The prompt is built when first read after a change: most fields, and every group copy, are
    // never asked for theirs.
    void UpdatePrompt() { promptStale_ = true; }

    const std::wstring& Prompt() const;
    const std::wstring& Note() const { return note_; }

protected:
    // Clone's copy: the identity, without the note.
    CEditField(const CEditField& source, SCloneTag);
    // True for a non-empty text of digits of the radix (letters in either case above 10).
    static bool TextHasOnlyDigits(const std::wstring& text, unsigned radix);
    virtual std::wstring BuildPrompt() const;

private:
    mutable std::wstring prompt_;
    mutable bool promptStale_ = false;
    std::wstring note_;
};

// A fixed number of digits of one radix, such as a 4-digit hexadecimal vendor ID.
class CDigitStringEditField : public CEditField {
public:
    static constexpr unsigned kKind = 1u << 1;
    static constexpr unsigned kKinds = CEditField::kKinds | kKind;

    CDigitStringEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule, unsigned digitCount,
                          unsigned radix, const wchar_t* note = nullptr,
                          EGroupType groupType = EGroupType::None);

    void GetOutputLine(std::wstring& out) const override;
    void SetIntValue(int value) override;
    bool IsValid() const override;
    std::unique_ptr<CParameterField> Clone() const override;
    unsigned Kinds() const override { return kKinds; }
    void ResetFrom(const CParameterField& blank) override;
    bool HasOnlyDigits() const override;

    unsigned DigitCount() const { return digitCount_; }
    unsigned Radix() const { return radix_; }
    // "0x04B4" for a hexadecimal field, "--" when the field is missing.
    static std::wstring SummaryText(const CDigitStringEditField* field);

protected:
    std::wstring BuildPrompt() const override;

private:
    CDigitStringEditField(const CDigitStringEditField& source, SCloneTag);

    unsigned digitCount_;
    std::uint8_t radix_;
};

// An unsigned number with a range, typed in user units; the file holds value / scale.
class CNumEditField : public CEditField {
public:
    static constexpr unsigned kKind = 1u << 2;
    static constexpr unsigned kKinds = CEditField::kKinds | kKind;

    CNumEditField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule, unsigned long long minimum,
                  unsigned long long maximum, unsigned scale, std::wstring units,
                  const wchar_t* note = nullptr, EGroupType groupType = EGroupType::None);

    void GetOutputLine(std::wstring& out) const override;
    void AppendComment(std::wstring& line) const override;
    void SetIntValue(int value) override;
    bool IsValid() const override;
    void RestoreFileValue() override;
    void CopyFrom(const CParameterField& other) override;
    std::unique_ptr<CParameterField> Clone() const override;
    unsigned Kinds() const override { return kKinds; }
    void ResetFrom(const CParameterField& blank) override;

    bool IsValueInRange(const std::wstring& text) const;
    // The value, in user units, that a file entry's value text (in file units) stands for; text
    // that is no number is kept so that it is written back as the file held it.
    std::wstring UserValueOf(const std::wstring& fileValue) const;
    void SetScaleAndUnits(unsigned scale, std::wstring units);
    // Minimum and maximum come as signed 32-bit numbers and are widened; with `rescale`, a value
    // in the old scale's steps is carried over to the new scale's steps.
    void SetRangeAndScale(int minimum, int maximum, unsigned scale, bool rescale);
    void SetUnits(std::wstring units) { units_ = std::move(units); }

    unsigned long long Minimum() const { return minimum_; }
    unsigned long long Maximum() const { return maximum_; }
    unsigned Scale() const { return scale_; }
    const std::wstring& Units() const { return units_; }
    // "5000mV" (rounded down to whole steps), the raw text with units when not a number, "--" when
    // the field is missing.
    static std::wstring SummaryText(const CNumEditField* field);

protected:
    std::wstring BuildPrompt() const override;

private:
    CNumEditField(const CNumEditField& source, SCloneTag);
    // The value in whole file units, when it is a number in range.
    bool FileUnits(std::uint32_t& units) const;

    unsigned long long minimum_;
    unsigned long long maximum_;
    unsigned scale_;
    std::wstring units_;
};

using COption = std::pair<int, std::wstring>;
using COptionList = std::vector<COption>;

// A choice among numbered options; the value is the decimal id of the chosen option.
class CPulldownListField : public CParameterField {
public:
    static constexpr unsigned kKind = 1u << 3;
    static constexpr unsigned kKinds = kKind;

    CPulldownListField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                       EGroupType groupType = EGroupType::None);

    void AppendComment(std::wstring& line) const override;
    void SetIntValue(int value) override;
    bool IsValid() const override;
    void CopyFrom(const CParameterField& other) override;
    std::unique_ptr<CParameterField> Clone() const override;
    unsigned Kinds() const override { return kKinds; }
    void ResetFrom(const CParameterField& blank) override;

    // The option id of the answer; -1 when there is none or it is not a plain number.
    virtual int GetIntValue() const;

    void SetOptions(const COptionList& options);
    const COptionList& Options() const { return *options_; }
    // The choice list itself, shared with the fields that have the same choices: what a view keeps
    // to tell later whether the choices changed, without copying them.
    const std::shared_ptr<const COptionList>& SharedOptions() const { return options_; }
    bool HasOption(int id) const;
    // The option the value names, or the fallback (-1, "") when it names none.
    COption GetCurrentOption() const;
    // Stores YES for 0 and NO for 1 (the EYesNo coding), the empty text otherwise.
    void SetYesNo(int yesNo);
    // The option's label, "<Unknown>" when the field is missing.
    static std::wstring SummaryText(const CPulldownListField* field);

protected:
    CPulldownListField(const CPulldownListField& source, SCloneTag);
    virtual int IntValueOf(const std::wstring& text) const;

    // For lists every field of a kind shares.
    void SetSharedOptions(std::shared_ptr<const COptionList> options);

private:
    // The choice the answer names, or nothing; a pointer into the choice list, not a copy.
    const COption* CurrentOption() const;
    // Shared with the copies of the field until one is given other options.
    std::shared_ptr<const COptionList> options_;
};

// YES or NO. Option ids YES = 1, NO = 0 (controls, SetIntValue); GetIntValue answers the EYesNo
// coding YES = 0, NO = 1 that the predicates compare.
class CYesNoPulldownListField : public CPulldownListField {
public:
    static constexpr unsigned kKind = 1u << 4;
    static constexpr unsigned kKinds = CPulldownListField::kKinds | kKind;

    CYesNoPulldownListField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                            EGroupType groupType = EGroupType::None);

    void SetValue(const std::wstring& text) override;
    std::unique_ptr<CParameterField> Clone() const override;
    unsigned Kinds() const override { return kKinds; }
    void ResetFrom(const CParameterField& blank) override;
    int GetIntValue() const override;

protected:
    int IntValueOf(const std::wstring& text) const override;

private:
    CYesNoPulldownListField(const CYesNoPulldownListField& source, SCloneTag);
};

// THE way to ask a field its kind: the field as a T, null when it is null or of another kind.
// T may be const-qualified (FieldAs<const CNumEditField>). Every field class names its own kind
// bit (kKind) and returns its kinds with its bases' (Kinds()), so asking costs one virtual call.
template <class T>
requires std::derived_from<std::remove_const_t<T>, CParameterField> T* FieldAs(CParameterField* field) {
    return field && (field->Kinds() & std::remove_const_t<T>::kKind) ? static_cast<T*>(field) : nullptr;
}

template <class T>
requires std::derived_from<std::remove_const_t<T>, CParameterField>
const T* FieldAs(const CParameterField* field) {
    return field && (field->Kinds() & std::remove_const_t<T>::kKind) ? static_cast<const T*>(field) : nullptr;
}

// The insisting form, for rules and pages that know the kind: a null field or another kind is a
// fieldlist_error.
template <class T> T* FieldCast(CParameterField* field) {
    if (!field) {
        throw fieldlist_error(L"CParameterField arg is NULL.");
    }
    T* cast = FieldAs<T>(field);
    if (!cast) {
        throw fieldlist_error(L"Couldn't cast field " + field->NamePattern() + L" to expected class.");
    }
    return cast;
}

template <class T> const T* FieldCast(const CParameterField* field) {
    if (!field) {
        throw fieldlist_error(L"const CParameterField arg is NULL.");
    }
    const T* cast = FieldAs<T>(field);
    if (!cast) {
        throw fieldlist_error(L"Couldn't cast field " + field->NamePattern() + L" to expected class.");
    }
    return cast;
}
