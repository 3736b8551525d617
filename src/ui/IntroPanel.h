#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QWidget>

class CSheetWindow;
class QMimeData;
class QPushButton;

// The regression-testing dialog: an OK button and nothing else.
class CRegressionTestingDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRegressionTestingDialog(QWidget* parent = nullptr);
    QPushButton* OkButton() const { return ok_; }

private:
    QPushButton* ok_ = nullptr;
};

// The Intro page's own buttons: Release Notes, Load Orvik and, only when the environment asks for
// it, Regression Testing.
class CIntroPanel : public QWidget {
    Q_OBJECT
public:
    // The variable that, set to any non-empty text, shows the Regression Testing button.
    static constexpr const char* kRegressionVariable = "FILE_GENERATOR_REGRESSION_TESTING";

    // The regression-testing dialog runs through the window's hooks.
    CIntroPanel(CSheetWindow& window, QWidget* parent = nullptr);

    QPushButton* ReleaseNotesButton() const { return releaseNotes_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* RegressionTestingButton() const { return regression_; }

    void ReleaseNotes();
    void LoadOrvik();
    void RegressionTesting();

private:
    CSheetWindow& window_;
    QPushButton* releaseNotes_ = nullptr;
    QPushButton* load_ = nullptr;
    QPushButton* regression_ = nullptr;
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
