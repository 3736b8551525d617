#include "ui/DigitFilter.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>
#include <memory>

bool IsRadixDigit(char32_t c, unsigned radix) {
    if (c <= U'/') {
        return false;
    }
    if (radix <= 10) {
        return c < U'0' + radix;
    }
    if (c <= U'9') {
        return true;
    }
    const char32_t lower = (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
    return lower >= U'a' && lower < U'a' + (radix - 10);
}

// ---- CEditMultiBase ----

CEditMultiBase::CEditMultiBase(QWidget* parent) : QLineEdit(parent) {}

namespace {
bool IsUndoOrRedo(const QKeyEvent* key) {
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
}
} // namespace

bool CEditMultiBase::event(QEvent* event) {
    // The box's own undo would change its text behind the form's back; Ctrl+Z and its kin belong
    // to the form's undo, which also takes back what the answer did elsewhere.
    if (event->type() == QEvent::ShortcutOverride && IsUndoOrRedo(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return false;
    }
    return QLineEdit::event(event);
}

void CEditMultiBase::contextMenuEvent(QContextMenuEvent* event) {
    // The same for the menu's Undo and Redo: the form's buttons take their place.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        const QString text = action->text();
        if (text.startsWith(QStringLiteral("&Undo")) || text.startsWith(QStringLiteral("&Redo"))) {
            menu->removeAction(action);
        }
    }
    menu->exec(event->globalPos());
}

void CEditMultiBase::Beep() {
    if (beep_) {
        beep_();
    } else {
        QApplication::beep();
    }
}

bool CEditMultiBase::TidyHexText(QString& text) {
    if (!filterOn_ || radix_ != 16) {
        return false;
    }
    const bool prefix = text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    const QString tidy = (prefix ? text.mid(2) : text).toUpper();
    if (tidy == text) {
        return false;
    }
    const int cursor = cursorPosition();
    text = tidy;
    setText(text);
    setCursorPosition(std::max(0, cursor - (prefix ? 2 : 0)));
    if (prefix) {
        Beep();
        emit hexPrefixDropped();
    }
    return prefix;
}

void CEditMultiBase::keyPressEvent(QKeyEvent* event) {
    if (filterOn_ && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        const QString text = event->text();
        if (text.size() == 1 && text[0].isPrint() && !IsRadixDigit(text[0].unicode(), radix_)) {
            // "0x" typed at the start: the 0 was the prefix's, not a digit, and goes too, as the
            // user's own Backspace would take it.
            const bool prefix = radix_ == 16 && (text[0] == u'x' || text[0] == u'X') &&
                                cursorPosition() == 1 && !hasSelectedText() && this->text().startsWith(u'0');
            if (prefix) {
                QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                QLineEdit::keyPressEvent(&back);
            }
            Beep();
            if (prefix) {
                emit hexPrefixDropped();
            }
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CEditMultiBase::focusInEvent(QFocusEvent* event) {
    hasFocus_ = true;
    QLineEdit::focusInEvent(event);
}

void CEditMultiBase::focusOutEvent(QFocusEvent* event) {
    hasFocus_ = false;
    emit focusLost();
    QLineEdit::focusOutEvent(event);
}
