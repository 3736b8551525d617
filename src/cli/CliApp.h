#pragma once

#include "cli/CliError.h"
#include "cli/CommandLine.h"

#include <string>
#include <vector>

class CFormSession;

// Runs one command line: help, check, print, save, new or fields.
class CCliApp {
public:
    // The arguments after the program name; returns the exit code. Failures of the tool's own
    // are CCliError; the caller reports any other exception.
    static EExitCode Run(const std::vector<std::string>& args);

private:
    explicit CCliApp(const SCommandLine& line) : line_(line) {}
    EExitCode Dispatch();
    EExitCode Check();
    EExitCode Print();
    EExitCode Save();
    EExitCode New();
    EExitCode Fields();

    // Loads the command line's file; an unreadable file is a CCliError.
    void Load(CFormSession& session);
    static EExitCode Report(CFormSession& session);
    static EExitCode PrintFile(CFormSession& session);
    static EExitCode SaveFile(CFormSession& session, const std::wstring& directory);

    const SCommandLine& line_;
};
