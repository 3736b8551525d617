#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Every question, message box and the file-open dialog of the form's flows. The window toolkit
// implements it with real boxes; tests and the command-line tool script the answers.
class IPrompt {
public:
    virtual ~IPrompt() = default;
    // A modal box with the error icon and an OK button.
    virtual void ShowError(const std::wstring& text) = 0;
    // A modal box with the information icon and an OK button.
    virtual void ShowInformation(const std::wstring& text) = 0;
    // A Yes/No box without icon; true for Yes.
    virtual bool AskYesNo(const std::wstring& text) = 0;
    // The same box with No as its default button, for a question whose Yes throws work away: a
    // stray Enter must not answer it.
    virtual bool AskYesNoDefaultNo(const std::wstring& text) { return AskYesNo(text); }
    // The file-open dialog for an existing text file. No value when not confirmed; then
    // `errorCode` is the dialog's error code, 0 when the user cancelled.
    virtual std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) = 0;
};

// A prompt whose answers are set in advance and which records what it was asked and shown.
class CScriptedPrompt : public IPrompt {
public:
    struct Shown {
        enum Kind { Error, Information, Question } kind;
        std::wstring text;
        // A question whose default button is No.
        bool noByDefault = false;
    };

    void SetNextAnswer(bool yes) { answers_.push_back(yes); }
    void SetNextFileName(std::wstring path) { files_.emplace_back(std::move(path)); }
    void SetNextFileDialogCancelled(unsigned errorCode = 0) {
        files_.emplace_back(std::nullopt);
        fileErrors_.push_back(errorCode);
    }
    // Answer given when no answer was set in advance.
    void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }

    void ShowError(const std::wstring& text) override { shown_.push_back({Shown::Error, text}); }
    void ShowInformation(const std::wstring& text) override { shown_.push_back({Shown::Information, text}); }
    bool AskYesNo(const std::wstring& text) override {
        shown_.push_back({Shown::Question, text});
        if (answers_.empty()) {
            return defaultAnswer_;
        }
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    bool AskYesNoDefaultNo(const std::wstring& text) override {
        const bool answer = AskYesNo(text);
        shown_.back().noByDefault = true;
        return answer;
    }
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override {
        errorCode = 0;
        if (files_.empty()) {
            return std::nullopt;
        }
        std::optional<std::wstring> file = files_.front();
        files_.pop_front();
        if (!file && !fileErrors_.empty()) {
            errorCode = fileErrors_.front();
            fileErrors_.pop_front();
        }
        return file;
    }

    const std::vector<Shown>& History() const { return shown_; }
    void ClearHistory() { shown_.clear(); }

private:
    std::deque<bool> answers_;
    std::deque<std::optional<std::wstring>> files_;
    std::deque<unsigned> fileErrors_;
    std::vector<Shown> shown_;
    bool defaultAnswer_ = false;
};
