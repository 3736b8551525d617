#include "ui/FindBar.h"

#include "model/ParameterField.h"
#include "sheet/Explanation.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"
#include "ui/QtText.h"
#include "ui/SheetNavigation.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

CFindBar::CFindBar(CSheetWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find a question"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* label = new QLabel(QStringLiteral("Find:"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("FindEdit"));
    edit_->setAccessibleName(QStringLiteral("Find a question"));
    edit_->setAccessibleDescription(QStringLiteral(
        "Matches the questions' names and help texts. Enter: next match, Shift+Enter: previous "
        "match, Escape: close."));
    edit_->setPlaceholderText(QStringLiteral("Name or help text"));
    label->setBuddy(edit_);

    previous_ = new QToolButton(this);
    previous_->setObjectName(QStringLiteral("FindPrevious"));
    previous_->setArrowType(Qt::UpArrow);
    previous_->setAccessibleName(QStringLiteral("Previous match"));
    previous_->setToolTip(QStringLiteral("Previous match (Shift+Enter)"));
    next_ = new QToolButton(this);
    next_->setObjectName(QStringLiteral("FindNext"));
    next_->setArrowType(Qt::DownArrow);
    next_->setAccessibleName(QStringLiteral("Next match"));
    next_->setToolTip(QStringLiteral("Next match (Enter)"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("FindCount"));
    count_->setAccessibleName(QStringLiteral("Matches"));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("FindNote"));
    note_->setTextFormat(Qt::PlainText);
    note_->setAccessibleName(QStringLiteral("Current match"));
    // A long name must not widen the window: the note wraps instead.
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    note_->setWordWrap(true);
    close_ = new QToolButton(this);
    close_->setObjectName(QStringLiteral("FindClose"));
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setAccessibleName(QStringLiteral("Close find bar"));
    close_->setToolTip(QStringLiteral("Close (Escape)"));

    layout->addWidget(label);
    layout->addWidget(edit_, 2);
    layout->addWidget(previous_);
    layout->addWidget(next_);
    layout->addWidget(count_);
    layout->addWidget(note_, 3);
    layout->addWidget(close_);

    for (QWidget* w : {static_cast<QWidget*>(edit_), static_cast<QWidget*>(previous_),
                       static_cast<QWidget*>(next_), static_cast<QWidget*>(close_)}) {
        w->installEventFilter(this);
    }
    connect(edit_, &QLineEdit::textChanged, this, &CFindBar::OnTextEdited);
    connect(previous_, &QToolButton::clicked, this, &CFindBar::Previous);
    connect(next_, &QToolButton::clicked, this, &CFindBar::Next);
    connect(close_, &QToolButton::clicked, this, &CFindBar::Close);

    open_ = new QShortcut(QKeySequence::Find, &window);
    connect(open_, &QShortcut::activated, this, &CFindBar::Open);
    nextKey_ = new QShortcut(QKeySequence(Qt::Key_F3), &window);
    connect(nextKey_, &QShortcut::activated, this, [this] {
        if (!isHidden()) {
            Next();
        }
    });
    previousKey_ = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &window);
    connect(previousKey_, &QShortcut::activated, this, [this] {
        if (!isHidden()) {
            Previous();
        }
    });
    ShowCount();
    hide();
}

void CFindBar::Open() {
    if (isHidden()) {
        // The clear button's icon is the first icon the window asks the system's icon theme for,
        // and reading the theme is a large part of a start: the bar, hidden at start, takes it
        // when first opened.
        edit_->setClearButtonEnabled(true);
        QWidget* focus = QApplication::focusWidget();
        before_ = focus && focus != edit_ && window_.isAncestorOf(focus) ? focus : nullptr;
        show();
    }
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

void CFindBar::Close() {
    // Closing the bar over a match shown on the page hands that question the keyboard: it is what
    // the user was looking for.
    QWidget* match = shown_ && shown_->isVisible() && shown_->isEnabled() ? shown_.data() : nullptr;
    ShowMatch(nullptr);
    CloseBar(window_, *this, match ? match : before_.data());
}

void CFindBar::ShowMatch(QWidget* input) {
    if (shown_ == input) {
        return;
    }
    if (shown_) {
        // Given back to what the control inherits.
        QPalette palette = shown_->palette();
        palette.setResolveMask(palette.resolveMask() & ~((QPalette::ResolveMask(1) << QPalette::Base) |
                                                         (QPalette::ResolveMask(1) << QPalette::Button)));
        shown_->setPalette(palette);
    }
    shown_ = input;
    if (shown_) {
        // The match is marked, not focused: the keyboard stays in the bar for the next Enter.
        QPalette palette = shown_->palette();
        const QColor mark(255, 236, 140);
        palette.setColor(QPalette::Base, mark);
        palette.setColor(QPalette::Button, mark);
        shown_->setPalette(palette);
    }
}

void CFindBar::Next() {
    Step(1);
}

void CFindBar::Previous() {
    Step(-1);
}

void CFindBar::OnTextEdited() {
    matches_ = FindQuestions(window_.Sheet(), ToWString(edit_->text()));
    current_ = -1;
    ShowMatch(nullptr);
    note_->clear();
    ShowCount();
}

void CFindBar::Step(int direction) {
    // The questions matched stay the same; whether each is asked follows the answers.
    matches_ = FindQuestions(window_.Sheet(), ToWString(edit_->text()));
    const int count = static_cast<int>(matches_.size());
    if (count == 0) {
        current_ = -1;
        note_->clear();
        ShowCount();
        return;
    }
    if (current_ < 0 || current_ >= count) {
        current_ = direction > 0 ? 0 : count - 1;
    } else {
        current_ = (current_ + direction + count) % count;
    }
    ShowCount();
    ShowMatch(nullptr);
    const SQuestionMatch match = matches_[static_cast<std::size_t>(current_)];
    const QString words = ToQString(MatchWords(window_.Sheet(), match));
    if (!match.asked) {
        // What keeps it from being asked, in the words of its rule, with the answers that decide it.
        const SExplanation e = Explain(window_.Sheet(), *match.field);
        std::wstring why =
            e.asked ? std::wstring(L"not asked: its tab is not shown with these answers") : e.why;
        if (!why.empty() && why.back() == L'.') {
            why.pop_back();
        }
        if (!why.empty()) {
            why[0] = orvik::ToLowerAscii(why[0]);
        }
        note_->setText(QStringLiteral("%1: %2").arg(words, ToQString(why)));
        if (match.item.empty()) {
            // The question whose answer would have it asked, on its tab.
            const SMatchTarget target = MatchTarget(window_.Sheet(), match);
            if (target.field && GoToQuestion(window_, target.field->NamePattern())) {
                ShowMatch(RevealField(window_, *target.field));
            }
        }
    } else {
        note_->setText(words);
    }
    if (!match.item.empty()) {
        // The item's dialog is modal: this returns when the user has closed it.
        const SMatchTarget target = MatchTarget(window_.Sheet(), match);
        if (OpenListItem(window_, match.page, target.item, target.field->NamePattern())) {
            // The dialog's OK may have changed the items and what is asked: the matches as they are now.
            matches_ = FindQuestions(window_.Sheet(), ToWString(edit_->text()));
            current_ = std::min(current_, static_cast<int>(matches_.size()) - 1);
            ShowCount();
        }
    } else if (match.asked && GoToPage(window_, match.page)) {
        if (QWidget* input = RevealField(window_, *match.field)) {
            ShowMatch(input);
        } else {
            // Asked, but shown for reading only (the file's own header lines).
            note_->setText(QStringLiteral("%1: cannot be edited").arg(words));
        }
    }
    // A page change (or the leave-page question) may have moved the keyboard: it comes back here.
    if (isVisible() && !edit_->hasFocus()) {
        edit_->setFocus(Qt::OtherFocusReason);
    }
}

void CFindBar::ShowCount() {
    const int count = static_cast<int>(matches_.size());
    if (edit_->text().isEmpty()) {
        count_->clear();
    } else if (count == 0) {
        count_->setText(QStringLiteral("No match"));
    } else if (current_ < 0) {
        count_->setText(count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count));
    } else {
        count_->setText(QStringLiteral("%1 of %2").arg(current_ + 1).arg(count));
    }
    previous_->setEnabled(count > 0);
    next_->setEnabled(count > 0);
}

bool CFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The bar's own keys: they must not reach the sheet's Cancel question or its default button.
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        // Enter anywhere in the bar is the bar's: never the sheet's default button (OK, which saves
        // and closes the window).
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == close_) {
                Close();
            } else if (watched == previous_ || key->modifiers() & Qt::ShiftModifier) {
                Previous();
            } else {
                Next();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
