#pragma once

#include <stdexcept>
#include <string>

// A failure inside the form's logic. The message is given as wide text and kept converted to the
// file code page, so what() can go straight to the log.
class filegen_error : public std::runtime_error {
public:
    explicit filegen_error(const std::wstring& message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// A fault in a field list or a rule's view of it (a missing parent, a wrong kind). Rule evaluation
// catches it, logs it and counts the rule as false.
class fieldlist_error : public filegen_error {
public:
    using filegen_error::filegen_error;
};
