#pragma once

#include "sheet/FindQuestions.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class CSheetWindow;
class QLabel;
class QLineEdit;
class QShortcut;
class QToolButton;

// The small bar that finds a question by its name or help text, the list items' questions too.
// Ctrl+F opens it; Enter shows the next match's tab and control, marked while the keyboard stays in
// the bar; Shift+Enter (or Shift+F3) the previous one, F3 the next one from anywhere on the sheet.
// A question not asked shows the question that keeps it hidden instead; an item's question opens
// the item's dialog at it. Escape closes the bar and hands the keyboard to the match shown. The
// matching, and where each match goes, is FindQuestions'; this only shows it.
class CFindBar : public QWidget {
    Q_OBJECT
public:
    CFindBar(CSheetWindow& window, QWidget* parent);

    QLineEdit* Edit() const { return edit_; }
    // "3 of 12", "12 matches", "No match".
    QLabel* CountLabel() const { return count_; }
    // What the current match is: "<name> (<tab>)", "<name> (<item>, <tab>)", or either followed by
    // ": not asked: needs <condition>; now <answers>".
    QLabel* NoteLabel() const { return note_; }
    const std::vector<SQuestionMatch>& Matches() const { return matches_; }
    // The position of the current match in Matches(), -1 before the first move.
    int Current() const { return current_; }
    // The control of the current match, marked on its page while the keyboard stays in the bar.
    QWidget* ShownMatch() const { return shown_; }

    void Open();
    void Close();
    void Next();
    void Previous();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTextEdited();
    void Step(int direction);
    void ShowCount();
    // Marks `input` (null: none) as the current match, unmarking the one before.
    void ShowMatch(QWidget* input);

    CSheetWindow& window_;
    QLineEdit* edit_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* note_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* close_ = nullptr;
    QShortcut* open_ = nullptr;
    QShortcut* nextKey_ = nullptr;
    QShortcut* previousKey_ = nullptr;
    QPointer<QWidget> before_;
    QPointer<QWidget> shown_;
    std::vector<SQuestionMatch> matches_;
    int current_ = -1;
};
