#pragma once

#include <QLineEdit>

#include <functional>
#include <utility>

// True when `c` is a digit of `radix`; letters count in either case above radix 10.
bool IsRadixDigit(char32_t c, unsigned radix);

// An edit box that drops typed characters that are not digits of its radix (pasted text is not
// filtered), with a beep, and reports focus changes.
class CEditMultiBase : public QLineEdit {
    Q_OBJECT
public:
    explicit CEditMultiBase(QWidget* parent = nullptr);

    // What sounds for a dropped keystroke; without one the system bell rings.
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

    void SetRadix(unsigned radix) { radix_ = radix; }
    unsigned Radix() const { return radix_; }
    void SetFilterOn(bool on) { filterOn_ = on; }
    bool FilterOn() const { return filterOn_; }
    bool HasFocusFlag() const { return hasFocus_; }
    // A hexadecimal box takes its digits without the "0x" a user may type or paste before them,
    // and in capitals, as a saved file reads them back: a leading "0x" or "0X" is taken off `text`
    // (what the box now holds, the box too) with the beep, and small letters become capitals.
    // True when a prefix was there.
    bool TidyHexText(QString& text);

signals:
    void focusLost();
    // A "0x" prefix was typed or pasted and not entered.
    void hexPrefixDropped();

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Beep();

    std::function<void()> beep_;
    unsigned radix_ = 10;
    bool filterOn_ = false;
    bool hasFocus_ = false;
};
