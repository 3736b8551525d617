#pragma once

#include <algorithm>

#include "model/FieldKinds.h"
#include "model/FieldNames.h"
#include "model/ParameterField.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// The option ids of the form's choice lists that the availability rules compare. -1 stands for "no
// valid answer" and is never an enumerator.
enum EYesNo : int { YN_YES = 0, YN_NO = 1 };
enum EOrvikProductType : int { OPT_PORT = 0, OPT_CABLE = 1, OPT_RETIMER = 2 };
enum EConnectorType : int { CT_TYPE_A = 0, CT_TYPE_B = 1, CT_TYPE_C = 2 };
enum EPDPortType : int {
    PPT_CONSUMER_ONLY = 0,
    PPT_CONSUMER_PROVIDER = 1,
    PPT_PROVIDER_CONSUMER = 2,
    PPT_PROVIDER_ONLY = 3,
    PPT_DRP = 4
};
enum ETypeCStateMachine : int { TCSM_SRC = 0, TCSM_SNK = 1, TCSM_DRP = 2 };
enum EPDSpecVersion : int { PDREV_20 = 0, PDREV_30 = 2 };
enum EBC12Support : int { BC12_NONE = 0, BC12_PORTABLE_DEVICE = 1, BC12_CHARGING_PORT = 2, BC12_BOTH = 3 };
enum EUSB32Speed : int {
    USB_2 = 0,
    USB_32_GEN1X1 = 1,
    USB_32_GEN2X1 = 2,
    USB_32_GEN1X2 = 3,
    USB_32_GEN2X2 = 4
};
enum EPortSourcePowerType : int { PSPT_GUARANTEED = 0, PSPT_GANGED = 1 };
enum EProductType : int {
    PT_UNDEFINED = 0,
    PT_PDUSB_HUB = 1,
    PT_PDUSB_PERIPHERAL = 2,
    PT_POWER_BRICK_OR_PASSIVE_CABLE = 3,
    PT_AMC_OR_ACTIVE_CABLE = 4,
    PT_AMA = 5
};
enum ECableTermType : int {
    CTT_PASSIVE_NO_VCONN = 0,
    CTT_PASSIVE_VCONN = 1,
    CTT_ONE_ACTIVE_VCONN = 2,
    CTT_BOTH_ACTIVE_VCONN = 3
};
enum ESupplyType : int { ST_FIXED = 0, ST_BATTERY = 1, ST_VARIABLE = 2, ST_APDO = 3 };
enum EPDOCPMethod : int { OCP_OVER_CURRENT = 0, OCP_UNDER_VOLTAGE = 1, OCP_BOTH = 2 };

// The parent's option id read through GetIntValue, -1 for a null field, a missing parent or a parent
// that is not a pull-down.
int ParentIntValue(const CParameterField* field, const wchar_t* parentName);
int ParentIntValue(const CParameterField* field, std::wstring_view parentName);

// A question's name as a rule's words give it: the file's name, without the pattern's anchors and
// instance numbers, between backticks ("`PD_Port_Type`", "`Src_PDO_Supply_Type`").
std::wstring QuestionWords(std::wstring_view pattern);
inline std::wstring QuestionWords(const wchar_t* pattern) {
    return QuestionWords(std::wstring_view(pattern));
}
// Choices as a rule's words give them: "YES", "NO", or their numbers ("1, 2 or 4").
std::wstring ChoiceWords(const std::vector<int>& values, bool yesNo);
// "`Name` is 1 or 4", "`Name` is not 3": a parent's answer as a rule's words test it.
std::wstring IsWords(const wchar_t* pattern, const std::vector<int>& values, bool yesNo = false);
std::wstring IsNotWords(const wchar_t* pattern, const std::vector<int>& values, bool yesNo = false);

// A plain function with the words that say what it is, made when asked (Words()) by `words` from
// what the function was made with: a rule made from parameters explains itself with them.
template <class F, class W> class CWorded {
public:
    CWorded(F function, W words) : function_(std::move(function)), words_(std::move(words)) {}
    template <class Arg>
    requires std::is_invocable_v<const F&, Arg>
    decltype(auto) operator()(Arg&& arg) const { return function_(std::forward<Arg>(arg)); }
    std::wstring Words() const { return words_(); }

private:
    F function_;
    W words_;
};

template <class F, class W> CWorded<F, W> Worded(F function, W words) {
    return CWorded<F, W>(std::move(function), std::move(words));
}

template <class E> class PulldownValueChecker {
public:
    PulldownValueChecker(const wchar_t* parentName, std::vector<E> values)
        : parentName_(parentName), parentNameView_(parentName), values_(std::move(values)) {}
    virtual ~PulldownValueChecker() = default;

    virtual bool operator()(const CParameterField* field) const = 0;

    int GetParentValue(const CParameterField* field) const { return ParentIntValue(field, parentNameView_); }
    const wchar_t* ParentName() const { return parentName_; }
    std::vector<std::wstring> Reads() const { return {parentName_}; }

protected:
    std::wstring ParentWords() const { return QuestionWords(parentNameView_); }
    std::wstring ValueWords() const {
        std::vector<int> numbers;
        for (E e : values_) {
            numbers.push_back(static_cast<int>(e));
        }
        return ChoiceWords(numbers, std::is_same_v<E, EYesNo>);
    }

    static void RequireField(const CParameterField* field) {
        if (!field) {
            throw fieldlist_error(L"NULL parameter field.");
        }
    }
    bool IsOneOf(int v) const {
        for (E e : values_) {
            if (static_cast<int>(e) == v) {
                return true;
            }
        }
        return false;
    }

    const wchar_t* parentName_;
    // Measured once: every evaluation asks for the parent by this name.
    std::wstring_view parentNameView_;
    std::vector<E> values_;
};

template <class E> class IsParentValue : public PulldownValueChecker<E> {
public:
    IsParentValue(const wchar_t* parentName, E value) : PulldownValueChecker<E>(parentName, {value}) {}
    IsParentValue(const wchar_t* parentName, std::initializer_list<E> values)
        : PulldownValueChecker<E>(parentName, std::vector<E>(values)) {}
    IsParentValue(const wchar_t* parentName, std::vector<E> values)
        : PulldownValueChecker<E>(parentName, std::move(values)) {}
    bool operator()(const CParameterField* field) const override {
        this->RequireField(field);
        return this->IsOneOf(this->GetParentValue(field));
    }
    std::wstring Words() const { return this->ParentWords() + L" is " + this->ValueWords(); }
};

template <class E> class IsValidButNotParentValue : public PulldownValueChecker<E> {
public:
    IsValidButNotParentValue(const wchar_t* parentName, E value)
        : PulldownValueChecker<E>(parentName, {value}) {}
    bool operator()(const CParameterField* field) const override {
        this->RequireField(field);
        const int v = this->GetParentValue(field);
        return v != -1 && !this->IsOneOf(v);
    }
    std::wstring Words() const {
        return this->ParentWords() + L" is answered and is not " + this->ValueWords();
    }
};

template <class E> class IsNotParentValue : public PulldownValueChecker<E> {
public:
    IsNotParentValue(const wchar_t* parentName, E value) : PulldownValueChecker<E>(parentName, {value}) {}
    bool operator()(const CParameterField* field) const override {
        this->RequireField(field);
        return !this->IsOneOf(this->GetParentValue(field));
    }
    std::wstring Words() const { return this->ParentWords() + L" is not " + this->ValueWords(); }
};

// True when the parent exists and its answer is valid; a missing parent is a fieldlist_error.
class IsParentValidValue : public PulldownValueChecker<int> {
public:
    explicit IsParentValidValue(const wchar_t* parentName) : PulldownValueChecker<int>(parentName, {}) {}
    bool operator()(const CParameterField* field) const override;
    std::wstring Words() const { return ParentWords() + L" is answered"; }
};

class IsParentYNYes : public IsParentValue<EYesNo> {
public:
    explicit IsParentYNYes(const wchar_t* parentName) : IsParentValue<EYesNo>(parentName, YN_YES) {}
};

class IsParentYNNo : public IsParentValue<EYesNo> {
public:
    explicit IsParentYNNo(const wchar_t* parentName) : IsParentValue<EYesNo>(parentName, YN_NO) {}
};

class IsParentYNValid : public IsParentValidValue {
public:
    explicit IsParentYNValid(const wchar_t* parentName) : IsParentValidValue(parentName) {}
};

class IsParentPDPortType : public IsParentValue<EPDPortType> {
public:
    explicit IsParentPDPortType(std::initializer_list<EPDPortType> values)
        : IsParentValue<EPDPortType>(fieldname::kPdPortType, values) {}
};

class IsParentConnectorType : public IsParentValue<EConnectorType> {
public:
    explicit IsParentConnectorType(EConnectorType value)
        : IsParentValue<EConnectorType>(fieldname::kConnectorType, value) {}
};

class IsValidParentConnectorType : public IsParentValidValue {
public:
    IsValidParentConnectorType() : IsParentValidValue(fieldname::kConnectorType) {}
};

class IsValidButParentConnectorTypeNot : public IsValidButNotParentValue<EConnectorType> {
public:
    IsValidButParentConnectorTypeNot()
        : IsValidButNotParentValue<EConnectorType>(fieldname::kConnectorType, CT_TYPE_C) {}
};

class IsParentOrvikProductType : public IsParentValue<EOrvikProductType> {
public:
    explicit IsParentOrvikProductType(EOrvikProductType value)
        : IsParentValue<EOrvikProductType>(fieldname::kOrvikProductType, value) {}
};

class IsNotParentOrvikProductType : public IsNotParentValue<EOrvikProductType> {
public:
    IsNotParentOrvikProductType()
        : IsNotParentValue<EOrvikProductType>(fieldname::kOrvikProductType, OPT_CABLE) {}
};

class IsValidButParentOrvikProductTypeNot : public IsValidButNotParentValue<EOrvikProductType> {
public:
    IsValidButParentOrvikProductTypeNot()
        : IsValidButNotParentValue<EOrvikProductType>(fieldname::kOrvikProductType, OPT_RETIMER) {}
};

// What two conditions read, each name once, the first's first.
inline std::vector<std::wstring> ReadsOfBoth(const FieldPredicate& first, const FieldPredicate& second) {
    std::vector<std::wstring> names = first.Reads();
    for (const std::wstring& name : second.Reads()) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    return names;
}

// Two conditions' words joined; a part without words leaves the other's alone, and an "or" inside
// an "and" is put in brackets, so the words group as the condition does.
inline std::wstring WordsOfBoth(const FieldPredicate& first, std::wstring_view joint,
                                const FieldPredicate& second) {
    const std::wstring a = first.Words();
    const std::wstring b = second.Words();
    if (a.empty() || b.empty()) {
        return a.empty() ? b : a;
    }
    // "`X` is answered and `X` is 2" says `X` twice for what "`X` is 2" says alone.
    auto answeredAnd = [](const std::wstring& answered, const std::wstring& other) {
        constexpr std::wstring_view kAnswered = L" is answered";
        if (!answered.ends_with(kAnswered)) {
            return false;
        }
        const std::wstring is = answered.substr(0, answered.size() - kAnswered.size()) + L" is ";
        return other.starts_with(is) && !other.starts_with(is + L"not ") &&
               !other.starts_with(is + L"answered");
    };
    if (joint == L" and " && answeredAnd(a, b)) {
        return b;
    }
    if (joint == L" and " && answeredAnd(b, a)) {
        return a;
    }
    auto part = [joint](const std::wstring& words) {
        return joint == L" and " && words.find(L" or ") != std::wstring::npos ? L"(" + words + L")" : words;
    };
    return part(a) + std::wstring(joint) + part(b);
}

// Both true; the second is not asked when the first is false.
class CBooleanAndFunctor {
public:
    CBooleanAndFunctor(FieldPredicate first, FieldPredicate second)
        : first_(std::move(first)), second_(std::move(second)) {}
    bool operator()(const CParameterField* field) const { return first_(field) && second_(field); }
    std::vector<std::wstring> Reads() const { return ReadsOfBoth(first_, second_); }
    std::wstring Words() const { return WordsOfBoth(first_, L" and ", second_); }

private:
    FieldPredicate first_;
    FieldPredicate second_;
};

// Either true; the second is not asked when the first is true.
class CBooleanOrFunctor {
public:
    CBooleanOrFunctor(FieldPredicate first, FieldPredicate second)
        : first_(std::move(first)), second_(std::move(second)) {}
    bool operator()(const CParameterField* field) const { return first_(field) || second_(field); }
    std::vector<std::wstring> Reads() const { return ReadsOfBoth(first_, second_); }
    std::wstring Words() const { return WordsOfBoth(first_, L" or ", second_); }

private:
    FieldPredicate first_;
    FieldPredicate second_;
};

// A parent as the kind a rule expects it to be; a null field, a missing parent or one of another
// kind is a fieldlist_error.
// The name is a view: rules pass their constant names, and a copy per evaluation would cost more
// than the test.
template <class T> T* GetParentAs(CParameterField* field, std::wstring_view parentName) {
    if (!field) {
        throw fieldlist_error(L"CParameterField arg is NULL.");
    }
    T* parent = FieldAs<T>(field->FindParent(parentName));
    if (!parent) {
        throw fieldlist_error(std::wstring(parentName) + L" is not a parent of field " +
                              field->NamePattern() + L".");
    }
    return parent;
}

template <class T> const T* GetParentAs(const CParameterField* field, std::wstring_view parentName) {
    if (!field) {
        throw fieldlist_error(L"const CParameterField arg is NULL.");
    }
    const T* parent = FieldAs<T>(field->FindParent(parentName));
    if (!parent) {
        throw fieldlist_error(std::wstring(parentName) + L" is not a parent of field " +
                              field->NamePattern() + L".");
    }
    return parent;
}
