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

// The small bar that finds a question by its name or help text. Ctrl+F opens it; Enter moves to the
// next match's tab and control, Shift+Enter (or Shift+F3) to the previous one, F3 to the next one
// from anywhere on the sheet; Escape closes it. The matching is FindQuestions'; this only shows it.
class CFindBar : public QWidget {
    Q_OBJECT
public:
    CFindBar(CSheetWindow& window, QWidget* parent);

    QLineEdit* Edit() const { return edit_; }
    // "3 of 12", "12 matches", "No match".
    QLabel* CountLabel() const { return count_; }
    // What the current match is: "<name> (<tab>)" or "<name>: not asked with the current answers".
    QLabel* NoteLabel() const { return note_; }
    const std::vector<SQuestionMatch>& Matches() const { return matches_; }
    // The position of the current match in Matches(), -1 before the first move.
    int Current() const { return current_; }

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
    std::vector<SQuestionMatch> matches_;
    int current_ = -1;
};
