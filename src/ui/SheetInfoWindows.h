#pragma once

#include "catalog/PageCatalog.h"
#include "ui/InfoWindow.h"

#include <QObject>
#include <QPointer>

#include <array>

// The sheet's information windows: one explanation per page that has one, opened each time its page
// becomes the active tab, and the release notes. Each exists at most once; asking again brings the
// open one to the front as it is. Windows still open when this goes are closed with it.
class CSheetInfoWindows : public QObject {
    Q_OBJECT
public:
    explicit CSheetInfoWindows(QWidget& sheetWindow);
    ~CSheetInfoWindows() override;

    // The page has become the active tab: its explanation opens once the page is on screen.
    void PageActivated(EPage page);
    void ShowReleaseNotes();

    CInfoToUserDlg* PageWindow(EPage page) const { return pageWindows_[static_cast<std::size_t>(page)]; }
    CInfoToUserDlg* ReleaseNotesWindow() const { return releaseNotes_; }

private:
    void ShowPageWindow(EPage page);

    QWidget& sheetWindow_;
    std::array<QPointer<CInfoToUserDlg>, kPageCount> pageWindows_;
    QPointer<CInfoToUserDlg> releaseNotes_;
};
