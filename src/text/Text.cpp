#include "text/Text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace orvik {

namespace {

// Where wchar_t is 16 bits, characters beyond the first 65536 take two units.
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsHighSurrogate(std::uint32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The character that starts at `i`, and how many units it takes.
std::uint32_t CharAt(std::wstring_view text, std::size_t i, std::size_t& units) {
    const auto c = static_cast<std::uint32_t>(text[i]);
    units = 1;
    if (kWideIsUtf16 && IsHighSurrogate(c) && i + 1 < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[i + 1]);
        if (IsLowSurrogate(low)) {
            units = 2;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

// The characters of 0x80..0x9F in Windows-1252. The five unassigned codes map to the C1 control of
// the same number so that every byte reads back to itself.
constexpr std::array<wchar_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToCp1252Char(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(static_cast<unsigned char>(c));
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c) {
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
        }
    }
    return '?';
}

} // namespace

std::string ToCp1252(std::wstring_view text) {
    // Written into place: a whole file goes through here, almost all of it ASCII, which is copied a
    // run at a time.
    std::string out(text.size(), '\0');
    char* o = out.data();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t run = i;
        // Four characters at a time while all four are ASCII.
        while (run + 4 <= text.size() &&
               (static_cast<std::uint32_t>(text[run]) | static_cast<std::uint32_t>(text[run + 1]) |
                static_cast<std::uint32_t>(text[run + 2]) | static_cast<std::uint32_t>(text[run + 3])) <
                   0x80) {
            run += 4;
        }
        while (run < text.size() && static_cast<std::uint32_t>(text[run]) < 0x80) {
            ++run;
        }
        for (; i < run; ++i) {
            *o++ = static_cast<char>(text[i]);
        }
        if (i == text.size()) {
            break;
        }
        std::size_t units = 1;
        CharAt(text, i, units);
        *o++ = units == 1 ? ToCp1252Char(text[i]) : '?';
        i += units;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::wstring FromCp1252(std::string_view bytes) {
    std::wstring out;
    FromCp1252(bytes, out);
    return out;
}

void FromCp1252(std::string_view bytes, std::wstring& out) {
    // Every byte through one table: no test per byte.
    static constexpr std::array<wchar_t, 256> kTable = [] {
        std::array<wchar_t, 256> table{};
        for (std::size_t b = 0; b < table.size(); ++b) {
            table[b] = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<wchar_t>(b);
        }
        return table;
    }();
    out.resize(bytes.size());
    wchar_t* o = out.data();
    for (const char c : bytes) {
        *o++ = kTable[static_cast<unsigned char>(c)];
    }
}

std::wstring Format(std::wstring_view format, std::initializer_list<std::wstring_view> args) {
    std::wstring out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 >= format.size()) {
            out.push_back(c);
            continue;
        }
        if (format[i + 1] == L'%') {
            out.push_back(L'%');
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && format[j] == L'l') {
            ++j;
        }
        if (j < format.size() &&
            (format[j] == L's' || format[j] == L'S' || format[j] == L'd' || format[j] == L'u')) {
            if (next != args.end()) {
                out.append(*next++);
            }
            i = j;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::wstring ToWide(unsigned long long value) {
    std::wstring out;
    AppendWide(out, value);
    return out;
}

void AppendWide(std::wstring& out, unsigned long long value) {
    // By hand: the writer converts thousands of numbers per file, and the wide printf is slow.
    wchar_t digits[24];
    wchar_t* end = digits + 24;
    wchar_t* p = end;
    do {
        *--p = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(p, end);
}
std::wstring ToWideSigned(long long value) {
    if (value >= 0) {
        return ToWide(static_cast<unsigned long long>(value));
    }
    return L"-" + ToWide(0ULL - static_cast<unsigned long long>(value));
}

std::wstring ToUpper(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return out;
}

std::size_t SNameHash::operator()(std::wstring_view name) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t left = name.size() * sizeof(wchar_t);
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = left * kMultiplier;
    // Two lanes of eight bytes a step, joined at the end.
    std::uint64_t other = ~h;
    for (; left >= 16; left -= 16, bytes += 16) {
        std::uint64_t first;
        std::uint64_t second;
        std::memcpy(&first, bytes, 8);
        std::memcpy(&second, bytes + 8, 8);
        h = (std::rotl(h, 23) ^ first) * kMultiplier;
        other = (std::rotl(other, 23) ^ second) * kMultiplier;
    }
    h ^= std::rotl(other, 31);
    if (left >= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        h = (std::rotl(h, 23) ^ word) * kMultiplier;
        left -= 8;
        bytes += 8;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, left);
        h = (std::rotl(h, 23) ^ word) * kMultiplier;
    }
    // The tables take the low bits: fold the well-mixed high ones down.
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<std::size_t>(h);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trim(std::wstring_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) {
        ++b;
    }
    while (e > b && IsBlank(text[e - 1])) {
        --e;
    }
    return std::wstring(text.substr(b, e - b));
}

bool IsDecimalDigits(std::wstring_view text) {
    if (text.empty()) {
        return false;
    }
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t units = 1;
        const std::uint32_t c = CharAt(text, i, units);
        i += units;
        if (c >= 0xDC80 && c <= 0xDCFF) { // a byte that was not UTF-8 on the way in
            out.push_back(static_cast<char>(c - 0xDC00));
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | ((c >> 18) & 0x07)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        std::uint32_t c = 0;
        if (b0 < 0x80) {
            c = b0;
        } else if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2) {
            extra = 1;
            c = b0 & 0x1F;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2;
            c = b0 & 0x0F;
        } else if ((b0 & 0xF8) == 0xF0 && b0 <= 0xF4) {
            extra = 3;
            c = b0 & 0x07;
        } else {
            extra = -1;
        }
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra < 0 ? 0 : extra) < bytes.size();
        if (ok && extra > 0) {
            for (int k = 1; ok && k <= extra; ++k) {
                const auto b = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
                if ((b & 0xC0) != 0x80) {
                    ok = false;
                } else {
                    c = (c << 6) | (b & 0x3F);
                }
            }
            if (ok && ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
                       (c >= 0xD800 && c <= 0xDFFF))) {
                ok = false;
            }
        }
        if (!ok) {
            out.push_back(static_cast<wchar_t>(0xDC00 + b0));
            ++i;
            continue;
        }
        if (kWideIsUtf16 && c >= 0x10000) {
            out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace orvik
