#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

class CSheetWindow;
struct SLoadReport;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The bar under the tabs that tells, after a load from the window, what the load did not take from
// its file: the report's own lines, counts and first examples, and with "Show all" every example it
// kept. It opens on the report text; Close or Escape hides it and gives the focus back. It shows
// what the report says and decides nothing: a clean report is not shown. Its controls are made for
// the first report shown (its text box is the start's only text document).
class CLoadReportView : public QFrame {
    Q_OBJECT
public:
    CLoadReportView(CSheetWindow& window, QWidget* parent);

    // After a load: shows the report unless it is clean, and hides an earlier one when it is. Null
    // (no load ran: the user kept the answers) leaves the bar as it is.
    void ShowReport(const SLoadReport* report);
    void Close();
    bool IsOpen() const { return !isHidden(); }

    QLabel* Heading() const { return heading_; }
    QPlainTextEdit* Text() const { return text_; }
    QPushButton* ShowAllButton() const { return showAll_; }
    QPushButton* CloseButton() const { return close_; }
    // The lines shown, as the report words them.
    QStringList ShownLines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build();
    void ShowLines();

    CSheetWindow& window_;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* showAll_ = nullptr;
    QPushButton* close_ = nullptr;
    QStringList firstLines_;
    QStringList allLines_;
    // Where the focus was before the report took it.
    QPointer<QWidget> before_;
};
