#include "cli/CommandLine.h"

#include "cli/CliError.h"
#include "cli/Usage.h"
#include "text/Text.h"

namespace {

[[noreturn]] void Fail(const std::string& message) {
    throw CCliError(EExitCode::Failure, orvik::FromUtf8(message) + L"\n" + CUsage::UsageLine());
}

bool HasPrefix(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

SCommandLine CCommandLineParser::Parse(const std::vector<std::string>& args) {
    CCommandLineParser parser(args);
    return parser.Run();
}

ECommand CCommandLineParser::CommandOf(const std::string& word) {
    if (word == "check") {
        return ECommand::Check;
    }
    if (word == "print") {
        return ECommand::Print;
    }
    if (word == "save") {
        return ECommand::Save;
    }
    if (word == "new") {
        return ECommand::New;
    }
    if (word == "fields") {
        return ECommand::Fields;
    }
    if (word == "diff") {
        return ECommand::Diff;
    }
    if (word == "explain") {
        return ECommand::Explain;
    }
    return ECommand::None;
}

SCommandLine CCommandLineParser::Run() {
    SCommandLine line;
    if (args_.empty()) {
        Fail("no command given");
    }
    const std::string& first = args_[next_++];
    if (first == "--help" || first == "-h" || first == "help") {
        line.help = true;
        if (next_ < args_.size()) {
            line.command = CommandOf(args_[next_]);
            if (line.command == ECommand::None) {
                Fail("unknown command '" + args_[next_] + "'");
            }
        }
        return line;
    }
    line.command = CommandOf(first);
    if (line.command == ECommand::None) {
        Fail(HasPrefix(first, "-") ? "unknown option '" + first + "'" : "unknown command '" + first + "'");
    }
    ParseCommandArguments(line);
    if (!line.help) {
        Check(line);
    }
    return line;
}

void CCommandLineParser::ParseCommandArguments(SCommandLine& line) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    while (next_ < args_.size()) {
        const std::string arg = args_[next_++];
        if (optionsEnded || arg == "-" || !HasPrefix(arg, "-")) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (line.command == ECommand::Save && (arg == "--dir" || HasPrefix(arg, "--dir="))) {
            line.directory = orvik::FromUtf8(OptionValue("--dir", arg));
        } else if (line.command == ECommand::New && (arg == "--set" || HasPrefix(arg, "--set="))) {
            AddSetting(line, OptionValue("--set", arg));
        } else if (line.command == ECommand::New && arg == "--print") {
            line.print = true;
        } else if (line.command == ECommand::New && (arg == "--save" || HasPrefix(arg, "--save="))) {
            line.save = true;
            line.directory = orvik::FromUtf8(OptionValue("--save", arg));
        } else if (line.command == ECommand::Diff && arg == "--brief") {
            line.brief = true;
        } else {
            Fail("unknown option '" + arg + "'");
        }
    }
    const bool takesFile = line.command == ECommand::Check || line.command == ECommand::Print ||
                           line.command == ECommand::Save || line.command == ECommand::Diff;
    if (line.help) {
        return;
    }
    if (line.command == ECommand::Explain) {
        if (positional.empty()) {
            Fail("missing NAME");
        }
        line.name = orvik::FromUtf8(positional.front());
        positional.erase(positional.begin());
        if (!positional.empty()) {
            line.file = orvik::FromUtf8(positional.front());
            positional.erase(positional.begin());
        }
    }
    if (takesFile) {
        if (positional.empty()) {
            Fail(line.command == ECommand::Diff ? "missing files A and B" : "missing FILE");
        }
        line.file = orvik::FromUtf8(positional.front());
        positional.erase(positional.begin());
    }
    if (line.command == ECommand::Diff) {
        if (positional.empty()) {
            Fail("missing file B");
        }
        line.otherFile = orvik::FromUtf8(positional.front());
        positional.erase(positional.begin());
    }
    if (!positional.empty()) {
        Fail("unexpected argument '" + positional.front() + "'");
    }
}

std::string CCommandLineParser::OptionValue(const std::string& option, const std::string& arg) {
    if (arg.size() > option.size()) {
        return arg.substr(option.size() + 1);
    }
    if (next_ >= args_.size()) {
        Fail("option '" + option + "' needs a value");
    }
    return args_[next_++];
}

void CCommandLineParser::AddSetting(SCommandLine& line, const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
        Fail("--set needs NAME=VALUE, got '" + assignment + "'");
    }
    line.settings.emplace_back(orvik::FromUtf8(assignment.substr(0, equals)),
                               orvik::FromUtf8(assignment.substr(equals + 1)));
}

void CCommandLineParser::Check(const SCommandLine& line) const {
    if (line.print && line.save) {
        Fail("--print and --save exclude each other");
    }
    if (line.save && line.directory.empty()) {
        Fail("--save needs a directory");
    }
}
