#pragma once

#include "ui/RecentFiles.h"

#include <QDialog>
#include <QObject>
#include <QString>
#include <QWidget>

class CSheetWindow;
class QMenu;
class QMimeData;
class QPushButton;
class QToolButton;
struct SLoadReport;

// The end of every load the user starts in the window (Load Orvik, a recent file, a drop, the start
// file): shows its report and, when the form took the file, announces that the form holds it.
void FinishWindowLoad(CSheetWindow& window, const SLoadReport* report);

// The regression-testing dialog: an OK button and nothing else.
class CRegressionTestingDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRegressionTestingDialog(QWidget* parent = nullptr);
    QPushButton* OkButton() const { return ok_; }

private:
    QPushButton* ok_ = nullptr;
};

// The Intro page's own buttons: Release Notes, Load Orvik with the menu of recent files beside it
// and, only when the environment asks for it, Regression Testing.
class CIntroPanel : public QWidget {
    Q_OBJECT
public:
    // The variable that, set to any non-empty text, shows the Regression Testing button.
    static constexpr const char* kRegressionVariable = "FILE_GENERATOR_REGRESSION_TESTING";

    // The regression-testing dialog runs through the window's hooks.
    CIntroPanel(CSheetWindow& window, QWidget* parent = nullptr);

    QPushButton* ReleaseNotesButton() const { return releaseNotes_; }
    QPushButton* LoadButton() const { return load_; }
    QToolButton* RecentButton() const { return recent_; }
    // The recent files as the menu offers them, rebuilt each time it opens.
    QMenu* RecentMenu() const { return recentMenu_; }
    QPushButton* RegressionTestingButton() const { return regression_; }

    void ReleaseNotes();
    void LoadOrvik();
    // Loads a recent file as Load Orvik loads the file its dialog chose; a file that is gone is
    // named and taken off the list.
    void LoadRecent(const QString& path);
    void RegressionTesting();

private:
    void FillRecentMenu();
    // Offered only while there is a file to offer.
    void UpdateRecentButton(const QStringList& files);
    // After OK or Apply: a file that holds the form's answers now was saved.
    void NoteSave();

    CSheetWindow& window_;
    QPushButton* releaseNotes_ = nullptr;
    QPushButton* load_ = nullptr;
    QToolButton* recent_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QPushButton* regression_ = nullptr;
    CRecentFiles recentFiles_;
};

// Loads a text file dropped anywhere on the sheet's window through the Load flow (its question,
// its log lines, its failure box). Other files are refused.
class CFileDropLoader : public QObject {
    Q_OBJECT
public:
    // Becomes a child of the window and watches the drops on it and on its controls.
    explicit CFileDropLoader(CSheetWindow& window);
    ~CFileDropLoader() override;

    // The one local ".txt" file that the data names, or an empty text.
    static QString LoadablePath(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSheetWindow& window_;
};
