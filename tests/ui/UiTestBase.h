#pragma once

#include "LogCapture.h"
#include "catalog/PageCatalog.h"
#include "logging/Logger.h"
#include "sheet/Prompt.h"
#include "sheet/PropertySheet.h"
#include "ui/FieldControls.h"
#include "ui/PageView.h"
#include "ui/QtPrompt.h"
#include "ui/SheetWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The sheet's questions, as the user reads them.
inline const std::wstring kLeave =
    L"This page has not been filled out correctly.  Are you sure you wish to continue?";
inline const std::wstring kCancel =
    L"Are you sure you want to cancel?  You will lose all your work and have to start "
    L"over again from the beginning.";
inline const std::wstring kOverwrite =
    L"Loading this Orvik will overwrite all data that has been entered.  Are you sure you want to continue?";

// The tab labels of these pages, in order.
inline QStringList LabelsOf(const std::vector<CPageSuper*>& pages) {
    QStringList labels;
    for (const CPageSuper* page : pages) {
        labels << QString::fromStdWString(page->TabLabel());
    }
    return labels;
}

// The scripted prompt, which can also look at the window while a question is open.
class CUiPrompt : public CScriptedPrompt {
public:
    std::function<void(const std::wstring& question)> whileAsking;
    // When set, the cancel question is a real box, answered by the keys the test sends it.
    CQtPrompt* boxes = nullptr;
    bool AskYesNo(const std::wstring& text) override {
        if (whileAsking) {
            whileAsking(text);
        }
        return CScriptedPrompt::AskYesNo(text);
    }
    bool AskYesNoDefaultNo(const std::wstring& text) override {
        const bool scripted = CScriptedPrompt::AskYesNoDefaultNo(text);
        return boxes ? boxes->AskYesNoDefaultNo(text) : scripted;
    }
};

// A fresh sheet and window for one test, with scripted answers, a captured log, counted beeps and
// its own folder for saved files.
class CUiFixture {
public:
    explicit CUiFixture(const std::string& loadBytes = {});
    ~CUiFixture();
    CUiFixture(const CUiFixture&) = delete;
    CUiFixture& operator=(const CUiFixture&) = delete;

    // First made, last gone: it sees the window's last words too.
    CScopedLogCapture log;
    CUiPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
    std::unique_ptr<CSheetWindow> window;
    int beeps = 0;
    QTemporaryDir dir;

    // ---- what the user sees ----
    QStringList TabTexts() const;
    QString CurrentTabText() const;
    bool CaptionRed(EPage page) const;
    bool CaptionDefault(EPage page) const;
    QWidget* Input(const QString& name) const;
    QLineEdit* Edit(const QString& name) const;
    QComboBox* Combo(const QString& name) const;
    QLabel* LabelOf(const QString& name) const;
    static bool IsMarkedInvalid(const QWidget* widget);
    bool Logged(const std::string& line) const;
    int QuestionsAsked(const std::wstring& text) const;

    // ---- what the user does ----
    // Clicks the tab of `page`.
    void ClickTab(EPage page);
    // Focuses the box and types `text` key by key.
    void Type(const QString& name, const QString& text);
    // Clears the box as a user would (select all, delete).
    void Clear(const QString& name);
    // Focuses the pull-down and moves to the item with this text using the arrow keys.
    void Choose(const QString& name, const QString& itemText);
    // The value a choice's item carries, by its text.
    static int ItemValue(QComboBox* combo, const QString& itemText);
    void Focus(QWidget* widget);
};
