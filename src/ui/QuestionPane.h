#pragma once

#include "sheet/SheetObserver.h"

#include <QWidget>

class CMarnelPropertySheet;
class CParameterField;
class CSheetWindow;
class QPushButton;
class QShortcut;
class QTextBrowser;
class QUrl;

// The pane below the tabs that tells, in words, the question under the keyboard focus or last
// under the mouse: its help in full, what it takes, why it is red, why it is asked with the answers
// that decide it, what the program does to it and which questions read it. The questions it names
// are links that go to them (the leave-page question applies). Its checkable "Question" button and
// F1 show and hide it; whether it is open is remembered across runs. Hidden, it takes no room.
class CQuestionPane : public QWidget, public ISheetObserver {
    Q_OBJECT
public:
    CQuestionPane(CSheetWindow& window, QWidget* parent);
    ~CQuestionPane() override;

    QPushButton* ToggleButton() const { return toggle_; }
    QTextBrowser* Text() const { return text_; }
    void SetOpen(bool open);
    bool IsOpen() const { return !isHidden(); }

    // The question told; null for none.
    const CParameterField* Question() const { return question_; }
    void ShowQuestion(const CParameterField* field);
    // Goes to the question a link names: its tab, then its control.
    void FollowLink(const QUrl& link);

    void SheetChanged(const SSheetChange& change) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Render();
    // The field whose control is `widget` or holds it, on the current page; null otherwise.
    const CParameterField* FieldAt(const QWidget* widget) const;

    CSheetWindow& window_;
    CMarnelPropertySheet& sheet_;
    QPushButton* toggle_ = nullptr;
    QShortcut* shortcut_ = nullptr;
    QTextBrowser* text_ = nullptr;
    const CParameterField* question_ = nullptr;
};
