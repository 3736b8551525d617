#include "persistence/OrvikLexer.h"

#include "logging/Logger.h"
#include "text/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

using orvik::Format;

namespace {

// How much of a file that cannot be read line by line reaches the log.
constexpr std::size_t kLoggedRejectedLines = 1000;
constexpr std::size_t kLoggedLineBytes = 256;

// The grammar's characters are all ASCII, and the 8-bit code page keeps ASCII where it is: a line
// can be matched on its bytes as well as on its wide text, with the same result.
// The classes are looked up in one table, a single test per character: a file goes through here
// character by character.
enum : std::uint8_t { kSpaceClass = 1, kNameClass = 2, kDigitClass = 4, kHexClass = 8 };

constexpr std::array<std::uint8_t, 128> kAsciiClasses = [] {
    std::array<std::uint8_t, 128> classes{};
    for (const char c : {' ', '\t', '\r', '\n', '\v', '\f'}) {
        classes[static_cast<std::size_t>(c)] = kSpaceClass;
    }
    for (std::size_t c = 0; c < classes.size(); ++c) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        const bool digit = c >= '0' && c <= '9';
        if (lower || upper || digit || c == '_' || c == '\'') {
            classes[c] |= kNameClass;
        }
        if (digit) {
            classes[c] |= kDigitClass | kHexClass;
        }
        if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            classes[c] |= kHexClass;
        }
    }
    return classes;
}();

template <class C> std::uint8_t ClassOf(C c) {
    // Bytes and wide characters alike: nothing beyond ASCII belongs to a class.
    using Unsigned = std::make_unsigned_t<C>;
    const auto u = static_cast<Unsigned>(c);
    return u < kAsciiClasses.size() ? kAsciiClasses[u] : std::uint8_t{0};
}

template <class C> bool IsSpace(C c) {
    return (ClassOf(c) & kSpaceClass) != 0;
}

template <class C> bool IsNameChar(C c) {
    return (ClassOf(c) & kNameClass) != 0;
}

template <class C> bool IsDigit(C c) {
    return (ClassOf(c) & kDigitClass) != 0;
}

template <class C> bool IsHexDigit(C c) {
    return (ClassOf(c) & kHexClass) != 0;
}

// Wide text of a matched part of a line: a copy of wide text, the code page's reading of bytes.
void AssignWide(std::wstring& out, std::wstring_view text) {
    out.assign(text);
}

void AssignWide(std::wstring& out, std::string_view bytes) {
    orvik::FromCp1252(bytes, out);
}

// Matches `name \s* : \s*` from the start; returns the position after it, or npos.
template <class C>
std::size_t MatchNameAndColon(std::basic_string_view<C> line, std::size_t nameStart, std::size_t& nameEnd) {
    std::size_t i = nameStart;
    while (i < line.size() && IsNameChar(line[i])) {
        ++i;
    }
    if (i == nameStart) {
        return std::basic_string_view<C>::npos;
    }
    nameEnd = i;
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    if (i >= line.size() || line[i] != ':') {
        return std::basic_string_view<C>::npos;
    }
    ++i;
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    return i;
}

template <class C> bool MatchValue(std::basic_string_view<C> v) {
    if ((v.size() == 3 && v[0] == 'Y' && v[1] == 'E' && v[2] == 'S') ||
        (v.size() == 2 && v[0] == 'N' && v[1] == 'O')) {
        return true;
    }
    if (v.size() > 2 && v[0] == '0' && v[1] == 'x') {
        for (std::size_t i = 2; i < v.size(); ++i) {
            if (!IsHexDigit(v[i])) {
                return false;
            }
        }
        return true;
    }
    if (v.empty()) {
        return false;
    }
    for (C c : v) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// StripComment without copying: a view into `line`.
template <class C> std::basic_string_view<C> StrippedView(std::basic_string_view<C> line) {
    using View = std::basic_string_view<C>;
    std::size_t b = 0;
    std::size_t e = line.size();
    while (b < e && IsSpace(line[b])) {
        ++b;
    }
    while (e > b && IsSpace(line[e - 1])) {
        --e;
    }
    View text = line.substr(b, e - b);
    if (text.empty() || text[0] == ';') {
        return {};
    }
    const std::size_t d = text.find(C('"'));
    const std::size_t g = text.rfind(C('"'));
    std::size_t s = text.find(C(';'));
    if (s == View::npos) {
        return text;
    }
    if (d != g && d <= s && s <= g) {
        while (s != View::npos && d < s && s < g) {
            s = text.find(C(';'), s + 1);
        }
    }
    if (s == View::npos) {
        return text;
    }
    text = text.substr(0, s);
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// MatchEntryLine for a line already stripped of its comment.
template <class C>
bool MatchStrippedLine(std::basic_string_view<C> line, std::wstring& name, std::wstring& value) {
    using View = std::basic_string_view<C>;
    if (line.empty()) {
        return false;
    }
    std::size_t nameEnd = 0;
    if (line[0] == '$') {
        const std::size_t pos = MatchNameAndColon(line, 1, nameEnd);
        if (pos == View::npos || pos >= line.size() || line[pos] != '"') {
            return false;
        }
        if (line.size() < pos + 2 || line.back() != '"') {
            return false;
        }
        const View inner = line.substr(pos + 1, line.size() - pos - 2);
        // '.' of the line grammar does not cross line terminators.
        for (C c : inner) {
            if (c == '\r' || c == '\n') {
                return false;
            }
            if constexpr (sizeof(C) > 1) {
                if (c == 0x2028 || c == 0x2029) {
                    return false;
                }
            }
        }
        AssignWide(name, line.substr(0, nameEnd));
        AssignWide(value, inner);
        return true;
    }
    const std::size_t pos = MatchNameAndColon(line, 0, nameEnd);
    if (pos == View::npos) {
        return false;
    }
    View raw = line.substr(pos);
    if (!MatchValue(raw)) {
        return false;
    }
    AssignWide(name, line.substr(0, nameEnd));
    if (raw.size() >= 2 && raw[0] == '0' && (raw[1] == 'x' || raw[1] == 'X')) {
        raw.remove_prefix(2);
    }
    AssignWide(value, raw);
    for (wchar_t& c : value) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return true;
}

} // namespace

std::wstring StripComment(std::wstring_view line) {
    return std::wstring(StrippedView(line));
}

bool MatchEntryLine(std::wstring_view rawLine, std::wstring& name, std::wstring& value) {
    return MatchStrippedLine(StrippedView(rawLine), name, value);
}

void ParseOrvikBytes(std::string_view bytes, COrvikFile& file) {
    // About one entry a line; a huge file of junk gets no huge table in advance.
    std::size_t lines = 0;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        ++lines;
    }
    file.Reserve(std::min<std::size_t>(lines + 1, 4096));
    std::size_t start = 0;
    std::wstring name;
    std::wstring value;
    std::wstring line;
    std::string message;
    std::size_t rejected = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        start = next;
        // Matched on its bytes: only the name and value it yields are turned into wide text.
        const std::string_view stripped = StrippedView(raw);
        if (stripped.empty()) {
            continue;
        }
        if (MatchStrippedLine(stripped, name, value)) {
            file.AddOccurrence(name, value);
        } else {
            // The log is in the file's own code page: the line goes into it as it was read, up to a
            // bounded length, and a file of junk does not flood it.
            if (++rejected <= kLoggedRejectedLines) {
                message.assign("Syntax Error: couldn't parse '");
                message.append(raw.substr(0, kLoggedLineBytes));
                message.append(raw.size() > kLoggedLineBytes ? "...'" : "'");
                Log(std::string_view(message));
            }
            orvik::FromCp1252(raw, line);
            file.AddRejectedLine(line);
        }
    }
    if (rejected > kLoggedRejectedLines) {
        Log(Format(L"Syntax Error: %u more lines couldn't be parsed.",
                   {orvik::ToWide(rejected - kLoggedRejectedLines)}));
    }
}
