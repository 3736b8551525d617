#include "KeyboardSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QTest>

namespace keys {

namespace {

QString Describe(const QWidget* widget) {
    if (!widget) {
        return QStringLiteral("<nothing>");
    }
    const QString name = widget->objectName();
    return QStringLiteral("%1 '%2' in '%3'")
        .arg(QString::fromLatin1(widget->metaObject()->className()), name,
             widget->window() ? widget->window()->windowTitle() : QString());
}

bool Fail(const QString& message) {
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    return false;
}

// What happens between two keys of a user: the window handles what the last key queued.
void Settle() {
    QCoreApplication::processEvents();
}

} // namespace

QWidget* Target() {
    if (QWidget* focus = QApplication::focusWidget()) {
        return focus;
    }
    return QApplication::activeWindow();
}

void Press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = Target();
    if (!target) {
        Fail(QStringLiteral("no widget has the keyboard"));
        return;
    }
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    Settle();
}

void Type(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = Target();
        if (!target) {
            Fail(QStringLiteral("no widget has the keyboard"));
            return;
        }
        QTest::keyClicks(target, QString(c));
        Settle();
    }
}

bool WaitForFocusIn(QWidget* window) {
    const bool arrived = QTest::qWaitFor([window] {
        QWidget* focus = QApplication::focusWidget();
        return window->isActiveWindow() && focus && focus->window() == window;
    });
    return arrived || Fail(QStringLiteral("the focus did not come to '%1' (it is on %2)")
                               .arg(window->windowTitle(), Describe(QApplication::focusWidget())));
}

bool TabTo(const QString& name, bool backwards) {
    QSet<QWidget*> seen;
    QStringList path;
    for (;;) {
        QWidget* focus = Target();
        if (!focus) {
            return Fail(QStringLiteral("no widget has the keyboard on the way to '%1'").arg(name));
        }
        if (focus->objectName() == name && focus->isEnabled()) {
            return true;
        }
        if (seen.contains(focus)) {
            return Fail(QStringLiteral("Tab never reaches '%1'; the round was: %2")
                            .arg(name, path.join(QStringLiteral(", "))));
        }
        seen.insert(focus);
        path << (focus->objectName().isEmpty() ? QString::fromLatin1(focus->metaObject()->className())
                                               : focus->objectName());
        Press(Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

bool ChooseValue(long long value) {
    auto* combo = qobject_cast<QComboBox*>(Target());
    if (!combo) {
        return Fail(QStringLiteral("a pull-down should have the focus, not %1").arg(Describe(Target())));
    }
    int target = -1;
    for (int i = 1; i < combo->count() && target < 0; ++i) {
        if (combo->itemData(i).toLongLong() == value) {
            target = i;
        }
    }
    if (target < 0) {
        return Fail(QStringLiteral("'%1' offers no item for %2").arg(combo->objectName()).arg(value));
    }
    for (int guard = 0; combo->currentIndex() != target && guard <= combo->count(); ++guard) {
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        Settle();
    }
    return combo->currentIndex() == target ||
           Fail(QStringLiteral("the arrow keys do not reach item %1 of '%2'")
                    .arg(target)
                    .arg(combo->objectName()));
}

bool Retype(const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(Target());
    if (!edit) {
        return Fail(QStringLiteral("a box should have the focus, not %1").arg(Describe(Target())));
    }
    Press(Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        Press(Qt::Key_Delete);
    } else {
        Type(text);
    }
    return edit->text() == text || Fail(QStringLiteral("'%1' shows '%2' after typing '%3'")
                                            .arg(edit->objectName(), edit->text(), text));
}

bool Answer(const std::wstring& value) {
    if (qobject_cast<QComboBox*>(Target())) {
        if (value == L"YES") {
            return ChooseValue(1);
        }
        if (value == L"NO") {
            return ChooseValue(0);
        }
        bool ok = false;
        const long long number = QString::fromStdWString(value).toLongLong(&ok, 10);
        return ok ? ChooseValue(number)
                  : Fail(QStringLiteral("'%1' is no choice value").arg(QString::fromStdWString(value)));
    }
    return Retype(QString::fromStdWString(value));
}

} // namespace keys
