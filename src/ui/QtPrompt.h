#pragma once

#include "logging/Logger.h"
#include "sheet/Prompt.h"

#include <QPointer>
#include <QWidget>

// The form's questions and messages as real boxes, and the file-open dialog.
class CQtPrompt : public IPrompt {
public:
    explicit CQtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowError(const std::wstring& text) override;
    void ShowInformation(const std::wstring& text) override;
    bool AskYesNo(const std::wstring& text) override;
    bool AskYesNoDefaultNo(const std::wstring& text) override;
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override;

    // The window a box belongs to: the dialog the user is working in (a group dialog over the
    // sheet), else the sheet. The keyboard goes back there when the box closes.
    QWidget* Owner() const;

private:
    QPointer<QWidget> parent_;
};

// The log's platform in the window: the system clock and files of the default platform, its own
// failure shown in a box.
class CQtLogPlatform : public ILogPlatform {
public:
    std::tm LocalNow() override { return DefaultLogPlatform().LocalNow(); }
    std::unique_ptr<ILogFile> Open(const std::string& path) override {
        return DefaultLogPlatform().Open(path);
    }
    void ShowMessage(const std::wstring& text) override;
};
