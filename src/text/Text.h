#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvik {

// Files and the log are Windows-1252. A character the code page cannot hold becomes '?'.
std::string ToCp1252(std::wstring_view text);
std::wstring FromCp1252(std::string_view bytes);
// The same into a buffer that is reused.
void FromCp1252(std::string_view bytes, std::wstring& out);

// Fills a printf-style format whose conversions (%s, %S, %d, %u, %lu, %ld, %llu) are replaced, in
// order, by the already formatted arguments. "%%" stands for a single percent sign. Keeps the
// system's message formats readable in the code without the pitfalls of wide printf.
std::wstring Format(std::wstring_view format, std::initializer_list<std::wstring_view> args);

std::wstring ToWide(unsigned long long value);
// ToWide appended to `out`, with no text of its own.
void AppendWide(std::wstring& out, unsigned long long value);
std::wstring ToWideSigned(long long value);

// ASCII upper/lower case; the form's names and values are ASCII.
std::wstring ToUpper(std::wstring_view text);
inline wchar_t ToLowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
// Inline: the rules compare every YES and NO they read with it.
inline bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The hash of the form's names for the tables that look them up: names are short, so eight bytes
// are mixed at a step with one multiplication. Transparent: a table keyed by std::wstring is
// asked with a std::wstring_view without a copy (with std::equal_to<>). Not noexcept on purpose:
// the standard tables then keep each name's hash instead of computing it again on every probe.
struct SHashedName;
struct SNameHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view name) const;
    std::size_t operator()(const SHashedName& name) const;
};

// A name with its SNameHash, made once: a name looked up in several tables is hashed once.
struct SHashedName {
    std::wstring_view text;
    std::size_t hash = 0;

    friend bool operator==(std::wstring_view a, const SHashedName& b) { return a == b.text; }
};

inline std::size_t SNameHash::operator()(const SHashedName& name) const {
    return name.hash;
}

std::wstring Trim(std::wstring_view text);

// File names are UTF-8 on this system; bytes that are not UTF-8 survive a round trip.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);
bool IsBlank(wchar_t c);
bool IsDecimalDigits(std::wstring_view text);

} // namespace orvik
