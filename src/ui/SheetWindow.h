#pragma once

#include "catalog/PageCatalog.h"
#include "sheet/SheetObserver.h"
#include "ui/WindowHooks.h"

#include <QDialog>

#include <array>
#include <memory>
#include <string>
#include <vector>

class CMarnelPropertySheet;
class CPageSuper;
class CFindBar;
class CQuestionPane;
class CLoadReportView;
class CPageView;
class CSheetInfoWindows;
class CParameterField;
class CProblemsPanel;
class CQtFieldControl;
class CUndoControls;
class QDialogButtonBox;
class QKeyEvent;
class QPushButton;
class QShowEvent;
class QSplitter;
class QTabWidget;

// The window's first size on a screen whose work area is `available` (invalid when unknown): never
// below `minimum`, and with its title bar inside the work area where the minimum allows.
QSize InitialSheetSize(const QSize& available, const QSize& minimum);
// Where a window whose frame is `frame` around the client area `client` goes so that the whole
// frame, title bar included, lies inside the work area `room`: moved in, and made smaller where it
// is larger than the room, but never below the client's `minimum`.
QRect FrameInsideScreen(const QRect& frame, const QRect& client, const QRect& room, const QSize& minimum);

// The sheet's window: one tab per page that the sheet shows, in its order, with OK, Cancel and
// Apply. It reflects the sheet's announcements and never decides the tab set, availability or
// validity itself.
class CSheetWindow : public QDialog, public ISheetObserver {
    Q_OBJECT
public:
    // The sheet must be initialised and must outlive the window.
    explicit CSheetWindow(CMarnelPropertySheet& sheet, QWidget* parent = nullptr);
    ~CSheetWindow() override;

    CMarnelPropertySheet& Sheet() const { return sheet_; }
    QTabWidget* TabWidget() const { return tabs_; }
    CPageView* View(EPage page) const { return views_[static_cast<std::size_t>(page)]; }
    // The control showing a page field; null while its page has not been shown.
    CQtFieldControl* ControlOf(const CParameterField& field) const;
    // The pages in tab order, as the tab bar shows them.
    const std::vector<EPage>& TabPages() const { return tabPages_; }
    int TabIndexOf(EPage page) const;
    QPushButton* OkButton() const;
    QPushButton* ApplyButton() const;
    QPushButton* CancelButton() const;
    // The problems panel beside the tabs (F8) and the find bar below them (Ctrl+F).
    CProblemsPanel* ProblemsPanel() const { return problemsPanel_; }
    CFindBar* FindBar() const { return findBar_; }
    CQuestionPane* QuestionPane() const { return questionPane_; }
    // The report of the last load from the window, under the tabs while it has something to say.
    CLoadReportView* LoadReportView() const { return loadReport_; }
    // Undo and Redo with their buttons, keys and the bar that tells what a choice cleared.
    CUndoControls* UndoControls() const { return undo_; }

    // Where OK and Apply write the file; the current folder when empty.
    void SetSaveDirectory(std::wstring directory) { saveDirectory_ = std::move(directory); }
    const std::wstring& SaveDirectory() const { return saveDirectory_; }
    // The program's own folder, which the success box compares with the folder written to.
    void SetProgramDirectory(std::wstring directory) { programDirectory_ = std::move(directory); }

    // OK (true) or Apply: the save flow. True when the window closes.
    bool Save(bool okButton);
    // The Cancel question; true when the window may close.
    bool QueryCancel();

    // Opens the release notes, or brings the open ones to the front as they are.
    void ShowReleaseNotes();
    CSheetInfoWindows& InfoWindows() const { return *infoWindows_; }
    // The bell and the dialog runs of this window and of every part it makes (pages, list panels,
    // group dialogs).
    CWindowHooks& Hooks() { return hooks_; }
    const CWindowHooks& Hooks() const { return hooks_; }

    void SheetChanged(const SSheetChange& change) override;
    // Shows the sheet's title (set by a save or a load) as the window's caption.
    void RefreshTitle();

signals:
    // The Intro page's Release Notes button was pressed.
    void releaseNotesRequested();
    // The form now holds exactly what the file at `path` holds: it was loaded from it or saved to it.
    void formStored(const QString& path);
    // OK or Apply wrote the form to the file at `path` (or found it holding the form already).
    void formSaved(const QString& path);

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnCurrentChanged(int index);
    void OnUserEdit(CParameterField* field, const std::wstring& value);
    void ShowPage(EPage page);
    void RecolourTab(const CPageSuper& page);
    void RecolourTabs();
    void SelectActiveTab();
    // Ctrl+Tab and its kin: the next (1) or previous (-1) tab, round the end.
    void StepTab(int step);
    void FocusIntoPage(CPageView* view);
    // Moves and fits the window so that its whole frame lies inside its screen's work area.
    void KeepFrameOnScreen();
    // The problems panel opened (or closed): it takes room beside the page, never from it.
    void MakeRoomForPanel(bool open);
    // The tab widget is never narrower than the widest page built so far needs.
    void KeepPageWidth(CPageView* view);

    CMarnelPropertySheet& sheet_;
    // Before every part that uses it, so that it is taken down after them.
    CWindowHooks hooks_;
    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QSplitter* beside_ = nullptr;
    bool placed_ = false;
    int grownForPanel_ = 0;
    std::array<CPageView*, kPageCount> views_{};
    std::vector<EPage> tabPages_;
    bool guard_ = false;
    std::wstring saveDirectory_;
    std::wstring programDirectory_;
    std::unique_ptr<CSheetInfoWindows> infoWindows_;
    CProblemsPanel* problemsPanel_ = nullptr;
    CFindBar* findBar_ = nullptr;
    CQuestionPane* questionPane_ = nullptr;
    CLoadReportView* loadReport_ = nullptr;
    CUndoControls* undo_ = nullptr;
};
