#pragma once

#include <string>
#include <utility>
#include <vector>

enum class ECommand { None, Check, Print, Save, New, Fields, Diff, Explain };

// What the command line asks for, with file names and answers as wide text.
struct SCommandLine {
    ECommand command = ECommand::None;
    bool help = false;
    std::wstring file;
    // The question `explain` explains.
    std::wstring name;
    // The second file of `diff`, compared with the first.
    std::wstring otherFile;
    std::wstring directory;
    bool print = false;
    bool save = false;
    // `diff`: only whether the files differ.
    bool brief = false;
    // NAME=VALUE answers of `new`, in the order given.
    std::vector<std::pair<std::wstring, std::wstring>> settings;
};

// Reads the arguments after the program name. A mistake is a CCliError with the usage exit code.
class CCommandLineParser {
public:
    static SCommandLine Parse(const std::vector<std::string>& args);
    static ECommand CommandOf(const std::string& word);

private:
    explicit CCommandLineParser(const std::vector<std::string>& args) : args_(args) {}
    SCommandLine Run();
    void ParseCommandArguments(SCommandLine& line);
    // The value of an option given as `--name VALUE` or `--name=VALUE`.
    std::string OptionValue(const std::string& option, const std::string& arg);
    void AddSetting(SCommandLine& line, const std::string& assignment);
    void Check(const SCommandLine& line) const;

    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};
