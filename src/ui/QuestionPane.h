#pragma once

#include "sheet/Explanation.h"
#include "sheet/SheetObserver.h"

#include <QWidget>

#include <functional>
#include <string>

class CMarnelPropertySheet;
class CParameterField;
class QAbstractScrollArea;
class QPushButton;
class QShortcut;
class QTextBrowser;
class QTimer;
class QUrl;

// The pane that tells, in words, the question under the keyboard focus or last under the mouse:
// its help in full, what it takes, why it is red, why it is asked with the answers that decide it,
// what the program does to it and which questions read it. The questions it names are links. The
// sheet's window has one below its tabs, and each group dialog one below its questions. Its
// checkable "Question" button and F1 show and hide it; whether it is open is remembered across runs
// and shared by the window and the dialogs. Hidden, it takes no room.
class CQuestionPane : public QWidget, public ISheetObserver {
    Q_OBJECT
public:
    // The question a widget of the pane's window shows, or null; and where a link goes, by the
    // question's name as the words give it (without backticks).
    using FieldFinder = std::function<const CParameterField*(const QWidget*)>;
    using LinkFollower = std::function<void(const std::wstring& name)>;

    // `scope` is the window whose F1 shows and hides the pane.
    CQuestionPane(CMarnelPropertySheet& sheet, QWidget& scope, FieldFinder finder, LinkFollower follower,
                  QWidget* parent);
    ~CQuestionPane() override;

    QPushButton* ToggleButton() const { return toggle_; }
    // Null until the pane first has words to show.
    QTextBrowser* Text() const { return text_; }
    void SetOpen(bool open);
    bool IsOpen() const { return !isHidden(); }

    // The question told; null for none.
    const CParameterField* Question() const { return question_; }
    void ShowQuestion(const CParameterField* field);
    // Tells the question again, as the answers now stand: at once, and what another choice would
    // clear a moment later (kChoicesTriedDelayMs).
    void Refresh();
    static constexpr int kChoicesTriedDelayMs = 150;
    void FollowLink(const QUrl& link);

    void SheetChanged(const SSheetChange& change) override;
    // The window or dialog that holds the pane is going: its controls are taken down one by one,
    // and the focus and pointer moves that stirs up must no longer be looked up among them.
    void StopFollowing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMarnelPropertySheet& sheet_;
    QWidget& scope_;
    FieldFinder finder_;
    LinkFollower follower_;
    QPushButton* toggle_ = nullptr;
    QShortcut* shortcut_ = nullptr;
    QTextBrowser* text_ = nullptr;
    // Holds the words' place, looking as the empty box does, until there are words.
    QAbstractScrollArea* blank_ = nullptr;
    const CParameterField* question_ = nullptr;
    QTimer* tried_ = nullptr;
    bool following_ = true;
    // The words last set: an answer elsewhere often leaves them as they were.
    QString told_;

    void Tell(EExplainDepth depth);
    void EnsureRoom();
    void EnsureText();
    int TextHeight() const;
};
