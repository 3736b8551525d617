#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A page field's name as the file writes it ($Vendor_Name, PD_Port_Type) together with the name
// pattern its rule record and its field are keyed by, made from the name when the program is
// compiled: "^" + name + "$", a leading $ escaped. Where a pattern is wanted (a lookup, a parent's
// name, a comparison with a field's NamePattern()), the name stands for its pattern.
class CFieldName {
public:
    // Long enough for every name of the form; a longer one does not compile.
    static constexpr std::size_t kCapacity = 64;

    consteval CFieldName(const wchar_t* name) {
        std::size_t at = 0;
        pattern_[at++] = L'^';
        if (name[0] == L'$') {
            pattern_[at++] = L'\\';
        }
        nameStart_ = at;
        for (const wchar_t* c = name; *c != L'\0'; ++c) {
            if (at + 2 >= kCapacity) {
                throw "field name too long";
            }
            pattern_[at++] = *c;
        }
        nameEnd_ = at;
        pattern_[at++] = L'$';
        pattern_[at] = L'\0';
        size_ = at;
    }

    constexpr std::wstring_view Name() const { return {pattern_ + nameStart_, nameEnd_ - nameStart_}; }
    constexpr std::wstring_view Pattern() const { return {pattern_, size_}; }
    constexpr const wchar_t* PatternText() const { return pattern_; }

    constexpr operator const wchar_t*() const { return pattern_; }
    operator std::wstring() const { return std::wstring(Pattern()); }

    friend bool operator==(std::wstring_view pattern, const CFieldName& name) {
        return pattern == name.Pattern();
    }

private:
    wchar_t pattern_[kCapacity] = {};
    std::size_t nameStart_ = 0;
    std::size_t nameEnd_ = 0;
    std::size_t size_ = 0;
};
