#pragma once

#include "cli/CliError.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"

#include <memory>
#include <string>
#include <vector>

class CFormSession;

// Runs command lines: help, check, print, save, new, fields or diff. The app owns the tool's console and
// the forms its commands made; a form lives as long as the app.
class CCliApp {
public:
    CCliApp();
    ~CCliApp();
    CCliApp(const CCliApp&) = delete;
    CCliApp& operator=(const CCliApp&) = delete;

    // Where everything the tool writes goes, its failure reports too.
    CConsole& Console() { return console_; }

    // The arguments after the program name; returns the exit code. Failures of the tool's own
    // are CCliError; the caller reports any other exception.
    EExitCode Run(const std::vector<std::string>& args);

private:
    struct SForm;

    EExitCode Dispatch(const SCommandLine& line);
    EExitCode Check(const SCommandLine& line);
    EExitCode Print(const SCommandLine& line);
    EExitCode Save(const SCommandLine& line);
    EExitCode New(const SCommandLine& line);
    EExitCode Fields();
    EExitCode Diff(const SCommandLine& line);
    EExitCode Explain(const SCommandLine& line);

    // A fresh form, answering its boxes on the console.
    CFormSession& NewForm();
    // Loads a file named on the command line; an unreadable file is a CCliError.
    static void Load(CFormSession& session, const std::wstring& path);
    EExitCode Report(CFormSession& session);
    EExitCode PrintFile(CFormSession& session);
    EExitCode SaveFile(CFormSession& session, const std::wstring& directory);

    CConsole console_;
    std::vector<std::unique_ptr<SForm>> forms_;
};
