#pragma once

#include <stdexcept>
#include <string>

// The tool's exit codes.
enum class EExitCode {
    Ok = 0,
    Invalid = 1, // the form is incomplete or holds invalid answers; the compared files' answers differ
    Failure = 2, // bad command line, unreadable file, refused answer, any other error
    NotWritten = 3,
};

// A failure the tool reports with a message of its own and ends with the given exit code.
class CCliError : public std::runtime_error {
public:
    CCliError(EExitCode code, const std::wstring& message);
    EExitCode Code() const { return code_; }
    const std::wstring& Message() const { return message_; }

private:
    EExitCode code_;
    std::wstring message_;
};
