#pragma once

#include <string>
#include <string_view>

// Standard output and standard error of the tool. Texts go out as UTF-8; the form's file goes out
// byte for byte. Everything the tool writes goes through one console, which remembers the line it
// last wrote to standard error.
class CConsole {
public:
    // One line of text on standard output.
    void Out(std::wstring_view line) const;
    // Bytes on standard output exactly as given; false, with the system's reason, when they could
    // not all be written.
    bool OutBytes(std::string_view bytes, std::wstring& error) const;
    // One line of text on standard error.
    void Err(std::wstring_view line);
    // The same, unless it repeats the line just written there: a message that is both logged and
    // shown in a box appears once.
    void ErrUnlessRepeated(std::wstring_view line);

private:
    std::wstring lastErrLine_;
};
