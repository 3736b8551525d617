#include "ui/SheetWindow.h"

#include "logging/Logger.h"
#include "model/ParameterField.h"
#include "persistence/SaveFlow.h"
#include "sheet/PropertySheet.h"
#include "text/Version.h"
#include "ui/FieldControls.h"
#include "ui/FindBar.h"
#include "ui/FormStyle.h"
#include "ui/IntroPanel.h"
#include "ui/ListPanel.h"
#include "ui/LoadReportView.h"
#include "ui/PageView.h"
#include "ui/ProblemsPanel.h"
#include "ui/QtText.h"
#include "ui/QuestionPane.h"
#include "ui/SheetInfoWindows.h"
#include "ui/SheetNavigation.h"
#include "ui/SheetTabs.h"
#include "ui/UndoControls.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// What a window manager adds round a window, as far as it is known before the window is shown.
constexpr int kFrameWidth = 16;
constexpr int kTitleBarHeight = 40;

constexpr const wchar_t* kLeaveQuestion =
    L"This page has not been filled out correctly.  Are you sure you wish to continue?";
constexpr const wchar_t* kCancelQuestion =
    L"Are you sure you want to cancel?  You will lose all your work and have to start over again from the "
    L"beginning.";

// Stops the tab widget's signals and, while tabs are rebuilt, its painting. Turning the painting
// back on repaints the whole window, so a change that leaves the tabs as they are keeps it on.
class CRebuildScope {
public:
    CRebuildScope(QWidget* window, bool& guard, bool rebuildsTabs = true)
        : window_(rebuildsTabs ? window : nullptr), guard_(guard), wasGuarded_(guard) {
        guard_ = true;
        if (window_) {
            window_->setUpdatesEnabled(false);
        }
    }
    ~CRebuildScope() {
        if (window_) {
            window_->setUpdatesEnabled(true);
        }
        guard_ = wasGuarded_;
    }
    CRebuildScope(const CRebuildScope&) = delete;
    CRebuildScope& operator=(const CRebuildScope&) = delete;

private:
    QWidget* window_;
    bool& guard_;
    bool wasGuarded_;
};

} // namespace

CSheetWindow::CSheetWindow(CMarnelPropertySheet& sheet, QWidget* parent)
    : QDialog(parent), sheet_(sheet), programDirectory_(ToWString(QCoreApplication::applicationDirPath())) {
    setObjectName(QStringLiteral("OrvikSheet"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    InstallApplicationStyle();
    infoWindows_ = std::make_unique<CSheetInfoWindows>(*this);
    connect(this, &CSheetWindow::releaseNotesRequested, this, &CSheetWindow::ShowReleaseNotes);
    new CFileDropLoader(*this);

    auto* layout = new QVBoxLayout(this);
    auto* sheetTabs = new CSheetTabs(this);
    tabs_ = sheetTabs;
    tabs_->setObjectName(QStringLiteral("Tabs"));
    tabs_->setDocumentMode(false);
    beside_ = new QSplitter(Qt::Horizontal, this);
    beside_->setChildrenCollapsible(false);
    beside_->addWidget(tabs_);
    problemsPanel_ = new CProblemsPanel(*this, beside_);
    beside_->addWidget(problemsPanel_);
    beside_->setStretchFactor(0, 1);
    beside_->setStretchFactor(1, 0);
    layout->addWidget(beside_, 1);
    questionPane_ = new CQuestionPane(
        sheet_, *this,
        [this](const QWidget* widget) -> const CParameterField* {
            const CPageView* view = widget ? View(sheet_.ActivePage().Id()) : nullptr;
            const CQtFieldControl* control = view ? view->ControlAt(widget) : nullptr;
            return control ? &control->Field() : nullptr;
        },
        [this](const std::wstring& name) { GoToQuestion(*this, name); }, this);
    layout->addWidget(questionPane_);
    connect(problemsPanel_->ToggleButton(), &QPushButton::toggled, this, &CSheetWindow::MakeRoomForPanel);
    loadReport_ = new CLoadReportView(*this, this);
    layout->addWidget(loadReport_);
    findBar_ = new CFindBar(*this, this);
    layout->addWidget(findBar_);
    buttons_ =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    layout->addWidget(buttons_);
    OkButton()->setDefault(true);
    connect(OkButton(), &QPushButton::clicked, this, [this] { Save(true); });
    connect(ApplyButton(), &QPushButton::clicked, this, [this] { Save(false); });
    connect(CancelButton(), &QPushButton::clicked, this, &CSheetWindow::reject);
    buttons_->addButton(problemsPanel_->ToggleButton(), QDialogButtonBox::HelpRole);
    buttons_->addButton(questionPane_->ToggleButton(), QDialogButtonBox::HelpRole);
    undo_ = new CUndoControls(sheet_, this, buttons_);
    layout->insertWidget(1, undo_->Bar());

    for (const auto& page : sheet_.Pages()) {
        auto* view = new CPageView(
            *page, [this](CParameterField* field, const std::wstring& value) { OnUserEdit(field, value); },
            hooks_, this);
        view->SetListPanelFactory([this](CPageView& v, QWidget* parent) -> QWidget* {
            return new CListPanel(v.Page().Sheet(), v.Page().ListedGroupType(), hooks_, parent);
        });
        if (page->Id() == EPage::Intro) {
            view->SetExtrasFactory(
                [this](CPageView&, QWidget* parent) -> QWidget* { return new CIntroPanel(*this, parent); });
        }
        view->hide();
        views_[static_cast<std::size_t>(page->Id())] = view;
    }
    QStringList captions;
    for (const auto& page : sheet_.Pages()) {
        captions << ToQString(page->TabLabel());
    }
    sheetTabs->SheetTabBar()->SetAllCaptions(std::move(captions));
    {
        CRebuildScope scope(this, guard_);
        for (CPageSuper* page : sheet_.Tabs()) {
            tabs_->addTab(View(page->Id()), ToQString(page->TabLabel()));
            tabPages_.push_back(page->Id());
        }
    }
    connect(tabs_, &QTabWidget::currentChanged, this, &CSheetWindow::OnCurrentChanged);
    // The tab keys work from every control of a page: a pull-down would take Ctrl+Tab and
    // Ctrl+PageDown for itself, a list or the page's scrolling area Ctrl+PageDown.
    const std::pair<QKeyCombination, int> tabKeys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                                                       {Qt::CTRL | Qt::Key_PageDown, 1},
                                                       {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                                                       {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                                                       {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto& [key, step] : tabKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { StepTab(step); });
    }
    sheet_.AddObserver(this);
    ShowPage(sheet_.ActivePage().Id());
    RefreshTitle();
    const QScreen* screen = this->screen();
    resize(InitialSheetSize(screen ? screen->availableGeometry().size() : QSize(), minimumSizeHint()));
    if (screen) {
        // Centred on the work area, by the frame (a window's position is its frame's): the title
        // bar, where the caption and the handle to drag the window are, starts inside the screen.
        const QRect room = screen->availableGeometry();
        move(room.left() + std::max(0, (room.width() - width() - kFrameWidth) / 2),
             room.top() + std::max(0, (room.height() - height() - kTitleBarHeight) / 2));
    }
}

QRect FrameInsideScreen(const QRect& frame, const QRect& client, const QRect& room, const QSize& minimum) {
    if (!room.isValid() || room.contains(frame)) {
        return frame;
    }
    // The frame around the client area: what the window manager adds and the client cannot lose.
    const int extraWidth = frame.width() - client.width();
    const int extraHeight = frame.height() - client.height();
    const int width = std::max(minimum.width() + extraWidth, std::min(frame.width(), room.width()));
    const int height = std::max(minimum.height() + extraHeight, std::min(frame.height(), room.height()));
    // Kept where it was as far as the room allows; a frame larger than the room keeps its top-left
    // corner, with the title bar, inside it.
    const int left = std::max(room.left(), std::min(frame.left(), room.right() + 1 - width));
    const int top = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - height));
    return {left, top, width, height};
}

void CSheetWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        // The window manager adds its frame after the window is shown, and tells its size a little
        // later: the window is fitted when the frame is known, and once more a moment after.
        QTimer::singleShot(0, this, &CSheetWindow::KeepFrameOnScreen);
        QTimer::singleShot(300, this, &CSheetWindow::KeepFrameOnScreen);
    }
}

void CSheetWindow::KeepFrameOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen || !isVisible() || isMaximized() || isFullScreen()) {
        return;
    }
    const QRect frame = frameGeometry();
    const QRect place = FrameInsideScreen(frame, geometry(), screen->availableGeometry(), minimumSize());
    if (place == frame) {
        return;
    }
    resize(width() - (frame.width() - place.width()), height() - (frame.height() - place.height()));
    move(place.topLeft());
}

void CSheetWindow::MakeRoomForPanel(bool open) {
    const QScreen* screen = this->screen();
    if (!open) {
        // The room the panel was given goes back when it closes.
        if (grownForPanel_ > 0) {
            resize(width() - grownForPanel_, height());
            grownForPanel_ = 0;
        }
        return;
    }
    // The page keeps the width it has; the panel takes what the screen has spare beside the window
    // and else the rest of the window's width above the page's minimum.
    const int panel = problemsPanel_->sizeHint().width() + beside_->handleWidth();
    const int margins = width() - beside_->width();
    const int frameExtra = isVisible() ? frameGeometry().width() - width() : kFrameWidth;
    const int most = screen ? screen->availableGeometry().width() - frameExtra : width() + panel;
    const int wanted = std::min(most, tabs_->width() + panel + margins);
    if (wanted > width()) {
        grownForPanel_ = wanted - width();
        resize(wanted, height());
        if (screen && isVisible()) {
            const QRect room = screen->availableGeometry();
            const QRect frame = frameGeometry();
            if (frame.right() > room.right()) {
                move(std::max(room.left(), frame.left() - (frame.right() - room.right())), frame.top());
            }
        }
    }
    if (isVisible()) {
        const int total = width() - margins;
        const int page = std::max(tabs_->minimumWidth(), total - panel);
        beside_->setSizes({page, std::max(problemsPanel_->minimumWidth(), total - page)});
    }
}

void CSheetWindow::KeepPageWidth(CPageView* view) {
    auto* area = view->findChild<QScrollArea*>();
    if (!area || !area->widget()) {
        return;
    }
    const int page = area->widget()->minimumSizeHint().width() +
                     area->verticalScrollBar()->sizeHint().width() + 2 * area->frameWidth() +
                     (view->width() > area->width() ? view->width() - area->width() : 0);
    const int needed = tabs_->tabBar()->sizeHint().width() + page +
                       2 * tabs_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    if (needed > tabs_->minimumWidth()) {
        tabs_->setMinimumWidth(needed);
    }
}

QSize InitialSheetSize(const QSize& available, const QSize& minimum) {
    // Room for the tab column and a page, and on a small screen for an information window beside
    // the sheet.
    QSize size(1000, 700);
    if (available.isValid()) {
        // The window manager adds a title bar and a frame to the window: the whole must still lie
        // inside the screen's work area.
        size = size.boundedTo(QSize(available.width() - kFrameWidth, available.height() - kTitleBarHeight));
    }
    return size.expandedTo(minimum);
}

CSheetWindow::~CSheetWindow() {
    if (questionPane_) {
        questionPane_->StopFollowing();
    }
    sheet_.RemoveObserver(this);
    guard_ = true;
    disconnect(tabs_, nullptr, this, nullptr);
    infoWindows_.reset();
    for (CPageView*& view : views_) {
        delete view;
        view = nullptr;
    }
}

CQtFieldControl* CSheetWindow::ControlOf(const CParameterField& field) const {
    const CPageSuper* page = HostPage(&field);
    return page ? View(page->Id())->ControlOf(field) : nullptr;
}

int CSheetWindow::TabIndexOf(EPage page) const {
    for (std::size_t i = 0; i < tabPages_.size(); ++i) {
        if (tabPages_[i] == page) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QPushButton* CSheetWindow::OkButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

QPushButton* CSheetWindow::ApplyButton() const {
    return buttons_->button(QDialogButtonBox::Apply);
}

QPushButton* CSheetWindow::CancelButton() const {
    return buttons_->button(QDialogButtonBox::Cancel);
}

void CSheetWindow::ShowPage(EPage page) {
    CPageView* view = View(page);
    const bool first = !view->IsBuilt();
    view->EnsureBuilt();
    {
        CRebuildScope scope(this, guard_);
        sheet_.Activate(page);
        SelectActiveTab();
    }
    view->RefreshControls();
    if (first) {
        KeepPageWidth(view);
    }
    RecolourTabs();
    infoWindows_->PageActivated(page);
    if (first && view->Form()) {
        // Tab moves through the fields in form order.
        QWidget* previous = nullptr;
        for (int row = 0; row < view->Form()->rowCount(); ++row) {
            QLayoutItem* item = view->Form()->itemAt(row, QFormLayout::FieldRole);
            QWidget* input = item ? item->widget() : nullptr;
            if (!input && item && item->layout() && item->layout()->count() > 0) {
                input = item->layout()->itemAt(0)->widget(); // a box followed by its unit
            }
            if (!input) {
                continue;
            }
            if (previous) {
                setTabOrder(previous, input);
            }
            previous = input;
        }
    }
    FocusIntoPage(view);
}

void CSheetWindow::StepTab(int step) {
    const int count = tabs_->count();
    if (count > 1) {
        tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
    }
}

void CSheetWindow::FocusIntoPage(CPageView* view) {
    // A page shown for the first time has no control that could have kept the focus: the focus
    // would be left on the page itself, where nothing shows it, instead of on its first control.
    QWidget* focus = focusWidget();
    if (!isVisible() || (focus && !qobject_cast<CPageView*>(focus))) {
        return;
    }
    for (QWidget* w = view->nextInFocusChain(); w && w != view; w = w->nextInFocusChain()) {
        if (view->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(view)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CSheetWindow::SelectActiveTab() {
    const int index = TabIndexOf(sheet_.ActivePage().Id());
    if (index >= 0 && tabs_->currentIndex() != index) {
        tabs_->setCurrentIndex(index);
    }
}

void CSheetWindow::OnCurrentChanged(int index) {
    if (guard_ || index < 0 || index >= static_cast<int>(tabPages_.size())) {
        return;
    }
    const EPage target = tabPages_[static_cast<std::size_t>(index)];
    CPageSuper& old = sheet_.ActivePage();
    if (old.Id() == target) {
        return;
    }
    View(old.Id())->CommitControls();
    if (sheet_.LeaveQuestionEnabled() && !old.IsPageValid()) {
        // The tab widget has already switched its page, though nothing has been painted yet: the
        // old page goes back before the question, which is about it, and the new one is shown only
        // when the user goes on.
        {
            CRebuildScope scope(this, guard_);
            SelectActiveTab();
        }
        if (!sheet_.Prompt().AskYesNo(kLeaveQuestion)) {
            View(old.Id())->RedrawControls();
            RecolourTab(old);
            return;
        }
        if (TabIndexOf(target) < 0) {
            return;
        }
    }
    ShowPage(target);
}

void CSheetWindow::OnUserEdit(CParameterField* field, const std::wstring& value) {
    sheet_.ApplyUserChange(field, value);
}

void CSheetWindow::SheetChanged(const SSheetChange& change) {
    {
        CRebuildScope scope(this, guard_, !change.tabsRemoved.empty() || !change.tabsAdded.empty());
        for (const SSheetChange::STab& tab : change.tabsRemoved) {
            if (tab.position < tabPages_.size()) {
                tabs_->removeTab(static_cast<int>(tab.position));
                tabPages_.erase(tabPages_.begin() + static_cast<std::ptrdiff_t>(tab.position));
            }
        }
        for (const SSheetChange::STab& tab : change.tabsAdded) {
            const std::size_t position = std::min(tab.position, tabPages_.size());
            const CPageSuper& page = sheet_.Page(tab.page);
            tabs_->insertTab(static_cast<int>(position), View(tab.page), ToQString(page.TabLabel()));
            tabPages_.insert(tabPages_.begin() + static_cast<std::ptrdiff_t>(position), tab.page);
        }
        for (const SSheetChange::SField& f : change.fields) {
            if (const CPageSuper* page = HostPage(f.field)) {
                View(page->Id())->ApplyFieldChange(f);
            }
        }
        SelectActiveTab();
    }
    CPageView* active = View(sheet_.ActivePage().Id());
    if (!active->IsBuilt()) {
        ShowPage(sheet_.ActivePage().Id());
    } else {
        active->RedrawControls();
    }
    RecolourTabs();
    RefreshTitle();
}

void CSheetWindow::ShowReleaseNotes() {
    infoWindows_->ShowReleaseNotes();
}

void CSheetWindow::RecolourTab(const CPageSuper& page) {
    const int index = TabIndexOf(page.Id());
    if (index < 0) {
        return;
    }
    // Setting a colour repaints the whole bar, even the colour it already has.
    const QColor colour = page.IsPageValid() ? QColor() : QColor(255, 0, 0);
    if (tabs_->tabBar()->tabTextColor(index) != colour) {
        tabs_->tabBar()->setTabTextColor(index, colour);
    }
}

void CSheetWindow::RecolourTabs() {
    for (EPage page : tabPages_) {
        RecolourTab(sheet_.Page(page));
    }
}

void CSheetWindow::RefreshTitle() {
    const std::wstring& title = sheet_.Title();
    setWindowTitle(ToQString(title.empty() ? orvik::TitleText() : title));
}

bool CSheetWindow::Save(bool okButton) {
    View(sheet_.ActivePage().Id())->CommitControls();
    bool close = false;
    {
        // What the save stamps into the form (the version texts) reaches the window as any change.
        CSheetChangeScope scope(sheet_);
        close = OnApply(sheet_, okButton, saveDirectory_, programDirectory_);
    }
    RefreshTitle();
    View(sheet_.ActivePage().Id())->RedrawControls();
    RecolourTabs();
    if (close) {
        QDialog::accept();
    } else {
        problemsPanel_->OpenIfAny();
    }
    return close;
}

bool CSheetWindow::QueryCancel() {
    Log(std::string_view("Cancel button selected"));
    // Escape opens this question: No is its default, so a second stray key (Enter) keeps the form.
    return !sheet_.HasEnteredAnswers() || sheet_.Prompt().AskYesNoDefaultNo(kCancelQuestion);
}

void CSheetWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses OK from the page's own controls only. In the find bar, the problems panel, the
    // load report or the cleared-answers bar it means something there or nothing: a key meant for
    // a list entry must not save the form and close the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const QWidget* focus = focusWidget();
        const QWidget* parts[] = {findBar_, problemsPanel_, loadReport_, undo_ ? undo_->Bar() : nullptr};
        for (const QWidget* part : parts) {
            if (focus && part && (focus == part || part->isAncestorOf(focus))) {
                event->accept();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void CSheetWindow::reject() {
    if (!QueryCancel()) {
        return;
    }
    Log(std::string_view("App exited without saving."));
    QDialog::reject();
}
