#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

class QPushButton;
class QTextEdit;

// Writes the text of an information window into its read-only text control.
using InfoFillRoutine = void (*)(QTextEdit& text);

// A small window of formatted, read-only text with a Close button. It has no parent, so it stays
// usable while a dialog of the sheet is open, and deletes itself when closed; the opener keeps a
// pointer to it in a slot that the window clears when it goes.
class CInfoToUserDlg : public QDialog {
    Q_OBJECT
public:
    // An empty `title` keeps the window's default caption. `positionReference` is the window it
    // opens next to (may be null); `size` is its size before placement. The window is not shown.
    CInfoToUserDlg(const QString& title, InfoFillRoutine fill, QPointer<CInfoToUserDlg>* openerSlot,
                   QWidget* positionReference, QSize size);
    ~CInfoToUserDlg() override;

    QTextEdit* Text() const { return text_; }
    QPushButton* CloseButton() const { return close_; }

    // Moves the window next to the position reference: beside it where the screen has room (a
    // little narrower if need be), else over its top-left corner.
    void PlaceNextToReference();
    // Shows the window if hidden or minimised and brings it to the front, without moving or
    // resizing it.
    void BringToFront(bool activate);

private:
    QTextEdit* text_ = nullptr;
    QPushButton* close_ = nullptr;
    QPointer<QWidget> reference_;
    QPointer<CInfoToUserDlg>* openerSlot_ = nullptr;
};

// Appends runs of text at the end of a text control; each run may be bold, italic or larger, and
// the format is set back after it.
class CRichAppender {
public:
    explicit CRichAppender(QTextEdit& text);

    CRichAppender& Plain(const QString& run) { return Run(run, false, false); }
    CRichAppender& Bold(const QString& run) { return Run(run, true, false); }
    CRichAppender& Italic(const QString& run) { return Run(run, false, true); }
    CRichAppender& BoldItalic(const QString& run) { return Run(run, true, true); }
    // `pointSize` 0 keeps the current size.
    CRichAppender& Run(const QString& run, bool bold, bool italic, double pointSize = 0);

    // Ends the current paragraph; the next one is plain, left aligned, outside any list and starts
    // `spaceBefore` pixels below.
    CRichAppender& Paragraph(double spaceBefore = 0);
    QTextCursor& Cursor() { return cursor_; }

private:
    QTextCursor cursor_;
    QTextCharFormat plain_;
};
