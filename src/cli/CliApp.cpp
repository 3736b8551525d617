#include "cli/CliApp.h"

#include "cli/CheckReport.h"
#include "cli/Console.h"
#include "cli/ConsolePrompt.h"
#include "cli/FieldListing.h"
#include "cli/FormDiff.h"
#include "cli/FormSession.h"
#include "cli/Usage.h"
#include "logging/Logger.h"
#include "persistence/FileWriter.h"
#include "persistence/SaveFlow.h"
#include "sheet/Explanation.h"
#include "text/Text.h"

#include <memory>
#include <vector>

namespace {

constexpr const wchar_t* kNotComplete = L"Couldn't save Orvik: form not complete or invalid data entered.";

} // namespace

struct CCliApp::SForm {
    explicit SForm(CConsole& console) : prompt(console) {}
    CConsolePrompt prompt;
    CFormSession session{prompt};
};

CCliApp::CCliApp() = default;

CCliApp::~CCliApp() = default;

EExitCode CCliApp::Run(const std::vector<std::string>& args) {
    return Dispatch(CCommandLineParser::Parse(args));
}

CFormSession& CCliApp::NewForm() {
    forms_.push_back(std::make_unique<SForm>(console_));
    return forms_.back()->session;
}

EExitCode CCliApp::Dispatch(const SCommandLine& line) {
    if (line.help) {
        std::wstring text = CUsage::Help(line.command);
        if (!text.empty() && text.back() == L'\n') {
            text.pop_back();
        }
        console_.Out(text);
        return EExitCode::Ok;
    }
    switch (line.command) {
    case ECommand::Check:
        return Check(line);
    case ECommand::Print:
        return Print(line);
    case ECommand::Save:
        return Save(line);
    case ECommand::New:
        return New(line);
    case ECommand::Fields:
        return Fields();
    case ECommand::Diff:
        return Diff(line);
    case ECommand::Explain:
        return Explain(line);
    case ECommand::None:
        break;
    }
    throw CCliError(EExitCode::Failure, CUsage::UsageLine());
}

EExitCode CCliApp::Check(const SCommandLine& line) {
    CFormSession& session = NewForm();
    Load(session, line.file);
    return Report(session);
}

EExitCode CCliApp::Print(const SCommandLine& line) {
    CFormSession& session = NewForm();
    Load(session, line.file);
    return PrintFile(session);
}

EExitCode CCliApp::Save(const SCommandLine& line) {
    CFormSession& session = NewForm();
    Load(session, line.file);
    return SaveFile(session, line.directory);
}

EExitCode CCliApp::New(const SCommandLine& line) {
    CFormSession& session = NewForm();
    for (const auto& [name, value] : line.settings) {
        session.Set(name, value);
    }
    if (line.print) {
        return PrintFile(session);
    }
    if (line.save) {
        return SaveFile(session, line.directory);
    }
    return Report(session);
}

EExitCode CCliApp::Fields() {
    for (const std::wstring& text : CFieldListing::Lines()) {
        console_.Out(text);
    }
    return EExitCode::Ok;
}

EExitCode CCliApp::Diff(const SCommandLine& line) {
    CFormSession& a = NewForm();
    Load(a, line.file);
    CFormSession& b = NewForm();
    Load(b, line.otherFile);
    const CFormDiff diff(a.Sheet(), b.Sheet());
    if (diff.Same()) {
        return EExitCode::Ok;
    }
    if (line.brief) {
        console_.Out(orvik::Format(L"Files %s and %s differ", {line.file, line.otherFile}));
    } else {
        diff.Print(console_);
    }
    return EExitCode::Invalid;
}

EExitCode CCliApp::Explain(const SCommandLine& line) {
    CFormSession& session = NewForm();
    if (!line.file.empty()) {
        Load(session, line.file);
    }
    for (const std::wstring& text : ExplanationLines(
             ::Explain(session.Sheet(), session.Question(line.name), EExplainDepth::ChoicesTried))) {
        console_.Out(text);
    }
    return EExitCode::Ok;
}

void CCliApp::Load(CFormSession& session, const std::wstring& path) {
    // The loader has already reported why the file could not be read.
    if (!session.Load(path)) {
        throw CCliError(EExitCode::Failure, std::wstring());
    }
}

EExitCode CCliApp::Report(CFormSession& session) {
    const CCheckReport report(session.Sheet());
    report.Print(console_);
    return report.AllValid() ? EExitCode::Ok : EExitCode::Invalid;
}

EExitCode CCliApp::PrintFile(CFormSession& session) {
    std::wstring error;
    if (!console_.OutBytes(BuildOrvikBytes(session.Sheet()), error)) {
        throw CCliError(EExitCode::NotWritten, L"cannot write to standard output: " + error);
    }
    return EExitCode::Ok;
}

EExitCode CCliApp::SaveFile(CFormSession& session, const std::wstring& directory) {
    CMarnelPropertySheet& sheet = session.Sheet();
    if (ValidateAndSave(sheet, directory)) {
        console_.Out(sheet.OutputFileName());
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
    report.Print(console_);
    return EExitCode::Invalid;
}
