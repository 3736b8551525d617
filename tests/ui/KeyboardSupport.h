#pragma once

#include <QKeySequence>
#include <QString>

#include <string>

class QComboBox;
class QWidget;

// The keyboard as a user has it: every key goes to the widget that has the focus (or, while no
// widget has it, to the active window), and a control is reached by pressing Tab until it has the
// focus. Failures are reported through QTest and also answered by false.
namespace keys {

// The widget that receives the next key.
QWidget* Target();
// Presses and releases `key` on the target.
void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types `text` key by key on the target.
void Type(const QString& text);
// Waits until the focus is on a widget inside `window` (after a window opened or closed).
bool WaitForFocusIn(QWidget* window);
// Presses Tab (Shift+Tab with `backwards`) until the focused widget is named `name`; false when
// a whole round of the window's controls passed without it.
bool TabTo(const QString& name, bool backwards = false);
// Moves the focused pull-down with Home and the arrow keys to the item carrying `value`.
bool ChooseValue(long long value);
// Replaces the text of the focused box: select all, then type (or delete for an empty text).
bool Retype(const QString& text);
// Enters a field value into the focused control: a pull-down is moved to the item of the value
// ("YES" and "NO" are the items 1 and 0), a box gets the text.
bool Answer(const std::wstring& value);

} // namespace keys
