#include "cli/CliApp.h"

#include "cli/CheckReport.h"
#include "cli/Console.h"
#include "cli/ConsolePrompt.h"
#include "cli/FieldListing.h"
#include "cli/FormSession.h"
#include "cli/Usage.h"
#include "logging/Logger.h"
#include "persistence/FileWriter.h"
#include "persistence/SaveFlow.h"
#include "text/Text.h"

#include <memory>
#include <vector>

namespace {

constexpr const wchar_t* kNotComplete = L"Couldn't save Orvik: form not complete or invalid data entered.";

struct SKeptSession {
    CConsolePrompt prompt;
    CFormSession session{prompt};
};

// The form of a command lives until the process ends: taking apart thousands of fields and groups
// just before exiting costs more than most of the command. The holder itself is never destroyed
// and stays reachable, so leak checkers see nothing lost; everything the form writes goes through
// standard output and the log, which are flushed as usual on exit.
CFormSession& KeptSession() {
    static auto* const kept = new std::vector<std::unique_ptr<SKeptSession>>();
    kept->push_back(std::make_unique<SKeptSession>());
    return kept->back()->session;
}

} // namespace

EExitCode CCliApp::Run(const std::vector<std::string>& args) {
    const SCommandLine line = CCommandLineParser::Parse(args);
    CCliApp app(line);
    return app.Dispatch();
}

EExitCode CCliApp::Dispatch() {
    if (line_.help) {
        std::wstring text = CUsage::Help(line_.command);
        if (!text.empty() && text.back() == L'\n') {
            text.pop_back();
        }
        CConsole::Out(text);
        return EExitCode::Ok;
    }
    switch (line_.command) {
    case ECommand::Check:
        return Check();
    case ECommand::Print:
        return Print();
    case ECommand::Save:
        return Save();
    case ECommand::New:
        return New();
    case ECommand::Fields:
        return Fields();
    case ECommand::None:
        break;
    }
    throw CCliError(EExitCode::Failure, CUsage::UsageLine());
}

EExitCode CCliApp::Check() {
    CFormSession& session = KeptSession();
    Load(session);
    return Report(session);
}

EExitCode CCliApp::Print() {
    CFormSession& session = KeptSession();
    Load(session);
    return PrintFile(session);
}

EExitCode CCliApp::Save() {
    CFormSession& session = KeptSession();
    Load(session);
    return SaveFile(session, line_.directory);
}

EExitCode CCliApp::New() {
    CFormSession& session = KeptSession();
    for (const auto& [name, value] : line_.settings) {
        session.Set(name, value);
    }
    if (line_.print) {
        return PrintFile(session);
    }
    if (line_.save) {
        return SaveFile(session, line_.directory);
    }
    return Report(session);
}

EExitCode CCliApp::Fields() {
    for (const std::wstring& line : CFieldListing::Lines()) {
        CConsole::Out(line);
    }
    return EExitCode::Ok;
}

void CCliApp::Load(CFormSession& session) {
    // The loader has already reported why the file could not be read.
    if (!session.Load(line_.file)) {
        throw CCliError(EExitCode::Failure, std::wstring());
    }
}

EExitCode CCliApp::Report(CFormSession& session) {
    const CCheckReport report(session.Sheet());
    report.Print();
    return report.AllValid() ? EExitCode::Ok : EExitCode::Invalid;
}

EExitCode CCliApp::PrintFile(CFormSession& session) {
    std::wstring error;
    if (!CConsole::OutBytes(BuildOrvikBytes(session.Sheet()), error)) {
        throw CCliError(EExitCode::NotWritten, L"cannot write to standard output: " + error);
    }
    return EExitCode::Ok;
}

EExitCode CCliApp::SaveFile(CFormSession& session, const std::wstring& directory) {
    CMarnelPropertySheet& sheet = session.Sheet();
    if (ValidateAndSave(sheet, directory)) {
        CConsole::Out(sheet.OutputFileName());
        return EExitCode::Ok;
    }
    Log(std::wstring_view(kNotComplete));
    sheet.Prompt().ShowError(kNotComplete);
    const CCheckReport report(sheet);
    std::wstring name;
    if (report.AllValid() && GenerateOutputFileName(sheet, name)) {
        // Every tab passed and the name could be built: the file itself could not be written.
        return EExitCode::NotWritten;
    }
    report.Print();
    return EExitCode::Invalid;
}
