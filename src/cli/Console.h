#pragma once

#include <string>
#include <string_view>

// Standard output and standard error of the tool. Texts go out as UTF-8; the form's file goes out
// byte for byte.
class CConsole {
public:
    // One line of text on standard output.
    static void Out(std::wstring_view line);
    // Bytes on standard output exactly as given; false, with the system's reason, when they could
    // not all be written.
    static bool OutBytes(std::string_view bytes, std::wstring& error);
    // One line of text on standard error.
    static void Err(std::wstring_view line);
    // The same, unless it repeats the line just written there: a message that is both logged and
    // shown in a box appears once.
    static void ErrUnlessRepeated(std::wstring_view line);

private:
    static std::wstring lastErrLine_;
};
